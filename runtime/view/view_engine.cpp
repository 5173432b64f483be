#include "runtime/view/view_engine.h"

#include <atomic>
#include <cstring>
#include <memory>

#include "runtime/eval/compile_cache.h"
#include "runtime/eval/expression.h"
#include "runtime/eval/variable.h"
#include "runtime/store/dispatcher.h"
#include "runtime/store/driver_state.h"
#include "runtime/store/error_codes.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/preconditions.h"
#include "runtime/store/string_stack.h"
#include "runtime/view/view_engine_range.h"

namespace carelog::view {

using store::AppendComponent;
using store::ClearError;
using store::Dispatch;
using store::Get;
using store::kBitCurrentRecord;
using store::kBitReading;
using store::kErrFileNotOpen;
using store::kErrRecordNotAvailable;
using store::kErrUnknownErrorPosted;
using store::kErrUnsupportedFunction;
using store::kOpClose;
using store::kOpDelete;
using store::kOpGetByPointer;
using store::kOpHold;
using store::kOpHoldSeconds;
using store::kOpNext;
using store::kOpNoOperation;
using store::kOpOpen;
using store::kOpPositionFile;
using store::kOpPrevious;
using store::kOpPut;
using store::kOpRegetFile;
using store::kOpRelease;
using store::kOpResetFile;
using store::kOpSkip;
using store::kOpViewFilter;
using store::kOpWatch;
using store::Next;
using store::PopString;
using store::PostError;
using store::Previous;
using store::PushString;
using store::Reget;
using store::Reset;
using store::Set;
using store::SkipMemosOnNextRead;

namespace {

std::atomic<bool> shortcut_enabled{true};

struct ViewState {
  bool asked_driver = false;
  bool delegated = false;  // the primary file's driver serves this view itself
  bool open = false;
  std::shared_ptr<const eval::Expression> filter;  // possibly shared with other views
  int filter_error = 0;  // 800 or 801 when the last filter did not compile
  bool filter_reads_memos = false;
  int order = 0;  // key number of the order, 0 for record order
  ViewRange range;
  bool regot = false;  // the last positioning was a REGET of the view
  // The view holds a current record: its last read (or REGET) found one. After a read that
  // failed, the file's own current record is whatever the reading passed over last, which the
  // view does not show, so its position is not the view's.
  bool has_current = false;
  uint64_t records_read = 0;
};

ViewState& StateOf(ViewDeclaration& view) {
  if (view.state == nullptr) view.state = new ViewState;
  return *static_cast<ViewState*>(view.state);
}

void AppendU32(std::string* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>(value >> (8 * i)));
}

bool ReadU32(std::string_view* text, uint32_t* value) {
  if (text->size() < 4) return false;
  *value = 0;
  for (int i = 0; i < 4; ++i)
    *value |= static_cast<uint32_t>(static_cast<uint8_t>((*text)[i])) << (8 * i);
  text->remove_prefix(4);
  return true;
}

class Engine {
 public:
  Engine(ViewDeclaration& view, ViewState& state)
      : view_(view), state_(state), file_(*view.primary) {}

  int Open() {
    if (view_.joined_files != 0) return kErrUnsupportedFunction;
    state_.open = true;
    state_.regot = false;
    state_.has_current = false;
    return CompileFilter(
        std::string_view(view_.filter.text ? view_.filter.text : "", view_.filter.length));
  }

  int NewFilter() {
    const std::string filter = PopString();
    PopString();  // the second string is not used
    if (!state_.open) return kErrFileNotOpen;
    return CompileFilter(filter);
  }

  // NEXT (forward) or PREVIOUS: reads the primary file until a record passes the filter.
  int Read(bool forward) {
    const int result = ReadPassing(forward);
    state_.has_current = result == 0;
    return result;
  }

  int ReadPassing(bool forward) {
    if (!state_.open) return kErrFileNotOpen;
    if (state_.regot) return kErrUnknownErrorPosted;
    if (state_.filter_error != 0) return state_.filter_error;
    const bool skip_memos = file_.memo_count > 0 && !view_.uses_memos && !state_.filter_reads_memos;
    bool jumped = false;
    if (DriverState* driver = store::StateOf(file_); UseRange(driver) && AtStartOfOrder(*driver)) {
      if (const int error = JumpToRange(*driver, forward)) return error;
      jumped = true;
    }
    for (;;) {
      if (skip_memos) SkipMemosOnNextRead(file_);
      const int result = forward ? Next(file_) : Previous(file_);
      if (result != 0) return result;
      ++state_.records_read;
      DriverState* driver = store::StateOf(file_);
      if (UseRange(driver)) {
        const ViewRange::Place place = state_.range.Locate(*driver);
        const auto beyond = forward ? ViewRange::Place::kAfter : ViewRange::Place::kBefore;
        if (place == beyond) return kErrRecordNotAvailable;
        if (place != ViewRange::Place::kInside && !jumped && state_.range.can_jump()) {
          jumped = true;  // at most once per read: the range starts right after the jump
          if (const int error = JumpToRange(*driver, forward)) return error;
          continue;
        }
      }
      if (state_.filter == nullptr || state_.filter->Holds()) return 0;
    }
  }

  int Skip(int32_t count) {
    const bool forward = count >= 0;
    for (int64_t i = 0; i < (forward ? int64_t{count} : -int64_t{count}); ++i) {
      const int result = Read(forward);
      if (result == kErrRecordNotAvailable) return 0;
      if (result != 0) return result;
    }
    return 0;
  }

  // The position string, empty when no reading sequence is active.
  std::string Position() {
    const DriverState* driver = store::StateOf(file_);
    if (!state_.open || driver == nullptr || (driver->bits & kBitReading) == 0) return {};
    std::string out;
    AppendU32(&out, static_cast<uint32_t>(state_.order));
    if (!state_.has_current || (driver->bits & kBitCurrentRecord) == 0 ||
        driver->current_record == 0) {
      AppendU32(&out, 0);
      return out;
    }
    const std::string member =
        state_.order > 0 ? store::Position(*file_.keys[state_.order - 1]) : store::Position(file_);
    AppendU32(&out, static_cast<uint32_t>(member.size()));
    out += member;
    return out;
  }

  // RESET (reget false) or REGET of the view from a popped position string.
  int Reposition(bool reget) {
    const std::string text = PopString();
    if (!state_.open) return kErrFileNotOpen;
    std::string_view rest(text);
    uint32_t key = 0;
    uint32_t length = 0;
    if (!ReadU32(&rest, &key) || key > file_.key_count || !ReadU32(&rest, &length) ||
        rest.size() < length) {
      return kErrUnknownErrorPosted;
    }
    const std::string_view member = rest.substr(0, length);
    state_.order = static_cast<int>(key);
    int result = 0;
    if (reget) {
      if (length == 0) {
        result = Get(file_, 0u);
      } else {
        result = key > 0 ? Reget(*file_.keys[key - 1], member) : Reget(file_, member);
      }
    } else if (length > 0) {
      result = key > 0 ? Reset(*file_.keys[key - 1], member) : Reset(file_, member);
    }
    state_.regot = reget;
    if (reget) state_.has_current = result == 0 && length > 0;
    AnalyseRange();
    return result;
  }

 private:
  int CompileFilter(std::string_view text) {
    state_.filter.reset();
    state_.filter_error = 0;
    state_.filter_reads_memos = false;
    if (text.find_first_not_of(' ') != std::string_view::npos) {
      eval::SharedCompile compiled = eval::CompileShared(text);
      if (compiled.expression == nullptr) {
        state_.filter_error = compiled.error;
      } else {
        state_.filter = std::move(compiled.expression);
        state_.filter_reads_memos = state_.filter->tree().Reads(
            [](const eval::Variable& variable) { return variable.memo != nullptr; });
      }
    }
    const DriverState* driver = store::StateOf(file_);
    state_.order = driver != nullptr ? driver->reading_key_number() : 0;
    AnalyseRange();
    return state_.filter_error;
  }

  // Positions the file with SET(key, key) on the range's first entry (forward) or last.
  int JumpToRange(DriverState& driver, bool forward) {
    state_.range.PrepareJump(driver, forward);
    KeyDeclaration& key = *file_.keys[state_.range.key_number() - 1];
    return Set(key, key);
  }

  // Whether the file's next read in the view's order starts at the first (or last) entry of the
  // order: its reading sequence was begun by SET(key) and nothing has read or ended it since.
  // Reading on from there would only pass over records before the range (after it, backward)
  // until the jump, so jumping before the first read gives the same records.
  bool AtStartOfOrder(const DriverState& driver) const {
    return state_.range.can_jump() && (driver.bits & kBitReading) != 0 &&
           driver.reading.mode == store::ReadingMode::kKeyFromFirst &&
           (driver.last_read_op == store::kOpSetKey || driver.last_read_op == store::kOpSetKeyPointer);
  }

  void AnalyseRange() {
    const DriverState* driver = store::StateOf(file_);
    if (driver == nullptr) {
      state_.range = ViewRange();
      return;
    }
    state_.range.Analyse(state_.filter.get(), *driver, state_.order);
  }

  // Whether the range may decide about the record just read: the file reads in the view's
  // order and the record buffer is the one the range was built for.
  bool UseRange(const DriverState* driver) const {
    return shortcut_enabled.load(std::memory_order_relaxed) && driver != nullptr &&
           state_.range.active() && driver->reading_key_number() == state_.range.key_number() &&
           driver->record == file_.buffer;
  }

  ViewDeclaration& view_;
  ViewState& state_;
  FileDeclaration& file_;
};

int Serve(int op, ViewDeclaration& view, ViewState& state, const intptr_t* args) {
  Engine engine(view, state);
  switch (op) {
    case kOpOpen:
      return engine.Open();
    case kOpViewFilter:
      return engine.NewFilter();
    case kOpNext:
      return engine.Read(true);
    case kOpPrevious:
      return engine.Read(false);
    case kOpSkip:
      return engine.Skip(static_cast<int32_t>(args != nullptr ? args[0] : 0));
    case kOpPositionFile:
      PushString(engine.Position());
      return 0;
    case kOpResetFile:
      return engine.Reposition(false);
    case kOpRegetFile:
      return engine.Reposition(true);
    case kOpGetByPointer:
      state.regot = true;
      return 0;
    default:
      return kErrUnsupportedFunction;
  }
}

}  // namespace

intptr_t ViewEngineEntry(int op, void* object, const intptr_t* args) {
  auto& view = *static_cast<ViewDeclaration*>(object);
  if (view.primary == nullptr) {
    ClearError();
    PostError(kErrUnsupportedFunction, nullptr);
    return kErrUnsupportedFunction;
  }
  switch (op) {  // statements on the view's current record go to the primary file
    case kOpDelete:
    case kOpPut:
    case kOpHold:
    case kOpHoldSeconds:
    case kOpRelease:
    case kOpWatch:
      return Dispatch(op, view.primary, args);
    default:
      break;
  }
  ViewState& state = StateOf(view);
  if (!state.asked_driver) {
    state.asked_driver = true;
    state.delegated = Dispatch(kOpNoOperation, view.primary, nullptr) != 0;
  }
  if (state.delegated) return Dispatch(op, view.primary, args);
  if (op == kOpClose) {
    delete &state;
    view.state = nullptr;
    ClearError();
    return 0;
  }
  const int result = Serve(op, view, state, args);
  ClearError();
  if (result != 0) PostError(result, view.primary);
  return result;
}

namespace {

int Call(int op, ViewDeclaration& view, intptr_t argument = 0) {
  const intptr_t args[3] = {argument, 0, 0};
  return static_cast<int>(Dispatch(op, &view, args));
}

}  // namespace

int OpenView(ViewDeclaration& view) {
  return Call(kOpOpen, view);
}
int CloseView(ViewDeclaration& view) {
  return Call(kOpClose, view);
}
int NextInView(ViewDeclaration& view) {
  return Call(kOpNext, view);
}
int PreviousInView(ViewDeclaration& view) {
  return Call(kOpPrevious, view);
}
int SkipInView(ViewDeclaration& view, int32_t count) {
  return Call(kOpSkip, view, count);
}
int MarkViewRegot(ViewDeclaration& view) {
  return Call(kOpGetByPointer, view);
}

int SetViewFilter(ViewDeclaration& view, std::string_view filter) {
  PushString("");
  PushString(filter);
  return Call(kOpViewFilter, view);
}

std::string ViewPosition(ViewDeclaration& view) {
  if (Call(kOpPositionFile, view) != 0) return {};
  return PopString();
}

int ResetView(ViewDeclaration& view, std::string_view position) {
  PushString(position);
  return Call(kOpResetFile, view);
}

int RegetView(ViewDeclaration& view, std::string_view position) {
  PushString(position);
  return Call(kOpRegetFile, view);
}

uint64_t ViewRecordsRead(const ViewDeclaration& view) {
  const auto* state = static_cast<const ViewState*>(view.state);
  return state != nullptr && state->open ? state->records_read : 0;
}

void EnableViewFilterShortcut(bool enabled) {
  shortcut_enabled.store(enabled);
}

}  // namespace carelog::view
