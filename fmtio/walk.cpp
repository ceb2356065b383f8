// The format walk; one switch over the structural opcodes.
#include "fmtio/walk.h"

#include "fmtio/errors.h"

namespace fmtio {
namespace {

struct Defaults {
  int w, d, e;
};

// Default w, d, e of the numeric descriptors by item type when no width was written.
Defaults numericDefaults(ItemType type, bool integerDescriptor) {
  if (integerDescriptor) {
    bool small = type == ItemType::Integer1 || type == ItemType::Integer2 ||
                 type == ItemType::Logical1 || type == ItemType::Logical2;
    return {small ? 7 : 12, kAbsent, kAbsent};
  }
  switch (type) {
    case ItemType::Real8:
    case ItemType::Complex16: return {24, 15, 3};
    case ItemType::Real16:
    case ItemType::Complex32: return {28, 17, 4};
    default: return {15, 6, 2};
  }
}

bool isIntegerOp(Op op) { return op == Op::I || op == Op::B || op == Op::O || op == Op::Z; }

}  // namespace

void FormatWalker::start(const Format& format) {
  format_ = &format;
  pos_ = 0;
  depth_ = 0;
  stack_[0] = Group{};
  pending_ = 0;
  dataSinceEnd_ = false;
  endSeen_ = false;
  controlRun_ = 0;
}

void FormatWalker::fill(const FormatEntry& e, ItemType type, Field& out) const {
  out.entry = &e;
  out.op = e.op;
  out.w = e.w;
  out.d = e.d;
  out.e = e.e;
  if (!isDataOp(e.op)) return;
  if (e.op == Op::A) return;  // absent width: the item's length
  if (e.op == Op::L || e.op == Op::Q) {
    if (out.w == kAbsent) out.w = 2;
    return;
  }
  if (e.w == kAbsent) {
    Defaults def = numericDefaults(type, isIntegerOp(e.op));
    out.w = def.w;
    out.d = def.d;
    out.e = def.e;
    return;
  }
  if (!isIntegerOp(e.op) && e.op != Op::F && out.e == kAbsent) out.e = 2;
}

int FormatWalker::enterGroup(const FormatEntry& e) {
  if (depth_ == kMaxDepth) return kErrGroupOverflow;
  Group& g = stack_[depth_];  // depth 1 uses entry 0
  ++depth_;
  g.repeat = g.remaining = e.repeat;
  g.first = pos_ + 1;
  return 0;
}

void FormatWalker::closeGroup() {
  Group& g = stack_[depth_ - 1];
  if (--g.remaining > 0) {
    pos_ = g.first;
    return;
  }
  --depth_;  // entry 0 keeps the last outermost group for reversion
  ++pos_;
}

int FormatWalker::endOfFormat(RecordEnd& recordEnd) {
  // A format that can never reach a data descriptor again would revert forever.
  if (!format_->hasDataDescriptor() || (endSeen_ && !dataSinceEnd_)) return kErrFormat;
  endSeen_ = true;
  dataSinceEnd_ = false;
  if (int rc = recordEnd.endOfRecord()) return rc;
  if (stack_[0].repeat > 0) {
    stack_[0].remaining = stack_[0].repeat;
    pos_ = stack_[0].first;
    depth_ = 1;
  } else {
    pos_ = 0;
    depth_ = 0;
  }
  return 0;
}

int FormatWalker::nextEntry(ItemType type, RecordEnd& recordEnd, Field& out) {
  const auto& entries = format_->entries();
  if (pending_ > 0) {
    --pending_;
    if (type != repeatType_) {
      fill(entries[pendingPos_], type, repeatField_);
      repeatType_ = type;
    }
    out = repeatField_;
    return 0;
  }
  for (;;) {
    if (++controlRun_ > kMaxControlRun) return kErrFormat;
    const FormatEntry& e = entries[pos_];
    switch (e.op) {
      case Op::GroupOpen:
        if (int rc = enterGroup(e)) return rc;
        ++pos_;
        break;
      case Op::GroupClose: closeGroup(); break;
      case Op::End:
        if (int rc = endOfFormat(recordEnd)) return rc;
        break;
      default:
        fill(e, type, out);
        if (isDataOp(e.op)) {
          controlRun_ = 0;
          pending_ = e.repeat - 1u;
          pendingPos_ = pos_;
          dataSinceEnd_ = true;
          repeatField_ = out;
          repeatType_ = type;
        }
        ++pos_;
        return 0;
    }
  }
}

// Passes over group opens and closes exactly as next() would: a group that
// is running loops back while its count lasts, at whatever depth it stands;
// a group first entered here holds no entry but groups before its close (else
// the scan would have stopped there), so it is left without looping.
bool FormatWalker::peekControl() const {
  if (pending_ > 0) return false;
  const auto& entries = format_->entries();
  std::array<std::uint16_t, kMaxDepth> remaining{};
  for (int i = 0; i < depth_; ++i) remaining[i] = stack_[i].remaining;
  std::uint32_t pos = pos_;
  int depth = depth_;
  int live = depth_;  // groups 1..live are running; deeper ones were entered here
  // Bounded all the same: each running group loops back at most once before
  // an entry of its own is met.
  for (std::size_t guard = 0; guard <= 2 * entries.size(); ++guard) {
    const FormatEntry& e = entries[pos];
    if (e.op == Op::GroupOpen) {
      if (depth == kMaxDepth) return false;  // next() reports the overflow
      ++depth;
      ++pos;
    } else if (e.op == Op::GroupClose) {
      bool loops = depth <= live && --remaining[depth - 1] > 0;
      pos = loops ? stack_[depth - 1].first : pos + 1;
      if (!loops) {
        --depth;
        if (live > depth) live = depth;
      }
    } else {
      return e.op != Op::End && !isDataOp(e.op);
    }
  }
  return false;
}

}  // namespace fmtio
