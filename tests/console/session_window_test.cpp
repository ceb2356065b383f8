// Whole edit sessions typed into the "Input/Output" window: they write the
// same new file as on the text console, and the window shows the dialogue
// exactly as the console's output and the typed answers make it.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "app/session.h"
#include "common/tables.h"
#include "console/frame.h"
#include "console/series_plotter.h"
#include "console/stream_blocks.h"
#include "fmtio/hooks.h"
#include "tests/console/window_fixture.h"
#include "tests/support/console_script.h"

namespace console {
namespace {

namespace fs = std::filesystem;
using testing_support::ConsoleScript;
using testing_support::TempDir;

const fs::path kGoldenDir = fs::path(RINGEDIT_SOURCE_DIR) / "tests" / "golden";

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> answersOf(const std::string& typed) {
  std::vector<std::string> answers;
  std::istringstream in(typed);
  for (std::string line; std::getline(in, line);) answers.push_back(line);
  return answers;
}

// The session's folder: copies of its input files, the working directory
// while it runs, with the clock fixed as for the golden sessions.
class SessionFolder {
 public:
  explicit SessionFolder(const fs::path& caseDir) : home_(fs::current_path()) {
    for (const fs::directory_entry& e : fs::directory_iterator(caseDir)) {
      const std::string name = e.path().filename().string();
      if (name != "stdin" && name != "console.txt" && name != "stderr.txt" &&
          name.rfind("new", 0) != 0)
        dir_.write(name, readFile(e.path()));
    }
    fs::current_path(dir_.path());
    common::setClock([] { return common::LocalTime{2005, 3, 4, 15, 32}; });
  }
  ~SessionFolder() {
    common::setClock({});
    fs::current_path(home_);
  }
  const TempDir& dir() const { return dir_; }

 private:
  fs::path home_;
  TempDir dir_;
};

// The session on a scripted text console, its output and answers fed to a
// window's text the way the window environment feeds them.
ConsoleText plainSessionText(const fs::path& caseDir) {
  SessionFolder folder(caseDir);
  ConsoleText text;
  text.resize(100, 40);
  ConsoleScript script(readFile(caseDir / "stdin"));
  fmtio::ConsoleHooks& hooks = fmtio::consoleHooks();
  auto read = hooks.readLine;
  auto write = hooks.writeBlock;
  hooks.readLine = [&](int unit, std::string& line) {
    const bool got = read(unit, line);
    for (char c : line.substr(0, line.find('\n'))) text.feed(c);
    text.feed('\r');
    return got;
  };
  hooks.writeBlock = [&](int unit, bool toError, std::string_view bytes) {
    write(unit, toError, bytes);
    for (const std::string& block : consoleBlocks(bytes)) text.write(block);
  };
  EXPECT_EQ(script.run(app::editSession), 0);
  return text;
}

// What a session typed into the window left: the window's lines, the new
// files by name, and the plot window's last title when one was open.
struct WindowSession {
  std::vector<std::string> lines;
  std::map<std::string, std::string> created;
  std::string plotTitle;
};

// The session of a case typed into the "Input/Output" window; with plot,
// the plot of the series is opened before the first answer.
WindowSession runInWindow(const fs::path& caseDir, bool plot) {
  WindowRun window;
  if (plot)
    window.driver.then(window.driver.whenReading(
        [&window] { window.environment.frame()->command(static_cast<int>(Command::PlotSeries)); }));
  for (const std::string& answer : answersOf(readFile(caseDir / "stdin")))
    window.driver.type(answer);
  WindowSession result;
  window.driver.then(window.driver.whenFinished([&] {
    if (const GraphicsWindow* shown = window.environment.plotter()->window())
      result.plotTitle = shown->windowTitle().toStdString();
  }));
  window.driver.exitWhenFinished().press(QMessageBox::No);
  {
    SessionFolder folder(caseDir);
    EXPECT_EQ(window.run(app::editSession), 0);
    for (const fs::directory_entry& e : fs::directory_iterator(folder.dir().path()))
      if (e.path().filename().string().rfind("new", 0) == 0)
        result.created[e.path().filename().string()] = readFile(e.path());
  }
  result.lines = linesOf(window.io);
  return result;
}

class SessionInWindow : public testing::TestWithParam<std::string> {};

TEST_P(SessionInWindow, TypedAnswersGiveTheSameNewFileAndDialogue) {
  const fs::path caseDir = kGoldenDir / GetParam();
  ASSERT_TRUE(fs::is_directory(caseDir)) << caseDir;
  const ConsoleText plain = plainSessionText(caseDir);
  const WindowSession session = runInWindow(caseDir, false);

  std::map<std::string, std::string> expected;
  for (const fs::directory_entry& e : fs::directory_iterator(caseDir))
    if (e.path().filename().string().rfind("new", 0) == 0)
      expected[e.path().filename().string()] = readFile(e.path());
  EXPECT_EQ(session.created, expected);

  std::vector<std::string> want;
  for (int k = 0; k < plain.lineCount(); ++k) want.emplace_back(plain.line(k));
  EXPECT_EQ(session.lines, want);
  const std::string stop = readFile(caseDir / "stderr.txt");
  EXPECT_NE(std::find(want.begin(), want.end(), stop.substr(0, stop.find('\n'))), want.end())
      << "the stop message";
}

// The plot follows the series, and the dialogue and the new file are the
// same byte for byte whether it is open or not.
TEST_P(SessionInWindow, PlottingChangesNeitherTheDialogueNorTheNewFile) {
  const fs::path caseDir = kGoldenDir / GetParam();
  const WindowSession without = runInWindow(caseDir, false);
  const WindowSession with = runInWindow(caseDir, true);
  EXPECT_EQ(with.lines, without.lines);
  EXPECT_EQ(with.created, without.created);
  EXPECT_FALSE(with.created.empty());
  EXPECT_EQ(with.plotTitle.rfind("Plot ", 0), 0u) << with.plotTitle;
  EXPECT_GT(with.plotTitle.size(), 5u) << "titled with the identification";
}

// Names typed with accents reach the file system as UTF-8: the existing
// file is opened by its name and the new file gets the name typed.
TEST(SessionInWindowNames, AnExistingAndANewFileNamedInUtf8) {
  const fs::path caseDir = kGoldenDir / "insert";
  const std::string existing = "m\xc3\xbcller.rwm";
  const std::string created = "w\xc3\xbc.rwl";
  std::vector<std::string> answers = answersOf(readFile(caseDir / "stdin"));
  ASSERT_GE(answers.size(), 2u);
  answers[0] = existing;
  answers[1] = created;
  WindowRun window;
  for (const std::string& answer : answers) window.driver.type(answer);
  window.driver.exitWhenFinished().press(QMessageBox::No);
  SessionFolder folder(caseDir);
  const fs::path dir(folder.dir().path());
  fs::rename(dir / "old.txt", dir / fs::u8path(existing));
  EXPECT_EQ(window.run(app::editSession), 0);
  EXPECT_EQ(readFile(dir / fs::u8path(created)), readFile(caseDir / "new.txt"));
}

INSTANTIATE_TEST_SUITE_P(Golden, SessionInWindow,
                         testing::Values("insert", "slash_exit", "copy_all_compact", "redate"),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

}  // namespace
}  // namespace console
