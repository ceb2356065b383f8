// The single error path of the I/O statements.
#include "fmtio/control.h"

#include "fmtio/hooks.h"
#include "fmtio/stop.h"

namespace fmtio {
namespace {

// IOSTAT's value for an error number: end conditions are negative.
int iostatValue(int number) {
  if (number == kErrEndOfFile) return -1;
  if (number == kErrEndOfRecordNonAdvancing) return -2;
  return number;
}

std::string unitText(int unit) {
  if (unit == kDefaultUnit) return "*";
  if (unit == kInternalUnit) return "INTERNAL";
  return std::to_string(unit);
}

}  // namespace

void IostatRef::store(int value) const {
  switch (width_) {
    case 4: *static_cast<std::int32_t*>(p_) = value; break;
    case 2: *static_cast<std::int16_t*>(p_) = static_cast<std::int16_t>(value); break;
    case 1: *static_cast<std::int8_t*>(p_) = static_cast<std::int8_t>(value); break;
    default: break;
  }
}

// END= takes only the end of file and EOR= only the end of record; ERR=
// takes every other condition and the end of record without EOR=, but not
// the end of file: without END= or IOSTAT it is reported and stops the run
// like an untaken error. IOSTAT alone takes everything with outcome 1.
int takeError(const Control& control, const ErrorSite& site, int number) {
  if (control.iostat) control.iostat.store(iostatValue(number));
  if (number == kErrEndOfFile && control.end) return kOutcomeEnd;
  if (number == kErrEndOfRecordNonAdvancing && control.eor) return kOutcomeEor;
  bool errTakes = control.err && number != kErrEndOfFile;
  if (errTakes || control.iostat) return kOutcomeError;
  consoleHooks().writeBlock(kStandardWindow, true, errorReport(site, number));
  runtimeTerminate(-1);
}

std::string errorReport(const ErrorSite& site, int number) {
  // The header follows the table the message comes from.
  std::string report =
      number < kFirstRuntimeError ? "? System Error:\n" : "? FORTRAN Runtime Error:\n";
  report += "? ";
  report += messageFor(number);
  report += "\n? ";
  report += statementName(site.kind);
  report += "(UNIT=";
  report += unitText(site.unit);
  report += ",...\n";
  return report;
}

}  // namespace fmtio
