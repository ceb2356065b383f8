// Text form of compiled entries, for the format workbench and for tests.
#include <string>

#include "fmtio/format.h"

namespace fmtio {
namespace {

// Which operands an opcode prints.
enum class Operands { None, RepeatWM, RepeatWD, RepeatWDE, RepeatW, Count, Scale, Repeat, Text };

struct OpInfo {
  const char* name;
  Operands operands;
};

// Opcode number -> written name and operand layout.
constexpr OpInfo kOpInfo[] = {
    {"end", Operands::None},     {"I", Operands::RepeatWM},   {"B", Operands::RepeatWM},
    {"O", Operands::RepeatWM},   {"Z", Operands::RepeatWM},   {"F", Operands::RepeatWD},
    {"E", Operands::RepeatWDE},  {"D", Operands::RepeatWDE},  {"ES", Operands::RepeatWDE},
    {"EN", Operands::RepeatWDE}, {"G", Operands::RepeatWDE},  {"L", Operands::RepeatW},
    {"A", Operands::RepeatW},    {"T", Operands::Count},      {"TL", Operands::Count},
    {"TR", Operands::Count},     {"X", Operands::Count},      {"P", Operands::Scale},
    {"/", Operands::Repeat},     {"literal", Operands::Text}, {"(", Operands::Repeat},
    {")", Operands::None},       {"SP", Operands::None},      {"SS", Operands::None},
    {"BN", Operands::None},      {"BZ", Operands::None},      {":", Operands::None},
    {"$", Operands::None},       {"Q", Operands::None},       {"ED", Operands::RepeatWDE},
    {"GD", Operands::RepeatWDE}, {"Q", Operands::RepeatWD},
};

std::string value(const char* name, int v) {
  return std::string(" ") + name + "=" + (v == kAbsent ? std::string("absent") : std::to_string(v));
}

}  // namespace

std::string describeEntry(const Format& format, std::size_t i) {
  const FormatEntry& e = format.entries()[i];
  const OpInfo& info = kOpInfo[static_cast<int>(e.op)];
  std::string out = std::to_string(static_cast<int>(e.op)) + " " + info.name;
  switch (info.operands) {
    case Operands::None: break;
    case Operands::RepeatWM:
      out += value("repeat", e.repeat) + value("w", e.w) + value("m", e.d);
      break;
    case Operands::RepeatWD:
      out += value("repeat", e.repeat) + value("w", e.w) + value("d", e.d);
      break;
    case Operands::RepeatWDE:
      out += value("repeat", e.repeat) + value("w", e.w) + value("d", e.d) + value("e", e.e);
      break;
    case Operands::RepeatW: out += value("repeat", e.repeat) + value("w", e.w); break;
    case Operands::Count: out += value("n", e.count); break;
    case Operands::Scale: out += " k=" + std::to_string(e.k); break;
    case Operands::Repeat: out += value("repeat", e.repeat); break;
    case Operands::Text:
      out += value("length", e.count) + " text=[" + std::string(format.literal(e)) + "]";
      break;
  }
  return out;
}

}  // namespace fmtio
