#include "runtime/store/data_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <unordered_map>

#include "runtime/store/coding.h"
#include "runtime/store/data_file_impl.h"
#include "runtime/store/error_codes.h"
#include "runtime/store/internal_error.h"
#include "runtime/store/page_codec.h"
#include "runtime/store/program_clock.h"
#include "runtime/store/transaction.h"

namespace carelog::store {

void Fail(int code) {
  throw StoreFailure{code};
}

DataFileOptions DataFileOptions::FromAccessMode(uint8_t access_mode, bool create) {
  DataFileOptions options;
  const uint8_t share = access_mode & 0xF0;
  options.create = create;
  options.read_only = !create && (access_mode & 0x0F) == 0;
  options.write_only = !create && (access_mode & 0x0F) == 1;
  options.shared = share == 0x00 || share == 0x30 || share == 0x40;
  options.readers_allowed = share == 0x20;
  options.deny_read = share == 0x30;
  return options;
}

DataFileOptions DataFileOptions::ReadWriteShared(bool create) {
  DataFileOptions options;
  options.create = create;
  options.shared = true;
  return options;
}

ShareMode ShareModeOf(const DataFileOptions& options) {
  ShareMode mode;
  mode.read = !options.write_only;
  mode.write = !options.read_only;
  mode.deny_write = !options.shared;
  mode.deny_read = options.deny_read || (!options.shared && !options.readers_allowed);
  return mode;
}

DataFileImpl::DataFileImpl(FileSystem& fs, std::string path, DataFileOptions options)
    : fs_(fs),
      path_(std::move(path)),
      options_(options),
      tree_(*this),
      role_lock_(static_cast<uint32_t>(ProgramClock() % kReaderSlots)) {}

void DataFileImpl::OpenFile() {
  // Even a read-only data file is opened for writing when the system allows it, so that a commit
  // interrupted by a crash can be repaired by whoever opens the file next.
  FileOpenFlags flags;
  flags.write = true;
  flags.create = options_.create;
  int error = fs_.Open(path_, flags, &file_);
  if (error != 0 && options_.read_only && (error == EACCES || error == EROFS || error == EPERM)) {
    flags.write = false;
    error = fs_.Open(path_, flags, &file_);
  }
  if (error != 0) Fail(error);
}

bool DataFileImpl::ReadHeader() {
  uint8_t bytes[kHeaderSize];
  size_t got = 0;
  if (cache_valid_ && disk_header_.change_counter != 0) {
    // Unchanged first 64 bytes (log fields, signature, change counter) mean nobody committed
    // since: the header known from the last cycle still holds.
    if (int error = file_->Read(0, bytes, kHeaderStartSize, &got)) Fail(error);
    if (got == kHeaderStartSize && std::memcmp(bytes, disk_start_, kHeaderStartSize) == 0) {
      header_ = disk_header_;
      return true;
    }
  }
  if (int error = file_->Read(0, bytes, kHeaderSize, &got)) Fail(error);
  if (got == 0) {
    header_ = FileHeader();  // a new, empty file
    return false;
  }
  if (got < kHeaderSize || !DecodeHeader(bytes, &header_)) Fail(kErrInvalidDataFile);
  if (header_.log_pending()) {
    // A log written for a transaction over several files that never reached its commit point
    // is dropped; any other pending log finishes its commit.
    bool replay = true;
    if (int error = PendingLogMayReplay(*file_, header_, &replay)) Fail(error);
    int error = replay ? ReplayRedoLog(*file_, &header_) : DropRedoLog(*file_, &header_);
    if (error != 0) Fail(error);
  }
  // A header never committed to holds no tree, whatever its other fields say.
  if (header_.change_counter == 0) {
    header_ = FileHeader();
    return false;
  }
  // Every committed page lies inside the file: a header whose regions reach past its end is
  // damaged, and writing at such offsets would grow the file without bound.
  uint64_t size = 0;
  if (int error = file_->Size(&size)) Fail(error);
  if (header_.EndOfDataOffset() > size) Fail(kErrInvalidDataFile);
  return false;
}

void DataFileImpl::KnowDiskHeader(const FileHeader& header) {
  disk_header_ = header;
  EncodeHeaderStart(disk_header_, disk_start_);
}

void DataFileImpl::Begin(Access access) {
  if (in_cycle_) {
    if (access == Access::kWrite && !write_cycle_) {
      End();
    } else {
      return;
    }
  }
  if (access == Access::kWrite && options_.read_only) Fail(kErrAccessDenied);
  // A shared file is read and written only under the role's lock: a reader slot for a read
  // cycle, the whole writer range for a write cycle.
  if (options_.shared) {
    if (int error = role_lock_.Acquire(*file_, access == Access::kWrite)) Fail(error);
  }
  // A file that no other opener may write keeps the header this process last read or wrote,
  // so only a shared file pays for reading it back at every cycle.
  bool known = true;  // header_ is disk_header_, which needs no copy back
  if (options_.shared || !cache_valid_ || !header_held_) {
    known = ReadHeader();
    header_held_ = !options_.shared;
  } else {
    header_ = disk_header_;
  }
  if (!cache_valid_ || header_.change_counter != cached_counter_) {
    cache_.Clear();
    pending_counts_.clear();  // counted against pages that are gone
    ChangeLayout();
  }
  cache_valid_ = true;
  cached_counter_ = header_.change_counter;
  if (!known) KnowDiskHeader(header_);
  in_cycle_ = true;
  write_cycle_ = access == Access::kWrite;
}

void DataFileImpl::End() {
  if (!in_cycle_) return;
  if (write_cycle_ && (has_changes() || commit_prepared_)) {
    Commit();
    FinishCommit();
  }
  in_cycle_ = false;
  write_cycle_ = false;
  ReleaseLocks();
}

void DataFileImpl::ReleaseLocks() {
  if (commit_lock_held_) {
    commit_lock_held_ = false;
    file_->Unlock(kLockRegionStart, kReaderSlots);
  }
  if (role_lock_.held()) role_lock_.Release(*file_);
  // Denials of an opener that left during the cycle end with it: giving them up earlier would
  // let others write under a cycle that took no lock.
  if (share_change_pending_ && !in_cycle_) {
    share_change_pending_ = false;
    ApplyShareModes(OpenersMode());
  }
}

ShareMode DataFileImpl::OpenersMode() const {
  ShareMode mode;
  for (const DataFileOptions& opener : openers_) mode = mode | ShareModeOf(opener);
  return mode;
}

int DataFileImpl::ApplyShareModes(const ShareMode& openers) {
  ShareMode wanted = openers;
  if (in_cycle_) {
    const ShareMode& held = share_locks_.held();
    wanted.deny_read = wanted.deny_read || held.deny_read;
    wanted.deny_write = wanted.deny_write || held.deny_write;
    share_change_pending_ = !(wanted == openers);
  }
  if (int error = share_locks_.Change(*file_, wanted)) return error;
  // The cycle's locks follow what others may do; the access follows what the openers do.
  const ShareMode& held = share_locks_.held();
  options_.read_only = !openers.write;
  options_.write_only = !openers.read;
  options_.shared = !held.deny_write;
  options_.readers_allowed = held.deny_write && !held.deny_read;
  options_.deny_read = held.deny_read;
  // Once others may write, the header must be read again even after the denial returns.
  if (options_.shared) header_held_ = false;
  return 0;
}

void DataFileImpl::Abandon() {
  if (has_changes()) {
    cache_.Clear();
    cache_valid_ = false;
    header_ = disk_header_;
    ChangeLayout();
  }
  dirty_pages_ = 0;
  header_dirty_ = false;
  freed_slots_.clear();
  pending_counts_.clear();
  next_provisional_ = -2;
  in_cycle_ = false;
  write_cycle_ = false;
  commit_prepared_ = false;
  prepared_images_.clear();
  if (file_) ReleaseLocks();
}

void DataFileImpl::EnsureRead() {
  if (!in_cycle_) Begin(Access::kRead);
}

void DataFileImpl::EnsureWrite() {
  if (!in_cycle_ || !write_cycle_) Begin(Access::kWrite);
}

uint32_t DataFileImpl::TakeNumber() {
  EnsureWrite();
  uint32_t number = header_.last_number + 1;
  if ((number >> 24) >= 0xFE) InternalError(1163);
  header_.last_number = number;
  header_dirty_ = true;
  return number;
}

Page* DataFileImpl::LoadPage(int32_t number) {
  if (Page* page = cache_.Find(number)) return page;
  if (number < 0) InternalError(1001);
  int size_class = disk_header_.regions.ClassOf(number);
  if (size_class == 0) Fail(kErrInvalidDataFile);
  std::string bytes(static_cast<size_t>(size_class) * kUnitSize, '\0');
  size_t got = 0;
  if (int error = file_->Read(PageOffset(number), bytes.data(), bytes.size(), &got)) Fail(error);
  std::unique_ptr<Page> page;
  if (got != bytes.size() || !DecodePage(bytes, number, &page)) Fail(kErrInvalidDataFile);
  page->image = std::move(bytes);
  page->image_edits = page->edits;
  return cache_.Add(std::move(page));
}

Page* DataFileImpl::LoadChild(Page& parent, size_t index) {
  // A child reached from this parent in the current layout generation passed the checks below,
  // and nothing since has moved the bounds between the parent's children (invariant 4).
  if (parent.child_layout != layout_generation_) {
    parent.child_pages.assign(parent.children.size(), nullptr);
    parent.child_layout = layout_generation_;
  } else if (Page* known = parent.child_pages[index]) {
    return known;
  }
  Page* child = LoadPage(parent.children[index]);
  // Levels fall by one per step down, so a damaged child number can never make a cycle; the
  // child's entries must lie between its inner entry and the next one, so that walking the
  // leaves always moves forward in key order.
  if (child->level + 1 != parent.level || child->size() == 0 ||
      child->entries.front().key() != parent.entries[index].key() ||
      (index + 1 < parent.size() &&
       !KeyBefore(child->entries.back().key(), parent.entries[index + 1].key()))) {
    Fail(kErrInvalidDataFile);
  }
  parent.child_pages[index] = child;
  return child;
}

Page* DataFileImpl::NewPage(uint8_t level) {
  Page* page = cache_.Add(std::make_unique<Page>(next_provisional_--, level));
  MarkDirty(page);
  return page;
}

void DataFileImpl::MarkDirty(Page* page) {
  ++page->edits;
  ListDirty(page);
  // New entries in a leaf leave every path to it standing; a change of an inner page may move
  // the bounds between its children.
  if (page->is_leaf()) {
    ++generation_;
  } else {
    ChangeLayout();
  }
}

void DataFileImpl::MarkMoved(Page* page) {
  ListDirty(page);
  ChangeLayout();
}

void DataFileImpl::ListDirty(Page* page) {
  if (!page->dirty) {
    cache_.SetDirty(page);
    ++dirty_pages_;
  }
}

void DataFileImpl::FreePage(Page* page) {
  if (page->dirty) --dirty_pages_;
  if (page->number >= 0) freed_slots_.push_back(page->number);
  cache_.Remove(page->number);
  ChangeLayout();
}

Page* DataFileImpl::LoadRoot() {
  // The root checked in this layout generation is still the root and still cached (invariant 4).
  if (root_.layout == layout_generation_ && root_.number == header_.root) return root_.page;
  Page* root = LoadPage(header_.root);
  // The leftmost path holds the sentinel, so the root can never be left without entries.
  if (root->size() == 0 || !root->entries.front().key().empty()) Fail(kErrInvalidDataFile);
  root_ = {root, header_.root, layout_generation_};
  return root;
}

// Searches from the root with the page's first key for the inner entry naming the page. A sound
// tree always has one; a page that no inner entry names lies in a region without belonging to
// the tree, which only a damaged file shows.
Page* DataFileImpl::FindParent(const Page& page, size_t* index) {
  std::string_view key = page.entries.front().key();
  Page* at = LoadRoot();
  while (!at->is_leaf()) {
    ptrdiff_t i = at->LastAtOrBelow(key);
    if (i < 0) Fail(kErrInvalidDataFile);
    if (at->children[static_cast<size_t>(i)] == page.number) {
      *index = static_cast<size_t>(i);
      return at;
    }
    at = LoadChild(*at, static_cast<size_t>(i));
  }
  Fail(kErrInvalidDataFile);
}

void DataFileImpl::Renumber(Page* page, int32_t number) {
  if (header_.root == page->number) {
    header_.root = number;
  } else {
    size_t index = 0;
    Page* parent = FindParent(*page, &index);
    const bool image_current = parent->image_current();
    parent->children[index] = number;
    MarkDirty(parent);
    // Child numbers are stored as they are, ahead of the entries: the image is mended in place
    // instead of coding the whole inner page again.
    if (image_current) {
      StoreLe32(reinterpret_cast<uint8_t*>(parent->image.data()) + kPageHeaderSize + 4 * index,
                static_cast<uint32_t>(number));
      parent->image_edits = parent->edits;
    }
  }
  cache_.Renumber(page, number);
  MarkMoved(page);
}

void DataFileImpl::ApplyMoves(const std::vector<PageMove>& moves) {
  for (const PageMove& move : moves) Renumber(LoadPage(move.from), move.to);
}

// Gives every changed page a place in the region of its size class and serializes it. Pages that
// changed class leave a hole in their old region, as do freed pages; each hole is filled by the
// region's last page. Placing pages and packing regions move other pages, which changes them and
// their parents in turn, so this repeats until a round moves nothing. A page is serialized again
// only when its content changed since: a page that only moved keeps its bytes.
void DataFileImpl::PlacePages(std::vector<PageImage>* images) {
  for (int round = 0;; ++round) {
    if (round > 16) InternalError(1668);
    Holes holes = TakeFreedSlots();
    Homeless homeless;
    SerializeDirtyPages(&holes, &homeless);
    bool moved = FillHoles(&holes);
    for (auto& [page, size_class] : homeless) {
      std::vector<PageMove> moves;
      int32_t slot = header_.regions.Append(size_class, &moves);
      if (slot + size_class > kMaxPageUnits) Fail(EFBIG);
      ApplyMoves(moves);
      Renumber(page, slot);
    }
    std::vector<PageMove> moves;
    header_.regions.Pack(&moves);
    ApplyMoves(moves);
    if (moves.empty() && !moved && homeless.empty()) break;
  }
  images->clear();
  for (Page* page : cache_.DirtyPages()) {
    SetPageOffset(&page->image, page->number);
    images->push_back(PageImage{PageOffset(page->number), page->image});
  }
}

DataFileImpl::Holes DataFileImpl::TakeFreedSlots() {
  Holes holes;
  for (int32_t number : freed_slots_) holes[header_.regions.ClassOf(number)].push_back(number);
  freed_slots_.clear();
  return holes;
}

// Serializes the dirty pages whose content changed; a page whose size class changed leaves a
// hole at its old number and waits, under a provisional number, for a slot in its new region.
void DataFileImpl::SerializeDirtyPages(Holes* holes, Homeless* homeless) {
  for (Page* page : cache_.DirtyPages()) {
    if (!page->image_current()) {
      SerializePage(*page, &page->image);
      page->image_edits = page->edits;
    }
    int size_class = UnitsFor(page->image.size());
    int old_class = page->number >= 0 ? header_.regions.ClassOf(page->number) : 0;
    if (old_class == size_class) continue;
    if (page->number >= 0) {
      (*holes)[old_class].push_back(page->number);
      Renumber(page, next_provisional_--);
    }
    homeless->emplace_back(page, size_class);
  }
}

// Removes the holes from their regions, highest number first; true when that moved a page.
bool DataFileImpl::FillHoles(Holes* holes) {
  bool moved = false;
  std::vector<PageMove> moves;
  for (auto& [size_class, numbers] : *holes) {
    if (size_class == 0) InternalError(1884);
    std::sort(numbers.rbegin(), numbers.rend());
    for (int32_t number : numbers) {
      moves.clear();
      header_.regions.Remove(size_class, number, &moves);
      ApplyMoves(moves);
      moved = moved || !moves.empty();
    }
  }
  return moved;
}

void DataFileImpl::Commit() {
  if (!has_changes()) return;
  PrepareCommit();
  FinishCommit();
}

void DataFileImpl::PrepareCommit() {
  if (commit_prepared_ || !has_changes()) return;
  ApplyPendingCounts({});
  if (!has_changes()) return;
  prepared_images_.clear();
  PlacePages(&prepared_images_);
  prepared_header_ = header_;
  prepared_header_.change_counter = disk_header_.change_counter + 1;
  // Others may read a readers-allowed file while it is open here: the header is rewritten only
  // once they have left, and they stay out until the commit is in place.
  if (options_.readers_allowed && !commit_lock_held_) {
    if (int error = file_->Lock(kLockRegionStart, kReaderSlots, true)) Fail(error);
    commit_lock_held_ = true;
  }
  if (int error =
          WriteRedoLog(*file_, disk_header_, &prepared_header_, prepared_images_, &prepared_log_)) {
    Fail(error);
  }
  commit_prepared_ = true;
}

void DataFileImpl::FinishCommit() {
  if (!commit_prepared_) return;
  commit_prepared_ = false;
  // Durable from here on. Should copying the log into place fail, the next cycle replays it.
  FileHeader next = prepared_header_;
  int error = ApplyRedoLog(*file_, prepared_log_, &next);
  if (commit_lock_held_) {
    commit_lock_held_ = false;
    file_->Unlock(kLockRegionStart, kReaderSlots);
  }
  prepared_images_.clear();
  cache_.CleanAll();
  ++layout_generation_;  // pages took their places: search from the root again
  dirty_pages_ = 0;
  header_dirty_ = false;
  next_provisional_ = -2;
  KnowDiskHeader(next);
  header_ = next;
  cached_counter_ = next.change_counter;
  if (error != 0) {
    cache_.Clear();
    cache_valid_ = false;
    ChangeLayout();
  }
}

void DataFileImpl::DropPreparedCommit() {
  if (commit_prepared_) {
    FileHeader before = disk_header_;
    if (int error = DropRedoLog(*file_, &before)) Fail(error);
    commit_prepared_ = false;
  }
  Abandon();
}

// ---- DataFile ----

DataFile::DataFile(std::unique_ptr<DataFileImpl> impl) : impl_(std::move(impl)) {}

DataFile::~DataFile() {
  impl_->Abandon();
}

int DataFile::Open(const std::string& path, const DataFileOptions& options,
                   std::unique_ptr<DataFile>* out, FileSystem* fs) {
  auto impl =
      std::make_unique<DataFileImpl>(fs != nullptr ? *fs : FileSystem::Posix(), path, options);
  DataFileImpl* engine = impl.get();
  int error = engine->Guard([&] {
    engine->OpenFile();
    if (int refused = engine->ApplyShareModes(ShareModeOf(options))) Fail(refused);
    engine->openers_.push_back(options);
    engine->Begin(Access::kRead);
    engine->End();
  });
  if (error != 0) return error;
  out->reset(new DataFile(std::move(impl)));
  return 0;
}

const std::string& DataFile::path() const {
  return impl_->path_;
}
FileSystem& DataFile::file_system() const {
  return impl_->fs_;
}
const DataFileOptions& DataFile::options() const {
  return impl_->options_;
}

int DataFile::Join(const DataFileOptions& options) {
  const ShareMode mode = ShareModeOf(options);
  for (const DataFileOptions& opener : impl_->openers_) {
    if (opener.table != options.table) continue;
    if (!SharesWith(mode, ShareModeOf(opener))) return kErrFileIsAlreadyLocked;
  }
  if (int error = impl_->ApplyShareModes(impl_->OpenersMode() | mode)) return error;
  impl_->openers_.push_back(options);
  return 0;
}

void DataFile::Leave(const DataFileOptions& options) {
  auto& openers = impl_->openers_;
  auto found = std::find(openers.begin(), openers.end(), options);
  if (found == openers.end()) return;
  openers.erase(found);
  if (!openers.empty()) impl_->ApplyShareModes(impl_->OpenersMode());
}

int DataFile::BeginAccess(Access access) {
  return impl_->Guard([&] { impl_->Begin(access); });
}
int DataFile::EndAccess() {
  return impl_->Guard([&] { impl_->End(); });
}
void DataFile::AbandonAccess() {
  impl_->Abandon();
}
bool DataFile::in_access() const {
  return impl_->in_cycle_;
}
bool DataFile::in_write_access() const {
  return impl_->in_cycle_ && impl_->write_cycle_;
}
bool DataFile::has_changes() const {
  return impl_->has_changes();
}
int DataFile::changed_page_count() const {
  return impl_->dirty_pages_;
}

int DataFile::Commit() {
  return impl_->Guard([&] {
    if (impl_->in_cycle_ && impl_->write_cycle_) {
      impl_->Commit();
      impl_->FinishCommit();
    }
  });
}

int DataFile::PrepareCommit() {
  return impl_->Guard([&] {
    if (impl_->in_cycle_ && impl_->write_cycle_) impl_->PrepareCommit();
  });
}

int DataFile::FinishCommit() {
  return impl_->Guard([&] { impl_->FinishCommit(); });
}

int DataFile::DropPreparedCommit() {
  return impl_->Guard([&] { impl_->DropPreparedCommit(); });
}

Tree& DataFile::tree() {
  return impl_->tree_;
}

int DataFile::NewNumber(uint32_t* number) {
  return impl_->Guard([&] { *number = impl_->TakeNumber(); });
}

int DataFile::LastNumber(uint32_t* number) {
  return impl_->Guard([&] {
    impl_->EnsureRead();
    *number = impl_->header_.last_number;
  });
}

uint32_t DataFile::change_counter() const {
  return impl_->header_.change_counter;
}

uint64_t DataFile::end_of_data() const {
  return impl_->header_.EndOfDataOffset();
}

int DataFile::TruncateToData() {
  if (impl_->options_.read_only) return kErrAccessDenied;
  return impl_->Guard([&] {
    impl_->End();
    impl_->Begin(Access::kWrite);
    uint64_t size = 0;
    if (int error = impl_->file_->Size(&size)) Fail(error);
    uint64_t end = impl_->header_.change_counter == 0 ? 0 : impl_->header_.EndOfDataOffset();
    if (size > end) {
      if (int error = impl_->file_->Truncate(end)) Fail(error);
      if (int error = impl_->file_->Flush()) Fail(error);
    }
    impl_->End();
  });
}

}  // namespace carelog::store
