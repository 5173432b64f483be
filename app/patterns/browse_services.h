// What the browse engine needs from the application's shared routines: opening its files under
// the per-file use counts, the record-retrieval warning and the busy cursor.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "app/data/dictionary.h"

namespace carelog::app {

// Counts one more use of each file, opening (and binding for expressions) those whose count
// was 0; a file that cannot be opened ends the program after its warning, so this returns
// true.
bool UseFiles(std::span<const appdata::FileId> files);
// One use less of each file, in reverse order; a file is closed when its count reaches 0.
void ReleaseFiles(std::span<const appdata::FileId> files);

// Standard warning 35, "Record Retrieval Error", naming the last error and the file's label.
void ShowRetrievalWarning(const appdata::FileInfo& file);

void SetBusyCursor(bool busy);

// `count` evenly spaced texts from `low` to `high` (upper-case letters after their common
// prefix), for the thumb over a string key component.
std::vector<std::string> TextThumbStops(const std::string& low, const std::string& high, int count);

}  // namespace carelog::app
