// OPEN and CLOSE: specifier validation, STATUS rules on real files, scratch
// files, re-OPEN, window units and the file-name rule.
#include <gtest/gtest.h>

#include <functional>

#include "console_capture.h"
#include "fmtio/unit_kinds.h"

namespace fmtio {
namespace {

using units_testing::ConsoleCaptureTest;

class OpenTest : public ConsoleCaptureTest {
 protected:
  // OPEN with IOSTAT; returns IOSTAT (0 on success) and checks the outcome.
  int open(int unit, const OpenSpec& spec) {
    std::int32_t iostat = -99;
    Control control;
    control.unit = unit;
    control.iostat = &iostat;
    int outcome = OPEN(control, spec);
    EXPECT_EQ(outcome, iostat == 0 ? kCompleted : kOutcomeError);
    return iostat;
  }
  int close(int unit, std::optional<std::string> status = {}) {
    std::int32_t iostat = -99;
    Control control;
    control.unit = unit;
    control.iostat = &iostat;
    CLOSE(control, status);
    return iostat;
  }
  OpenSpec named(const std::string& name) {
    OpenSpec spec;
    spec.file = path(name);
    return spec;
  }
  static ConnectedUnit* connected(int unit) { return connectedUnit(unit, StatementKind::Open); }
  static int write(int unit, std::string_view record) {
    int status = 0;
    Unit* u = findUnit(unit, StatementKind::Write, status);
    return u != nullptr ? u->writeRecord(record, true) : status;
  }
};

struct SpecRow {
  const char* what;
  std::function<void(OpenSpec&)> set;
  int want;
};

TEST_F(OpenTest, SpecifiersAreCheckedInTableOrder) {
  const SpecRow rows[] = {
      {"FILE blank", [](OpenSpec& s) { s.file = "   "; }, kErrBadFileSpec},
      {"STATUS bad", [](OpenSpec& s) { s.status = "OLDISH"; }, kErrBadSpecifier},
      {"STATUS lower, trailing blanks", [](OpenSpec& s) { s.status = "old  "; }, 0},
      {"STATUS leading blank", [](OpenSpec& s) { s.status = " OLD"; }, kErrBadSpecifier},
      {"SCRATCH with FILE", [](OpenSpec& s) { s.status = "SCRATCH"; }, kErrBadFileSpec},
      {"ACCESS bad", [](OpenSpec& s) { s.access = "RANDOM"; }, kErrBadSpecifier},
      {"ACCESS append", [](OpenSpec& s) { s.access = "append"; }, 0},
      {"DIRECT no RECL", [](OpenSpec& s) { s.access = "DIRECT"; }, kErrReclNonPositive},
      {"DIRECT RECL",
       [](OpenSpec& s) {
         s.access = "DIRECT";
         s.recl = 80;
       },
       0},
      // A size field that is not a number is 0: the window takes its default size.
      {"WINDOW bad size", [](OpenSpec& s) { s.access = "WINDOW,abc"; }, 10034},
      {"WINDOW one number", [](OpenSpec& s) { s.access = "WINDOW,40"; }, 10034},
      {"WINDOW plain console", [](OpenSpec& s) { s.access = "WINDOW,400,300"; }, 10034},
      {"FORM bad", [](OpenSpec& s) { s.form = "TEXT"; }, kErrBadSpecifier},
      {"RECL 0", [](OpenSpec& s) { s.recl = 0; }, kErrReclNonPositive},
      {"RECL negative", [](OpenSpec& s) { s.recl = -5; }, kErrReclNonPositive},
      {"BLANK bad", [](OpenSpec& s) { s.blank = "ONE"; }, kErrBadSpecifier},
      {"BLANK zero", [](OpenSpec& s) { s.blank = "zero"; }, 0},
      {"POSITION bad", [](OpenSpec& s) { s.position = "END"; }, kErrBadSpecifier},
      {"ACTION bad", [](OpenSpec& s) { s.action = "RW"; }, kErrBadSpecifier},
      {"DELIM bad", [](OpenSpec& s) { s.delim = "SLASH"; }, kErrDelim},
      {"PAD bad", [](OpenSpec& s) { s.pad = "MAYBE"; }, kErrPad},
      {"PAD unformatted",
       [](OpenSpec& s) {
         s.form = "UNFORMATTED";
         s.pad = "YES";
       },
       kErrPadUnformatted},
      {"CARRIAGECONTROL bad", [](OpenSpec& s) { s.carriageControl = "ASA"; }, kErrBadSpecifier},
      {"byte order bad", [](OpenSpec& s) { s.byteOrder = "MIDDLE"; }, kErrEndian},
      {"byte order", [](OpenSpec& s) { s.byteOrder = "little_endian"; }, 0},
      {"disposition bad", [](OpenSpec& s) { s.disposition = "BURN"; }, kErrBadSpecifier},
      {"STATUS before DELIM",
       [](OpenSpec& s) {
         s.delim = "X";
         s.status = "X";
       },
       kErrBadSpecifier},
      {"DELIM before PAD",
       [](OpenSpec& s) {
         s.pad = "X";
         s.delim = "X";
       },
       kErrDelim},
      {"FILE before STATUS",
       [](OpenSpec& s) {
         s.file = "";
         s.status = "X";
       },
       kErrBadFileSpec},
      {"RECL before byte order",
       [](OpenSpec& s) {
         s.byteOrder = "X";
         s.recl = 0;
       },
       kErrReclNonPositive},
  };
  for (const SpecRow& row : rows) {
    create(path("old.txt"), "x\n");
    OpenSpec spec = named("old.txt");
    row.set(spec);
    EXPECT_EQ(open(20, spec), row.want) << row.what;
    EXPECT_EQ(connected(20) != nullptr, row.want == 0) << row.what;
    EXPECT_EQ(close(20), 0) << row.what;
  }
}

TEST_F(OpenTest, StatusRulesOnRealFiles) {
  create(path("have.txt"), "keep me\n");
  OpenSpec spec = named("have.txt");
  spec.status = "NEW";
  EXPECT_EQ(open(12, spec), kErrStatusNewExists);
  EXPECT_EQ(connected(12), nullptr);
  EXPECT_EQ(contents(path("have.txt")), "keep me\n");

  spec = named("missing.txt");
  spec.status = "OLD";
  EXPECT_EQ(open(12, spec), 2) << "No such file or directory";
  EXPECT_FALSE(exists(path("missing.txt")));

  spec.status = "UNKNOWN";
  EXPECT_EQ(open(12, spec), 0);
  EXPECT_TRUE(exists(path("missing.txt")));
  EXPECT_EQ(close(12), 0);

  spec = named("have.txt");
  spec.status = "REPLACE";
  EXPECT_EQ(open(13, spec), 0);
  EXPECT_EQ(contents(path("have.txt")), "");

  spec = named("fresh.txt");
  spec.status = "NEW";
  EXPECT_EQ(open(14, spec), 0);
  EXPECT_EQ(write(14, "new"), 0);
  EXPECT_EQ(close(14), 0);
  EXPECT_EQ(contents(path("fresh.txt")), "new\r\n");

  spec = OpenSpec{};
  spec.file = dir;
  EXPECT_EQ(open(15, spec), 21) << "Is a directory";
  spec.file = path("no/such/dir.txt");
  spec.status = "NEW";
  EXPECT_EQ(open(15, spec), 2);
}

TEST_F(OpenTest, FileNameIsTrimmedOnBothSides) {
  OpenSpec spec;
  spec.file = "  " + path("data.txt") + "  ";
  EXPECT_EQ(open(11, spec), 0);
  EXPECT_TRUE(exists(path("data.txt")));
}

TEST_F(OpenTest, ScratchFilesLiveUntilCloseOrTheEndOfTheRun) {
  OpenSpec spec;
  spec.status = "SCRATCH";
  spec.recl = 8192;
  ASSERT_EQ(open(30, spec), 0);
  std::string first = connected(30)->connection().file;
  EXPECT_EQ(first.rfind(std::filesystem::temp_directory_path().string(), 0), 0u) << first;
  EXPECT_TRUE(exists(first));
  EXPECT_EQ(write(30, "row 1"), 0);
  Control control;
  control.unit = 30;
  EXPECT_EQ(REWIND(control), kCompleted);
  std::string record;
  EXPECT_EQ(connected(30)->readRecord(record), 0);
  EXPECT_EQ(record, "row 1");
  EXPECT_EQ(close(30, "KEEP"), 0);
  EXPECT_FALSE(exists(first)) << "a scratch file is never kept";

  ASSERT_EQ(open(31, spec), 0);
  std::string second = connected(31)->connection().file;
  EXPECT_NE(second, first);
  EXPECT_EQ(closeAllUnits(), 0);
  EXPECT_FALSE(exists(second));
}

TEST_F(OpenTest, CloseStatusAndDispositionDecideWhetherTheFileStays) {
  const struct {
    const char* disposition;
    std::optional<std::string> status;
    int want;
    bool stays;
  } rows[] = {
      {nullptr, "keep ", 0, true},
      {nullptr, "Delete", 0, false},
      {nullptr, "PURGE", kErrBadSpecifier, true},
      {nullptr, std::nullopt, 0, true},
      {"print/delete", std::nullopt, 0, false},
      {"DELETE", "KEEP", 0, true},
      {"SAVE", "DELETE", 0, false},
  };
  for (const auto& row : rows) {
    std::string what =
        std::string(row.disposition ? row.disposition : "-") + " / " + row.status.value_or("-");
    OpenSpec spec = named("f.txt");
    if (row.disposition) spec.disposition = row.disposition;
    ASSERT_EQ(open(12, spec), 0) << what;
    EXPECT_EQ(close(12, row.status), row.want) << what;
    EXPECT_EQ(exists(path("f.txt")), row.stays) << what;
    EXPECT_EQ(connected(12) != nullptr, row.want != 0) << what << ": a bad STATUS keeps the unit";
    resetUnitTable();
  }
  EXPECT_EQ(close(77), 0) << "closing an unconnected unit does nothing";
  EXPECT_EQ(close(6), 0) << "the console stays";
}

TEST_F(OpenTest, ReopenUpdatesModesOrRefusesOtherSpecifications) {
  OpenSpec spec = named("r.txt");
  spec.status = "UNKNOWN";
  ASSERT_EQ(open(11, spec), 0);
  ConnectedUnit* unit = connected(11);
  spec.blank = "ZERO";
  spec.pad = "NO";
  EXPECT_EQ(open(11, spec), 0);
  EXPECT_EQ(connected(11), unit) << "same connection";
  EXPECT_EQ(unit->blank(), BlankMode::Zero);
  EXPECT_FALSE(unit->pad());
  const SpecRow mismatches[] = {
      {"other file", [this](OpenSpec& s) { s.file = path("other.txt"); }, kErrOpenMismatch},
      {"other action", [](OpenSpec& s) { s.action = "READ"; }, kErrOpenMismatch},
      {"other RECL", [](OpenSpec& s) { s.recl = 80; }, kErrOpenMismatch},
      {"other position", [](OpenSpec& s) { s.position = "APPEND"; }, kErrOpenMismatch},
      {"other status", [](OpenSpec& s) { s.status = "OLD"; }, kErrOpenMismatch},
      {"no FILE", [](OpenSpec& s) { s.file.reset(); }, 0},
  };
  for (const SpecRow& row : mismatches) {
    OpenSpec again = named("r.txt");
    again.status = "UNKNOWN";
    row.set(again);
    EXPECT_EQ(open(11, again), row.want) << row.what;
    EXPECT_EQ(connected(11), unit) << row.what;
  }
  OpenSpec console;
  console.carriageControl = "FORTRAN";
  EXPECT_EQ(open(kConsoleOutput, console), 0);
  EXPECT_EQ(write(kConsoleOutput, "1top"), 0);
  EXPECT_EQ(out, "\ftop\r");
}

TEST_F(OpenTest, AppendPositionsAtTheEnd) {
  const char* rows[][2] = {{"POSITION", "APPEND"}, {"ACCESS", "APPEND"}};
  for (const auto& row : rows) {
    create(path("log.txt"), "one\r\n");
    OpenSpec spec = named("log.txt");
    (row[0][0] == 'P' ? spec.position : spec.access) = row[1];
    ASSERT_EQ(open(12, spec), 0);
    EXPECT_EQ(write(12, "two"), 0);
    EXPECT_EQ(close(12), 0);
    EXPECT_EQ(contents(path("log.txt")), "one\r\ntwo\r\n") << row[0];
  }
}

TEST_F(OpenTest, WindowAccessGoesThroughTheWindowHooks) {
  std::string opened;
  int closedUnit = 0;
  consoleHooks().openWindow = [&](int unit, std::string_view title, int w, int h) {
    opened = std::to_string(unit) + " " + std::string(title) + " " + std::to_string(w) + "x" +
             std::to_string(h);
    return true;
  };
  consoleHooks().closeWindow = [&](int unit) { closedUnit = unit; };
  // Size fields: blanks ignored, digits in decimal, anything else makes the field 0.
  const std::pair<const char*, const char*> sizes[] = {
      {"WINDOW", "0x0"},        {"WINDOW, 300 , 200", "300x200"}, {"WINDOW,3a0,200", "0x200"},
      {"WINDOW,,200", "0x200"}, {"WINDOW,640", "640x0"},          {"WINDOW,1,2,3", "1x2"},
  };
  for (const auto& [access, size] : sizes) {
    OpenSpec spec;
    spec.file = "Plot";
    spec.access = access;
    ASSERT_EQ(open(21, spec), 0) << access;
    EXPECT_EQ(opened, std::string("21 Plot ") + size) << access;
    EXPECT_EQ(close(21), 0);
  }
  OpenSpec spec;
  spec.file = "Plot";
  spec.access = "window,400,300";
  ASSERT_EQ(open(20, spec), 0);
  EXPECT_EQ(opened, "20 Plot 400x300");
  EXPECT_EQ(write(20, "in window"), 0);
  EXPECT_EQ(out, "in window\r\n");
  EXPECT_EQ(lastWindow, 20);
  EXPECT_EQ(close(20), 0);
  EXPECT_EQ(closedUnit, 20);
}

TEST_F(OpenTest, UnnamedUnitsTakeCommandLineWordsThenAsk) {
  RuntimeOptions options;
  options.filePrompt = true;
  useOptions(options);
  setCommandLine({"'" + path("first.txt") + "'"});
  EXPECT_EQ(open(11, OpenSpec{}), 0);
  EXPECT_TRUE(exists(path("first.txt")));
  EXPECT_EQ(out, "");

  typed.push_back("  " + path("second.txt") + " \r\n");
  int status = 0;
  ASSERT_NE(findUnit(14, StatementKind::Write, status), nullptr) << status;
  EXPECT_EQ(out, "FORTRAN I/O LIBRARY - file name needed for OPEN(UNIT=14? ");
  EXPECT_TRUE(exists(path("second.txt")));

  typed.push_back("\n");
  EXPECT_EQ(open(15, OpenSpec{}), kErrBadFileSpec) << "empty answer";
  EXPECT_EQ(open(15, OpenSpec{}), kErrBadFileSpec) << "end of input";
  consoleHooks().plainConsole = false;
  out.clear();
  EXPECT_EQ(open(15, OpenSpec{}), kErrBadFileSpec) << "windowed console";
  EXPECT_EQ(out, "");
}

TEST_F(OpenTest, UnitNineIsOrdinaryUnlessConnected) {
  setCommandLine({path("nine.txt")});
  RuntimeOptions options;
  options.filePrompt = true;
  useOptions(options);
  int status = 0;
  Unit* nine = findUnit(9, StatementKind::Write, status);
  ASSERT_NE(nine, nullptr);
  EXPECT_FALSE(nine->isConsole());
  resetUnitTable();
  options.connectUnit9 = true;
  useOptions(options);
  nine = findUnit(9, StatementKind::Write, status);
  EXPECT_EQ(nine, findUnit(kConsoleOutput, StatementKind::Write, status));
  EXPECT_EQ(findUnit(9, StatementKind::Read, status),
            findUnit(kConsoleInput, StatementKind::Read, status));
}

}  // namespace
}  // namespace fmtio
