#include "editor/frm_display.h"

#include "editor/dialogs.h"
#include "editor/frm_edit_button.h"
#include "editor/setup_fields.h"
#include "panels/panel_profile.h"
#include "panels/win32/cmenu.h"
#include "platform/win32/dpi.h"

namespace qv::editor {

using panels::GridMode;

namespace {

constexpr UINT_PTR kTimeOutTimer = 1;
constexpr int kControlRow = 26;  // pixels at 96 dpi

}  // namespace

PreviewWindow::PreviewWindow(Host& host, std::string file, std::string macroFolder,
                             std::string panelName)
    : host_(host),
      file_(std::move(file)),
      macroFolder_(std::move(macroFolder)),
      panelName_(std::move(panelName)) {}

PreviewWindow::~PreviewWindow() { Close(); }

bool PreviewWindow::Create(HWND owner) {
  CreateBound(kDisplayClass, WS_EX_TOOLWINDOW, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
              "Panel Preview", 0, 0, 200, 100, owner, CS_DBLCLKS, GetSysColorBrush(COLOR_BTNFACE));
  if (!hwnd_) return false;
  onTop_ = win::CreateCheckBox(hwnd_, kDisplayOnTop, "WinOnTop");
  autoHide_ = win::CreateCheckBox(hwnd_, kDisplayAutoHide, "AutoHide Controlbox");
  exit_ = win::CreateButton(hwnd_, kDisplayExit, "X");
  info_ = win::CreateLabel(hwnd_, kDisplayInfo, "", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS);
  tips_ = win::CreateTooltip(hwnd_);
  win::AddTool(tips_, onTop_, "Set this Window always on foreground");
  win::AddTool(tips_, autoHide_, "Enable AutoHide controlbox function");
  if (!grid_.Create(hwnd_)) return false;
  grid_.onClick = [this](int index) { cmdCommand_Click(index); };
  grid_.onRightUp = [this](int index, bool) { cmdCommand_MouseUp(index); };
  grid_.onDrop = [this](int from, int to) { Drop(from, to); };
  grid_.onBackgroundDoubleClick = [this] { ShowControls(true); };
  grid_.onBackgroundDown = [this] {
    ReleaseCapture();
    SendMessageA(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  };
  SetTimer(hwnd_, kTimeOutTimer, 500, nullptr);
  return true;
}

void PreviewWindow::Close() {
  if (tips_) DestroyWindow(tips_);
  tips_ = nullptr;
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

void PreviewWindow::ShowStatus(const std::string& text) { win::SetText(info_, text); }

void PreviewWindow::Lay(const panels::SetupFields& fields, COLORREF back) {
  ShowWindow(hwnd_, SW_HIDE);
  // The grid as any reader sees these texts: a Rows of 1000 is 2, a Cols
  // of 0 an empty grid.
  setup_ = SetupFromFields(fields);
  const bool onTop = fields[7] == "1";
  const bool autoHide = fields[8] == "1";
  SendMessageA(onTop_, BM_SETCHECK, onTop ? BST_CHECKED : BST_UNCHECKED, 0);
  SendMessageA(autoHide_, BM_SETCHECK, autoHide ? BST_CHECKED : BST_UNCHECKED, 0);
  win::SetText(hwnd_, "Panel Preview - " + panelName_ + " - " + fields[0]);
  grid_.SetBackColor(back);

  const int widthTw = std::max(panels::GridWidth(setup_), 0);
  const int heightTw = std::max(panels::GridHeight(setup_), 0);
  gridPx_ = SIZE{win::TwipsToPixelsX(widthTw), win::TwipsToPixelsY(heightTw)};
  grid_.SetButtons(panels::LayOutGrid(panels::SnapshotReader(file_), setup_, GridMode::kPreview));

  const int top = win::TwipsToPixelsY(panels::ReadInt(fields[5]));
  const int left = win::TwipsToPixelsX(panels::ReadInt(fields[6]));
  PlaceGrid();
  SetWindowPos(hwnd_, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, left, top, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE);
  if (!autoHide) ShowControls(true);
  ShowWindow(hwnd_, SW_SHOWNA);
}

// The control row above the grid while it shows; the window fits both.
void PreviewWindow::PlaceGrid() {
  const int row = controlsShown_ ? Dip(kControlRow) : 0;
  for (HWND w : {onTop_, autoHide_, exit_, info_})
    ShowWindow(w, controlsShown_ ? SW_SHOW : SW_HIDE);
  MoveWindow(exit_, Dip(2), Dip(2), Dip(22), Dip(22), TRUE);
  MoveWindow(onTop_, Dip(28), Dip(4), Dip(80), Dip(18), TRUE);
  MoveWindow(autoHide_, Dip(110), Dip(4), Dip(140), Dip(18), TRUE);
  const int infoWidth = std::max<int>(gridPx_.cx - Dip(256), Dip(40));
  MoveWindow(info_, Dip(254), Dip(6), infoWidth, Dip(16), TRUE);
  MoveWindow(grid_.Hwnd(), 0, row, gridPx_.cx, gridPx_.cy, TRUE);
  RECT r{0, 0, std::max<LONG>(gridPx_.cx, Dip(260)), gridPx_.cy + row};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)));
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PreviewWindow::ShowControls(bool show) {
  if (show == controlsShown_) return;
  controlsShown_ = show;
  PlaceGrid();
}

void PreviewWindow::tmrTimeOut_Timer() {
  if (SendMessageA(autoHide_, BM_GETCHECK, 0, 0) != BST_CHECKED) return;
  POINT p{};
  GetCursorPos(&p);
  HWND under = WindowFromPoint(p);
  const bool over = under == hwnd_ || (under && IsChild(hwnd_, under));
  if (over) {
    pointerLeft_ = 0;
    ShowControls(true);
  } else if (controlsShown_) {
    if (!pointerLeft_) pointerLeft_ = GetTickCount64();
    if (GetTickCount64() - pointerLeft_ >= 1000) ShowControls(false);
  }
}

void PreviewWindow::cmdCommand_Click(int index) {
  if (!EditButton(hwnd_, file_, macroFolder_, index)) return;
  if (panels::GridButton* b = grid_.Button(index)) {
    const RECT old = b->rect;
    panels::ReloadLook(*b, panels::ProfileReader(file_), index, false, setup_, GridMode::kPreview);
    InvalidateRect(grid_.Hwnd(), &old, FALSE);
    grid_.Invalidate(index);
  }
  ShowStatus("Button " + std::to_string(index) + " saved.");
}

void PreviewWindow::cmdCommand_MouseUp(int index) {
  const panels::SetupFields fields = host_.Fields();
  const panels::PanelSetup setup = SetupFromFields(fields);
  const int32_t rows = setup.rows, cols = setup.cols;
  panels::CMenu menu;
  auto item = [&](GridCommand c) {
    menu.AddItem(static_cast<int32_t>(c), MenuCaption(c, index, cols), false, false, false,
                 IsGrayed(c, index, rows, cols, !copy_.empty()));
  };
  auto bar = [&] { menu.AddItem(0, "-"); };
  item(GridCommand::kSwapPrevious);
  item(GridCommand::kSwapNext);
  bar();
  item(GridCommand::kSwapUp);
  item(GridCommand::kSwapBelow);
  bar();
  item(GridCommand::kInsertRowBefore);
  item(GridCommand::kInsertRowAfter);
  bar();
  item(GridCommand::kRemoveRow);
  bar();
  item(GridCommand::kInsertColumnBefore);
  item(GridCommand::kInsertColumnAfter);
  bar();
  item(GridCommand::kRemoveColumn);
  bar();
  item(GridCommand::kCopy);
  item(GridCommand::kPaste);
  bar();
  menu.AddItem(kMenuUndo, "Undo last grid change", false, false, false, !undo_.Available());
  const int32_t chosen = menu.TrackPopup(grid_.Hwnd(), -1, -1);
  if (chosen == 0) return;
  if (chosen == kMenuUndo) {
    Undo();
    return;
  }
  Run(static_cast<GridCommand>(chosen), index);
}

void PreviewWindow::Run(GridCommand command, int index) {
  const panels::SetupFields fields = host_.Fields();
  const int32_t cols = SetupFromFields(fields).cols;
  if (command == GridCommand::kCopy) {
    if (!CopyButton(file_, index, copy_))
      ShowStatus("Cannot read " + file_ + ": nothing was copied.");
    else
      ShowStatus("Button " + std::to_string(index) + " copied.");
    return;
  }
  if (command == GridCommand::kRemoveRow || command == GridCommand::kRemoveColumn) {
    const bool row = command == GridCommand::kRemoveRow;
    const std::string text =
        std::string("Undo not available. Confirm remove ") + (row ? "ROW" : "COLUMN") + " nr. " +
        std::to_string(row ? MenuRow(index, cols) : MenuColumn(index, cols)) + " ?";
    if (win::Message(hwnd_, text, "Quorvex", MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2) != IDYES)
      return;
  }
  if (!undo_.Before(file_)) {
    ShowStatus("Cannot read " + file_ + ": the panel file is unchanged.");
    return;
  }
  const GridResult r = command == GridCommand::kPaste
                           ? PasteButton(file_, index, copy_, fields)
                           : ApplyGridCommand(file_, command, index, fields);
  Finish(r, MenuCaption(command, index, cols) + ": done.");
}

void PreviewWindow::Drop(int from, int to) {
  if (!undo_.Before(file_)) {
    ShowStatus("Cannot read " + file_ + ": the panel file is unchanged.");
    return;
  }
  Finish(SwapButtons(file_, from, to, host_.Fields()),
         "Buttons " + std::to_string(from) + " and " + std::to_string(to) + " swapped.");
}

void PreviewWindow::Finish(const GridResult& r, const std::string& done) {
  if (!r.ok) {
    undo_.Clear();
    ShowStatus(r.error);
    win::Message(hwnd_, r.error, "Quorvex", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  undo_.After(file_);
  host_.GridSaved(r.fields);  // rebuilds the preview from the file
  ShowStatus(done);
}

void PreviewWindow::Undo() {
  std::string error;
  if (!undo_.Restore(file_, error)) {
    ShowStatus(error);
    win::Message(hwnd_, error, "Quorvex", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  host_.FileRestored();
  ShowStatus("Last grid change undone.");
}

LRESULT PreviewWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == kDisplayExit && HIWORD(wp) == BN_CLICKED) {
        Close();
        return 0;
      }
      if (LOWORD(wp) == kDisplayOnTop && HIWORD(wp) == BN_CLICKED) {
        const bool on = SendMessageA(onTop_, BM_GETCHECK, 0, 0) == BST_CHECKED;
        SetWindowPos(hwnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return 0;
      }
      break;
    case WM_TIMER:
      if (wp == kTimeOutTimer) tmrTimeOut_Timer();
      return 0;
    case WM_LBUTTONDOWN:
      ReleaseCapture();
      SendMessageA(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

}  // namespace qv::editor
