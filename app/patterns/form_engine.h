// The update form engine: runs one FormTable for one call, as a browse, a patient form or
// another form calls it with ProcRequest 1 (insert), 2 (change) or 3 (delete), and leaves 1
// (completed) or 2 (cancelled) in ProcResponse.
//
// One call:
//
//   entry --open files, snapshot (RememberKey)--> started
//   started --request 3--> DeleteWithoutWindow (warnings 32, 18) --> return
//   started --request 1, numbered file--> AutoNumber (adds a placeholder, warning 25) --> saved
//   copy started --request 1 or 2--> saved copy --open window, titles--> event loop event loop
//   --OK--> select with no control --all fields pass--> EVENT:Completed
//              --EVENT:Completed--> WriteRecord (warnings 24, 14 / 15, 16) --written--> closing
//              --"Cancel" or close--> closing
//   closing --note form, changed since the saved copy--> warning 33 (Yes: OK; Cancel: stay)
//           --insert that added a placeholder, not written--> the placeholder is deleted
//   closing --> return: files released, response in ProcResponse
//
// A form whose table has a month grid (form_month_grid.h) hands the grid's controls to it
// first, and lets it store the month on screen into the record before the write.
//
// Invariants:
//   1. The local response is 1 only after a successful add, write or delete.
//   2. A call that added a placeholder either writes it (response 1) or deletes it again.
//   3. Every file opened on entry is released on return, whatever the path.
//
// REQUIRES: called on a procedure thread holding the global semaphore, with the record to
// change or delete in the file's buffer (freshly read and watched by the caller), or for an
// insert a cleared buffer holding the current patient's number.
#pragma once

#include "app/patterns/form_table.h"

namespace carelog::app {

void RunForm(const FormTable& table);

}  // namespace carelog::app
