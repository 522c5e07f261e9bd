// Benchmarks of the interpreter and the panel loader.
//
// 1. A 10 000-line script through the interpreter against an automation that
//    does nothing, so only the interpreter's own work is timed: separators,
//    splitting, dispatch, blocks and status lines. Budget: under 0.1 % of
//    one 25 ms Sleep per line, i.e. 25 microseconds.
// 2. The looks of all 400 buttons of a 20 x 20 panel whose every button has
//    all 26 keys, as the running panel loads them: one snapshot of the file,
//    the Setup section, then the loader for each button. (Reading every value
//    from the file afresh instead takes several seconds for such a panel:
//    the grid is never loaded that way.)
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/bench.h"
#include "panels/interpreter.h"
#include "panels/panel_file.h"
#include "panels/panel_profile.h"
#include "platform/files.h"
#include "timing.h"

namespace {

using namespace qv::panels;

class NullAutomation : public qv::ivac::Automation {
 public:
  void GetHandles() override {}
  bool IvacFound() const override { return true; }
  void SetSleepMs(int32_t) override {}
  int32_t SleepMs() const override { return 25; }
  void DoEvents() override {}
  std::string TakeFault() override { return ""; }
  std::string SetButton(std::string_view, bool) override { return kDone; }
  std::string SaveButtons() override { return kDone; }
  std::string ResetButtons() override { return kDone; }
  std::string SelectInDialog(std::string_view, std::string_view, std::string_view, bool) override {
    return kDone;
  }
  void SaveDefault(std::string_view) override {}
  std::string ResetDefault(std::string_view) override { return kDone; }
  std::string DlgOpen(std::string_view) override { return kDone; }
  std::string DlgSelect(std::string_view, std::string_view, bool) override { return kDone; }
  std::string DlgClose() override { return kDone; }
  bool DialogRemembered() const override { return false; }
  void ForgetDialogCode() override {}
  std::string SelectTab(std::string_view) override { return kDone; }
  std::string SetText(std::string_view, bool, bool, bool) override { return kDone; }
  std::string LabelCommand(qv::ivac::LabelAction) override { return kDone; }
  std::string TransferTo(std::string_view) override { return kDone; }
  std::string Clear(qv::ivac::Clearance, std::string_view) override { return kDone; }
  std::string OccupiedArea(std::string_view) override { return kDone; }
  std::string DotCommand(std::string_view) override { return kDone; }
  std::string ResetCenterpoint() override { return kDone; }
  std::string ColorScheme(std::string_view) override { return kDone; }
  std::string MoveIvac(std::string_view) override { return kDone; }

 private:
  const std::string kDone = "Button AP Pressed - done";
};

class NullHost : public ScriptHost {
 public:
  void ShowStatus(std::string_view text) override { status_.assign(text); }
  std::string StatusText() const override { return status_; }
  void Log(std::string_view line) override { logged_ += line.size(); }
  std::string CurrentPanel() const override { return "Main"; }
  void ShowPanel(std::string_view) override {}
  void CloseWindow() override {}
  void EndProgram() override {}
  void StartPanelProcess(std::string_view) override {}
  int64_t ShellOpen(std::string_view, std::string_view) override { return 42; }
  void StartMonitor(int32_t, int32_t) override {}
  void SetLastSelection(std::string_view) override {}
  size_t Logged() const { return logged_; }

 private:
  std::string status_;
  size_t logged_ = 0;
};

// A representative mix: chat text, toolbar, label actions, a selection block
// with a tag line, dialog commands, comments and unknown words.
std::string Script(int lines) {
  static const char* const kLines[] = {
      "SEND_TEXT cleared to land runway 27",
      "ADD_TEXT wind 270 degrees 5 knots",
      "; a comment",
      "PRESS [AP]",
      "<SELECTION_START>",
      "ED*",
      "LF*",
      "<SELECTION_END>",
      "[AP] SELECT_NONE_EXCEPT_SELECTION",
      "ASSUME_LABEL",
      "CLEARED_TO_FL 240",
      "DLG_SELECT EDDF",
      "COMMBOX atc",
      "ZOOM 5",
      "UNKNOWN_WORD with an argument",
      "[sid] select EDDF",
  };
  std::string s;
  for (int i = 0; i < lines; ++i) {
    s += kLines[i % (sizeof kLines / sizeof kLines[0])];
    s += i % 3 ? "\r\n" : "|";
  }
  return s;
}

std::string FullPanel(int rows, int cols) {
  std::string s = "[Setup]\r\nDescription=Benchmark\r\nButtonWidth=1200\r\nButtonHeight=400\r\n";
  s += "Rows=" + std::to_string(rows) + "\r\nCols=" + std::to_string(cols) + "\r\n";
  const auto keys = ButtonWriteOrder();
  for (int n = 1; n <= rows * cols; ++n) {
    s += "[" + SectionName(n) + "]\r\n";
    for (const std::string& key : keys) {
      std::string value;
      if (key.find("Color") != std::string::npos)
        value = ColorText13(kButtonFace);
      else if (key.find("Macro") != std::string::npos)
        value = "|SEND_TEXT button " + std::to_string(n) + "|PRESS [AP]";
      else if (key.find("Text") == 0 && key.find("Font") == std::string::npos)
        value = key.find("Size") != std::string::npos ? "8.25" : "0";
      else if (key.find("Font") != std::string::npos)
        value = "Tahoma";
      else if (key == "Type" || key == "Hidden")
        value = "0";
      else if (key == "ExpandX" || key == "ExpandY")
        value = "1";
      else
        value = key + " of button " + std::to_string(n);
      s += key + "=" + value + "\r\n";
    }
  }
  return s;
}

}  // namespace

int main() {
  int status = 0;

  // 1. The interpreter.
  constexpr int kLines = 10000;
  const std::string script = Script(kLines);
  NullAutomation ivac;
  NullHost host;
  ScriptContext ctx;
  Interpreter quiet(ctx, ivac, host);
  ctx.debug = true;
  Interpreter logging(ctx, ivac, host);

  std::printf("Interpreter: %d-line script, null automation (median of 20 runs)\n", kLines);
  struct Case {
    const char* name;
    Interpreter* interp;
  } cases[] = {{"ExecuteScript", &quiet}, {"ExecuteScript, Debug log on", &logging}};
  for (const Case& c : cases) {
    const bench::Timing t = bench::Time(20, [&] { c.interp->Execute(script); });
    const double perLineUs = t.medianMs * 1000.0 / kLines;
    const double shareOfSleep = perLineUs / 25000.0 * 100.0;
    std::printf("  %-28s %8.3f ms (min %.3f)  %.3f us per line = %.5f %% of a 25 ms Sleep\n",
                c.name, t.medianMs, t.minMs, perLineUs, shareOfSleep);
    if (shareOfSleep >= 0.1) {
      std::printf("  over the budget of 0.1 %% of a Sleep per line\n");
      status = 1;
    }
  }
  if (host.Logged() == 0) status = 1;  // the log lines were written

  // 2. Loading the looks of 400 buttons.
  const auto dir = qv::bench::ScratchFolder("qv_panels_bench");
  const std::string file = dir.string() + "\\Full.ini";
  const std::string panel = FullPanel(20, 20);
  const size_t panelBytes = panel.size();
  if (!qv::files::WriteAtomic(file, panel)) {
    std::fprintf(stderr, "cannot write %s\n", file.c_str());
    return 2;
  }
  int32_t loaded = 0;
  auto load = [&](const ValueReader& reader) {
    const PanelSetup s = ReadSetup(reader, SetupReader::kRunningPanel);
    const CellSize cell{s.buttonWidth, s.buttonHeight};
    loaded = 0;
    for (int32_t n = 1; n <= ButtonCount(s); ++n) {
      const ButtonLook b = LoadButtonLook(reader, n, false, cell, s.spacingX, s.spacingY);
      bench::Keep(b);
      ++loaded;
    }
  };
  const bench::Timing t = bench::Time(10, [&] { load(SnapshotReader(file)); });
  std::printf("Panel loading: looks of 400 buttons (20 x 20, 26 keys each, %u KB file)\n",
              static_cast<unsigned>(panelBytes / 1024));
  std::printf("  %-28s %8.3f ms (min %.3f)  %.1f us per button\n", "snapshot + Setup + loader",
              t.medianMs, t.minMs, t.medianMs * 1000.0 / 400);
  std::printf("  buttons loaded per run: %d\n", static_cast<int>(loaded));
  if (loaded != 400) status = 1;

  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return status;
}
