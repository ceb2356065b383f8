// The plan of a READ, and a READ run by it: each run of elements read from
// its fields by the input editors the walk uses, in the order the walk
// reaches them, without the walk's per-item dispatch.
#include <algorithm>
#include <new>

#include "fmtio/edit_input.h"
#include "fmtio/options.h"
#include "fmtio/statement.h"

namespace fmtio {

namespace {

// Whether every item is read by the data steps of a reverting plan.
bool allRevertTo(Op reverting, std::span<const Item> items) {
  return reverting != Op::End &&
         std::all_of(items.begin(), items.end(),
                     [reverting](const Item& item) { return planOpOf(item) == reverting; });
}

// The straight plan's steps as data steps, the controls before each folded
// into the columns it passes over: for input an nX and a literal only move
// the position on.
void buildReadPlan(const std::vector<FormatEntry>& entries, const FormatPlan& plan, ReadPlan& out) {
  std::uint32_t skip = 0;
  for (const PlanStep& step : plan.steps) {
    const FormatEntry& e = entries[step.entry];
    if (!isDataOp(e.op)) {
      skip += e.count;
      continue;
    }
    out.steps.push_back({step.entry, step.count, skip});
    skip = 0;
  }
}

// The opcode of every data step of a plan that reverts to its start when
// they share one (see ReadPlan::reverting); else End.
Op soleRevertingOp(const FormatPlan& plan) {
  if (!plan.revertsToStart) return Op::End;
  Op sole = Op::End;
  for (const PlanStep& step : plan.steps) {
    if (!isDataOp(step.op)) continue;
    if (sole != Op::End && step.op != sole) return Op::End;
    sole = step.op;
  }
  return sole;
}

}  // namespace

const ReadPlan& Format::makeReadPlan() const {
  readPlan_.built = true;
  const FormatPlan& straight = plan();
  readPlan_.usable = straight.usable;
  readPlan_.reverting = soleRevertingOp(straight);
  if (straight.usable) buildReadPlan(entries_, straight, readPlan_);
  return readPlan_;
}

// n elements of the item read from n fields of entry e, as dataRun reads a
// run the walk gives it: A fields straight to their editor, reals inside the
// record by their run editor, the others one by one. Inlined into the
// loops that call it, which keep their registers.
[[gnu::always_inline]] inline void StatementState::readPlannedRun(const FormatEntry& e,
                                                                  const Item& item, char* elements,
                                                                  std::size_t n) {
  const std::size_t length = item.length;
  const Field field{&e, e.op, e.w, e.d, e.e};
  if (e.op == Op::A) {
    for (std::size_t k = 0; k < n; ++k)
      if (int rc = readAlpha(field, elements + k * length, length)) return fail(rc);
    return;
  }
  const ItemType type = itemTypeOf(item.type);
  const ItemInfo info{type, e.op == Op::I ? TypeClass::Integer : TypeClass::Real, length};
  if (e.op == Op::F && realInputRun(field, info, elements, n, length) != 0) return;
  for (std::size_t k = 0; k < n; ++k)
    if (int rc = editIn(field, info, elements + k * length)) return fail(rc);
}

// A plan that meets an element it cannot take leaves the statement to the
// walk, from the record's start: until then it has only stored values the
// walk stores again, and it has neither failed nor read another record.
bool StatementState::readPlanned(std::span<const Item> items) {
  if (!isRead_ || failed_ || ended_ || format_ == nullptr || !planAllowed_ || items.empty())
    return false;
  const ReadPlan& plan = format_->readPlan();
  if (!plan.usable) return false;
  if (items.size() == 1 && plan.steps.size() == 1) return readOneRun(plan.steps.front(), items[0]);
  bool taken = true;
  guarded([&] { taken = runReadPlan(plan, items); });
  if (!taken) pos_ = 0;
  return taken;
}

// The READ of one item by a format of one data step (a whole record into
// one character item by "(A)", the read of every data line): the step's
// run of elements without the walk over steps, or false as runReadPlan
// would give when the step does not read the item's elements.
bool StatementState::readOneRun(const ReadStep& step, const Item& item) {
  const FormatEntry& e = format_->entries()[step.entry];
  if (e.op != planOpOf(item) || item.count > step.count) return false;
  pos_ += step.skip;
  if (item.count > 0)
    guarded([&] { readPlannedRun(e, item, static_cast<char*>(item.address), item.count); });
  return true;
}

namespace {

// The one step of a READ of one item by a format whose plan is that step
// alone, the READs taken without the plan's loop; nullptr for any other
// READ, and when the runtime options walk every format.
const ReadStep* soleStep(const Format* format, std::span<const Item> items) {
  if (format == nullptr || items.size() != 1 || format->status() != 0 ||
      runtimeOptions().walkEveryFormat)
    return nullptr;
  const ReadPlan& plan = format->readPlan();
  return plan.usable && plan.steps.size() == 1 ? &plan.steps.front() : nullptr;
}

// The fields of one F step into a real array of `Real`: true when every one
// read, as the statement's run editor reads them (scale factor 0, blanks
// null: an internal record's start).
template <class Real>
bool readAllFields(std::string_view record, const FormatEntry& e, const Item& item) {
  int status = 0;
  readRealFields(record, static_cast<std::size_t>(e.w), item.count, e.d, 0, BlankMode::Null,
                 static_cast<Real*>(item.address), item.length, status);
  return status == 0;
}

}  // namespace

bool StatementState::readsWholeRecord(const Format* format, std::span<const Item> items) {
  const ReadStep* step = soleStep(format, items);
  if (step == nullptr || step->skip != 0) return false;
  const FormatEntry& e = format->entries()[step->entry];
  const Item& item = items.front();
  return e.op == Op::A && e.w == kAbsent && planOpOf(item) == Op::A && item.count == 1;
}

bool readFieldsAtOnce(std::string_view record, const Control& control, const Format* format,
                      std::span<const Item> items, int& outcome) {
  const ReadStep* step = soleStep(format, items);
  if (step == nullptr) return false;
  const FormatEntry& e = format->entries()[step->entry];
  const Item& item = items.front();
  if (e.op != Op::F || planOpOf(item) != Op::F || item.count == 0 || item.count > step->count)
    return false;
  // Every field inside the record, as the run editor takes them.
  const auto w = static_cast<std::size_t>(e.w);
  if (record.size() < step->skip || (record.size() - step->skip) / w < item.count) return false;
  const std::string_view fields = record.substr(step->skip);
  bool read = false;
  try {
    if (item.length == sizeof(double)) read = readAllFields<double>(fields, e, item);
    if (item.length == sizeof(float)) read = readAllFields<float>(fields, e, item);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!read) return false;
  if (control.iostat) control.iostat.store(0);
  outcome = 0;
  return true;
}

// The items' elements over the data steps. When the steps run out with
// elements left the record ends and the plan starts again, as the walk
// reverts, if the format is one that reverts to its start with data steps
// of one kind (see ReadPlan::reverting) and every element left is of it.
bool StatementState::runReadPlan(const ReadPlan& plan, std::span<const Item> items) {
  const ReadStep* step = plan.steps.data();
  const ReadStep* const last = step + plan.steps.size();
  const FormatEntry* const entries = format_->entries().data();
  std::size_t used = 0;  // uses of the step taken
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Item& item = items[i];
    const Op reader = planOpOf(item);
    auto* at = static_cast<char*>(item.address);
    for (std::size_t left = item.count; left > 0;) {
      if (step == last) {
        if (!allRevertTo(plan.reverting, items.subspan(i))) return false;
        if (int rc = endOfRecord()) {
          fail(rc);
          return true;
        }
        step = plan.steps.data();
      }
      const FormatEntry& e = entries[step->entry];
      if (e.op != reader) return false;
      if (used == 0) pos_ += step->skip;
      const std::size_t n = std::min<std::size_t>(left, step->count - used);
      readPlannedRun(e, item, at, n);
      if (failed_) return true;
      at += n * item.length;
      left -= n;
      used += n;
      if (used == step->count) {
        ++step;
        used = 0;
      }
    }
  }
  return true;
}

}  // namespace fmtio
