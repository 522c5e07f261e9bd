// Grid editing on real panel files: every button section holds a label
// naming the position it started at, so each case can say where every
// button went.
#include "editor/grid_ops.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor/setup_fields.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "support/temp_dir.h"

namespace qv::editor {
namespace {

using panels::SetupFields;
using qv::testing::FileBytes;
using qv::testing::TempDir;

SetupFields Fields(int rows, int cols) {
  SetupFields f = {"grid", "1200",           "400", "",   "",   "100", "200", "1", "0",
                   "0",    "-0002147483633", "60",  "60", "80", "120", "60",  "60"};
  f[3] = std::to_string(rows);
  f[4] = std::to_string(cols);
  return f;
}

// A rows x cols panel whose button n is labelled "bn".
std::string MakePanel(const TempDir& t, int rows, int cols) {
  std::string text =
      "[Setup]\r\nRows=" + std::to_string(rows) + "\r\nCols=" + std::to_string(cols) + "\r\n";
  for (int n = 1; n <= rows * cols; ++n)
    text += "[" + panels::SectionName(n) + "]\r\nLabel=b" + std::to_string(n) + "\r\n";
  t.Write("p.ini", text);
  return t.Path("p.ini");
}

using Texts = std::vector<std::string>;

// The labels of positions 1..upTo ("" when the section is empty).
Texts Labels(const std::string& file, int upTo) {
  Texts out;
  for (int n = 1; n <= upTo; ++n)
    out.push_back(profile::ReadKey(file, panels::SectionName(n), "Label", ""));
  return out;
}

struct OpCase {
  const char* name;
  int rows, cols, n;
  GridCommand command;
  int newRows, newCols;
  Texts after;  // positions 1..8 of the file afterwards
};

TEST(GridOps, MovesOnTwoByThreeAndThreeByTwo) {
  const OpCase cases[] = {
      {"swap previous", 2, 3, 2, GridCommand::kSwapPrevious, 2, 3,
       Texts({"b2", "b1", "b3", "b4", "b5", "b6", "", ""})},
      {"swap next across a row end", 2, 3, 3, GridCommand::kSwapNext, 2, 3,
       Texts({"b1", "b2", "b4", "b3", "b5", "b6", "", ""})},
      {"swap up", 2, 3, 5, GridCommand::kSwapUp, 2, 3,
       Texts({"b1", "b5", "b3", "b4", "b2", "b6", "", ""})},
      {"swap below", 3, 2, 3, GridCommand::kSwapBelow, 3, 2,
       Texts({"b1", "b2", "b5", "b4", "b3", "b6", "", ""})},
      {"insert row before row 1", 2, 3, 2, GridCommand::kInsertRowBefore, 3, 3,
       Texts({"", "", "", "b1", "b2", "b3", "b4", "b5"})},
      {"insert row after the last row", 3, 2, 6, GridCommand::kInsertRowAfter, 4, 2,
       Texts({"b1", "b2", "b3", "b4", "b5", "b6", "", ""})},
      {"insert row after row 1", 3, 2, 1, GridCommand::kInsertRowAfter, 4, 2,
       Texts({"b1", "b2", "", "", "b3", "b4", "b5", "b6"})},
      {"remove row 2 of 3 x 2", 3, 2, 4, GridCommand::kRemoveRow, 2, 2,
       Texts({"b1", "b2", "b5", "b6", "", "", "", ""})},
      {"remove the last row moves nothing", 2, 3, 5, GridCommand::kRemoveRow, 1, 3,
       Texts({"b1", "b2", "b3", "b4", "b5", "b6", "", ""})},
      {"insert column before column 1", 2, 3, 4, GridCommand::kInsertColumnBefore, 2, 4,
       Texts({"", "b1", "b2", "b3", "", "b4", "b5", "b6"})},
      {"insert column after column 1 of 3 x 2", 3, 2, 1, GridCommand::kInsertColumnAfter, 3, 3,
       Texts({"b1", "", "b2", "b3", "", "b4", "b5", ""})},
      {"remove column 1", 2, 3, 1, GridCommand::kRemoveColumn, 2, 2,
       Texts({"b2", "b3", "b5", "b6", "", "", "", ""})},
      {"remove column 2", 2, 3, 5, GridCommand::kRemoveColumn, 2, 2,
       Texts({"b1", "b3", "b4", "b6", "b5", "", "", ""})},
      {"remove the last column of 3 x 2", 3, 2, 2, GridCommand::kRemoveColumn, 3, 1,
       Texts({"b1", "b3", "b5", "b4", "", "b6", "", ""})},
  };
  for (const OpCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir t;
    const std::string file = MakePanel(t, c.rows, c.cols);
    const GridResult r = ApplyGridCommand(file, c.command, c.n, Fields(c.rows, c.cols));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(Labels(file, 8), c.after);
    EXPECT_EQ(r.fields[3], std::to_string(c.newRows));
    EXPECT_EQ(r.fields[4], std::to_string(c.newCols));
    // Inserts and removes save the grid size with the moves.
    EXPECT_EQ(profile::ReadKey(file, "Setup", "Rows", ""), std::to_string(c.newRows));
    EXPECT_EQ(profile::ReadKey(file, "Setup", "Cols", ""), std::to_string(c.newCols));
  }
}

TEST(GridOps, GreyingFollowsThePositionInTheGrid) {
  struct Grey {
    int rows, cols, n;
    GridCommand command;
    bool haveCopy, grayed;
  };
  const Grey cases[] = {
      {2, 3, 1, GridCommand::kSwapPrevious, false, true},
      {2, 3, 2, GridCommand::kSwapPrevious, false, false},
      {2, 3, 6, GridCommand::kSwapNext, false, true},
      {2, 3, 5, GridCommand::kSwapNext, false, false},
      {2, 3, 3, GridCommand::kSwapUp, false, true},
      {2, 3, 4, GridCommand::kSwapUp, false, false},
      {3, 2, 5, GridCommand::kSwapBelow, false, true},
      {3, 2, 4, GridCommand::kSwapBelow, false, false},
      {3, 2, 4, GridCommand::kPaste, false, true},
      {3, 2, 4, GridCommand::kPaste, true, false},
      {99, 2, 1, GridCommand::kInsertRowAfter, false, true},
      {2, 99, 1, GridCommand::kInsertColumnBefore, false, true},
      {98, 98, 1, GridCommand::kInsertRowBefore, false, false},
  };
  for (const Grey& c : cases) {
    SCOPED_TRACE(MenuCaption(c.command, c.n, c.cols) + " on " + std::to_string(c.n));
    EXPECT_EQ(IsGrayed(c.command, c.n, c.rows, c.cols, c.haveCopy), c.grayed);
  }
  EXPECT_EQ(MenuCaption(GridCommand::kRemoveRow, 4, 2), "Remove this Row (2)");
  EXPECT_EQ(MenuCaption(GridCommand::kRemoveColumn, 5, 3), "Remove this Column (2)");
}

TEST(GridOps, RefusedCommandsAndFailedReadsOrWritesLeaveTheFileAsItWas) {
  TempDir t;
  const std::string file = MakePanel(t, 2, 3);
  std::string before = FileBytes(file);
  // Buttons outside the grid and greyed moves are refused; columns of 0 and
  // rows of 1000 are corrected before any arithmetic.
  EXPECT_FALSE(ApplyGridCommand(file, GridCommand::kSwapNext, 6, Fields(2, 3)).ok);
  EXPECT_FALSE(ApplyGridCommand(file, GridCommand::kSwapUp, 7, Fields(2, 3)).ok);
  EXPECT_FALSE(ApplyGridCommand(file, GridCommand::kRemoveRow, 1, Fields(0, 3)).ok);
  EXPECT_FALSE(ApplyGridCommand(file, GridCommand::kRemoveRow, 1, Fields(2, 0)).ok);
  EXPECT_EQ(FileBytes(file), before);
  EXPECT_TRUE(ApplyGridCommand(file, GridCommand::kSwapNext, 1, Fields(1000, 3)).ok);
  EXPECT_EQ(Labels(file, 2), Texts({"b2", "b1"}));

  // The rewrite's temporary file cannot be made: the write fails.
  before = FileBytes(file);
  std::filesystem::create_directories(files::NativePath(files::TempPathFor(file)));
  const GridResult r = ApplyGridCommand(file, GridCommand::kRemoveColumn, 1, Fields(2, 3));
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("unchanged"), std::string::npos);
  EXPECT_EQ(FileBytes(file), before);

  // A file that cannot be read is never taken for empty sections.
  const std::string unreadable = t.Path("u.ini");
  std::filesystem::create_directories(files::NativePath(unreadable));
  EXPECT_FALSE(ApplyGridCommand(unreadable, GridCommand::kSwapNext, 1, Fields(2, 3)).ok);
  std::string block;
  EXPECT_FALSE(CopyButton(unreadable, 1, block));
}

TEST(GridOps, CopyPasteDragSwapAndUndo) {
  TempDir t;
  const std::string file = MakePanel(t, 3, 2);
  ASSERT_TRUE(profile::WriteKey(file, "02", "Macro", "|PRESS [ZZ]"));
  const std::string original = FileBytes(file);

  std::string block;
  ASSERT_TRUE(CopyButton(file, 2, block));
  GridUndo undo;
  ASSERT_TRUE(undo.Before(file));
  ASSERT_TRUE(PasteButton(file, 5, block, Fields(3, 2)).ok);
  undo.After(file);
  EXPECT_EQ(profile::ReadKey(file, "05", "Label", ""), "b2");
  EXPECT_EQ(profile::ReadKey(file, "05", "Macro", ""), "|PRESS [ZZ]");

  std::string error;
  ASSERT_TRUE(undo.Restore(file, error)) << error;
  EXPECT_EQ(FileBytes(file), original);
  EXPECT_FALSE(undo.Restore(file, error));

  // A drag onto another cell swaps the two; undo refuses once someone else
  // has written the file after the move.
  ASSERT_TRUE(undo.Before(file));
  ASSERT_TRUE(SwapButtons(file, 1, 6, Fields(3, 2)).ok);
  undo.After(file);
  EXPECT_EQ(Labels(file, 6), Texts({"b6", "b2", "b3", "b4", "b5", "b1"}));
  ASSERT_TRUE(profile::WriteKey(file, "03", "Label", "edited"));
  EXPECT_FALSE(undo.Restore(file, error));
  EXPECT_NE(error.find("changed"), std::string::npos);
  EXPECT_FALSE(SwapButtons(file, 1, 7, Fields(3, 2)).ok);
}

TEST(GridOps, SetupFieldsCorrectWhatEveryReaderCorrects) {
  struct Case {
    const char *rows, *cols, *width, *height;
    int wantRows, wantCols, wantWidth, wantHeight;
  };
  const Case cases[] = {
      {"1000", "0", "10", "5", 2, 0, 1200, 400},
      {"99", "100", "11", "401", 99, 10, 11, 401},
      {"abc", "-3", "x", "", 0, -3, 1200, 400},
  };
  for (const Case& c : cases) {
    SetupFields f = Fields(1, 1);
    f[1] = c.width;
    f[2] = c.height;
    f[3] = c.rows;
    f[4] = c.cols;
    const panels::PanelSetup s = SetupFromFields(f);
    EXPECT_EQ(s.rows, c.wantRows) << c.rows;
    EXPECT_EQ(s.cols, c.wantCols) << c.cols;
    EXPECT_EQ(s.buttonWidth, c.wantWidth) << c.width;
    EXPECT_EQ(s.buttonHeight, c.wantHeight) << c.height;
    EXPECT_EQ(panels::ButtonCount(s), std::max(c.wantRows, 0) * std::max(c.wantCols, 0));
  }
}

}  // namespace
}  // namespace qv::editor
