// The banner record and the shared unit tables.
#include "common/tables.h"

#include <ctime>
#include <string>
#include <utility>

#include "fmtio/io.h"

namespace common {
namespace {

// Program family code and version, columns 1-12 of BANNER.
constexpr std::string_view kFamily = "RUREDO  1.20";
// Platform letter, column 13 of BANNER.
constexpr std::string_view kPlatform = "V";
// Weekday names, entry (serial day mod 7): day numbers divisible by 7 are Sundays.
constexpr std::string_view kWeekdays = "SunMonTueWedThuFriSat";
// Month names, entry month - 1.
constexpr std::string_view kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";

constexpr int kIuBase = 10;

// The platform's local clock, read at the moment of the call.
LocalTime systemClock() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
}

std::function<LocalTime()>& clockSource() {
  static std::function<LocalTime()> source = systemClock;
  return source;
}

// UNITNO entry i = i + IUBASE; every UNITFM letter blank.
void resetUnits(SharedTables& t) {
  for (int i = 0; i < kUnitEntries; ++i) {
    t.unitno[i] = i + 1 + t.iubase;
    t.unitfm[i] = ' ';
  }
}

// Days from 1 January of year 0 (proleptic Gregorian) to the date.
std::int64_t daysFromCivil(int year, int month, int day) {
  std::int64_t y = month <= 2 ? year - 1 : year;
  std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  std::int64_t yoe = y - era * 400;
  std::int64_t mp = (month + 9) % 12;
  std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
  std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe;
}

std::string_view threeLetters(std::string_view list, int index) {
  return list.substr(index * 3, 3);
}

// Columns 1-60: family, platform, serial day, time, weekday, date and stamp.
void writeBannerHead(std::string& banner, const LocalTime& now) {
  std::int32_t day = serialDay(now.year, now.month, now.day);
  int weekday = static_cast<int>(((day % 7) + 7) % 7);
  std::string_view month = threeLetters(kMonths, (now.month + 11) % 12);
  std::int32_t hh = now.hour, mm = now.minute, dd = now.day, yyyy = now.year;
  std::int32_t yy = now.year % 100;
  fmtio::WRITE(fmtio::Internal(banner),
               FMT("(2A,T19,I6,I2.2,':',I2.2,T32,A,1X,I2.2,1X,A,1X,I4,"
                   "'[',I2.2,A,I2.2,'-',2I2.2,']')"),
               kFamily, kPlatform, day, hh, mm, threeLetters(kWeekdays, weekday), dd, month, yyyy,
               dd, month, yy, hh, mm);
}

}  // namespace

SharedTables& tables() {
  static SharedTables shared = [] {
    SharedTables t;
    resetUnits(t);
    return t;
  }();
  return shared;
}

void PROGID(std::string_view title) {
  LocalTime now = clockSource()();
  SharedTables& t = tables();
  t.iubase = kIuBase;
  t.iulist = 0;
  t.banner.assign(kBannerLength, ' ');
  writeBannerHead(t.banner, now);
  std::string_view shown = title.substr(0, kBannerLength - (kTitleColumn - 1));
  t.banner.replace(kTitleColumn - 1, shown.size(), shown);
  resetUnits(t);
  t.intWork.fill(0);
  t.realWork.fill(0.0f);
}

void setClock(std::function<LocalTime()> clock) {
  clockSource() = clock ? std::move(clock) : std::function<LocalTime()>(systemClock);
}

std::int32_t UNITNO(int entry) {
  const SharedTables& t = tables();
  if (entry < 1 || entry > kUnitEntries) return entry + t.iubase;
  return t.unitno[entry - 1];
}

char unitFormat(int unit) {
  const SharedTables& t = tables();
  int entry = unit - t.iubase;
  if (entry < 1 || entry > kUnitEntries) return '-';
  return t.unitfm[entry - 1];
}

void setUnitFormat(int unit, char letter) {
  SharedTables& t = tables();
  int entry = unit - t.iubase;
  if (entry < 1 || entry > kUnitEntries) return;
  t.unitfm[entry - 1] = letter;
}

char titleFlag() { return tables().banner[kTitleFlagColumn - 1]; }

void setTitleFlag(char flag) { tables().banner[kTitleFlagColumn - 1] = flag; }

char platformLetter() { return tables().banner[kPlatformColumn - 1]; }

std::string_view dateStamp() {
  return std::string_view(tables().banner).substr(kStampColumn - 1, kStampLength);
}

std::int32_t serialDay(int year, int month, int day) {
  return static_cast<std::int32_t>(daysFromCivil(year, month, day) - daysFromCivil(1934, 12, 30));
}

}  // namespace common
