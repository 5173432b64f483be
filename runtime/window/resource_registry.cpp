#include "runtime/window/resource_registry.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace carelog::window {
namespace {

struct Registry {
  std::mutex mutex;
  const ResourceModule* executable = nullptr;
  std::vector<const ResourceModule*> others;
};

// Constructed on first use, so that registration from static initialisers of other
// translation units finds it ready.
Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

const ResourceRecord* FindIn(const ResourceModule* module, std::string_view type,
                             std::string_view name) {
  for (size_t i = 0; i < module->count; ++i) {
    const ResourceRecord& record = module->records[i];
    if (ResourceNamesEqual(type, record.type) && ResourceNamesEqual(name, record.name)) {
      return &record;
    }
  }
  return nullptr;
}

}  // namespace

bool ResourceNamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x -= 'a' - 'A';
    if (y >= 'a' && y <= 'z') y -= 'a' - 'A';
    if (x != y) return false;
  }
  return true;
}

const ResourceModule* RegisterExecutableResources(const ResourceModule* module) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  const ResourceModule* previous = registry.executable;
  registry.executable = module;
  return previous;
}

void AddResourceModule(const ResourceModule* module) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  if (std::find(registry.others.begin(), registry.others.end(), module) == registry.others.end()) {
    registry.others.push_back(module);
  }
}

void RemoveResourceModule(const ResourceModule* module) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  std::erase(registry.others, module);
}

const ResourceRecord* FindResource(std::string_view type, std::string_view name,
                                   const ResourceModule** module) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  std::vector<const ResourceModule*> order;
  if (registry.executable) order.push_back(registry.executable);
  order.insert(order.end(), registry.others.begin(), registry.others.end());
  for (const ResourceModule* candidate : order) {
    if (const ResourceRecord* record = FindIn(candidate, type, name)) {
      if (module) *module = candidate;
      return record;
    }
  }
  return nullptr;
}

}  // namespace carelog::window
