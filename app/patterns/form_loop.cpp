// The form engine's start, event loop and closing. Events go through one table of (event,
// control role, handler); the roles come from the form's table (its OK and "Cancel" buttons,
// the sheet, its lookup fields and the buttons that call other procedures).
#include <algorithm>
#include <cassert>
#include <memory>

#include "app/data/records.h"
#include "app/patterns/form_boxes.h"
#include "app/patterns/form_engine.h"
#include "app/patterns/form_lookup.h"
#include "app/patterns/form_month_grid.h"
#include "app/patterns/form_services.h"
#include "app/patterns/form_state.h"
#include "app/procedure_catalogue.h"
#include "app/procedure_globals.h"
#include "runtime/host/window_system.h"
#include "runtime/window/definition_format.h"
#include "runtime/window/threads.h"
#include "runtime/window/use_table.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app {
namespace forms {
namespace {

namespace ev = window::event;

constexpr int kSheet = 1;
constexpr int kFirstPlainField = 2;
constexpr int kFirstNoteField = 3;

enum class Role : uint8_t { kAny, kOkButton, kCancelButton, kSheet, kLookup, kCall };

int FirstField(const FormTable& table) {
  return table.flavour == FormFlavour::kNote ? kFirstNoteField : kFirstPlainField;
}

void PressOk(FormState& state, int) {
  int32_t request = state.frame.entry_request();
  if (request == kReqInsert || request == kReqChange) {
    window::Select(0);  // validates every field, then EVENT:Completed
  } else {
    window::Post(ev::kCompleted);
  }
}

void PressCancel(FormState& state, int) {
  state.frame.local_response = kRespCancelled;
  window::Post(ev::kCloseWindow);
}

void RefreshSheet(FormState& state, int) {
  state.frame.Refresh();
}

void AcceptLookup(FormState& state, int control) {
  for (const FieldLookupRow& row : state.table.lookups) {
    if (row.control == control) CheckLookup(state.table, row, &state.refused_lookup);
  }
}

void CallFromButton(FormState& state, int control) {
  for (const CallRow& row : state.table.calls) {
    if (row.control != control) continue;
    CallByName(row.procedure, row.request);
    state.frame.Refresh();
  }
}

void Complete(FormState& state, int) {
  WriteRecord(state);
}

// A close while the record is not written: a note form with unsaved changes asks first; an
// insert that added its record at the start deletes it again.
void Closing(FormState& state, int) {
  if (state.frame.local_response == kRespCompleted) return;
  int32_t request = state.frame.entry_request();
  bool editing = request == kReqInsert || request == kReqChange;
  if (state.table.flavour == FormFlavour::kNote && editing &&
      state.saved.Differs(state.table.file)) {
    switch (Warn(33)) {
      case kAnswerYes:
        window::RefuseClose();
        window::Post(ev::kAccepted, state.table.ok_button);
        return;
      case kAnswerNo:
        break;
      default:
        window::RefuseClose();
        SelectField(kFirstNoteField);
        return;
    }
  }
  DeletePlaceholder(state);
}

struct EventRow {
  int event;
  Role role;
  void (*handle)(FormState& state, int control);
};

constexpr EventRow kEvents[] = {
    {ev::kAccepted, Role::kOkButton, PressOk},
    {ev::kAccepted, Role::kCancelButton, PressCancel},
    {ev::kAccepted, Role::kLookup, AcceptLookup},
    {ev::kAccepted, Role::kCall, CallFromButton},
    {ev::kAccepted, Role::kSheet, RefreshSheet},
    {ev::kNewSelection, Role::kSheet, RefreshSheet},
    {ev::kTabChanging, Role::kSheet, RefreshSheet},
    {ev::kSelected, Role::kSheet, RefreshSheet},
    {ev::kCompleted, Role::kAny, Complete},
    {ev::kCloseWindow, Role::kAny, Closing},
    {ev::kCloseDown, Role::kAny, Closing},
};

Role RoleOf(const FormTable& table, int control) {
  if (control == 0) return Role::kAny;
  if (control == table.ok_button) return Role::kOkButton;
  if (control == table.cancel_button) return Role::kCancelButton;
  if (control == kSheet) return Role::kSheet;
  auto names = [control](const auto& row) { return row.control == control; };
  if (std::any_of(table.lookups.begin(), table.lookups.end(), names)) return Role::kLookup;
  if (std::any_of(table.calls.begin(), table.calls.end(), names)) return Role::kCall;
  return Role::kAny;
}

void Dispatch(FormState& state, int event, int control) {
  Role role = RoleOf(state.table, control);
  for (const EventRow& row : kEvents) {
    if (row.event == event && row.role == role) return row.handle(state, control);
  }
}

void RunLoop(FormState& state, FormBoxes& boxes, FormMonthGrid& grid) {
  while (window::Accept()) {
    int event = window::Event();
    bool first_open = event == ev::kOpenWindow && !state.frame.window_initialised();
    if (state.frame.TakeWindowEvent()) {
      if (first_open) {
        boxes.Start();
        SelectField(FirstField(state.table));
        grid.Start();
      }
      continue;
    }
    if (grid.Handle(event, window::Field())) continue;
    if (boxes.Handle(event, window::Field())) continue;
    if (event == ev::kCompleted) grid.Store();
    Dispatch(state, event, window::Field());
    if (event == ev::kAccepted) boxes.FollowRange();
  }
}

// The files a form holds open for its call: its own, the ones its table names and those its
// lookups read, each once.
class OpenFiles {
 public:
  explicit OpenFiles(const FormTable& table) {
    Add(table.file);
    for (appdata::FileId file : table.also_opens) Add(file);
    for (const FieldLookupRow& row : table.lookups) Add(row.file);
  }
  ~OpenFiles() {
    for (auto it = files_.rbegin(); it != files_.rend(); ++it) ReleaseFile(*it);
  }
  OpenFiles(const OpenFiles&) = delete;
  OpenFiles& operator=(const OpenFiles&) = delete;

 private:
  void Add(appdata::FileId file) {
    if (std::find(files_.begin(), files_.end(), file) != files_.end()) return;
    UseFile(file);
    files_.push_back(file);
  }
  std::vector<appdata::FileId> files_;
};

window::UseTable MakeUseTable(const std::vector<FormUse>& uses) {
  window::UseTable table;
  for (const FormUse& use : uses) {
    window::UseVariable variable{use.slot.address, use.slot.places, use.slot.shown_blank};
    table.push_back(window::UseBinding{use.control, use.slot.storage, variable});
  }
  return table;
}

// Requests 1 and 2: numbering or priming, the saved copy, the window and its loop.
void Edit(FormState& state) {
  const FormTable& table = state.table;
  if (state.frame.entry_request() == kReqInsert) {
    if (table.number_key) {
      if (!AutoNumber(state)) return;
    } else {
      PrimeRecord(table);
    }
  }
  state.saved.Take(table.file);
  FormBoxes boxes(table.boxes, table.file);
  FormMonthGrid grid(table.month_grid, table.file);
  if (state.frame.Open()) {
    ShowTitles(state);
    // The pages of the sheet's other tabs were drawn while the window was built; paint the
    // whole window again now that only the first page shows.
    host::Invalidate(state.frame.window().handle);
    RunLoop(state, boxes, grid);
  }
  if (state.frame.local_response != kRespCompleted) DeletePlaceholder(state);
}

}  // namespace

void SelectField(int control) {
  window::Structure* window = window::TopWindowOf(0);
  window::Control* target = window ? window->Find(control) : nullptr;
  if (!target) return;
  if (target->kind == window::kKindPrompt) {
    if (window::Control* next = window->Find(control + 1)) target = next;
  }
  for (window::Control* up = target->container; up; up = up->container) {
    if (up->kind != window::kKindTab || !up->container) continue;
    auto& tabs = up->container->children;
    int index = static_cast<int>(std::find(tabs.begin(), tabs.end(), up) - tabs.begin()) + 1;
    if (up->container->state != index) window::internal::SelectTab(*up->container, index);
  }
  window::Select(target->equate);
}

}  // namespace forms

void RunForm(const FormTable& table) {
  forms::OpenFiles files(table);
  forms::RememberKey(table.file);
  std::vector<FormUse> uses;
  std::string unresolved;
  bool resolved = ResolveBindings(table, &uses, &unresolved);
  assert(resolved && "a form's table names a field its file does not have");
  window::Structure window(window::StructureKind::kWindow, table.window, table.module,
                           resolved ? forms::MakeUseTable(uses) : window::UseTable{});
  const CatalogueRow* row = FindProcedure(table.name);
  ProcedureFrame frame(window, row && row->takes_default_font);
  forms::FormState state{table, frame};
  if (frame.entry_request() == kReqDelete) {
    forms::DeleteWithoutWindow(state);
  } else if (resolved) {
    forms::Edit(state);
  }
  frame.Return();
}

}  // namespace carelog::app
