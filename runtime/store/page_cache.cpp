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
  Bucket& bucket = BucketFor(number);
  auto it = bucket.begin() + (Position(bucket, number) - bucket.cbegin());
  if (it == bucket.end() || it->first != number) return nullptr;
  std::unique_ptr<Page> page = std::move(it->second);
  bucket.erase(it);
  --size_;
  if (page->dirty) dirty_.erase(std::find(dirty_.begin(), dirty_.end(), page.get()));
  return page;
}

void PageCache::Renumber(Page* page, int32_t number) {
  Bucket& from = BucketFor(page->number);
  auto it = from.begin() + (Position(from, page->number) - from.cbegin());
  std::unique_ptr<Page> owned = std::move(it->second);
  from.erase(it);
  owned->number = number;
  Bucket& to = BucketFor(number);
  to.emplace(to.begin() + (Position(to, number) - to.cbegin()), number, std::move(owned));
}

void PageCache::Clear() {
  for (auto& bucket : buckets_) bucket.clear();
  dirty_.clear();
  size_ = 0;
}

void PageCache::SetDirty(Page* page) {
  if (page->dirty) return;
  page->dirty = true;
  dirty_.push_back(page);
}

void PageCache::CleanAll() {
  for (Page* page : dirty_) page->dirty = false;
  dirty_.clear();
}

std::vector<Page*> PageCache::DirtyPages() const {
  std::vector<Page*> dirty = dirty_;
  std::sort(dirty.begin(), dirty.end(), [](const Page* a, const Page* b) {
    size_t bucket_a = BucketOf(a->number), bucket_b = BucketOf(b->number);
    return bucket_a != bucket_b ? bucket_a < bucket_b : a->number < b->number;
  });
  return dirty;
}

}  // namespace carelog::store
