// The edit session: start, file selection, format choice, title lines, the
// series loop with its command cycle, copying, and the end of the run.
#include "app/session.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/commands.h"
#include "app/edits.h"
#include "dialogue/ask.h"
#include "dialogue/fileop.h"
#include "dialogue/tables.h"
#include "fmtio/io.h"
#include "fmtio/stop.h"
#include "series/datol.h"
#include "series/writers.h"

namespace app {
namespace {

constexpr int kConsole = 6;
constexpr int kNameLength = 40;
constexpr int kTitleLength = 80;
// Title lines shorter than this get the date stamp in columns 66 to 79.
constexpr int kStampColumn = 66;
constexpr std::string_view kStopMessage = "- = [ ] = -";

// The state of the whole run.
struct Session {
  CurrentSeries current;
  std::int32_t inUnit = 0;
  std::int32_t outUnit = 0;
  std::int32_t sequence = 0;   // series read so far
  std::int32_t copied = 0;     // series written to the new file
  std::int32_t copyUntil = 0;  // "S": copy without asking below this sequence number
  // The latest answer to the command prompt; "S" and "T" are also the
  // automatic copy modes, "_" ends an "S" run. Kept from series to series.
  std::string letter = std::string(1, ' ');
  char outputFormat = ' ';
  // The existing file's name, then the new file's.
  std::string fileName = std::string(kNameLength, ' ');
  char stampFlag = ' ';
  std::string title = std::string(kTitleLength, ' ');
};

// What the command cycle does after a command.
enum class After { Cycle, NextSeries };

struct Command {
  char letter;
  After (*run)(Session&);
};

// Output format letter -> request code of the measurement writer; every other
// letter writes the compact format.
struct MeasurementOutput {
  char letter;
  std::string_view request;
};
constexpr MeasurementOutput kMeasurementOutputs[] = {{'3', "3W"}, {'M', "MW"}};
constexpr std::string_view kCompactRequest = "C";

void greet() {
  fmtio::WRITE(kConsole, FMT("(8X,63('-'))"));
  fmtio::WRITE(kConsole,
               FMT("(/' This program creates from an existing file of tim','e series, a new "
                   "file with'/' the capability for editing eac','h time series as it is "
                   "copied to the new file.'/' In editin','g a given time series, you may "
                   "insert, change or delete value','s;'/' truncate the series at the "
                   "beginning and/or end; and ','adjust the dating'/' of the series.  Any "
                   "combination of the','se steps may be done.  Each series'/' may be copied "
                   "intact,',' edited and copied, or omitted in the new file.')"));
}

void askOutputFormat(Session& s) {
  fmtio::WRITE(kConsole, FMT("(/' Format for new edited data file:'/7X,'<C>  Compact format'/8X,"
                             "'M:  Measurement .01  precision'/8X,'3:  Measurement .001 "
                             "precision')"));
  std::string answer(1, ' ');
  dialogue::ASKSTR("FORMAT for edited file", answer);
  s.outputFormat = answer[0];
}

// Writes the title line to the new file; the first one shorter than the
// stamp column carries the run's date stamp.
void copyTitleLine(Session& s) {
  int length = dialogue::LASTNB(s.title);
  if (length < kStampColumn && s.stampFlag == ' ') {
    const std::string& banner = dialogue::tables().banner;
    s.title.replace(kStampColumn - 1, 14, banner, 46, 14);
    length = dialogue::LASTNB(s.title);
    s.stampFlag = 'R';
  }
  fmtio::WRITE(s.outUnit, FMT("(A)"), std::string_view(s.title).substr(0, length));
}

// Offers the existing file's lines one by one until one is declined.
void offerTitleLines(Session& s) {
  for (;;) {
    std::int32_t status = 0;
    if (fmtio::READ({.unit = s.inUnit, .iostat = &status, .err = true, .end = true}, FMT("(A)"),
                    s.title) != fmtio::kCompleted)
      break;
    fmtio::WRITE(kConsole, FMT("(/' Line from original file:'/T2,A)"), s.title);
    std::string answer(1, ' ');
    dialogue::ASKSTR("Copy as title or header on new file?  Y/<N>", answer);
    if (answer[0] != 'Y') break;
    copyTitleLine(s);
  }
  s.stampFlag = ' ';
}

// Request of the writer of the new file's format.
std::string_view writerRequest(const Session& s) {
  for (const MeasurementOutput& output : kMeasurementOutputs)
    if (output.letter == s.outputFormat) return output.request;
  return kCompactRequest;
}

// Writes the series to the new file and counts it. A series whose years the
// new file's format cannot hold is not written and not counted; the user is
// told and gets the series back to change its dating or omit it.
bool copySeries(Session& s) {
  const series::Series& cur = s.current.series;
  std::string_view request = writerRequest(s);
  if (!series::WRFITS(cur, request)) {
    fmtio::WRITE(
        kConsole,
        FMT("(/' No',I4,2X,A,' Interval',3I6,' years, NOT COPIED'/' Its years do not',"
            "' fit the new file''s year fields: change its dating or omit it'/T2,80('-'))"),
        s.sequence, cur.ident, cur.firstYear, lastYear(cur), cur.count);
    return false;
  }
  ++s.copied;
  fmtio::WRITE(kConsole, FMT("(/' No',I4,2X,A,' Interval',3I6,' years, COPIED'/T2,80('-'))"),
               s.copied, cur.ident, cur.firstYear, lastYear(cur), cur.count);
  if (request == kCompactRequest)
    series::CMPWR(cur, s.outUnit);
  else
    series::TRRW(s.current.series, s.outUnit, request);
  return true;
}

[[noreturn]] void endRun(Session& s, const fmtio::Format& format) {
  fmtio::WRITE(kConsole, format, s.copied, s.fileName);
  fmtio::STOP(kStopMessage);
}

After copyThenNext(Session& s) { return copySeries(s) ? After::NextSeries : After::Cycle; }

After copyAndReedit(Session& s) {
  if (!copySeries(s)) return After::Cycle;
  fmtio::WRITE(kConsole, FMT("(/' Original series may now be re-edited')"));
  restoreCopy(s.current);
  return After::Cycle;
}

After copyUntil(Session& s) {
  dialogue::ASKINT("Copy series until what sequence number", s.copyUntil);
  return After::Cycle;
}

// The letter "T" itself copies this and every later series.
After takeRemaining(Session&) { return After::Cycle; }

// The answer stays in the command letter.
After omitSeries(Session& s) {
  dialogue::ASKSTR("Series NOT COPIED, OK?  <Y>/N", s.letter);
  return s.letter[0] == 'N' ? After::Cycle : After::NextSeries;
}

After exitProgram(Session& s) { endRun(s, FMT("(/I6,' series, file ',A/)")); }

template <void (*Edit)(CurrentSeries&)>
After edit(Session& s) {
  Edit(s.current);
  return After::Cycle;
}

// Command letter -> its action; these are the letters the prompt accepts.
constexpr Command kCommands[] = {
    {'C', copyThenNext},
    {'F', edit<editFirstYear>},
    {'U', edit<editLastYear>},
    {'I', edit<editInsert>},
    {'E', edit<editEliminate>},
    {'R', edit<editReplace>},
    {'P', edit<editDisplay>},
    {'T', takeRemaining},
    {'O', omitSeries},
    {'N', edit<editIdentification>},
    {'X', exitProgram},
    {'S', copyUntil},
    {'Q', edit<editRestore>},
    {'K', copyAndReedit},
    {'(', edit<editCutBeginning>},
    {')', edit<editCutEnd>},
};

const Command* findCommand(char letter) {
  for (const Command& command : kCommands)
    if (command.letter == letter) return &command;
  return nullptr;
}

void showSummary(const Session& s) {
  const series::Series& cur = s.current.series;
  fmtio::WRITE(kConsole, FMT("(' No',I4,2X,A,' Interval',3I6,' years')"), s.sequence, cur.ident,
               cur.firstYear, lastYear(cur), cur.count);
}

void showMenu() {
  fmtio::WRITE(kConsole, FMT("(/' C: COPY as is',T28,'F: new FIRST year',T54,'U: new LAST year'"
                             "/' I: INSERT value',T28,'E: ELIMINATE value',T54,'R: REPLACE value'"
                             "/' (: Cut from BEGINNING',T28,'): Cut from END',T54,'P: DISPLAY "
                             "data')"));
  fmtio::WRITE(kConsole, FMT("(' T: Take remaining series',T28,'O: OMIT series'T54,'N: New "
                             "identification'/' X: Exit program',T28,'Q: Re-edit series',T54,"
                             "'K: COPY and re-edit')"));
}

// Shows the series and runs commands until it is copied or omitted.
void runCommandCycle(Session& s) {
  for (;;) {
    showSummary(s);
    char& letter = s.letter[0];
    if (letter == 'S' && s.sequence >= s.copyUntil) letter = '_';
    // A series the new file cannot hold ends the automatic copying.
    if (letter == 'S' || letter == 'T') {
      if (copySeries(s)) return;
      letter = '_';
      continue;
    }
    showMenu();
    dialogue::ASKSTR("S: Copy all until ..      Select", s.letter);
    const Command* command = findCommand(s.letter[0]);
    if (command == nullptr) {
      dialogue::BELLUP();
      continue;
    }
    if (command->run(s) == After::NextSeries) return;
  }
}

// False when the file holds no further series.
bool readSeries(Session& s) {
  series::Series& cur = s.current.series;
  cur.ident.resize(kIdentLength, ' ');
  series::DATOL(cur, s.inUnit);
  if (cur.count < 1) return false;
  ++s.sequence;
  saveCopy(s.current);
  return true;
}

}  // namespace

void editSession() {
  auto session = std::make_unique<Session>();
  Session& s = *session;
  dialogue::PROGID("EDIT TIME SERIES");
  series::resetReaders();
  s.inUnit = dialogue::UNITNO(1);
  s.outUnit = dialogue::UNITNO(2);
  greet();
  dialogue::FILEOP(s.inUnit, s.fileName, 0, "?OMEASUREMENTS TO BE EDITED");
  dialogue::FILEOP(s.outUnit, s.fileName, 0, "?LEDITED MEASUREMENTS");
  askOutputFormat(s);
  offerTitleLines(s);
  std::string blank(1, ' ');
  dialogue::FILEOP(s.inUnit, blank, 0, ">R");
  s.copyUntil = 0;
  while (readSeries(s)) runCommandCycle(s);
  endRun(s, FMT("(/I6,' edited series in ',A/)"));
}

}  // namespace app
