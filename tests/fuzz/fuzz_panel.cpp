// Fuzzes the panel-file reader: the input becomes a panel file, which is read
// as the running panel and the layout editor read it, laid out as a grid,
// loaded button by button in both looks, and checked by the script checker.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "panels/panel_file.h"
#include "panels/panel_profile.h"
#include "panels/script_check.h"
#include "platform/files.h"

namespace {

using namespace qv::panels;

struct Folder {
  std::string root;
  std::string file;
  Folder() {
    root = (std::filesystem::temp_directory_path() / "qv_fuzz_panel").string();
    std::filesystem::create_directories(root);
    qv::files::CreateFolder(root + "\\Macro");
    file = root + "\\P.ini";
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Folder folder;
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (!qv::files::WriteAtomic(folder.file, text)) return 0;

  const SnapshotReader snap(folder.file);
  for (SetupReader which : {SetupReader::kRunningPanel, SetupReader::kLayoutEditor}) {
    const PanelSetup s = ReadSetup(snap, which);
    if (s.buttonWidth <= 10 || s.buttonHeight <= 10) __builtin_trap();
    if (s.rows >= 100 || s.cols >= 100) __builtin_trap();
    (void)GridWidth(s);
    (void)GridHeight(s);
    const int32_t count = ButtonCount(s);
    if (count < 0 || count > 99 * 99) __builtin_trap();
    const CellSize cell = ParseCellTag(CellTag(s.buttonWidth, s.buttonHeight));
    // Every button follows the same rules: the first 100 and the last one
    // stand for a large grid, and keep the fuzzer fast.
    for (int32_t n = 1; n <= count; n = (n == 100 && count > 101) ? count : n + 1) {
      const Rect r = CellRect(s, n);
      (void)r;
      for (bool down : {false, true}) {
        const ButtonLook b = LoadButtonLook(snap, n, down, cell, s.spacingX, s.spacingY);
        if (b.expandX < 1 || b.expandY < 1 || !(b.fontSize > 0)) __builtin_trap();
        if (b.tag.size() > 254 || b.caption.size() > 254) __builtin_trap();
        (void)ResolveColor(b.backColor, nullptr);
        (void)IsHideTag(b.tag);
      }
      (void)ReadButtonType(snap, n);
    }
  }
  if (ButtonCount(ReadSetup(snap, SetupReader::kRunningPanel)) <= 400) {
    CheckOptions options;
    options.macroFolder = folder.root + "\\Macro";
    (void)CheckPanelFile(folder.file, options);
  }
  (void)ParseCellTag(text);
  return 0;
}
