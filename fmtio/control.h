// Control lists and the single error path.
//
// A Control names what a statement's caller takes itself: ERR=, END=, EOR=
// and an IOSTAT variable of 1, 2 or 4 bytes. takeError() is the one place an
// error goes: it stores IOSTAT, returns the outcome for the caller to branch
// on, or reports the error on standard error and stops the run with -1.
// The unit numbers of a meaning of their own ('*', the console units, an
// internal file in reports) are named here, once.
#pragma once

#include <climits>
#include <cstdint>
#include <string>

#include "fmtio/errors.h"

namespace fmtio {

// Outcomes of a statement.
enum : int { kCompleted = 0, kOutcomeError = 1, kOutcomeEnd = 2, kOutcomeEor = 3 };

// The unit number that stands for '*'.
constexpr int kDefaultUnit = INT_MIN;
// The preconnected console units: standard input, output and error.
constexpr int kConsoleInput = 5;
constexpr int kConsoleOutput = 6;
constexpr int kConsoleError = 0;
// The unit number error reports use for an internal file.
constexpr int kInternalUnit = INT_MIN + 1;

// Address and width of an IOSTAT variable.
class IostatRef {
 public:
  IostatRef() = default;
  IostatRef(std::int32_t* v) : p_(v), width_(4) {}
  IostatRef(std::int16_t* v) : p_(v), width_(2) {}
  IostatRef(std::int8_t* v) : p_(v), width_(1) {}
  explicit operator bool() const { return p_ != nullptr; }
  void store(int value) const;

 private:
  void* p_ = nullptr;
  int width_ = 0;
};

struct Control {
  int unit = kDefaultUnit;
  IostatRef iostat;
  bool err = false;
  bool end = false;
  bool eor = false;

  // A control list naming only the unit.
  static Control of(int unit) {
    Control c;
    c.unit = unit;
    return c;
  }
  // A control list whose caller takes every condition itself (ERR= and
  // END=): nothing is reported and the outcome tells what happened. The
  // unit is not needed for an internal file.
  static Control catching(int unit = kDefaultUnit) {
    Control c = of(unit);
    c.err = c.end = true;
    return c;
  }
};

// Where an error happened, for the report's third line.
struct ErrorSite {
  StatementKind kind = StatementKind::Read;
  int unit = kDefaultUnit;
};

// Stores IOSTAT and returns the outcome the caller takes; without a handler,
// reports the error and stops the run with exit code -1 (does not return).
int takeError(const Control& control, const ErrorSite& site, int number);

// The report lines, each beginning "? " and ending in a line feed.
std::string errorReport(const ErrorSite& site, int number);

}  // namespace fmtio
