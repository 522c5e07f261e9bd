// Synthetic keyboard and mouse input behind a small interface, so that tests
// can watch what a primitive pressed, and two guards that undo input on every
// path out of a primitive. Win32 only.
#pragma once

#include <windows.h>

namespace qv::ivac {

class Input {
 public:
  virtual ~Input() = default;
  virtual void KeyDown(BYTE vk) = 0;
  virtual void KeyUp(BYTE vk) = 0;
  // A press and release of the right, or of the left, mouse button where the
  // pointer is.
  virtual void RightClick() = 0;
  virtual void LeftClick() = 0;
  virtual bool GetCursor(POINT& at) = 0;
  virtual void SetCursor(int x, int y) = 0;
};

// keybd_event, mouse_event, GetCursorPos and SetCursorPos.
class SystemInput : public Input {
 public:
  void KeyDown(BYTE vk) override;
  void KeyUp(BYTE vk) override;
  void RightClick() override;
  void LeftClick() override;
  bool GetCursor(POINT& at) override;
  void SetCursor(int x, int y) override;
};

// Holds Shift down from Press() until Release() or the end of the scope.
class ShiftHold {
 public:
  explicit ShiftHold(Input& input) : input_(input) {}
  ~ShiftHold() { Release(); }
  ShiftHold(const ShiftHold&) = delete;
  ShiftHold& operator=(const ShiftHold&) = delete;
  void Press() {
    input_.KeyDown(VK_SHIFT);
    down_ = true;
  }
  void Release() {
    if (down_) input_.KeyUp(VK_SHIFT);
    down_ = false;
  }

 private:
  Input& input_;
  bool down_ = false;
};

// Remembers the pointer position and puts the pointer back at the end of the
// scope.
class CursorRestore {
 public:
  explicit CursorRestore(Input& input) : input_(input) { saved_ = input_.GetCursor(at_); }
  ~CursorRestore() {
    if (saved_) input_.SetCursor(at_.x, at_.y);
  }
  CursorRestore(const CursorRestore&) = delete;
  CursorRestore& operator=(const CursorRestore&) = delete;

 private:
  Input& input_;
  POINT at_{};
  bool saved_ = false;
};

}  // namespace qv::ivac
