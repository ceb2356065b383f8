#include "fuzz/read_items.h"

#include "fmtio/errors.h"
#include "fuzz/fuzz_support.h"

namespace fuzzing {

int readItems(std::string_view record, const fmtio::Format* format, std::vector<ReadItem>& items) {
  std::int32_t ios = 7;
  fmtio::ReadStatement s = fmtio::Statement::read(
      fmtio::Internal(record, {.iostat = &ios, .err = true, .end = true}), format);
  for (ReadItem& item : items) {
    switch (item.kind) {
      case ReadItem::Integer: s << item.i; break;
      case ReadItem::Real: s << item.f; break;
      case ReadItem::Double: s << item.d; break;
      case ReadItem::Logical: s << item.l; break;
      case ReadItem::Text: s << item.s; break;
      case ReadItem::Short: s << item.h; break;
    }
  }
  int rc = s.end();
  FUZZ_CHECK(rc >= fmtio::kCompleted && rc <= fmtio::kOutcomeEnd, "read outcome");
  FUZZ_CHECK((rc == 0) == (ios == 0) && (rc == 2) == (ios == -1),
             "IOSTAT " + std::to_string(ios) + " for outcome " + std::to_string(rc));
  FUZZ_CHECK(rc != 1 || ios > fmtio::kFirstRuntimeError, "error outcome without an error number");
  for (const ReadItem& item : items)
    FUZZ_CHECK(item.s.size() == item.length, "CHARACTER item resized");
  return rc;
}

}  // namespace fuzzing
