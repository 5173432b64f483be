// Common dialogs: font choice and printer setup run as windows of the runtime.
#include "runtime/window/common_dialogs.h"

namespace carelog::window {

bool ChooseFont(const std::string& title, FontChoice* choice) {
  (void)title;
  (void)choice;
  return false;
}

bool PrinterSetup() {
  return false;
}

}  // namespace carelog::window
