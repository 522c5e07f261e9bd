// Owners of Win32 handles: each releases its handle however the scope is
// left, so an early return cannot leak a font, a brush or a menu.
#pragma once

#include <windows.h>

#include <utility>

namespace qv::win {

template <typename H, typename Traits>
class Unique {
 public:
  Unique() = default;
  explicit Unique(H h) : h_(h) {}
  ~Unique() { Reset(); }
  Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, Traits::Null())) {}
  Unique& operator=(Unique&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = std::exchange(o.h_, Traits::Null());
    }
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;

  H Get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::Null(); }
  void Reset(H h = Traits::Null()) {
    if (h_ != Traits::Null()) Traits::Close(h_);
    h_ = h;
  }
  H Release() { return std::exchange(h_, Traits::Null()); }

 private:
  H h_ = Traits::Null();
};

struct GdiTraits {
  static HGDIOBJ Null() { return nullptr; }
  static void Close(HGDIOBJ h) { DeleteObject(h); }
};
template <typename T>
struct GdiTraitsOf {
  static T Null() { return nullptr; }
  static void Close(T h) { DeleteObject(h); }
};
struct MenuTraits {
  static HMENU Null() { return nullptr; }
  static void Close(HMENU h) { DestroyMenu(h); }
};
struct IconTraits {
  static HICON Null() { return nullptr; }
  static void Close(HICON h) { DestroyIcon(h); }
};
struct HandleTraits {
  static HANDLE Null() { return nullptr; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct WindowTraits {
  static HWND Null() { return nullptr; }
  static void Close(HWND h) {
    if (IsWindow(h)) DestroyWindow(h);
  }
};

using Font = Unique<HFONT, GdiTraitsOf<HFONT>>;
using Brush = Unique<HBRUSH, GdiTraitsOf<HBRUSH>>;
using Bitmap = Unique<HBITMAP, GdiTraitsOf<HBITMAP>>;
using Menu = Unique<HMENU, MenuTraits>;
using Icon = Unique<HICON, IconTraits>;
using Handle = Unique<HANDLE, HandleTraits>;
using Window = Unique<HWND, WindowTraits>;

// A device context of a window, released at the end of the scope.
class WindowDC {
 public:
  explicit WindowDC(HWND w) : w_(w), dc_(GetDC(w)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(w_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND w_;
  HDC dc_;
};

// Selects an object into a DC for the scope.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~Selected() {
    if (old_) SelectObject(dc_, old_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace qv::win
