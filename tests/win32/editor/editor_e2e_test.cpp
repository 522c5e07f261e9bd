// The panel editors from end to end under Wine: the layout editor opened on
// a panel of a fresh AppData folder (editor_host), its preview and grid menu
// driven with real clicks and keys, and the button editor opened from the
// preview and from a running panel (quorvex.exe). Every check reads the
// panel file the editors wrote.
#include <cstdlib>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "editor/frm_def.h"
#include "editor/frm_display.h"
#include "editor/frm_edit_button.h"
#include "panels/panel_file.h"
#include "platform/profile.h"
#include "win32/support/program_case.h"

namespace {

using namespace qv::editor;
using namespace qv::e2e;
using qv::standin::TextOf;

constexpr DWORD kWaitMs = 8000;

// The lines of one section of a profile file, "key=value" each, in order.
std::string SectionText(const std::string& file, const std::string& section) {
  const std::string text = ReadFileText(file);
  const size_t at = text.find("[" + section + "]\r\n");
  if (at == std::string::npos) return "<missing>";
  const size_t start = at + section.size() + 4;
  size_t end = start;
  while (end < text.size() && text[end] != '[') end = text.find("\r\n", end) + 2;
  return text.substr(start, end - start);
}

std::string Label(const std::string& file, int n) {
  return qv::profile::ReadKey(file, qv::panels::SectionName(n), "Label", "");
}

std::vector<std::string> Labels(const std::string& file, int count) {
  std::vector<std::string> out;
  for (int n = 1; n <= count; ++n) out.push_back(Label(file, n));
  return out;
}

using Texts = std::vector<std::string>;

class EditorE2E : public ProgramCase {
 protected:
  void SetUp() override {
    ProgramCase::SetUp();
    cellH_ = 400;  // the new panel's buttons
    Write("Config\\Config.ini", "[default]\r\nSleep=10\r\n");
  }

  // A panel of rows x cols whose button n is labelled "bn", at a known
  // place on the screen, on a red background.
  void GridPanel(const std::string& name, int rows, int cols) {
    std::string text = qv::panels::SetupTemplate(name);
    text += "Top=1500\r\nLeft=1500\r\nBackColor=0000000000255\r\n";
    text.replace(text.find("Rows=2"), 6, "Rows=" + std::to_string(rows));
    text.replace(text.find("Cols=10"), 7, "Cols=" + std::to_string(cols));
    for (int n = 1; n <= rows * cols; ++n)
      text += "[" + qv::panels::SectionName(n) + "]\r\nLabel=b" + std::to_string(n) + "\r\n";
    Panel(name, text);
  }

  HWND OpenEditor(const std::string& name) { return Start(name, kDefClass, kDefCaption, g_host); }
  HWND OpenPreview(HWND def) {
    Click(GetDlgItem(def, kDefUpdate));
    HWND preview = WaitTopWindow(process_->Id(), kDisplayClass, "", kWaitMs);
    if (!preview) return nullptr;  // the callers' check reports it
    grid_ = FindWindowExA(preview, nullptr, "QuorvexGrid", nullptr);
    EXPECT_TRUE(WaitText(GetDlgItem(def, kDefUpdate), "Hide"));
    return preview;
  }
  HWND RunPanel(const std::string& name) {
    HWND panel = Start(name, "QuorvexPanel");
    grid_ = FindWindowExA(panel, nullptr, "QuorvexGrid", nullptr);
    EXPECT_NE(grid_, nullptr);
    return panel;
  }

  // Clicks a look's Edit button on a macro file that is not there yet,
  // answers Yes to making it, and closes the text editor the system opened
  // it in (its caption holds the file's name without its extension).
  void MakeMacroFile(HWND editButton, const std::string& name) {
    Click(editButton);
    EXPECT_EQ(Reply(IDYES).text,
              name + "\r\n\nfile not found.\r\nWould you like to create the file ?");
    ASSERT_TRUE(WaitFor(
        [&] { return ReadFileText(MacroFile(name)) == "; Quorvex Definition file\r\n"; }, kWaitMs))
        << ReadFileText(MacroFile(name));
    Sleep(1500);
    const std::string stem = name.substr(0, name.find('.'));
    for (HWND w : qv::standin::TopLevelWindows(""))
      if (IsWindowVisible(w) && WindowText(w).find(stem) != std::string::npos)
        PostMessageA(w, WM_CLOSE, 0, 0);
  }

  // Right-clicks button n and picks the menu's item number `item` (counted
  // from 1 without the separators) with the keyboard.
  void Menu(int n, int cols, int item) {
    ClickCell(n, cols, true);
    ASSERT_TRUE(
        WaitFor([&] { return !TopWindowsOf(process_->Id(), "#32768", "").empty(); }, kWaitMs));
    for (int i = 0; i < item; ++i) Press({VK_DOWN});
    Press({VK_RETURN});
    Sleep(300);
  }
};

// Menu items, counted without separators.
enum Item {
  kSwapPrevious = 1,
  kSwapNext,
  kSwapUp,
  kSwapBelow,
  kInsertRowBefore,
  kInsertRowAfter,
  kRemoveRow,
  kInsertColumnBefore,
  kInsertColumnAfter,
  kRemoveColumn,
  kCopy,
  kPaste,
  kUndo,
};

TEST_F(EditorE2E, NewPanelDefaultsGridFieldsAndGridMenu) {
  Panel("fresh", qv::panels::SetupTemplate("fresh"));
  HWND def = OpenEditor("fresh");
  const std::pair<int, const char*> defaults[] = {
      {0, "fresh"}, {1, "1200"}, {2, "400"},  {3, "2"},   {4, "10"},  {11, "60"},
      {12, "60"},   {13, "80"},  {14, "120"}, {15, "60"}, {16, "60"},
  };
  for (const auto& [field, text] : defaults)
    EXPECT_EQ(TextOf(GetDlgItem(def, kDefFieldBase + field)), text) << field;
  EXPECT_GT(std::stoi(TextOf(GetDlgItem(def, kDefFieldBase + 5))), 0);
  EXPECT_EQ(SendMessageA(GetDlgItem(def, kDefFieldBase + 7), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(GetDlgItem(def, kDefFieldBase + 8), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  HWND preview = OpenPreview(def);
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(TextOf(preview), "Panel Preview - fresh - fresh");
  RECT before{};
  GetClientRect(grid_, &before);
  // Two more rows of 400 twips and a gap of 60 each; a rows field of 1000
  // lays out what every reader sees, 2 rows; three columns instead of ten:
  // seven cells of 1200 twips and their gaps go.
  const struct {
    int field;
    const char* typed;
    int tallerTw, widerTw;
  } resizes[] = {{3, "4", 2 * 460, 0}, {3, "1000", 0, 0}, {4, "3", 0, -7 * 1260}};
  HDC screen = GetDC(nullptr);
  const int dx = GetDeviceCaps(screen, LOGPIXELSX), dy = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  for (const auto& r : resizes) {
    TypeInto(GetDlgItem(def, kDefFieldBase + r.field), r.typed);
    RECT now{};
    EXPECT_TRUE(WaitFor(
        [&] {
          GetClientRect(grid_, &now);
          return std::abs(now.bottom - before.bottom - MulDiv(r.tallerTw, dy, 1440)) <= 2 &&
                 std::abs(now.right - before.right - MulDiv(r.widerTw, dx, 1440)) <= 2;
        },
        kWaitMs))
        << r.typed << ": " << now.right << "x" << now.bottom;
  }

  // Exit asks; No closes without saving.
  Click(GetDlgItem(def, kDefCancel));
  EXPECT_EQ(Reply(IDNO).text, "Save changes ?");
  ASSERT_TRUE(process_->WaitExit(kWaitMs));
  EXPECT_EQ(ReadFileText(PanelFile("fresh")), qv::panels::SetupTemplate("fresh"));

  // (AutoHide alone is no change worth a question: the manager's test
  // clicks it in the editor it opens on a new panel.)

  // The grid menu on two rows of three.
  GridPanel("g23", 2, 3);
  const std::string file = PanelFile("g23");
  def = OpenEditor("g23");
  preview = OpenPreview(def);
  ASSERT_NE(preview, nullptr);
  HWND cols = GetDlgItem(def, kDefFieldBase + 4);

  // Insert a column after the last: 4, 5, 6 move one on, 4 and 8 are new.
  ASSERT_NO_FATAL_FAILURE(Menu(3, 3, kInsertColumnAfter));
  ASSERT_TRUE(WaitText(cols, "4"));
  EXPECT_EQ(Labels(file, 8), (Texts{"b1", "b2", "b3", "", "b4", "b5", "b6", ""}));
  EXPECT_NE(SectionText(file, "Setup").find("Cols=4\r\n"), std::string::npos);

  // Undo puts the file back as it was.
  ASSERT_NO_FATAL_FAILURE(Menu(1, 4, kUndo));
  ASSERT_TRUE(WaitText(cols, "3"));
  EXPECT_EQ(Label(file, 4), "b4");

  // Removing column 1 asks first and closes the gap.
  ASSERT_NO_FATAL_FAILURE(Menu(4, 3, kRemoveColumn));
  EXPECT_EQ(Reply(IDYES).text, "Undo not available. Confirm remove COLUMN nr. 1 ?");
  ASSERT_TRUE(WaitText(cols, "2"));
  EXPECT_EQ(Labels(file, 4), (Texts{"b2", "b3", "b5", "b6"}));

  // Copy button 1 onto button 4, then swap 1 and 2 by dragging.
  ASSERT_NO_FATAL_FAILURE(Menu(1, 2, kCopy));
  ASSERT_NO_FATAL_FAILURE(Menu(4, 2, kPaste));
  EXPECT_EQ(SectionText(file, "04"), SectionText(file, "01"));
  Sleep(300);
  Drag(GridCentre(grid_, 1, 2, cellH_), GridCentre(grid_, 2, 2, cellH_), 1);
  ASSERT_TRUE(WaitFor([&] { return Label(file, 1) == "b3"; }, kWaitMs));
  EXPECT_EQ(Label(file, 2), "b2");

  // A file that cannot be written: the move stops, says so, and the file
  // stays as it was.
  const std::string unchanged = ReadFileText(file);
  // (Wine running as root writes read-only files, so the file is also held
  // open without delete sharing, which no replace gets past.)
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
  HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_NO_FATAL_FAILURE(Menu(1, 2, kSwapNext));
  const std::string said = Reply(IDOK).text;
  EXPECT_NE(said.find("unchanged"), std::string::npos) << said;
  CloseHandle(held);
  EXPECT_EQ(ReadFileText(file), unchanged);
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);

  // On the same editor: insert a row before row 1, swap below on the
  // middle row and swap up back, then remove row 2 (No first: nothing
  // happens).
  HWND rows = GetDlgItem(def, kDefFieldBase + 3);
  ASSERT_NO_FATAL_FAILURE(Menu(1, 2, kInsertRowBefore));
  ASSERT_TRUE(WaitText(rows, "3"));
  EXPECT_EQ(Labels(file, 6), (Texts{"", "", "b3", "b2", "b5", "b2"}));
  EXPECT_NE(SectionText(file, "Setup").find("Rows=3\r\n"), std::string::npos);
  ASSERT_NO_FATAL_FAILURE(Menu(3, 2, kSwapBelow));
  ASSERT_TRUE(WaitFor([&] { return Label(file, 5) == "b3"; }, kWaitMs));
  EXPECT_EQ(Label(file, 3), "b5");
  ASSERT_NO_FATAL_FAILURE(Menu(5, 2, kSwapUp));
  ASSERT_TRUE(WaitFor([&] { return Label(file, 5) == "b5"; }, kWaitMs));
  ASSERT_NO_FATAL_FAILURE(Menu(4, 2, kRemoveRow));
  EXPECT_EQ(Reply(IDNO).text, "Undo not available. Confirm remove ROW nr. 2 ?");
  EXPECT_EQ(TextOf(rows), "3");
  ASSERT_NO_FATAL_FAILURE(Menu(4, 2, kRemoveRow));
  EXPECT_EQ(Reply(IDYES).text, "Undo not available. Confirm remove ROW nr. 2 ?");
  ASSERT_TRUE(WaitText(rows, "2"));
  EXPECT_EQ(Labels(file, 4), (Texts{"", "", "b5", "b2"}));

  // A button saved hidden from the preview stays there, and opens again.
  for (const bool hide : {true, false}) {
    ClickCell(3, 2);
    HWND ed = WaitTopWindow(process_->Id(), kEditButtonClass, "Edit button properties: 3", kWaitMs);
    ASSERT_NE(ed, nullptr) << hide;
    EXPECT_EQ(SendMessageA(GetDlgItem(ed, kChkHidden), BM_GETCHECK, 0, 0),
              hide ? BST_UNCHECKED : BST_CHECKED);
    if (hide) Click(GetDlgItem(ed, kChkHidden));
    Click(GetDlgItem(ed, hide ? kCmdSave : kCmdCancel));
    ASSERT_TRUE(WaitGone(ed));
  }
  EXPECT_NE(SectionText(file, "03").find("Hidden=1\r\n"), std::string::npos);

  // The preview toggle follows a preview closed on its own; a right click on
  // "Select Color" resets the background.
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(def, kDefGetPosition)));
  PostMessageA(preview, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitText(GetDlgItem(def, kDefUpdate), "Panel Preview"));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(def, kDefGetPosition)));
  Click(GetDlgItem(def, kDefBackColor), true);
  Click(GetDlgItem(def, kDefSave));
  ASSERT_TRUE(process_->WaitExit(kWaitMs));
  EXPECT_NE(SectionText(file, "Setup").find("BackColor=-0002147483633\r\n"), std::string::npos);
}

// The button editor opened by a right click on a running panel: every field
// saved in the button editor's order and read back, the span corrections,
// the down look, a new macro file, the long-script warning and the
// checker's findings.
TEST_F(EditorE2E, ButtonEditorSavesEveryFieldAndAPanelBuiltWithTheEditorsRuns) {
  GridPanel("run", 2, 3);
  std::string file = PanelFile("run");
  ASSERT_NE(RunPanel("run"), nullptr);
  ClickCell(2, 3, true);
  HWND ed = WaitTopWindow(process_->Id(), kEditButtonClass, "Edit button properties: 2", kWaitMs);
  ASSERT_NE(ed, nullptr);
  auto ctl = [&](int id) { return GetDlgItem(ed, id); };
  EXPECT_EQ(TextOf(ctl(kUpBase + kLookLabel)), "b2");
  EXPECT_EQ(TextOf(ctl(kTxtExpandX)), "0");
  EXPECT_FALSE(IsWindowVisible(ctl(kDownBase + kLookLabel)));

  TypeInto(ctl(kUpBase + kLookLabel), "go");
  SetWindowTextA(ctl(kUpBase + kLookTooltip), "Tip text");
  // The checker lists what would do nothing, with its line.
  SetWindowTextA(ctl(kUpBase + kLookMacro), "|FROB 1|PRESS [ZZ]");
  const HWND findings = ctl(kUpBase + kLookFindings);
  ASSERT_TRUE(WaitFor([&] { return TextOf(findings).find("line 1") == 0; }, kWaitMs))
      << TextOf(findings);
  EXPECT_NE(TextOf(findings).find("line 2: toolbar code \"[ZZ]\""), std::string::npos)
      << TextOf(findings);
  for (const auto& [id, typed, shown] :
       {std::tuple{kTxtExpandX, "2.6", "3"}, std::tuple{kTxtExpandY, "-2", "2"},
        std::tuple{kTxtExpandX, "0", ""}}) {
    TypeInto(ctl(id), typed);
    Press({VK_TAB});
    EXPECT_TRUE(WaitText(ctl(id), shown)) << typed;
  }

  // A two-state type shows the down look.
  Click(ctl(kCboButtonType));
  Press({VK_DOWN, VK_DOWN, VK_RETURN});
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(ctl(kDownBase + kLookLabel)) != 0; }, kWaitMs));
  SetWindowTextA(ctl(kDownBase + kLookLabel), "Down");
  SetWindowTextA(ctl(kDownBase + kLookMacro), "newmacro.txt");
  ASSERT_NO_FATAL_FAILURE(MakeMacroFile(ctl(kDownBase + kLookEditMacro), "newmacro.txt"));

  // A script longer than readers keep: the editor warns and, on No, stays.
  SetWindowTextA(ctl(kDownBase + kLookMacro), ("|" + std::string(300, 'x')).c_str());
  Click(ctl(kCmdSave));
  const std::string warning = Reply(IDNO).text;
  EXPECT_NE(warning.find("254"), std::string::npos) << warning;
  EXPECT_TRUE(IsWindow(ed));
  SetWindowTextA(ctl(kDownBase + kLookTooltip), "Tip down");
  SetWindowTextA(ctl(kDownBase + kLookMacro), "newmacro.txt");
  Click(ctl(kCmdSave));
  ASSERT_TRUE(WaitGone(ed));

  EXPECT_EQ(SectionText(file, "02"),
            "Label=go\r\nMacro=|FROB 1|PRESS [ZZ]\r\nColor=-0002147483633\r\nTooltip=Tip text\r\n"
            "Type=2\r\nExpandX=\r\nExpandY=2\r\nHidden=0\r\nTextFont=Tahoma\r\nTextSize=10\r\n"
            "TextColor=-2147483630\r\nTextBold=0\r\nTextUnderline=0\r\nTextItalic=0\r\n"
            "TextStrikethru=0\r\nLabelReleased=Down\r\nMacroReleased=newmacro.txt\r\n"
            "ColorReleased=-0002147483633\r\nTooltipReleased=Tip down\r\n"
            "TextFontReleased=Tahoma\r\nTextSizeReleased=10\r\n"
            "TextColorReleased=-2147483630\r\nTextBoldReleased=0\r\n"
            "TextUnderlineReleased=0\r\nTextItalicReleased=0\r\nTextStrikethruReleased=0\r\n");

  // Read back: the editor shows what it saved; hidden, the button goes.
  ClickCell(2, 3, true);
  ed = WaitTopWindow(process_->Id(), kEditButtonClass, "", kWaitMs);
  EXPECT_EQ(TextOf(ctl(kUpBase + kLookMacro)), "|FROB 1|PRESS [ZZ]");
  EXPECT_EQ(TextOf(ctl(kTxtExpandY)), "2");
  EXPECT_EQ(SendMessageA(ctl(kCboButtonType), CB_GETCURSEL, 0, 0), 2);
  EXPECT_TRUE(IsWindowVisible(ctl(kDownBase + kLookLabel)));
  Click(ctl(kChkHidden));
  Click(ctl(kCmdSave));
  ASSERT_TRUE(WaitGone(ed));
  EXPECT_NE(SectionText(file, "02").find("Hidden=1\r\n"), std::string::npos);
  ClickCell(2, 3, true);
  EXPECT_EQ(WaitTopWindow(process_->Id(), kEditButtonClass, "", 1500), nullptr);

  // A panel made only with the editors, from the new panel's template: the
  // layout editor sets its grid, the preview's left clicks open the button
  // editor for an inline script, a new macro file and a two-state button; the
  // panel then runs and drives the IvAc stand-in.
  Panel("built", qv::panels::SetupTemplate("built"));
  file = PanelFile("built");
  HWND def = OpenEditor("built");
  ASSERT_NE(def, nullptr);
  // Rows, columns, top and left.
  const std::pair<int, const char*> grid[] = {{3, "1"}, {4, "3"}, {5, "1500"}, {6, "1500"}};
  for (const auto& [i, typed] : grid) TypeInto(GetDlgItem(def, kDefFieldBase + i), typed);
  ASSERT_NE(OpenPreview(def), nullptr);

  struct Edit {
    const char* label;
    const char* macro;
    const char* macroDown;  // a two-state button's (type 1) when not empty
  } const edits[] = {
      {"inline", "|COMMBOX 2|SEND_TEXT hello ground", ""},
      {"file", "greet.txt", ""},
      {"ndb", "|PRESS NDB", "|RELEASE NDB"},
  };
  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE(n);
    const Edit& e = edits[n - 1];
    ClickCell(n, 3);
    ed = WaitTopWindow(process_->Id(), kEditButtonClass,
                       "Edit button properties: " + std::to_string(n), kWaitMs);
    ASSERT_NE(ed, nullptr);
    TypeInto(ctl(kUpBase + kLookLabel), e.label);
    SetWindowTextA(ctl(kUpBase + kLookMacro), e.macro);
    if (*e.macroDown) {
      Click(ctl(kCboButtonType));
      Press({VK_DOWN, VK_RETURN});
      SetWindowTextA(ctl(kDownBase + kLookMacro), e.macroDown);
    }
    if (n == 2) {
      // A new macro file, written in the editor the system opens.
      ASSERT_NO_FATAL_FAILURE(MakeMacroFile(ctl(kUpBase + kLookEditMacro), "greet.txt"));
      std::ofstream(MacroFile("greet.txt"), std::ios::app | std::ios::binary)
          << "COMMBOX 1\r\nSEND_TEXT wind calm\r\n";
    }
    Click(ctl(kCmdSave));
    ASSERT_TRUE(WaitGone(ed));
  }
  Click(GetDlgItem(def, kDefSave));
  ASSERT_TRUE(process_->WaitExit(kWaitMs));
  const std::string setup = SectionText(file, "Setup");
  EXPECT_NE(setup.find("Rows=1\r\nCols=3\r\nTop=1500\r\nLeft=1500\r\nOnTop=1\r\n"),
            std::string::npos)
      << setup;
  EXPECT_EQ(ReadFileText(MacroFile("greet.txt")),
            "; Quorvex Definition file\r\nCOMMBOX 1\r\nSEND_TEXT wind calm\r\n");

  ASSERT_NO_FATAL_FAILURE(StartStandIn());
  ASSERT_NE(RunPanel("built"), nullptr);
  using qv::standin::Where;
  const struct {
    int button;
    const char* event;
    Where where;
  } clicks[] = {
      {1, "chat_sent", Where{{"tab", "2"}, {"text", "hello ground"}}},
      {2, "chat_sent", Where{{"tab", "1"}, {"text", "wind calm"}}},
      {3, "toolbar", Where{{"button", "NDB"}, {"pressed", "true"}}},
      {3, "toolbar", Where{{"button", "NDB"}, {"pressed", "false"}}},
  };
  for (const auto& c : clicks) {
    SCOPED_TRACE(c.button);
    const int64_t seq = standin_.LastSeq();
    ClickCell(c.button, 3);
    EXPECT_TRUE(standin_.WaitFor(c.event, c.where, seq, 5000));
  }
}

}  // namespace

int main(int argc, char** argv) { return RunSuite(argc, argv); }
