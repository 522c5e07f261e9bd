// frmDisplay: the layout editor's live preview. It lays the panel out with
// the running panel's own grid code, shows hidden buttons too, and makes
// every button an editing handle: a left click opens the button editor, a
// right click the grid menu (swap, insert and remove rows and columns, copy,
// paste, undo), and dragging a button onto another swaps the two.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "editor/grid_ops.h"
#include "panels/panel_file.h"
#include "panels/win32/grid_view.h"
#include "platform/win32/ui.h"

namespace qv::editor {

inline constexpr const char* kDisplayClass = "QuorvexPreview";
// The menu's undo item, beyond the grid commands.
inline constexpr int32_t kMenuUndo = 30;
// Control IDs of the control row.
enum DisplayId : int {
  kDisplayOnTop = 3001,
  kDisplayAutoHide = 3002,
  kDisplayExit = 3003,
  kDisplayInfo = 3004
};

class PreviewWindow : public win::WindowBase {
 public:
  // What the preview needs of the layout editor.
  struct Host {
    virtual ~Host() = default;
    virtual panels::SetupFields Fields() const = 0;
    // A grid operation saved Setup with these texts (a new Rows or Cols).
    virtual void GridSaved(const panels::SetupFields& fields) = 0;
    // Undo put the file back: Setup must be read again.
    virtual void FileRestored() = 0;
  };

  PreviewWindow(Host& host, std::string file, std::string macroFolder, std::string panelName);
  ~PreviewWindow() override;
  bool Create(HWND owner);

  // Imposta's part in the preview: lays the grid out from the fields and
  // shows the window at the fields' position.
  void Lay(const panels::SetupFields& fields, COLORREF back);
  bool IsOpen() const { return hwnd_ && IsWindow(hwnd_); }
  void Close();
  panels::GridView& Grid() { return grid_; }
  void ShowStatus(const std::string& text);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void cmdCommand_Click(int index);
  void cmdCommand_MouseUp(int index);
  void Run(GridCommand command, int index);
  void Drop(int from, int to);
  void Finish(const GridResult& r, const std::string& done);
  void Undo();
  void tmrTimeOut_Timer();
  void ShowControls(bool show);
  void PlaceGrid();

  Host& host_;
  std::string file_, macroFolder_, panelName_;
  panels::GridView grid_;
  HWND onTop_ = nullptr, autoHide_ = nullptr, exit_ = nullptr, info_ = nullptr, tips_ = nullptr;
  panels::PanelSetup setup_;
  SIZE gridPx_{};
  std::string copy_;  // the copy buffer: one button section's entries
  GridUndo undo_;
  bool controlsShown_ = true;
  ULONGLONG pointerLeft_ = 0;
};

}  // namespace qv::editor
