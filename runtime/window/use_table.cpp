#include "runtime/window/use_table.h"

#include <algorithm>
#include <array>
#include <map>

namespace carelog::window {
namespace {

struct TypeName {
  uint8_t code;
  const char* name;
};

constexpr std::array<TypeName, 15> kTypeNames{{
    {use_type::kByte, "BYTE"},
    {use_type::kShort, "SHORT"},
    {use_type::kUShort, "USHORT"},
    {use_type::kDate, "DATE"},
    {use_type::kTime, "TIME"},
    {use_type::kLong, "LONG"},
    {use_type::kULong, "ULONG"},
    {use_type::kSReal, "SREAL"},
    {use_type::kReal, "REAL"},
    {use_type::kDecimal, "DECIMAL"},
    {use_type::kPDecimal, "PDECIMAL"},
    {use_type::kString, "STRING"},
    {use_type::kCString, "CSTRING"},
    {use_type::kPString, "PSTRING"},
    {use_type::kLongString, "STRING"},
}};

// Long strings are held exactly as fixed strings.
uint8_t StorageClass(uint8_t type) {
  return type == use_type::kLongString ? use_type::kString : type;
}

bool SameStorage(const UseType& a, const UseType& b) {
  return StorageClass(a.type) == StorageClass(b.type) && a.size == b.size;
}

void CollectUse(const std::vector<Entry>& entries, std::vector<const Entry*>* out) {
  for (const Entry& entry : entries) {
    if (entry.use) out->push_back(&entry);
    CollectUse(entry.children, out);
    CollectUse(entry.menubar, out);
  }
}

std::string ControlName(int field) {
  return "control " + std::to_string(field);
}

// The first control whose table entry is missing or of another storage.
std::string ControlMismatch(const std::string& label, const Entry& control, const UseTable& table) {
  const UseBinding* binding = FindUse(table, control.id);
  if (!binding) return label + ": " + ControlName(control.id) + " has no USE variable";
  if (!SameStorage(binding->storage, *control.use)) {
    return label + ": " + ControlName(control.id) + " is " + StorageName(*control.use) +
           ", its USE variable is " + StorageName(binding->storage);
  }
  if (!binding->variable.address) {
    return label + ": " + ControlName(control.id) + " has a USE variable without an address";
  }
  return {};
}

// The first table entry that is given twice or names no USE control of the window.
std::string TableMismatch(const std::string& label, const std::vector<const Entry*>& controls,
                          const UseTable& table) {
  std::map<int, int> seen;
  for (const UseBinding& binding : table) {
    if (++seen[binding.field] == 2) {
      return label + ": " + ControlName(binding.field) + " has two USE variables";
    }
    bool found = std::any_of(controls.begin(), controls.end(),
                             [&](const Entry* c) { return c->id == binding.field; });
    if (!found) {
      return label + ": " + ControlName(binding.field) +
             " has a USE variable but no such control declares USE";
    }
  }
  return {};
}

}  // namespace

const UseBinding* FindUse(const UseTable& table, int field) {
  for (const UseBinding& binding : table) {
    if (binding.field == field) return &binding;
  }
  return nullptr;
}

std::string StorageName(const UseType& storage) {
  std::string text = "type " + std::to_string(storage.type);
  for (const TypeName& t : kTypeNames) {
    if (t.code == storage.type) text = t.name;
  }
  return text + "(" + std::to_string(storage.size) + ")";
}

std::string MismatchOf(const Entry& structure, const UseTable& table) {
  std::string label = structure.Label();
  std::vector<const Entry*> controls;
  CollectUse(structure.children, &controls);
  CollectUse(structure.menubar, &controls);
  for (const Entry* control : controls) {
    std::string mismatch = ControlMismatch(label, *control, table);
    if (!mismatch.empty()) return mismatch;
  }
  return TableMismatch(label, controls, table);
}

}  // namespace carelog::window
