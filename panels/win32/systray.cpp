#include "panels/win32/systray.h"

#include <shellapi.h>

#include <cwchar>

namespace qv::panels {

using win::Narrow;
using win::Wide;

namespace {

constexpr UINT kNinBalloonShow = WM_USER + 2;     // 1026
constexpr UINT kNinBalloonHide = WM_USER + 3;     // 1027
constexpr UINT kNinBalloonTimeout = WM_USER + 4;  // 1028
constexpr UINT kNinBalloonClick = WM_USER + 5;    // 1029

// Copies text into a fixed field, cut so that a NUL ends it inside the field.
template <size_t N>
void CopyField(wchar_t (&field)[N], const std::string& text) {
  const std::wstring w = Wide(text);
  const size_t n = w.size() < N - 1 ? w.size() : N - 1;
  std::wmemcpy(field, w.data(), n);
  field[n] = L'\0';
}

std::string FileDescription() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  if (!size) return "Quorvex";
  std::string block(size, '\0');
  if (!GetFileVersionInfoA(path, 0, size, block.data())) return "Quorvex";
  char* text = nullptr;
  UINT len = 0;
  if (VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\FileDescription",
                     reinterpret_cast<void**>(&text), &len) &&
      len > 0)
    return std::string(text);
  return "Quorvex";
}

}  // namespace

SysTray::SysTray() {
  CreateBound("QuorvexSysTray", WS_EX_TOOLWINDOW, WS_POPUP, "frmSysTray", 0, 0, 0, 0, nullptr);
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
  HICON icon = win::SmallIcon();
  if (!icon) icon = LoadIcon(nullptr, IDI_APPLICATION);
  data_.cbSize = sizeof(NOTIFYICONDATAW);
  data_.hWnd = hwnd_;
  data_.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(icon));
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = kCallbackMessage;
  data_.hIcon = icon;
  CopyField(data_.szTip, FileDescription());
  Shell_NotifyIconW(NIM_ADD, &data_);
  data_.uVersion = NOTIFYICON_VERSION;
  Shell_NotifyIconW(NIM_SETVERSION, &data_);
  items_.push_back(Item{});
}

SysTray::~SysTray() {
  data_.uFlags = 0;
  Shell_NotifyIconW(NIM_DELETE, &data_);
  if (hwnd_) DestroyWindow(hwnd_);
}

void SysTray::Notify(DWORD message) { Shell_NotifyIconW(message, &data_); }

int SysTray::AddMenuItem(const std::string& caption, const std::string& key, bool isDefault) {
  int index;
  if (!firstItemUsed_) {
    firstItemUsed_ = true;
    index = 0;
  } else {
    items_.push_back(Item{});
    index = static_cast<int>(items_.size()) - 1;
  }
  items_[static_cast<size_t>(index)] = Item{caption, key, true};
  if (isDefault) defaultIndex_ = index;
  return index;
}

void SysTray::EnableMenuItem(int index, bool enabled) {
  if (index >= 0 && index < MenuCount()) items_[static_cast<size_t>(index)].enabled = enabled;
}

void SysTray::SetMenuCaption(int index, const std::string& caption) {
  if (index >= 0 && index < MenuCount()) items_[static_cast<size_t>(index)].caption = caption;
}

void SysTray::RemoveMenuItem(int index) {
  if (index < 0 || index >= MenuCount()) return;
  if (index == 0) {
    items_[0].caption.clear();
    return;
  }
  for (size_t i = static_cast<size_t>(index); i + 1 < items_.size(); ++i) {
    items_[i].caption = items_[i + 1].caption;
    items_[i].key = items_[i + 1].key;
  }
  items_.pop_back();
}

void SysTray::SetDefaultMenuIndex(int index) {
  defaultIndex_ = (index >= 0 && index < MenuCount()) ? index : 0;
}

void SysTray::ShowMenu() {
  win::Menu menu(CreatePopupMenu());
  for (size_t i = 0; i < items_.size(); ++i) {
    const Item& it = items_[i];
    if (it.caption == "-") {
      AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (it.enabled ? MF_ENABLED : MF_GRAYED);
    AppendMenuA(menu.Get(), flags, i + 1, it.caption.c_str());
  }
  if (defaultIndex_ >= 0) SetMenuDefaultItem(menu.Get(), static_cast<UINT>(defaultIndex_), TRUE);
  SetForegroundWindow(hwnd_);
  POINT pt{};
  GetCursorPos(&pt);
  const UINT chosen =
      TrackPopupMenu(menu.Get(), TPM_RIGHTBUTTON | TPM_RETURNCMD, pt.x, pt.y, 0, hwnd_, nullptr);
  // Lets the menu close properly when the user clicks elsewhere.
  PostMessageA(hwnd_, WM_NULL, 0, 0);
  if (chosen >= 1 && chosen <= items_.size() && MenuClick) {
    const int index = static_cast<int>(chosen) - 1;
    MenuClick(index, items_[static_cast<size_t>(index)].key);
  }
}

std::string SysTray::ToolTip() const { return Narrow(data_.szTip); }
std::string SysTray::BalloonText() const { return Narrow(data_.szInfo); }

void SysTray::SetToolTip(const std::string& text) {
  CopyField(data_.szTip, text);
  data_.uFlags = NIF_TIP;
  Notify(NIM_MODIFY);
}

void SysTray::SetIconHandle(HICON icon) {
  if (icon == data_.hIcon) return;
  data_.hIcon = icon;
  data_.uFlags = NIF_ICON;
  Notify(NIM_MODIFY);
}

void SysTray::ShowBalloonTip(const std::string& text, const std::string& title, DWORD iconFlags,
                             UINT timeoutMs) {
  CopyField(data_.szInfo, text);
  CopyField(data_.szInfoTitle, title);
  data_.uTimeout = timeoutMs;
  data_.dwInfoFlags = iconFlags;
  data_.uFlags = NIF_INFO;
  Notify(NIM_MODIFY);
}

void SysTray::OnNotification(UINT code) {
  switch (code) {
    case WM_LBUTTONUP:
      if (SysTrayMouseDown) SysTrayMouseDown(1);
      break;
    case WM_RBUTTONDOWN:
      if (SysTrayMouseDown) SysTrayMouseDown(2);
      break;
    case WM_RBUTTONUP:
      if (SysTrayMouseUp) SysTrayMouseUp(2);
      break;
    case WM_MOUSEMOVE:
      if (SysTrayMouseMove) SysTrayMouseMove();
      break;
    case WM_LBUTTONDBLCLK:
      if (SysTrayDoubleClick) SysTrayDoubleClick(1);
      break;
    case WM_RBUTTONDBLCLK:
      if (SysTrayDoubleClick) SysTrayDoubleClick(2);
      break;
    case kNinBalloonShow:
      if (BalloonShow) BalloonShow();
      break;
    case kNinBalloonHide:
      if (BalloonHide) BalloonHide();
      break;
    case kNinBalloonTimeout:
      if (BalloonTimeOut) BalloonTimeOut();
      break;
    case kNinBalloonClick:
      if (BalloonClicked) BalloonClicked();
      break;
    default:
      break;
  }
}

LRESULT SysTray::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kCallbackMessage) {
    OnNotification(LOWORD(lp));
    return 0;
  }
  if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
    // The shell restarted: put the icon back.
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    Notify(NIM_ADD);
    return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace qv::panels
