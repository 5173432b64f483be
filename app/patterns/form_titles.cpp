// The action message of a form and the window title it goes into: plain forms name the action
// in the title, note forms keep their title and show the message in the status bar. Forms that
// show the patient add the patient's name (or "  (New)") after the title.
#include <cstring>

#include "app/data/records.h"
#include "app/patterns/form_state.h"
#include "app/procedure_globals.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app::forms {
namespace {

constexpr int kActionZone = 1;

std::string PatientName() {
  std::string name(appdata::PAT.NAME, sizeof appdata::PAT.NAME);
  name.erase(name.find_last_not_of(' ') + 1);
  return name;
}

}  // namespace

std::string ActionMessage(const FormTable& table, int32_t request) {
  bool adding = request == kReqInsert;
  if (request != kReqInsert && request != kReqChange) return {};
  if (table.flavour == FormFlavour::kNote) {
    return adding ? "Record will be Added" : "Record will be Changed";
  }
  if (table.fixed_titles) return adding ? "Record Will Be Added" : "Record Will Be Changed";
  return std::string(adding ? "Adding a " : "Changing a ") + table.title + " Record";
}

void ShowTitles(FormState& state) {
  const FormTable& table = state.table;
  int32_t request = state.frame.entry_request();
  state.action_message = ActionMessage(table, request);
  window::Structure& window = state.frame.window();
  if (table.flavour == FormFlavour::kPlain) {
    if (!state.action_message.empty())
      window::SetProperty(0, window::prop::kText, state.action_message);
  } else {
    window::SetProperty(0, window::prop::kStatusText, state.action_message, kActionZone);
  }
  if (!table.shows_patient_name) return;
  if (request == kReqChange) {
    window::SetProperty(0, window::prop::kText, window.title + "  (" + PatientName() + ")");
  } else if (request == kReqInsert) {
    window::SetProperty(0, window::prop::kText, window.title + "  (New)");
  }
}

}  // namespace carelog::app::forms
