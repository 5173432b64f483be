// The local state of one form call and the steps of the engine that work on it, one concern
// per file: form_numbering.cpp (auto-numbering and the placeholder), form_writing.cpp (writing
// on completion, delete without the window), form_titles.cpp (the action message and titles),
// form_loop.cpp (the start, the event table and closing).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/patterns/form_lookup.h"
#include "app/patterns/form_record.h"
#include "app/patterns/form_table.h"
#include "app/procedure_frame.h"

namespace carelog::app::forms {

struct FormState {
  FormState(const FormTable& form, ProcedureFrame& procedure) : table(form), frame(procedure) {}
  const FormTable& table;
  ProcedureFrame& frame;
  SavedRecord saved;
  bool placeholder = false;  // an auto-numbered insert added its record at the start
  uint32_t placeholder_pointer = 0;
  int attempts = 0;
  int32_t next_number = 0;
  std::string action_message;
  RefusedLookup refused_lookup;
};

// The control that selecting `control` focuses: a prompt passes the focus to the entry after
// it. Shows the tab holding it first.
void SelectField(int control);

// Primes a new record: the patient number from PAT, dates from today, the table's constants
// and its own hook.
void PrimeRecord(const FormTable& table);

// Auto-numbering of an insert; true when the placeholder record was added. On failure the
// local response is 2 and EVENT:CloseWindow is posted.
bool AutoNumber(FormState& state);
// Deletes the placeholder added by AutoNumber (an insert that was not completed).
void DeletePlaceholder(FormState& state);

// Request 3: asks warning 32 and deletes through the file's routine, offering warning 18 on
// failure. Sets the local response.
void DeleteWithoutWindow(FormState& state);

// EVENT:Completed: writes the record; true when it was written and the window is closing.
bool WriteRecord(FormState& state);

// The action message ("Adding a Medications Record", "Record will be Changed" ...) and, for the
// forms that show it, the patient's name or "  (New)" after the window title.
std::string ActionMessage(const FormTable& table, int32_t request);
void ShowTitles(FormState& state);

}  // namespace carelog::app::forms
