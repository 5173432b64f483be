// Verification of a data file as a reader sees it, without changing it: the header and its
// regions, every page slot, the tree (levels, order within and across pages, inner entries
// at or below their child's first entry, every page reachable once), and each table (counters
// equal to the entries counted, every key entry naming an existing record, every record
// holding its key entries).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace carelog::ldstool {

struct Fault {
  int64_t page;  // page number, -1 for the header or the file as a whole
  std::string text;
};

// Checks the data file at `path`. Returns 0 when it could be read (faults, if any, in
// `faults`), else the system error number.
int CheckDataFile(const std::string& path, std::vector<Fault>* faults);

}  // namespace carelog::ldstool
