// The counters changes that wait in an open write cycle (DataFile::AddToCount). A table's
// records counter and each key's entry counter change at nearly every ADD and DELETE; keeping
// the change here spares a search of the tree per counter per statement, and the entries are
// written once, just before the commit places the pages.
#include <algorithm>

#include "runtime/store/data_file.h"
#include "runtime/store/data_file_impl.h"
#include "runtime/store/table_entries.h"

namespace carelog::store {

void DataFileImpl::AddToCount(uint32_t table, uint8_t index, int delta) {
  EnsureWrite();
  auto waiting = std::find_if(pending_counts_.begin(), pending_counts_.end(),
                              [&](const PendingCount& p) {
                                return p.table == table && p.index == index;
                              });
  if (waiting == pending_counts_.end()) {
    if (delta != 0) pending_counts_.push_back(PendingCount{table, index, delta});
    return;
  }
  waiting->delta += delta;
  // A change undone within the cycle (a failed ADD's keys put back) leaves nothing to write.
  if (waiting->delta == 0) pending_counts_.erase(waiting);
}

void DataFileImpl::ApplyPendingCounts(std::string_view prefix) {
  for (size_t i = 0; i < pending_counts_.size();) {
    const std::string key = CountersKey(pending_counts_[i].table, pending_counts_[i].index);
    if (!std::string_view(key).starts_with(prefix)) {
      ++i;
      continue;
    }
    const int64_t delta = pending_counts_[i].delta;
    pending_counts_.erase(pending_counts_.begin() + static_cast<ptrdiff_t>(i));
    ModifyEntry(key, [delta](std::string* data) {
      Counters c = DecodeCounters(*data);
      c.entries = static_cast<uint32_t>(static_cast<int64_t>(c.entries) + delta);
      *data = EncodeCounters(c);
      return true;
    });
  }
}

int DataFile::AddToCount(uint32_t table, uint8_t index, int delta) {
  return impl_->Guard([&] { impl_->AddToCount(table, index, delta); });
}

int DataFile::ApplyPendingCounts(std::string_view prefix) {
  if (impl_->pending_counts_.empty()) return 0;
  return impl_->Guard([&] { impl_->ApplyPendingCounts(prefix); });
}

}  // namespace carelog::store
