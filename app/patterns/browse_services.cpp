// The browse's shared routines come from the application's global module: file use counts
// (a failed open never returns, the global routine halts after its warning), the standard
// warnings and the thumb stops.
#include "app/patterns/browse_services.h"

#include <algorithm>

#include "app/data/file_access.h"
#include "app/data/thumb_stops.h"
#include "app/data/warnings.h"
#include "runtime/host/window_system.h"

namespace carelog::app {
namespace {

constexpr int32_t kRecordRetrievalError = 35;

}  // namespace

bool UseFiles(std::span<const appdata::FileId> files) {
  for (appdata::FileId file : files) appdata::UseFile(file);
  return true;
}

void ReleaseFiles(std::span<const appdata::FileId> files) {
  for (auto file = files.rbegin(); file != files.rend(); ++file) appdata::ReleaseFile(*file);
}

void ShowRetrievalWarning(const appdata::FileInfo& file) {
  appdata::ShowWarning(kRecordRetrievalError, file.label);
}

std::vector<std::string> TextThumbStops(const std::string& low, const std::string& high,
                                        int count) {
  appdata::InitTextThumbStops(low, high, static_cast<int32_t>(std::max(low.size(), high.size())));
  std::vector<std::string> stops;
  stops.reserve(static_cast<size_t>(count));
  for (int k = 0; k < count; ++k) stops.push_back(appdata::NextTextThumbStop());
  return stops;
}

void SetBusyCursor(bool busy) {
  host::SetCursor(busy ? host::CursorShape::kHourglass : host::CursorShape::kArrow);
}

}  // namespace carelog::app
