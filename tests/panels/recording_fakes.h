// Recording fakes of the automation interface and of the interpreter's host
// window. Both write into one event list, so a test sees the exact order of
// primitive calls, status-line texts, log lines and window actions.
//
// Every primitive answers with a status text made from its own call record,
// "<" + record + ">", so a test can tell which call a status text came from.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ivac/automation.h"
#include "panels/interpreter.h"

namespace qv::panels::testing {

using Events = std::vector<std::string>;

inline std::string B(bool v) { return v ? "1" : "0"; }

class RecordingAutomation : public ivac::Automation {
 public:
  explicit RecordingAutomation(Events& events) : events_(events) {}

  bool ivacRunning = true;
  bool remembered = false;
  // Runs inside every primitive that returns a status text, as pending
  // window events would.
  std::function<void()> duringPrimitive;
  // The primitive whose record begins with `faultOn` ends with `faultText`
  // as its fault.
  std::string faultOn;
  std::string faultText;

  void GetHandles() override {
    events_.push_back("GetHandles");
    found_ = ivacRunning;
  }
  bool IvacFound() const override { return found_; }
  void SetSleepMs(int32_t ms) override { sleep_ = ms; }
  int32_t SleepMs() const override { return sleep_; }
  void DoEvents() override { events_.push_back("DoEvents"); }
  std::string TakeFault() override { return std::exchange(fault_, ""); }

  std::string SetButton(std::string_view code, bool pressed) override {
    return Call("SetButton(" + std::string(code) + "|" + B(pressed) + ")");
  }
  std::string SaveButtons() override { return Call("SaveButtons()"); }
  std::string ResetButtons() override { return Call("ResetButtons()"); }
  std::string SelectInDialog(std::string_view items, std::string_view code,
                             std::string_view preAction, bool unselect) override {
    return Call("SelectInDialog(" + std::string(items) + "|" + std::string(code) + "|" +
                std::string(preAction) + "|" + B(unselect) + ")");
  }
  void SaveDefault(std::string_view code) override {
    events_.push_back("SaveDefault(" + std::string(code) + ")");
  }
  std::string ResetDefault(std::string_view code) override {
    return Call("ResetDefault(" + std::string(code) + ")");
  }
  std::string DlgOpen(std::string_view code) override {
    remembered = true;
    return Call("DlgOpen(" + std::string(code) + ")");
  }
  std::string DlgSelect(std::string_view items, std::string_view preAction,
                        bool unselect) override {
    return Call("DlgSelect(" + std::string(items) + "|" + std::string(preAction) + "|" +
                B(unselect) + ")");
  }
  std::string DlgClose() override {
    remembered = false;
    return Call("DlgClose()");
  }
  bool DialogRemembered() const override { return remembered; }
  void ForgetDialogCode() override { events_.push_back("ForgetDialogCode"); }
  std::string SelectTab(std::string_view tab) override {
    return Call("SelectTab(" + std::string(tab) + ")");
  }
  std::string SetText(std::string_view text, bool append, bool clear, bool send) override {
    return Call("SetText(" + std::string(text) + "|" + B(append) + "|" + B(clear) + "|" + B(send) +
                ")");
  }
  std::string LabelCommand(ivac::LabelAction action) override {
    return Call("LabelCommand(" + std::to_string(static_cast<int>(action)) + ")");
  }
  std::string TransferTo(std::string_view station) override {
    return Call("TransferTo(" + std::string(station) + ")");
  }
  std::string Clear(ivac::Clearance kind, std::string_view value) override {
    return Call("Clear(" + std::to_string(static_cast<int>(kind)) + "|" + std::string(value) + ")");
  }
  std::string OccupiedArea(std::string_view argument) override {
    return Call("OccupiedArea(" + std::string(argument) + ")");
  }
  std::string DotCommand(std::string_view command) override {
    return Call("DotCommand(" + std::string(command) + ")");
  }
  std::string ResetCenterpoint() override { return Call("ResetCenterpoint()"); }
  std::string ColorScheme(std::string_view name) override {
    return Call("ColorScheme(" + std::string(name) + ")");
  }
  std::string MoveIvac(std::string_view placement) override {
    return Call("MoveIvac(" + std::string(placement) + ")");
  }

 private:
  std::string Call(std::string record) {
    events_.push_back(record);
    if (!faultOn.empty() && record.rfind(faultOn, 0) == 0) fault_ = faultText;
    // A copy: the hook may replace itself while it runs.
    if (const auto hook = duringPrimitive) hook();
    return "<" + record + ">";
  }

  Events& events_;
  std::string fault_;
  bool found_ = false;
  int32_t sleep_ = 25;
};

class RecordingHost : public ScriptHost {
 public:
  explicit RecordingHost(Events& events) : events_(events) {}

  std::string status;
  std::string currentPanel = "Main";
  int64_t shellResult = 42;

  void ShowStatus(std::string_view text) override {
    status = text;
    events_.push_back("status:" + status);
  }
  std::string StatusText() const override { return status; }
  void Log(std::string_view line) override { events_.push_back("log:" + std::string(line)); }
  std::string CurrentPanel() const override { return currentPanel; }
  void ShowPanel(std::string_view name) override {
    currentPanel = name;
    events_.push_back("panel:" + currentPanel);
  }
  void CloseWindow() override { events_.push_back("close-window"); }
  void EndProgram() override { events_.push_back("end-program"); }
  void StartPanelProcess(std::string_view panel) override {
    events_.push_back("run-panel:" + std::string(panel));
  }
  int64_t ShellOpen(std::string_view file, std::string_view parameters) override {
    events_.push_back("shell:" + std::string(file) + "|" + std::string(parameters));
    return shellResult;
  }
  void StartMonitor(int32_t intervalMs, int32_t ioPeriodMs) override {
    events_.push_back("monitor:" + std::to_string(intervalMs) + "," + std::to_string(ioPeriodMs));
  }
  void SetLastSelection(std::string_view callsign) override {
    events_.push_back("last-selection:" + std::string(callsign));
  }

 private:
  Events& events_;
};

}  // namespace qv::panels::testing
