// The plain parts behind the frame's commands: the timer table, the page
// plan of a print, deleting the selected word, the pixel buffer of a BMP
// capture and the About box's address text.
#include <gtest/gtest.h>

#include "console/bmp_file.h"
#include "console/console_text.h"
#include "console/print_plan.h"
#include "console/system_info.h"
#include "console/timer_table.h"

namespace console {
namespace {

TEST(TimerTable, HoldsOneHundredTimersAndRefusesTheNext) {
  TimerTable table;
  int calls = 0;
  for (int k = 0; k < kTimerEntries; ++k) ASSERT_TRUE(table.add(k + 1, [&] { ++calls; })) << k;
  EXPECT_TRUE(table.full());
  EXPECT_FALSE(table.add(500, [&] { ++calls; }));
  EXPECT_EQ(table.fire(500), 0);
  table.remove(37);
  EXPECT_FALSE(table.full());
  EXPECT_EQ(table.fire(37), 0);
  EXPECT_TRUE(table.add(500, [&] { calls += 10; }));
  EXPECT_EQ(table.fire(500), 1);
  EXPECT_EQ(calls, 10);
}

TEST(TimerTable, FiresEveryEntryOfTheIdentifier) {
  TimerTable table;
  std::string trace;
  table.add(7, [&] { trace += 'a'; });
  table.add(8, [&] { trace += 'b'; });
  table.add(7, [&] { trace += 'c'; });
  EXPECT_EQ(table.fire(7), 2);
  EXPECT_EQ(trace, "ac");
  table.remove(7);
  EXPECT_EQ(table.inUse(), 1);
}

struct PlanCase {
  int lines, perPage;
  PageRange range;
  int firstLine, lastLine, pages;
};

TEST(PrintPlan, ChoosesTheLinesOfThePageRange) {
  const PlanCase cases[] = {
      {130, 60, {}, 1, 130, 3},
      {130, 60, {2, 2, true}, 61, 120, 1},
      {130, 60, {1, 3, true}, 1, 130, 3},
      {130, 60, {3, 5, true}, 121, 130, 1},
      {130, 60, {4, 4, true}, 181, 130, 0},  // past the text: nothing
      {120, 60, {}, 1, 120, 2},
      {0, 60, {}, 1, 0, 0},
  };
  for (const PlanCase& c : cases) {
    const PrintPlan plan = planPrint(c.lines, c.perPage, c.range);
    const std::string row = std::to_string(c.lines) + " lines, pages " +
                            std::to_string(c.range.first) + "-" + std::to_string(c.range.last);
    EXPECT_EQ(plan.firstLine, c.firstLine) << row;
    EXPECT_EQ(plan.lastLine, c.lastLine) << row;
    EXPECT_EQ(plan.pages(), c.pages) << row;
  }
}

TEST(PrintPlan, LinesPerPageIsThePageHeightInWholeLines) {
  EXPECT_EQ(linesPerPage(1100, 18), 61);
  EXPECT_EQ(linesPerPage(1080, 18), 60);
  EXPECT_EQ(linesPerPage(10, 18), 1) << "at least one line to a page";
  EXPECT_EQ(linesPerPage(1000, 0), 1);
}

// The answer "one two three" typed, the caret at a column, a word selected.
struct DeleteCase {
  int caret;
  int selectAt;
  std::string want;
  int wantCaret;
};

TEST(DeleteSelection, MovesTheCaretBackOverDeletedText) {
  const DeleteCase cases[] = {
      {13, 4, "one  three", 10},  // caret after the word: back by its length
      {5, 4, "one  three", 4},    // caret inside the word: to its start
      {2, 4, "one  three", 2},    // caret before the word: stays
      {13, 0, " two three", 10},
  };
  for (const DeleteCase& c : cases) {
    ConsoleText text;
    text.resize(80, 25);
    text.typeText("one two three");
    while (text.caretColumn() > c.caret) text.caretLeft();
    ASSERT_TRUE(text.selectWordAt(0, c.selectAt));
    text.deleteSelection();
    EXPECT_EQ(text.line(0), c.want) << "caret " << c.caret << ", word at " << c.selectAt;
    EXPECT_EQ(text.caretColumn(), c.wantCaret) << "caret " << c.caret << ", word at " << c.selectAt;
    EXPECT_FALSE(text.hasSelection());
  }
}

TEST(DeleteSelection, OnAnEarlierLineLeavesTheCaret) {
  ConsoleText text;
  text.resize(80, 25);
  text.write("alpha beta\rgamma");
  ASSERT_TRUE(text.selectWordAt(0, 7));
  text.deleteSelection();
  EXPECT_EQ(text.line(0), "alpha ");
  EXPECT_EQ(text.caretColumn(), 5);
}

struct BufferCase {
  int width, height, bits;
  std::size_t imageSize, buffer;
};

// The buffer holds whichever is bigger: the header's image size or the
// rows as the screen delivers them (each ending on 4 bytes).
TEST(BmpPixelBuffer, IsTheBiggerOfImageSizeAndAlignedRows) {
  const BufferCase cases[] = {
      {640, 480, 24, 921600, 921600},
      {641, 2, 24, 2 * 81 * 24, 2 * 81 * 24},  // the formula exceeds 2 × 1924
      {9, 2, 1, 4, 8},                         // rows of 4 bytes, formula 2 a row
      {10, 3, 4, 3 * 2 * 4, 3 * 8},
      {3, 1, 32, 32, 32},
  };
  for (const BufferCase& c : cases) {
    const BmpPicture picture{c.width, c.height, 1, c.bits, {}, {}};
    EXPECT_EQ(bmpLayout(picture).imageSize, c.imageSize)
        << c.width << "x" << c.height << "x" << c.bits;
    EXPECT_EQ(pixelBufferSize(picture), c.buffer) << c.width << "x" << c.height << "x" << c.bits;
    EXPECT_GE(pixelBufferSize(picture), rowBytes(c.width, bmpLayout(picture).bits) * c.height);
  }
}

TEST(AboutBox, AddressesAreLowerCaseHexWithPrefix) {
  EXPECT_EQ(hexAddress(0x10000), "0x10000");
  EXPECT_EQ(hexAddress(0x7FFFFFFEFFFF), "0x7ffffffeffff");
  const SystemInfo info = systemInfo();
  EXPECT_GT(info.pageSize, 0);
  EXPECT_LT(info.minimumAddress, info.maximumAddress);
  EXPECT_GT(info.processorCount, 0);
  EXPECT_FALSE(info.processorType.empty());
}

}  // namespace
}  // namespace console
