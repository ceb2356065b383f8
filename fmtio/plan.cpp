// The straight plan of a simple format, and a WRITE run by it: each run of
// elements edited into its fields with the editors the walk uses, in the
// order the walk reaches them, without the walk's per-item dispatch.
#include <algorithm>

#include "fmtio/statement.h"

namespace fmtio {

namespace {

// Whether entry e may stand in a plan.
bool plannable(const FormatEntry& e) {
  switch (e.op) {
    case Op::A:
    case Op::X:
    case Op::Literal: return true;
    case Op::I: return e.w > 0;
    case Op::F: return e.w > 0 && e.d != kAbsent;
    default: return false;
  }
}

// Appends entry i's step; false past the plan's limit.
bool appendEntry(const FormatEntry& e, std::uint32_t i, std::vector<PlanStep>& steps) {
  if (steps.size() == FormatPlan::kMaxPlanSteps || (isDataOp(e.op) && e.repeat == 0)) return false;
  PlanEdit edit = PlanEdit::Control;
  if (e.op == Op::A) edit = PlanEdit::Alpha;
  if (e.op == Op::I) edit = e.d == kAbsent ? PlanEdit::PlainInteger : PlanEdit::Other;
  if (e.op == Op::F) edit = PlanEdit::Other;
  steps.push_back({i, isDataOp(e.op) ? e.repeat : 1u, e.op, edit, e.w});
  return true;
}

// Repeats the steps from `first` on, one pass of a group, until the group
// has `repeat` passes. False past the plan's limit.
bool repeatGroup(std::size_t first, std::size_t repeat, std::vector<PlanStep>& steps) {
  const std::size_t pass = steps.size() - first;
  if (repeat == 0 || first + pass * repeat > FormatPlan::kMaxPlanSteps) return false;
  for (std::size_t r = 1; r < repeat; ++r)
    for (std::size_t k = 0; k < pass; ++k) steps.push_back(steps[first + k]);
  return true;
}

// The steps of one pass over the entries; false when they make no plan.
bool buildPlan(const std::vector<FormatEntry>& entries, std::vector<PlanStep>& steps) {
  const FormatEntry* group = nullptr;  // the group open, at most one deep
  std::size_t groupFirst = 0;
  for (std::uint32_t i = 0; i < entries.size(); ++i) {
    const FormatEntry& e = entries[i];
    if (e.op == Op::End) return true;
    if (e.op == Op::GroupOpen) {
      if (group != nullptr) return false;
      group = &e;
      groupFirst = steps.size();
    } else if (e.op == Op::GroupClose) {
      if (group == nullptr || !repeatGroup(groupFirst, group->repeat, steps)) return false;
      group = nullptr;
    } else if (!plannable(e) || !appendEntry(e, i, steps)) {
      return false;
    }
  }
  return false;
}

// Whether a format has no group: its reversion point is its start.
bool withoutGroups(const std::vector<FormatEntry>& entries) {
  return std::none_of(entries.begin(), entries.end(),
                      [](const FormatEntry& e) { return e.op == Op::GroupOpen; });
}

// Whether every element of the items meets a data step of its kind, the
// plan taken again from its start as often as the items need: checked
// before the statement runs by the plan, since once a record is out the
// walk can no longer take the statement over.
bool takesEveryElement(const FormatPlan& plan, std::span<const Item> items) {
  if (plan.dataUses == 0) return false;
  const PlanStep* const first = plan.steps.data();
  const PlanStep* const end = first + plan.steps.size();
  // The data step at s or after it, from the plan's start again past its end.
  auto dataStep = [first, end](const PlanStep* s) {
    for (;; ++s) {
      if (s == end) s = first;
      if (isDataOp(s->op)) return s;
    }
  };
  const PlanStep* s = dataStep(first);
  std::size_t used = 0;  // uses of s taken
  for (const Item& item : items) {
    const Op op = planOpOf(item);
    for (std::size_t left = item.count; left > 0;) {
      if (op != s->op) return false;
      const std::size_t room = s->count - used;
      if (left < room) {
        used += left;
        break;
      }
      left -= room;
      used = 0;
      s = dataStep(s + 1);
    }
  }
  return true;
}

// Whether the items' elements are no more than one pass of the plan takes.
bool withinOnePass(const FormatPlan& plan, std::span<const Item> items) {
  std::size_t elements = 0;
  for (const Item& item : items) elements += item.count;
  return elements <= plan.dataUses;
}

}  // namespace

const FormatPlan& Format::makePlan() const {
  plan_.built = true;
  plan_.usable = buildPlan(entries_, plan_.steps);
  if (!plan_.usable) plan_.steps.clear();
  for (std::size_t i = 0; i < plan_.steps.size(); ++i) {
    PlanStep& step = plan_.steps[i];
    if (isDataOp(step.op)) plan_.dataUses += step.count;
    step.controlsAfter = i + 1 < plan_.steps.size() && !isDataOp(plan_.steps[i + 1].op);
  }
  plan_.revertsToStart = plan_.usable && plan_.dataUses > 0 && withoutGroups(entries_);
  return plan_;
}

// The items are matched with the plan's steps before any is edited: a
// statement the plan cannot take is left to the walk untouched. An error on
// the way is the one the walk meets at the same field.
bool StatementState::writePlanned(std::span<const Item> items) {
  if (isRead_ || failed_ || ended_ || format_ == nullptr || !planAllowed_ || items.empty())
    return false;
  const FormatPlan& plan = format_->plan();
  if (!plan.usable) return false;
  if (!plan.revertsToStart && !withinOnePass(plan, items)) return false;
  if (!takesEveryElement(plan, items)) return false;
  bool taken = true;
  guarded([&] { taken = runPlan(plan, items); });
  if (!taken) {
    len_ = pos_ = 0;
    return false;
  }
  planned_ = true;
  return true;
}

// The items' elements over the plan's data steps (each element's kind
// already matched with its step), the control steps after each data step
// run as soon as it is used up (as the walk runs them before the next item
// or at the end). False when the steps run out and the plan does not revert.
bool StatementState::runPlan(const FormatPlan& plan, std::span<const Item> items) {
  const PlanStep* const first = plan.steps.data();
  const PlanStep* const end = first + plan.steps.size();
  const PlanStep* step = first + runPlanControls(plan, 0);
  std::size_t used = 0;  // uses of the step taken
  for (const Item& item : items) {
    const auto* at = static_cast<const char*>(item.address);
    for (std::size_t left = item.count; left > 0;) {
      if (failed_) return true;
      if (step == end) {
        if (!plan.revertsToStart) return false;
        step = first + revertPlan(plan);
        continue;
      }
      const std::size_t n = std::min<std::size_t>(left, step->count - used);
      if (int rc = step->edit == PlanEdit::PlainInteger && !modes_.plusSign
                       ? editPlainRun(*step, at, n, item.length)
                       : editPlannedRun(*step, at, n, item.length))
        fail(rc);
      at += n * item.length;
      left -= n;
      used += n;
      if (used == step->count) {
        used = 0;
        step = step->controlsAfter ? first + runPlanControls(plan, step - first + 1) : step + 1;
      }
    }
  }
  return true;
}

// The end of the format with elements left: the record ends and the plan
// starts again, its leading controls run; returns the step reached.
std::size_t StatementState::revertPlan(const FormatPlan& plan) {
  if (int rc = endOfRecord()) {
    fail(rc);
    return 0;
  }
  return runPlanControls(plan, 0);
}

// Runs the literal and X steps from s on up to the next data step; returns
// the step it stopped at.
std::size_t StatementState::runPlanControls(const FormatPlan& plan, std::size_t s) {
  for (; s < plan.steps.size() && !failed_; ++s) {
    const FormatEntry& e = format_->entries()[plan.steps[s].entry];
    if (isDataOp(e.op)) break;
    if (int rc = control(Field{&e, e.op, e.w, e.d, e.e})) fail(rc);
  }
  return s;
}

// n elements (length bytes apart) edited into n fields of the step's
// entry, one at a time; the field past the record's limit is the error the
// walk meets there. Plain integers go by editPlainRun.
int StatementState::editPlannedRun(const PlanStep& step, const char* elements, std::size_t n,
                                   std::size_t length) {
  for (std::size_t k = 0; k < n; ++k) {
    if (pastRecordLimit()) return kErrRecordTooLong;
    if (step.edit == PlanEdit::Alpha)
      writeAlpha(step.w, elements + k * length, length);
    else
      editPlanned(format_->entries()[step.entry], elements + k * length, length);
  }
  return 0;
}

// One I or F element edited into its field, as editOut edits it.
void StatementState::editPlanned(const FormatEntry& e, const char* address, std::size_t length) {
  if (e.op == Op::I) {
    advance(editInteger(reserve(kMaxNumericField), Op::I, e.w, e.d, loadInteger(address, length),
                        static_cast<int>(length), modes_));
    return;
  }
  advance(editReal(reserve(kMaxNumericField), Op::F, e.family, e.w, e.d, e.e,
                   loadReal(address, length), modes_));
}

}  // namespace fmtio
