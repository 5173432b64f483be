#include "tools/carelog-sample/record_batches.h"

#include <algorithm>

#include "runtime/store/file_statements.h"

namespace carelog::sample {

void RecordBatches::AssignMemo(store::FileDeclaration& file, int memo, std::string text) {
  queues_[&file].memos.emplace_back(memo, std::move(text));
}

void RecordBatches::Add(store::FileDeclaration& file) {
  Queue& queue = queues_[&file];
  Record record;
  record.memos = std::move(queue.memos);
  queue.memos.clear();
  record.image.assign(file.buffer, file.buffer + file.record_size);
  queue.records.push_back(std::move(record));
  ++queued_;
}

int RecordBatches::WriteFile(store::FileDeclaration& file, Queue& queue, int64_t* written) {
  if (queue.records.empty()) return 0;
  int64_t added = 0;
  int rc = store::Logout(file);
  for (const Record& record : queue.records) {
    if (rc != 0) break;
    for (const auto& [memo, text] : record.memos) {
      if ((rc = store::AssignMemo(file, memo, text)) != 0) break;
    }
    if (rc != 0) break;
    std::copy(record.image.begin(), record.image.end(), file.buffer);
    if ((rc = store::Add(file)) == 0) ++added;
  }
  queue.records.clear();
  if (rc != 0) {
    store::Rollback(file);
    return rc;
  }
  if ((rc = store::Commit(file)) == 0) *written += added;
  return rc;
}

int RecordBatches::Write(const std::vector<store::FileDeclaration*>& files, int64_t* written) {
  int rc = 0;
  for (store::FileDeclaration* file : files) {
    auto found = queues_.find(file);
    if (found == queues_.end()) continue;
    if ((rc = WriteFile(*file, found->second, written)) != 0) break;
  }
  queued_ = 0;
  for (auto& [file, queue] : queues_) queue.records.clear();
  return rc;
}

}  // namespace carelog::sample
