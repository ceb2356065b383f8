// I/O items: the descriptor a statement transfers (kind, type word, address,
// length, count) and the typed conversions call sites use to build one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "fmtio/walk.h"

namespace fmtio {

// LOGICAL*4.
struct Logical {
  std::int32_t value = 0;
  explicit operator bool() const { return value != 0; }
};

// A CHARACTER*n field: fixed length, blank padded.
struct Chars {
  char* data;
  std::size_t length;
};

// Type words: base type in the low byte (1 LOGICAL, 2 INTEGER, 3 REAL,
// 6 CHARACTER), the size in bytes from bit 15 up.
enum : std::uint32_t {
  kTypeLogical1 = 0x8001,
  kTypeLogical2 = 0x10001,
  kTypeLogical4 = 0x20001,
  kTypeInteger1 = 0x8002,
  kTypeInteger2 = 0x10002,
  kTypeInteger4 = 0x20002,
  kTypeInteger8 = 0x40002,
  kTypeReal4 = 0x20003,
  kTypeReal8 = 0x40003,
  kTypeCharacter = 0x8006,
};

enum class ItemKind : std::uint8_t { Scalar = 1, Array = 2 };

struct Item {
  ItemKind kind = ItemKind::Scalar;
  std::uint32_t type = 0;
  void* address = nullptr;
  std::size_t length = 0;  // bytes of one element (a CHARACTER element's length)
  std::size_t count = 1;   // elements of an array item
};

// Item type of a type word; ItemType::None for a word the runtime does not know.
ItemType itemTypeOf(std::uint32_t typeWord);

namespace detail {
template <class T>
constexpr std::uint32_t typeWordOf() {
  if constexpr (std::is_same_v<T, std::int8_t>)
    return kTypeInteger1;
  else if constexpr (std::is_same_v<T, std::int16_t>)
    return kTypeInteger2;
  else if constexpr (std::is_same_v<T, std::int32_t>)
    return kTypeInteger4;
  else if constexpr (std::is_same_v<T, std::int64_t>)
    return kTypeInteger8;
  else if constexpr (std::is_same_v<T, float>)
    return kTypeReal4;
  else if constexpr (std::is_same_v<T, double>)
    return kTypeReal8;
  else if constexpr (std::is_same_v<T, Logical>)
    return kTypeLogical4;
  else
    static_assert(sizeof(T) == 0, "not an I/O item type");
}
// Output items only read through the address; an input item's address is
// that of a variable the caller may change.
template <class T>
Item scalar(const T& v) {
  return {ItemKind::Scalar, typeWordOf<T>(), const_cast<T*>(&v), sizeof(T), 1};
}
template <class T>
Item array(const T* data, std::size_t n) {
  return {ItemKind::Array, typeWordOf<T>(), const_cast<T*>(data), sizeof(T), n};
}
inline Item characters(const char* data, std::size_t n) {
  return {ItemKind::Scalar, kTypeCharacter, const_cast<char*>(data), n, 1};
}
}  // namespace detail

// The direction of a transfer is in the item's type: a WRITE takes values
// (outputItem), a READ takes variables (inputItem). Reading into a constant,
// a temporary, a string literal or a std::string_view does not compile.

// Output items of the numeric and logical types.
inline Item outputItem(const std::int8_t& v) { return detail::scalar(v); }
inline Item outputItem(const std::int16_t& v) { return detail::scalar(v); }
inline Item outputItem(const std::int32_t& v) { return detail::scalar(v); }
inline Item outputItem(const std::int64_t& v) { return detail::scalar(v); }
inline Item outputItem(const float& v) { return detail::scalar(v); }
inline Item outputItem(const double& v) { return detail::scalar(v); }
inline Item outputItem(const Logical& v) { return detail::scalar(v); }

// Output CHARACTER items: a text of its own length.
inline Item outputItem(std::string_view s) { return detail::characters(s.data(), s.size()); }
inline Item outputItem(const std::string& s) { return outputItem(std::string_view(s)); }
inline Item outputItem(const char* s) { return outputItem(std::string_view(s)); }
inline Item outputItem(Chars c) { return detail::characters(c.data, c.length); }

// Output arrays of the numeric and logical types.
template <class T>
Item outputItem(std::span<T> a) {
  return detail::array<std::remove_const_t<T>>(a.data(), a.size());
}
template <class T>
Item outputItem(const std::vector<T>& v) {
  return detail::array<T>(v.data(), v.size());
}

// Input items of the numeric and logical types: variables only.
inline Item inputItem(std::int8_t& v) { return detail::scalar(v); }
inline Item inputItem(std::int16_t& v) { return detail::scalar(v); }
inline Item inputItem(std::int32_t& v) { return detail::scalar(v); }
inline Item inputItem(std::int64_t& v) { return detail::scalar(v); }
inline Item inputItem(float& v) { return detail::scalar(v); }
inline Item inputItem(double& v) { return detail::scalar(v); }
inline Item inputItem(Logical& v) { return detail::scalar(v); }

// Input CHARACTER items: a std::string is a CHARACTER field of its current
// size; a Chars names a field of its own.
inline Item inputItem(std::string& s) { return detail::characters(s.data(), s.size()); }
inline Item inputItem(Chars c) { return detail::characters(c.data, c.length); }

// Input arrays: a span of variables or a vector; a span of constants is none.
template <class T>
Item inputItem(std::span<T> a) {
  return detail::array<T>(a.data(), a.size());
}
template <class T>
Item inputItem(std::span<const T> a) = delete;
template <class T>
Item inputItem(std::vector<T>& v) {
  return detail::array<T>(v.data(), v.size());
}

// A descriptor built by hand serves either direction.
inline Item outputItem(const Item& item) { return item; }
inline Item inputItem(const Item& item) { return item; }

}  // namespace fmtio
