// Building keys and indexes from the records of a table.
//
// The records are read in record-number order; each record's key entry (none for a blank OPT
// value) goes into a sorted in-memory area that is merged into the key whenever it holds more
// than kBuildBatchBytes and at the end. A value found twice in a unique key fails the build
// with 40 and leaves the key empty (its counters at zero), so that it is known to need a build.
// After a build the key's counters hold its number of entries and its built mark: one above
// the highest record number the build saw (0 for a key never built).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/store/table.h"

namespace carelog::store {

inline constexpr size_t kBuildBatchBytes = 39 * 15104;

// Rebuilds key `k` (a declared key or index, or a dynamic index already given components).
int BuildKey(Table& table, int k);

// Rebuilds every key that is not an index.
int BuildAllKeys(Table& table);

// Parses the component list of a dynamic index: field names separated by commas, each with an
// optional '+' (ascending, the default) or '-' (descending); a name matches a field's full name
// or the part after its prefix, regardless of case. 76 when the list is empty or names no field.
int ParseIndexComponents(const TableDefinition& def, std::string_view text,
                         std::vector<KeyComponentDef>* components);

// Builds dynamic index `k` over `components` in a fresh temporary data file.
int BuildDynamicIndex(Table& table, int k, std::string_view components);

}  // namespace carelog::store
