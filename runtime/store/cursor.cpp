// Cursors: a position remembered as a copy of the entry, with the page and index where it was
// found as a shortcut while the tree has not changed since (the file's generation).
#include "runtime/store/data_file.h"
#include "runtime/store/data_file_impl.h"
#include "runtime/store/tree.h"

namespace carelog::store {
Cursor::Cursor(DataFile& file) : file_(file.impl()) {}

void Cursor::StandOn(Page* page, size_t index) {
  entry_ = page->entries[index];
  valid_ = true;
  page_ = page;
  index_ = index;
  generation_ = file_.generation_;
}

int Cursor::First(bool* found) {
  return SeekAtOrAbove(std::string_view(), found);
}

int Cursor::Last(bool* found) {
  return file_.Guard([&] {
    file_.EnsureRead();
    DataFileImpl::Path path;
    *found =
        file_.DescendLast(&path) && !path.back().page->entries[path.back().index].key().empty();
    if (*found) StandOn(path.back().page, path.back().index);
  });
}

int Cursor::SeekAtOrBelow(std::string_view key, bool* found) {
  return file_.Guard([&] {
    file_.EnsureRead();
    DataFileImpl::Path path;
    *found =
        file_.Descend(key, &path) && !path.back().page->entries[path.back().index].key().empty();
    if (*found) StandOn(path.back().page, path.back().index);
  });
}

int Cursor::SeekExact(std::string_view key, bool* found) {
  return file_.Guard([&] {
    file_.EnsureRead();
    DataFileImpl::Path path;
    *found = !key.empty() && file_.Descend(key, &path) &&
             path.back().page->entries[path.back().index].key() == key;
    if (*found) StandOn(path.back().page, path.back().index);
  });
}

int Cursor::SeekAtOrAbove(std::string_view key, bool* found) {
  return file_.Guard([&] {
    file_.EnsureRead();
    DataFileImpl::Path path;
    *found = false;
    if (!file_.Descend(key, &path)) return;
    std::string_view at = path.back().page->entries[path.back().index].key();
    *found = (!at.empty() && at == key) || file_.Advance(&path, true);
    if (*found) StandOn(path.back().page, path.back().index);
  });
}

int Cursor::Next(bool* found) {
  if (!valid_) return First(found);
  return file_.Guard([&] {
    file_.EnsureRead();
    if (generation_ == file_.generation_ && index_ + 1 < page_->size()) {
      ++index_;
      entry_ = page_->entries[index_];
      *found = true;
      return;
    }
    DataFileImpl::Path path;
    *found = file_.Descend(entry_.key(), &path) && file_.Advance(&path, true);
    if (!*found) return;
    StandOn(path.back().page, path.back().index);
    file_.RememberPath(path);  // the next step out of this leaf starts here
  });
}

int Cursor::Previous(bool* found) {
  if (!valid_) return Last(found);
  return file_.Guard([&] {
    file_.EnsureRead();
    if (generation_ == file_.generation_ && index_ > 0 &&
        !page_->entries[index_ - 1].key().empty()) {
      --index_;
      entry_ = page_->entries[index_];
      *found = true;
      return;
    }
    DataFileImpl::Path path;
    *found = false;
    if (!file_.Descend(entry_.key(), &path)) return;
    std::string_view at = path.back().page->entries[path.back().index].key();
    if (at == entry_.key()) {
      *found = file_.Advance(&path, false);
    } else {
      *found = !at.empty();
    }
    if (*found) StandOn(path.back().page, path.back().index);
  });
}

}  // namespace carelog::store
