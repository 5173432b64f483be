// What the browse engine needs from the application's shared routines: opening its files under
// the per-file use counts, the record-retrieval warning and the busy cursor.
#pragma once

#include <span>

#include "app/data/dictionary.h"

namespace carelog::app {

// Opens each file whose use count is 0 (binding its record and memos for expressions) and
// counts one more use of each; false when one could not be opened (the user has been told,
// and the files opened so far are released again).
bool UseFiles(std::span<const appdata::FileId> files);
// One use less of each file; a file is closed when its count reaches 0.
void ReleaseFiles(std::span<const appdata::FileId> files);

// "Record Retrieval Error": the last error and the file's label, and that the program returns
// to the previous window.
void ShowRetrievalWarning(const appdata::FileInfo& file);

void SetBusyCursor(bool busy);

}  // namespace carelog::app
