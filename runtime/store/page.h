// A tree page as the engine holds it in memory: its entries in ascending key order and, for an
// inner page, the page number of each entry's child. An inner entry is the key part of its
// child's first entry (its data part is left out: searches compare key parts only, and short
// inner entries keep the fan-out high however large the entries of the leaves are).
//
// Invariants:
//   1. entries are in strictly ascending key order; children.size() == entries.size() for an
//      inner page (level >= 1) and 0 for a leaf (level 0);
//   2. accounting == 13 + sum of (entry length + 5), plus 4 per entry of an inner page; it
//      bounds the page's serialized length and drives split decisions.
// Page numbers are final (>= 0) for pages placed in the file and provisional (<= -2) for pages
// created since the last commit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/store/tree.h"

namespace carelog::store {

inline constexpr size_t kPageHeaderSize = 13;
inline constexpr size_t kLargestPage = 15104;
// A page above these accounting sizes is split (the second only with more than 20 entries).
inline constexpr size_t kSplitAlways = 15094;
inline constexpr size_t kSplitCrowded = 4096;
inline constexpr size_t kCrowdedEntries = 20;

class Page {
 public:
  Page(int32_t number, uint8_t level) : number(number), level(level) {}

  int32_t number;
  uint8_t level;
  bool dirty = false;
  uint32_t edits = 0;  // counts changes of the content, so a serialization can be reused
  // The page as last read from or written to the file (its own offset as it was then), for
  // content `image_edits`: a page that only moves is written again from it, not re-serialized.
  std::string image;
  uint32_t image_edits = 0;
  std::vector<Entry> entries;
  std::vector<int32_t> children;
  size_t accounting = kPageHeaderSize;
  // For an inner page: the cached children already reached through it (parallel to
  // `children`, null where not yet), valid while the file's layout generation is
  // `child_layout`. Kept by DataFileImpl::LoadChild.
  std::vector<Page*> child_pages;
  uint64_t child_layout = 0;

  bool is_leaf() const { return level == 0; }
  bool image_current() const { return !image.empty() && image_edits == edits; }
  size_t size() const { return entries.size(); }
  size_t EntryCost(const Entry& entry) const {
    return entry.bytes.size() + 5 + (is_leaf() ? 0 : 4);
  }
  bool NeedsSplit() const {
    if (entries.size() < 2) return false;
    return accounting > kSplitAlways ||
           (accounting > kSplitCrowded && entries.size() > kCrowdedEntries);
  }

  // The index of the last entry whose key part is at or below `key`, or -1.
  ptrdiff_t LastAtOrBelow(std::string_view key) const;
  // The index of the entry pointing to child `number`, or -1.
  ptrdiff_t ChildIndex(int32_t number) const;

  void Insert(size_t index, Entry entry, int32_t child = 0);
  void Erase(size_t index);
  void Replace(size_t index, Entry entry);
  // Moves the entries from `index` on (with their children) to the end of `to`.
  void MoveTail(size_t index, Page* to);
  void RecomputeAccounting();
};

// The inner entry for a child page: the key part of the child's first entry.
Entry SeparatorFor(const Page& child);

}  // namespace carelog::store
