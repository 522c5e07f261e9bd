#include "editor/frm_def.h"

#include <commctrl.h>

#include <array>
#include <memory>

#include "editor/dialogs.h"
#include "editor/frm_display.h"
#include "editor/setup_fields.h"
#include "panels/panel_profile.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "platform/win32/dpi.h"
#include "platform/win32/ui.h"
#include "startup/app.h"

namespace qv::editor {

namespace {

using panels::SetupFields;

constexpr UINT_PTR kTimer1 = 1;
constexpr size_t kDescription = 0, kWidthField = 1, kHeightField = 2, kTopField = 5, kLeftField = 6,
                 kOnTopField = 7, kAutoHideField = 8, kSysTrayField = 9, kBackField = 10;

bool IsTextField(size_t i) { return i <= kLeftField || i > kBackField; }

// Whether a field's pixel tooltip divides by the vertical twips per pixel:
// heights, top positions, vertical gaps, top and bottom margins.
bool IsVertical(size_t i) {
  return i == kHeightField || i == kTopField || i == 12 || i == 13 || i == 16;
}

LRESULT CALLBACK BackColorProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data);

class DefWindow : public win::WindowBase, public PreviewWindow::Host {
 public:
  DefWindow(App& app, std::string panelName)
      : app_(app),
        name_(std::move(panelName)),
        file_(panels::PanelPath(app.folders.panels, name_)) {}

  void Run(HWND owner) {
    Form_Load();
    if (!hwnd_) return;
    if (owner) ShowWindow(owner, SW_HIDE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    RunWindow(hwnd_, done_);
    // Form_Unload: the preview goes, the manager comes back.
    preview_.reset();
    if (tooltip_) DestroyWindow(tooltip_);
    if (hwnd_) DestroyWindow(hwnd_);
    if (owner) {
      ShowWindow(owner, SW_SHOW);
      SetForegroundWindow(owner);
    }
  }

  // PreviewWindow::Host
  SetupFields Fields() const override {
    SetupFields f;
    for (size_t i = 0; i < f.size(); ++i) {
      if (IsTextField(i))
        f[i] = win::GetText(fields_[i]);
      else if (i != kBackField)
        f[i] = SendMessageA(fields_[i], BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0";
    }
    f[kBackField] = panels::ColorText13(back_);
    return f;
  }

  void GridSaved(const SetupFields& saved) override {
    quiet_ = true;
    for (size_t i : {size_t{3}, size_t{4}}) win::SetText(fields_[i], saved[i]);
    quiet_ = false;
    changed_ = false;  // every field was saved with the move
    Imposta();
  }

  void FileRestored() override {
    GetAssistantParams();
    changed_ = false;
    Imposta();
  }

  void BackColorRightUp() {
    back_ = panels::kButtonFace;  // the editor's own background
    InvalidateRect(picBack_, nullptr, FALSE);
    changed_ = true;
    Imposta();
  }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp));
        return 0;
      case WM_DRAWITEM: {
        const auto& d = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        RECT r = d.rcItem;
        win::Brush brush(CreateSolidBrush(panels::PanelColor(back_)));
        FillRect(d.hDC, &r, brush.Get());
        FrameRect(d.hDC, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        SetBkMode(d.hDC, TRANSPARENT);
        win::Selected font(d.hDC, win::UiFont());
        DrawTextA(d.hDC, "Background Color", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return TRUE;
      }
      case WM_TIMER:
        if (wp == kTimer1) Timer1_Timer();
        return 0;
      case WM_CLOSE:
        Form_QueryUnload();
        return 0;
      default:
        return Default(msg, wp, lp);
    }
  }

 private:
  void Label(const char* text, int x, int y, int width) {
    Place(win::CreateLabel(hwnd_, -1, text), x, y + 3, width, 18);
  }
  void Field(size_t i, int x, int y, int width) {
    fields_[i] =
        Place(win::CreateEdit(hwnd_, kDefFieldBase + static_cast<int>(i)), x, y, width, 22);
    win::AddTool(tooltip_, fields_[i], "");
  }
  void Group(const char* text, int x, int y, int width, int height) {
    HWND g = Place(win::CreateButton(hwnd_, -1, text, BS_GROUPBOX), x, y, width, height);
    SetWindowLongA(g, GWL_STYLE, GetWindowLongA(g, GWL_STYLE) & ~WS_TABSTOP);
  }

  void Form_Load() {
    CreateBound(kDefClass, 0, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, kDefCaption,
                CW_USEDEFAULT, CW_USEDEFAULT, Dip(470), Dip(470), nullptr, 0,
                GetSysColorBrush(COLOR_BTNFACE));
    if (!hwnd_) return;
    tooltip_ = win::CreateTooltip(hwnd_);
    Label("Description", 10, 10, 95);
    Field(kDescription, 110, 10, 340);
    Label("Panel Rows", 10, 40, 95);
    Field(3, 110, 40, 50);
    Label("Panel Columns", 190, 40, 90);
    Field(4, 285, 40, 50);
    Label("Dimension:  Height", 10, 70, 110);
    Field(kHeightField, 125, 70, 60);
    Label("Width", 205, 70, 40);
    Field(kWidthField, 250, 70, 60);
    Label("Spacing:   Horizontal", 10, 100, 120);
    Field(11, 135, 100, 50);
    Label("Vertical", 200, 100, 55);
    Field(12, 260, 100, 50);
    Group("Panel Borders", 10, 130, 440, 58);
    const char* sides[] = {"Top", "Left", "Right", "Bottom"};
    for (size_t k = 0; k < 4; ++k) {
      const int x = 20 + static_cast<int>(k) * 107;
      Label(sides[k], x, 154, 48);
      Field(13 + k, x + 50, 154, 50);
    }
    Group("Panel Position", 10, 196, 300, 58);
    Label("Top", 20, 220, 40);
    Field(kTopField, 62, 220, 70);
    Label("Left", 150, 220, 40);
    Field(kLeftField, 192, 220, 70);
    getPosition_ =
        Place(win::CreateButton(hwnd_, kDefGetPosition, "Get Current"), 325, 218, 110, 26);
    fields_[kOnTopField] =
        Place(win::CreateCheckBox(hwnd_, kDefFieldBase + 7, "Window On Top"), 10, 264, 150, 20);
    win::AddTool(tooltip_, fields_[kOnTopField], "Set Macro Assistant Window always to foreground");
    fields_[kAutoHideField] = Place(
        win::CreateCheckBox(hwnd_, kDefFieldBase + 8, "AutoHide Controlbox"), 170, 264, 170, 20);
    win::AddTool(tooltip_, fields_[kAutoHideField], "Enable AutoHide controlbox function");
    fields_[kSysTrayField] =
        Place(win::CreateCheckBox(hwnd_, kDefFieldBase + 9, "Move application to SysTray"), 10, 288,
              250, 20);
    win::AddTool(tooltip_, fields_[kSysTrayField], "Display Icon on System Try");
    picBack_ = Place(win::CreateLabel(hwnd_, kDefPicBack, "", SS_OWNERDRAW), 10, 316, 150, 26);
    HWND backColor =
        Place(win::CreateButton(hwnd_, kDefBackColor, "Select Color"), 170, 316, 110, 26);
    win::AddTool(tooltip_, backColor,
                 "Change Panel Background color - right click to reset to default");
    SetWindowSubclass(backColor, BackColorProc, 1, reinterpret_cast<DWORD_PTR>(this));
    HWND note = Place(win::CreateLabel(hwnd_, kDefNote, ""), 10, 352, 440, 50);
    win::SetText(note,
                 "Note:\r\nBorders, Top/Left position,Spacing and Panel position are in Twips;\r\n"
                 "15 twips = 1 pixel");
    update_ = Place(win::CreateButton(hwnd_, kDefUpdate, "Panel Preview"), 10, 408, 120, 28);
    win::AddTool(tooltip_, update_, "Preview Assistant and edit buttons");
    HWND save = Place(win::CreateButton(hwnd_, kDefSave, "Save"), 260, 408, 90, 28);
    win::AddTool(tooltip_, save, "Save Assistant Macro");
    Place(win::CreateButton(hwnd_, kDefCancel, "Exit"), 360, 408, 90, 28);
    EnableWindow(getPosition_, FALSE);

    RECT client{0, 0, Dip(460), Dip(446)};
    AdjustWindowRect(&client, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)), FALSE);
    SetWindowPos(hwnd_, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    GetAssistantParams();
    changed_ = false;
  }

  void GetAssistantParams() {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    const SetupFields f = LoadSetupFields(
        panels::ProfileReader(file_), win::PixelsToTwipsX(GetSystemMetrics(SM_CXSCREEN)),
        win::PixelsToTwipsY(GetSystemMetrics(SM_CYSCREEN)), win::PixelsToTwipsX(r.right - r.left),
        win::PixelsToTwipsY(r.bottom - r.top));
    quiet_ = true;
    for (size_t i = 0; i < f.size(); ++i) {
      if (IsTextField(i))
        win::SetText(fields_[i], f[i]);
      else if (i != kBackField)
        SendMessageA(fields_[i], BM_SETCHECK, f[i] == "1" ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    back_ = panels::ReadColor(f[kBackField]);
    quiet_ = false;
    InvalidateRect(picBack_, nullptr, FALSE);
    UpdateTips();
  }

  void UpdateTips() {
    for (size_t i = 1; i < fields_.size(); ++i) {
      if (!IsTextField(i) || i == 3 || i == 4) continue;
      const int per = IsVertical(i) ? win::TwipsPerPixelY() : win::TwipsPerPixelX();
      const int pixels = per > 0 ? panels::ReadInt(win::GetText(fields_[i])) / per : 0;
      win::SetToolText(tooltip_, fields_[i], std::to_string(pixels) + " pixels");
    }
  }

  bool PreviewOpen() const { return preview_ && preview_->IsOpen(); }

  void Imposta() {
    UpdateTips();
    if (!PreviewOpen()) return;
    const SetupFields f = Fields();
    const panels::PanelSetup s = SetupFromFields(f);
    app_.layout.spacingX = s.spacingX;
    app_.layout.spacingY = s.spacingY;
    app_.layout.borderTop = s.borderTop;
    app_.layout.borderLeft = s.borderLeft;
    preview_->Lay(f, panels::PanelColor(back_));
  }

  void OnCommand(int id, int code) {
    if (quiet_) return;
    const int field = id - kDefFieldBase;
    if (field >= 0 && field < static_cast<int>(fields_.size())) {
      const size_t i = static_cast<size_t>(field);
      if (IsTextField(i) && code == EN_CHANGE) {
        changed_ = true;
        if (i == kTopField || i == kLeftField) {
          UpdateTips();
          return;
        }
        Imposta();
        SetFocus(fields_[i]);
      } else if (i == kOnTopField && code == BN_CLICKED) {
        changed_ = true;
      }
      return;
    }
    if (code != BN_CLICKED) return;
    switch (id) {
      case kDefBackColor: {
        const int32_t chosen = ChooseColorDlg(back_, hwnd_, false);
        if (chosen == -1) return;
        if (chosen != back_) changed_ = true;
        back_ = chosen;
        InvalidateRect(picBack_, nullptr, FALSE);
        Imposta();
        return;
      }
      case kDefGetPosition: {
        RECT r{};
        if (!PreviewOpen() || !GetWindowRect(preview_->Hwnd(), &r)) return;
        win::SetText(fields_[kTopField], DecimalText(win::PixelsToTwipsY(r.top)));
        win::SetText(fields_[kLeftField], DecimalText(win::PixelsToTwipsX(r.left)));
        return;
      }
      case kDefUpdate:
        cmdUpdate_Click();
        return;
      case kDefSave:
        if (SaveAssistantParams()) done_ = true;
        return;
      case kDefCancel:
        Form_QueryUnload();
        return;
      default:
        return;
    }
  }

  void cmdUpdate_Click() {
    if (win::GetText(update_) != "Hide") {
      preview_ = std::make_unique<PreviewWindow>(*this, file_, app_.folders.macro, name_);
      if (!preview_->Create(hwnd_)) return;
      Imposta();
      SetTimer(hwnd_, kTimer1, 1000, nullptr);
      return;
    }
    PreviewClosed();
  }

  // The toggle back to "Panel Preview", once the preview has gone.
  void PreviewClosed() {
    KillTimer(hwnd_, kTimer1);
    preview_.reset();
    win::SetText(update_, "Panel Preview");
    EnableWindow(getPosition_, FALSE);
  }

  void Timer1_Timer() {
    if (PreviewOpen()) {
      if (win::GetText(update_) != "Hide") win::SetText(update_, "Hide");
      EnableWindow(getPosition_, TRUE);
      return;
    }
    PreviewClosed();
  }

  // All seventeen keys in one write; false (the editor stays open) when the
  // file cannot be written.
  bool SaveAssistantParams() {
    profile::Batch batch;
    AddSetupWrites(batch, Fields());
    if (!batch.Commit(file_)) {
      win::Message(hwnd_, "Cannot write " + file_ + ": the panel was not saved.", kDefCaption,
                   MB_OK | MB_ICONEXCLAMATION);
      return false;
    }
    changed_ = false;
    return true;
  }

  void Form_QueryUnload() {
    if (changed_) {
      const int answer =
          win::Message(hwnd_, "Save changes ?", kDefCaption, MB_YESNOCANCEL | MB_ICONQUESTION);
      if (answer == IDCANCEL) return;
      if (answer == IDYES && !SaveAssistantParams()) return;
    }
    done_ = true;
  }

  App& app_;
  std::string name_, file_;
  std::array<HWND, 17> fields_{};
  HWND picBack_ = nullptr, update_ = nullptr, getPosition_ = nullptr, tooltip_ = nullptr;
  int32_t back_ = panels::kButtonFace;
  std::unique_ptr<PreviewWindow> preview_;
  bool changed_ = false, quiet_ = false, done_ = false;
};

LRESULT CALLBACK BackColorProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  if (msg == WM_RBUTTONUP) reinterpret_cast<DefWindow*>(data)->BackColorRightUp();
  return DefSubclassProc(w, msg, wp, lp);
}

}  // namespace

void OpenLayoutEditor(HWND owner, const std::string& panelName) {
  App& app = TheApp();
  app.currentPanel = panelName;
  DefWindow editor(app, panelName);
  editor.Run(owner);
}

}  // namespace qv::editor
