// Whole-file conversion as `ringedit convert` does it: app::processInput reads
// every series of the input with DATOL and writes the new file with the
// session's writers; the console text goes to the captured console, not to a
// terminal. The inputs are built at run time by concatenating the real
// decadal files of the data folder (RINGEDIT_BENCH_DATA, by default
// ../shared/data/rwl beside the checkout) to about 20 MB
// (RINGEDIT_BENCH_MEGABYTES): one of the files in hundredths (stop marker
// 999) and one of the files in thousandths (-9999). Each case reports
// bytes_per_second of its input:
//   decadal01ToCompact, decadal001ToCompact: decadal file -> compact
//   compactToDecadal01, compactToDecadal001: the compact file made from each
//     -> decadal in hundredths (M) or thousandths (3)
// The files go to a fresh folder under the system's temporary directory,
// removed at the end; each conversion writes a new file there.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/arguments.h"
#include "app/batch.h"

namespace {

namespace fs = std::filesystem;

// The precision of a decadal file, told by its stop markers.
enum class Precision { Hundredths, Thousandths, Unknown };

std::string fileText(const fs::path& path) {
  std::string text;
  std::FILE* f = std::fopen(path.string().c_str(), "rb");
  if (f == nullptr) return text;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
  std::fclose(f);
  return text;
}

bool hasMarker(std::string_view text, std::string_view marker) {
  for (std::size_t at = text.find(marker); at != std::string_view::npos;
       at = text.find(marker, at + 1)) {
    std::size_t end = at + marker.size();
    bool before = at == 0 || text[at - 1] == ' ';
    bool after = end == text.size() || text[end] == '\r' || text[end] == '\n';
    if (before && after) return true;
  }
  return false;
}

Precision precisionOf(std::string_view text) {
  const bool thousandths = hasMarker(text, "-9999");
  const bool hundredths = hasMarker(text, "999");
  if (hundredths == thousandths) return Precision::Unknown;
  return thousandths ? Precision::Thousandths : Precision::Hundredths;
}

// The exit status of a run without its data folder: ctest counts it skipped.
constexpr int kSkipped = 77;

std::size_t targetBytes() {
  const char* megabytes = std::getenv("RINGEDIT_BENCH_MEGABYTES");
  const long n = megabytes != nullptr ? std::atol(megabytes) : 20;
  return static_cast<std::size_t>(std::max(1L, n)) * 1'000'000;
}

// The texts of the data folder's *.rwl files of one precision, each ending
// in a line end, in the order of their names.
std::vector<std::string> dataFiles(Precision precision) {
  const char* dir = std::getenv("RINGEDIT_BENCH_DATA");
  const fs::path folder = dir ? dir : RINGEDIT_BENCH_DATA_DIR;
  if (!fs::is_directory(folder)) {
    std::fprintf(stderr, "needs ../shared/data/rwl (not found at %s)\n", folder.c_str());
    std::exit(kSkipped);
  }
  std::vector<fs::path> paths;
  for (const fs::directory_entry& e : fs::directory_iterator(folder))
    if (e.path().extension() == ".rwl") paths.push_back(e.path());
  std::sort(paths.begin(), paths.end());
  std::vector<std::string> texts;
  for (const fs::path& path : paths) {
    std::string text = fileText(path);
    if (text.empty() || precisionOf(text) != precision) continue;
    if (text.back() != '\n') text += "\r\n";
    texts.push_back(std::move(text));
  }
  if (texts.empty()) std::abort();
  return texts;
}

void writeFile(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr || std::fwrite(text.data(), 1, text.size(), f) != text.size()) std::abort();
  std::fclose(f);
}

app::BatchOptions options(char from, char to) {
  app::BatchOptions o;
  o.from = from;
  o.to = to;
  o.force = true;
  return o;
}

// One conversion; aborts when the input could not be read through.
void convert(const std::string& input, const std::string& output, char from, char to) {
  if (app::processInput(input, output, options(from, to)).status == app::kBatchFailed) std::abort();
}

// The inputs, made once: the two decadal files and the compact file of each.
class BenchFiles {
 public:
  BenchFiles() {
    std::string pattern = (fs::temp_directory_path() / "ringedit-convert-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    dir_ = pattern;
    concatenate(Precision::Hundredths, path("decadal01.rwl"));
    concatenate(Precision::Thousandths, path("decadal001.rwl"));
    convert(path("decadal01.rwl"), path("compact01.rwm"), 'M', 'C');
    convert(path("decadal001.rwl"), path("compact001.rwm"), 'M', 'C');
  }
  ~BenchFiles() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string path(const char* name) const { return (dir_ / name).string(); }
  std::int64_t size(const char* name) const {
    return static_cast<std::int64_t>(fs::file_size(path(name)));
  }

 private:
  static void concatenate(Precision precision, const std::string& path) {
    const std::vector<std::string> texts = dataFiles(precision);
    const std::size_t target = targetBytes();
    std::string all;
    all.reserve(target + 2'000'000);
    while (all.size() < target)
      for (const std::string& text : texts) all += text;
    writeFile(path, all);
  }
  fs::path dir_;
};

const BenchFiles& files() {
  static BenchFiles f;
  return f;
}

// Each conversion writes a new file, as a conversion to a new name does: the
// file of the one before is removed with the clock stopped, so that what is
// timed is not the file system freeing and writing back a replaced file.
void run(benchmark::State& state, const char* input, char from, char to) {
  const BenchFiles& f = files();
  const std::string output = f.path("out");
  for (auto _ : state) {
    state.PauseTiming();
    std::remove(output.c_str());
    state.ResumeTiming();
    convert(f.path(input), output, from, to);
  }
  state.SetBytesProcessed(state.iterations() * f.size(input));
}

void decadal01ToCompact(benchmark::State& state) { run(state, "decadal01.rwl", 'M', 'C'); }
void decadal001ToCompact(benchmark::State& state) { run(state, "decadal001.rwl", 'M', 'C'); }
void compactToDecadal01(benchmark::State& state) { run(state, "compact01.rwm", 'C', 'M'); }
void compactToDecadal001(benchmark::State& state) { run(state, "compact001.rwm", 'C', '3'); }

BENCHMARK(decadal01ToCompact)->Unit(benchmark::kMillisecond);
BENCHMARK(decadal001ToCompact)->Unit(benchmark::kMillisecond);
BENCHMARK(compactToDecadal01)->Unit(benchmark::kMillisecond);
BENCHMARK(compactToDecadal001)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
