// The Heidelberg format: per series a keyword block ("HEADER:", then
// Keyword=value lines) and a data block ("DATA:" and its kind) of integers
// in the unit the keywords declare. Tree (Single) data hold one number per
// year, HalfChrono (Double) a value and its sample count, Chrono (Quad) a
// value, its sample count and the counts of series going up and down; the
// last line is filled with zeros.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

#include "series/exchange.h"

namespace series {
namespace {

constexpr std::string_view kHeader = "HEADER:";
constexpr std::string_view kData = "DATA:";

// Kind of data block -> numbers per year.
struct DataKind {
  std::string_view name;
  int stride;
};
constexpr DataKind kDataKinds[] = {{"Tree", 1},   {"Single", 1}, {"HalfChrono", 2}, {"Double", 2},
                                   {"Chrono", 4}, {"Quad", 4},   {"Quadro", 4}};

// Unit keyword (blanks left out) -> what one stored integer is in millimetres.
struct UnitFactor {
  std::string_view unit;
  double factor;
};
constexpr UnitFactor kUnits[] = {{"1/1000mm", 0.001}, {"1/100mm", 0.01}, {"1/50mm", 0.02},
                                 {"1/20mm", 0.05},    {"1/10mm", 0.1},   {"mm", 1.0},
                                 {"1mm", 1.0}};
// The unit of a file that names none.
constexpr double kUsualFactor = 0.01;

constexpr int kPerLine = 10;
constexpr int kFieldWidth = 6;

bool startsWith(std::string_view line, std::string_view word) {
  line = trimmed(line);
  return line.size() >= word.size() &&
         std::equal(word.begin(), word.end(), line.begin(),
                    [](char a, char b) { return (a | 0x20) == (b | 0x20); });
}

bool integerOf(std::string_view text, std::int64_t& value) {
  text = trimmed(text);
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// One series' block as it is read.
struct Block {
  std::map<std::string, std::string> keys;  // keyword (lower case) -> value
  std::string kind;
  std::vector<std::int64_t> numbers;
};

std::string lowered(std::string_view text) {
  std::string low(text);
  for (char& c : low) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return low;
}

const std::string* keyOf(const Block& b, std::string_view key) {
  auto it = b.keys.find(std::string(key));
  return it == b.keys.end() || trimmed(it->second).empty() ? nullptr : &it->second;
}

bool keyNumber(const Block& b, std::string_view key, std::int64_t& value) {
  const std::string* text = keyOf(b, key);
  return text != nullptr && integerOf(*text, value);
}

int strideOf(const Block& b, const std::string& name, std::vector<std::string>& messages) {
  for (const DataKind& k : kDataKinds)
    if (lowered(k.name) == lowered(trimmed(b.kind))) return k.stride;
  messages.push_back("Series " + name + ": data of the kind \"" + b.kind +
                     "\" are read as one number a year");
  return 1;
}

double factorOf(const Block& b, const std::string& name, std::vector<std::string>& messages) {
  const std::string* unit = keyOf(b, "unit");
  if (unit == nullptr) return kUsualFactor;
  std::string compact;
  for (char c : lowered(*unit))
    if (c != ' ' && c != '\t') compact += c;
  for (const UnitFactor& u : kUnits)
    if (u.unit == compact) return u.factor;
  messages.push_back("Series " + name + ": the unit \"" + *unit +
                     "\" is not known: read as 1/100 mm");
  return kUsualFactor;
}

// The number of years: Length, else the span of the dates, else the numbers
// up to the zeros that fill the last line.
std::size_t lengthOf(const Block& b, std::size_t years, const std::string& name,
                     std::vector<std::string>& messages) {
  std::int64_t length = 0, begin = 0, end = 0;
  if (keyNumber(b, "length", length) && length >= 0) {
    if (static_cast<std::size_t>(length) > years)
      messages.push_back("Series " + name + ": Length=" + std::to_string(length) + " but " +
                         std::to_string(years) + " values follow: " + std::to_string(years) +
                         " read");
    return std::min(static_cast<std::size_t>(length), years);
  }
  if (keyNumber(b, "datebegin", begin) && keyNumber(b, "dateend", end) && end >= begin)
    return std::min(static_cast<std::size_t>(end - begin + 1), years);
  return years;
}

std::int32_t firstYearOf(const Block& b, std::size_t length, const std::string& name,
                         std::vector<std::string>& messages) {
  std::int64_t begin = 0, end = 0;
  if (keyNumber(b, "datebegin", begin)) return static_cast<std::int32_t>(begin);
  if (keyNumber(b, "dateend", end))
    return static_cast<std::int32_t>(end - std::int64_t(length) + 1);
  messages.push_back("Series " + name + ": no DateBegin or DateEnd: dated from year 1");
  return 1;
}

NamedSeries seriesOf(const Block& b, std::size_t number, std::vector<std::string>& messages) {
  NamedSeries named;
  const std::string* key = keyOf(b, "keycode");
  if (key == nullptr) key = keyOf(b, "keyno");
  named.name = key != nullptr ? std::string(trimmed(*key)) : "FH" + std::to_string(number);
  if (key == nullptr)
    messages.push_back("Series " + std::to_string(number) + ": no KeyCode: named " + named.name);
  const int stride = strideOf(b, named.name, messages);
  const double factor = factorOf(b, named.name, messages);
  std::size_t length =
      lengthOf(b, b.numbers.size() / static_cast<std::size_t>(stride), named.name, messages);
  if (length > static_cast<std::size_t>(kMaxValues)) {
    messages.push_back("Series " + named.name + ": " + std::to_string(length) +
                       " values, more than the " + std::to_string(kMaxValues) +
                       " a series holds: the first are read");
    length = kMaxValues;
  }
  named.firstYear = firstYearOf(b, length, named.name, messages);
  for (std::size_t k = 0; k < length; ++k) {
    named.values.push_back(static_cast<float>(double(b.numbers[k * stride]) * factor));
    if (stride > 1) named.samples.push_back(static_cast<std::int32_t>(b.numbers[k * stride + 1]));
  }
  for (std::size_t k = length * stride; k < b.numbers.size(); ++k)
    if (b.numbers[k] != 0) {
      messages.push_back("Series " + named.name + ": numbers beyond its " + std::to_string(length) +
                         " years are not read");
      break;
    }
  return named;
}

// Takes the numbers of a data line; false when a word is no number.
bool takeNumbers(std::string_view line, std::vector<std::int64_t>& numbers) {
  for (std::size_t at = 0; at < line.size();) {
    std::size_t start = line.find_first_not_of(" \t", at);
    if (start == std::string_view::npos) break;
    std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
    std::int64_t n = 0;
    if (!integerOf(line.substr(start, end - start), n)) return false;
    numbers.push_back(n);
    at = end;
  }
  return true;
}

}  // namespace

bool looksLikeHeidelberg(const std::vector<std::string_view>& lines) {
  for (std::string_view line : lines)
    if (!trimmed(line).empty()) return startsWith(line, kHeader);
  return false;
}

ExchangeRead readHeidelberg(const std::vector<std::string_view>& lines) {
  ExchangeRead read;
  std::vector<Block> blocks;
  bool inData = false;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    std::string_view line = lines[n];
    if (startsWith(line, kHeader)) {
      blocks.emplace_back();
      inData = false;
    } else if (blocks.empty() || trimmed(line).empty()) {
      continue;
    } else if (startsWith(line, kData)) {
      blocks.back().kind = std::string(trimmed(trimmed(line).substr(kData.size())));
      inData = true;
    } else if (inData) {
      if (!takeNumbers(line, blocks.back().numbers))
        read.messages.push_back("Line " + std::to_string(n + 1) +
                                " of a data block holds words that are no numbers: not read");
    } else if (std::size_t eq = line.find('='); eq != std::string_view::npos) {
      blocks.back().keys[lowered(trimmed(line.substr(0, eq)))] = std::string(line.substr(eq + 1));
    }
  }
  for (std::size_t k = 0; k < blocks.size(); ++k) {
    NamedSeries named = seriesOf(blocks[k], k + 1, read.messages);
    if (!named.values.empty()) read.series.push_back(std::move(named));
  }
  return read;
}

namespace {

// 1/100 mm when every value is a whole number of hundredths, else 1/1000 mm.
double writingFactor(const NamedSeries& s) {
  for (float v : s.values) {
    double k = double(v) * 100.0;
    if (std::fabs(k - std::round(k)) > 1e-3) return 0.001;
  }
  return 0.01;
}

void appendField(std::string& text, std::int64_t n) {
  char digits[24];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, n);
  const std::size_t size = static_cast<std::size_t>(end - digits);
  if (size < static_cast<std::size_t>(kFieldWidth)) text.append(kFieldWidth - size, ' ');
  text.append(digits, size);
}

}  // namespace

std::string writeHeidelberg(const std::vector<NamedSeries>& series) {
  std::string text;
  for (const NamedSeries& s : series) {
    const bool chrono = !s.samples.empty();
    const double factor = writingFactor(s);
    const std::int64_t last = std::int64_t{s.firstYear} + std::int64_t(s.values.size()) - 1;
    text += "HEADER:\nKeyCode=" + s.name + "\nDateBegin=" + std::to_string(s.firstYear) +
            "\nDateEnd=" + std::to_string(last) + "\nLength=" + std::to_string(s.values.size()) +
            (s.note.empty() ? "" : "\nComment=" + s.note) +
            "\nUnit=" + (factor == 0.01 ? "1/100 mm" : "1/1000 mm") +
            "\nDataFormat=" + (chrono ? "HalfChrono" : "Tree") +
            "\nDATA:" + (chrono ? "HalfChrono" : "Tree") + "\n";
    std::vector<std::int64_t> numbers;
    for (std::size_t k = 0; k < s.values.size(); ++k) {
      numbers.push_back(std::llround(double(s.values[k]) / factor));
      if (chrono) numbers.push_back(s.samples[k]);
    }
    while (numbers.empty() || numbers.size() % kPerLine != 0) numbers.push_back(0);
    for (std::size_t k = 0; k < numbers.size(); ++k) {
      appendField(text, numbers[k]);
      if ((k + 1) % kPerLine == 0) text += '\n';
    }
  }
  return text;
}

}  // namespace series
