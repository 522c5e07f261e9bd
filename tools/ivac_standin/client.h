// Driving the IvAc stand-in from a test: start it with a config and a log in
// an output folder, wait for the effects it logs, change its state while it
// runs, leave a screenshot as evidence, and find IvAc's windows the way the
// contract says they are found. Used by the stand-in's self-tests
// and by Quorvex's end-to-end tests.
#pragma once

#include "tools/ivac_standin/event.h"
#include "tools/ivac_standin/model.h"
#include "tools/ivac_standin/win_util.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv::standin {

// A path as Windows programs take it: a Unix path ("/work/x") becomes its
// Wine drive Z: form ("Z:\work\x"); "/" becomes "\" everywhere.
std::string WindowsPath(std::string_view path);

// The stand-in's program: QV_STANDIN_EXE from the environment, else `fallback`.
std::string StandInExe(std::string_view fallback);

// A connected host with traffic, a selected label and every list filled:
// the settings the tests start from. Lines added after it win.
inline constexpr const char kFullScenario[] = R"(station = EDDF_TWR
connected = yes
selected = AFR1234
traffic = AFR1234, DLH4AB, BAW915
frequencies = 3
commbox = open
inout_window = open
inout_columns = Callsign, Type, From, To
inout = DLH4AB|A321|EDDM|EDDF ; BAW915|A320|EGLL|EDDF ; EZY73KL|A319||LFPG
airports = EDDF, EDDM, EDDS, EDDK
airports_selected = EDDF
sids = ANEKI7L, CINDY7S
stars = KERAX2B, PSA2A
geo = COASTLINE
vors = FFM, RID, CHA
ndbs = FW
fixes = CINDY, KERAX
low_airways = L603
high_airways = UL603, UN850
occupied_areas = ED-R132
atc = EDDF_APP 120.800, EDDF_DEP 120.150, EDGG_CTR 128.050
levels = FL070, FL080, FL090, FL100
speeds = 180, 200, 220
route = CINDY, KERAX
schemes = Default, Night, Classic
scheme = Default
pressed = AP, VOR
)";

// Polls `done` every 10 ms until it holds or `timeout_ms` has passed.
bool WaitUntil(const std::function<bool()>& done, int timeout_ms = 3000);

using Where = std::vector<std::pair<std::string, std::string>>;

class StandInProcess {
 public:
  StandInProcess() = default;
  ~StandInProcess() { Stop(); }
  StandInProcess(const StandInProcess&) = delete;
  StandInProcess& operator=(const StandInProcess&) = delete;

  // Writes `settings` to folder\standin.cfg, starts the program with it and
  // folder\standin.log, and waits for its "ready" event. The folder must
  // exist. On failure returns false and sets `error`.
  bool Start(const std::string& exe, const std::string& folder, const std::string& settings,
             std::string* error);
  // Asks the stand-in to close (WM_CLOSE), and ends it if it does not.
  void Stop();
  bool Running() const;

  HWND main() const { return main_; }
  DWORD pid() const { return pid_; }
  const std::string& log_path() const { return log_; }

  // Settings text for the running stand-in (WM_COPYDATA); true when every
  // line was applied.
  bool Control(std::string_view settings) const;

  // Every event logged so far, in order.
  std::vector<Event> Events() const;
  int64_t LastSeq() const;
  // The first event after `after_seq` named `name` whose fields have the
  // given texts (Event::Text), waiting up to `timeout_ms`.
  std::optional<Event> WaitFor(std::string_view name, const Where& where = {},
                               int64_t after_seq = 0, int timeout_ms = 3000) const;
  // Events named `name` after `after_seq` (no waiting).
  std::vector<Event> Find(std::string_view name, int64_t after_seq = 0) const;

 private:
  KernelHandle process_;
  DWORD pid_ = 0;
  HWND main_ = nullptr;
  std::string log_;
};

// The whole screen as a 24-bit BMP file.
bool SaveScreenshot(const std::string& path);

// ---------------------------------------------------------------------------
// Finding IvAc's windows as Quorvex does.

// The first top-level window whose caption begins "IvAc 1" (case-sensitive).
HWND FindIvAcMain();
// Top-level windows of a class ("" for any), in system order; only those of
// process `pid` when it is not 0.
std::vector<HWND> TopLevelWindows(std::string_view cls, DWORD pid = 0);
// The direct children of `parent`, in order; only those of class `cls`
// (compared without regard to case) when it is not "".
std::vector<HWND> Children(HWND parent, std::string_view cls = "");
// The first direct child of that class (any case) and exact caption, or nullptr.
HWND Child(HWND parent, std::string_view cls, std::string_view caption);
// Any descendant of that class (any case), depth first, or nullptr.
HWND Descendant(HWND parent, std::string_view cls);
// The first top-level untitled "#32770" of `pid` that has a child of class
// `cls` captioned `caption`, or nullptr.
HWND UntitledDialogWith(DWORD pid, std::string_view cls, std::string_view caption);
// Text of a window of another process (WM_GETTEXTLENGTH, WM_GETTEXT).
std::string TextOf(HWND hwnd);
// An entry of a list box of another process. Wine 8 answers LB_GETTEXT from
// another process in UTF-16 even to SendMessageA (see the Wine notes): the
// buffer has room for that, and such an answer is converted back to ANSI.
std::string ListBoxItem(HWND list, int index);

// Rows of a list view of another process, read through memory in that
// process (LVM_GETITEMTEXTA): one vector of cell texts per row.
std::vector<std::vector<std::string>> ReadListView(HWND list_view);

// ---------------------------------------------------------------------------
// Input as Quorvex gives it.

// Brings a window to the foreground and checks that it got there.
bool BringToFront(HWND hwnd);
void KeyDown(BYTE vk);
void KeyUp(BYTE vk);
// True when the system holds the key down; the key is then released, so that
// a case that left it down fails alone instead of spoiling the next one.
bool KeyLeftDown(BYTE vk);
// Moves the pointer to a screen point and clicks there.
void ClickAt(POINT screen, bool right);

}  // namespace qv::standin
