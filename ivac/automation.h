// The interpreter's view of IvAc: one call per automation primitive that a
// script command uses. The Windows build implements it with window messages
// and synthetic input against IvAc's windows; host tests use a recording fake.
//
// Every primitive returns its one-line status text and never throws; an empty
// text means there was nothing to report. Primitives may let pending window
// events run while they wait (DoEvents), so a click can arrive in the middle
// of a script run; the interpreter guards against that, not this interface.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv::ivac {

// The six traffic-label actions that post one IvAc menu command.
enum class LabelAction {
  kAddToIo,     // ADD_TO_IO
  kForceAct,    // FORCE_ACT
  kAssume,      // ASSUME_LABEL
  kRelease,     // RELEASE_LABEL
  kRequestFpl,  // REQ_FPL
  kShowFpl,     // SHOW_FPL
};

// The three clearance sub-windows.
enum class Clearance {
  kFlightLevel,  // CLEARED_TO_FL
  kFix,          // CLEARED_TO_FIX
  kSpeed,        // CLEARED_TO_SPEED
};

// The text every caller shows when GetHandles found no IvAc main window.
inline constexpr std::string_view kIvacNotFound =
    "unable to find IvAc Window - check if IvAc is running";

// The texts of the faults that end a run (Automation::TakeFault).
inline constexpr std::string_view kIvacNotResponding = "IvAc is not responding - command abandoned";
inline constexpr std::string_view kIvacClosed = "IvAc has closed - command abandoned";
inline constexpr std::string_view kIvacNotInFront =
    "unable to bring IvAc to the front - nothing typed or clicked";

class Automation {
 public:
  virtual ~Automation() = default;

  // Window map: finds IvAc's main window and rebuilds the map when it is a
  // different window than last time. IvacFound tells whether the last
  // GetHandles found a main window.
  virtual void GetHandles() = 0;
  virtual bool IvacFound() const = 0;

  // Pacing: the Sleep setting in milliseconds, waited after window messages.
  virtual void SetSleepMs(int32_t ms) = 0;
  virtual int32_t SleepMs() const = 0;

  // Lets pending window events of this process run.
  virtual void DoEvents() = 0;

  // After a primitive: "" when it could do its work, else the fault that
  // must end the run (IvAc stopped answering, IvAc closed, IvAc could not be
  // brought to the front for synthetic input), shown instead of the
  // primitive's own status. Taking it clears it.
  virtual std::string TakeFault() = 0;

  // Toolbar buttons. `code` is passed as written; brackets are removed by
  // the primitive.
  virtual std::string SetButton(std::string_view code, bool pressed) = 0;
  virtual std::string SaveButtons() = 0;
  virtual std::string ResetButtons() = 0;

  // Selection dialogs. `items` is the LF- or CR LF-separated pattern list,
  // `preAction` "SELECT_ALL", "SELECT_NONE" or anything else for none.
  virtual std::string SelectInDialog(std::string_view items, std::string_view code,
                                     std::string_view preAction, bool unselect) = 0;
  virtual void SaveDefault(std::string_view code) = 0;  // reports nothing
  virtual std::string ResetDefault(std::string_view code) = 0;

  // The dialog kept open across commands: DLG_OPEN remembers it, the
  // DLG_SELECT family works on it, DLG_CLOSE confirms it.
  virtual std::string DlgOpen(std::string_view code) = 0;
  virtual std::string DlgSelect(std::string_view items, std::string_view preAction,
                                bool unselect) = 0;
  virtual std::string DlgClose() = 0;
  virtual bool DialogRemembered() const = 0;
  // Empties the remembered dialog's code but keeps its handle, so that the
  // following DlgClose confirms the dialog without touching a toolbar button.
  virtual void ForgetDialogCode() = 0;

  // Chat text and COMMBox.
  virtual std::string SelectTab(std::string_view tab) = 0;
  virtual std::string SetText(std::string_view text, bool append, bool clear, bool send) = 0;

  // Traffic label.
  virtual std::string LabelCommand(LabelAction action) = 0;
  virtual std::string TransferTo(std::string_view station) = 0;

  // Clearances and occupied area.
  virtual std::string Clear(Clearance kind, std::string_view value) = 0;
  virtual std::string OccupiedArea(std::string_view argument) = 0;

  // Map view and IvAc window placement.
  virtual std::string DotCommand(std::string_view command) = 0;  // ".Z 5", ".C EDDF"
  virtual std::string ResetCenterpoint() = 0;
  virtual std::string ColorScheme(std::string_view name) = 0;
  virtual std::string MoveIvac(std::string_view placement) = 0;
};

}  // namespace qv::ivac
