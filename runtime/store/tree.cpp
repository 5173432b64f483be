// The ordered tree: search, insert with page splits, and erase with freeing of empty pages.
//
// Split rule: a page is split when its accounting size exceeds 15094 bytes, or exceeds 4096
// bytes while it holds more than 20 entries. The root splits by moving all its entries down into
// a new page and becoming that page's parent; any other page moves its upper half (by accounting
// size) to a new page at its level, whose first entry joins the parent. Pages are never merged; a
// page left without entries is freed and its entry leaves the parent.
#include "runtime/store/tree.h"

#include <cstdint>

#include "runtime/store/data_file.h"
#include "runtime/store/data_file_impl.h"
#include "runtime/store/internal_error.h"

namespace carelog::store {

bool DataFileImpl::Descend(std::string_view key, Path* path) {
  path->clear();
  if (header_.root == kEmptyRoot) return false;
  if (DescendFromHint(key, path)) return true;
  Page* page = LoadRoot();
  for (;;) {
    ptrdiff_t index = page->LastAtOrBelow(key);
    // The sentinel heads the leftmost page of every level, so only damage leaves nothing here.
    if (index < 0) Fail(kErrInvalidDataFile);
    path->push_back({page, static_cast<size_t>(index)});
    if (page->is_leaf()) break;
    page = LoadChild(*page, static_cast<size_t>(index));
  }
  RememberPath(*path);
  return true;
}

// A remembered path whose every inner step a fresh descent for `key` would take again leads to
// the same leaf, so only the search inside the leaf is left. Its inner pages are unchanged since
// it was taken (the layout generation), so the checks of LoadChild hold for it still.
bool DataFileImpl::DescendFromHint(std::string_view key, Path* path) {
  const uint64_t head = KeyHead(key);
  for (Hint& hint : hints_) {
    if (hint.layout != layout_generation_ || hint.root != header_.root) continue;
    // Heads decide most bounds without reading the bytes (a smaller head, a smaller key).
    const bool below_low = head != hint.low_head ? head < hint.low_head : KeyBefore(key, hint.low);
    if (below_low) continue;
    if (hint.bounded) {
      const bool below_high =
          head != hint.high_head ? head < hint.high_head : KeyBefore(key, hint.high);
      if (!below_high) continue;
    }
    ptrdiff_t index = hint.path.back().page->LastAtOrBelow(key);
    if (index < 0) continue;  // only a damaged leaf; the full descent reports it
    hint.path.back().index = static_cast<size_t>(index);
    hint.used = ++hint_clock_;
    *path = hint.path;
    return true;
  }
  return false;
}

// A descent takes every inner step of the path exactly for the keys from the deepest step's
// entry up to the first next entry met going up: separators deeper down lie inside the ranges
// of those above them.
void DataFileImpl::RememberPath(const Path& path) {
  if (path.size() == 0) return;
  Hint* oldest = &hints_[0];
  for (Hint& hint : hints_) {
    if (hint.layout != layout_generation_) {
      oldest = &hint;
      break;
    }
    if (hint.used < oldest->used) oldest = &hint;
  }
  oldest->path = path;
  oldest->layout = layout_generation_;
  oldest->root = header_.root;
  oldest->used = ++hint_clock_;
  oldest->low = {};
  oldest->bounded = false;
  const size_t inner = path.size() - 1;
  if (inner > 0) oldest->low = path[inner - 1].page->entries[path[inner - 1].index].key();
  for (size_t depth = inner; depth > 0 && !oldest->bounded; --depth) {
    const Step& step = path[depth - 1];
    if (step.index + 1 < step.page->size()) {
      oldest->high = step.page->entries[step.index + 1].key();
      oldest->bounded = true;
    }
  }
  oldest->low_head = KeyHead(oldest->low);
  oldest->high_head = oldest->bounded ? KeyHead(oldest->high) : 0;
}

bool DataFileImpl::DescendLast(Path* path) {
  path->clear();
  if (header_.root == kEmptyRoot) return false;
  Page* page = LoadRoot();
  for (;;) {
    if (page->size() == 0) Fail(kErrInvalidDataFile);
    path->push_back({page, page->size() - 1});
    if (page->is_leaf()) return true;
    page = LoadChild(*page, page->size() - 1);
  }
}

bool DataFileImpl::Advance(Path* path, bool forward) {
  // Within the leaf: one step, and forward never meets the sentinel, which comes first.
  Step& at = path->back();
  if (forward && at.index + 1 < at.page->size()) {
    ++at.index;
    return true;
  }
  size_t depth = path->size();
  while (depth > 0) {
    Step& step = (*path)[depth - 1];
    if (forward ? step.index + 1 < step.page->size() : step.index > 0) break;
    --depth;
  }
  if (depth == 0) return false;
  Path moved(*path);
  moved.resize(depth);
  Step& turn = moved.back();
  turn.index = forward ? turn.index + 1 : turn.index - 1;
  while (!moved.back().page->is_leaf()) {
    Page* child = LoadChild(*moved.back().page, moved.back().index);
    if (child->size() == 0) Fail(kErrInvalidDataFile);
    moved.push_back({child, forward ? 0 : child->size() - 1});
  }
  const Step& leaf = moved.back();
  if (leaf.page->entries[leaf.index].key().empty()) return false;  // the sentinel
  *path = std::move(moved);
  return true;
}

bool DataFileImpl::FindEntry(std::string_view key, Entry* entry) {
  EnsureRead();
  Path path;
  if (key.empty() || !Descend(key, &path)) return false;
  const Entry& found = path.back().page->entries[path.back().index];
  if (found.key() != key) return false;
  *entry = found;
  return true;
}

void DataFileImpl::ScanPrefix(std::string_view prefix, const void* context,
                              Tree::EntryVisitor visit) {
  if (prefix.empty()) InternalError(813);
  EnsureRead();
  Path path;
  if (!Descend(prefix, &path)) return;
  // The descent stands on the last entry at or below the prefix: the first that begins with it,
  // or the one just before the first.
  auto at = [&path]() -> const Entry& { return path.back().page->entries[path.back().index]; };
  if (at().key() < prefix && !Advance(&path, true)) return;
  while (at().key().starts_with(prefix) && visit(context, at())) {
    if (!Advance(&path, true)) return;
  }
}

void DataFileImpl::EnsureRoot() {
  if (header_.root != kEmptyRoot) return;
  Page* root = NewPage(0);
  root->Insert(0, Entry());  // the sentinel
  header_.root = root->number;
  header_dirty_ = true;
}

bool DataFileImpl::InsertEntry(std::string_view key, std::string_view data, bool replace) {
  if (key.size() + data.size() > kMaxEntrySize || key.size() > kMaxKeySize) InternalError(813);
  if (key.empty()) return false;  // reserved for the sentinel
  EnsureWrite();
  EnsureRoot();
  Path path;
  Descend(key, &path);
  Page* leaf = path.back().page;
  size_t index = path.back().index;
  Entry entry;
  entry.bytes.reserve(key.size() + data.size());
  entry.bytes.append(key).append(data);
  entry.key_size = key.size();
  if (leaf->entries[index].key() == key) {
    if (!replace) return false;
    if (leaf->entries[index].bytes == entry.bytes) return true;
    leaf->Replace(index, std::move(entry));
    MarkDirty(leaf);
  } else {
    leaf->Insert(index + 1, std::move(entry));
    MarkDirty(leaf);
  }
  SplitUpward(path);
  return true;
}

// Data of the same size is written over the stored bytes: the page's size is unchanged, so
// nothing splits and no second search is needed.
void DataFileImpl::ModifyEntry(std::string_view key,
                               const std::function<bool(std::string*)>& change) {
  if (key.empty()) InternalError(813);
  EnsureWrite();
  EnsureRoot();
  Path path;
  Descend(key, &path);
  Page* leaf = path.back().page;
  Entry& stored = leaf->entries[path.back().index];
  const bool found = stored.key() == key;
  std::string data = found ? std::string(stored.data()) : std::string();
  if (!change(&data)) return;
  if (!found || data.size() != stored.data().size()) {
    InsertEntry(key, data, true);
    return;
  }
  if (data == stored.data()) return;
  data.copy(stored.bytes.data() + stored.key_size, data.size());
  MarkDirty(leaf);
}

bool DataFileImpl::EraseEntry(std::string_view key) {
  if (key.empty()) return false;
  EnsureWrite();
  Path path;
  if (!Descend(key, &path)) return false;
  if (path.back().page->entries[path.back().index].key() != key) return false;
  size_t depth = path.size() - 1;
  size_t index = path[depth].index;
  path[depth].page->Erase(index);
  MarkDirty(path[depth].page);
  while (path[depth].page->size() == 0) {
    if (depth == 0) InternalError(1884);  // the root holds the sentinel's path
    FreePage(path[depth].page);
    --depth;
    index = path[depth].index;
    path[depth].page->Erase(index);
    MarkDirty(path[depth].page);
  }
  path.resize(depth + 1);
  if (index == 0 && depth > 0) UpdateSeparator(path, depth);
  SplitUpward(path);
  return true;
}

// The first entry of path[depth] changed: its key part in the parent (and further up while it is
// the parent's first entry too) follows.
void DataFileImpl::UpdateSeparator(Path& path, size_t depth) {
  while (depth > 0) {
    Page* page = path[depth].page;
    Page* parent = path[depth - 1].page;
    size_t index = path[depth - 1].index;
    Entry separator = SeparatorFor(*page);
    if (parent->entries[index].bytes == separator.bytes) return;
    parent->Replace(index, std::move(separator));
    MarkDirty(parent);
    if (index != 0) return;
    --depth;
  }
}

void DataFileImpl::SplitUpward(const Path& path) {
  // Most changes leave every page of the path within its size; only a split needs the lists.
  bool any = false;
  for (const Step& step : path) any = any || step.page->NeedsSplit();
  if (!any) return;
  std::vector<Page*> pages;
  for (const Step& step : path) pages.push_back(step.page);
  for (size_t depth = pages.size(); depth > 0; --depth) {
    std::vector<Page*> ancestors(pages.begin(), pages.begin() + static_cast<ptrdiff_t>(depth - 1));
    Examine(pages[depth - 1], ancestors);
  }
}

namespace {

// Where to cut a page in two: the index that divides its accounting size most evenly, so that
// large entries never leave one half as full as the whole (for entries of equal size this is
// the middle entry).
size_t SplitPoint(const Page& page) {
  size_t total = page.accounting - kPageHeaderSize;
  size_t left = 0;
  size_t best = 1;
  size_t best_difference = SIZE_MAX;
  for (size_t cut = 1; cut < page.size(); ++cut) {
    left += page.EntryCost(page.entries[cut - 1]);
    size_t right = total - left;
    size_t difference = left > right ? left - right : right - left;
    if (difference < best_difference) {
      best_difference = difference;
      best = cut;
    }
  }
  return best;
}

}  // namespace

void DataFileImpl::Examine(Page* page, const std::vector<Page*>& ancestors) {
  while (page->NeedsSplit()) {
    if (ancestors.empty()) {
      // The root keeps its number: its entries move down into a new page below it.
      if (page->level == 255) InternalError(1354);
      Page* below = NewPage(page->level);
      page->MoveTail(0, below);
      page->level = static_cast<uint8_t>(page->level + 1);
      page->Insert(0, SeparatorFor(*below), below->number);
      MarkDirty(page);
      Examine(below, {page});
      continue;
    }
    if (page->size() < 2) InternalError(1354);
    Page* parent = ancestors.back();
    Page* right = NewPage(page->level);
    page->MoveTail(SplitPoint(*page), right);
    MarkDirty(page);
    ptrdiff_t index = parent->ChildIndex(page->number);
    if (index < 0) InternalError(1881);
    parent->Insert(static_cast<size_t>(index) + 1, SeparatorFor(*right), right->number);
    MarkDirty(parent);
    Examine(right, ancestors);
  }
}

// ---- Tree ----

int Tree::Find(std::string_view key, Entry* entry, bool* found) {
  return file_.Guard([&] { *found = file_.FindEntry(key, entry); });
}

int Tree::Insert(std::string_view key, std::string_view data, bool* inserted) {
  return file_.Guard([&] {
    bool done = file_.InsertEntry(key, data, false);
    if (inserted != nullptr) *inserted = done;
  });
}

int Tree::Put(std::string_view key, std::string_view data) {
  return file_.Guard([&] { file_.InsertEntry(key, data, true); });
}

int Tree::Modify(std::string_view key, const std::function<bool(std::string*)>& change) {
  return file_.Guard([&] { file_.ModifyEntry(key, change); });
}

int Tree::ScanPrefixWith(std::string_view prefix, const void* context, EntryVisitor visit) {
  return file_.Guard([&] { file_.ScanPrefix(prefix, context, visit); });
}

int Tree::Erase(std::string_view key, bool* erased) {
  return file_.Guard([&] {
    bool done = file_.EraseEntry(key);
    if (erased != nullptr) *erased = done;
  });
}

}  // namespace carelog::store
