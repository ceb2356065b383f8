// The workbench commands, built on the runtime's statement API.
#include "tools/ringfmt/commands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <deque>
#include <limits>
#include <new>
#include <string_view>
#include <type_traits>

#include "fmtio/control.h"
#include "fmtio/hooks.h"
#include "fmtio/io.h"
#include "fmtio/options.h"
#include "fmtio/stop.h"

namespace ringfmt {

namespace {

// Storage for the items of one statement; a deque keeps addresses stable.
struct Value {
  char kind = 'i';  // i r d l c
  std::int32_t i = 0;
  float r = 0;
  double d = 0;
  fmtio::Logical l;
  std::string c;
  // The item of a WRITE (the value) and of a READ (the variable).
  fmtio::Item output() const { return item(*this); }
  fmtio::Item input() { return item(*this); }

 private:
  template <class V>
  static fmtio::Item item(V& v) {
    auto one = [](auto& x) {
      if constexpr (std::is_const_v<V>)
        return fmtio::outputItem(x);
      else
        return fmtio::inputItem(x);
    };
    switch (v.kind) {
      case 'r': return one(v.r);
      case 'd': return one(v.d);
      case 'l': return one(v.l);
      case 'c': return one(v.c);
      default: return one(v.i);
    }
  }
};

template <class T>
bool parseReal(std::string_view text, T& out) {
  if (text == "nan")
    out = std::numeric_limits<T>::quiet_NaN();
  else if (text == "inf")
    out = std::numeric_limits<T>::infinity();
  else if (text == "-inf")
    out = -std::numeric_limits<T>::infinity();
  else {
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && p == text.data() + text.size();
  }
  return true;
}

bool parseInt(std::string_view text, std::int32_t& out) {
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && p == text.data() + text.size() && !text.empty();
}

// "c" or "cN": the CHARACTER length, or -1 for "the text's own length".
bool parseCharLength(std::string_view kind, long& length) {
  if (kind.empty() || kind[0] != 'c') return false;
  length = -1;
  if (kind.size() == 1) return true;
  std::int32_t n = 0;
  if (!parseInt(kind.substr(1), n) || n < 1) return false;
  length = n;
  return true;
}

void setChars(Value& v, std::string_view text, long length) {
  v.c = std::string(text);
  if (length >= 0) v.c.resize(static_cast<std::size_t>(length), ' ');
}

// An ITEM of the write command: i:V r:V d:V l:T|F c:TEXT cN:TEXT.
bool parseWriteItem(const std::string& arg, Value& v) {
  std::size_t colon = arg.find(':');
  if (colon == std::string::npos) return false;
  std::string_view kind(arg.data(), colon);
  std::string_view text = std::string_view(arg).substr(colon + 1);
  long length = 0;
  if (parseCharLength(kind, length)) {
    v.kind = 'c';
    setChars(v, text, length);
    return true;
  }
  if (kind.size() != 1) return false;
  v.kind = kind[0];
  switch (v.kind) {
    case 'i': return parseInt(text, v.i);
    case 'r': return parseReal(text, v.r);
    case 'd': return parseReal(text, v.d);
    case 'l': v.l.value = text == "T" ? 1 : 0; return text == "T" || text == "F";
    default: return false;
  }
}

// A TYPE of the read command: i r d l cN, optionally =INIT.
bool parseReadType(const std::string& arg, Value& v) {
  std::size_t eq = arg.find('=');
  std::string_view kind = std::string_view(arg).substr(0, eq);
  bool hasInit = eq != std::string::npos;
  std::string init = hasInit ? arg.substr(eq + 1) : "";
  long length = 0;
  if (parseCharLength(kind, length)) {
    if (length < 0) return false;
    v.kind = 'c';
    setChars(v, init, length);
    return true;
  }
  if (!hasInit) init = kind == "l" ? "F" : "0";
  return parseWriteItem(std::string(kind) + ":" + init, v);
}

// The shortest text that reads back as the same value.
template <class T>
std::string shortest(T value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  char buf[64];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, p);
}

std::string describe(const Value& v) {
  switch (v.kind) {
    case 'r': return "r " + shortest(v.r);
    case 'd': return "d " + shortest(v.d);
    case 'l': return std::string("l ") + (v.l.value != 0 ? "T" : "F");
    case 'c': return "c [" + v.c + "]";
    default: return "i " + std::to_string(v.i);
  }
}

void printLine(const std::string& line) { fmtio::WRITE(fmtio::kConsoleOutput, FMT("(A)"), line); }

void printOutcome(int outcome, bool withIostat, std::int32_t iostat) {
  std::string line = "outcome=" + std::to_string(outcome);
  if (withIostat) line += " iostat=" + std::to_string(iostat);
  printLine(line);
}

// Takes leading options of the form --name [value]; returns the index of the
// first other argument, or -1 on an unknown option.
struct Options {
  bool iostat = false, end = false, err = false;
  bool internal = false;
  std::string internalArg;
};
long takeOptions(const Args& args, Options& o, bool forRead) {
  std::size_t i = 0;
  for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
    const std::string& a = args[i];
    if (a == "--iostat")
      o.iostat = true;
    else if (forRead && a == "--end")
      o.end = true;
    else if (forRead && a == "--err")
      o.err = true;
    else if (a == "--internal" && i + 1 < args.size()) {
      o.internal = true;
      o.internalArg = args[++i];
    } else
      return -1;
  }
  return static_cast<long>(i);
}

void writeError(const std::string& text) {
  fmtio::consoleHooks().writeBlock(fmtio::kStandardWindow, true, text);
}

// The format text and a caret under the character where its compilation
// stopped, as two lines; the caret line repeats the text's tabs so that it
// stands under the same column.
std::string pointAtError(const std::string& text, const fmtio::Format& format) {
  std::size_t at = std::min(format.errorOffset(), text.size());
  std::string caret;
  for (std::size_t i = 0; i < at; ++i) caret += text[i] == '\t' ? '\t' : ' ';
  return "  " + text + "\n  " + caret + "^\n";
}

// A format that does not compile: the runtime's report and the caret, then
// the end of the run as for any untaken error.
[[noreturn]] void reportFormatError(const std::string& text, const fmtio::Format& format,
                                    const std::string& report) {
  writeError(report + pointAtError(text, format));
  fmtio::runtimeTerminate(-1);
}

// Before a statement on a format that does not compile: without a handler
// the run ends with the report and the caret; with one the statement takes
// the error as usual and the caret follows its outcome (see afterStatement).
void beforeStatement(const std::string& text, const fmtio::Format& format,
                     const fmtio::Control& control, fmtio::StatementKind kind) {
  bool handled = control.iostat || control.err;  // END= takes the end of file alone
  if (format.status() == 0 || handled) return;
  reportFormatError(text, format, fmtio::errorReport({kind, control.unit}, format.status()));
}

void afterStatement(const std::string& text, const fmtio::Format& format) {
  if (format.status() != 0) writeError(pointAtError(text, format));
}

// An internal variable as long as the longest record or shorter; a longer
// one, or one the memory cannot hold, is error 10004 like a record that
// cannot grow.
bool makeVariable(std::int32_t length, std::string& variable) {
  if (static_cast<std::size_t>(length) > fmtio::runtimeOptions().recordLimit) return false;
  try {
    variable.assign(static_cast<std::size_t>(length), ' ');
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace

std::string compileCommand(const Args& args) {
  if (args.size() != 1) return "compile takes one FORMAT";
  fmtio::Format format(args[0]);
  if (format.status() != 0)
    reportFormatError(
        args[0], format,
        "? FORTRAN Runtime Error:\n? " + std::string(fmtio::messageFor(format.status())) + "\n");
  for (std::size_t i = 0; i < format.entries().size(); ++i)
    printLine(fmtio::describeEntry(format, i));
  return {};
}

std::string writeCommand(const Args& args) {
  Options o;
  long first = takeOptions(args, o, false);
  if (first < 0 || static_cast<std::size_t>(first) >= args.size()) return "write needs FORMAT";
  std::int32_t length = 0;
  if (o.internal && (!parseInt(o.internalArg, length) || length < 0)) return "--internal takes N";
  std::deque<Value> values;
  for (std::size_t i = first + 1; i < args.size(); ++i)
    if (!parseWriteItem(args[i], values.emplace_back())) return "bad ITEM " + args[i];
  fmtio::Format format(args[first]);
  std::int32_t iostat = 0;
  fmtio::Control control =
      fmtio::Control::of(o.internal ? fmtio::kInternalUnit : fmtio::kConsoleOutput);
  if (o.iostat) control.iostat = &iostat;
  std::string variable;
  if (o.internal && !makeVariable(length, variable)) {
    int outcome =
        fmtio::takeError(control, {fmtio::StatementKind::Write, control.unit}, fmtio::kErrNoMemory);
    printOutcome(outcome, true, iostat);  // reached with --iostat only
    return {};
  }
  beforeStatement(args[first], format, control, fmtio::StatementKind::Write);
  fmtio::Statement s = o.internal
                           ? fmtio::Statement::write(fmtio::Internal(variable, control), &format)
                           : fmtio::Statement::write(control, &format);
  for (const Value& v : values) s.item(v.output());
  int outcome = s.end();
  if (o.internal) printLine("[" + variable + "]");
  if (o.iostat) printOutcome(outcome, true, iostat);
  afterStatement(args[first], format);
  return {};
}

std::string readCommand(const Args& args) {
  Options o;
  long first = takeOptions(args, o, true);
  if (first < 0 || static_cast<std::size_t>(first) >= args.size()) return "read needs FORMAT";
  std::deque<Value> values;
  for (std::size_t i = first + 1; i < args.size(); ++i)
    if (!parseReadType(args[i], values.emplace_back())) return "bad TYPE " + args[i];
  bool list = args[first] == "*";
  fmtio::Format format(list ? "()" : args[first]);
  std::int32_t iostat = 0;
  fmtio::Control control =
      fmtio::Control::of(o.internal ? fmtio::kInternalUnit : fmtio::kConsoleInput);
  if (o.iostat) control.iostat = &iostat;
  control.end = o.end;
  control.err = o.err;
  if (!list) beforeStatement(args[first], format, control, fmtio::StatementKind::Read);
  const fmtio::Format* f = list ? nullptr : &format;
  fmtio::Statement s =
      o.internal
          ? fmtio::Statement::read(fmtio::Internal(std::string_view(o.internalArg), control), f)
          : fmtio::Statement::read(control, f);
  for (Value& v : values) s.item(v.input());
  int outcome = s.end();
  for (const Value& v : values) printLine(describe(v));
  if (o.iostat || o.end || o.err) printOutcome(outcome, o.iostat, iostat);
  if (!list) afterStatement(args[first], format);
  return {};
}

}  // namespace ringfmt
