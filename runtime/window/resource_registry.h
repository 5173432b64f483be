// Named resources that travel with the program, found by type and name.
//
// A resource module is a table of records {type, name, bytes}. The executable's own table
// (generated at build time from the definition texts, see tools/defc) is registered before
// main() runs and is always searched first; further modules (a test's, a loaded library's)
// are searched after it in the order they were added. Types and names match without regard to
// ASCII case. The registry keeps pointers only: tables and their bytes must outlive it (they
// are static data).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace carelog::window {

inline constexpr std::string_view kDefinitionResourceType = "DABDUMP";

struct ResourceRecord {
  const char* type;
  const char* name;
  const uint8_t* bytes;
  size_t size;
};

struct ResourceModule {
  const char* name;  // for diagnostics: "executable", a test's name ...
  const ResourceRecord* records;
  size_t count;
};

// Makes `module` the executable's table, searched before every other module; returns the one
// it replaces (tests put it back).
// REQUIRES: called once from the generated resource source, and by tests.
const ResourceModule* RegisterExecutableResources(const ResourceModule* module);

// Appends `module` to the search order. Adding a module that is already registered does
// nothing.
void AddResourceModule(const ResourceModule* module);
void RemoveResourceModule(const ResourceModule* module);

// Whether two resource types or names match (ASCII letters without regard to case).
bool ResourceNamesEqual(std::string_view a, std::string_view b);

// Finds the first record of `type` and `name`, executable first. On success `*module` (when
// not null) names the module it was found in. nullptr when no module has it.
const ResourceRecord* FindResource(std::string_view type, std::string_view name,
                                   const ResourceModule** module = nullptr);

}  // namespace carelog::window
