#include "runtime/window/definition_model.h"

#include <algorithm>

namespace carelog::window {

namespace {

void Collect(const Entry& entry, std::vector<const Entry*>* out) {
  for (const Entry& child : entry.children) {
    out->push_back(&child);
    Collect(child, out);
  }
}

}  // namespace

std::vector<const Entry*> ControlsOf(const Entry& structure) {
  std::vector<const Entry*> controls;
  Collect(structure, &controls);
  return controls;
}

std::vector<const Entry*> UseControlsOf(const Entry& structure) {
  std::vector<const Entry*> controls;
  for (const Entry* control : ControlsOf(structure)) {
    if (control->use) controls.push_back(control);
  }
  std::stable_sort(controls.begin(), controls.end(),
                   [](const Entry* a, const Entry* b) { return a->id < b->id; });
  return controls;
}

int32_t HighestFieldEquate(const Entry& structure) {
  int32_t highest = 0;
  for (const Entry* control : ControlsOf(structure)) highest = std::max(highest, control->id);
  return highest;
}

std::string ResourceNameOf(const std::string& identifier) {
  size_t dollar = identifier.find('$');
  std::string module = dollar == std::string::npos ? identifier : identifier.substr(dollar + 1);
  return module + "_RSC";
}

}  // namespace carelog::window
