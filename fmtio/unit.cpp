// The unit table: console streams created on first use, connected units,
// CLOSE, REWIND and the closing of every unit at the end of the run.
#include "fmtio/unit.h"

#include <algorithm>
#include <vector>

#include "fmtio/hooks.h"
#include "fmtio/options.h"
#include "fmtio/unit_kinds.h"

namespace fmtio {
namespace {

// The unit number that may stand for the console too (-connectunit9).
constexpr int kUnit9 = 9;

// Process-wide table: the three standard streams and the connected units.
struct UnitTable {
  std::unique_ptr<ConsoleUnit> input;
  std::unique_ptr<ConsoleUnit> output;
  std::unique_ptr<ConsoleUnit> error;
  std::vector<std::unique_ptr<ConnectedUnit>> units;
};

// Initialised before the program runs: no guard on each statement's look.
constinit UnitTable gUnitTable;
UnitTable& unitTable() { return gUnitTable; }

std::unique_ptr<ConsoleUnit> makeStream(int number, ConsoleUnit::Stream stream) {
  Connection connection;
  connection.status = OpenStatus::Old;
  connection.action = stream == ConsoleUnit::Stream::Input ? Action::Read : Action::Write;
  connection.position = Position::Asis;
  connection.carriage = runtimeOptions().defaultCarriage ? Carriage::Fortran : Carriage::List;
  return std::make_unique<ConsoleUnit>(number, stream, connection, currentLineEnds());
}

// The standard streams come into being together, on first use.
void connectStreams(UnitTable& table) {
  if (table.input) return;
  table.input = makeStream(kConsoleInput, ConsoleUnit::Stream::Input);
  table.output = makeStream(kConsoleOutput, ConsoleUnit::Stream::Output);
  table.error = makeStream(kConsoleError, ConsoleUnit::Stream::Error);
}

ConsoleUnit* consoleStream(int number, StatementKind kind) {
  if (!isConsoleNumber(number)) return nullptr;
  UnitTable& table = unitTable();
  connectStreams(table);
  if (number == kConsoleInput) return table.input.get();
  if (number == kConsoleOutput) return table.output.get();
  if (number == kConsoleError) return table.error.get();
  return kind == StatementKind::Read ? table.input.get() : table.output.get();
}

ConnectedUnit* ordinaryUnit(int number) {
  for (const std::unique_ptr<ConnectedUnit>& unit : unitTable().units)
    if (unit->number() == number) return unit.get();
  return nullptr;
}

}  // namespace

bool isConsoleNumber(int number) {
  return number == kDefaultUnit || number == kConsoleInput || number == kConsoleOutput ||
         number == kConsoleError || (number == kUnit9 && runtimeOptions().connectUnit9);
}

ConnectedUnit* connectedUnit(int number, StatementKind kind) {
  if (ConsoleUnit* stream = consoleStream(number, kind)) return stream;
  return ordinaryUnit(number);
}

void addUnit(std::unique_ptr<ConnectedUnit> unit) { unitTable().units.push_back(std::move(unit)); }

int removeUnit(ConnectedUnit* unit, bool deleteFile) {
  std::vector<std::unique_ptr<ConnectedUnit>>& units = unitTable().units;
  auto it =
      std::find_if(units.begin(), units.end(),
                   [unit](const std::unique_ptr<ConnectedUnit>& u) { return u.get() == unit; });
  if (it == units.end()) return kOk;  // a standard stream stays connected
  int status = unit->close(deleteFile);
  units.erase(it);
  return status;
}

int finishStatement(const Control& control, const ErrorSite& site, int status) {
  if (status != kOk) return takeError(control, site, status);
  if (control.iostat) control.iostat.store(0);
  return kCompleted;
}

void pumpConsole() {
  if (consoleHooks().pump) consoleHooks().pump();
}

Unit* findUnit(int number, StatementKind kind, int& status) {
  status = kOk;
  if (ConnectedUnit* unit = connectedUnit(number, kind)) return unit;
  if (number < 0) {
    status = kErrUnconnectedUnit;
    return nullptr;
  }
  status = openImplicitly(number);
  return status == kOk ? ordinaryUnit(number) : nullptr;
}

// STATUS= overrides the disposition of OPEN; a scratch file is never kept.
int CLOSE(const Control& control, const std::optional<std::string>& status) {
  pumpConsole();
  ErrorSite site{StatementKind::Close, control.unit};
  ConnectedUnit* unit = connectedUnit(control.unit, StatementKind::Close);
  bool deleteFile = unit != nullptr && unit->connection().deleteAtClose;
  if (status) {
    std::string value = normalizedValue(*status);
    if (value != "KEEP" && value != "DELETE") return takeError(control, site, kErrBadSpecifier);
    deleteFile = value == "DELETE";
  }
  if (unit != nullptr && unit->connection().status == OpenStatus::Scratch) deleteFile = true;
  return finishStatement(control, site, unit != nullptr ? removeUnit(unit, deleteFile) : kOk);
}

// An unconnected unit is left alone: REWIND never opens a file.
int REWIND(const Control& control) {
  pumpConsole();
  ConnectedUnit* unit = connectedUnit(control.unit, StatementKind::Rewind);
  return finishStatement(control, ErrorSite{StatementKind::Rewind, control.unit},
                         unit != nullptr ? unit->rewind() : kOk);
}

std::string typedLine() {
  const UnitTable& table = unitTable();
  return table.input ? table.input->typedLine() : std::string();
}

int FLUSH(const Control& control) {
  ConnectedUnit* unit = connectedUnit(control.unit, StatementKind::Write);
  return finishStatement(control, ErrorSite{StatementKind::Write, control.unit},
                         unit != nullptr ? unit->flush() : kOk);
}

// Every failure is reported on standard error; the first one is returned.
int closeAllUnits() {
  UnitTable& table = unitTable();
  int first = kOk;
  for (std::unique_ptr<ConnectedUnit>& unit : table.units) {
    int error = unit->close(unit->connection().deleteAtClose);
    if (error == kOk) continue;
    if (first == kOk) first = error;
    consoleHooks().writeBlock(kStandardWindow, true,
                              errorReport(ErrorSite{StatementKind::Close, unit->number()}, error));
  }
  table = UnitTable{};
  return first;
}

void resetUnitTable() { unitTable() = UnitTable{}; }

}  // namespace fmtio
