// The statement protocol: begin, items, end; records and control entries.
#include "fmtio/io.h"

#include <cstring>
#include <exception>

#include "fmtio/hooks.h"
#include "fmtio/options.h"
#include "fmtio/statement.h"

namespace fmtio {

namespace {

// One spare state block: statements do not nest, so one is nearly always
// enough. Initialised before the program runs (no guard on each statement).
struct StatementPool {
  std::unique_ptr<StatementState> spare;
};
constinit StatementPool gPool;
StatementPool& pool() { return gPool; }

std::unique_ptr<StatementState> acquire() {
  if (pool().spare) return std::move(pool().spare);
  return std::make_unique<StatementState>();
}

}  // namespace

// ---- Statement ----

Statement::Statement(std::unique_ptr<StatementState> state)
    : state_(std::move(state)), unwinding_(std::uncaught_exceptions()) {}
Statement::Statement(Statement&&) noexcept = default;
Statement::~Statement() noexcept(false) {
  if (!state_) return;  // moved from
  // An ended statement (nearly every one) needs no look at exceptions in flight.
  if (!state_->ended() && std::uncaught_exceptions() <= unwinding_) state_->endLeftOpen();
  if (!pool().spare) pool().spare = std::move(state_);
}

ReadStatement Statement::read(const Control& control, const Format* format) {
  auto s = acquire();
  s->begin(true, control, format);
  return ReadStatement(std::move(s));
}
WriteStatement Statement::write(const Control& control, const Format* format) {
  auto s = acquire();
  s->begin(false, control, format);
  return WriteStatement(std::move(s));
}
ReadStatement Statement::read(const Internal<const char>& file, const Format* format) {
  auto s = acquire();
  // A READ never stores into its record.
  s->beginInternal(true, const_cast<char*>(file.data), file.length, file.control, format);
  return ReadStatement(std::move(s));
}
WriteStatement Statement::write(const Internal<char>& file, const Format* format) {
  auto s = acquire();
  s->beginInternal(false, file.data, file.length, file.control, format);
  return WriteStatement(std::move(s));
}

Statement& Statement::item(const Item& item) {
  state_->item(item);
  return *this;
}
int Statement::end() { return state_->end(); }

namespace {

// A WRITE or READ run by its format's plan; false when the plan cannot take it.
bool runByPlan(StatementState& state, std::span<const Item> items) {
  return state.reading() ? state.readPlanned(items) : state.writePlanned(items);
}

// The state of a statement run whole, taken from the pool and given back
// however the run ends.
class PooledState {
 public:
  PooledState() : state_(acquire()) {}
  ~PooledState() {
    if (!pool().spare) pool().spare = std::move(state_);
  }
  PooledState(const PooledState&) = delete;
  PooledState& operator=(const PooledState&) = delete;
  StatementState& operator*() { return *state_; }
  StatementState* operator->() { return state_.get(); }

 private:
  std::unique_ptr<StatementState> state_;
};

int runItems(StatementState& state, std::span<const Item> items) {
  if (!runByPlan(state, items))
    for (const Item& item : items) state.item(item);
  return state.end();
}

}  // namespace

int runRead(const Control& control, const Format* format, std::span<const Item> items) {
  PooledState s;
  if (StatementState::readsWholeRecord(format, items))
    return s->readWholeRecord(control, static_cast<char*>(items.front().address),
                              items.front().length);
  s->begin(true, control, format);
  return runItems(*s, items);
}
int runWrite(const Control& control, const Format* format, std::span<const Item> items) {
  PooledState s;
  s->begin(false, control, format);
  return runItems(*s, items);
}
int runRead(const Internal<const char>& file, const Format* format, std::span<const Item> items) {
  if (int outcome = 0; readFieldsAtOnce(std::string_view(file.data, file.length), file.control,
                                        format, items, outcome))
    return outcome;
  PooledState s;
  // A READ never stores into its record.
  s->beginInternal(true, const_cast<char*>(file.data), file.length, file.control, format);
  return runItems(*s, items);
}
int runWrite(const Internal<char>& file, const Format* format, std::span<const Item> items) {
  PooledState s;
  s->beginInternal(false, file.data, file.length, file.control, format);
  return runItems(*s, items);
}

// ---- StatementState: begin and end ----

void StatementState::reset(bool isRead, const Control& control, const Format* format) {
  control_ = control;
  isRead_ = isRead;
  failed_ = ended_ = dollar_ = planned_ = false;
  outcome_ = 0;
  unit_ = nullptr;
  internal_ = nullptr;
  internalLength_ = 0;
  internalUsed_ = false;
  format_ = format;
  list_.reset();
  len_ = pos_ = 0;
  in_ = {};
  blank_ = BlankMode::Null;
  const RuntimeOptions& options = runtimeOptions();
  modes_ = OutputModes{false, 0, options.noLeadZero, options.hexUppercase};
  recordLimit_ = options.recordLimit;
  planAllowed_ = !options.walkEveryFormat;
}

bool StatementState::connect(bool isRead, const Control& control, const Format* format) {
  reset(isRead, control, format);
  site_ = {isRead ? StatementKind::Read : StatementKind::Write, control.unit};
  if (const ConsoleHooks& hooks = consoleHooks(); hooks.pump) hooks.pump();
  int status = 0;
  unit_ = findUnit(control.unit, site_.kind, status);
  if (unit_ == nullptr) {
    fail(status != 0 ? status : kErrInternal);
    return false;
  }
  blank_ = unit_->blank();
  return true;
}

void StatementState::begin(bool isRead, const Control& control, const Format* format) {
  if (connect(isRead, control, format)) guarded([this] { start(); });
}

int StatementState::readWholeRecord(const Control& control, char* text, std::size_t length) {
  if (connect(true, control, nullptr)) {
    guarded([&] {
      if (int rc = readRecord()) return fail(rc);
      const Field field{nullptr, Op::A, kAbsent, kAbsent, kAbsent};
      if (int rc = readAlpha(field, text, length)) fail(rc);
    });
  }
  return end();
}

void StatementState::beginInternal(bool isRead, char* data, std::size_t length,
                                   const Control& control, const Format* format) {
  reset(isRead, control, format);
  site_ = {isRead ? StatementKind::Read : StatementKind::Write, kInternalUnit};
  internal_ = data;
  internalLength_ = length;
  guarded([this] { start(); });
}

void StatementState::start() {
  if (format_ != nullptr) {
    if (format_->status() != 0) return fail(format_->status());
    walker_.start(*format_);
  } else if (!isRead_) {
    return fail(kErrInternal);  // list-directed output is not part of this runtime
  }
  if (!isRead_) return;
  if (int rc = readRecord()) return fail(rc);
  if (format_ == nullptr) list_.emplace(*this, in_);
}

void StatementState::fail(int number) {
  if (failed_) return;
  failed_ = true;
  len_ = pos_ = 0;
  outcome_ = takeError(control_, site_, number);
}

int StatementState::end() {
  if (ended_) return outcome_;
  ended_ = true;
  if (!failed_ && !isRead_) {
    guarded([this] {
      if (!planned_) runTrailingControls();
      if (!failed_)
        if (int rc = emitRecord(!dollar_)) fail(rc);
    });
  }
  if (!failed_ && control_.iostat) control_.iostat.store(0);
  return outcome_;
}

// The caller should have ended the statement: in debug builds that it did
// not is reported on standard error, before the statement ends as end()
// would end it.
void StatementState::endLeftOpen() {
  if (ended_) return;
#ifndef NDEBUG
  std::string report = "? Program error: ";
  report += statementName(site_.kind);
  report += " statement destroyed without end()\n";
  consoleHooks().writeBlock(kStandardWindow, true, report);
#endif
  end();
}

// Output runs the control and literal entries that follow the last item, up
// to the next data descriptor, the end of the format or a ':'.
void StatementState::runTrailingControls() {
  while (walker_.peekControl()) {
    Field field;
    if (int rc = walker_.next(ItemType::None, *this, field)) return fail(rc);
    if (field.op == Op::Colon) return;
    if (int rc = control(field)) return fail(rc);
  }
}

// ---- records ----

int StatementState::readRecord() {
  pos_ = 0;
  if (internal_ != nullptr) {
    if (internalUsed_) return kErrEndOfFile;
    internalUsed_ = true;
    in_ = std::string_view(internal_, internalLength_);
    return 0;
  }
  if (int rc = unit_->readRecord(inStore_)) return rc;
  // The unit kept one character past the limit of a longer record and
  // passed over the rest of it: the next READ takes the record after it.
  if (inStore_.size() > recordLimit_) return kErrNoMemory;
  in_ = inStore_;
  return 0;
}

int StatementState::emitRecord(bool advance) {
  std::string_view record(out_.data(), len_);
  len_ = pos_ = 0;
  if (internal_ == nullptr) return unit_->writeRecord(record, advance);
  if (internalUsed_ || record.size() > internalLength_) return kErrRecordTooLong;
  internalUsed_ = true;
  std::memcpy(internal_, record.data(), record.size());
  std::memset(internal_ + record.size(), ' ', internalLength_ - record.size());
  return 0;
}

char* StatementState::reserveMore(std::size_t n) {
  if (out_.size() < pos_ + n) out_.resize(pos_ + n + 128);
  if (pos_ > len_) std::memset(out_.data() + len_, ' ', pos_ - len_);
  return out_.data() + pos_;
}

int StatementState::endOfRecord() { return isRead_ ? readRecord() : emitRecord(true); }

int StatementState::nextRecord(std::string_view& record) {
  int rc = readRecord();
  record = in_;
  return rc;
}

// The next w characters of the input record, shortened at its end.
std::string_view StatementState::inputField(int width, int& status) {
  std::size_t start = pos_;
  std::size_t w = width > 0 ? static_cast<std::size_t>(width) : 0;
  pos_ += w;
  if (start >= in_.size()) {
    if (w > 0 && internal_ == nullptr && !unit_->pad()) status = kErrEndOfRecord;
    return {};
  }
  std::size_t n = std::min(w, in_.size() - start);
  if (n < w && internal_ == nullptr && !unit_->pad()) status = kErrEndOfRecord;
  return in_.substr(start, n);
}

// ---- control and literal entries ----

int StatementState::control(const Field& field) {
  const FormatEntry& e = *field.entry;
  switch (field.op) {
    case Op::X:
    case Op::TR: pos_ += e.count; return 0;
    case Op::TL: pos_ = pos_ > e.count ? pos_ - e.count : 0; return 0;
    case Op::T: pos_ = e.count > 0 ? e.count - 1u : 0; return 0;
    case Op::Slash:
      for (unsigned i = 0; i < e.repeat; ++i)
        if (int rc = endOfRecord()) return rc;
      return 0;
    case Op::Dollar: dollar_ = true; return 0;
    case Op::P:
    case Op::SP:
    case Op::SS: setOutputMode(modes_, e); return 0;
    case Op::BN: blank_ = BlankMode::Null; return 0;
    case Op::BZ: blank_ = BlankMode::Zero; return 0;
    case Op::Literal:
      if (!isRead_) {
        if (pastRecordLimit()) return kErrRecordTooLong;
        std::string_view text = format_->literal(e);
        std::memcpy(reserve(text.size()), text.data(), text.size());
        advance(text.size());
      } else {
        pos_ += e.count;
      }
      return 0;
    default: return 0;  // ':' with items remaining
  }
}

}  // namespace fmtio
