// ivac_standin.exe: a practice host that answers the whole IvAc contract
//, for Quorvex's end-to-end tests and for trying panels without
// going on air.
//
//   ivac_standin [--config FILE] [--log FILE] [--set KEY=VALUE]... [KEY=VALUE]...
//   ivac_standin --send "KEY=VALUE" [--send ...]   (changes the running stand-in)
//   ivac_standin --help
#include "platform/files.h"
#include "tools/ivac_standin/app.h"

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using qv::standin::App;
using qv::standin::State;

struct Options {
  std::string config, log;
  std::vector<std::string> settings;  // "key = value" lines, in order
  std::vector<std::string> send;
  std::vector<std::string> errors;
  bool help = false;
};

Options ParseArgs(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool has_value = i + 1 < argc;
    if ((a == "--config" || a == "-c") && has_value) {
      o.config = argv[++i];
    } else if ((a == "--log" || a == "-l") && has_value) {
      o.log = argv[++i];
    } else if (a == "--set" && has_value) {
      o.settings.push_back(argv[++i]);
    } else if (a == "--send" && has_value) {
      o.send.push_back(argv[++i]);
    } else if (a == "--help" || a == "-h" || a == "/?") {
      o.help = true;
    } else if (a.find('=') != std::string::npos && a[0] != '-') {
      o.settings.push_back(a);
    } else {
      o.errors.push_back("command line: unknown argument \"" + a + "\"");
    }
  }
  return o;
}

// --send: hands settings to the running stand-in over WM_COPYDATA.
int Send(const std::vector<std::string>& lines) {
  HWND target = FindWindowA(qv::standin::kMainClass, nullptr);
  if (!target) return 1;
  std::string text;
  for (const std::string& l : lines) text += l + "\n";
  COPYDATASTRUCT cds{qv::standin::kControlMagic, static_cast<DWORD>(text.size()), text.data()};
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG,
                           5000, &result))
    return 1;
  return result == 1 ? 0 : 2;
}

std::string Help() {
  return std::string(
             "ivac_standin [--config FILE] [--log FILE] [--set KEY=VALUE]... [KEY=VALUE]...\n"
             "ivac_standin --send \"KEY=VALUE\" [--send ...]\n\n"
             "A stand-in for IvAc that answers Quorvex's IvAc contract. Every effect is "
             "logged to the --log file as one JSON object per line.\n\n") +
         std::string(qv::standin::SettingsHelp());
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  Options o = ParseArgs(__argc, __argv);
  if (o.help) {
    MessageBoxA(nullptr, Help().c_str(), "IvAc stand-in", MB_OK);
    return 0;
  }
  if (!o.send.empty()) return Send(o.send);

  State state = qv::standin::DefaultState();
  std::vector<std::string> errors = o.errors;
  if (!o.config.empty()) {
    std::string text;
    if (!qv::files::ReadAll(o.config, text)) {
      errors.push_back("config: cannot read \"" + o.config + "\"");
    } else {
      for (const std::string& e : qv::standin::ApplySettings(state, text))
        errors.push_back(o.config + ": " + e);
    }
  }
  std::string lines;
  for (const std::string& s : o.settings) lines += s + "\n";
  for (const std::string& e : qv::standin::ApplySettings(state, lines))
    errors.push_back("command line: " + e);

  App& app = App::Get();
  if (!app.Start(instance, state, o.log, errors)) return 3;
  return app.Run();
}
