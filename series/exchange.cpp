// The exchange formats: names, identification, and the series record.
#include "series/exchange.h"

#include <algorithm>
#include <charconv>

namespace series {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool sameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return (x | 0x20) == (y | 0x20);
         });
}

}  // namespace

Exchange exchangeNamed(std::string_view name) {
  for (const ExchangeFormat& f : kExchangeFormats)
    if (sameLetters(f.name, name)) return f.format;
  return Exchange::None;
}

std::vector<std::string_view> textLines(std::string_view text) {
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    text.remove_prefix(kByteOrderMark.size());
  std::vector<std::string_view> lines;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
    lines.push_back(text.substr(at, end - at));
    at = end;
    while (at < text.size() && text[at] == '\r') ++at;  // CR, CR CR LF
    if (at < text.size() && text[at] == '\n') ++at;
  }
  return lines;
}

namespace {

ExchangeRead readHeidelbergText(std::string_view text) { return readHeidelberg(textLines(text)); }
ExchangeRead readCsvText(std::string_view text) { return readCsvTable(textLines(text)); }

// The codecs by format, in the order a file's format is looked for.
struct ExchangeCodecs {
  std::vector<std::pair<Exchange, ExchangeCodec>> list = {
      {Exchange::Heidelberg, {looksLikeHeidelberg, readHeidelbergText, writeHeidelberg}},
      {Exchange::Csv, {looksLikeCsvTable, readCsvText, writeCsvTable}},
  };
};

ExchangeCodecs& codecs() {
  static ExchangeCodecs table;
  return table;
}

const ExchangeCodec* codecOf(Exchange format) {
  for (const auto& [f, codec] : codecs().list)
    if (f == format) return &codec;
  return nullptr;
}

std::string_view nameOf(Exchange format) {
  for (const ExchangeFormat& f : kExchangeFormats)
    if (f.format == format) return f.name;
  return {};
}

}  // namespace

void registerExchange(Exchange format, const ExchangeCodec& codec) {
  for (auto& [f, c] : codecs().list)
    if (f == format) {
      c = codec;
      return;
    }
  codecs().list.emplace_back(format, codec);
}

bool exchangeAvailable(Exchange format) {
  const ExchangeCodec* codec = codecOf(format);
  return codec != nullptr && codec->read != nullptr && codec->write != nullptr;
}

Exchange identifyExchange(std::string_view text) {
  const std::vector<std::string_view> lines = textLines(text);
  for (const auto& [format, codec] : codecs().list)
    if (codec.looksLike != nullptr && codec.looksLike(lines)) return format;
  return Exchange::None;
}

ExchangeRead readExchange(Exchange format, std::string_view text) {
  const ExchangeCodec* codec = codecOf(format);
  if (codec != nullptr && codec->read != nullptr) return codec->read(text);
  return {{}, {"the " + std::string(nameOf(format)) + " format is not built into this program"}};
}

std::string writeExchange(Exchange format, const std::vector<NamedSeries>& series) {
  const ExchangeCodec* codec = codecOf(format);
  return codec != nullptr && codec->write != nullptr ? codec->write(series) : std::string();
}

NamedSeries namedFrom(const Series& s, bool withSamples) {
  NamedSeries named;
  std::string_view ident(s.ident);
  named.name = std::string(ident.substr(0, ident.find_last_not_of(' ') + 1));
  named.firstYear = s.firstYear;
  const std::size_t n = static_cast<std::size_t>(std::clamp(s.count, 0, kMaxValues));
  named.values.assign(s.values.begin(), s.values.begin() + static_cast<long>(n));
  if (withSamples)
    named.samples.assign(s.samples.begin(), s.samples.begin() + static_cast<long>(n));
  return named;
}

void recordFrom(const NamedSeries& named, std::string_view ident, Series& s) {
  s.ident.assign(ident);
  s.firstYear = named.firstYear;
  s.count = static_cast<std::int32_t>(std::min<std::size_t>(named.values.size(), kMaxValues));
  std::copy_n(named.values.begin(), s.count, s.values.begin());
  s.samples.fill(0);
  if (!named.samples.empty()) std::copy_n(named.samples.begin(), s.count, s.samples.begin());
}

std::string_view trimmed(std::string_view text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string shortestText(float value) {
  char buffer[32];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return error == std::errc() ? std::string(buffer, end) : std::string("NA");
}

}  // namespace series
