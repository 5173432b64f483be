// Lookup fields of a form: values that must be found in another file. A value that is not
// there calls that file's select browse and takes the chosen record's key; a value still not
// found is refused with warning 11, the focus back on the field and accept-all mode ended.
//
// The looked-up file's record buffer and memos are kept as they were: the lookup reads into
// them, and a caller further down the stack (the patient form under a medication form) may be
// editing that very record.
#pragma once

#include "app/patterns/form_table.h"

namespace carelog::app::forms {

// The value a lookup field refused last. Pressing OK right after typing a value checks the
// field twice (its own acceptance, then OK's check of every field): the second check refuses
// the same value again without offering the select browse and the warning a second time.
struct RefusedLookup {
  int control = 0;  // 0: none
  double value = 0;
};

// True when the field's value is found (perhaps after the select browse chose one).
bool CheckLookup(const FormTable& table, const FieldLookupRow& row, RefusedLookup* refused);

}  // namespace carelog::app::forms
