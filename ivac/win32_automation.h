// The automation of IvAc through its own windows: the IvAc window map and
// every primitive the script commands use, with window messages and
// synthetic input. Win32 only.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "ivac/automation.h"
#include "ivac/win32_input.h"

namespace qv::ivac {

// Where the automation keeps its files and what it reads of the settings.
// Empty or unset values are read from the process-wide settings at each call.
struct AutomationSettings {
  std::string defaultsFolder;     // Buttons.ini and the selection defaults
  int32_t commboxFrequency = -1;  // standard COMMBox tabs; -1: from the settings
};

class Win32Automation : public Automation {
 public:
  // `input` (nullptr: the system's) receives the synthetic key and mouse input.
  explicit Win32Automation(std::unique_ptr<Input> input = nullptr,
                           AutomationSettings settings = {});

  // Automation
  void GetHandles() override;
  bool IvacFound() const override { return ivac_ != nullptr; }
  void SetSleepMs(int32_t ms) override { sleep_ = ms; }
  int32_t SleepMs() const override { return sleep_; }
  void DoEvents() override;
  std::string TakeFault() override;

  std::string SetButton(std::string_view code, bool pressed) override;
  std::string SaveButtons() override;
  std::string ResetButtons() override;

  std::string SelectInDialog(std::string_view items, std::string_view code,
                             std::string_view preAction, bool unselect) override;
  void SaveDefault(std::string_view code) override;
  std::string ResetDefault(std::string_view code) override;

  std::string DlgOpen(std::string_view code) override;
  std::string DlgSelect(std::string_view items, std::string_view preAction, bool unselect) override;
  std::string DlgClose() override;
  bool DialogRemembered() const override { return dialog_ != nullptr; }
  void ForgetDialogCode() override { dialogCode_.clear(); }

  std::string SelectTab(std::string_view tab) override;
  std::string SetText(std::string_view text, bool append, bool clear, bool send) override;

  std::string LabelCommand(LabelAction action) override;
  std::string TransferTo(std::string_view station) override;

  std::string Clear(Clearance kind, std::string_view value) override;
  std::string OccupiedArea(std::string_view argument) override;

  std::string DotCommand(std::string_view command) override;
  std::string ResetCenterpoint() override;
  std::string ColorScheme(std::string_view name) override;
  std::string MoveIvac(std::string_view placement) override;

  // Services of the running panel, the server and the Macro Helper.
  // The trimmed callsign of the label selected in IvAc, "" when none (builds
  // the map first when it was never built).
  std::string ReadSelectedLabel();
  // Caret to the end of the COMMBox text line, and the focus to it.
  void FocusTextLine();
  // Finds IvAc afresh and brings it to the foreground; false when it is not
  // in front (not there, not answering, or held back by the system). Right
  // after a command that IvAc did not answer, it does not wait on IvAc again.
  bool ActivateIvac();
  // "top,left,height,width" of IvAc's main window, "" without one.
  std::string ReadIvacPlacement();
  // IvAc's In/Out list: one LF-ended line per non-empty row, TAB after each
  // cell. When the list is there but cannot be read by this kind of program
  // (a 32-bit Quorvex and a 64-bit IvAc), "" and `problem` says why.
  std::string ExtractLVitems(std::string* problem = nullptr);

  // The map: a key's handle, nullptr for a key that is missing.
  HWND Lookup(std::string_view key) const;
  HWND IvacWindow() const { return ivac_; }
  HWND RememberedDialog() const { return dialog_; }
  const std::string& RememberedCode() const { return dialogCode_; }
  // Forgets the map owner, so that the next GetHandles rebuilds the map.
  void ForgetMapOwner() { mapOwner_ = nullptr; }

 private:
  struct Elements {
    HWND list = nullptr, ok = nullptr, cancel = nullptr, all = nullptr, none = nullptr;
  };
  struct Opened {
    std::string status;
    HWND dialog = nullptr;
    bool wasPressed = false;
  };

  void Wait(int32_t ms) const;
  // The window `find` returns, looked for again for a while when it is not
  // there yet; nullptr when it never comes.
  // Repeats `done` (letting events run) for up to 1.5 s until it holds.
  bool Await(const std::function<bool()>& done);
  HWND AwaitWindow(const std::function<HWND()>& find);
  void WaitSleep() const;
  std::string DefaultsFolder() const;
  int32_t CommboxFrequency() const;
  void Store(std::string_view key, HWND handle);
  HWND MainForInput();
  // Brings IvAc to the front before synthetic input; when that fails the
  // primitive must type and click nothing, and the run ends.
  bool FrontForInput(HWND main);
  // Right before each key or click: another program may have taken the
  // foreground back since.
  bool StillInFront(HWND main);
  // What went unanswered so far is nobody's fault any more (a reader or the
  // activation after a run met a hung IvAc, or a new run begins).
  void SettleUnanswered();

  Opened OpenDialog(const std::string& code);
  static Elements FindElements(HWND dialog);
  std::string ApplySelection(const Elements& e, const std::string& code, std::string_view items,
                             std::string_view preAction, bool unselect);
  bool ConfirmWithOk(HWND dialog, const Elements& e);
  std::string SelectionStatus(std::string_view items, std::string_view codeAsGiven,
                              std::string_view preAction, bool unselect, bool* done);

  std::unique_ptr<Input> input_;
  AutomationSettings settings_;
  int32_t sleep_ = 25;
  HWND ivac_ = nullptr;
  HWND mapOwner_ = nullptr;
  std::map<std::string, HWND, std::less<>> map_;
  HWND dialog_ = nullptr;
  std::string dialogCode_;
  bool notInFront_ = false;
  bool lastFaultHung_ = false;
};

}  // namespace qv::ivac
