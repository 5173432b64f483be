// The application's procedures by name: one row each, saying whether the procedure shows its
// window in the default display font and how to run it. A procedure that is not built yet has
// a row without an entry point: starting or calling it does nothing, as when the runtime could
// not start its thread.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace carelog::app {

using ProcedureEntry = void (*)();

struct CatalogueRow {
  const char* name;         // "BROWSEALL"
  bool takes_default_font;  // the window's controls are shown in DisplayFont when set
  ProcedureEntry run;       // nullptr: not built yet
};

std::span<const CatalogueRow> Catalogue();

// The row of a procedure, or nullptr for a name the application does not have.
const CatalogueRow* FindProcedure(std::string_view name);

// START on a new thread with `stack_size`: the thread number, or 0 when the procedure is not
// built or no thread could be started (the caller reports nothing either way).
int StartProcedure(std::string_view name, size_t stack_size);

// A direct call on this thread, with no request: the procedure's response (2 when absent).
int CallProcedureByName(std::string_view name);

}  // namespace carelog::app
