#include "panels/interpreter.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#ifdef _WIN32
#include <windows.h>
#endif

#include "recording_fakes.h"
#include "support/temp_dir.h"

namespace qv::panels {
namespace {

using qv::testing::TempDir;
using testing::Events;
using testing::RecordingAutomation;
using testing::RecordingHost;

const std::string kNotFound(ivac::kIvacNotFound);

class InterpreterTest : public ::testing::Test {
 protected:
  InterpreterTest() { Make(Role::kPanel, false); }

  void Make(Role role, bool debug) {
    ScriptContext ctx;
    ctx.role = role;
    ctx.debug = debug;
    ctx.macroFolder = macros;
    ctx.panelsFolder = panelsDir;
    interp = std::make_unique<Interpreter>(ctx, ivac, host);
  }

  // Runs a script and returns what happened, without the events of earlier runs.
  Events Run(std::string_view script, RunResult want = RunResult::kRan) {
    ev.clear();
    EXPECT_EQ(interp->Execute(script), want);
    return ev;
  }

  // A script, the events its run gives, and whether IvAc is running.
  struct Case {
    std::string script;
    Events want;
    bool ivacRunning = true;
  };
  void ExpectEvents(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      ivac.ivacRunning = c.ivacRunning;
      host.currentPanel = "Main";
      EXPECT_EQ(Run(c.script), c.want) << c.script.substr(0, 60);
    }
  }

  // The primitives a script calls, without the look-ups and status texts.
  Events Calls(std::string_view script) {
    Events got;
    for (const std::string& e : Run(script))
      if (e != "GetHandles" && e.rfind("status:", 0) != 0) got.push_back(e);
    return got;
  }

  void Panel(const std::string& name) { tmp.Write("Panels\\" + name + ".ini", "[Setup]\r\n"); }
  void Macro(const std::string& name, std::string_view content) {
    tmp.Write("Macro\\" + name, content);
  }

  TempDir tmp;
  std::string macros = tmp.Folder("Macro");
  std::string panelsDir = tmp.Folder("Panels");
  Events ev;
  RecordingAutomation ivac{ev};
  RecordingHost host{ev};
  std::unique_ptr<Interpreter> interp;
};

// Each command line reaches exactly one primitive with the listed arguments,
// and the primitive's status text is what the status line shows; a line that
// is no command reaches none.
TEST_F(InterpreterTest, EveryCommandCallsItsPrimitiveWithTheListedArguments) {
  std::vector<std::pair<std::string, std::string>> cases = {
      {"CLEAR_TEXT", "SetText(|0|1|0)"},
      {"ADD_TEXT_NOSPACE abc", "SetText(abc|1|0|0)"},
      {"ADD_TEXT abc", "SetText( abc|1|0|0)"},
      {"ADD_TEXT", "SetText( |1|0|0)"},
      {"SEND_TEXT hello world", "SetText(hello world|0|0|1)"},
      {"SEND_TEXT", "SetText(|0|0|1)"},
      {"send_text  two spaces", "SetText( two spaces|0|0|1)"},
      {"SEND_TEXT selected runway 27", "SetText(selected runway 27|0|0|1)"},
      {"SEND_TEXT UNSELECT all", "SetText(UNSELECT all|0|0|1)"},
      {"COMMBOX atc", "SelectTab(atc)"},
      {"ZOOM 5", "DotCommand(.Z 5)"},
      {"Zoom", "DotCommand(.Z )"},
      {"CENTERPOINT EDDF", "DotCommand(.C EDDF)"},
      {"RESET_CENTERPOINT", "ResetCenterpoint()"},
      {"COLORSCHEME Night", "ColorScheme(Night)"},
      {"MOVE_IVAC 10,20,600,800", "MoveIvac(10,20,600,800)"},
      {"PRESS [AP]", "SetButton([AP]|1)"},
      {"release GEO", "SetButton(GEO|0)"},
      {"SAVE_BUTTONS", "SaveButtons()"},
      {"RESET_BUTTONS", "ResetButtons()"},
      {"TRANSFER_TO EDDF_TWR", "TransferTo(EDDF_TWR)"},
      {"CLEARED_TO_FL 240", "Clear(0|240)"},
      {"CLEARED_TO_FIX <none>", "Clear(1|<none>)"},
      {"CLEARED_TO_SPEED 250", "Clear(2|250)"},
      {"OCA 300,500,Area 1", "OccupiedArea(300,500,Area 1)"},
      {"DLG_SELECT ED*", "DlgSelect(ED*||0)"},
      {"DLG_UNSELECT EDDF", "DlgSelect(EDDF||1)"},
      {"DLG_SELECT_NONE", "DlgSelect(|SELECT_NONE|0)"},
      {"DLG_SELECT_ALL", "DlgSelect(|SELECT_ALL|1)"},
      {"[AP] RESET_DEFAULT", "ResetDefault([AP])"},
      {"[fix] Select_All", "SelectInDialog(|[fix]|Select_All|1)"},
      {"[AP] SELECT_NONE", "SelectInDialog(|[AP]|SELECT_NONE|0)"},
      {"[SID] SELECT EDDF", "SelectInDialog(EDDF\n|[SID]||0)"},
      {"[SID] UNSELECT  ED*  ", "SelectInDialog(ED*\n|[SID]||1)"},
      {"[OCN] SELECT", "SelectInDialog(|[OCN]||0)"},
      // Lines that are no command do nothing.
      {"UNKNOWN_WORD x", ""},
      {"UNSELECT EDDF", ""},         // only a tag sub-command
      {"\tSEND_TEXT indented", ""},  // a tab is not trimmed
      {"SEND_TEXTX", ""},            // whole words only
      {"SEND x", ""},                // nor a word's beginning
      {"SEND_TEXT\tx", ""},          // a tab does not end the word
      {"[AP SELECT", ""},
      {"ENABLE_MONITOR 500,2000", ""},  // server only
      {"[AP] SAVE_DEFAULT now", ""},    // sub-command with more text is no sub-command
      {"[AP] SELECTED x", ""},          // cut at its space, but no sub-command
      {"[AP]  SELECT x", ""},           // the argument begins with a space: not cut
      {"[APX] SELECT", ""},
      {"DLG_OPEN [OCN]", ""},  // never accepted
      {"DLG_OPEN [ap]", ""},   // capitals only
      {"DLG_OPEN  [AP]", ""},  // leading space
      {"DLG_OPEN [AP]x", ""},
      {"DLG_CLOSE", ""},  // nothing remembered
      {"; comment SEND_TEXT", ""},
      {"   ", ""},
      {"<SELECTION_END>", ""},  // outside a block
  };
  // The label commands by their action's number; DLG_OPEN takes the nine
  // dialogs' codes.
  int action = 0;
  for (const char* word :
       {"ADD_TO_IO", "FORCE_ACT", "ASSUME_LABEL", "RELEASE_LABEL", "REQ_FPL", "SHOW_FPL"})
    cases.push_back({word, "LabelCommand(" + std::to_string(action++) + ")"});
  for (std::string code :
       {"[AP]", "[SID]", "[STAR]", "[H]", "[L]", "[GEO]", "[FIX]", "[VOR]", "[NDB]"})
    cases.push_back({"DLG_OPEN " + code, "DlgOpen(" + code + ")"});
  for (const auto& [line, call] : cases) {
    ivac.remembered = false;
    EXPECT_EQ(Run(line), call.empty() ? Events{"GetHandles"}
                                      : (Events{"GetHandles", call, "status:<" + call + ">"}))
        << line;
  }
}

// Separators split lines (a lone CR does not), and selection blocks collect
// the items of the next selecting command.
TEST_F(InterpreterTest, SeparatorsAndSelectionBlocks) {
  struct Case {
    const char* script;
    Events calls;
  } cases[] = {
      {"SEND_TEXT a|SEND_TEXT b", {"SetText(a|0|0|1)", "SetText(b|0|0|1)"}},
      {"SEND_TEXT a\r\nSEND_TEXT b\n", {"SetText(a|0|0|1)", "SetText(b|0|0|1)"}},
      {"SEND_TEXT a\rSEND_TEXT b", {"SetText(a\rSEND_TEXT b|0|0|1)"}},
      // CR LF is taken before the bars: a CR before a bar stays.
      {"SEND_TEXT a\r|SEND_TEXT b", {"SetText(a\r|0|0|1)", "SetText(b|0|0|1)"}},
      {"SEND_TEXT a\r\r\nSEND_TEXT b", {"SetText(a\r|0|0|1)", "SetText(b|0|0|1)"}},
      {"  SEND_TEXT padded  ", {"SetText(padded|0|0|1)"}},
      {"||\n\n;x|SEND_TEXT z", {"SetText(z|0|0|1)"}},
      {"<SELECTION_START>\n ED* \n; note\n\nLF*\n<SELECTION_END>\nDLG_SELECT_NONE",
       {"DlgSelect(ED*\nLF*\n|SELECT_NONE|0)"}},
      // The end marker alone, in any case; with more text it is an item.
      {"<selection_start>\nA\n<SELECTION_END> x\n<Selection_End>\nDLG_SELECT_ALL",
       {"DlgSelect(A\n<SELECTION_END> x\n|SELECT_ALL|1)"}},
      // The first command after the block empties it, read or not.
      {"<SELECTION_START>\nA\n<SELECTION_END>\nSEND_TEXT x\n[AP] SELECT",
       {"SetText(x|0|0|1)", "SelectInDialog(|[AP]||0)"}},
      // An unknown word is a command line too.
      {"<SELECTION_START>\nA\n<SELECTION_END>\nNOPE\n[AP] SELECT_NONE_EXCEPT_SELECTION",
       {"SelectInDialog(|[AP]|SELECT_NONE|0)"}},
      {"<SELECTION_START>\nA\nB\n<SELECTION_END>\n[AP] SELECT_ALL_EXCEPT_SELECTION",
       {"SelectInDialog(A\nB\n|[AP]|SELECT_ALL|1)"}},
      // A block wins over the item text.
      {"<SELECTION_START>\nA\n<SELECTION_END>\n[AP] SELECT EDDF", {"SelectInDialog(A\n|[AP]||0)"}},
      // No line inside a block runs; a block left open is dropped.
      {"<SELECTION_START>\nSEND_TEXT x\nCLOSE\nOPEN y", {}},
      // A new start drops what was collected before it.
      {"<SELECTION_START>\nA\n<SELECTION_END>\n<SELECTION_START>\nB\n<SELECTION_END>\n"
       "DLG_SELECT_NONE",
       {"DlgSelect(B\n|SELECT_NONE|0)"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Calls(c.script), c.calls) << c.script;
}

// The start check looks at the script as received: six prefixes skip it.
TEST_F(InterpreterTest, StartCheckExemptsOnlyTheSixPrefixesAtTheVeryStart) {
  Panel("Other");
  ExpectEvents({
      {"OPEN Other", {"panel:Other"}, false},
      {"open Other", {"panel:Other"}, false},
      {"; go\nOPEN Other", {"GetHandles", "status:" + kNotFound}, false},
      {" OPEN Other", {"GetHandles", "status:" + kNotFound}, false},
      {"BACKGROUND", {}, false},  // begins with BACK: exempt, and an unknown word
      {"LINKS", {}, false},
      {"CALLX Other", {"GetHandles", "status:" + kNotFound}, false},
      {"closed", {}, false},
      {"run_panelx", {}, false},
  });
}

TEST_F(InterpreterTest, DebugLogsEveryExecutedLineAndTheStatusAfterIt) {
  Make(Role::kPanel, true);
  host.status = "before";
  EXPECT_EQ(
      Run("; c\nSEND_TEXT a\nNOPE\nOPEN"),
      (Events{"GetHandles", "log:ExecuteRow=SEND_TEXT a", "SetText(a|0|0|1)",
              "status:<SetText(a|0|0|1)>", "log:lblInfo=<SetText(a|0|0|1)>", "log:ExecuteRow=NOPE",
              "log:lblInfo=<SetText(a|0|0|1)>", "log:ExecuteRow=OPEN"}));

  ivac.ivacRunning = false;
  EXPECT_EQ(Run("SEND_TEXT a|SEND_TEXT b"),
            (Events{"GetHandles", "status:" + kNotFound, "log:Script=SEND_TEXT a|SEND_TEXT b",
                    "log:lblInfo=" + kNotFound}));

  // A switch of assistant is logged too, one that fails is not.
  Panel("A");
  ev.clear();
  EXPECT_TRUE(interp->OpenAssistant("A"));
  EXPECT_FALSE(interp->OpenAssistant("Nope"));
  EXPECT_EQ(ev, (Events{"log:Assistant=A", "panel:A"}));
}

TEST_F(InterpreterTest, NavigationIsCarriedOutAfterTheLoop) {
  Panel("Second");
  struct Case {
    const char* script;
    Events want;
    std::vector<std::string> stack;
  } cases[] = {
      {"SEND_TEXT a\nOPEN Second\nSEND_TEXT never",
       {"GetHandles", "SetText(a|0|0|1)", "status:<SetText(a|0|0|1)>", "panel:Second"},
       {}},
      {"CALL Second\nSEND_TEXT never", {"panel:Second"}, {"Main"}},
      {"OPEN Missing", {}, {}},
      // Without the space the start check applies.
      {"CALL", {"GetHandles"}, {}},
      {"OPEN\nSEND_TEXT never", {"GetHandles"}, {}},
      {"BACK\nSEND_TEXT never", {}, {}},
      {"CLOSE\nOPEN Second", {"end-program"}, {}},
      {"RUN_PANEL Second", {"run-panel:Second"}, {}},
      {"RUN_PANEL Missing", {}, {}},
  };
  for (const Case& c : cases) {
    host.currentPanel = "Main";
    Make(Role::kPanel, false);
    EXPECT_EQ(std::make_pair(Run(c.script), interp->PanelStack()), std::make_pair(c.want, c.stack))
        << c.script;
  }
}

// Scripts with the exact calls, status texts and window actions they give.
TEST_F(InterpreterTest, ScriptsGiveTheirCallsStatusTextsAndActionsInOrder) {
  host.shellResult = 33;
  Panel("Second");
  Macro("exempt.txt", "OPEN Nowhere");
  Macro("block.txt", "<SELECTION_START>\nEDDF\n<SELECTION_END>\n");
  Macro("nav.txt", "SEND_TEXT inner\r\nOPEN Second\r\nSEND_TEXT skipped\r\n");
  Macro("close.txt", "SEND_TEXT in\r\nCLOSE\r\nSEND_TEXT skipped\r\n");
  Macro("outer.txt", "INCLUDE close.txt\r\nSEND_TEXT outer\r\n");
  Macro("self.txt", "SEND_TEXT s\nINCLUDE self.txt\nSEND_TEXT t");
  // Bytes of every value but the separators, around one real command.
  std::string garbage;
  for (int i = 0; i < 300000; ++i) {
    const char c = static_cast<char>((i * 37 + 11) % 256);
    garbage += (c == '\n' || c == '|') ? 'x' : c;
  }
  Macro("bin.txt", garbage + "\nSEND_TEXT mid\n" + garbage);
  const std::string edge = "SEND_TEXT edge\r\n";
  Macro("max.txt", edge + std::string(files::kMaxScriptBytes - edge.size(), ' '));
  Macro("big.txt", edge + std::string(files::kMaxScriptBytes - edge.size() + 1, ' '));
  tmp.Folder("Macro\\dir.txt");
  const std::string after = "SetText(after|0|0|1)", shownAfter = "status:<" + after + ">";
  ExpectEvents({
      // An exempt included file does not look for IvAc again.
      {"INCLUDE exempt.txt", {"GetHandles"}},
      {"INCLUDE missing.txt\nSEND_TEXT after", {"GetHandles", after, shownAfter}},
      {"INCLUDE", {"GetHandles"}},
      // The included block stays in the included run.
      {"INCLUDE block.txt\nDLG_SELECT_NONE",
       {"GetHandles", "GetHandles", "DlgSelect(|SELECT_NONE|0)",
        "status:<DlgSelect(|SELECT_NONE|0)>"}},
      // OPEN inside an include switches when the included file ends.
      {"INCLUDE nav.txt\nSEND_TEXT after",
       {"GetHandles", "GetHandles", "SetText(inner|0|0|1)", "status:<SetText(inner|0|0|1)>",
        "panel:Second", after, shownAfter}},
      // A run ended inside an include abandons the including scripts.
      {"INCLUDE outer.txt\nSEND_TEXT after",
       {"GetHandles", "GetHandles", "GetHandles", "SetText(in|0|0|1)", "status:<SetText(in|0|0|1)>",
        "end-program"}},
      {"INCLUDE self.txt",
       {"GetHandles", "GetHandles", "SetText(s|0|0|1)", "status:<SetText(s|0|0|1)>",
        "status:" + Interpreter::IncludeCycleText("self.txt"), "SetText(t|0|0|1)",
        "status:<SetText(t|0|0|1)>"}},
      // Binary and huge macro files run only their command lines.
      {"INCLUDE bin.txt",
       {"GetHandles", "GetHandles", "SetText(mid|0|0|1)", "status:<SetText(mid|0|0|1)>"}},
      // Files over 1 MB, folders and devices are refused and end the run.
      {"INCLUDE max.txt\nSEND_TEXT after",
       {"GetHandles", "GetHandles", "SetText(edge|0|0|1)", "status:<SetText(edge|0|0|1)>", after,
        shownAfter}},
      {"INCLUDE big.txt\nSEND_TEXT after",
       {"GetHandles", "status:INCLUDE big.txt refused - the file is larger than 1 MB"}},
      {"INCLUDE dir.txt\nSEND_TEXT after",
       {"GetHandles", "status:INCLUDE dir.txt refused - not a file"}},
      {"INCLUDE NUL\nSEND_TEXT after", {"GetHandles", "status:INCLUDE NUL refused - not a file"}},
      // DLG_OPEN closes the remembered dialog first.
      {"DLG_OPEN [AP]\nDLG_SELECT EDDF\nDLG_OPEN [SID]\nDLG_CLOSE\nDLG_CLOSE",
       {"GetHandles", "DlgOpen([AP])", "status:<DlgOpen([AP])>", "DlgSelect(EDDF||0)",
        "status:<DlgSelect(EDDF||0)>", "ForgetDialogCode", "DlgClose()", "status:<DlgClose()>",
        "DlgOpen([SID])", "status:<DlgOpen([SID])>", "ForgetDialogCode", "DlgClose()",
        "status:<DlgClose()>"}},
      // SAVE_DEFAULT and SELECT leave the status line as it was; SELECT
      // looks for IvAc again and types the callsign.
      {"[ndb] save_default", {"GetHandles", "SaveDefault([ndb])"}},
      {"SELECT  DLH123 ", {"GetHandles", "GetHandles", "SetText(.s DLH123|0|1|1)"}},
      {"SELECT", {"GetHandles", "GetHandles", "SetText(.s |0|1|1)"}},
      // LINK splits its words and shows the shell's result.
      {"LINK \"C:\\My Files\\a.txt\" \"two words\" x",
       {"shell:C:\\My Files\\a.txt|two words x", "status:33"}},
      {"LINK notepad.exe", {"shell:notepad.exe|", "status:33"}},
      {"LINK", {}},
      {"LINK  x.txt", {"shell:|x.txt", "status:33"}},
  });
#ifdef _WIN32
  // A file that is there but cannot be read (held without sharing) ends
  // the whole run as well.
  Macro("held.txt", "SEND_TEXT held\r\n");
  HANDLE held = CreateFileA((macros + "\\held.txt").c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Run("SEND_TEXT before\nINCLUDE held.txt\nSEND_TEXT after"),
            (Events{"GetHandles", "SetText(before|0|0|1)", "status:<SetText(before|0|0|1)>"}));
  CloseHandle(held);
#endif
}

// A primitive that met a hung, closed or unreachable IvAc ends the run with
// its fault on the status line instead of its own status, inside includes
// too and also for primitives whose status is not shown (SELECT).
TEST_F(InterpreterTest, AFaultOfAPrimitiveShowsItAndEndsTheWholeRun) {
  Macro("inner.txt", "PRESS [AP]\r\nSEND_TEXT inner\r\n");
  const struct {
    std::string script, faultOn;
    Events expected;
  } cases[] = {
      {"PRESS [AP]\nSEND_TEXT after",
       "SetButton",
       {"GetHandles", "SetButton([AP]|1)", "status:IvAc is not responding - command abandoned"}},
      {"SEND_TEXT first\nINCLUDE inner.txt\nSEND_TEXT after",
       "SetButton",
       {"GetHandles", "SetText(first|0|0|1)", "status:<SetText(first|0|0|1)>", "GetHandles",
        "SetButton([AP]|1)", "status:IvAc is not responding - command abandoned"}},
      {"SELECT AFR1234\nSEND_TEXT after",
       "SetText(.s",
       {"GetHandles", "GetHandles", "SetText(.s AFR1234|0|1|1)",
        "status:IvAc is not responding - command abandoned"}},
      // The panel switch asked for after the fault is not carried out.
      {"PRESS [AP]\nOPEN Other",
       "SetButton",
       {"GetHandles", "SetButton([AP]|1)", "status:IvAc is not responding - command abandoned"}},
  };
  Panel("Other");
  for (const auto& c : cases) {
    ivac.faultOn = c.faultOn;
    ivac.faultText = std::string(ivac::kIvacNotResponding);
    EXPECT_EQ(Run(c.script), c.expected) << c.script;
  }
  // The fault is taken once: the next run goes on as usual.
  ivac.faultOn.clear();
  EXPECT_EQ(Run("PRESS [AP]"),
            (Events{"GetHandles", "SetButton([AP]|1)", "status:<SetButton([AP]|1)>"}));

  // SELECT looks for IvAc again: gone since the start check, the line shows
  // that it is not found and the run goes on.
  ivac.duringPrimitive = [&] { ivac.ivacRunning = false; };
  EXPECT_EQ(Run("SEND_TEXT a\nSELECT DLH1\nSEND_TEXT b"),
            (Events{"GetHandles", "SetText(a|0|0|1)", "status:<SetText(a|0|0|1)>", "GetHandles",
                    "status:" + kNotFound, "SetText(b|0|0|1)", "status:<SetText(b|0|0|1)>"}));
}

TEST_F(InterpreterTest, IncludeRefusesAFileAlreadyRunningAndDeepChains) {
  Macro("a.txt", "INCLUDE b.txt");
  Macro("b.txt", "INCLUDE a.txt");
  Events got = Run("INCLUDE a.txt");
  EXPECT_EQ(got.back(), "status:" + Interpreter::IncludeCycleText("a.txt"));

  // A button's file is running already: it cannot include itself.
  Macro("button.txt", "INCLUDE button.txt");
  const ScriptSource src = ResolveMacro("button.txt", macros);
  ev.clear();
  interp->Execute(src.script, src.path);
  EXPECT_EQ(ev, (Events{"GetHandles", "status:" + Interpreter::IncludeCycleText("button.txt")}));

  // A file that names itself differently in case is the same file here.
  Macro("Up.txt", "INCLUDE UP.TXT");
  ev.clear();
  interp->Execute("INCLUDE Up.txt");
#ifdef _WIN32
  EXPECT_EQ(ev.back(), "status:" + Interpreter::IncludeCycleText("UP.TXT"));
#else
  EXPECT_EQ(ev, (Events{"GetHandles", "GetHandles"}));  // no such file here
#endif

  // A chain of distinct files stops at the depth bound.
  const int files = kMaxIncludeDepth + 5;
  for (int i = 0; i < files; ++i)
    Macro("c" + std::to_string(i) + ".txt",
          "SEND_TEXT " + std::to_string(i) + "\nINCLUDE c" + std::to_string(i + 1) + ".txt");
  got = Run("INCLUDE c0.txt");
  int sends = 0;
  for (const std::string& e : got)
    if (e.rfind("SetText(", 0) == 0) ++sends;
  EXPECT_EQ(sends, kMaxIncludeDepth);
  EXPECT_EQ(got.back(), "status:" + Interpreter::IncludeDepthText(
                                        "c" + std::to_string(kMaxIncludeDepth) + ".txt"));
}

TEST_F(InterpreterTest, ServerRoleDifferences) {
  Make(Role::kServer, true);
  Panel("Second");
  Macro("m.txt", "CLOSE\nSEND_TEXT in\nBACK\nSEND_TEXT never");
  ExpectEvents({
      {"OPEN Second", {"GetHandles", "status:" + kNotFound}, false},
      {"CLOSE\nRUN_PANEL Second\nSEND_TEXT a",
       {"GetHandles", "SetText(a|0|0|1)", "status:<SetText(a|0|0|1)>"}},
      {"SEND_TEXT a\nCALL Second\nSEND_TEXT b",
       {"GetHandles", "SetText(a|0|0|1)", "status:<SetText(a|0|0|1)>"}},
      {"OPEN Second\nSEND_TEXT b", {"GetHandles"}},
      {"BACK\nSEND_TEXT b", {"GetHandles"}},
      {"LINK \"a b\" c", {"GetHandles", "shell:\"a b\" c|", "status:42"}},
      // The untrimmed argument is remembered.
      {"SELECT  DLH1",
       {"GetHandles", "GetHandles", "last-selection: DLH1", "SetText(.s DLH1|0|1|1)"}},
      {"ENABLE_MONITOR 500,2000", {"GetHandles", "monitor:500,2000", "GetHandles"}},
      {"enable_monitor 499.5,7", {"GetHandles", "monitor:500,7", "GetHandles"}},
      {"ENABLE_MONITOR 500,2000\nSEND_TEXT x",
       {"GetHandles", "monitor:500,2000", "GetHandles", "status:" + kNotFound,
        "status:" + kNotFound},
       false},
      {"enable_monitor 500,2000", {"GetHandles", "status:" + kNotFound}, false},
      {"ENABLE_MONITOR 9999999999999,x", {"GetHandles", "monitor:2147483647,0", "GetHandles"}},
      // An included file runs with the server's rules as well.
      {"INCLUDE m.txt\nSEND_TEXT out",
       {"GetHandles", "GetHandles", "SetText(in|0|0|1)", "status:<SetText(in|0|0|1)>",
        "SetText(out|0|0|1)", "status:<SetText(out|0|0|1)>"}},
  });
  EXPECT_TRUE(interp->PanelStack().empty());
}

// A click, navigation or closing that arrives while a primitive lets events
// run is never carried out inside the run, but after the script's own
// navigation.
TEST_F(InterpreterTest, OneRunAtATimeAndDeferredRequestsFollowTheScriptsOwnNavigation) {
  Panel("Main");
  Panel("A");
  Run("CALL A");

  std::vector<RunResult> nested;
  std::vector<bool> opened;
  ivac.duringPrimitive = [&] {
    ivac.duringPrimitive = nullptr;
    nested.push_back(interp->Execute("SEND_TEXT nested"));
    interp->PreviousAssistant();
    opened.push_back(interp->OpenAssistant("Nope"));
    opened.push_back(interp->OpenAssistant("A"));
    interp->RequestClose();
    ev.push_back("still running");
  };
  EXPECT_EQ(Run("SEND_TEXT outer\nSEND_TEXT second"),
            (Events{"GetHandles", "SetText(outer|0|0|1)", "still running",
                    "status:<SetText(outer|0|0|1)>", "SetText(second|0|0|1)",
                    "status:<SetText(second|0|0|1)>", "panel:Main", "panel:A", "close-window"}));
  EXPECT_EQ(nested, (std::vector<RunResult>{RunResult::kRefused}));
  EXPECT_EQ(opened, (std::vector<bool>{false, true}));
  EXPECT_FALSE(interp->Running());

  // Outside a run they act at once.
  Run("CALL Main");
  ev.clear();
  interp->PreviousAssistant();
  EXPECT_TRUE(interp->OpenAssistant("Main"));
  interp->RequestClose();
  EXPECT_EQ(ev, (Events{"panel:A", "panel:Main", "close-window"}));

  // CALL and BACK on a fresh stack. A call to a panel without a file pushes
  // too: BACK reopens the current one.
  Make(Role::kPanel, false);
  Panel("B");
  EXPECT_EQ(Run("CALL Missing"), (Events{}));
  EXPECT_EQ(Run("BACK"), (Events{"panel:Main"}));
  Run("CALL A");
  Run("CALL B");
  // The stack is Main, A: each BACK shows one, then there is none.
  EXPECT_EQ(Run("BACK"), (Events{"panel:A"}));
  EXPECT_EQ(Run("BACK"), (Events{"panel:Main"}));
  EXPECT_EQ(Run("BACK"), (Events{}));

  // A request made while a script runs is carried out after the script's own.
  Run("CALL A");
  ivac.duringPrimitive = [&] {
    ivac.duringPrimitive = nullptr;
    interp->PreviousAssistant();
  };
  // The script calls B (stack Main, A); the deferred back then returns to A.
  EXPECT_EQ(Run("SEND_TEXT x\nCALL B"),
            (Events{"GetHandles", "SetText(x|0|0|1)", "status:<SetText(x|0|0|1)>", "panel:B",
                    "panel:A"}));
  EXPECT_EQ(interp->PanelStack(), (std::vector<std::string>{"Main"}));

  // CLOSE ends the program: nothing deferred runs after it.
  ivac.duringPrimitive = [&] {
    ivac.duringPrimitive = nullptr;
    interp->RequestClose();
  };
  EXPECT_EQ(Run("SEND_TEXT x\nCLOSE"),
            (Events{"GetHandles", "SetText(x|0|0|1)", "status:<SetText(x|0|0|1)>", "end-program"}));
}

TEST(ButtonScripts, MacroKeyResolvedScriptAndEverythingButStarOpenSentToRemote) {
  struct Case {
    int32_t type;
    bool kept;
    bool latched;
    std::string_view want;
  } cases[] = {
      {0, false, false, "macro"}, {0, true, true, "macro"},
      {1, false, true, "macro"},  {1, true, false, "macroReleased"},
      {2, false, true, "macro"},  {2, true, false, "macroReleased"},
      {3, true, false, "macro"},  {-1, true, false, "macro"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MacroKeyFor(c.type, c.kept, c.latched), c.want) << c.type << c.kept << c.latched;
  // Everything but "*OPEN" is sent to the remote server.
  for (const char* tag : {"|SEND_TEXT a", "macro.txt", "OPEN x"}) EXPECT_TRUE(SendsToRemote(tag));
  for (const char* tag : {"*OPEN x", "*open.txt"}) EXPECT_FALSE(SendsToRemote(tag));
  // A button's value resolves to an inline script, a file, or nothing.
  TempDir tmp;
  const std::string macros = tmp.Folder("Macro");
  tmp.Write("Macro\\a.txt", "SEND_TEXT file\r\n");
  tmp.Write("Macro\\big.txt", std::string(files::kMaxScriptBytes + 1, 'x'));
  tmp.Folder("Macro\\dir");
  const struct {
    const char* value;
    ScriptSource::Kind kind;
    std::string script;
    std::string path;
  } values[] = {
      {"", ScriptSource::Kind::kEmpty, "", ""},
      {"   ", ScriptSource::Kind::kEmpty, "", ""},
      {"  |SEND_TEXT a|SEND_TEXT b ", ScriptSource::Kind::kInline, "SEND_TEXT a|SEND_TEXT b", ""},
      {"|", ScriptSource::Kind::kInline, "", ""},
      {" a.txt ", ScriptSource::Kind::kFile, "SEND_TEXT file\r\n", macros + "\\a.txt"},
      {"b.txt", ScriptSource::Kind::kMissingFile, "", macros + "\\b.txt"},
      {"*OPEN x", ScriptSource::Kind::kMissingFile, "", macros + "\\*OPEN x"},
      {"big.txt", ScriptSource::Kind::kTooLarge, "", macros + "\\big.txt"},
      {"dir", ScriptSource::Kind::kNotAFile, "", macros + "\\dir"},
      {"Aux.txt", ScriptSource::Kind::kNotAFile, "", macros + "\\Aux.txt"},
  };
  for (const auto& c : values) {
    const ScriptSource s = ResolveMacro(c.value, macros);
    EXPECT_EQ(std::tie(s.kind, s.script, s.path), std::tie(c.kind, c.script, c.path)) << c.value;
  }
  // The missing and unreadable files' texts are checked by the panel's
  // end-to-end tests.
  EXPECT_EQ(FileRefusedText(ResolveMacro("big.txt", macros)),
            macros + "\\big.txt\r\n\nfile larger than 1 MB - not run");
  EXPECT_EQ(FileRefusedText(ResolveMacro("dir", macros)),
            macros + "\\dir\r\n\nnot a file - not run");
}

}  // namespace
}  // namespace qv::panels
