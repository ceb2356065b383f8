// Choosing, opening, rewinding and closing the data files of the run.
#include "dialogue/fileop.h"

#include <algorithm>

#include "common/tables.h"
#include "common/text.h"
#include "dialogue/ask.h"
#include "fmtio/io.h"
#include "fmtio/stop.h"
#include "fmtio/unit.h"
#include "series/fmtid.h"

namespace dialogue {
namespace {

// Names are shown at least this wide, blank-padded, as the dialogue's name
// fields are; a longer name is taken and shown whole.
constexpr std::size_t kNameLength = 40;
// The longest path an answer may give (the system's limit).
constexpr std::size_t kPathLength = 4096;
// Smallest record length limit of the files created here.
constexpr std::int32_t kMinRecordLength = 8192;

// The name questions; "$" keeps the letter case of the name.
constexpr std::string_view kAskExisting = "$  ... Name of EXISTING file";
constexpr std::string_view kAskNew = "$  ... Name of NEW file to create";

// The request codes, two characters significant.
enum class Request { Open, Create, Scratch, Rewind, Close, Unknown };

// Which request a code names.
Request requestOf(std::string_view code) {
  code = code.substr(0, 2);
  if (code == "?O") return Request::Open;
  if (code == "?L") return Request::Create;
  if (code == "*S") return Request::Scratch;
  if (code == ">R") return Request::Rewind;
  if (code == ">C") return Request::Close;
  return Request::Unknown;
}

// The name without its trailing blanks.
std::string trimmed(const std::string& name) {
  return name.substr(0, static_cast<std::size_t>(common::LASTNB(name)));
}

// An empty answer names no file.
bool namesNoFile(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

// The name blank-padded to the width of the caller's name field; a longer
// name is kept whole (cutting it would open or create another file).
std::string padded(const std::string& name, std::size_t width) {
  std::string text = trimmed(name);
  if (text.size() < width) text.resize(width, ' ');
  return text;
}

// Copies src into the caller's name, blank-padded; the name grows to hold a
// longer one.
void assignName(std::string& dst, const std::string& src) { dst = padded(src, dst.size()); }

// The name as the dialogue's messages show it.
std::string shown(const std::string& name) { return padded(name, kNameLength); }

// OPEN with the error condition caught; true when the unit is connected.
bool openCaught(std::int32_t unit, const fmtio::OpenSpec& connection) {
  return fmtio::OPEN(fmtio::Control::catching(unit), connection) == fmtio::kCompleted;
}

// The connection of the existing data file, read from its first line
// whatever its line ends, a byte order mark before it passed over.
fmtio::OpenSpec existingFileSpec(const std::string& path) {
  fmtio::OpenSpec connection;
  connection.file = path;
  connection.status = "OLD";
  connection.dataFile = true;
  return connection;
}

// The connection of the new file: STATUS="NEW" never overwrites a file.
fmtio::OpenSpec newFileSpec(const std::string& path, std::int32_t recl) {
  fmtio::OpenSpec connection;
  connection.file = path;
  connection.status = "NEW";
  connection.recl = recl;
  connection.carriageControl = "LIST";
  return connection;
}

// A scratch file, deleted when the unit is closed; a failure goes unreported.
void openScratch(std::int32_t unit, std::int32_t recl) {
  fmtio::OpenSpec connection;
  connection.status = "SCRATCH";
  connection.recl = recl;
  openCaught(unit, connection);
}

// Heading and name question; the answer loses its blanks, and "/" (once the
// blanks are gone) ends the run.
std::string askName(std::string_view heading, std::string_view question) {
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("(/1X,A)"), heading);
  std::string buffer(kPathLength, ' ');
  ASKSTR(question, buffer);
  common::NOBLNK(buffer);
  if (buffer[0] == '/' && buffer[1] == ' ') fmtio::STOP(kExitMessage);
  return shown(buffer);
}

// "?O": an existing file, asked for until it opens; its format is identified.
void openExisting(std::int32_t unit, std::string& name, std::int32_t recl,
                  std::string_view heading) {
  for (;;) {
    std::string buffer = askName(heading, kAskExisting);
    assignName(name, buffer);
    if (namesNoFile(buffer)) return openScratch(unit, recl);
    if (openCaught(unit, existingFileSpec(trimmed(buffer)))) {
      fmtio::WRITE(fmtio::kConsoleOutput, FMT("(/T17,'file ',A)"), buffer);
      common::setUnitFormat(unit, ' ');
      series::FMTID(unit);
      return;
    }
    BELLUP();
    fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' Cannot open file ',A)"), buffer);
  }
}

// "?L": a file that does not exist yet; an existing one is never overwritten.
// A name is needed: an empty answer would make the new file a scratch file
// that vanishes with every series copied into it, so it is asked again.
void createNew(std::int32_t unit, std::string& name, std::int32_t recl, std::string_view heading) {
  std::string buffer = askName(heading, kAskNew);
  for (;;) {
    if (namesNoFile(buffer)) {
      BELLUP();
      fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' >> The new file needs a name')"));
    } else {
      if (openCaught(unit, newFileSpec(trimmed(buffer), recl))) {
        assignName(name, buffer);
        return;
      }
      BELLUP();
      fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' Cannot open new file ',A,I6)"), trimmed(buffer),
                   unit);
    }
    buffer.assign(kPathLength, ' ');
    ASKSTR(kAskNew, buffer);
    common::NOBLNK(buffer);
    buffer = shown(buffer);
  }
}

}  // namespace

void FILEOP(std::int32_t unit, std::string& name, std::int32_t recordLength,
            std::string_view request) {
  std::int32_t recl = std::max(recordLength, kMinRecordLength);
  std::string_view heading = request.size() > 2 ? request.substr(2) : std::string_view();
  switch (requestOf(request)) {
    case Request::Open: return openExisting(unit, name, recl, heading);
    case Request::Create: return createNew(unit, name, recl, heading);
    case Request::Scratch: return openScratch(unit, recl);
    case Request::Rewind: fmtio::REWIND(fmtio::Control::catching(unit)); return;
    case Request::Close: fmtio::CLOSE(fmtio::Control::catching(unit)); return;
    case Request::Unknown: return;
  }
}

bool openDataFile(std::int32_t unit, const std::string& path) {
  return openCaught(unit, existingFileSpec(path));
}

bool createDataFile(std::int32_t unit, const std::string& path, bool replace,
                    std::int32_t recordLength) {
  fmtio::OpenSpec connection = newFileSpec(path, std::max(recordLength, kMinRecordLength));
  if (replace) connection.status = "REPLACE";
  return openCaught(unit, connection);
}

}  // namespace dialogue
