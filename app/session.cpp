// The edit session: start, file selection, format choice, title lines, the
// series loop with its command cycle, copying, and the end of the run.
#include "app/session.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/commands.h"
#include "app/copying.h"
#include "app/edits.h"
#include "app/series_watch.h"
#include "common/tables.h"
#include "common/text.h"
#include "dialogue/ask.h"
#include "dialogue/fileop.h"
#include "fmtio/interrupt.h"
#include "fmtio/io.h"
#include "fmtio/stop.h"
#include "fmtio/unit.h"
#include "series/datol.h"

namespace app {
namespace {

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

void greet() {
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("(8X,63('-'))"));
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(/' This program creates from an existing file of tim','e series, a new "
                   "file with'/' the capability for editing eac','h time series as it is "
                   "copied to the new file.'/' In editin','g a given time series, you may "
                   "insert, change or delete value','s;'/' truncate the series at the "
                   "beginning and/or end; and ','adjust the dating'/' of the series.  Any "
                   "combination of the','se steps may be done.  Each series'/' may be copied "
                   "intact,',' edited and copied, or omitted in the new file.')"));
}

void askOutputFormat(Session& s) {
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(/' Format for new edited data file:'/7X,'<C>  Compact format'/8X,"
                   "'M:  Measurement .01  precision'/8X,'3:  Measurement .001 "
                   "precision')"));
  std::string answer(1, ' ');
  dialogue::ASKSTR("FORMAT for edited file", answer);
  s.outputFormat = answer[0];
}

// Writes the title line to the new file; the first one shorter than the
// stamp column carries the run's date stamp.
void copyTitleLine(Session& s) {
  int length = common::LASTNB(s.title);
  if (length < kStampColumn && s.stampFlag == ' ') {
    s.title.replace(kStampColumn - 1, common::kStampLength, common::dateStamp());
    length = common::LASTNB(s.title);
    s.stampFlag = 'R';
  }
  fmtio::WRITE(s.outUnit, FMT("(A)"), std::string_view(s.title).substr(0, length));
  fmtio::FLUSH(fmtio::Control::of(s.outUnit));
}

// Offers the existing file's lines one by one until one is declined.
void offerTitleLines(Session& s) {
  for (;;) {
    if (fmtio::READ(fmtio::Control::catching(s.inUnit), FMT("(A)"), s.title) != fmtio::kCompleted)
      break;
    fmtio::WRITE(fmtio::kConsoleOutput, FMT("(/' Line from original file:'/T2,A)"), s.title);
    std::string answer(1, ' ');
    dialogue::ASKSTR("Copy as title or header on new file?  Y/<N>", answer);
    if (answer[0] != 'Y') break;
    copyTitleLine(s);
  }
  s.stampFlag = ' ';
}

// What the interrupt line says of the new file: its name and how many
// series it holds.
void noteCopied(const Session& s) {
  std::string_view name(s.fileName);
  name = name.substr(0, static_cast<std::size_t>(common::LASTNB(name)));
  fmtio::setInterruptNote("; the new file " + std::string(name) + " holds " +
                          std::to_string(s.copied) + " series");
}

// Shows why the series cannot go into the new file, if it cannot: it holds
// no values, or years or values the new file's fields cannot hold. The user
// gets the series back to edit it or omit it; nothing is written or counted.
bool refuseCopy(const Session& s, std::string_view request) {
  const series::Series& cur = s.current.series;
  const CopyCheck check = checkCopy(cur, request);
  switch (check.refusal) {
    case Refusal::None: return false;
    case Refusal::NoValues:
      fmtio::WRITE(fmtio::kConsoleOutput,
                   FMT("(/' No',I4,2X,A,' Interval',3I6,' years, NOT COPIED'/' It holds no',"
                       "' values: insert one or omit it'/T2,80('-'))"),
                   s.sequence, cur.ident, cur.firstYear, cur.lastYear(), cur.count);
      return true;
    case Refusal::YearsBeyond:
      fmtio::WRITE(
          fmtio::kConsoleOutput,
          FMT("(/' No',I4,2X,A,' Interval',3I6,' years, NOT COPIED'/' Its years do not',"
              "' fit the new file''s year fields: change its dating or omit it'/T2,80('-'))"),
          s.sequence, cur.ident, cur.firstYear, cur.lastYear(), cur.count);
      return true;
    case Refusal::ValueBeyond: break;
  }
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(/' No',I4,2X,A,' Interval',3I6,' years, NOT COPIED'/' Its value',1PE12.4,"
                   "' of year',I6,' does not fit the new file''s value fields')"),
               s.sequence, cur.ident, cur.firstYear, cur.lastYear(), cur.count,
               cur.values[check.value], cur.firstYear + check.value);
  if (check.compactHoldsIt)
    fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' Change it or omit the series; the compact format',"
                                            "' holds it'/T2,80('-'))"));
  else
    fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' Change it or omit the series'/T2,80('-'))"));
  return true;
}

// Writes the series to the new file and through to the disk, and counts it,
// before anything is shown: a series shown COPIED is in the file however the
// run ends next (a signal, Exit in the window, a full disk). The writer's
// messages come back, to be shown after the COPIED line as before.
std::string writeThrough(Session& s, std::string_view request) {
  fmtio::Uninterrupted hold;
  writeSeries(s.current.series, s.outUnit, request);
  ++s.copied;
  noteCopied(s);
  return hold.release();
}

// Copies the series to the new file; false, with the reason shown, when it
// cannot be copied.
bool copySeries(Session& s) {
  std::string_view request = writerRequest(s.outputFormat);
  if (refuseCopy(s, request)) return false;
  std::string messages = writeThrough(s, request);
  const series::Series& cur = s.current.series;
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(/' No',I4,2X,A,' Interval',3I6,' years, COPIED'/T2,80('-'))"), s.copied,
               cur.ident, cur.firstYear, cur.lastYear(), cur.count);
  fmtio::showHeldText(messages);
  return true;
}

[[noreturn]] void endRun(Session& s, const fmtio::Format& format) {
  fmtio::WRITE(fmtio::kConsoleOutput, format, s.copied, s.fileName);
  fmtio::STOP(kStopMessage);
}

After copyThenNext(Session& s) { return copySeries(s) ? After::NextSeries : After::Cycle; }

After copyAndReedit(Session& s) {
  if (!copySeries(s)) return After::Cycle;
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("(/' Original series may now be re-edited')"));
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
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' No',I4,2X,A,' Interval',3I6,' years')"), s.sequence,
               cur.ident, cur.firstYear, cur.lastYear(), cur.count);
}

void showMenu() {
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(/' C: COPY as is',T28,'F: new FIRST year',T54,'U: new LAST year'"
                   "/' I: INSERT value',T28,'E: ELIMINATE value',T54,'R: REPLACE value'"
                   "/' (: Cut from BEGINNING',T28,'): Cut from END',T54,'P: DISPLAY "
                   "data')"));
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' T: Take remaining series',T28,'O: OMIT series'T54,'N: New "
                   "identification'/' X: Exit program',T28,'Q: Re-edit series',T54,"
                   "'K: COPY and re-edit')"));
}

// Shows the series and runs commands until it is copied or omitted.
void runCommandCycle(Session& s) {
  for (;;) {
    seriesShown(s.current, s.inUnit);
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
  common::PROGID("EDIT TIME SERIES");
  series::resetReaders();
  s.inUnit = common::UNITNO(1);
  s.outUnit = common::UNITNO(2);
  greet();
  dialogue::FILEOP(s.inUnit, s.fileName, 0, "?OMEASUREMENTS TO BE EDITED");
  dialogue::FILEOP(s.outUnit, s.fileName, 0, "?LEDITED MEASUREMENTS");
  noteCopied(s);
  askOutputFormat(s);
  offerTitleLines(s);
  std::string blank(1, ' ');
  dialogue::FILEOP(s.inUnit, blank, 0, ">R");
  s.copyUntil = 0;
  while (readSeries(s)) runCommandCycle(s);
  endRun(s, FMT("(/I6,' edited series in ',A/)"));
}

}  // namespace app
