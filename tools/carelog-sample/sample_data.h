// Deterministic sample data for the application's data files, written through the file
// statements exactly as the application writes them: physicians, then per patient the patient
// record with its plan memo, family and other doctors, several progress notes, a medication
// sheet, a care plan, orders, a sixty-day summary, a plan of care with its addendum, an aide
// assignment, a month calendar and appointments, a narrative, a case conference and, for some,
// a discharge summary; finally the display font.
//
// Records go to the files in batches of patients, each file's batch inside one
// transaction of its own; the records do not depend on the batching.
//
// The same options always give byte-identical records (the generator draws from its own seeded
// engine, never from the clock).
#pragma once

#include <cstdint>
#include <string>

namespace carelog::sample {

struct SampleOptions {
  int patients = 200;
  uint32_t seed = 1;
  // Patients whose records are written together, each file's share in one transaction: large
  // enough that a file's pages are written a few times rather than thousands, small enough to
  // keep a batch in a few hundred megabytes.
  int patients_per_batch = 5000;
};

struct SampleCounts {
  int files = 0;
  int64_t records = 0;
};

// Creates the eighteen data files in the current directory (replacing any there) and fills them.
// Returns 0, or the error code of the first statement that failed with its text in *error.
int WriteSampleData(const SampleOptions& options, SampleCounts* counts, std::string* error);

}  // namespace carelog::sample
