// Formatted input of every data descriptor on random records, and numbers
// written and read back through the same I, F and E descriptor.
//
// Input: a mode byte. Mode 0: the format text is the next line. Mode 1: a
// number, a width and digits for the write-and-read check. Any other mode
// picks a format of the table below. The remaining lines are the records.
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fmtio/io.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/read_items.h"

namespace {

// Formats read by the program, and one for each data descriptor.
constexpr std::array<std::string_view, 22> kFormats = {"(A,I4,10F6.2)",
                                                       "(A,I5,10F6.2)",
                                                       "(A,I4,10(F4.3,I3))",
                                                       "(I8,T11,I8)",
                                                       "(I3,A)",
                                                       "(F10.0,I6,1X,A)",
                                                       "(F10.0)",
                                                       "(13F6.0)",
                                                       "(I4,12F5.1)",
                                                       "(80F1.0)",
                                                       "(I6,B8,O6,Z8)",
                                                       "(I0,2I3.2,BZ,I5)",
                                                       "(F0.3,2PF8.2)",
                                                       "(E12.4,D10.3E3)",
                                                       "(ES12.4,EN12.3)",
                                                       "(G12.5,G10.3D2)",
                                                       "(L2,L1,L)",
                                                       "(A,A3,A12)",
                                                       "(Q,Q8.2,F)",
                                                       "(I,F,E,D,G)",
                                                       "(T10,I4,TL6,F4.1,TR2,A2)",
                                                       "(2(I3,:,'x'),/,F5.2)"};

// Item of the type a data descriptor edits; the caller reads into it.
using Item = fuzzing::ReadItem;
// Length of the CHARACTER items.
constexpr std::size_t kTextLength = 6;

Item::Kind kindFor(fmtio::Op op, std::uint8_t choice) {
  switch (op) {
    case fmtio::Op::I:
    case fmtio::Op::B:
    case fmtio::Op::O:
    case fmtio::Op::Z: return Item::Integer;
    case fmtio::Op::L: return Item::Logical;
    case fmtio::Op::A: return Item::Text;
    default: return choice & 1 ? Item::Double : Item::Real;
  }
}

// One item per data descriptor of the format, in the order of its entries.
std::vector<Item> itemsFor(const fmtio::Format& format, fuzzing::Input& in) {
  std::vector<Item> items;
  for (const fmtio::FormatEntry& e : format.entries())
    if (fmtio::isDataOp(e.op))
      for (int r = 0; r < e.repeat && items.size() < 40; ++r)
        items.emplace_back(kindFor(e.op, in.byte()), kTextLength);
  return items;
}

// A value written with a descriptor reads back as the same value, to the
// digits the field shows.
void writeAndReadBack(fuzzing::Input& in) {
  std::int32_t i = static_cast<std::int32_t>(in.u32());
  float x = in.real();
  int w = 1 + in.byte() % 30;
  int d = in.byte() % 10;
  std::string field(static_cast<std::size_t>(w), ' ');
  std::string text = "(I" + std::to_string(w) + ")";
  fmtio::Format intFormat(text);
  fmtio::WRITE(fmtio::Internal(field), intFormat, i);
  std::int32_t back = 0;
  if (field.find('*') == std::string::npos) {
    fmtio::READ(fmtio::Internal(field), intFormat, back);
    FUZZ_CHECK(back == i,
               text + " of " + std::to_string(i) + " reads back " + std::to_string(back));
  }
  if (!std::isfinite(x) || w <= d + 1) return;
  for (char letter : {'F', 'E'}) {
    if (letter == 'E' && d == 0) continue;  // no digit shown
    text = std::string("(") + letter + std::to_string(w) + "." + std::to_string(d) + ")";
    fmtio::Format realFormat(text);
    fmtio::WRITE(fmtio::Internal(field), realFormat, x);
    if (field.find('*') != std::string::npos) continue;
    double got = 0;
    int rc = fmtio::READ(fmtio::Internal(field, fmtio::Control::catching()), realFormat, got);
    double shown = letter == 'F' ? std::pow(10.0, -d) : std::fabs(x) * std::pow(10.0, 1 - d);
    double tolerance = 0.5 * shown + 1e-7 * std::fabs(x) + 1e-300;
    FUZZ_CHECK(rc == 0 && std::fabs(got - x) <= tolerance,
               text + " of " + std::to_string(x) + " wrote '" + field + "', read back " +
                   std::to_string(got));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::Input in(data, size);
  std::uint8_t mode = in.byte();
  if (mode == 1) {
    writeAndReadBack(in);
    return 0;
  }
  fmtio::Format format(mode == 0 ? in.line() : kFormats[mode % kFormats.size()]);
  if (format.status() != 0) return 0;
  std::vector<Item> items = itemsFor(format, in);
  for (int records = 0; !in.empty() && records < 64; ++records)
    fuzzing::readItems(in.line(), &format, items);
  return 0;
}
