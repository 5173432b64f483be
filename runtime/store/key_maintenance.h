// Keeping the keys of a table in step with one record change (ADD, PUT, DELETE).
#pragma once

#include <cstdint>
#include <string>

namespace carelog::store {

class Table;

// Changes every maintained key of `table` from the entries of `old_image` to those of
// `new_image` (stored images; null when the record did not / will not exist), in key order.
// A new value already held by another record in a unique key undoes the keys changed so far
// and fails with 40, leaving every key as it was. Indexes built on request are not changed;
// their built mark is lowered so that they are known to be stale. Dynamic indexes are skipped.
int MaintainKeys(Table& table, const std::string* old_image, const std::string* new_image,
                 uint32_t record);

}  // namespace carelog::store
