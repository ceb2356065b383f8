// The banner record and the unit tables PROGID builds and resets.
#include "common/tables.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/console_script.h"

namespace common {
namespace {

using testing_support::ConsoleScript;

// Runs PROGID with the clock fixed at the given moment; counts clock reads.
std::string bannerAt(const LocalTime& now, std::string_view title, int& reads) {
  setClock([now, &reads] { return ++reads, now; });
  ConsoleScript script;
  script.run([&] { PROGID(title); });
  setClock(nullptr);
  EXPECT_EQ(script.out(), "");
  return tables().banner;
}

TEST(SerialDay, CountsDaysFromThe30thOfDecember1934) {
  EXPECT_EQ(serialDay(1934, 12, 31), 1);
  EXPECT_EQ(serialDay(1935, 1, 1), 2);
  EXPECT_EQ(serialDay(2000, 1, 1), 23743);
  EXPECT_EQ(serialDay(2000, 3, 1) - serialDay(2000, 2, 28), 2);  // leap century
  EXPECT_EQ(serialDay(2100, 3, 1) - serialDay(2100, 2, 28), 1);  // common century
  EXPECT_EQ(serialDay(2005, 3, 4), 25632);
  EXPECT_EQ(serialDay(1900, 3, 1), -12722);
}

TEST(Banner, HoldsDayTimeWeekdayDateStampAndTitle) {
  const std::string title = "EDIT TIME SERIES";
  struct Case {
    LocalTime now;
    std::string title;
    const char* wantHead;  // columns 1-60
    std::string wantTail;  // columns 61-128
  } cases[] = {
      {{2005, 3, 4, 15, 32},
       title,
       "RUREDO  1.20V      2563215:32  Fri 04 Mar 2005[04Mar05-1532]",
       title + std::string(52, ' ')},
      {{2000, 1, 1, 0, 0},
       "",
       "RUREDO  1.20V      2374300:00  Sat 01 Jan 2000[01Jan00-0000]",
       std::string(68, ' ')},
      {{2009, 12, 5, 7, 5},
       title,
       "RUREDO  1.20V      2736907:05  Sat 05 Dec 2009[05Dec09-0705]",
       title + std::string(52, ' ')},
      {{1934, 12, 30, 23, 59},
       std::string(67, 'T') + "EX",
       "RUREDO  1.20V          023:59  Sun 30 Dec 1934[30Dec34-2359]",
       std::string(67, 'T') + "E"},
  };
  for (const Case& c : cases) {
    int reads = 0;
    std::string banner = bannerAt(c.now, c.title, reads);
    EXPECT_EQ(reads, 1) << c.wantHead;
    EXPECT_EQ(banner.substr(0, 60), c.wantHead);
    EXPECT_EQ(banner.substr(60), c.wantTail) << c.wantHead;
  }
}

// The named columns read the fields the banner's layout puts there: the
// session stamps title lines with dateStamp(), FMTID asks platformLetter().
TEST(Banner, NamedColumnsReadTheirFields) {
  struct Case {
    LocalTime now;
    const char* wantStamp;
  } cases[] = {
      {{2005, 3, 4, 15, 32}, "[04Mar05-1532]"},
      {{1934, 12, 30, 23, 59}, "[30Dec34-2359]"},
  };
  for (const Case& c : cases) {
    int reads = 0;
    std::string banner = bannerAt(c.now, std::string(80, 'T'), reads);
    EXPECT_EQ(dateStamp(), c.wantStamp);
    EXPECT_EQ(platformLetter(), 'V') << c.wantStamp;
    EXPECT_EQ(banner.find('T'), kTitleColumn - 1) << c.wantStamp;
    setTitleFlag('2');
    EXPECT_EQ(tables().banner[kTitleFlagColumn - 1], '2') << c.wantStamp;
    EXPECT_EQ(dateStamp(), c.wantStamp) << "the flag stays in its column";
  }
}

TEST(UnitTables, ProgidResetsEveryTable) {
  SharedTables& t = tables();
  t.iubase = 20;
  t.iulist = 3;
  t.unitfm.fill('M');
  t.intWork.fill(7);
  t.realWork.fill(2.5f);
  setTitleFlag('1');
  EXPECT_EQ(t.banner[kTitleFlagColumn - 1], '1');
  ConsoleScript script;
  script.run([] { PROGID("EDIT TIME SERIES"); });
  EXPECT_EQ(t.iubase, 10);
  EXPECT_EQ(t.iulist, 0);
  EXPECT_EQ(titleFlag(), ' ');
  for (int i = 1; i <= kUnitEntries; ++i) {
    EXPECT_EQ(UNITNO(i), i + 10) << "entry " << i;
    EXPECT_EQ(unitFormat(i + 10), ' ') << "entry " << i;
  }
  EXPECT_EQ(t.intWork, decltype(t.intWork){});
  EXPECT_EQ(t.realWork, decltype(t.realWork){});
}

TEST(UnitTables, FormatLetterIsKeptPerUnitInsideTheTable) {
  ConsoleScript script;
  script.run([] { PROGID("EDIT TIME SERIES"); });
  for (int unit : {11, 12, 74, 10, 75}) setUnitFormat(unit, static_cast<char>('0' + unit % 10));
  EXPECT_EQ(tables().unitfm[0], '1');
  EXPECT_EQ(unitFormat(12), '2');
  EXPECT_EQ(tables().unitfm[63], '4');
  EXPECT_EQ(unitFormat(13), ' ');
  EXPECT_EQ(unitFormat(10), '-');  // outside the table: no letter
  EXPECT_EQ(unitFormat(75), '-');
}

}  // namespace
}  // namespace common
