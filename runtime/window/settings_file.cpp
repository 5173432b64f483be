#include "runtime/window/settings_file.h"

#include "runtime/store/error_state.h"
#include "runtime/values/environment.h"

namespace carelog::window {

bool ReadSettingsFile(const std::string& path) {
  int code = values::LoadSettingsFile(path);
  if (code == 0) return true;
  store::PostError(code, nullptr);
  return false;
}

}  // namespace carelog::window
