// Deterministic, realistic sample records for the application's data files: each field of a
// record is filled from its declared type and the words of its name (numbers that link a record
// to its patient or physician, dates, times, names, addresses, clinical phrases).
#pragma once

#include <cstdint>
#include <random>

#include "app/data/file_info.h"

namespace carelog::sample {

// What links one record to the others.
struct RecordContext {
  int32_t patient = 0;
  int32_t physician = 0;
  int32_t record_no = 0;
  int32_t date = 0;  // standard date number
};

// Fills `buffer` (info.record_size bytes) and the memo buffers of `declaration`.
void FillRecord(const appdata::FileInfo& info, store::FileDeclaration& declaration,
                const RecordContext& context, std::mt19937& rng);

}  // namespace carelog::sample
