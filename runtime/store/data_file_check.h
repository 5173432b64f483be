// Verification of a whole data file, for the administrator's tool and for tests: everything a
// reader can verify about the pages, the regions and the order of the tree. Table-level checks
// (counters, key entries naming records) belong to the table layer.
//
// Checked:
//   1. the header decodes, has no pending redo log, and its regions are contiguous, in class
//      order and packed;
//   2. every page slot of every region holds a page that decodes to its lengths, at its own
//      offset, of the region's size class;
//   3. the tree reaches every page exactly once from the root, levels fall by one per step and
//      all leaves are at level 0;
//   4. entries are in strictly ascending key order within each page and across the leaves, the
//      first entry of the tree is the empty sentinel, and every inner entry's key part equals
//      its child's first entry's key part.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/store/data_file.h"

namespace carelog::store {

struct CheckFault {
  int32_t page;  // -1 for the header
  std::string text;
};

struct CheckSummary {
  int64_t pages = 0;
  int64_t leaf_entries = 0;  // sentinel excluded
  int depth = 0;             // levels of the tree (0 for an empty tree)
  int64_t pages_per_class[60] = {};
};

// Checks `file`, committing an open cycle's changes first. Returns 0 and lists every fault found
// (none for a sound file), or an error code when the file could not be read at all.
int CheckDataFile(DataFile& file, std::vector<CheckFault>* faults, CheckSummary* summary);

}  // namespace carelog::store
