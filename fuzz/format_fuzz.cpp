// Format compilation and the walk on any text, then an internal WRITE of
// items of every type through the compiled format.
//
// Input: the format text up to the first line feed; the bytes after it
// choose the item types of the walk and the values written.
#include <array>
#include <cstdint>
#include <string>

#include "fmtio/errors.h"
#include "fmtio/format.h"
#include "fmtio/io.h"
#include "fmtio/walk.h"
#include "fuzz/fuzz_support.h"

namespace {

// Items walked and written per input.
constexpr int kItems = 24;
// Records an internal WRITE of kItems items may need at most.
constexpr int kRecordLimit = 4 * kItems + 4;

// Item type chosen by a byte -> what the walk's defaults depend on.
constexpr std::array<fmtio::ItemType, 8> kWalkTypes = {
    fmtio::ItemType::Integer4, fmtio::ItemType::Real4,     fmtio::ItemType::Real8,
    fmtio::ItemType::Logical4, fmtio::ItemType::Character, fmtio::ItemType::Integer1,
    fmtio::ItemType::Integer2, fmtio::ItemType::Real16};

// The errors the compiler may give.
bool compileError(int status) {
  return status == fmtio::kErrNoMemory ||
         (status >= fmtio::kErrFormat && status <= fmtio::kErrNonRepeatable);
}

// Counts the record ends of the walk and fails after too many: a walk that
// keeps ending records without reaching a data descriptor loops forever.
class CountingRecordEnd : public fmtio::RecordEnd {
 public:
  int endOfRecord() override { return ++records_ > kRecordLimit ? fmtio::kErrEndOfFile : 0; }

 private:
  int records_ = 0;
};

void walk(const fmtio::Format& format, fuzzing::Input& in) {
  fmtio::FormatWalker walker;
  walker.start(format);
  CountingRecordEnd recordEnd;
  for (int i = 0; i < kItems; ++i) {
    fmtio::Field field;
    int rc = walker.next(kWalkTypes[in.byte() % kWalkTypes.size()], recordEnd, field);
    if (rc != 0) {
      FUZZ_CHECK(
          rc == fmtio::kErrFormat || rc == fmtio::kErrGroupOverflow || rc == fmtio::kErrEndOfFile,
          "walk error " + std::to_string(rc));
      return;
    }
    FUZZ_CHECK(field.entry != nullptr && field.op != fmtio::Op::End, "walk returned no entry");
    FUZZ_CHECK(field.w >= 0 || field.op == fmtio::Op::A || !fmtio::isDataOp(field.op),
               "data descriptor without a width");
  }
  walker.peekControl();
}

// Writes items of every type into a 200-character record.
void writeItems(const fmtio::Format& format, fuzzing::Input& in) {
  std::string record(200, '#');
  std::int32_t ios = 0;
  fmtio::WriteStatement s =
      fmtio::Statement::write(fmtio::Internal(record, {.iostat = &ios, .err = true}), &format);
  for (int i = 0; i < kItems && !in.empty(); ++i) {
    switch (in.byte() % 6) {
      case 0: s << static_cast<std::int32_t>(in.u32()); break;
      case 1: s << in.real(); break;
      case 2: s << static_cast<double>(in.real()) * static_cast<double>(in.real()); break;
      case 3: s << fmtio::Logical{in.byte() & 1}; break;
      case 4: s << std::string(in.take(in.byte() % 12)); break;
      default: s << static_cast<std::int16_t>(in.u16()); break;
    }
  }
  int rc = s.end();
  FUZZ_CHECK(rc == fmtio::kCompleted || rc == fmtio::kOutcomeError, "write outcome");
  FUZZ_CHECK((rc == 0) == (ios == 0), "IOSTAT disagrees with the outcome");
  FUZZ_CHECK(record.size() == 200, "internal record changed its length");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::Input in(data, size);
  fmtio::Format format(in.line());
  FUZZ_CHECK(format.status() == 0 || compileError(format.status()),
             "compile status " + std::to_string(format.status()));
  if (format.status() != 0) return 0;
  const auto& entries = format.entries();
  FUZZ_CHECK(!entries.empty() && entries.back().op == fmtio::Op::End, "no end entry");
  for (std::size_t i = 0; i < entries.size(); ++i)
    FUZZ_CHECK(!fmtio::describeEntry(format, i).empty(), "entry without a description");
  fuzzing::Input items = in;
  walk(format, in);
  writeItems(format, items);
  return 0;
}
