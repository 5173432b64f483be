// Priming and auto-numbering of a new record, and the placeholder an abandoned insert leaves.
//
// A numbered file's record-number key has the number as its only component, so the last entry
// of the key holds the highest number in the whole file, whatever patient it belongs to. The
// new record is added at once with that number plus one, so that it exists while the user
// edits it; when another station took the number first the add fails on the unique key and
// the number is read again, three times before warning 25 asks whether to go on trying.
#include "app/patterns/form_state.h"

#include "app/data/records.h"
#include "app/patterns/form_services.h"
#include "app/procedure_globals.h"
#include "runtime/store/file_statements.h"
#include "runtime/values/clock.h"

namespace carelog::app::forms {
namespace {

constexpr int kNoMoreRecords = 33;
constexpr int kAttemptsBeforeAsking = 3;

// The highest number in the file plus one (1 in an empty file); false after warning 35.
bool NextNumber(const FormTable& table, int32_t* next) {
  store::FileDeclaration& file = appdata::Declaration(table.file);
  store::KeyDeclaration* key = appdata::FindKey(table.file, table.number_key);
  store::Set(*key);
  int error = store::Previous(file);
  if (error != 0 && error != kNoMoreRecords) {
    Warn(35, appdata::Info(table.file).label);
    return false;
  }
  *next = error == kNoMoreRecords
              ? 1
              : static_cast<int32_t>(ReadNumber(ResolveField(table.file, table.number_field))) + 1;
  return true;
}

}  // namespace

void PrimeRecord(const FormTable& table) {
  if (table.patient_field) {
    WriteNumber(ResolveField(table.file, table.patient_field),
                int32_t{appdata::PAT.PATIENT_NUMBER});
  }
  for (const char* field : table.dated_fields) {
    WriteNumber(ResolveField(table.file, field), values::Today());
  }
  for (const PrimedText& row : table.primed_texts) {
    WriteText(ResolveField(table.file, row.field, row.element), row.text);
  }
  for (const PrimedNumber& row : table.primed_numbers) {
    WriteNumber(ResolveField(table.file, row.field, row.element), row.number);
  }
  if (table.prime) table.prime();
}

bool AutoNumber(FormState& state) {
  const FormTable& table = state.table;
  SavedRecord work;
  PrimeRecord(table);
  work.Take(table.file);
  state.attempts = 0;
  store::FileDeclaration& file = appdata::Declaration(table.file);
  for (;;) {
    if (!NextNumber(table, &state.next_number)) break;
    work.Restore(table.file);
    WriteNumber(ResolveField(table.file, table.number_field), state.next_number);
    work.Take(table.file);
    if (store::Add(file) == 0) {
      state.placeholder = true;
      state.placeholder_pointer = store::Pointer(file);
      return true;
    }
    if (++state.attempts < kAttemptsBeforeAsking) continue;
    if (Warn(25) != kAnswerRetry) break;
    state.attempts = 0;
  }
  work.Restore(table.file);
  state.frame.local_response = kRespCancelled;
  return false;
}

void DeletePlaceholder(FormState& state) {
  if (!state.placeholder) return;
  store::FileDeclaration& file = appdata::Declaration(state.table.file);
  if (store::Get(file, state.placeholder_pointer) == 0) store::Delete(file);
  state.placeholder = false;
}

}  // namespace carelog::app::forms
