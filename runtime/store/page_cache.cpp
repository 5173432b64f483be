#include "runtime/store/page_cache.h"

#include <algorithm>

namespace carelog::store {

PageCache::Bucket::const_iterator PageCache::Position(const Bucket& bucket, int32_t number) {
  return std::lower_bound(bucket.begin(), bucket.end(), number,
                          [](const std::pair<int32_t, std::unique_ptr<Page>>& slot, int32_t n) {
                            return slot.first < n;
                          });
}

Page* PageCache::Find(int32_t number) const {
  const Bucket& bucket = buckets_[BucketOf(number)];
  auto it = Position(bucket, number);
  return it != bucket.end() && it->first == number ? it->second.get() : nullptr;
}

Page* PageCache::Add(std::unique_ptr<Page> page) {
  Bucket& bucket = buckets_[BucketOf(page->number)];
  auto it = bucket.begin() + (Position(bucket, page->number) - bucket.cbegin());
  int32_t number = page->number;
  it = bucket.emplace(it, number, std::move(page));
  ++size_;
  return it->second.get();
}

std::unique_ptr<Page> PageCache::Remove(int32_t number) {
  Bucket& bucket = buckets_[BucketOf(number)];
  auto it = bucket.begin() + (Position(bucket, number) - bucket.cbegin());
  if (it == bucket.end() || it->first != number) return nullptr;
  std::unique_ptr<Page> page = std::move(it->second);
  bucket.erase(it);
  --size_;
  return page;
}

void PageCache::Renumber(Page* page, int32_t number) {
  std::unique_ptr<Page> owned = Remove(page->number);
  owned->number = number;
  Add(std::move(owned));
}

void PageCache::Clear() {
  for (auto& bucket : buckets_) bucket.clear();
  size_ = 0;
}

std::vector<Page*> PageCache::DirtyPages() const {
  std::vector<Page*> dirty;
  for (const auto& bucket : buckets_) {
    for (const auto& slot : bucket) {
      if (slot.second->dirty) dirty.push_back(slot.second.get());
    }
  }
  return dirty;
}

}  // namespace carelog::store
