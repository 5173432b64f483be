#include "runtime/store/page.h"

#include <algorithm>
#include <string>

namespace carelog::store {

ptrdiff_t Page::LastAtOrBelow(std::string_view key) const {
  // Halves [low, high) so that every entry before low is at or below the key and every entry
  // from high on above it.
  size_t low = 0;
  size_t high = entries.size();
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    if (KeyBefore(key, entries[middle].key())) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return static_cast<ptrdiff_t>(low) - 1;
}

ptrdiff_t Page::ChildIndex(int32_t number) const {
  auto it = std::find(children.begin(), children.end(), number);
  return it == children.end() ? -1 : it - children.begin();
}

namespace {

// The most bytes a string holds inside itself, without an allocation of its own.
size_t InlineBytes() {
  static const size_t bytes = std::string().capacity();
  return bytes;
}

}  // namespace

void Page::Insert(size_t index, Entry entry, int32_t child) {
  // An insert shifts every later entry of the page by one. A string held on the heap moves by
  // its pointer, one held inline by copying its bytes: short entries (the keys of most tables)
  // are given a heap buffer, so that inserting among a page of them stays cheap.
  if (entry.bytes.capacity() <= InlineBytes()) entry.bytes.reserve(InlineBytes() + 1);
  accounting += EntryCost(entry);
  entries.insert(entries.begin() + static_cast<ptrdiff_t>(index), std::move(entry));
  if (!is_leaf()) children.insert(children.begin() + static_cast<ptrdiff_t>(index), child);
}

void Page::Erase(size_t index) {
  accounting -= EntryCost(entries[index]);
  entries.erase(entries.begin() + static_cast<ptrdiff_t>(index));
  if (!is_leaf()) children.erase(children.begin() + static_cast<ptrdiff_t>(index));
}

void Page::Replace(size_t index, Entry entry) {
  accounting -= EntryCost(entries[index]);
  accounting += EntryCost(entry);
  entries[index] = std::move(entry);
}

void Page::MoveTail(size_t index, Page* to) {
  to->entries.reserve(to->entries.size() + (entries.size() - index));
  for (size_t i = index; i < entries.size(); ++i) {
    to->entries.push_back(std::move(entries[i]));
    if (!is_leaf()) to->children.push_back(children[i]);
  }
  entries.resize(index);
  if (!is_leaf()) children.resize(index);
  RecomputeAccounting();
  to->RecomputeAccounting();
}

Entry SeparatorFor(const Page& child) {
  Entry separator;
  separator.bytes = std::string(child.entries.front().key());
  separator.key_size = separator.bytes.size();
  return separator;
}

void Page::RecomputeAccounting() {
  accounting = kPageHeaderSize;
  for (const Entry& entry : entries) accounting += EntryCost(entry);
}

}  // namespace carelog::store
