// READ and WRITE statements.
//
// A call site reads like the statement it performs:
//
//   WRITE(kConsoleOutput, FMT("(' No',I4,2X,A,' Interval',3I6)"), no, ident, first, last, n);
//   int rc = READ(Control::catching(11), FMT("(A)"), line);
//   READ(Internal(answer, {.iostat = &ios}), LIST, value);
//   WRITE(Internal(buf), FMT("('(',I2,'F',I1,'.0)')"), 10, 6);
//
// FMT("...") compiles its constant text once per call site. Each call returns
// the outcome: 0 completed, 1 error, 2 end of file, 3 end of record; an error
// the control list does not take is reported and stops the run. A READ's
// items are variables, a WRITE's values (see item.h).
//
// For item lists built in a loop (implied DO), drive a statement directly:
//
//   WriteStatement s = Statement::write(12, FMT("(10F8.2)"));
//   for (int i = 0; i < n; ++i) s << v[i];
//   int rc = s.end();
//
// or, when the items of many records are at hand, give them as one list
// (each descriptor's values must outlive the statement):
//
//   std::vector<Item> items;  // outputItem(ident), outputItem(years[i]), ...
//   WRITE(12, FMT("(A,I4,10I6)"), ItemList{items});
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "fmtio/control.h"
#include "fmtio/format.h"
#include "fmtio/item.h"

// A constant format, compiled on first use and kept by the call site.
#define FMT(text)                                 \
  ([]() -> const ::fmtio::Format& {               \
    static const ::fmtio::Format compiled_{text}; \
    return compiled_;                             \
  }())

namespace fmtio {

// The format argument of a list-directed READ.
struct ListDirected {};
inline constexpr ListDirected LIST{};

// A CHARACTER variable used as the record of a READ or WRITE. A variable
// that may be written (a std::string, a Chars field) makes an
// Internal<char>, which READ and WRITE take; text given as a string_view, a
// constant string or a temporary makes an Internal<const char>, which only
// READ takes: a WRITE into read-only text does not compile.
template <class Char>
struct Internal {
  Internal(std::string& s, Control c = {}) requires(!std::is_const_v<Char>)
      : data(s.data()), length(s.size()), control(c) {}
  Internal(Chars s, Control c = {}) requires(!std::is_const_v<Char>)
      : data(s.data), length(s.length), control(c) {}
  Internal(std::string_view s, Control c = {}) requires std::is_const_v<Char>
      : data(s.data()), length(s.size()), control(c) {}
  // Any record may be read.
  Internal(const Internal<char>& file) requires std::is_const_v<Char>
      : data(file.data), length(file.length), control(file.control) {}
  Char* data;
  std::size_t length;
  Control control;
};
Internal(std::string&, Control = {})->Internal<char>;
Internal(Chars, Control = {})->Internal<char>;
Internal(std::string_view, Control = {})->Internal<const char>;

class StatementState;
class ReadStatement;
class WriteStatement;

// A running statement: begun by read() or write(), given its items, ended by
// end(). Not ending it is a program error (reported on standard error in
// debug builds): the destructor then ends it, unless an exception is
// unwinding, when its record is dropped.
class Statement {
 public:
  // Begins a statement; format nullptr means list-directed (READ only).
  [[nodiscard]] static ReadStatement read(const Control& control, const Format* format);
  [[nodiscard]] static WriteStatement write(const Control& control, const Format* format);
  [[nodiscard]] static ReadStatement read(const Internal<const char>& file, const Format* format);
  [[nodiscard]] static WriteStatement write(const Internal<char>& file, const Format* format);
  [[nodiscard]] static ReadStatement read(int unit, const Format& format);
  [[nodiscard]] static WriteStatement write(int unit, const Format& format);

  Statement(Statement&&) noexcept;
  Statement& operator=(Statement&&) = delete;
  // Ending may stop the run, as end() may.
  ~Statement() noexcept(false);

  // Transfers one item descriptor (every element of an array item).
  Statement& item(const Item& item);
  // Ends the statement; returns the outcome. Later calls return it again.
  int end();

 protected:
  explicit Statement(std::unique_ptr<StatementState> state);

 private:
  std::unique_ptr<StatementState> state_;
  int unwinding_ = 0;  // exceptions in flight when the statement began
};

// A READ: its items are variables.
class ReadStatement : public Statement {
 public:
  using Statement::Statement;
  template <class T>
  ReadStatement& operator<<(T&& variable) {
    item(inputItem(std::forward<T>(variable)));
    return *this;
  }
};

// A WRITE: its items are values.
class WriteStatement : public Statement {
 public:
  using Statement::Statement;
  template <class T>
  WriteStatement& operator<<(const T& value) {
    item(outputItem(value));
    return *this;
  }
};

inline ReadStatement Statement::read(int unit, const Format& format) {
  return read(Control::of(unit), &format);
}
inline WriteStatement Statement::write(int unit, const Format& format) {
  return write(Control::of(unit), &format);
}

// Runs a whole statement: begins it, gives it the item list and ends it.
// It ends here unless an exception leaves the run, which drops its record
// (no Statement object, which would have to tell the two apart).
int runRead(const Control& control, const Format* format, std::span<const Item> items);
int runRead(const Internal<const char>& file, const Format* format, std::span<const Item> items);
int runWrite(const Control& control, const Format* format, std::span<const Item> items);
int runWrite(const Internal<char>& file, const Format* format, std::span<const Item> items);
// The same for an item list written out at the call site.
template <class File>
int runRead(const File& file, const Format* format, std::initializer_list<Item> items) {
  return runRead(file, format, std::span<const Item>(items.begin(), items.size()));
}
template <class File>
int runWrite(const File& file, const Format* format, std::initializer_list<Item> items) {
  return runWrite(file, format, std::span<const Item>(items.begin(), items.size()));
}

// An item list built at run time, written as one statement.
struct ItemList {
  std::span<const Item> items;
};

// A control list is given to take conditions: its outcome is to be looked at.
template <class... Ts>
[[nodiscard]] int WRITE(const Control& control, const Format& format, const Ts&... items) {
  return runWrite(control, &format, {outputItem(items)...});
}
template <class... Ts>
int WRITE(int unit, const Format& format, const Ts&... items) {
  return runWrite(Control::of(unit), &format, {outputItem(items)...});
}
inline int WRITE(int unit, const Format& format, ItemList list) {
  return runWrite(Control::of(unit), &format, list.items);
}
[[nodiscard]] inline int WRITE(const Control& control, const Format& format, ItemList list) {
  return runWrite(control, &format, list.items);
}
inline int WRITE(const Internal<char>& file, const Format& format, ItemList list) {
  return runWrite(file, &format, list.items);
}
template <class... Ts>
int WRITE(const Internal<char>& file, const Format& format, const Ts&... items) {
  return runWrite(file, &format, {outputItem(items)...});
}

template <class... Ts>
[[nodiscard]] int READ(const Control& control, const Format& format, Ts&&... items) {
  return runRead(control, &format, {inputItem(std::forward<Ts>(items))...});
}
template <class... Ts>
int READ(int unit, const Format& format, Ts&&... items) {
  return runRead(Control::of(unit), &format, {inputItem(std::forward<Ts>(items))...});
}
template <class... Ts>
int READ(const Internal<const char>& file, const Format& format, Ts&&... items) {
  return runRead(file, &format, {inputItem(std::forward<Ts>(items))...});
}
template <class... Ts>
[[nodiscard]] int READ(const Control& control, ListDirected, Ts&&... items) {
  return runRead(control, nullptr, {inputItem(std::forward<Ts>(items))...});
}
template <class... Ts>
int READ(const Internal<const char>& file, ListDirected, Ts&&... items) {
  return runRead(file, nullptr, {inputItem(std::forward<Ts>(items))...});
}

}  // namespace fmtio
