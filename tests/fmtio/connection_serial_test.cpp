// The serial number that tells what a connection reads: new for every
// OPEN, new again whenever writing starts, never given twice.
#include <gtest/gtest.h>

#include <set>

#include "console_capture.h"
#include "fmtio/io.h"
#include "fmtio/unit_kinds.h"

namespace fmtio {
namespace {

using units_testing::ConsoleCaptureTest;

class ConnectionSerialTest : public ConsoleCaptureTest {
 protected:
  std::uint64_t serialOf(int unit) {
    ConnectedUnit* u = connectedUnit(unit, StatementKind::Read);
    return u == nullptr ? 0 : u->serial();
  }
  void open(int unit, const std::string& name) {
    OpenSpec spec;
    spec.file = dir + "/" + name;
    ASSERT_EQ(OPEN(Control::of(unit), spec), kCompleted);
  }
};

TEST_F(ConnectionSerialTest, ChangesWithEveryOpenAndEveryStartOfWriting) {
  std::set<std::uint64_t> seen;
  open(20, "a.txt");
  const std::uint64_t first = serialOf(20);
  seen.insert(first);
  std::string line(4, ' ');
  Control c = Control::of(20);
  c.end = true;
  EXPECT_EQ(READ(c, FMT("(A)"), line), kOutcomeEnd) << "the new file is empty";
  EXPECT_EQ(serialOf(20), first) << "reading keeps it";
  WRITE(20, FMT("(A)"), "one");
  const std::uint64_t written = serialOf(20);
  EXPECT_TRUE(seen.insert(written).second) << "writing gives a new one";
  WRITE(20, FMT("(A)"), "two");
  EXPECT_EQ(serialOf(20), written) << "the same stretch of writing";
  REWIND(Control::of(20));
  EXPECT_EQ(READ(c, FMT("(A)"), line), kCompleted);
  EXPECT_EQ(serialOf(20), written);
  CLOSE(Control::of(20));
  open(20, "a.txt");
  EXPECT_TRUE(seen.insert(serialOf(20)).second) << "the same unit and file opened again";
  open(21, "b.txt");
  EXPECT_TRUE(seen.insert(serialOf(21)).second) << "another unit";
}

}  // namespace
}  // namespace fmtio
