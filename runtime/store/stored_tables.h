// The table layer behind the driver: implements TableOps over stored tables in data files.
// Install it once at program start with RegisterTableOps(&StoredTables()).
#pragma once

#include "runtime/store/table_def.h"
#include "runtime/store/table_ops.h"

namespace carelog::store {

TableOps& StoredTables();

// The definition a declaration gives a stored table (field, memo and key tables of the state).
TableDefinition DefinitionOf(const DriverState& state);

}  // namespace carelog::store
