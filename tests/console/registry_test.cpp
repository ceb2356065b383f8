// The console window registry and the cutting of standard-stream output.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "console/stream_blocks.h"
#include "console/window_registry.h"

namespace console {
namespace {

struct Window {
  int id = 0;
};
using Registry = WindowRegistry<Window>;

TEST(WindowRegistry, StandardUnitsShareTheFirstWindow) {
  Registry registry;
  Window io;
  ASSERT_TRUE(registry.registerUnit(-1));
  ASSERT_TRUE(registry.attach(&io));
  EXPECT_EQ(registry.find(-1), &io);
  EXPECT_EQ(registry.find(-6), &io);
  EXPECT_EQ(registry.unitOfEntry(0), -6) << "the entry takes the unit looked up";
  EXPECT_EQ(registry.find(7), nullptr);
}

TEST(WindowRegistry, AWindowTakesTheLatestRegistration) {
  Registry registry;
  Window io, seven, again;
  registry.registerUnit(-1);
  registry.attach(&io);
  registry.registerUnit(7);
  registry.attach(&seven);
  EXPECT_EQ(registry.find(7), &seven);
  EXPECT_EQ(registry.openCount(), 2);
  // Reopening the unit gives it a new entry and a new window.
  registry.registerUnit(7);
  registry.attach(&again);
  EXPECT_EQ(registry.find(7), &again);
  EXPECT_EQ(registry.registeredCount(), 3);
  // Closing empties the entry but keeps it.
  registry.detach(&again);
  EXPECT_EQ(registry.find(7), nullptr);
  EXPECT_EQ(registry.openCount(), 2);
  EXPECT_EQ(registry.registeredCount(), 3);
  EXPECT_FALSE(registry.holds(&again));
  EXPECT_TRUE(registry.holds(&seven));
}

TEST(WindowRegistry, AHundredWindowsAtMost) {
  Registry registry;
  std::array<Window, kRegistryEntries + 1> windows;
  for (int k = 0; k < kRegistryEntries; ++k) {
    ASSERT_TRUE(registry.registerUnit(k + 10));
    ASSERT_TRUE(registry.attach(&windows[k]));
  }
  EXPECT_EQ(registry.openCount(), kRegistryEntries);
  EXPECT_FALSE(registry.registerUnit(500)) << "every entry holds an open window";
  EXPECT_FALSE(registry.attach(&windows[kRegistryEntries]));
  // A closed window's entry is reused once all entries have been used.
  registry.detach(&windows[40]);
  ASSERT_TRUE(registry.registerUnit(500));
  ASSERT_TRUE(registry.attach(&windows[kRegistryEntries]));
  EXPECT_EQ(registry.find(500), &windows[kRegistryEntries]);
  EXPECT_EQ(registry.find(50), nullptr);
  EXPECT_EQ(registry.openCount(), kRegistryEntries);
}

struct BlocksCase {
  const char* what;
  std::string bytes;
  std::vector<std::string> want;
};

TEST(ConsoleBlocks, LineFeedsEndBlocksAndBecomeCrLf) {
  const BlocksCase cases[] = {
      {"a record", "abc\r\n", {"abc\r\n"}},
      {"an open record", " Select => ", {" Select => "}},
      {"a runtime message",
       "? FORTRAN Runtime Error:\n? Bad\n",
       {"? FORTRAN Runtime Error:\r\n", "? Bad\r\n"}},
      {"records in one piece", "a\r\nb\r\nc", {"a\r\n", "b\r\n", "c"}},
      {"reversed line ends stay", "a\n\rb\n\r", {"a\n", "\rb\n", "\r"}},
      {"nothing", "", {}},
  };
  for (const BlocksCase& c : cases) EXPECT_EQ(consoleBlocks(c.bytes), c.want) << c.what;
}

TEST(ConsoleBlocks, LongLinesGoInPiecesOf256) {
  const std::string line(600, 'x');
  std::vector<std::string> blocks = consoleBlocks(line + "\n");
  ASSERT_EQ(blocks.size(), 3u);
  EXPECT_EQ(blocks[0].size(), 256u);
  EXPECT_EQ(blocks[1].size(), 256u);
  EXPECT_EQ(blocks[2], std::string(88, 'x') + "\r\n");
  // A CR LF pair at the cut stays together.
  blocks = consoleBlocks(std::string(255, 'y') + "\n");
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0], std::string(255, 'y'));
  EXPECT_EQ(blocks[1], "\r\n");
}

}  // namespace
}  // namespace console
