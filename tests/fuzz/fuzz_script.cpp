// Fuzzes the script splitter, the interpreter (both roles, with and without
// the log) against a recording automation, the script checker and LINK's
// word splitting. The first byte picks the role and the debug flag; the rest
// is the script. A small macro folder holds files that include each other
// and themselves, so INCLUDE nesting is exercised too.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "panels/interpreter.h"
#include "panels/link_args.h"
#include "panels/script_check.h"
#include "platform/files.h"
#include "recording_fakes.h"

namespace {

using namespace qv::panels;

struct World {
  std::string root;
  std::string macros;
  std::string panels;
  testing::Events events;
  testing::RecordingAutomation ivac{events};
  testing::RecordingHost host{events};

  World() {
    root = (std::filesystem::temp_directory_path() / "qv_fuzz_script").string();
    std::filesystem::create_directories(root);
    macros = root + "\\Macro";
    panels = root + "\\Panels";
    qv::files::CreateFolder(macros);
    qv::files::CreateFolder(panels);
    qv::files::WriteAtomic(macros + "\\self.txt", "SEND_TEXT s\r\nINCLUDE self.txt\r\n");
    qv::files::WriteAtomic(macros + "\\a.txt", "INCLUDE b.txt|OPEN P");
    qv::files::WriteAtomic(macros + "\\b.txt",
                           "<SELECTION_START>\nX\n<SELECTION_END>\nINCLUDE a.txt");
    qv::files::WriteAtomic(panels + "\\P.ini", "[Setup]\r\n");
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static World world;
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  const std::string script(reinterpret_cast<const char*>(data + 1), size - 1);

  ScriptContext ctx;
  ctx.role = (mode & 1) ? Role::kServer : Role::kPanel;
  ctx.debug = (mode & 2) != 0;
  ctx.macroFolder = world.macros;
  ctx.panelsFolder = world.panels;
  world.ivac.ivacRunning = (mode & 4) == 0;
  world.ivac.remembered = (mode & 8) != 0;
  world.host.currentPanel = "P";
  world.events.clear();

  Interpreter interp(ctx, world.ivac, world.host);
  if (mode & 16) {
    // A click arriving while a primitive lets events run must be refused.
    world.ivac.duringPrimitive = [&] {
      if (interp.Execute(script) != RunResult::kRefused) __builtin_trap();
      interp.PreviousAssistant();
    };
  } else {
    world.ivac.duringPrimitive = nullptr;
  }
  interp.Execute(script);
  if (interp.Running()) __builtin_trap();
  world.ivac.duringPrimitive = nullptr;

  CheckOptions options;
  options.role = ctx.role;
  options.macroFolder = world.macros;
  for (const Finding& f : CheckScript(script, options, "fuzz")) (void)FormatFinding(f);

  const auto words = SplitCommandLine(script);
  if (!script.empty() && words.empty()) __builtin_trap();
  (void)JoinParameters(words);
  return 0;
}
