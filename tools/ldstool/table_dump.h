// Reading the tables of a data file through their stored definitions: listing, dumping records
// with their memos, and rebuilding keys.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "runtime/store/data_file.h"
#include "runtime/store/table_def.h"

namespace carelog::ldstool {

struct StoredTableInfo {
  std::string name;
  uint32_t number = 0;
};

// The tables of `file` in name order.
int ListTables(store::DataFile& file, std::vector<StoredTableInfo>* tables);

// The text of one field of a record image (strings without trailing blanks; DIM elements
// separated by '|').
std::string FormatField(const store::FieldDef& field, const uint8_t* image);

// Writes every record of table `number` with its field names and memos; as CSV (a header row,
// then one row per record) when `csv`.
int DumpTable(store::DataFile& file, uint32_t number, bool csv, std::ostream& out);

}  // namespace carelog::ldstool
