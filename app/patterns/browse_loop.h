// The browse procedure pattern: every browse procedure of the application is RunBrowse over its
// constant table (browse_table.h).
//
// A run:  entry (request codes, ProcedureFrame) -> files used -> window opened -> list keys
//         alerted -> EVENT:OpenWindow: first refresh (the first page) -> events until the window
//         closes -> view closed, files released, response left in ProcResponse.
#pragma once

#include "app/patterns/browse_table.h"

namespace carelog::app {

void RunBrowse(const BrowseTable& table);

}  // namespace carelog::app
