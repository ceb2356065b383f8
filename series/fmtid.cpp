// Format identification: a guess from the first lines, then the user's word.
#include "series/fmtid.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "common/tables.h"
#include "common/text.h"
#include "dialogue/ask.h"
#include "dialogue/fileop.h"
#include "fmtio/io.h"
#include "fmtio/stop.h"

namespace series {
namespace {

constexpr std::size_t kLineLength = 80;
// Lines read by the compact test and by the column tests.
constexpr int kCompactLines = 8;
constexpr int kColumnLines = 50;
// Lines shown before the question.
constexpr int kShownLines = 6;

// Letters the format menu accepts.
constexpr std::string_view kMenuLetters = "CMAIS12TVX-";
// Characters allowed in columns 9-80 of a line the column tests examine.
constexpr std::string_view kNumericChars = "0123456789 -+.";
// Marker line of the files the program refuses, and the stop message.
constexpr std::string_view kFire2Marker = "FIRE2 FORMAT";
constexpr std::string_view kFire2Stop = "File is FIRE2 FORMAT";
// The digits under the ruler's colons.
constexpr std::array<std::int32_t, 8> kRulerDigits = {1, 2, 3, 4, 5, 6, 7, 8};

// Columns that must all be blank for a letter: first, step, count (1-based).
struct BlankColumns {
  char letter;
  int first, step, count;
};
// T: the first column of each F5.1 field of "(I4,12F5.1)" and the one after;
// M: the first column of each I6 field of the measurement layout and the one after.
constexpr std::array<BlankColumns, 2> kBlankColumnTests = {{{'T', 5, 5, 13}, {'M', 13, 6, 11}}};
// I: the value fields of the index layout, one of which must hold the filler.
constexpr int kIndexFirstColumn = 11, kIndexStep = 7, kIndexFields = 10;
constexpr std::string_view kIndexFiller = "9990";
// The first column the last non-blank character may stand in for the column tests.
constexpr int kColumnTestMinLast = 64;
// A: the column of the line's first decimal point.
constexpr int kAccuriteDotColumn = 9;

void rewind(std::int32_t unit) {
  std::string name(kLineLength / 2, ' ');
  dialogue::FILEOP(unit, name, 0, ">R");
}

// Reads the next line into line; false at the end of the file. A read error
// leaves line as it was.
bool readLine(std::int32_t unit, std::string& line) {
  int rc = fmtio::READ(fmtio::Control::catching(unit), FMT("(A)"), line);
  return rc != fmtio::kOutcomeEnd;
}

bool isCompactHeader(const std::string& line) {
  char last = line[static_cast<std::size_t>(common::LASTNB(line)) - 1];
  return last == '~' || last == '@';
}

bool columnsBlank(const std::string& line, const BlankColumns& test) {
  for (int i = 0; i < test.count; ++i)
    if (line[static_cast<std::size_t>(test.first + i * test.step - 1)] != ' ') return false;
  return true;
}

bool hasIndexFiller(const std::string& line) {
  for (int k = 0; k < kIndexFields; ++k)
    if (line.compare(static_cast<std::size_t>(kIndexFirstColumn - 1 + k * kIndexStep),
                     kIndexFiller.size(), kIndexFiller) == 0)
      return true;
  return false;
}

// T, M or I by the column rules, or blank.
char columnLetter(const std::string& line) {
  if (common::LASTNB(line) < kColumnTestMinLast) return ' ';
  if (line.find_first_not_of(kNumericChars, 8) != std::string::npos) return ' ';
  for (const BlankColumns& test : kBlankColumnTests)
    if (columnsBlank(line, test)) return test.letter;
  return hasIndexFiller(line) ? 'I' : ' ';
}

// The letter one line decides, or blank; a FIRE2 marker ends the run.
char lineLetter(const std::string& line) {
  if (char letter = columnLetter(line); letter != ' ') return letter;
  if (line.find('.') == static_cast<std::size_t>(kAccuriteDotColumn - 1)) return 'A';
  if (line.compare(0, kFire2Marker.size(), kFire2Marker) == 0) fmtio::STOP(kFire2Stop);
  return ' ';
}

// The letter the first lines suggest, or blank; the unit is left rewound.
char detect(std::int32_t unit) {
  std::string line(kLineLength, ' ');
  rewind(unit);
  for (int i = 0; i < kCompactLines && readLine(unit, line); ++i)
    if (isCompactHeader(line)) return 'C';
  rewind(unit);
  for (int i = 0; i < kColumnLines && readLine(unit, line); ++i)
    if (char letter = lineLetter(line); letter != ' ') return letter;
  return ' ';
}

// The menu and its question until a menu letter (or a blank, "-") is given;
// blank after an unknown answer.
char chooseFromMenu() {
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' FORMAT'/' C: Compact'/' M: Measurements'/' I: Indices or chronology'/"
                   "' A: Accurite measurements'/' T: Meteorological'/"
                   "' S: Spreadsheet (casewise)'/' 1: Single column of values'/"
                   "' 2: Two columns: year, value'/' V: Two columns: value, year'/' X: User'/"
                   "' -: Not data')"));
  std::string answer(1, ' ');
  dialogue::ASKSTR("    FORMAT of file", answer);
  if (answer[0] == ' ') answer[0] = '-';
  if (kMenuLetters.find(answer[0]) != std::string_view::npos) return answer[0];
  dialogue::BELLUP();
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' >> Unknown format'/)"));
  return ' ';
}

// "Format is M  Is this correct?  <Y>/N": false when the user answers N.
bool confirmed(char letter) {
  std::string question = "Format is ";
  question += letter;
  question += "  Is this correct?  <Y>/N";
  std::string answer(1, ' ');
  dialogue::ASKSTR(question, answer);
  return answer[0] != 'N';
}

}  // namespace

void FMTID(std::int32_t unit) {
  char letter = FMTDET(unit);
  for (;;) {
    SHOWFL(unit, kShownLines);
    if (letter == 'C') break;
    if (letter != ' ' && confirmed(letter)) break;
    letter = chooseFromMenu();
    if (letter != ' ') break;
  }
  common::setUnitFormat(unit, letter);
}

char FMTDET(std::int32_t unit) {
  char letter = detect(unit);
  rewind(unit);
  return letter;
}

void SHOWFL(std::int32_t unit, std::int32_t lines) {
  rewind(unit);
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("('+First',I3,' lines'))"), lines);
  std::size_t shown = common::platformLetter() == 'V' ? kLineLength : kLineLength - 1;
  std::string line(kLineLength, ' ');
  for (std::int32_t i = 0; i < lines; ++i) {
    if (fmtio::READ(fmtio::Control::catching(unit), FMT("(A)"), line) == fmtio::kOutcomeEnd) break;
    for (char& c : line)
      if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) c = '_';
    fmtio::WRITE(fmtio::kConsoleOutput, FMT("(1X,A)"), std::string_view(line).substr(0, shown));
  }
  rewind(unit);
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("(1X,8('....:....',I1))"),
               std::span<const std::int32_t>(kRulerDigits));
}

}  // namespace series
