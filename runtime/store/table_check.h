// Verification of a data file as a reader sees it, without changing it: the engine's check of
// the header, regions, pages and tree order, then each table (counters equal to the entries
// counted, every key entry naming an existing record, every record holding its key entries).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace carelog::store {

struct TableFault {
  int64_t page;  // page number, -1 for the header or the file as a whole
  std::string text;
};

// Checks the data file at `path`. Returns 0 when it could be read (faults, if any, in
// `faults`), else the system error number.
int CheckDataFileAndTables(const std::string& path, std::vector<TableFault>* faults);

}  // namespace carelog::store
