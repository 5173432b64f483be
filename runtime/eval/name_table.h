// The process-wide name table: every name an expression may use.
//
// A binary search tree ordered by the case-insensitive collated comparison. It is created on
// first use with a root whose key is "MMMMMMM", so that names beginning with A-L and N-Z fall
// into the two subtrees from the start, and is then filled with the keyword operators (NOT, AND,
// OR, XOR) and the built-in functions.
//
// Invariants:
//   1. Entries are never removed or moved: a pointer to an entry stays valid for the life of
//      the process, so compiled expressions may keep one.
//   2. Binding a name that exists replaces that entry's content (kind, variable) in place; a
//      compiled expression that names it reads the new variable from then on.
//   3. BindingChanges() moves whenever a binding creates an entry or gives one a different
//      content or spelling; binding a name again as before leaves it where it was.
//   4. A look-up remembers the entry it found by the exact spelling asked for, until an entry
//      is created or respelled or the locale's tables are written (any of which could change
//      where the tree's walk ends); a spelling found again costs one hash look-up.
//   5. The tree's shape is guarded by a mutex. Entry content is read without one: binding and
//      evaluating happen under the runtime's one-thread-at-a-time rule.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/eval/variable.h"

namespace carelog::eval {

struct FunctionInfo;

enum class EntryKind : uint8_t { kRoot = 0, kVariable = 1, kOperator = 4, kFunction = 6 };

struct NameEntry {
  NameEntry* left = nullptr;
  NameEntry* right = nullptr;
  EntryKind kind = EntryKind::kRoot;
  std::string name;                        // as first entered or last bound
  Variable variable;                       // kVariable
  uint8_t operator_code = 0;               // kOperator: 16 NOT, 17 AND, 18 OR, 19 XOR
  const FunctionInfo* function = nullptr;  // kFunction
};

// The entry for `name`, or null when the name is neither bound nor built in. The root entry
// "MMMMMMM" is not a usable name and is never returned.
const NameEntry* FindName(std::string_view name);

// A count that moves whenever a binding changes what some name stands for (invariant 3): a
// tree compiled earlier would now be built differently only after it moved.
uint64_t BindingChanges();

// Binds `name` to `variable`, creating the entry or replacing its content.
// REQUIRES: the variable's memory outlives the binding (or a later rebinding of the name).
void BindVariable(std::string_view name, const Variable& variable);

// Convenience binders for single program variables.
void Bind(std::string_view name, const int32_t* variable);
void Bind(std::string_view name, const double* variable);
void Bind(std::string_view name, const char* text, uint32_t length);  // STRING of `length`

}  // namespace carelog::eval
