// ringedit on a real terminal (a tmux pane): after a non-numeric answer to
// an integer question, the bell and cursor-up records must leave the marker
// "INTEGER!" ending in column 76 of the question's own screen line, and the
// question must be asked again on that same line.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/console_script.h"

namespace {

constexpr const char* kQuestion = " Correct date of FIRST year => ";

bool haveTmux() { return std::system("command -v tmux >/dev/null 2>&1") == 0; }

std::string quoted(const std::string& text) {
  std::string q = "'";
  for (char ch : text) q += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
  return q + "'";
}

// Standard output of a shell command.
std::string shell(const std::string& command) {
  std::string out;
  if (std::FILE* p = popen(command.c_str(), "r")) {
    char buf[512];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
  }
  return out;
}

// A detached tmux server of its own (its socket in dir) running one program
// in a 100 x 40 pane.
class Pane {
 public:
  Pane(const std::string& dir, const std::string& program)
      : tmux_("tmux -S " + quoted(dir + "/tmux.socket") + " ") {
    shell(tmux_ + "new-session -d -s edit -x 100 -y 40 -c " + quoted(dir) + " " + quoted(program));
  }
  ~Pane() { shell(tmux_ + "kill-server 2>/dev/null"); }

  void type(const std::string& text) {
    if (!text.empty()) shell(tmux_ + "send-keys -t edit -l " + quoted(text));
    shell(tmux_ + "send-keys -t edit Enter");
  }
  // Keys by their tmux names (Left, Home, BSpace, Up ...), one word each.
  void keys(const std::string& names) { shell(tmux_ + "send-keys -t edit " + names); }
  std::vector<std::string> screen() {
    std::vector<std::string> lines;
    std::string text = shell(tmux_ + "capture-pane -p -t edit");
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
      lines.push_back(text.substr(start, nl - start));
    return lines;
  }
  // Cursor column and row, counted from 0.
  std::pair<int, int> cursor() {
    int x = -1, y = -1;
    std::sscanf(shell(tmux_ + "display-message -p -t edit '#{cursor_x} #{cursor_y}'").c_str(),
                "%d %d", &x, &y);
    return {x, y};
  }
  // Waits until a screen line contains text (and a later check holds).
  bool waitFor(
      const std::string& text, const std::function<bool()>& also = [] { return true; }) {
    for (int i = 0; i < 200; ++i) {
      for (const std::string& line : screen())
        if (line.find(text) != std::string::npos && also()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

 private:
  std::string tmux_;
};

// The existing file of both sessions: one compact series, 1901-1910.
constexpr const char* kOldFile =
    "      10=N    1901=I AB01                                            -2(13F6.0)~\n"
    "   101   102   103   104   105   106   107   108   109   110\n";

// A question and the answer typed to it once it shows.
using Step = std::pair<const char*, const char*>;

// Answers each question as it shows; false (with a failure) when one never does.
bool answer(Pane& pane, const std::vector<Step>& steps) {
  for (const auto& [prompt, typed] : steps) {
    if (!pane.waitFor(prompt)) {
      ADD_FAILURE() << "no question " << prompt;
      return false;
    }
    pane.type(typed);
  }
  return true;
}

// The session's questions from the new file to the first year's answer.
std::vector<Step> toFirstYear(const char* year) {
  return {{"Name of NEW file to create =>", "new.txt"},
          {"FORMAT for edited file =>", ""},
          {"Copy as title", "N"},
          {"Select =>", "F"},
          {"Correct date of FIRST year =>", year}};
}

TEST(Terminal, RejectedIntegerIsMarkedAndAskedAgainOnTheSameLine) {
  if (!haveTmux()) GTEST_SKIP() << "tmux is not installed";
  testing_support::TempDir dir;
  dir.write("old.txt", kOldFile);
  Pane pane(dir.path(), RINGEDIT_PATH);
  std::vector<Step> steps = toFirstYear("abc");
  steps.insert(steps.begin(), {"Name of EXISTING file =>", "old.txt"});
  ASSERT_TRUE(answer(pane, steps));
  const int questionColumns = static_cast<int>(std::string(kQuestion).size());
  ASSERT_TRUE(pane.waitFor("INTEGER!", [&] { return pane.cursor().first == questionColumns; }))
      << "the question was not asked again";

  std::vector<std::string> lines = pane.screen();
  int row = -1, count = 0;
  for (int i = 0; i < static_cast<int>(lines.size()); ++i)
    if (lines[i].find(kQuestion) != std::string::npos) {
      row = i;
      ++count;
    }
  ASSERT_EQ(count, 1) << "the question stands on more than one line";
  const std::string& line = lines[row];
  EXPECT_EQ(line.rfind(kQuestion, 0), 0u) << line;
  EXPECT_EQ(line.find("INTEGER!"), 68u) << line;  // columns 69-76
  EXPECT_EQ(line.size(), 76u) << "nothing may follow the marker: " << line;
  EXPECT_EQ(line.find("abc"), std::string::npos) << "the rejected answer is still shown";
  EXPECT_EQ(pane.cursor().second, row) << "the cursor is not on the question's line";

  pane.type("1950");
  EXPECT_TRUE(pane.waitFor("Interval  1950  1959")) << "the answer given again was not taken";
  pane.type("X");
}

// On a terminal an answer can be edited before Enter: the cursor keys,
// Home and End, Backspace, and Up for an earlier answer. What the program
// writes and reads stays as without editing.
TEST(Terminal, AnswersCanBeEditedAndRecalled) {
  if (!haveTmux()) GTEST_SKIP() << "tmux is not installed";
  testing_support::TempDir dir;
  dir.write("old.txt", kOldFile);
  Pane pane(dir.path(), RINGEDIT_PATH);
  ASSERT_TRUE(pane.waitFor("Name of EXISTING file =>"));
  pane.keys("l d . t x t t Home o End BSpace Left Left Right Right Enter");
  ASSERT_TRUE(pane.waitFor("file old.txt")) << "the edited name was not taken";
  ASSERT_TRUE(answer(pane, toFirstYear("1950x")));
  ASSERT_TRUE(pane.waitFor("INTEGER!"));
  pane.keys("Up BSpace Enter");
  EXPECT_TRUE(pane.waitFor("Interval  1950  1959")) << "the recalled answer was not taken";
  pane.type("X");
}

}  // namespace
