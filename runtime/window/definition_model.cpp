#include "runtime/window/definition_model.h"

namespace carelog::window {

std::string ResourceNameOf(const std::string& identifier) {
  size_t dollar = identifier.find('$');
  std::string module = dollar == std::string::npos ? identifier : identifier.substr(dollar + 1);
  return module + "_RSC";
}

}  // namespace carelog::window
