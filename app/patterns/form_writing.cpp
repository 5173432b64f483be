// Writing a form's record: on EVENT:Completed (the placeholder of a numbered insert written in
// place, a plain insert added, a change stored through the file's checked routine) and the
// delete that request 3 makes without opening the window. After a failed write the user
// chooses: try again, keep the form open with the input intact, or give up.
#include "app/patterns/form_services.h"
#include "app/patterns/form_state.h"
#include "app/procedure_globals.h"
#include "runtime/host/window_system.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app::forms {
namespace {

constexpr int kDuplicateKey = 40;
constexpr int kFirstField = 2;

void Completed(FormState& state) {
  state.frame.local_response = kRespCompleted;
  state.placeholder = false;
  window::Post(window::event::kCloseWindow);
}

// After warnings 11, 14 and 24 the focus goes back to the first field unless the box was
// ended without an answer.
void WarnAndStay(int kind, std::string_view text) {
  if (Warn(kind, text) != 0) SelectField(kFirstField);
}

bool WriteInsert(FormState& state) {
  store::FileDeclaration& file = appdata::Declaration(state.table.file);
  int error = state.placeholder ? store::Put(file, state.placeholder_pointer) : store::Add(file);
  if (error == 0) {
    Completed(state);
    return true;
  }
  if (error == kDuplicateKey && state.placeholder) {
    WarnAndStay(24, state.table.number_key);
  } else {
    WarnAndStay(14, {});
  }
  return false;
}

bool WriteChange(FormState& state) {
  state.frame.local_response = kRespCancelled;
  for (;;) {
    host::SetCursor(host::CursorShape::kHourglass);
    int failed = StoreChecked(state.table.file);
    host::SetCursor(host::CursorShape::kArrow);
    if (failed == 0) {
      Completed(state);
      return true;
    }
    switch (Warn(16)) {
      case kAnswerYes:
        continue;
      case kAnswerNo:
        window::Post(window::event::kCloseWindow);
        return false;
      default:
        window::Display();
        SelectField(kFirstField);
        return false;
    }
  }
}

}  // namespace

bool WriteRecord(FormState& state) {
  switch (state.frame.entry_request()) {
    case kReqInsert:
      return WriteInsert(state);
    case kReqChange:
      return WriteChange(state);
    default:
      Completed(state);
      return true;
  }
}

void DeleteWithoutWindow(FormState& state) {
  if (Warn(32) != kAnswerOk) return;
  for (;;) {
    state.frame.local_response = kRespCancelled;
    host::SetCursor(host::CursorShape::kHourglass);
    int failed = DeleteChecked(state.table.file);
    host::SetCursor(host::CursorShape::kArrow);
    if (failed == 0) {
      state.frame.local_response = kRespCompleted;
      return;
    }
    if (Warn(18) != kAnswerYes) return;
  }
}

}  // namespace carelog::app::forms
