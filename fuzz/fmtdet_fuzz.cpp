// FMTDET on random first lines: the letter is one it may give, the run ends
// only through the stop for a refused file, and the unit is left rewound.
//
// Input: the bytes of the file.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/tables.h"
#include "fmtio/io.h"
#include "fmtio/unit.h"
#include "fuzz/fuzz_support.h"
#include "series/fmtid.h"
#include "tests/support/console_script.h"

namespace {

constexpr std::int32_t kUnit = 11;
constexpr std::string_view kLetters = "CTMIA ";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string path = fuzzing::scratchFile("file", bytes);
  testing_support::ConsoleScript console;
  common::setClock([] { return common::LocalTime{}; });
  char letter = '?';
  bool detected = false;
  std::string first(80, ' '), again(80, ' ');
  int firstOutcome = -1, againOutcome = -1;
  int code = console.run([&] {
    common::PROGID("FUZZ");
    fmtio::OPEN({.unit = kUnit}, {.file = path, .status = "OLD"});
    firstOutcome = fmtio::READ(fmtio::Control::catching(kUnit), FMT("(A)"), first);
    fmtio::REWIND({.unit = kUnit});
    letter = series::FMTDET(kUnit);
    detected = true;
    againOutcome = fmtio::READ(fmtio::Control::catching(kUnit), FMT("(A)"), again);
    fmtio::CLOSE({.unit = kUnit});
  });
  FUZZ_CHECK(code == 0, "run ended with code " + std::to_string(code) + "\n" + console.err());
  if (!detected) {
    FUZZ_CHECK(console.err().find("File is FIRE2 FORMAT") != std::string::npos,
               "stopped without the refusal:\n" + console.err());
    return 0;
  }
  FUZZ_CHECK(kLetters.find(letter) != std::string_view::npos,
             std::string("letter '") + letter + "'");
  FUZZ_CHECK(firstOutcome == againOutcome, "unit not rewound: outcome " +
                                               std::to_string(firstOutcome) + ", then " +
                                               std::to_string(againOutcome));
  FUZZ_CHECK(first == again, "unit not rewound: first line '" + first + "', then '" + again + "'");
  return 0;
}
