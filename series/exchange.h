// The exchange formats: whole files read and written at once, beside the
// line formats of the session. A series there carries its name whole (any
// length), its values in the units of the series record (millimetres for
// measurements, as the decadal readers give them) and, for chronologies,
// its sample counts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "series/series.h"

namespace series {

struct NamedSeries {
  std::string name;
  std::int32_t firstYear = 0;
  std::vector<float> values;
  std::vector<std::int32_t> samples;  // one per value, or empty
  std::string note;  // where the series stands in its file (a TRiDaS path), or empty
};

// What reading a whole file gave: its series and the " >> " messages (each
// without the " >> ").
struct ExchangeRead {
  std::vector<NamedSeries> series;
  std::vector<std::string> messages;
};

// The exchange formats by name.
enum class Exchange { None, Heidelberg, Csv, Tridas };
struct ExchangeFormat {
  Exchange format;
  std::string_view name;       // as --from and --to take it
  std::string_view extension;  // of a new file
};
inline constexpr ExchangeFormat kExchangeFormats[] = {
    {Exchange::Heidelberg, "fh", ".fh"},
    {Exchange::Csv, "csv", ".csv"},
    {Exchange::Tridas, "tridas", ".xml"},
};

// How one format is told, read and written. The text formats are built in;
// the XML format needs the system's XML library and is registered by the
// programs that link it (registerTridas, series/tridas.h). A format not
// registered is told by no file and read or written with a message.
struct ExchangeCodec {
  bool (*looksLike)(const std::vector<std::string_view>& lines) = nullptr;
  ExchangeRead (*read)(std::string_view text) = nullptr;
  std::string (*write)(const std::vector<NamedSeries>& series) = nullptr;
};
void registerExchange(Exchange format, const ExchangeCodec& codec);
// Whether the format can be read and written by this program.
bool exchangeAvailable(Exchange format);
// The format of a name ("fh", "csv", any case), or Exchange::None.
Exchange exchangeNamed(std::string_view name);
// The format the file's first bytes show, or Exchange::None.
Exchange identifyExchange(std::string_view text);

ExchangeRead readExchange(Exchange format, std::string_view text);
// The whole new file, its lines ending in LF.
std::string writeExchange(Exchange format, const std::vector<NamedSeries>& series);

// The series record and back: the record's identification is cut to width
// by the caller; the record holds at most kMaxValues values.
NamedSeries namedFrom(const Series& s, bool withSamples);
void recordFrom(const NamedSeries& named, std::string_view ident, Series& s);

// The text's lines, however they end (CR LF, LF, CR), a leading byte order
// mark left out.
std::vector<std::string_view> textLines(std::string_view text);

// The CSV table and the Heidelberg format (series/csv_table.cpp,
// series/heidelberg.cpp).
bool looksLikeCsvTable(const std::vector<std::string_view>& lines);
ExchangeRead readCsvTable(const std::vector<std::string_view>& lines);
std::string writeCsvTable(const std::vector<NamedSeries>& series);
bool looksLikeHeidelberg(const std::vector<std::string_view>& lines);
ExchangeRead readHeidelberg(const std::vector<std::string_view>& lines);
std::string writeHeidelberg(const std::vector<NamedSeries>& series);

// The text without the blanks and tabs at its ends.
std::string_view trimmed(std::string_view text);

// A value written as the shortest text that reads back as the same float.
std::string shortestText(float value);

}  // namespace series
