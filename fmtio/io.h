// READ and WRITE statements.
//
// A call site reads like the statement it performs:
//
//   WRITE(6, FMT("(' No',I4,2X,A,' Interval',3I6,' years')"), no, ident, first, last, n);
//   int rc = READ({.unit = 11, .iostat = &ios, .err = true, .end = true}, FMT("(A)"), line);
//   READ(Internal(answer, {.iostat = &ios}), LIST, value);
//   WRITE(Internal(buf), FMT("('(',I2,'F',I1,'.0)')"), 10, 6);
//
// FMT("...") compiles its constant text once per call site. Each call returns
// the outcome: 0 completed, 1 error, 2 end of file, 3 end of record; an error
// the control list does not take is reported and stops the run.
//
// For item lists built in a loop (implied DO), drive a Statement directly:
//
//   Statement s = Statement::write(12, FMT("(10F8.2)"));
//   for (int i = 0; i < n; ++i) s << v[i];
//   int rc = s.end();
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "fmtio/control.h"
#include "fmtio/format.h"
#include "fmtio/item.h"

// A constant format, compiled on first use and kept by the call site.
#define FMT(text)                                  \
  ([]() -> const ::fmtio::Format& {                \
    static const ::fmtio::Format compiled_{text};  \
    return compiled_;                              \
  }())

namespace fmtio {

// The format argument of a list-directed READ.
struct ListDirected {};
inline constexpr ListDirected LIST{};

// A CHARACTER variable used as the record of a READ or WRITE.
struct Internal {
  Internal(std::string& s, Control c = {}) : data(s.data()), length(s.size()), control(c) {}
  Internal(Chars s, Control c = {}) : data(s.data), length(s.length), control(c) {}
  // Read only: the text is never written.
  Internal(std::string_view s, Control c = {})
      : data(const_cast<char*>(s.data())), length(s.size()), control(c) {}
  char* data;
  std::size_t length;
  Control control;
};

class StatementState;

class Statement {
 public:
  // Begins a statement; format nullptr means list-directed (READ only).
  static Statement read(const Control& control, const Format* format);
  static Statement write(const Control& control, const Format* format);
  static Statement read(const Internal& file, const Format* format);
  static Statement write(const Internal& file, const Format* format);
  static Statement read(int unit, const Format& format) { return read(Control::of(unit), &format); }
  static Statement write(int unit, const Format& format) { return write(Control::of(unit), &format); }

  Statement(Statement&&) noexcept;
  Statement& operator=(Statement&&) = delete;
  ~Statement();

  // Transfers one item (every element of an array item).
  Statement& item(const Item& item);
  template <class T>
  Statement& operator<<(const T& value) {
    return item(toItem(value));
  }
  // Ends the statement; returns the outcome. Later calls return it again.
  int end();

 private:
  explicit Statement(std::unique_ptr<StatementState> state);
  std::unique_ptr<StatementState> state_;
};

// Runs a whole statement with its item list.
int runStatement(Statement statement, std::initializer_list<Item> items);

template <class... Ts>
int WRITE(const Control& control, const Format& format, const Ts&... items) {
  return runStatement(Statement::write(control, &format), {toItem(items)...});
}
template <class... Ts>
int WRITE(int unit, const Format& format, const Ts&... items) {
  return runStatement(Statement::write(Control::of(unit), &format), {toItem(items)...});
}
template <class... Ts>
int WRITE(const Internal& file, const Format& format, const Ts&... items) {
  return runStatement(Statement::write(file, &format), {toItem(items)...});
}

template <class... Ts>
int READ(const Control& control, const Format& format, Ts&&... items) {
  return runStatement(Statement::read(control, &format), {toItem(items)...});
}
template <class... Ts>
int READ(int unit, const Format& format, Ts&&... items) {
  return runStatement(Statement::read(Control::of(unit), &format), {toItem(items)...});
}
template <class... Ts>
int READ(const Internal& file, const Format& format, Ts&&... items) {
  return runStatement(Statement::read(file, &format), {toItem(items)...});
}
template <class... Ts>
int READ(const Control& control, ListDirected, Ts&&... items) {
  return runStatement(Statement::read(control, nullptr), {toItem(items)...});
}
template <class... Ts>
int READ(const Internal& file, ListDirected, Ts&&... items) {
  return runStatement(Statement::read(file, nullptr), {toItem(items)...});
}

}  // namespace fmtio
