// The walk over a compiled format: repeat counts, nested groups, reversion.
//
// next() returns the next entry to execute with its field values filled in
// for the item about to be transferred; group opens and closes are handled
// inside. At the final ')' the walker calls RecordEnd::endOfRecord() (write
// the record on output, read the next on input) and reverts to the last
// outermost group, or to the start. peekControl() tells whether the next
// entry is a control or literal one, as the end of a statement needs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "fmtio/format.h"

namespace fmtio {

// Data types of I/O items as far as the walk's defaults depend on them.
enum class ItemType : std::uint8_t {
  None,
  Integer1,
  Integer2,
  Integer4,
  Integer8,
  Logical1,
  Logical2,
  Logical4,
  Real4,
  Real8,
  Real16,
  Complex8,
  Complex16,
  Complex32,
  Character,
};

// What the walk hands to the executors: the entry and its effective values.
struct Field {
  const FormatEntry* entry = nullptr;
  Op op = Op::End;
  int w = kAbsent;  // 0 = minimal width; kAbsent only for A (the item's length)
  int d = kAbsent;  // d, or m of I/B/O/Z (kAbsent when not given)
  int e = kAbsent;  // exponent digits of the E family
};

// The end-of-record action of the statement's direction.
class RecordEnd {
 public:
  virtual ~RecordEnd() = default;
  virtual int endOfRecord() = 0;
};

class FormatWalker {
 public:
  static constexpr int kMaxDepth = 20;
  // Entries a walk may pass between two data descriptors: nested repeat
  // counts can multiply to billions of control entries (a typed format such
  // as "(32767(32767(32767X)),F8.3)"); past this the format is an error
  // (10006) instead of a hang.
  static constexpr std::uint32_t kMaxControlRun = 1u << 22;

  void start(const Format& format);
  // Next entry for an item of the given type; 0 or an error number.
  int next(ItemType type, RecordEnd& recordEnd, Field& out) {
    if (pending_ > 0 && type == repeatType_) {  // the common case of a repeated descriptor
      --pending_;
      out = repeatField_;
      return 0;
    }
    return nextEntry(type, recordEnd, out);
  }
  // Up to `want` further uses of the repeated data descriptor last returned
  // for an item of this type, taken at once: the count taken (0 when the next
  // entry is not such a use) and the field in out. Taking n is the same as n
  // calls of next().
  std::size_t takeRepeats(ItemType type, std::size_t want, Field& out) {
    if (pending_ == 0 || type != repeatType_) return 0;
    const std::size_t n = want < pending_ ? want : pending_;
    pending_ -= static_cast<std::uint32_t>(n);
    out = repeatField_;
    return n;
  }
  // True when the next entry to be returned is a control or literal entry.
  bool peekControl() const;

 private:
  struct Group {
    std::uint16_t repeat = 0;
    std::uint16_t remaining = 0;
    std::uint32_t first = 0;
  };
  int nextEntry(ItemType type, RecordEnd& recordEnd, Field& out);
  int enterGroup(const FormatEntry& e);
  void closeGroup();
  int endOfFormat(RecordEnd& recordEnd);
  void fill(const FormatEntry& e, ItemType type, Field& out) const;

  const Format* format_ = nullptr;
  std::uint32_t pos_ = 0;
  int depth_ = 0;
  std::array<Group, kMaxDepth> stack_{};
  std::uint32_t pending_ = 0;  // further uses of the repeated data descriptor
  std::uint32_t pendingPos_ = 0;
  // The field last returned for the repeated descriptor, and its item type.
  Field repeatField_;
  ItemType repeatType_ = ItemType::None;
  bool dataSinceEnd_ = false;
  bool endSeen_ = false;
  std::uint32_t controlRun_ = 0;  // entries passed since the last data descriptor
};

}  // namespace fmtio
