// Choosing, opening, rewinding and closing the data files of the run.
#include "dialogue/fileop.h"

#include <algorithm>

#include "dialogue/ask.h"
#include "dialogue/tables.h"
#include "fmtio/io.h"
#include "fmtio/stop.h"
#include "fmtio/unit.h"
#include "series/fmtid.h"

namespace dialogue {
namespace {

constexpr int kConsoleOut = 6;
// Length of the name buffer of the dialogue requests.
constexpr std::size_t kNameLength = 40;
// Smallest record length limit of the files created here.
constexpr std::int32_t kMinRecordLength = 8192;

// The name questions; "$" keeps the letter case of the name.
constexpr std::string_view kAskExisting = "$  ... Name of EXISTING file";
constexpr std::string_view kAskNew = "$  ... Name of NEW file to create";
constexpr std::string_view kExit = "Exit";

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
  return name.substr(0, static_cast<std::size_t>(LASTNB(name)));
}

bool isBlank(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

// Copies src into the fixed-length dst, cut or blank-padded.
void assignFixed(std::string& dst, const std::string& src) {
  std::size_t n = std::min(dst.size(), src.size());
  std::copy_n(src.begin(), n, dst.begin());
  std::fill(dst.begin() + static_cast<std::ptrdiff_t>(n), dst.end(), ' ');
}

// OPEN with the error condition caught; true when the unit is connected.
bool openCaught(std::int32_t unit, const fmtio::OpenSpec& connection) {
  std::int32_t ios = 0;
  return fmtio::OPEN({.unit = unit, .iostat = &ios, .err = true}, connection) == fmtio::kCompleted;
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
  fmtio::WRITE(kConsoleOut, FMT("(/1X,A)"), heading);
  std::string buffer(kNameLength, ' ');
  ASKSTR(question, buffer);
  NOBLNK(buffer);
  if (buffer[0] == '/' && buffer[1] == ' ') fmtio::STOP(kExit);
  return buffer;
}

// "?O": an existing file, asked for until it opens; its format is identified.
void openExisting(std::int32_t unit, std::string& name, std::int32_t recl,
                  std::string_view heading) {
  for (;;) {
    std::string buffer = askName(heading, kAskExisting);
    assignFixed(name, buffer);
    if (isBlank(buffer)) return openScratch(unit, recl);
    fmtio::OpenSpec connection;
    connection.file = trimmed(buffer);
    connection.status = "OLD";
    if (openCaught(unit, connection)) {
      fmtio::WRITE(kConsoleOut, FMT("(/T17,'file ',A)"), buffer);
      setUnitFormat(unit, ' ');
      series::FMTID(unit);
      return;
    }
    BELLUP();
    fmtio::WRITE(kConsoleOut, FMT("(' Cannot open file ',A)"), buffer);
  }
}

// "?L": a file that does not exist yet; an existing one is never overwritten.
// A name is needed: an empty answer would make the new file a scratch file
// that vanishes with every series copied into it, so it is asked again.
void createNew(std::int32_t unit, std::string& name, std::int32_t recl, std::string_view heading) {
  std::string buffer = askName(heading, kAskNew);
  fmtio::OpenSpec connection;
  connection.status = "NEW";
  connection.recl = recl;
  connection.carriageControl = "LIST";
  for (;;) {
    if (isBlank(buffer)) {
      BELLUP();
      fmtio::WRITE(kConsoleOut, FMT("(' >> The new file needs a name')"));
    } else {
      connection.file = trimmed(buffer);
      if (openCaught(unit, connection)) {
        assignFixed(name, buffer);
        return;
      }
      BELLUP();
      fmtio::WRITE(kConsoleOut, FMT("(' Cannot open new file ',A,I6)"), trimmed(buffer), unit);
    }
    ASKSTR(kAskNew, buffer);
    NOBLNK(buffer);
  }
}

}  // namespace

void FILEOP(std::int32_t unit, std::string& name, std::int32_t recordLength,
            std::string_view request) {
  std::int32_t recl = std::max(recordLength, kMinRecordLength);
  std::int32_t ios = 0;
  std::string_view heading = request.size() > 2 ? request.substr(2) : std::string_view();
  switch (requestOf(request)) {
    case Request::Open: return openExisting(unit, name, recl, heading);
    case Request::Create: return createNew(unit, name, recl, heading);
    case Request::Scratch: return openScratch(unit, recl);
    case Request::Rewind: fmtio::REWIND({.unit = unit, .iostat = &ios, .err = true}); return;
    case Request::Close: fmtio::CLOSE({.unit = unit, .iostat = &ios, .err = true}); return;
    case Request::Unknown: return;
  }
}

void NOBLNK(std::string& text) {
  auto end = std::remove(text.begin(), text.end(), ' ');
  std::fill(end, text.end(), ' ');
}

}  // namespace dialogue
