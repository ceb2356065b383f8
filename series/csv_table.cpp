// The CSV table as statistics tools write it: a first column of years, one
// column per series named in the header row, "NA" (or nothing) where a
// series has no value. Each series runs from its first to its last year
// with a value; a year without a value inside that span is read as 0 and
// told, so that the years after it stay right.
#include <algorithm>
#include <charconv>
#include <map>

#include "series/exchange.h"

namespace series {
namespace {

// Texts that stand for no value.
constexpr std::string_view kMissing[] = {"", "NA", "NaN", "nan", "NAN", "na", "."};

// The cells of a line: commas separate them; a cell in double quotes may
// hold commas, and "" inside it stands for one quote.
std::vector<std::string> cellsOf(std::string_view line) {
  std::vector<std::string> cells(1);
  bool quoted = false;
  for (std::size_t k = 0; k < line.size(); ++k) {
    char c = line[k];
    if (quoted && c == '"' && k + 1 < line.size() && line[k + 1] == '"') {
      cells.back() += '"';
      ++k;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      cells.emplace_back();
    } else {
      cells.back() += c;
    }
  }
  for (std::string& cell : cells) cell = std::string(trimmed(cell));
  return cells;
}

bool isMissing(std::string_view cell) {
  return std::find(std::begin(kMissing), std::end(kMissing), cell) != std::end(kMissing);
}

template <class T>
bool numberOf(std::string_view cell, T& value) {
  if (!cell.empty() && cell[0] == '+') cell.remove_prefix(1);
  auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
  return error == std::errc() && end == cell.data() + cell.size();
}

// One column as it is read: values by year.
struct Column {
  std::string name;
  std::map<std::int32_t, float> byYear;
};

NamedSeries seriesOf(const Column& column, std::vector<std::string>& messages) {
  NamedSeries named;
  named.name = column.name;
  if (column.byYear.empty()) return named;
  named.firstYear = column.byYear.begin()->first;
  const std::int32_t last = column.byYear.rbegin()->first;
  std::int32_t gaps = 0, firstGap = 0;
  for (std::int64_t year = named.firstYear; year <= last; ++year) {
    if (named.values.size() == static_cast<std::size_t>(kMaxValues)) {
      messages.push_back("Series " + named.name + ": values after " + std::to_string(year - 1) +
                         " are beyond the " + std::to_string(kMaxValues) + " a series holds");
      break;
    }
    auto it = column.byYear.find(static_cast<std::int32_t>(year));
    if (it == column.byYear.end() && gaps++ == 0) firstGap = static_cast<std::int32_t>(year);
    named.values.push_back(it == column.byYear.end() ? 0.0f : it->second);
  }
  if (gaps > 0)
    messages.push_back("Series " + named.name + ": " + std::to_string(gaps) +
                       " years without a value inside the series, the first " +
                       std::to_string(firstGap) + ": taken as 0");
  return named;
}

// Takes one data row into the columns.
void takeRow(const std::vector<std::string>& cells, std::int32_t year, std::size_t lineNo,
             std::vector<Column>& columns, std::vector<std::string>& messages) {
  for (std::size_t k = 1; k < cells.size() && k <= columns.size(); ++k) {
    if (isMissing(cells[k])) continue;
    float value = 0;
    Column& column = columns[k - 1];
    if (!numberOf(cells[k], value)) {
      messages.push_back("Series " + column.name + ", year " + std::to_string(year) + ": " +
                         cells[k] + " is no number: no value");
    } else if (!column.byYear.emplace(year, value).second) {
      messages.push_back("Line " + std::to_string(lineNo) + ": the year " + std::to_string(year) +
                         " stands twice: the first is kept");
    }
  }
  if (cells.size() > columns.size() + 1)
    messages.push_back("Line " + std::to_string(lineNo) + ": " +
                       std::to_string(cells.size() - columns.size() - 1) +
                       " cells beyond the named columns are not read");
}

}  // namespace

bool looksLikeCsvTable(const std::vector<std::string_view>& lines) {
  if (lines.size() < 2) return false;
  const std::vector<std::string> header = cellsOf(lines[0]);
  const std::vector<std::string> first = cellsOf(lines[1]);
  std::int32_t year = 0;
  float value = 0;
  return header.size() >= 2 && first.size() >= 2 && !numberOf(header[1], value) &&
         numberOf(first[0], year);
}

ExchangeRead readCsvTable(const std::vector<std::string_view>& lines) {
  ExchangeRead read;
  if (lines.empty()) return read;
  std::vector<Column> columns;
  const std::vector<std::string> header = cellsOf(lines[0]);
  for (std::size_t k = 1; k < header.size(); ++k) columns.push_back({header[k], {}});
  for (std::size_t n = 1; n < lines.size(); ++n) {
    if (trimmed(lines[n]).empty()) continue;
    const std::vector<std::string> cells = cellsOf(lines[n]);
    std::int32_t year = 0;
    if (!numberOf(cells[0], year)) {
      read.messages.push_back("Line " + std::to_string(n + 1) + ": no year in its first cell (" +
                              cells[0] + "): not read");
      continue;
    }
    takeRow(cells, year, n + 1, columns, read.messages);
  }
  for (const Column& column : columns) {
    NamedSeries named = seriesOf(column, read.messages);
    if (named.values.empty())
      read.messages.push_back("Series " + column.name + ": no value at all: left out");
    else
      read.series.push_back(std::move(named));
  }
  return read;
}

namespace {

// A name as a cell: quoted when it holds a comma, a quote or blanks at an end.
std::string cellOf(const std::string& name) {
  if (name.find_first_of(",\"") == std::string::npos && trimmed(name) == name) return name;
  std::string cell = "\"";
  for (char c : name) cell += c == '"' ? std::string("\"\"") : std::string(1, c);
  return cell + "\"";
}

}  // namespace

// The years some series has a value in, as runs of years, in order: rows of
// a table between them would hold nothing, however far apart the series lie.
std::vector<std::pair<std::int64_t, std::int64_t>> coveredYears(
    const std::vector<NamedSeries>& series) {
  std::vector<std::pair<std::int64_t, std::int64_t>> runs;
  for (const NamedSeries& s : series)
    if (!s.values.empty())
      runs.emplace_back(s.firstYear,
                        std::int64_t{s.firstYear} + static_cast<std::int64_t>(s.values.size()) - 1);
  std::sort(runs.begin(), runs.end());
  std::vector<std::pair<std::int64_t, std::int64_t>> merged;
  for (const auto& run : runs) {
    if (!merged.empty() && run.first <= merged.back().second + 1)
      merged.back().second = std::max(merged.back().second, run.second);
    else
      merged.push_back(run);
  }
  return merged;
}

std::string writeCsvTable(const std::vector<NamedSeries>& series) {
  std::string text = "year";
  for (const NamedSeries& s : series) text += "," + cellOf(s.name);
  text += '\n';
  for (const auto& [first, last] : coveredYears(series)) {
    for (std::int64_t year = first; year <= last; ++year) {
      text += std::to_string(year);
      for (const NamedSeries& s : series) {
        const std::int64_t k = year - s.firstYear;
        const bool has = k >= 0 && k < static_cast<std::int64_t>(s.values.size());
        text += "," + (has ? shortestText(s.values[static_cast<std::size_t>(k)]) : "NA");
      }
      text += '\n';
    }
  }
  return text;
}

}  // namespace series
