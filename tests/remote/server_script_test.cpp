// The server's side of a received command: which macro files a network
// peer may run, and the server interpreter's refusals of LINK and of
// INCLUDE names outside the macro folder.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "panels/interpreter.h"
#include "panels/recording_fakes.h"
#include "platform/files.h"
#include "remote/server_rules.h"
#include "support/temp_dir.h"

namespace qv::remote {
namespace {

using panels::testing::Events;
using qv::testing::TempDir;

TEST(ServerScript, RemoteCommandsResolveToConfinedFilesAndRunWithTheServersRules) {
  TempDir dir;
  const std::string macros = dir.Folder("Macro");
  dir.Folder("Macro\\sub");
  dir.Write("Macro\\Tower.txt", "SEND_TEXT tower");
  dir.Write("Macro\\sub\\Deep.txt", "SEND_TEXT deep");
  dir.Write("Macro\\Empty.txt", "");
  dir.Write("Secret.txt", "SEND_TEXT secret");
  dir.Write("Macro\\Big.txt", std::string(files::kMaxScriptBytes + 1, 'x'));
  struct Case {
    std::string command;
    bool run;
    std::string script;
    std::string status;
  } cases[] = {
      {"|SEND_TEXT a: b", true, "SEND_TEXT a: b", ""},
      {"|", false, "", ""},
      {"", false, "", ""},
      {"Tower.txt", true, "SEND_TEXT tower", ""},
      {"sub\\Deep.txt", true, "SEND_TEXT deep", ""},
      {"Empty.txt", false, "", ""},
      {"Nowhere.txt", false, "", macros + "\\Nowhere.txt\r\n\nfile not found "},
      {"sub", false, "",
       panels::FileRefusedText({panels::ScriptSource::Kind::kNotAFile, "", macros + "\\sub"})},
      {dir.Path("Secret.txt"), false, "", MacroNameRefusedText(dir.Path("Secret.txt"))},
      {"Big.txt", false, "",
       panels::FileRefusedText({panels::ScriptSource::Kind::kTooLarge, "", macros + "\\Big.txt"})},
  };
  for (const Case& c : cases) {
    const RemoteScript r = ResolveRemoteCommand(c.command, macros);
    EXPECT_EQ(std::tie(r.run, r.script, r.status), std::tie(c.run, c.script, c.status))
        << c.command;
  }

  // The server interpreter: LINK needs RemoteLink, includes stay in the
  // macro folder.
  dir.Write("Macro\\Inner.txt", "SEND_TEXT inner");
  dir.Write("Outside.txt", "SEND_TEXT outside");
  const struct {
    const char* script;
    Events want;
  } runs[] = {
      {"LINK notepad.exe", {"GetHandles", "status:" + std::string(kLinkRefused)}},
      {"INCLUDE Inner.txt",
       {"GetHandles", "GetHandles", "SetText(inner|0|0|1)", "status:<SetText(inner|0|0|1)>"}},
      {"INCLUDE ..\\Outside.txt\nSEND_TEXT next",
       {"GetHandles", "status:" + MacroNameRefusedText("..\\Outside.txt"), "SetText(next|0|0|1)",
        "status:<SetText(next|0|0|1)>"}},
  };
  for (const auto& c : runs) {
    Events events;
    panels::testing::RecordingAutomation ivac(events);
    panels::testing::RecordingHost host(events);
    panels::ScriptContext context{panels::Role::kServer, macros, dir.Folder("Panels"), false};
    context.allowLink = false;
    context.confineIncludes = true;
    panels::Interpreter interpreter(context, ivac, host);
    interpreter.Execute(c.script);
    EXPECT_EQ(events, c.want) << c.script;
  }
  EXPECT_TRUE(IsServerRefusal(kLinkRefused));
  EXPECT_TRUE(IsServerRefusal(MacroNameRefusedText("..\\x")));
  EXPECT_FALSE(IsServerRefusal("<SetText(inner|0|0|1)>"));
}

}  // namespace
}  // namespace qv::remote
