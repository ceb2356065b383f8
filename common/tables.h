// The run's banner record and the shared unit tables, one area for the whole
// program, reset by PROGID; the series readers and writers, the dialogue and
// the session all reach them from here.
//
// BANNER (128 columns): family and version, the platform letter in column
// 13, the Title flag in column 14 (owned by the series readers), serial day
// number, time, weekday, date, the 14-character date stamp in columns 47-60
// and the program's title from column 61. UNITNO entry i is unit i + IUBASE;
// UNITFM holds one data-format letter per entry.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace common {

// The columns of BANNER (1-based), each named once.
constexpr std::size_t kBannerLength = 128;
constexpr std::size_t kPlatformColumn = 13;
constexpr std::size_t kTitleFlagColumn = 14;
constexpr std::size_t kStampColumn = 47;  // the date stamp, columns 47-60
constexpr std::size_t kStampLength = 14;
constexpr std::size_t kTitleColumn = 61;  // the title, to the end of BANNER

constexpr int kUnitEntries = 64;
constexpr int kWorkSize = 4096;

struct LocalTime {
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0;
};

struct SharedTables {
  std::string banner = std::string(kBannerLength, ' ');
  std::int32_t iubase = 10;
  std::int32_t iulist = 0;
  std::array<std::int32_t, kUnitEntries> unitno{};
  std::array<char, kUnitEntries> unitfm{};
  std::array<std::int32_t, kWorkSize> intWork{};
  std::array<float, kWorkSize> realWork{};
};

// The one shared area.
SharedTables& tables();

// Builds BANNER from the local clock (read once) and the title, and resets
// the unit tables and work arrays.
void PROGID(std::string_view title);

// Replaces the local clock (tests fix the time); an empty function restores it.
void setClock(std::function<LocalTime()> clock);

// Unit number of UNITNO entry (1-based).
std::int32_t UNITNO(int entry);
// The UNITFM letter of a unit (entry unit - IUBASE). A unit outside the table
// has no letter: reading gives '-', writing is ignored.
char unitFormat(int unit);
void setUnitFormat(int unit, char letter);

// Column 14 of BANNER: the Title flag of the series readers.
char titleFlag();
void setTitleFlag(char flag);
// Column 13 of BANNER: the platform letter.
char platformLetter();
// Columns 47-60 of BANNER: the run's date stamp.
std::string_view dateStamp();

// Serial day number: days from 30 December 1934 (31 December 1934 is day 1).
std::int32_t serialDay(int year, int month, int day);

}  // namespace common
