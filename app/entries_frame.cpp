// The frame. A run function of nullptr: not built yet.
#include "app/main_frame.h"
#include "app/procedure_entries.h"

namespace carelog::app {
namespace {

constexpr EntryPointRow kEntryPoints[] = {
    {"MAIN", &MAIN},
};

}  // namespace

std::span<const EntryPointRow> FrameEntryPoints() {
  return kEntryPoints;
}

}  // namespace carelog::app
