// Item transfer: the data edit descriptors applied to items of each type.
#include <algorithm>
#include <cstring>

#include "fmtio/edit_input.h"
#include "fmtio/statement.h"

namespace fmtio {

namespace {

// Type word -> item type, for the words the runtime knows.
struct TypeWordInfo {
  std::uint32_t word;
  ItemType type;
};
constexpr TypeWordInfo kTypeWords[] = {
    {kTypeLogical1, ItemType::Logical1}, {kTypeLogical2, ItemType::Logical2},
    {kTypeLogical4, ItemType::Logical4}, {kTypeInteger1, ItemType::Integer1},
    {kTypeInteger2, ItemType::Integer2}, {kTypeInteger4, ItemType::Integer4},
    {kTypeInteger8, ItemType::Integer8}, {kTypeReal4, ItemType::Real4},
    {kTypeReal8, ItemType::Real8},       {kTypeCharacter, ItemType::Character},
};

TypeClass classOf(ItemType t) {
  switch (t) {
    case ItemType::Logical1:
    case ItemType::Logical2:
    case ItemType::Logical4: return TypeClass::Logical;
    case ItemType::Real4:
    case ItemType::Real8: return TypeClass::Real;
    case ItemType::Character: return TypeClass::Character;
    default: return TypeClass::Integer;
  }
}

bool isIntegerOp(Op op) { return op == Op::I || op == Op::B || op == Op::O || op == Op::Z; }
int baseOf(Op op) { return op == Op::B ? 2 : op == Op::O ? 8 : op == Op::Z ? 16 : 10; }

void storeInteger(char* p, std::size_t bytes, std::int64_t value) {
  switch (bytes) {
    case 1: {
      auto v = static_cast<std::int8_t>(value);
      std::memcpy(p, &v, 1);
      return;
    }
    case 2: {
      auto v = static_cast<std::int16_t>(value);
      std::memcpy(p, &v, 2);
      return;
    }
    case 8: std::memcpy(p, &value, 8); return;
    default: {
      auto v = static_cast<std::int32_t>(value);
      std::memcpy(p, &v, 4);
      return;
    }
  }
}

}  // namespace

std::int64_t loadInteger(const char* p, std::size_t bytes) {
  switch (bytes) {
    case 1: {
      std::int8_t v;
      std::memcpy(&v, p, 1);
      return v;
    }
    case 2: {
      std::int16_t v;
      std::memcpy(&v, p, 2);
      return v;
    }
    case 8: {
      std::int64_t v;
      std::memcpy(&v, p, 8);
      return v;
    }
    default: {
      std::int32_t v;
      std::memcpy(&v, p, 4);
      return v;
    }
  }
}

double loadReal(const char* p, std::size_t bytes) {
  if (bytes == 8) {
    double v;
    std::memcpy(&v, p, 8);
    return v;
  }
  float v;
  std::memcpy(&v, p, 4);
  return v;
}

// The words of the integer and real types, those of nearly every item,
// are told apart by one switch before the table is searched.
ItemType itemTypeOf(std::uint32_t typeWord) {
  switch (typeWord) {
    case kTypeInteger4: return ItemType::Integer4;
    case kTypeReal4: return ItemType::Real4;
    case kTypeReal8: return ItemType::Real8;
    case kTypeCharacter: return ItemType::Character;
    default: break;
  }
  for (const TypeWordInfo& info : kTypeWords)
    if (info.word == typeWord) return info.type;
  return ItemType::None;
}

void StatementState::item(const Item& item) {
  if (failed_ || ended_) return;
  const ItemType type = itemTypeOf(item.type);
  if ((item.kind != ItemKind::Scalar && item.kind != ItemKind::Array) || type == ItemType::None)
    return fail(kErrInternal);
  ItemInfo info{type, classOf(type), item.length};
  auto* base = static_cast<char*>(item.address);
  guarded([&] {
    for (std::size_t i = 0; i < item.count && !failed_;)
      i += element(info, base + i * item.length, item.count - i, item.length);
  });
}

// The next of count elements (length bytes apart): the walk to its data
// descriptor, then the run that descriptor makes. Returns how many elements
// were done (the one that failed included), at least one.
std::size_t StatementState::element(const ItemInfo& info, char* address, std::size_t count,
                                    std::size_t length) {
  if (list_) {
    if (int rc = list_->read(info.type, address, info.bytes)) fail(rc);
    return 1;
  }
  for (;;) {
    Field field;
    if (int rc = walker_.next(info.type, *this, field)) {
      fail(rc);
      return 1;
    }
    if (isDataOp(field.op)) return dataRun(field, info, address, count, length);
    if (int rc = control(field)) {
      fail(rc);
      return 1;
    }
  }
}

// The element the walk gave the field to, and those after it that the
// repeated data descriptor goes on with ("10F6.2" over ten values, the
// first of them included): edited one after another with that one field,
// without a walk per element; integers, and reals of a run inside the
// record, by their run editors. Taking the repeats first is the same as
// taking them one at a time: nothing else moves the walk meanwhile. Returns
// how many were done (the one that failed included).
std::size_t StatementState::dataRun(const Field& field, const ItemInfo& info, char* elements,
                                    std::size_t count, std::size_t length) {
  Field repeated;
  const std::size_t n = 1 + walker_.takeRepeats(info.type, count - 1, repeated);
  if (integerRun(field, info, elements, n, length)) return n;
  if (const std::size_t done = realInputRun(field, info, elements, n, length)) return done;
  for (std::size_t k = 0; k < n; ++k) {
    char* address = elements + k * length;
    if (int rc = isRead_ ? editIn(field, info, address) : editOut(field, info, address)) {
      fail(rc);
      return k + 1;
    }
  }
  return n;
}

// Iw output over a run of integers, the form of every data file's values:
// each field is exactly w columns, so the room for the whole run is taken at
// once, and the record limit is checked once for the last field instead of
// for every one. False (nothing done) when the run is not of that form or
// would pass the limit: the element-by-element path then reports it.
bool StatementState::integerRun(const Field& field, const ItemInfo& info, const char* elements,
                                std::size_t n, std::size_t length) {
  if (isRead_ || n == 0 || field.op != Op::I || info.cls != TypeClass::Integer) return false;
  if (field.w <= 0 || static_cast<std::size_t>(field.w) > kMaxNumericField) return false;
  const auto w = static_cast<std::size_t>(field.w);
  const std::size_t lastStart = pos_ + (n - 1) * w;
  if (lastStart < pos_ || recordLimit() < lastStart) return false;
  char* dst = reserve(n * w + kPlainIntegerRoom);
  if (field.d == kAbsent && !modes_.plusSign) {
    editPlainIntegers(dst, field.w, elements, n, length, static_cast<int>(info.bytes));
  } else {
    const int bytes = static_cast<int>(info.bytes);
    for (std::size_t k = 0; k < n; ++k)
      editInteger(dst + k * w, Op::I, field.w, field.d,
                  loadInteger(elements + k * length, info.bytes), bytes, modes_);
  }
  advance(n * w);
  return true;
}

// Real input over a run of fields that all lie inside the record, the form
// of every data line's values: each field is the next w characters, so the
// run goes straight to the real editor without the per-field dispatch and
// the check for a field cut by the record's end. Returns how many elements
// were done (the one that failed included), 0 when the run is not of that
// form: the element-by-element path then takes it.
template <class T>
std::size_t StatementState::readRealRun(const Field& field, char* elements, std::size_t n,
                                        std::size_t length) {
  const auto w = static_cast<std::size_t>(field.w);
  const int d = field.d == kAbsent ? 0 : field.d;
  int status = 0;
  const std::size_t done = readRealFields(in_.substr(pos_), w, n, d, modes_.scale, blank_,
                                          reinterpret_cast<T*>(elements), length, status);
  pos_ += done * w;
  if (status != 0) fail(status);
  return done;
}

std::size_t StatementState::realInputRun(const Field& field, const ItemInfo& info, char* elements,
                                         std::size_t n, std::size_t length) {
  if (!isRead_ || n == 0 || info.cls != TypeClass::Real || field.w <= 0) return 0;
  if (field.op != Op::F && field.op != Op::E && field.op != Op::D && field.op != Op::G) return 0;
  const auto w = static_cast<std::size_t>(field.w);
  if (pos_ > in_.size() || (in_.size() - pos_) / w < n) return 0;
  if (info.bytes == 8) return readRealRun<double>(field, elements, n, length);
  if (info.bytes == 4) return readRealRun<float>(field, elements, n, length);
  return 0;
}

int StatementState::editOut(const Field& field, const ItemInfo& info, char* address) {
  if (pastRecordLimit()) return kErrRecordTooLong;
  TypeClass cls = info.cls;
  std::size_t bytes = info.bytes;
  if (field.op == Op::A) return writeAlpha(field.w, address, bytes);
  if (field.op == Op::Q) return 0;  // Q only counts input characters
  if (cls == TypeClass::Character) return kErrTypeMismatch;
  if (field.op == Op::L) {
    if (cls != TypeClass::Logical) return kErrTypeMismatch;
    // w-1 blanks then the letter; the editor itself covers at most kMaxNumericField columns.
    auto w = static_cast<std::size_t>(field.w);
    char* dst = reserve(w);
    std::memset(dst, ' ', w - 1);
    editLogical(dst + w - 1, 1, loadInteger(address, bytes) != 0);
    advance(w);
    return 0;
  }
  if (isIntegerOp(field.op)) {
    if (cls == TypeClass::Real) return kErrTypeMismatch;
    advance(editInteger(reserve(kMaxNumericField), field.op, field.w, field.d,
                        loadInteger(address, bytes), static_cast<int>(bytes), modes_));
    return 0;
  }
  // Real descriptors edit a non-real item of 4 or 8 bytes as a real of that size.
  if (bytes != 4 && bytes != 8) return kErrTypeMismatch;
  Op family = field.entry->family;
  advance(editReal(reserve(kMaxNumericField), field.op, family, field.w, field.d, field.e,
                   loadReal(address, bytes), modes_));
  return 0;
}

int StatementState::readAlpha(const Field& field, char* address, std::size_t length) {
  std::size_t w = field.w == kAbsent ? length : static_cast<std::size_t>(field.w);
  int status = 0;
  std::string_view got = inputField(static_cast<int>(w), status);
  if (status != 0) return status;
  // A field cut short by the end of the record is as wide as the characters
  // it has. Keep its rightmost `length` characters, or all of it followed by
  // blanks.
  w = std::min(w, got.size());
  std::size_t offset = w > length ? w - length : 0;
  std::size_t kept = w - offset;  // at most `length`
  if (kept > 0) std::memcpy(address, got.data() + offset, kept);
  std::memset(address + kept, ' ', length - kept);
  return 0;
}

int StatementState::editIn(const Field& field, const ItemInfo& info, char* address) {
  TypeClass cls = info.cls;
  std::size_t bytes = info.bytes;
  if (field.op == Op::A) return readAlpha(field, address, bytes);
  if (cls == TypeClass::Character) return kErrTypeMismatch;
  if (field.op == Op::Q) {
    if (cls != TypeClass::Integer) return kErrTypeMismatch;
    storeInteger(address, bytes, pos_ < in_.size() ? in_.size() - pos_ : 0);
    return 0;
  }
  int status = 0;
  std::string_view text = inputField(field.w, status);
  if (status != 0) return status;
  if (field.op == Op::L) {
    if (cls != TypeClass::Logical) return kErrTypeMismatch;
    storeInteger(address, bytes, readLogical(text) ? 1 : 0);
    return 0;
  }
  if (isIntegerOp(field.op)) {
    if (cls == TypeClass::Real) return kErrTypeMismatch;
    std::int64_t v = 0;
    if (int rc = readInteger(text, baseOf(field.op), blank_, static_cast<int>(bytes), v)) return rc;
    storeInteger(address, bytes, v);
    return 0;
  }
  int d = field.d == kAbsent ? 0 : field.d;
  if (bytes == 8) {
    double v = 0;
    if (int rc = readReal(text, d, modes_.scale, blank_, v)) return rc;
    std::memcpy(address, &v, 8);
    return 0;
  }
  if (bytes != 4) return kErrTypeMismatch;
  float v = 0;
  if (int rc = readReal(text, d, modes_.scale, blank_, v)) return rc;
  std::memcpy(address, &v, 4);
  return 0;
}

}  // namespace fmtio
