#include "runtime/store/page_cache.h"

#include <algorithm>

namespace carelog::store {

Page* PageCache::Find(int32_t number) const {
  for (const auto& page : buckets_[BucketOf(number)]) {
    if (page->number == number) return page.get();
  }
  return nullptr;
}

Page* PageCache::Add(std::unique_ptr<Page> page) {
  auto& bucket = buckets_[BucketOf(page->number)];
  bucket.push_back(std::move(page));
  ++size_;
  return bucket.back().get();
}

std::unique_ptr<Page> PageCache::Remove(int32_t number) {
  auto& bucket = buckets_[BucketOf(number)];
  auto it = std::find_if(bucket.begin(), bucket.end(),
                         [&](const std::unique_ptr<Page>& p) { return p->number == number; });
  if (it == bucket.end()) return nullptr;
  std::unique_ptr<Page> page = std::move(*it);
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
    for (const auto& page : bucket) {
      if (page->dirty) dirty.push_back(page.get());
    }
  }
  return dirty;
}

}  // namespace carelog::store
