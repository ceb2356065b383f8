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

#include "fmtio/io.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/read_items.h"

namespace {

using Item = fuzzing::ReadItem;
// Length of the CHARACTER items.
constexpr std::size_t kTextLength = 8;

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
  std::vector<Item> items;
  for (int n = 1 + in.byte() % 12; n > 0; --n)
    items.emplace_back(static_cast<Item::Kind>(in.byte() % 6), kTextLength);
  std::string_view record = in.rest();
  int rc = fuzzing::readItems(record, nullptr, items);
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
