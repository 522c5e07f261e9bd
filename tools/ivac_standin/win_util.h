// Small Win32 helpers of the stand-in: handle owners, window text, list-box
// texts and the one place where 96-dpi sizes become pixels.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/ui.h"

namespace qv::standin {

// Owns one GDI object (font, brush, pen) and deletes it.
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(HGDIOBJ h) : h_(h) {}
  ~GdiObject() { Reset(); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& o) noexcept : h_(o.h_) { o.h_ = nullptr; }
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = o.h_;
      o.h_ = nullptr;
    }
    return *this;
  }
  void Reset(HGDIOBJ h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  HGDIOBJ get() const { return h_; }
  HFONT font() const { return static_cast<HFONT>(h_); }
  HBRUSH brush() const { return static_cast<HBRUSH>(h_); }
  HPEN pen() const { return static_cast<HPEN>(h_); }

 private:
  HGDIOBJ h_ = nullptr;
};

// Selects an object into a DC for one scope.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Owns a kernel handle (process, thread, file).
class KernelHandle {
 public:
  KernelHandle() = default;
  explicit KernelHandle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  ~KernelHandle() { Reset(); }
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;
  KernelHandle(KernelHandle&& o) noexcept : h_(o.h_) { o.h_ = nullptr; }
  KernelHandle& operator=(KernelHandle&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = o.h_;
      o.h_ = nullptr;
    }
    return *this;
  }
  void Reset(HANDLE h = nullptr) {
    if (h_) CloseHandle(h_);
    h_ = h;
  }
  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  HANDLE h_ = nullptr;
};

std::string WindowText(HWND hwnd);
std::string ClassName(HWND hwnd);
void SetText(HWND hwnd, std::string_view text);

// List-box helpers for the stand-in's own list boxes.
using win::FillListBox;
std::string ListBoxText(HWND list, int index);

// 96-dpi pixels to the screen's pixels.
int Scale(int pixels96);

// A window's rectangle in screen pixels.
RECT ScreenRect(HWND hwnd);

}  // namespace qv::standin
