// The decoded pages of one data file, found through a hash of 100 buckets on the page number;
// each bucket is kept sorted by page number and searched by halves. The changed pages are also
// listed apart (every page of the list is cached and dirty, and every dirty page is listed).
// Pages stay cached across access cycles until the file's change counter shows that someone
// else wrote it; changed (dirty) pages stay until their commit.
//
// The cache owns its pages; a Page* stays valid until the page is removed or the cache cleared.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/store/page.h"

namespace carelog::store {

class PageCache {
 public:
  static constexpr int kBuckets = 100;

  Page* Find(int32_t number) const;
  // REQUIRES: no cached page has the same number.
  Page* Add(std::unique_ptr<Page> page);
  std::unique_ptr<Page> Remove(int32_t number);
  // Gives a cached page a new number. REQUIRES: no cached page has `number`.
  void Renumber(Page* page, int32_t number);
  void Clear();

  // Marks a cached page changed; changed pages are listed apart, so that a commit finds them
  // without walking every cached page.
  void SetDirty(Page* page);
  // Marks every changed page unchanged (after its commit).
  void CleanAll();
  // The changed pages, ordered as the cache's buckets hold them.
  std::vector<Page*> DirtyPages() const;
  size_t size() const { return size_; }

 private:
  static size_t BucketOf(int32_t number) {
    return static_cast<size_t>(static_cast<uint32_t>(number) % kBuckets);
  }

  using Bucket = std::vector<std::pair<int32_t, std::unique_ptr<Page>>>;
  static Bucket::const_iterator Position(const Bucket& bucket, int32_t number);

  Bucket& BucketFor(int32_t number) { return buckets_[BucketOf(number)]; }

  std::array<Bucket, kBuckets> buckets_;
  std::vector<Page*> dirty_;
  size_t size_ = 0;
};

}  // namespace carelog::store
