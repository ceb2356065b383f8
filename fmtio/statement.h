// The state block of one running READ or WRITE statement (internal to fmtio).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "fmtio/control.h"
#include "fmtio/edit_output.h"
#include "fmtio/format.h"
#include "fmtio/item.h"
#include "fmtio/listdir.h"
#include "fmtio/unit.h"
#include "fmtio/walk.h"

namespace fmtio {

// An internal READ of one real array by a format of one F step (a data
// line by its format): the fields read straight from the record by the run
// editor the statement would use, without the statement, when every field
// reads; outcome is then 0 (and IOSTAT 0). False for any other READ and
// for one with a field in error or outside the record, which the statement
// then reads from the start and reports as always.
bool readFieldsAtOnce(std::string_view record, const Control& control, const Format* format,
                      std::span<const Item> items, int& outcome);

// What the editors need of an item, worked out once per item.
enum class TypeClass : std::uint8_t { Integer, Logical, Real, Character };
struct ItemInfo {
  ItemType type;
  TypeClass cls;
  std::size_t bytes;  // of one element
};

// An integer of 1, 2, 4 or 8 bytes (any other size is taken as 4), and a
// real of 8 bytes or else 4, loaded from an item's element.
std::int64_t loadInteger(const char* p, std::size_t bytes);
double loadReal(const char* p, std::size_t bytes);

// The opcode of the plan steps that edit an item, as the walk edits it: A
// a character item, I an integer, F a real, each a scalar or an array; End
// for any other item.
inline Op planOpOf(const Item& item) {
  if (item.kind != ItemKind::Scalar && item.kind != ItemKind::Array) return Op::End;
  switch (item.type) {
    case kTypeCharacter: return Op::A;
    case kTypeInteger1:
    case kTypeInteger2:
    case kTypeInteger4:
    case kTypeInteger8: return Op::I;
    case kTypeReal4:
    case kTypeReal8: return Op::F;
    default: return Op::End;
  }
}

// Columns of the longest output record a unit is given; RECL= may set less.
constexpr std::size_t kMaxOutputRecord = std::size_t{1} << 24;

class StatementState final : public RecordEnd, public RecordSource {
 public:
  void begin(bool isRead, const Control& control, const Format* format);
  void beginInternal(bool isRead, char* data, std::size_t length, const Control& control,
                     const Format* format);
  void item(const Item& item);
  // A WRITE's whole item list run by its format's plan (see format.h):
  // false, with nothing done, when the plan cannot take the statement as it
  // stands (no plan, an item of another kind, more items than data fields,
  // or plans switched off by the runtime options); the items then go one by
  // one through item().
  bool writePlanned(std::span<const Item> items);
  // A READ's whole item list run by its format's plan (see format.h):
  // false when the plan cannot take the statement as it stands (no plan, an
  // item of another kind, more elements than one pass takes unless all
  // revert to its kind, plans switched off); the items then go one by one
  // through item(), from the record's start.
  bool readPlanned(std::span<const Item> items);
  // READ(control, '(A)') of one character variable from a unit, the
  // statement of line-by-line readers: the steps of begin() (but the
  // format's), readRecord(), readAlpha() and end() for that one shape,
  // without the format's walk or plan; the same outcome, errors, padding
  // and cut.
  int readWholeRecord(const Control& control, char* text, std::size_t length);
  // Whether a READ from a unit is of that shape (a format of one A without
  // a width and one character variable).
  static bool readsWholeRecord(const Format* format, std::span<const Item> items);
  int end();
  // Ends a statement its caller left unended (see Statement).
  void endLeftOpen();
  bool ended() const { return ended_; }
  bool reading() const { return isRead_; }

  // RecordEnd: write the record (output) or read the next one (input).
  int endOfRecord() override;
  // RecordSource: the next record for list-directed input.
  int nextRecord(std::string_view& record) override;

 private:
  void reset(bool isRead, const Control& control, const Format* format);
  // The steps a statement on a unit begins with: the state reset, the
  // console kept alive, the unit found (or opened). False, the statement
  // failed, when there is none.
  bool connect(bool isRead, const Control& control, const Format* format);
  void start();
  void fail(int number);
  // Runs one step of the statement. Memory that cannot be had for a record
  // or a value ends the statement with error 10004 through the error path,
  // as any other error does, instead of escaping as an exception.
  template <class Step>
  void guarded(Step&& step) {
    try {
      step();
    } catch (const std::bad_alloc&) {
      fail(kErrNoMemory);
    }
  }
  std::size_t element(const ItemInfo& info, char* address, std::size_t count, std::size_t length);
  std::size_t dataRun(const Field& field, const ItemInfo& info, char* elements, std::size_t count,
                      std::size_t length);
  bool integerRun(const Field& field, const ItemInfo& info, const char* elements, std::size_t n,
                  std::size_t length);
  std::size_t realInputRun(const Field& field, const ItemInfo& info, char* elements, std::size_t n,
                           std::size_t length);
  template <class T>
  std::size_t readRealRun(const Field& field, char* elements, std::size_t n, std::size_t length);
  bool runPlan(const FormatPlan& plan, std::span<const Item> items);
  std::size_t runPlanControls(const FormatPlan& plan, std::size_t s);
  std::size_t revertPlan(const FormatPlan& plan);
  bool runReadPlan(const ReadPlan& plan, std::span<const Item> items);
  bool readOneRun(const ReadStep& step, const Item& item);
  void readPlannedRun(const FormatEntry& e, const Item& item, char* elements, std::size_t n);
  int editPlannedRun(const PlanStep& step, const char* elements, std::size_t n, std::size_t length);
  // Plain integers (Iw, no plus sign) of a plan step in one run, as
  // integerRun edits them; a run that would start a field past the record's
  // limit is the error the walk meets there. Inline: nearly every run of a
  // data file's record is one.
  int editPlainRun(const PlanStep& step, const char* elements, std::size_t n, std::size_t length) {
    const auto w = static_cast<std::size_t>(step.w);
    if (pos_ + (n - 1) * w > recordLimit()) return kErrRecordTooLong;
    editPlainIntegers(reserve(n * w + kPlainIntegerRoom), step.w, elements, n, length,
                      static_cast<int>(length));
    advance(n * w);
    return 0;
  }
  void editPlanned(const FormatEntry& e, const char* address, std::size_t length);
  int control(const Field& field);
  int editOut(const Field& field, const ItemInfo& info, char* address);
  int editIn(const Field& field, const ItemInfo& info, char* address);
  int readAlpha(const Field& field, char* address, std::size_t length);
  // Aw (w kAbsent: the item's length) of a character item: its first w
  // characters, or blanks and then all of it.
  int writeAlpha(int width, const char* data, std::size_t length) {
    const std::size_t w = width == kAbsent ? length : static_cast<std::size_t>(width);
    char* dst = reserve(w);
    if (w <= length) {
      std::memcpy(dst, data, w);
    } else {
      std::memset(dst, ' ', w - length);
      std::memcpy(dst + (w - length), data, length);
    }
    advance(w);
    return 0;
  }
  int readRecord();
  int emitRecord(bool advance);
  // Output moved past the longest record there can be (the internal
  // variable, or kMaxOutputRecord for a unit): X and TR inside repeated
  // groups can reach billions of columns, which must not be allocated.
  bool pastRecordLimit() const { return pos_ > recordLimit(); }
  // The last column output may start at: the internal variable's length, or
  // kMaxOutputRecord for a unit.
  std::size_t recordLimit() const {
    return internal_ != nullptr ? std::min(internalLength_, kMaxOutputRecord) : kMaxOutputRecord;
  }
  // Room for n characters at the current position; columns skipped since the
  // highest one written become blanks.
  char* reserve(std::size_t n) {
    if (out_.size() < pos_ + n || pos_ > len_) return reserveMore(n);
    return out_.data() + pos_;
  }
  // reserve when the buffer grows or columns were skipped.
  char* reserveMore(std::size_t n);
  void advance(std::size_t n) {
    pos_ += n;
    if (pos_ > len_) len_ = pos_;
  }
  std::string_view inputField(int width, int& status);
  void runTrailingControls();

  // Control list and where errors are reported.
  Control control_;
  ErrorSite site_;
  bool isRead_ = false;
  bool failed_ = false;
  bool ended_ = false;
  int outcome_ = 0;
  bool dollar_ = false;
  bool planAllowed_ = true;  // the runtime options let statements run by plans
  bool planned_ = false;     // the items went by the plan, trailing entries included

  Unit* unit_ = nullptr;
  char* internal_ = nullptr;  // internal file variable
  std::size_t internalLength_ = 0;
  bool internalUsed_ = false;  // its one record has been read or written

  const Format* format_ = nullptr;
  FormatWalker walker_;
  std::optional<ListReader> list_;

  // Record buffer: output builds in out_ (len_ = highest column written);
  // input reads from in_ (over inStore_ or the internal variable).
  std::string out_;
  std::size_t len_ = 0;
  std::string inStore_;
  std::string_view in_;
  std::size_t pos_ = 0;

  BlankMode blank_ = BlankMode::Null;
  OutputModes modes_;
  std::size_t recordLimit_ = 0;  // longest input record (the runtime options')
};

}  // namespace fmtio
