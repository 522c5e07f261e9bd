#include "editor/frm_edit_button.h"

#include <commdlg.h>
#include <shellapi.h>

#include <array>

#include "editor/button_form.h"
#include "editor/dialogs.h"
#include "panels/panel_profile.h"
#include "panels/script_check.h"
#include "panels/win32/grid_view.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "platform/win32/dpi.h"
#include "platform/win32/ui.h"

namespace qv::editor {

namespace {

constexpr int kWidth = 600;
constexpr int kFrameTop = 72;
constexpr int kFrameHeight = 262;
constexpr int kFrameGap = 8;
constexpr const char* kCaption = "Edit button properties:";

// One look's controls: the normal look or the down look.
struct LookControls {
  HWND frame = nullptr, label = nullptr, macro = nullptr, tooltip = nullptr, picBack = nullptr,
       backColor = nullptr, selectMacro = nullptr, editMacro = nullptr, font = nullptr,
       example = nullptr, findings = nullptr;
  std::vector<HWND> all;  // every control of the look, captions included
};

class EditButtonWindow : public win::WindowBase {
 public:
  EditButtonWindow(std::string file, std::string macroFolder, int index)
      : file_(std::move(file)), macroFolder_(std::move(macroFolder)), index_(index) {}

  bool Run(HWND owner) {
    Form_Load(owner);
    if (!hwnd_) return false;
    if (owner) EnableWindow(owner, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SetFocus(up_.label);  // Form_Activate
    RunWindow(hwnd_, done_);
    if (owner) EnableWindow(owner, TRUE);
    if (tooltip_) DestroyWindow(tooltip_);
    if (hwnd_) DestroyWindow(hwnd_);
    if (owner) SetForegroundWindow(owner);
    return saved_;
  }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp));
        return 0;
      case WM_DRAWITEM:
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
      case WM_CLOSE:
        cmdCancel_Click();
        return 0;
      default:
        return Default(msg, wp, lp);
    }
  }

 private:
  // ------------------------------------------------------------ building

  void Tip(HWND w, const char* text) { win::AddTool(tooltip_, w, text); }

  HWND CreateCombo(int id) {
    HWND w = CreateWindowExA(
        0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0,
        10, 10, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), win::Instance(), nullptr);
    win::SetFont(w, win::UiFont());
    return w;
  }

  void BuildLook(LookControls& c, int base, int top, const char* title) {
    auto add = [&](HWND w) {
      c.all.push_back(w);
      return w;
    };
    c.frame = add(Place(win::CreateButton(hwnd_, base + kLookFrame, title, BS_GROUPBOX), 8, top,
                        kWidth - 24, kFrameHeight));
    SetWindowLongA(c.frame, GWL_STYLE, GetWindowLongA(c.frame, GWL_STYLE) & ~WS_TABSTOP);
    add(Place(win::CreateLabel(hwnd_, -1, "Button Text"), 20, top + 24, 96, 18));
    c.label = add(Place(win::CreateEdit(hwnd_, base + kLookLabel), 120, top + 20, 450, 22));
    Tip(c.label, "This text will appear on the button");
    add(Place(win::CreateLabel(hwnd_, -1, "Tooltip text"), 20, top + 52, 96, 18));
    c.tooltip = add(Place(win::CreateEdit(hwnd_, base + kLookTooltip), 120, top + 48, 450, 22));
    Tip(c.tooltip, "This text will appear leaving mouse hover the button");
    add(Place(win::CreateLabel(hwnd_, -1, "Macro"), 20, top + 80, 96, 18));
    c.macro = add(Place(win::CreateEdit(hwnd_, base + kLookMacro), 120, top + 76, 330, 22));
    Tip(c.macro,
        "A macro file name from the macro folder, or macro commands each preceded by \"|\"");
    c.selectMacro = add(
        Place(win::CreateButton(hwnd_, base + kLookSelectMacro, "Select"), 455, top + 75, 55, 24));
    Tip(c.selectMacro, "Select an existing macro file");
    c.editMacro =
        add(Place(win::CreateButton(hwnd_, base + kLookEditMacro, "Edit"), 515, top + 75, 55, 24));
    Tip(c.editMacro, "Edit an existing Macro file using default editor");
    c.findings =
        add(Place(win::CreateEdit(hwnd_, base + kLookFindings,
                                  ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL),
                  120, top + 102, 450, 52));
    Tip(c.findings, "Script lines that will do nothing when the button runs");
    add(Place(win::CreateLabel(hwnd_, -1, "Button Background color"), 20, top + 166, 150, 18));
    c.picBack = add(Place(win::CreateLabel(hwnd_, base + kLookPicBack, "", SS_OWNERDRAW), 175,
                          top + 162, 40, 24));
    c.backColor = add(
        Place(win::CreateButton(hwnd_, base + kLookBackColor, "Color..."), 222, top + 162, 80, 26));
    Tip(c.backColor, "Select Background Color");
    c.font = add(Place(win::CreateButton(hwnd_, base + kLookFont, "Font"), 310, top + 162, 80, 26));
    add(Place(win::CreateLabel(hwnd_, -1, "Text example: "), 20, top + 206, 96, 18));
    c.example = add(Place(win::CreateLabel(hwnd_, base + kLookExample, "", SS_OWNERDRAW), 120,
                          top + 196, 450, 56));
  }

  void Form_Load(HWND owner) {
    const std::string caption = std::string(kCaption) + " " + std::to_string(index_);
    RECT at{};
    const bool besideOwner = owner && GetWindowRect(owner, &at);
    CreateBound(kEditButtonClass, WS_EX_DLGMODALFRAME | WS_EX_TOPMOST,
                WS_POPUP | WS_CAPTION | WS_SYSMENU, caption.c_str(),
                besideOwner ? at.left + Dip(20) : CW_USEDEFAULT,
                besideOwner ? at.top + Dip(20) : CW_USEDEFAULT, Dip(kWidth), Dip(400), owner, 0,
                GetSysColorBrush(COLOR_BTNFACE));
    if (!hwnd_) return;
    tooltip_ = win::CreateTooltip(hwnd_);

    Place(win::CreateLabel(hwnd_, -1, "Button Type:"), 10, 14, 80, 18);
    type_ = Place(CreateCombo(kCboButtonType), 95, 10, 180, 200);
    for (const char* t : {"PushButton", "two-state PushButton", "two-state Button"})
      SendMessageA(type_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
    hidden_ = Place(win::CreateCheckBox(hwnd_, kChkHidden, "Hidden"), 300, 12, 120, 20);
    Tip(hidden_, "The button is hidden wen running panel");
    Place(win::CreateLabel(hwnd_, -1, "Span on"), 10, 44, 55, 18);
    expandX_ = Place(win::CreateEdit(hwnd_, kTxtExpandX), 68, 40, 40, 22);
    Place(win::CreateLabel(hwnd_, -1, "columns"), 114, 44, 60, 18);
    Place(win::CreateLabel(hwnd_, -1, "Span on"), 190, 44, 55, 18);
    expandY_ = Place(win::CreateEdit(hwnd_, kTxtExpandY), 248, 40, 40, 22);
    Place(win::CreateLabel(hwnd_, -1, "rows"), 294, 44, 60, 18);

    BuildLook(up_, kUpBase, kFrameTop, "When button is UP");
    BuildLook(down_, kDownBase, kFrameTop + kFrameHeight + kFrameGap, "When button is DOWN");
    clear_ = win::CreateButton(hwnd_, kCmdClear, "Clear Button Definition");
    Tip(clear_, "Clears all button definitions");
    save_ = win::CreateButton(hwnd_, kCmdSave, "Save");
    Tip(save_, "Save button definitions");
    cancel_ = win::CreateButton(hwnd_, kCmdCancel, "Cancel");
    Tip(cancel_, "Cancel button editing ");

    form_ = LoadButtonForm(panels::ProfileReader(file_), index_);
    loading_ = true;
    ShowLook(up_, form_.up);
    ShowLook(down_, form_.down);
    win::SetText(expandX_, form_.expandX);
    win::SetText(expandY_, form_.expandY);
    SendMessageA(hidden_, BM_SETCHECK, form_.hidden ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageA(type_, CB_SETCURSEL, static_cast<WPARAM>(form_.type), 0);
    loading_ = false;
    ShowDownLook();
    changed_ = false;
  }

  void ShowLook(LookControls& c, const ButtonLookFields& look) {
    win::SetText(c.label, look.label);
    win::SetText(c.macro, look.macro);
    win::SetText(c.tooltip, look.tooltip);
    ShowFindings(c);
  }

  // The down look shows for the two-state types only; the window fits it.
  void ShowDownLook() {
    const bool show = SendMessageA(type_, CB_GETCURSEL, 0, 0) > 0;
    for (HWND w : down_.all) ShowWindow(w, show ? SW_SHOW : SW_HIDE);
    const int buttonsTop =
        kFrameTop + kFrameHeight + kFrameGap + (show ? kFrameHeight + kFrameGap : 0);
    Place(clear_, 10, buttonsTop, 180, 28);
    Place(save_, 400, buttonsTop, 85, 28);
    Place(cancel_, 495, buttonsTop, 85, 28);
    RECT client{0, 0, Dip(kWidth), Dip(buttonsTop + 40)};
    AdjustWindowRectEx(&client, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, TRUE);
  }

  // The checker's findings for the look's macro value, one line each.
  void ShowFindings(LookControls& c) {
    panels::CheckOptions options;
    options.macroFolder = macroFolder_;
    std::string text;
    for (const panels::Finding& f : panels::CheckValue(win::GetText(c.macro), options, "")) {
      if (!text.empty()) text += "\r\n";
      if (f.line) text += "line " + std::to_string(f.line) + ": ";
      text += f.message;
      if (!f.text.empty() && f.kind != panels::Finding::Kind::kMissingMacroFile)
        text += ": " + f.text;
    }
    win::SetText(c.findings, text);
  }

  // ------------------------------------------------------------ events
  void OnCommand(int id, int code) {
    if (loading_) return;
    const bool isUp = id >= kUpBase && id < kDownBase;
    const bool isDown = id >= kDownBase && id < kDownBase + 100;
    if (isUp || isDown) {
      LookControls& c = isUp ? up_ : down_;
      ButtonLookFields& look = isUp ? form_.up : form_.down;
      const int part = id - (isUp ? kUpBase : kDownBase);
      if (code == EN_CHANGE) {
        if (part == kLookLabel || part == kLookMacro || part == kLookTooltip) changed_ = true;
        if (part == kLookLabel) InvalidateRect(c.example, nullptr, FALSE);
        if (part == kLookMacro) ShowFindings(c);
        return;
      }
      if (code != BN_CLICKED) return;
      if (part == kLookBackColor) ChooseBack(c, look);
      if (part == kLookFont) ChooseFont(c, look);
      if (part == kLookSelectMacro) SelectMacro(c);
      if (part == kLookEditMacro) EditMacro(c);
      return;
    }
    switch (id) {
      case kTxtExpandX:
      case kTxtExpandY:
        if (code == EN_CHANGE) changed_ = true;
        if (code == EN_KILLFOCUS) {
          HWND field = id == kTxtExpandX ? expandX_ : expandY_;
          const std::string corrected = CorrectSpanText(win::GetText(field));
          if (corrected != win::GetText(field)) win::SetText(field, corrected);
        }
        break;
      case kCboButtonType:
        if (code == CBN_SELCHANGE) ShowDownLook();
        break;
      case kCmdClear:
        if (code == BN_CLICKED) cmdClear_Click();
        break;
      case kCmdSave:
        if (code == BN_CLICKED && SaveButton()) done_ = true;
        break;
      case kCmdCancel:
        if (code == BN_CLICKED) cmdCancel_Click();
        break;
      default:
        break;
    }
  }

  void ChooseBack(LookControls& c, ButtonLookFields& look) {
    const int32_t chosen = ChooseColorDlg(look.backColor, hwnd_, false);
    if (chosen == -1) return;
    if (chosen != look.backColor) changed_ = true;
    look.backColor = chosen;
    InvalidateRect(c.picBack, nullptr, FALSE);
    InvalidateRect(c.example, nullptr, FALSE);
  }

  void ChooseFont(LookControls& c, ButtonLookFields& look) {
    FontDialog(look.font, hwnd_);
    changed_ = true;  // after Cancel too
    InvalidateRect(c.example, nullptr, FALSE);
  }

  void SelectMacro(LookControls& c) {
    char name[256] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = hwnd_;
    ofn.lpstrFilter = "TXT Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name;
    ofn.nMaxFile = 255;
    ofn.lpstrInitialDir = macroFolder_.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&ofn)) return;
    const std::string chosen = name;
    const size_t cut = chosen.find_last_of("\\/");
    win::SetText(c.macro, cut == std::string::npos ? chosen : chosen.substr(cut + 1));
  }

  void EditMacro(LookControls& c) {
    const std::string name = TrimSpaces(win::GetText(c.macro));
    if (name.empty() || name[0] == '|') return;
    const std::string path = macroFolder_ + "\\" + name;
    if (!files::Exists(path)) {
      const int answer =
          win::Message(hwnd_, name + "\r\n\nfile not found.\r\nWould you like to create the file ?",
                       "Edit Macro definition file", MB_YESNO | MB_ICONQUESTION);
      if (answer != IDYES) return;
      if (!CreateMacroFile(path)) {
        win::Message(hwnd_, "Cannot create " + path + ".", "Edit Macro definition file",
                     MB_OK | MB_ICONEXCLAMATION);
        return;
      }
      ShowFindings(c);
    }
    const auto rc = reinterpret_cast<INT_PTR>(
        ShellExecuteA(hwnd_, "edit", path.c_str(), nullptr, macroFolder_.c_str(), SW_SHOWNORMAL));
    // Without an editor registered for the file type, Notepad opens it.
    if (rc == SE_ERR_NOASSOC)
      ShellExecuteA(hwnd_, "open", "notepad", path.c_str(), macroFolder_.c_str(), SW_SHOWNORMAL);
  }

  void cmdClear_Click() {
    win::SetText(up_.label, "");
    win::SetText(up_.macro, "");
    win::SetText(up_.tooltip, "");
    form_.up.backColor = panels::kButtonFace;
    InvalidateRect(up_.picBack, nullptr, FALSE);
    InvalidateRect(up_.example, nullptr, FALSE);
    changed_ = true;
  }

  void cmdCancel_Click() {
    if (changed_) {
      const int answer =
          win::Message(hwnd_, "Save changes ?", win::GetText(hwnd_), MB_OKCANCEL | MB_ICONQUESTION);
      // A save that does not happen (refused, or the file cannot be
      // written) keeps the editor open: the edits are not lost unseen.
      if (answer == IDOK && !SaveButton()) return;
    }
    done_ = true;
  }

  // Writes all 26 keys in one step; false (the editor stays open) when the
  // user keeps a script that readers would cut, or the write fails.
  bool SaveButton() {
    for (LookControls* c : {&up_, &down_}) {
      const std::string macro = win::GetText(c->macro);
      if (!IsCutOnRead(macro)) continue;
      const int answer =
          win::Message(hwnd_,
                       "The macro is " + std::to_string(macro.size()) +
                           " characters long, but the panel keeps only its first " +
                           std::to_string(kMaxStoredValue) +
                           " when it reads the button: the rest of the script will not run.\r\n"
                           "Save it anyway?",
                       win::GetText(hwnd_), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
      if (answer != IDYES) {
        SetFocus(c->macro);
        return false;
      }
    }
    Collect();
    profile::Batch batch;
    const panels::ButtonFields fields = ToButtonFields(form_);
    const auto order = panels::ButtonWriteOrder();
    const std::string section = panels::SectionName(index_);
    for (size_t i = 0; i < order.size(); ++i) batch.WriteKey(section, order[i], fields[i]);
    if (!batch.Commit(file_)) {
      win::Message(hwnd_, "Cannot write " + file_ + ": the button was not saved.",
                   win::GetText(hwnd_), MB_OK | MB_ICONEXCLAMATION);
      return false;
    }
    changed_ = false;
    saved_ = true;
    return true;
  }

  void Collect() {
    for (auto [c, look] : {std::pair{&up_, &form_.up}, std::pair{&down_, &form_.down}}) {
      look->label = win::GetText(c->label);
      look->macro = win::GetText(c->macro);
      look->tooltip = win::GetText(c->tooltip);
    }
    const LRESULT type = SendMessageA(type_, CB_GETCURSEL, 0, 0);
    form_.type = type >= 0 && type <= 2 ? static_cast<int32_t>(type) : 0;
    form_.expandX = win::GetText(expandX_);
    form_.expandY = win::GetText(expandY_);
    form_.hidden = SendMessageA(hidden_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }

  // ------------------------------------------------------------ drawing
  void Draw(const DRAWITEMSTRUCT& d) {
    const int id = static_cast<int>(d.CtlID);
    const bool isUp = id < kDownBase;
    const ButtonLookFields& look = isUp ? form_.up : form_.down;
    const int part = id - (isUp ? kUpBase : kDownBase);
    RECT r = d.rcItem;
    win::Brush back(CreateSolidBrush(panels::PanelColor(look.backColor)));
    FillRect(d.hDC, &r, back.Get());
    if (part == kLookPicBack) {
      FrameRect(d.hDC, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
      return;
    }
    DrawEdge(d.hDC, &r, EDGE_RAISED, BF_RECT);
    std::string text = win::GetText(isUp ? up_.label : down_.label);
    if (text.empty()) text = "Example";
    win::Font font(CreateLookFont(look.font));
    win::Selected sel(d.hDC, font.Get());
    SetBkMode(d.hDC, TRANSPARENT);
    SetTextColor(d.hDC, panels::PanelColor(look.font.color));
    DrawTextA(d.hDC, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }

  std::string file_, macroFolder_;
  int index_ = 0;
  ButtonForm form_;
  LookControls up_, down_;
  HWND type_ = nullptr, hidden_ = nullptr, expandX_ = nullptr, expandY_ = nullptr;
  HWND clear_ = nullptr, save_ = nullptr, cancel_ = nullptr, tooltip_ = nullptr;
  bool changed_ = false, loading_ = false, done_ = false, saved_ = false;
};

}  // namespace

bool EditButton(HWND owner, const std::string& panelFile, const std::string& macroFolder,
                int index) {
  EditButtonWindow editor(panelFile, macroFolder, index);
  return editor.Run(owner);
}

}  // namespace qv::editor
