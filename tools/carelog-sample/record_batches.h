// Records queued per data file and written a batch at a time, each file's batch inside one
// transaction of its own (LOGOUT, the ADDs, COMMIT): a file's changed pages are written once per
// batch instead of once every few records, which is what makes large samples quick to write.
//
// Invariants: the statements each file receives are exactly those the caller made for it and in
// the caller's order (memo assignments, then the ADD they belong to), so the records are the
// same as if every ADD had gone to the file at once; only the interleaving between files and the
// commit points change. A batch that fails is rolled back and its error returned.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "runtime/store/declarations.h"

namespace carelog::sample {

class RecordBatches {
 public:
  // Queues memo `memo` of the file's next record.
  void AssignMemo(store::FileDeclaration& file, int memo, std::string text);
  // Queues the file's record buffer as it is now, with the memos queued since its last ADD.
  void Add(store::FileDeclaration& file);
  // Records queued in all files, not yet written.
  size_t queued() const { return queued_; }
  // Writes every file's queue in `files` order, one transaction per file, and empties the
  // queues. *written counts the records added. Returns 0 or the first error.
  int Write(const std::vector<store::FileDeclaration*>& files, int64_t* written);

 private:
  struct Record {
    std::vector<std::pair<int, std::string>> memos;
    std::vector<uint8_t> image;
  };
  struct Queue {
    std::vector<std::pair<int, std::string>> memos;  // for the next ADD
    std::vector<Record> records;
  };

  int WriteFile(store::FileDeclaration& file, Queue& queue, int64_t* written);

  std::unordered_map<store::FileDeclaration*, Queue> queues_;
  size_t queued_ = 0;
};

}  // namespace carelog::sample
