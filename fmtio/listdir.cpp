// List-directed input: the value scanner and the assignment by item type.
//
// An unquoted value is a view into the current record; it stays valid while
// its repeat count runs because no record is read until the next scan.
// Quoted and parenthesized values, which may continue over record ends, are
// built in token_.
#include "fmtio/listdir.h"

#include <cstring>
#include <limits>

#include "fmtio/edit_input.h"
#include "fmtio/errors.h"
#include "fmtio/records.h"

namespace fmtio {
namespace {

// Characters that end an unquoted value.
bool isSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '/'; }

bool isComplex(ItemType type) { return type == ItemType::Complex8 || type == ItemType::Complex16; }

// Storage size in bytes of the item types a list-directed value can fill
// (0: CHARACTER, whose length is the item's, or a type not read here).
std::size_t storageSize(ItemType type) {
  switch (type) {
    case ItemType::Integer1:
    case ItemType::Logical1: return 1;
    case ItemType::Integer2:
    case ItemType::Logical2: return 2;
    case ItemType::Integer4:
    case ItemType::Logical4:
    case ItemType::Real4: return 4;
    case ItemType::Integer8:
    case ItemType::Real8:
    case ItemType::Complex8: return 8;
    case ItemType::Complex16: return 16;
    default: return 0;
  }
}

template <class T>
int storeInteger(std::string_view text, void* address) {
  std::int64_t value = 0;
  if (int status = readInteger(text, 10, BlankMode::Null, sizeof(T), value)) return status;
  auto narrowed = static_cast<T>(value);  // in range: readInteger checked it
  std::memcpy(address, &narrowed, sizeof(T));
  return 0;
}

template <class T>
int storeLogical(std::string_view text, void* address) {
  T value = readLogical(text) ? 1 : 0;
  std::memcpy(address, &value, sizeof(T));
  return 0;
}

// No implied decimal point and no scale factor apply to list-directed values.
template <class T>
int storeReal(std::string_view text, void* address) {
  T value = 0;
  if (int status = readReal(text, 0, 0, BlankMode::Null, value)) return status;
  std::memcpy(address, &value, sizeof(T));
  return 0;
}

// The text between the parentheses: real part, comma, imaginary part.
template <class T>
int storeComplex(std::string_view text, void* address) {
  std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return kErrIllegalChar;
  T parts[2] = {0, 0};
  if (int status = readReal(text.substr(0, comma), 0, 0, BlankMode::Null, parts[0])) return status;
  if (int status = readReal(text.substr(comma + 1), 0, 0, BlankMode::Null, parts[1])) return status;
  std::memcpy(address, parts, sizeof parts);
  return 0;
}

// Left-justified, cut to the item's length or padded with blanks.
void storeCharacter(std::string_view text, char* address, std::size_t length) {
  std::size_t n = text.size() < length ? text.size() : length;
  if (n > 0) std::memcpy(address, text.data(), n);
  if (length > n) std::memset(address + n, ' ', length - n);
}

}  // namespace

ListReader::ListReader(RecordSource& source, std::string_view firstRecord)
    : source_(source), record_(firstRecord) {}

// The item's size comes from its type; a `bytes` that disagrees is 10022.
int ListReader::read(ItemType type, void* address, std::size_t bytes) {
  if (slash_) return 0;
  if (type == ItemType::None) return kErrInternal;
  if (type != ItemType::Character) {
    std::size_t size = storageSize(type);
    if (size == 0 || (bytes != 0 && bytes != size)) return kErrTypeMismatch;
  }
  if (repeat_ > 0) {
    --repeat_;
  } else if (int status = scan(type)) {
    return status;
  }
  if (slash_ || null_) return 0;
  return assign(type, address, bytes);
}

// Finds the next value, a null value or the "/" that ends the input.
int ListReader::scan(ItemType type) {
  null_ = false;
  inToken_ = false;
  if (int status = skipToValue()) return status;
  char c = record_[pos_];
  if (c == '/') {
    slash_ = true;
    return 0;
  }
  recordEnded_ = false;
  if (c == ',') {
    ++pos_;
    null_ = true;
    return 0;
  }
  if (int status = readRepeat()) return status;
  if (pos_ == record_.size() || isSeparator(record_[pos_])) {
    null_ = true;  // "r*" followed by a separator: r null values
  } else if (int status = scanValue(type)) {
    return status;
  }
  endValue();
  return 0;
}

// Skips blanks, tabs and record ends. The first comma of a record is the
// separator of a value that ended the records before it, not a null value.
int ListReader::skipToValue() {
  for (;;) {
    while (pos_ < record_.size() && isBlank(record_[pos_])) ++pos_;
    if (pos_ < record_.size()) {
      if (record_[pos_] != ',' || !recordEnded_) return 0;
      recordEnded_ = false;
      ++pos_;
      continue;
    }
    if (int status = source_.nextRecord(record_)) return status;
    pos_ = 0;
  }
}

// An "r*" prefix: digits and a star. A zero or too large count is 10016.
int ListReader::readRepeat() {
  constexpr std::uint64_t kMaxRepeat = std::numeric_limits<std::uint32_t>::max();
  std::size_t i = pos_;
  std::uint64_t count = 0;
  for (; i < record_.size() && record_[i] >= '0' && record_[i] <= '9'; ++i) {
    if (count <= kMaxRepeat) count = count * 10 + static_cast<std::uint64_t>(record_[i] - '0');
  }
  if (i == pos_ || i == record_.size() || record_[i] != '*') return 0;
  if (count == 0 || count > kMaxRepeat) return kErrIllegalChar;
  repeat_ = static_cast<std::uint32_t>(count - 1);
  pos_ = i + 1;
  return 0;
}

// The value's text; quotes only delimit CHARACTER values and parentheses
// only COMPLEX ones.
int ListReader::scanValue(ItemType type) {
  char c = record_[pos_];
  if (type == ItemType::Character && (c == '\'' || c == '"')) return readQuoted(c);
  if (isComplex(type) && c == '(') return readParenthesized();
  std::size_t start = pos_;
  while (pos_ < record_.size() && !isSeparator(record_[pos_])) ++pos_;
  value_ = record_.substr(start, pos_ - start);
  return 0;
}

// Up to the matching delimiter, a doubled one standing for one; a record
// end inside adds nothing. An empty value is one blank.
int ListReader::readQuoted(char delimiter) {
  token_.clear();
  ++pos_;
  for (;;) {
    std::size_t close = record_.find(delimiter, pos_);
    if (close == std::string_view::npos) {
      token_.append(record_.substr(pos_));
      if (int status = source_.nextRecord(record_)) return status;
      pos_ = 0;
      continue;
    }
    token_.append(record_.substr(pos_, close - pos_));
    pos_ = close + 1;
    if (pos_ == record_.size() || record_[pos_] != delimiter) break;
    token_ += delimiter;
    ++pos_;
  }
  if (token_.empty()) token_.push_back(' ');
  inToken_ = true;
  return 0;
}

// Up to the closing parenthesis; a record end inside reads as a blank.
int ListReader::readParenthesized() {
  token_.clear();
  ++pos_;
  for (;;) {
    std::size_t close = record_.find(')', pos_);
    if (close != std::string_view::npos) {
      token_.append(record_.substr(pos_, close - pos_));
      pos_ = close + 1;
      break;
    }
    token_.append(record_.substr(pos_));
    token_ += ' ';
    if (int status = source_.nextRecord(record_)) return status;
    pos_ = 0;
  }
  inToken_ = true;
  return 0;
}

// After a value: blanks and one comma; a value that reaches the end of the
// record is marked so that the next record's first comma is its separator.
void ListReader::endValue() {
  while (pos_ < record_.size() && isBlank(record_[pos_])) ++pos_;
  if (pos_ == record_.size())
    recordEnded_ = true;
  else if (record_[pos_] == ',')
    ++pos_;
}

int ListReader::assign(ItemType type, void* address, std::size_t bytes) const {
  std::string_view text = inToken_ ? std::string_view(token_) : value_;
  switch (type) {
    case ItemType::Integer1: return storeInteger<std::int8_t>(text, address);
    case ItemType::Integer2: return storeInteger<std::int16_t>(text, address);
    case ItemType::Integer4: return storeInteger<std::int32_t>(text, address);
    case ItemType::Integer8: return storeInteger<std::int64_t>(text, address);
    case ItemType::Logical1: return storeLogical<std::int8_t>(text, address);
    case ItemType::Logical2: return storeLogical<std::int16_t>(text, address);
    case ItemType::Logical4: return storeLogical<std::int32_t>(text, address);
    case ItemType::Real4: return storeReal<float>(text, address);
    case ItemType::Real8: return storeReal<double>(text, address);
    case ItemType::Complex8: return storeComplex<float>(text, address);
    case ItemType::Complex16: return storeComplex<double>(text, address);
    case ItemType::Character: storeCharacter(text, static_cast<char*>(address), bytes); return 0;
    default: return kErrTypeMismatch;
  }
}

}  // namespace fmtio
