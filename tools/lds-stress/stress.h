// A sharing stress run: several processes ADD, PUT and DELETE records of one shared data file at
// once, numbering new records "highest number + 1" (retrying when another process took the
// number first), and each keeps a log of what it did. Afterwards the file must hold exactly the
// records the logs say, each with the value last written, under unique numbers, and the data
// file must pass its structural check.
//
// Each process changes and deletes only records it added, so the expected contents follow from
// the logs alone whatever the interleaving.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace carelog::stress {

struct StressOptions {
  std::string dir;  // where the data file and the logs go (must exist)
  int processes = 4;
  double seconds = 3;
};

struct WorkerTally {
  int added = 0;
  int changed = 0;
  int deleted = 0;
  int retries = 0;  // ADDs repeated after another process took the number
};

struct StressResult {
  std::vector<WorkerTally> workers;
  int records_held = 0;             // records in the file afterwards
  std::vector<std::string> faults;  // losses, duplicates, wrong values, structural faults
};

// Runs the stress and checks the outcome. Returns 0 when it ran (faults may still be listed),
// else an error code of the store. Progress and the summary go to `out`.
int RunStress(const StressOptions& options, StressResult* result, std::ostream& out);

}  // namespace carelog::stress
