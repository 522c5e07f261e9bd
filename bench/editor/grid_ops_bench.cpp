// A row insert on a full 98 x 99 panel file (9 702 button sections of three
// keys; 98 rows, so that the insert may still grow the grid to 99) against
// its floor: rewriting the same file once. Each timed run inserts row 1 and
// removes it again (two operations, the file ends as it began); the floor
// run rewrites the file twice. A grid operation reads the file and rewrites
// it: the run fails when one costs more than four rewrites.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/bench.h"
#include "editor/grid_ops.h"
#include "editor/setup_fields.h"
#include "panels/panel_file.h"
#include "panels/panel_profile.h"
#include "platform/files.h"
#include "platform/profile.h"

int main() {
  using namespace qv;
  const std::filesystem::path folder = qv::bench::ScratchFolder("qv_grid_ops_bench");
  const std::string file = (folder / "big.ini").string();
  constexpr int kRows = 98, kCols = 99;
  std::string text = panels::SetupTemplate("big");
  text.replace(text.find("Rows=2"), 6, "Rows=" + std::to_string(kRows));
  text.replace(text.find("Cols=10"), 7, "Cols=" + std::to_string(kCols));
  for (int n = 1; n <= kRows * kCols; ++n)
    text += "[" + panels::SectionName(n) + "]\r\nLabel=button " + std::to_string(n) +
            "\r\nMacro=|SEND_TEXT hello " + std::to_string(n) + "\r\nColor=0000000000255\r\n";
  if (!files::WriteAtomic(file, text)) return 2;

  const panels::SetupFields fields =
      editor::LoadSetupFields(panels::ProfileReader(file), 19200, 15360, 6000, 4000);
  bench::Report report("Grid editing on a 98 x 99 panel file (" +
                       std::to_string(text.size() / 1024) + " KB)");
  bool ok = true;
  report.Add(bench::Measure("floor: two rewrites", 20, [&] {
    for (const char* v : {"a", "b"}) {
      profile::Batch b;
      b.WriteKey("Setup", "Bench", v);
      ok = b.Commit(file) && ok;
    }
  }));
  report.Add(bench::Measure("insert row 1, remove row 1", 20, [&] {
    const editor::GridResult in =
        editor::ApplyGridCommand(file, editor::GridCommand::kInsertRowBefore, 1, fields);
    const editor::GridResult out =
        editor::ApplyGridCommand(file, editor::GridCommand::kRemoveRow, 1, in.fields);
    ok = in.ok && out.ok && ok;
  }));
  report.Print("floor: two rewrites");
  std::filesystem::remove_all(folder);
  // By the best runs, and by the medians when those say less: on a shared
  // machine either can be thrown by a burst of load on one side (a lucky
  // floor run), but a real slowdown shows in both.
  const bench::Result* op = report.Find("insert row 1, remove row 1");
  const bench::Result* floor = report.Find("floor: two rewrites");
  const double ratio = std::min(op->min_ms / floor->min_ms, op->median_ms / floor->median_ms);
  std::printf("grid operation / rewrite: %.2f\n", ratio);
  if (!ok) return 1;
  return ratio <= 4.0 ? 0 : 1;
}
