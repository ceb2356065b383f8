// What the fuzz targets share: taking an input apart, a scratch file per
// process, a program run against a silent scripted console, and the check
// that stops the fuzzer (which then saves the input) when a rule is broken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzzing {

// The bytes of one input, taken from the front.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size)
      : text_(reinterpret_cast<const char*>(data), size) {}

  bool empty() const { return text_.empty(); }
  std::size_t size() const { return text_.size(); }
  // 0 when the input is used up.
  std::uint8_t byte();
  std::uint16_t u16();
  std::uint32_t u32();
  float real();  // any bit pattern: NaN, infinities and subnormals included
  // Up to the next line feed (dropped), or the rest.
  std::string_view line();
  std::string_view take(std::size_t n);
  std::string_view rest();

 private:
  std::string_view text_;
};

// Rewrites the file name in this process's scratch directory with bytes and
// returns its path.
std::string scratchFile(std::string_view name, std::string_view bytes);
// Path of a file in the scratch directory (not created).
std::string scratchPath(std::string_view name);

// At least as many as the records the runtime finds in the text.
std::size_t recordCount(std::string_view text);

// Prints the broken rule and aborts; libFuzzer keeps the input as a crash.
[[noreturn]] void fail(const char* rule, const std::string& detail);

}  // namespace fuzzing

#define FUZZ_CHECK(condition, detail)                        \
  do {                                                       \
    if (!(condition)) ::fuzzing::fail(#condition, (detail)); \
  } while (false)
