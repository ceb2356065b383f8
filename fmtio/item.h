// I/O items: the descriptor a statement transfers (kind, type word, address,
// length, count) and the typed conversions call sites use to build one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>
#include <string>
#include <string_view>
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
  if constexpr (std::is_same_v<T, std::int8_t>) return kTypeInteger1;
  else if constexpr (std::is_same_v<T, std::int16_t>) return kTypeInteger2;
  else if constexpr (std::is_same_v<T, std::int32_t>) return kTypeInteger4;
  else if constexpr (std::is_same_v<T, std::int64_t>) return kTypeInteger8;
  else if constexpr (std::is_same_v<T, float>) return kTypeReal4;
  else if constexpr (std::is_same_v<T, double>) return kTypeReal8;
  else if constexpr (std::is_same_v<T, Logical>) return kTypeLogical4;
  else static_assert(sizeof(T) == 0, "not an I/O item type");
}
template <class T>
Item scalar(const T& v) {
  return {ItemKind::Scalar, typeWordOf<T>(), const_cast<T*>(&v), sizeof(T), 1};
}
}  // namespace detail

// Items of the numeric and logical types; a WRITE passes values, a READ variables.
inline Item toItem(const std::int8_t& v) { return detail::scalar(v); }
inline Item toItem(const std::int16_t& v) { return detail::scalar(v); }
inline Item toItem(const std::int32_t& v) { return detail::scalar(v); }
inline Item toItem(const std::int64_t& v) { return detail::scalar(v); }
inline Item toItem(const float& v) { return detail::scalar(v); }
inline Item toItem(const double& v) { return detail::scalar(v); }
inline Item toItem(const Logical& v) { return detail::scalar(v); }

// CHARACTER items: a std::string is a CHARACTER field of its current size.
inline Item toItem(const std::string& s) {
  return {ItemKind::Scalar, kTypeCharacter, const_cast<char*>(s.data()), s.size(), 1};
}
inline Item toItem(std::string_view s) {
  return {ItemKind::Scalar, kTypeCharacter, const_cast<char*>(s.data()), s.size(), 1};
}
inline Item toItem(const char* s) { return toItem(std::string_view(s)); }
inline Item toItem(Chars c) { return {ItemKind::Scalar, kTypeCharacter, c.data, c.length, 1}; }

// Arrays of the numeric and logical types.
template <class T>
Item toItem(std::span<T> a) {
  using V = std::remove_const_t<T>;
  return {ItemKind::Array, detail::typeWordOf<V>(), const_cast<V*>(a.data()), sizeof(V), a.size()};
}
template <class T>
Item toItem(const std::vector<T>& v) {
  return toItem(std::span<const T>(v));
}

inline Item toItem(const Item& item) { return item; }

}  // namespace fmtio
