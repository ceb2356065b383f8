// TRiDaS files, read and written with the system's XML library.
#include "series/tridas.h"

#include <charconv>
#include <cmath>
#include <pugixml.hpp>

namespace series {
namespace {

constexpr std::string_view kNamespace = "http://www.tridas.org/1.2.2";

// Unit of the values (normalTridas) -> what one value is in millimetres.
struct UnitFactor {
  std::string_view unit;
  double factor;
};
constexpr UnitFactor kUnits[] = {
    {"1/1000th millimetres", 0.001}, {"1/100th millimetres", 0.01}, {"1/50th millimetres", 0.02},
    {"1/20th millimetres", 0.05},    {"1/10th millimetres", 0.1},   {"millimetres", 1.0},
    {"micrometres", 0.001},          {"centimetres", 10.0},         {"metres", 1000.0}};

// Year suffix -> how the number becomes a year of the series record.
struct YearSuffix {
  std::string_view suffix;
  std::int64_t base;  // year = base + sign * number
  int sign;
};
constexpr YearSuffix kSuffixes[] = {{"AD", 0, 1}, {"BC", 1, -1}, {"BP", 1950, -1}};

// The element's name without a namespace prefix.
std::string_view localName(const pugi::xml_node& node) {
  std::string_view name = node.name();
  std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node child(const pugi::xml_node& node, std::string_view name) {
  for (pugi::xml_node c : node.children())
    if (c.type() == pugi::node_element && localName(c) == name) return c;
  return {};
}

std::string textOf(const pugi::xml_node& node) {
  std::string_view text = node.child_value();
  std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1));
}

bool numberOf(std::string_view text, double& value) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// The titles of the series' ancestors from the project down, and the series'.
std::vector<std::string> titlesOf(const pugi::xml_node& series) {
  std::vector<std::string> titles;
  for (pugi::xml_node n = series; n && localName(n) != "tridas"; n = n.parent())
    titles.insert(titles.begin(), textOf(child(n, "title")));
  return titles;
}

std::string joined(const std::vector<std::string>& parts, std::string_view between,
                   std::size_t from) {
  std::string text;
  for (std::size_t k = from; k < parts.size(); ++k)
    if (!parts[k].empty()) text += (text.empty() ? "" : std::string(between)) + parts[k];
  return text;
}

std::int32_t firstYearOf(const pugi::xml_node& series, const std::string& name,
                         std::vector<std::string>& messages) {
  pugi::xml_node first = child(child(series, "interpretation"), "firstYear");
  double number = 0;
  if (first && numberOf(textOf(first), number)) {
    std::string_view suffix = first.attribute("suffix").as_string("AD");
    for (const YearSuffix& s : kSuffixes)
      if (s.suffix == suffix)
        return static_cast<std::int32_t>(s.base + s.sign * std::llround(number));
    messages.push_back("Series " + name + ": the year suffix \"" + std::string(suffix) +
                       "\" is not known: read as AD");
    return static_cast<std::int32_t>(std::llround(number));
  }
  messages.push_back("Series " + name + ": no first year: dated from year 1");
  return 1;
}

double factorOf(const pugi::xml_node& values, const std::string& name,
                std::vector<std::string>& messages) {
  if (child(values, "unitless")) return 1.0;
  pugi::xml_node unit = child(values, "unit");
  std::string_view normal = unit.attribute("normalTridas").as_string();
  for (const UnitFactor& u : kUnits)
    if (u.unit == normal) return u.factor;
  messages.push_back("Series " + name + ": the unit \"" +
                     std::string(normal.empty() ? textOf(unit) : std::string(normal)) +
                     "\" is not known: values read as they stand");
  return 1.0;
}

void takeValues(const pugi::xml_node& values, NamedSeries& named,
                std::vector<std::string>& messages) {
  const double factor = factorOf(values, named.name, messages);
  bool counts = false;
  for (pugi::xml_node v : values.children()) {
    if (v.type() != pugi::node_element || localName(v) != "value") continue;
    if (named.values.size() == static_cast<std::size_t>(kMaxValues)) {
      messages.push_back("Series " + named.name + ": values beyond the " +
                         std::to_string(kMaxValues) + " a series holds are not read");
      break;
    }
    double number = 0;
    if (!numberOf(v.attribute("value").as_string(), number)) {
      messages.push_back("Series " + named.name + ", year " +
                         std::to_string(named.firstYear + std::int64_t(named.values.size())) +
                         ": the value \"" + v.attribute("value").as_string() +
                         "\" is no number: taken as 0");
      number = 0;
    }
    named.values.push_back(static_cast<float>(number * factor));
    counts = counts || v.attribute("count");
    named.samples.push_back(v.attribute("count").as_int(0));
  }
  if (!counts) named.samples.clear();
}

NamedSeries seriesOf(const pugi::xml_node& node, std::vector<std::string>& messages) {
  NamedSeries named;
  const std::vector<std::string> titles = titlesOf(node);
  named.name = textOf(child(node, "identifier"));
  if (named.name.empty()) named.name = joined(titles, "-", 1);
  if (named.name.empty()) named.name = "TRIDAS";
  named.note = joined(titles, " / ", 0);
  named.firstYear = firstYearOf(node, named.name, messages);
  int sets = 0;
  for (pugi::xml_node values : node.children())
    if (values.type() == pugi::node_element && localName(values) == "values" && sets++ == 0)
      takeValues(values, named, messages);
  if (sets > 1)
    messages.push_back("Series " + named.name + ": " + std::to_string(sets - 1) +
                       " further sets of values (other variables) are not read");
  return named;
}

void findSeries(const pugi::xml_node& node, ExchangeRead& read) {
  for (pugi::xml_node c : node.children()) {
    if (c.type() != pugi::node_element) continue;
    std::string_view name = localName(c);
    if (name == "measurementSeries" || name == "derivedSeries") {
      NamedSeries named = seriesOf(c, read.messages);
      if (named.values.empty())
        read.messages.push_back("Series " + named.name + ": no values: left out");
      else
        read.series.push_back(std::move(named));
    } else {
      findSeries(c, read);
    }
  }
}

}  // namespace

bool looksLikeTridas(const std::vector<std::string_view>& lines) {
  for (std::string_view line : lines) {
    std::size_t at = line.find("<");
    while (at != std::string_view::npos &&
           (line.compare(at, 2, "<?") == 0 || line.compare(at, 2, "<!") == 0))
      at = line.find('<', at + 1);
    if (at == std::string_view::npos) continue;
    std::string_view tag = line.substr(at + 1);
    std::size_t colon = tag.find(':');
    if (colon != std::string_view::npos && colon < tag.find_first_of(" >"))
      tag.remove_prefix(colon + 1);
    return tag.substr(0, 6) == "tridas" && (tag.size() == 6 || tag[6] == ' ' || tag[6] == '>');
  }
  return false;
}

ExchangeRead readTridas(std::string_view text) {
  ExchangeRead read;
  pugi::xml_document document;
  pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size());
  if (!parsed) {
    read.messages.push_back(std::string("not well-formed XML: ") + parsed.description() +
                            " at byte " + std::to_string(parsed.offset));
    return read;
  }
  findSeries(document, read);
  return read;
}

namespace {

// The document's text.
struct TextWriter : pugi::xml_writer {
  std::string text;
  void write(const void* data, std::size_t size) override {
    text.append(static_cast<const char*>(data), size);
  }
};

pugi::xml_node addText(pugi::xml_node parent, const char* name, const std::string& text) {
  pugi::xml_node node = parent.append_child(name);
  node.text().set(text.c_str());
  return node;
}

// The year as TRiDaS writes it: AD from 1 on, BC before.
void addYear(pugi::xml_node parent, const char* name, std::int64_t year) {
  pugi::xml_node node = addText(parent, name, std::to_string(year >= 1 ? year : 1 - year));
  node.append_attribute("suffix") = year >= 1 ? "AD" : "BC";
}

// 1/100th millimetres when every value is a whole number of hundredths.
bool inHundredths(const NamedSeries& s) {
  for (float v : s.values) {
    double k = double(v) * 100.0;
    if (std::fabs(k - std::round(k)) > 1e-3) return false;
  }
  return true;
}

void addValues(pugi::xml_node series, const NamedSeries& s) {
  pugi::xml_node values = series.append_child("values");
  values.append_child("variable").append_attribute("normalTridas") = "Ring width";
  const bool derived = !s.samples.empty();
  const bool hundredths = !derived && inHundredths(s);
  if (derived)
    values.append_child("unitless");
  else
    values.append_child("unit").append_attribute("normalTridas") =
        hundredths ? "1/100th millimetres" : "1/1000th millimetres";
  for (std::size_t k = 0; k < s.values.size(); ++k) {
    pugi::xml_node value = values.append_child("value");
    std::string text =
        derived ? shortestText(s.values[k])
                : std::to_string(std::llround(double(s.values[k]) * (hundredths ? 100.0 : 1000.0)));
    value.append_attribute("value") = text.c_str();
    if (derived) value.append_attribute("count") = s.samples[k];
  }
}

void addSeries(pugi::xml_node parent, const char* kind, const NamedSeries& s) {
  pugi::xml_node series = parent.append_child(kind);
  addText(series, "title", s.name);
  addText(series, "identifier", s.name).append_attribute("domain") = "ringedit";
  if (!s.note.empty()) addText(series, "comments", s.note);
  if (std::string_view(kind) == "derivedSeries") addText(series, "type", "Chronology");
  pugi::xml_node interpretation = series.append_child("interpretation");
  addYear(interpretation, "firstYear", s.firstYear);
  addYear(interpretation, "lastYear",
          std::int64_t{s.firstYear} + std::int64_t(s.values.size()) - 1);
  addValues(series, s);
}

// The object, element, sample and radius a measurement series stands in.
pugi::xml_node radiusFor(pugi::xml_node object, const NamedSeries& s) {
  pugi::xml_node element = object.append_child("element");
  addText(element, "title", s.name);
  addText(element, "taxon", "Unknown");
  pugi::xml_node sample = element.append_child("sample");
  addText(sample, "title", s.name);
  addText(sample, "type", "Unknown");
  pugi::xml_node radius = sample.append_child("radius");
  addText(radius, "title", s.name);
  return radius;
}

}  // namespace

std::string writeTridas(const std::vector<NamedSeries>& series) {
  pugi::xml_document document;
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  pugi::xml_node root = document.append_child("tridas");
  root.append_attribute("xmlns") = std::string(kNamespace).c_str();
  pugi::xml_node project = root.append_child("project");
  addText(project, "title", "Series written by ringedit");
  addText(project, "identifier", "ringedit").append_attribute("domain") = "ringedit";
  addText(project, "type", "Unknown");
  addText(project.append_child("laboratory"), "name", "Unknown");
  addText(project, "category", "Unknown");
  addText(project, "investigator", "Unknown");
  addText(project, "period", "Unknown");
  pugi::xml_node object;
  for (const NamedSeries& s : series) {
    if (!s.samples.empty()) continue;
    if (!object) {
      object = project.append_child("object");
      addText(object, "title", "Unknown");
      addText(object, "type", "Unknown");
    }
    addSeries(radiusFor(object, s), "measurementSeries", s);
  }
  for (const NamedSeries& s : series)
    if (!s.samples.empty()) addSeries(project, "derivedSeries", s);
  TextWriter writer;
  document.save(writer, "  ", pugi::format_default, pugi::encoding_utf8);
  return writer.text;
}

namespace {

ExchangeRead readTridasText(std::string_view text) { return readTridas(text); }

}  // namespace

void registerTridas() {
  registerExchange(Exchange::Tridas, {looksLikeTridas, readTridasText, writeTridas});
}

}  // namespace series
