// List-directed input: a READ without a format. Values are separated by
// blanks, tabs or commas and converted by the type of each item; "r*"
// repeats, null values leave an item unchanged, "/" ends the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fmtio/walk.h"

namespace fmtio {

// Supplies the records of the statement's file.
class RecordSource {
 public:
  virtual ~RecordSource() = default;
  // Replaces record with the next one; 0, kErrEndOfFile or an error number.
  virtual int nextRecord(std::string_view& record) = 0;
};

// Scans one statement's values. The first record is given at construction.
class ListReader {
 public:
  ListReader(RecordSource& source, std::string_view firstRecord);

  // Reads the next value into an item of the given type: 4- or 2- or 1-byte
  // integers (bytes), REAL*4/REAL*8, LOGICAL (bytes), CHARACTER of `bytes`
  // length. 0 or an error number; a null value or an earlier "/" leaves the
  // item unchanged and returns 0.
  int read(ItemType type, void* address, std::size_t bytes);

 private:
  int scan(ItemType type);
  int skipToValue();
  int readRepeat();
  int scanValue(ItemType type);
  int readQuoted(char delimiter);
  int readParenthesized();
  void endValue();
  int assign(ItemType type, void* address, std::size_t bytes) const;

  RecordSource& source_;
  std::string_view record_;  // the current record, owned by source_
  std::size_t pos_ = 0;
  std::uint32_t repeat_ = 0;  // further uses of the current value
  bool null_ = false;         // the current value is a null value
  bool recordEnded_ = false;  // the last value ended at the end of a record
  bool slash_ = false;        // a "/" has ended the input
  bool inToken_ = false;      // the current value is token_, not value_
  std::string_view value_;    // the current unquoted value, inside record_
  std::string token_;         // a quoted or parenthesized value built over records
};

}  // namespace fmtio
