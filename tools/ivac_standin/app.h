// The IvAc stand-in: one process, one user-interface thread, and this object
// at its centre. It owns the state (model.h), the event log, and the handles
// of every window; the window procedures in the other files call its effect
// methods, each of which changes the state, updates the windows and logs one
// event.
#pragma once

#include "tools/ivac_standin/event_log.h"
#include "tools/ivac_standin/model.h"
#include "tools/ivac_standin/win_util.h"

#include <windows.h>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::standin {

// What IvAc knows about one traffic label beyond its callsign.
struct LabelInfo {
  std::string level, speed, fix;  // cleared values, "" for none
  std::string handed_to;          // station of the last hand-over
  bool assumed = false;
  bool active = false;  // forced activation
  bool fpl_requested = false;
};

struct OccupiedArea {
  std::string name;
  POINT screen{};  // the point marked on the map, screen pixels
};

enum class SubWindow { kNone, kLevel, kSpeed, kFix, kAtc };

struct Palette {
  COLORREF background, rings, text, label, selected, layer, area;
};

class App {
 public:
  static App& Get();

  // Creates the windows for `state` and logs "ready". False when the main
  // window cannot be made.
  bool Start(HINSTANCE instance, const State& state, const std::string& log_path,
             const std::vector<std::string>& config_errors);
  int Run();  // the message loop; returns the exit code

  // --- shared with the window files ---
  void Log(std::string_view event, const std::vector<Field>& fields = {});
  const State& state() const { return state_; }
  HINSTANCE instance() const { return instance_; }
  HFONT ui_font() const { return ui_font_.font(); }
  HFONT map_font() const { return map_font_.font(); }
  HFONT label_font() const { return label_font_.font(); }
  const Palette& palette() const;
  const std::map<std::string, LabelInfo>& labels() const { return labels_; }
  const std::vector<OccupiedArea>& areas() const { return areas_; }
  std::optional<POINT> marked_point() const { return marked_; }
  const std::string& zoom() const { return zoom_; }
  const std::string& centre() const { return centre_; }
  bool ButtonPressed(std::string_view code) const;
  HWND main() const { return main_; }
  HWND radar() const { return radar_; }
  HWND commbox() const { return commbox_; }

  // Registers a modeless dialog for keyboard navigation, and forgets it.
  void AddDialog(HWND dialog);
  void RemoveDialog(HWND dialog);

  // --- the control channel (WM_COPYDATA, --send) ---
  // Applies settings text to the running stand-in; false when any line failed.
  bool Control(std::string_view text);

  // --- effects ---
  void SelectLabel(const std::string& callsign, std::string_view by);
  void OnToolbarClicked(int index);
  void OnPostedKillFocus(HWND hwnd);
  void OnMenuCommand(int id);
  // True when the key is one of IvAc's hot keys; a repeated key-down does nothing.
  bool OnHotKey(UINT vk, bool repeated = false);
  void OnMapRightClick(POINT screen);
  void OnMapLeftClick(POINT screen, const std::string& label_hit);
  void OnTabChanged();  // after anything that may have changed the COMMBox tab
  void OnCommBoxEnter();
  void OnMainMovedOrSized();

  // Selection dialogs (dialogs.cpp reports here).
  void OnSelectionConfirmed(const std::string& code, const std::vector<std::string>& items);
  // Cancel in any of the confirmable dialogs: logged under its code, gone.
  void OnDialogCancelled(HWND dialog, const std::string& code);
  void OnSelectionButton(const std::string& code, std::string_view button);
  void OnSelectionClosed(const std::string& code);

  // Sub-windows: a value chosen or typed and confirmed, or CLEAR.
  void OnSubWindowValue(SubWindow kind, std::string_view via, const std::string& value);
  void OnSubWindowClear(SubWindow kind);
  void OnSubWindowAll();
  void OnSubWindowClosed(HWND hwnd, std::string_view reason);
  SubWindow sub_kind() const { return sub_kind_; }
  const std::string& sub_callsign() const { return sub_callsign_; }

  void OnColourSchemeConfirmed(const std::string& name);
  void OnColourSchemeClosed();
  bool OnOccupiedAreaConfirmed(const std::string& name);
  void OnOccupiedAreaClosed();

  void OnCommBoxClosed();
  void OnInOutClosed();
  void OnMainDestroyed();

  // Shift while a toolbar button's click is handled (see input_hook.cpp).
  bool ShiftDown() const;
  void SetHookShift(bool down) { hook_shift_ = down; }

 private:
  App() = default;

  void CreateFonts();
  void Reconcile(const State& before);
  void RefreshStatus();
  void UpdateConnectButton();
  void SetButtonCheck(int index, bool pressed);
  int ButtonIndex(std::string_view code) const;

  void OpenCommBox();
  void OpenInOut();
  void OpenSelection(const SelectionKind& kind);
  void OpenSubWindow(SubWindow kind);
  void CloseSubWindow();
  void LabelAction(int id);
  void Transfer();
  void ResetCentre();
  void AddToInOut(const std::string& callsign);
  void ApplyDotCommand(const std::string& text);
  void TakePendingMapInput();

  HINSTANCE instance_ = nullptr;
  State state_;
  EventLog log_;
  std::string last_line_;

  std::map<std::string, LabelInfo> labels_;
  std::vector<OccupiedArea> areas_;
  std::optional<POINT> marked_;
  bool right_clicked_ = false;  // the next left click closes the context click
  std::string zoom_ = "100";
  std::string centre_ = "EDDF";
  std::vector<std::vector<std::string>> history_;  // chat per COMMBox tab

  HWND main_ = nullptr, rebar_ = nullptr, toolbar_ = nullptr, radar_ = nullptr;
  HWND status_ = nullptr, commbox_ = nullptr, inout_ = nullptr;
  std::array<HWND, kToolbarCount> buttons_{};
  std::map<std::string, HWND> selections_;  // open selection dialogs by code
  HWND sub_ = nullptr;
  SubWindow sub_kind_ = SubWindow::kNone;
  std::string sub_callsign_;
  HWND scheme_dialog_ = nullptr, area_dialog_ = nullptr;
  std::vector<HWND> dialogs_;
  int current_tab_ = 1;
  bool started_ = false;
  Rect last_main_{};
  std::string last_main_state_;

  bool hook_ = false, hook_shift_ = false;
  GdiObject ui_font_, map_font_, label_font_;
};

// Window files: each makes its windows and reports to App.
HWND CreateMainWindow(App& app);  // main window, menu, band, map, status bar
// The toolbar dialog inside the band; button i has the control ID kFirstButtonId + i.
inline constexpr int kFirstButtonId = 2000;
// Posted to the main window by the "hang" setting: the window thread sleeps.
inline constexpr UINT kHangMessage = WM_APP + 77;
HWND CreateToolbar(App& app, HWND rebar, int width);
HWND CreateRadar(App& app, HWND parent);
POINT LabelScreenPoint(HWND radar, const State& state, const std::string& callsign);
HWND CreateCommBox(App& app, int x, int y);
void SetCommBoxTabs(HWND commbox, const std::vector<std::string>& names);
void ShowCommBoxHistory(HWND commbox, const std::vector<std::string>& lines);
HWND CreateInOut(App& app, int x, int y);
void FillInOut(HWND inout, const State& state);
HWND CreateSelectionDialog(App& app, const SelectionKind& kind);
HWND CreateSubWindow(App& app, SubWindow kind, const std::string& callsign);
HWND CreateColourSchemeDialog(App& app);
HWND CreateOccupiedAreaDialog(App& app, POINT at);
bool InstallShiftHook();
void RemoveShiftHook();

}  // namespace qv::standin
