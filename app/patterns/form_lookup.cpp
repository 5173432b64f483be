#include "app/patterns/form_lookup.h"

#include "app/patterns/form_record.h"
#include "app/patterns/form_services.h"
#include "app/patterns/form_state.h"
#include "app/procedure_catalogue.h"
#include "app/procedure_globals.h"
#include "runtime/store/file_statements.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app::forms {
namespace {

bool Found(const FieldLookupRow& row, const FieldSlot& key_field, double value) {
  WriteNumber(key_field, value);
  store::KeyDeclaration* key = appdata::FindKey(row.file, row.key);
  return key && store::Get(appdata::Declaration(row.file), *key) == 0;
}

// Calls the select browse; on a choice the chosen record's key goes into the form's field.
void ChooseInSelectBrowse(const FieldLookupRow& row, const FieldSlot& field,
                          const FieldSlot& key_field) {
  if (CallByName(row.select, kReqSelect) != kRespCompleted) return;
  WriteNumber(field, ReadNumber(key_field));
  window::Display();
}

// Ends OK's check of every field with the focus on the refused field.
void Refuse(const FieldLookupRow& row) {
  SelectField(row.control);
  window::SetProperty(0, window::prop::kAcceptAll, "0");
}

bool CheckingEveryField() {
  return window::GetProperty(0, window::prop::kAcceptAll) == "1";
}

}  // namespace

bool CheckLookup(const FormTable& table, const FieldLookupRow& row, RefusedLookup* refused) {
  FieldSlot field = ResolveField(table.file, row.field);
  FieldSlot key_field = ResolveField(row.file, row.key_field);
  if (!field.valid() || !key_field.valid()) return false;
  double value = ReadNumber(field);
  if (row.zero_allowed && value == 0) return true;
  if (refused->control == row.control && refused->value == value && CheckingEveryField()) {
    *refused = RefusedLookup{};  // told once already; a later OK offers the browse again
    Refuse(row);
    return false;
  }
  SavedRecord kept;
  kept.Take(row.file);
  bool found = Found(row, key_field, value);
  if (!found) {
    ChooseInSelectBrowse(row, field, key_field);
    found = Found(row, key_field, ReadNumber(field));
  }
  kept.Restore(row.file);
  *refused = found ? RefusedLookup{} : RefusedLookup{row.control, ReadNumber(field)};
  if (found) return true;
  if (Warn(11, row.shown_name, appdata::Info(row.file).label) != 0) SelectField(row.control);
  window::SetProperty(0, window::prop::kAcceptAll, "0");
  return false;
}

}  // namespace carelog::app::forms
