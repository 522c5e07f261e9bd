// The panel editors from end to end under Wine: the layout editor opened on
// a panel of a fresh AppData folder (editor_host), its preview and grid menu
// driven with real clicks and keys, and the button editor opened from the
// preview and from a running panel (quorvex.exe). Every check reads the
// panel file the editors wrote.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "editor/frm_def.h"
#include "editor/frm_display.h"
#include "editor/frm_edit_button.h"
#include "panels/panel_file.h"
#include "tools/ivac_standin/client.h"
#include "win32/support/e2e.h"

namespace {

using namespace qv::editor;
using qv::standin::TextOf;
std::string WindowText(HWND w) { return TextOf(w); }

std::string g_quorvex;
std::string g_host;
std::string g_standin;

constexpr DWORD kWaitMs = 8000;

void Press(BYTE vk) {
  qv::standin::KeyDown(vk);
  qv::standin::KeyUp(vk);
}

// Types plain text (lower-case letters, digits, "-", ".", blanks).
void Type(const std::string& text) {
  for (char c : text) Press(static_cast<BYTE>(LOBYTE(VkKeyScanA(c))));
}

POINT CentreOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void Click(HWND w, bool right = false) {
  Sleep(150);
  qv::standin::ClickAt(CentreOf(w), right);
  Sleep(150);
}

// Replaces a text field's content by typing, as a user does.
void Retype(HWND edit, const std::string& text) {
  Click(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  Type(text);
}

bool WaitText(HWND w, const std::string& text) {
  return qv::e2e::WaitFor([&] { return WindowText(w) == text; }, kWaitMs);
}

bool WaitGone(HWND w) {
  return qv::e2e::WaitFor([&] { return !IsWindow(w) || !IsWindowVisible(w); }, kWaitMs);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The lines of one section of a profile file, "key=value" each, in order.
std::string SectionText(const std::string& file, const std::string& section) {
  const std::string text = ReadFile(file);
  const size_t at = text.find("[" + section + "]\r\n");
  if (at == std::string::npos) return "<missing>";
  const size_t start = at + section.size() + 4;
  size_t end = start;
  while (end < text.size() && text[end] != '[') end = text.find("\r\n", end) + 2;
  return text.substr(start, end - start);
}

// Closes the top-level windows whose caption holds the text in `lp` (the
// text editor the system opened a macro file in).
BOOL CALLBACK CloseCaptioned(HWND w, LPARAM lp) {
  char caption[512] = {};
  GetWindowTextA(w, caption, sizeof caption);
  if (std::string(caption).find(reinterpret_cast<const char*>(lp)) != std::string::npos &&
      IsWindowVisible(w))
    PostMessageA(w, WM_CLOSE, 0, 0);
  return TRUE;
}

std::string Label(const std::string& file, int n) {
  const std::string s = SectionText(file, qv::panels::SectionName(n));
  const size_t at = s.find("Label=");
  if (at == std::string::npos) return "";
  return s.substr(at + 6, s.find("\r\n", at) - at - 6);
}

std::vector<std::string> Labels(const std::string& file, int count) {
  std::vector<std::string> out;
  for (int n = 1; n <= count; ++n) out.push_back(Label(file, n));
  return out;
}

using Texts = std::vector<std::string>;

class EditorE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = qv::e2e::FreshDataFolder("qv_edit_");
    Write("Quorvex\\Config\\Config.ini", "[default]\r\nSleep=10\r\n");
  }
  void TearDown() override {
    if (HasFailure()) {
      qv::standin::SaveScreenshot(root_ + "\\failure.bmp");
      std::printf("evidence kept in %s\n", root_.c_str());
    }
    process_.reset();
    if (!HasFailure()) std::filesystem::remove_all(root_);
  }

  void Write(const std::string& rel, const std::string& text) {
    std::ofstream(root_ + "\\" + rel, std::ios::binary) << text;
  }
  std::string PanelFile(const std::string& name) const {
    return root_ + "\\Quorvex\\QuorvexData\\Panels\\" + name + ".ini";
  }
  std::string MacroFile(const std::string& name) const {
    return root_ + "\\Quorvex\\QuorvexData\\Macro\\" + name;
  }

  // A panel of rows x cols whose button n is labelled "bn", at a known
  // place on the screen.
  void GridPanel(const std::string& name, int rows, int cols) {
    std::string text = qv::panels::SetupTemplate(name);
    text += "Top=1500\r\nLeft=1500\r\n";
    text.replace(text.find("Rows=2"), 6, "Rows=" + std::to_string(rows));
    text.replace(text.find("Cols=10"), 7, "Cols=" + std::to_string(cols));
    for (int n = 1; n <= rows * cols; ++n)
      text += "[" + qv::panels::SectionName(n) + "]\r\nLabel=b" + std::to_string(n) + "\r\n";
    Write("Quorvex\\QuorvexData\\Panels\\" + name + ".ini", text);
  }

  // The layout editor on a panel, and its preview opened.
  HWND OpenEditor(const std::string& name) {
    process_ = std::make_unique<qv::e2e::Process>();
    EXPECT_TRUE(process_->Start(g_host, name, root_));
    HWND def = qv::e2e::WaitTopWindow(process_->Id(), kDefClass, kDefCaption, kWaitMs);
    EXPECT_NE(def, nullptr);
    return def;
  }

  HWND OpenPreview(HWND def) {
    Click(GetDlgItem(def, kDefUpdate));
    HWND preview = qv::e2e::WaitTopWindow(process_->Id(), kDisplayClass, "", kWaitMs);
    EXPECT_NE(preview, nullptr);
    if (!preview) return nullptr;
    grid_ = FindWindowExA(preview, nullptr, "QuorvexGrid", nullptr);
    EXPECT_TRUE(WaitText(GetDlgItem(def, kDefUpdate), "Hide"));
    return preview;
  }

  // The centre of button n on the screen: the editor's default geometry.
  POINT Button(int n, int cols) const {
    HDC dc = GetDC(nullptr);
    int dx = GetDeviceCaps(dc, LOGPIXELSX), dy = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    if (dpi_) dx = dy = dpi_;  // the editor's, when it runs at another one
    const int r = (n - 1) / cols, c = (n - 1) % cols;
    POINT p{MulDiv(120 + c * 1260 + 600, dx, 1440), MulDiv(80 + r * 460 + 200, dy, 1440)};
    ClientToScreen(grid_, &p);
    return p;
  }

  // Right-clicks button n and picks the menu's item number `item` (counted
  // from 1 without the separators) with the keyboard.
  void Menu(int n, int cols, int item) {
    Sleep(300);
    qv::standin::ClickAt(Button(n, cols), true);
    ASSERT_TRUE(qv::e2e::WaitFor(
        [&] { return !qv::e2e::TopWindowsOf(process_->Id(), "#32768", "").empty(); }, kWaitMs));
    for (int i = 0; i < item; ++i) Press(VK_DOWN);
    Press(VK_RETURN);
    Sleep(300);
  }

  // Answers the next message box and returns its text.
  std::string Answer(int id) {
    qv::e2e::MessageBoxInfo box;
    if (!qv::e2e::WaitMessageBox(process_->Id(), kWaitMs, box)) return "<no message box>";
    qv::e2e::AnswerMessageBox(box.window, id);
    Sleep(300);
    return box.text;
  }

  std::string root_;
  std::unique_ptr<qv::e2e::Process> process_;
  HWND grid_ = nullptr;
  int dpi_ = 0;
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

TEST_F(EditorE2E, NewPanelOpensWithItsDefaultsAndTheGridFieldsRebuildThePreview) {
  Write("Quorvex\\QuorvexData\\Panels\\fresh.ini", qv::panels::SetupTemplate("fresh"));
  HWND def = OpenEditor("fresh");
  ASSERT_NE(def, nullptr);
  const std::pair<int, const char*> defaults[] = {
      {0, "fresh"}, {1, "1200"}, {2, "400"},  {3, "2"},   {4, "10"},  {11, "60"},
      {12, "60"},   {13, "80"},  {14, "120"}, {15, "60"}, {16, "60"},
  };
  for (const auto& [field, text] : defaults)
    EXPECT_EQ(WindowText(GetDlgItem(def, kDefFieldBase + field)), text) << field;
  EXPECT_GT(std::stoi(WindowText(GetDlgItem(def, kDefFieldBase + 5))), 0);
  EXPECT_EQ(SendMessageA(GetDlgItem(def, kDefFieldBase + 7), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(GetDlgItem(def, kDefFieldBase + 8), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  HWND preview = OpenPreview(def);
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(WindowText(preview), "Panel Preview - fresh - fresh");
  RECT before{};
  GetClientRect(grid_, &before);
  Retype(GetDlgItem(def, kDefFieldBase + 3), "4");
  // Two more rows of 400 twips and a gap of 60 each.
  const int grow = MulDiv(2 * 460, GetDeviceCaps(GetDC(nullptr), LOGPIXELSY), 1440);
  ASSERT_TRUE(qv::e2e::WaitFor(
      [&] {
        RECT now{};
        GetClientRect(grid_, &now);
        return now.bottom - before.bottom >= grow - 2;
      },
      kWaitMs));
  // A rows field of 1000 lays out what every reader sees: 2 rows.
  Retype(GetDlgItem(def, kDefFieldBase + 3), "1000");
  ASSERT_TRUE(qv::e2e::WaitFor(
      [&] {
        RECT now{};
        GetClientRect(grid_, &now);
        return now.bottom == before.bottom;
      },
      kWaitMs));
  // Three columns instead of ten: seven cells of 1200 twips and their gaps go.
  Retype(GetDlgItem(def, kDefFieldBase + 4), "3");
  const int shrink = MulDiv(7 * 1260, GetDeviceCaps(GetDC(nullptr), LOGPIXELSX), 1440);
  ASSERT_TRUE(qv::e2e::WaitFor(
      [&] {
        RECT now{};
        GetClientRect(grid_, &now);
        return before.right - now.right >= shrink - 2 && before.right - now.right <= shrink + 2;
      },
      kWaitMs));

  // Exit asks, Cancel stays, No closes without saving.
  Click(GetDlgItem(def, kDefCancel));
  EXPECT_EQ(Answer(IDNO), "Save changes ?");
  ASSERT_TRUE(process_->WaitExit(kWaitMs));
  EXPECT_EQ(ReadFile(PanelFile("fresh")), qv::panels::SetupTemplate("fresh"));
}

TEST_F(EditorE2E, GridMenuOnTwoByThree) {
  GridPanel("g23", 2, 3);
  const std::string file = PanelFile("g23");
  HWND def = OpenEditor("g23");
  ASSERT_NE(def, nullptr);
  ASSERT_NE(OpenPreview(def), nullptr);
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
  EXPECT_EQ(Answer(IDYES), "Undo not available. Confirm remove COLUMN nr. 1 ?");
  ASSERT_TRUE(WaitText(cols, "2"));
  EXPECT_EQ(Labels(file, 4), (Texts{"b2", "b3", "b5", "b6"}));

  // Copy button 1 onto button 4, then swap 1 and 2 by dragging.
  ASSERT_NO_FATAL_FAILURE(Menu(1, 2, kCopy));
  ASSERT_NO_FATAL_FAILURE(Menu(4, 2, kPaste));
  EXPECT_EQ(SectionText(file, "04"), SectionText(file, "01"));
  Sleep(300);
  const POINT from = Button(1, 2), to = Button(2, 2);
  SetCursorPos(from.x, from.y);
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  Sleep(100);
  SetCursorPos(to.x, to.y);
  mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
  Sleep(100);
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  ASSERT_TRUE(qv::e2e::WaitFor([&] { return Label(file, 1) == "b3"; }, kWaitMs));
  EXPECT_EQ(Label(file, 2), "b2");

  // A file that cannot be written: the move stops, says so, and the file
  // stays as it was.
  const std::string before = ReadFile(file);
  // (Wine running as root writes read-only files, so the file is also held
  // open without delete sharing, which no replace gets past.)
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
  HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_NO_FATAL_FAILURE(Menu(1, 2, kSwapNext));
  const std::string said = Answer(IDOK);
  EXPECT_NE(said.find("unchanged"), std::string::npos) << said;
  CloseHandle(held);
  EXPECT_EQ(ReadFile(file), before);
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(EditorE2E, GridMenuOnThreeByTwo) {
  GridPanel("g32", 3, 2);
  const std::string file = PanelFile("g32");
  HWND def = OpenEditor("g32");
  ASSERT_NE(def, nullptr);
  ASSERT_NE(OpenPreview(def), nullptr);
  HWND rows = GetDlgItem(def, kDefFieldBase + 3);

  // Swap below on the middle row, then swap up back.
  ASSERT_NO_FATAL_FAILURE(Menu(3, 2, kSwapBelow));
  ASSERT_TRUE(qv::e2e::WaitFor([&] { return Label(file, 5) == "b3"; }, kWaitMs));
  EXPECT_EQ(Label(file, 3), "b5");
  ASSERT_NO_FATAL_FAILURE(Menu(5, 2, kSwapUp));
  ASSERT_TRUE(qv::e2e::WaitFor([&] { return Label(file, 5) == "b5"; }, kWaitMs));

  // Remove row 2 (No first: nothing happens), then insert a row before row 1.
  ASSERT_NO_FATAL_FAILURE(Menu(4, 2, kRemoveRow));
  EXPECT_EQ(Answer(IDNO), "Undo not available. Confirm remove ROW nr. 2 ?");
  EXPECT_EQ(WindowText(rows), "3");
  ASSERT_NO_FATAL_FAILURE(Menu(4, 2, kRemoveRow));
  EXPECT_EQ(Answer(IDYES), "Undo not available. Confirm remove ROW nr. 2 ?");
  ASSERT_TRUE(WaitText(rows, "2"));
  EXPECT_EQ(Labels(file, 4), (Texts{"b1", "b2", "b5", "b6"}));
  ASSERT_NO_FATAL_FAILURE(Menu(1, 2, kInsertRowBefore));
  ASSERT_TRUE(WaitText(rows, "3"));
  EXPECT_EQ(Labels(file, 6), (Texts{"", "", "b1", "b2", "b5", "b6"}));
  EXPECT_NE(SectionText(file, "Setup").find("Rows=3\r\n"), std::string::npos);

  // A button saved hidden from the preview stays there, and opens again.
  for (const bool hide : {true, false}) {
    Sleep(300);
    qv::standin::ClickAt(Button(3, 2), false);
    HWND ed = qv::e2e::WaitTopWindow(process_->Id(), kEditButtonClass, "Edit button properties: 3",
                                     kWaitMs);
    ASSERT_NE(ed, nullptr) << hide;
    EXPECT_EQ(SendMessageA(GetDlgItem(ed, kChkHidden), BM_GETCHECK, 0, 0),
              hide ? BST_UNCHECKED : BST_CHECKED);
    if (hide) Click(GetDlgItem(ed, kChkHidden));
    Click(GetDlgItem(ed, hide ? kCmdSave : kCmdCancel));
    ASSERT_TRUE(WaitGone(ed));
  }
  EXPECT_NE(SectionText(file, "03").find("Hidden=1\r\n"), std::string::npos);
}

// The button editor opened by a right click on a running panel: every field
// saved in the button editor's order and read back, the span corrections,
// the down look, a new macro file, the long-script warning and the
// checker's findings.
TEST_F(EditorE2E, ButtonEditorFromTheRunningPanelSavesEveryField) {
  GridPanel("run", 2, 3);
  const std::string file = PanelFile("run");
  process_ = std::make_unique<qv::e2e::Process>();
  ASSERT_TRUE(process_->Start(g_quorvex, "run", root_));
  HWND panel = qv::e2e::WaitTopWindow(process_->Id(), "QuorvexPanel", "", kWaitMs);
  ASSERT_NE(panel, nullptr);
  grid_ = FindWindowExA(panel, nullptr, "QuorvexGrid", nullptr);
  ASSERT_NE(grid_, nullptr);
  Sleep(500);
  qv::standin::ClickAt(Button(2, 3), true);
  HWND ed = qv::e2e::WaitTopWindow(process_->Id(), kEditButtonClass, "Edit button properties: 2",
                                   kWaitMs);
  ASSERT_NE(ed, nullptr);
  auto ctl = [&](int id) { return GetDlgItem(ed, id); };
  EXPECT_EQ(WindowText(ctl(kUpBase + kLookLabel)), "b2");
  EXPECT_EQ(WindowText(ctl(kTxtExpandX)), "0");
  EXPECT_FALSE(IsWindowVisible(ctl(kDownBase + kLookLabel)));

  Retype(ctl(kUpBase + kLookLabel), "go");
  SetWindowTextA(ctl(kUpBase + kLookTooltip), "Tip text");
  // The checker lists what would do nothing, with its line.
  SetWindowTextA(ctl(kUpBase + kLookMacro), "|FROB 1|PRESS [ZZ]");
  ASSERT_TRUE(qv::e2e::WaitFor(
      [&] { return WindowText(ctl(kUpBase + kLookFindings)).find("line 1") == 0; }, kWaitMs))
      << WindowText(ctl(kUpBase + kLookFindings));
  EXPECT_NE(WindowText(ctl(kUpBase + kLookFindings)).find("line 2: toolbar code \"[ZZ]\""),
            std::string::npos)
      << WindowText(ctl(kUpBase + kLookFindings));
  Retype(ctl(kTxtExpandX), "2.6");
  Press(VK_TAB);
  EXPECT_TRUE(WaitText(ctl(kTxtExpandX), "3"));
  Retype(ctl(kTxtExpandY), "-2");
  Press(VK_TAB);
  EXPECT_TRUE(WaitText(ctl(kTxtExpandY), "2"));
  Retype(ctl(kTxtExpandX), "0");
  Press(VK_TAB);
  EXPECT_TRUE(WaitText(ctl(kTxtExpandX), ""));

  // A two-state type shows the down look.
  Click(ctl(kCboButtonType));
  Press(VK_DOWN);
  Press(VK_DOWN);
  Press(VK_RETURN);
  ASSERT_TRUE(
      qv::e2e::WaitFor([&] { return IsWindowVisible(ctl(kDownBase + kLookLabel)) != 0; }, kWaitMs));
  SetWindowTextA(ctl(kDownBase + kLookLabel), "Down");
  SetWindowTextA(ctl(kDownBase + kLookMacro), "newmacro.txt");
  Click(ctl(kDownBase + kLookEditMacro));
  EXPECT_EQ(Answer(IDYES),
            "newmacro.txt\r\n\nfile not found.\r\nWould you like to create the file ?");
  ASSERT_TRUE(
      qv::e2e::WaitFor([&] { return !ReadFile(MacroFile("newmacro.txt")).empty(); }, kWaitMs));
  EXPECT_EQ(ReadFile(MacroFile("newmacro.txt")), "; Quorvex Definition file\r\n");
  // The text editor the system opened it in goes again.
  Sleep(1500);
  EnumWindows(CloseCaptioned, reinterpret_cast<LPARAM>("newmacro"));

  // A script longer than readers keep: the editor warns and, on No, stays.
  SetWindowTextA(ctl(kDownBase + kLookMacro), ("|" + std::string(300, 'x')).c_str());
  Click(ctl(kCmdSave));
  const std::string warning = Answer(IDNO);
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
  Sleep(300);
  qv::standin::ClickAt(Button(2, 3), true);
  ed = qv::e2e::WaitTopWindow(process_->Id(), kEditButtonClass, "", kWaitMs);
  ASSERT_NE(ed, nullptr);
  EXPECT_EQ(WindowText(ctl(kUpBase + kLookMacro)), "|FROB 1|PRESS [ZZ]");
  EXPECT_EQ(WindowText(ctl(kTxtExpandY)), "2");
  EXPECT_EQ(SendMessageA(ctl(kCboButtonType), CB_GETCURSEL, 0, 0), 2);
  EXPECT_TRUE(IsWindowVisible(ctl(kDownBase + kLookLabel)));
  Click(ctl(kChkHidden));
  Click(ctl(kCmdSave));
  ASSERT_TRUE(WaitGone(ed));
  EXPECT_NE(SectionText(file, "02").find("Hidden=1\r\n"), std::string::npos);
  Sleep(300);
  qv::standin::ClickAt(Button(2, 3), true);
  EXPECT_EQ(qv::e2e::WaitTopWindow(process_->Id(), kEditButtonClass, "", 1500), nullptr);
}

// A panel made only with the editors, from the new panel's template: the
// layout editor sets its grid, the preview's left clicks open the button
// editor for an inline script, a new macro file and a two-state button; the
// panel then runs and drives the IvAc stand-in.
TEST_F(EditorE2E, APanelBuiltWithTheEditorsRunsAndDrivesIvac) {
  Write("Quorvex\\QuorvexData\\Panels\\built.ini", qv::panels::SetupTemplate("built"));
  const std::string file = PanelFile("built");
  HWND def = OpenEditor("built");
  ASSERT_NE(def, nullptr);
  auto field = [&](int i) { return GetDlgItem(def, kDefFieldBase + i); };
  Retype(field(3), "1");
  Retype(field(4), "3");
  Retype(field(5), "1500");
  Retype(field(6), "1500");
  ASSERT_NE(OpenPreview(def), nullptr);

  struct Edit {
    const char* label;
    const char* macro;
    int typeDowns;  // presses of Down in the type list
    const char* macroDown;
  } const edits[] = {
      {"inline", "|COMMBOX 2|SEND_TEXT hello ground", 0, ""},
      {"file", "greet.txt", 0, ""},
      {"ndb", "|PRESS NDB", 1, "|RELEASE NDB"},
  };
  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE(n);
    const Edit& e = edits[n - 1];
    Sleep(300);
    qv::standin::ClickAt(Button(n, 3), false);
    HWND ed = qv::e2e::WaitTopWindow(process_->Id(), kEditButtonClass,
                                     "Edit button properties: " + std::to_string(n), kWaitMs);
    ASSERT_NE(ed, nullptr);
    Retype(GetDlgItem(ed, kUpBase + kLookLabel), e.label);
    SetWindowTextA(GetDlgItem(ed, kUpBase + kLookMacro), e.macro);
    if (e.typeDowns) {
      Click(GetDlgItem(ed, kCboButtonType));
      for (int i = 0; i < e.typeDowns; ++i) Press(VK_DOWN);
      Press(VK_RETURN);
      SetWindowTextA(GetDlgItem(ed, kDownBase + kLookMacro), e.macroDown);
    }
    if (n == 2) {
      // A new macro file, written in the editor the system opens.
      Click(GetDlgItem(ed, kUpBase + kLookEditMacro));
      EXPECT_NE(Answer(IDYES).find("file not found."), std::string::npos);
      ASSERT_TRUE(
          qv::e2e::WaitFor([&] { return !ReadFile(MacroFile("greet.txt")).empty(); }, kWaitMs));
      Sleep(1500);
      EnumWindows(CloseCaptioned, reinterpret_cast<LPARAM>("greet"));
      std::ofstream(MacroFile("greet.txt"), std::ios::app | std::ios::binary)
          << "COMMBOX 1\r\nSEND_TEXT wind calm\r\n";
    }
    Click(GetDlgItem(ed, kCmdSave));
    ASSERT_TRUE(WaitGone(ed));
  }
  Click(GetDlgItem(def, kDefSave));
  ASSERT_TRUE(process_->WaitExit(kWaitMs));
  const std::string setup = SectionText(file, "Setup");
  EXPECT_NE(setup.find("Rows=1\r\nCols=3\r\nTop=1500\r\nLeft=1500\r\nOnTop=1\r\n"),
            std::string::npos)
      << setup;
  EXPECT_EQ(ReadFile(MacroFile("greet.txt")),
            "; Quorvex Definition file\r\nCOMMBOX 1\r\nSEND_TEXT wind calm\r\n");

  qv::standin::StandInProcess standin;
  std::string error;
  ASSERT_TRUE(standin.Start(g_standin, root_ + "\\standin", "", &error)) << error;
  process_ = std::make_unique<qv::e2e::Process>();
  ASSERT_TRUE(process_->Start(g_quorvex, "built", root_));
  HWND panel = qv::e2e::WaitTopWindow(process_->Id(), "QuorvexPanel", "", kWaitMs);
  ASSERT_NE(panel, nullptr);
  grid_ = FindWindowExA(panel, nullptr, "QuorvexGrid", nullptr);
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
    WaitForInputIdle(process_->Handle(), 5000);
    Sleep(500);
    const int64_t seq = standin.LastSeq();
    qv::standin::ClickAt(Button(c.button, 3), false);
    EXPECT_TRUE(standin.WaitFor(c.event, c.where, seq, 5000));
  }
  process_.reset();
  standin.Stop();
}

// The preview toggle follows a preview closed on its own; a right click on
// "Select Color" resets the background; only the tracked fields ask on Exit.
TEST_F(EditorE2E, ToggleBackgroundResetAndTheExitQuestion) {
  std::string text = qv::panels::SetupTemplate("opts");
  text += "BackColor=0000000000255\r\n";
  Write("Quorvex\\QuorvexData\\Panels\\opts.ini", text);
  HWND def = OpenEditor("opts");
  ASSERT_NE(def, nullptr);
  HWND preview = OpenPreview(def);
  ASSERT_NE(preview, nullptr);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(def, kDefGetPosition)));
  PostMessageA(preview, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitText(GetDlgItem(def, kDefUpdate), "Panel Preview"));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(def, kDefGetPosition)));

  Click(GetDlgItem(def, kDefBackColor), true);
  Click(GetDlgItem(def, kDefSave));
  ASSERT_TRUE(process_->WaitExit(kWaitMs));
  EXPECT_NE(SectionText(PanelFile("opts"), "Setup").find("BackColor=-0002147483633\r\n"),
            std::string::npos);

  // AutoHide alone is no change worth a question.
  def = OpenEditor("opts");
  ASSERT_NE(def, nullptr);
  Click(GetDlgItem(def, kDefFieldBase + 8));
  Click(GetDlgItem(def, kDefCancel));
  EXPECT_TRUE(process_->WaitExit(kWaitMs));
}

// The layout editor with its preview and the button editor over it, at 96
// and 144 dpi, saved as screenshots (docs/). Run by hand:
// --gtest_also_run_disabled_tests --gtest_filter=*Screenshots*
TEST_F(EditorE2E, DISABLED_Screenshots) {
  for (const int dpi : {96, 144}) {
    qv::e2e::ScreenDpi screen(static_cast<DWORD>(dpi));
    dpi_ = dpi;
    const std::string name = "Tower" + std::to_string(dpi);
    std::string text = qv::panels::SetupTemplate("EDDF tower");
    text.replace(text.find("Cols=10"), 7, "Cols=4");
    text += "Top=1500\r\nLeft=7500\r\n";
    const char* labels[] = {"Ground", "Tower", "Runway 25C", "ATIS", "",     "Hidden",
                            "Wind",   "QNH",   "Lights",     "",     "Taxi", "Clear"};
    for (int n = 1; n <= 8; ++n) {
      text += "[" + qv::panels::SectionName(n) + "]\r\nLabel=" + labels[n - 1] +
              "\r\nMacro=|SEND_TEXT " + labels[n - 1] +
              "\r\nColor=" + (n % 3 ? "-0002147483633" : "0000000012632256") + "\r\n";
      if (n == 6) text += "Hidden=1\r\n";
      if (n == 3) text += "ExpandX=2\r\nTextBold=-1\r\nTextColor=128\r\n";
    }
    Write("Quorvex\\QuorvexData\\Panels\\" + name + ".ini", text);
    HWND def = OpenEditor(name);
    ASSERT_NE(def, nullptr);
    SetWindowPos(def, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_NE(OpenPreview(def), nullptr);
    Sleep(1000);
    qv::standin::SaveScreenshot(qv::e2e::CaseFolder() + "\\layout-editor-" + std::to_string(dpi) +
                                "dpi.bmp");
    qv::standin::ClickAt(Button(3, 4), false);
    HWND ed = qv::e2e::WaitTopWindow(process_->Id(), kEditButtonClass, "", kWaitMs);
    ASSERT_NE(ed, nullptr);
    Click(GetDlgItem(ed, kCboButtonType));
    Press(VK_DOWN);
    Press(VK_RETURN);
    SetWindowTextA(GetDlgItem(ed, kUpBase + kLookMacro), "|COMMBOX 2|SEND_TEXT hello|PRESS [ZZ]");
    SetWindowTextA(GetDlgItem(ed, kDownBase + kLookLabel), "Runway 25C closed");
    SetWindowTextA(GetDlgItem(ed, kDownBase + kLookMacro), "runway_closed.txt");
    SetWindowPos(ed, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Sleep(1000);
    qv::standin::SaveScreenshot(qv::e2e::CaseFolder() + "\\button-editor-" + std::to_string(dpi) +
                                "dpi.bmp");
    Click(GetDlgItem(ed, kCmdCancel));
    Answer(IDCANCEL);
    process_.reset();
  }
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s quorvex.exe editor_host.exe ivac-standin.exe\n", argv[0]);
    return 2;
  }
  g_quorvex = qv::e2e::WindowsPath(argv[1]);
  g_host = qv::e2e::WindowsPath(argv[2]);
  g_standin = qv::e2e::WindowsPath(argv[3]);
  return RUN_ALL_TESTS();
}
