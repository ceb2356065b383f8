// List-directed input on random records, into items of every type.
//
// Input: a byte for the number of items, one byte per item for its type,
// then the record (an internal file, as the program reads typed answers and
// free-form data lines).
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fmtio/errors.h"
#include "fmtio/io.h"
#include "fuzz/fuzz_support.h"

namespace {

struct Item {
  enum Kind { Integer, Real, Double, Logical, Text, Short } kind;
  std::int32_t i = 0;
  float f = 0;
  double d = 0;
  fmtio::Logical l;
  std::string s = std::string(8, ' ');
  std::int16_t h = 0;
};

// A record that is one plain decimal integer, blanks around it allowed.
bool plainInteger(std::string_view record, long long& value) {
  std::size_t first = record.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  std::size_t last = record.find_last_not_of(' ');
  std::string token(record.substr(first, last - first + 1));
  std::size_t digits = token[0] == '-' || token[0] == '+' ? 1 : 0;
  if (token.size() == digits || token.size() > 18) return false;
  if (token.find_first_not_of("0123456789", digits) != std::string::npos) return false;
  value = std::strtoll(token.c_str(), nullptr, 10);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::Input in(data, size);
  std::vector<Item> items(1 + in.byte() % 12);
  for (Item& item : items) item.kind = static_cast<Item::Kind>(in.byte() % 6);
  std::string_view record = in.rest();
  std::int32_t ios = 7;
  fmtio::Statement s = fmtio::Statement::read(
      fmtio::Internal(record, {.iostat = &ios, .err = true, .end = true}), nullptr);
  for (Item& item : items) {
    switch (item.kind) {
      case Item::Integer: s << item.i; break;
      case Item::Real: s << item.f; break;
      case Item::Double: s << item.d; break;
      case Item::Logical: s << item.l; break;
      case Item::Text: s << item.s; break;
      case Item::Short: s << item.h; break;
    }
  }
  int rc = s.end();
  FUZZ_CHECK(rc >= fmtio::kCompleted && rc <= fmtio::kOutcomeEnd, "read outcome");
  FUZZ_CHECK((rc == 0) == (ios == 0) && (rc == 2) == (ios == -1),
             "IOSTAT " + std::to_string(ios) + " for outcome " + std::to_string(rc));
  for (const Item& item : items) FUZZ_CHECK(item.s.size() == 8, "CHARACTER item resized");
  // One integer item and a record holding one integer: its value or an error.
  long long want = 0;
  if (items.size() == 1 && items[0].kind == Item::Integer && plainInteger(record, want)) {
    bool fits = want >= INT32_MIN && want <= INT32_MAX;
    FUZZ_CHECK(fits ? rc == 0 && items[0].i == want : rc == 1,
               "'" + std::string(record) + "' read as " + std::to_string(items[0].i) +
                   ", outcome " + std::to_string(rc));
  }
  return 0;
}
