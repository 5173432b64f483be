// The engine behind DataFile, Tree and Cursor: the access cycle, the page cache, page placement
// at commit, and the tree algorithms (tree.cpp, cursor.cpp).
//
// Inside the engine a failure is thrown as StoreFailure and caught by Guard at the public API,
// which abandons the cycle's changes and returns the code; nothing unwinds past the API.
//
// Invariants between public calls:
//   1. Every page referenced by the tree (root in the header, children of inner pages) is either
//      in the cache under its current number or untouched on disk at that number, which is a slot
//      of the regions of disk_header.
//   2. A dirty page is in the cache; a page freed in the open cycle is in no page's children and
//      its slot (when it had one) is listed in freed_slots.
//   3. generation changes whenever a page is changed, renumbered, freed or dropped, so a cursor
//      whose generation matches may use its page pointer and index directly.
//   4. layout_generation changes whenever generation does, except for a change of a leaf's
//      entries: while it matches, a remembered path is still a path of the tree (its pages
//      cached, each its parent's child at the index taken) and its inner pages are unchanged.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "runtime/store/data_file.h"
#include "runtime/store/file_header.h"
#include "runtime/store/lock_region.h"
#include "runtime/store/page_cache.h"
#include "runtime/store/redo_log.h"
#include "runtime/store/tree.h"

namespace carelog::store {

struct StoreFailure {
  int code;
};
[[noreturn]] void Fail(int code);

class DataFileImpl {
 public:
  DataFileImpl(FileSystem& fs, std::string path, DataFileOptions options);

  // Runs `body`, turning a StoreFailure into its code after abandoning the cycle.
  template <class Body>
  int Guard(Body&& body) {
    try {
      body();
      return 0;
    } catch (const StoreFailure& failure) {
      Abandon();
      return failure.code;
    }
  }

  // Access cycle (data_file.cpp).
  void OpenFile();
  void Begin(Access access);
  void End();
  void Abandon();
  void EnsureRead();
  void EnsureWrite();
  void Commit();
  // The two halves of Commit: PrepareCommit makes the changes durable in the redo log (the
  // header points at it); FinishCommit copies them into place. DropPreparedCommit forgets a
  // prepared commit, leaving the state before it.
  void PrepareCommit();
  void FinishCommit();
  void DropPreparedCommit();
  uint32_t TakeNumber();
  // Registers the union of the openers' modes (and, inside a cycle, keeps the denials held) and
  // derives options_ from it. Returns 0, 32 or the system's error number.
  int ApplyShareModes(const ShareMode& wanted);
  ShareMode OpenersMode() const;
  bool has_changes() const {
    return dirty_pages_ > 0 || header_dirty_ || !freed_slots_.empty() || !pending_counts_.empty();
  }
  // The counters changes waiting for the commit (DataFile::AddToCount).
  void AddToCount(uint32_t table, uint8_t index, int delta);
  void ApplyPendingCounts(std::string_view prefix);

  // Pages.
  Page* LoadPage(int32_t number);
  Page* LoadRoot();
  // The child at `index` of an inner page, checked against the parent's bounds the first time
  // it is reached in a layout generation.
  Page* LoadChild(Page& parent, size_t index);
  Page* NewPage(uint8_t level);
  // A page whose content changed (MarkDirty), or that only has a new number (MarkMoved): both
  // are written at the commit, only the first is serialized again.
  void MarkDirty(Page* page);
  void MarkMoved(Page* page);
  // The tree's pages were restructured, renumbered or dropped: cursors and remembered paths
  // search again.
  void ChangeLayout() {
    ++generation_;
    ++layout_generation_;
  }
  void FreePage(Page* page);
  // Gives `page` a new number and points its parent (or the header's root) at it.
  void Renumber(Page* page, int32_t number);

  // The tree (tree.cpp). A path lists, from the root down, each page and the index taken in it.
  struct Step {
    Page* page;
    size_t index;
  };
  // Held inline, so that a search allocates nothing. A sound tree never comes near the depth
  // limit (its fan-out is at least three); a deeper one is damaged.
  class Path {
   public:
    static constexpr size_t kMaxDepth = 48;
    Path() = default;
    Path(const Path& other) : size_(other.size_) {
      std::copy(other.steps_.begin(), other.steps_.begin() + size_, steps_.begin());
    }
    Path& operator=(const Path& other) {
      size_ = other.size_;
      std::copy(other.steps_.begin(), other.steps_.begin() + size_, steps_.begin());
      return *this;
    }
    void push_back(const Step& step) {
      if (size_ == kMaxDepth) Fail(kErrInvalidDataFile);
      steps_[size_++] = step;
    }
    void clear() { size_ = 0; }
    void resize(size_t size) { size_ = std::min(size, size_); }
    size_t size() const { return size_; }
    Step& operator[](size_t i) { return steps_[i]; }
    const Step& operator[](size_t i) const { return steps_[i]; }
    Step& back() { return steps_[size_ - 1]; }
    const Step& back() const { return steps_[size_ - 1]; }
    const Step* begin() const { return steps_.data(); }
    const Step* end() const { return steps_.data() + size_; }

   private:
    std::array<Step, kMaxDepth> steps_;
    size_t size_ = 0;
  };
  // Descends to the last entry at or below `key`; false for an empty tree. A search that falls
  // inside the leaf of a recent search starts from that leaf instead of the root.
  bool Descend(std::string_view key, Path* path);
  // Keeps `path` as a starting point for later searches (DescendFromHint).
  void RememberPath(const Path& path);
  // Descends to the last entry of the tree; false for an empty tree.
  bool DescendLast(Path* path);
  // Moves the path to the next (previous) entry; false at the end, leaving it unchanged.
  bool Advance(Path* path, bool forward);
  bool FindEntry(std::string_view key, Entry* entry);
  void ScanPrefix(std::string_view prefix, const void* context, Tree::EntryVisitor visit);
  bool InsertEntry(std::string_view key, std::string_view data, bool replace);
  bool EraseEntry(std::string_view key);
  void ModifyEntry(std::string_view key, const std::function<bool(std::string*)>& change);

  // The state, shared with the files of the engine.
  FileSystem& fs_;
  std::unique_ptr<File> file_;
  std::string path_;
  DataFileOptions options_;
  FileHeader header_;       // the current state, changes of the open cycle included
  FileHeader disk_header_;  // the header as committed on disk; set through KnowDiskHeader
  uint8_t disk_start_[kHeaderStartSize] = {};  // EncodeHeaderStart(disk_header_)
  PageCache cache_;
  bool in_cycle_ = false;
  bool write_cycle_ = false;
  bool header_dirty_ = false;
  bool cache_valid_ = false;
  uint32_t cached_counter_ = 0;
  bool header_held_ = false;  // the header was read while others could not write (deny write)
  int dirty_pages_ = 0;
  int32_t next_provisional_ = -2;
  uint64_t generation_ = 1;
  uint64_t layout_generation_ = 1;
  std::vector<int32_t> freed_slots_;
  // Changes of counters entries not yet in the tree, by table and index byte; none is ever
  // zero. Only an open write cycle holds any.
  struct PendingCount {
    uint32_t table = 0;
    uint8_t index = 0;
    int64_t delta = 0;
  };
  std::vector<PendingCount> pending_counts_;
  Tree tree_;
  ShareLocks share_locks_;                // the openers' uses and denials, as share slots
  std::vector<DataFileOptions> openers_;  // this process's openers of the file
  bool share_change_pending_ = false;     // an opener left during a cycle: apply at its end
  RoleLock role_lock_;                    // held for the open cycle of a shared file
  bool commit_lock_held_ = false;         // readers-allowed file: writer range around the commit
  bool commit_prepared_ = false;
  std::vector<PageImage> prepared_images_;
  RedoLog prepared_log_;
  FileHeader prepared_header_;

 private:
  // A recent search path, valid while the layout generation and the root are those it was
  // taken under; `used` orders the hints for replacement. A descent for a key in [low, high)
  // (no upper bound unless `bounded`) takes every inner step of the path; both views point
  // into the path's inner pages, which stay unchanged while the layout generation holds.
  struct Hint {
    Path path;
    uint64_t layout = 0;
    int32_t root = 0;
    uint64_t used = 0;
    std::string_view low;
    std::string_view high;
    bool bounded = false;
    uint64_t low_head = 0;  // KeyHead of low and high
    uint64_t high_head = 0;
  };
  static constexpr size_t kHints = 4;  // record, key and counters searches of one ADD, and one more

  bool DescendFromHint(std::string_view key, Path* path);
  void ListDirty(Page* page);

  std::array<Hint, kHints> hints_;
  // The root as LoadRoot last checked it, valid while the layout generation and the header's
  // root are those it was taken under.
  struct KnownRoot {
    Page* page = nullptr;
    int32_t number = kEmptyRoot;
    uint64_t layout = 0;
  };
  KnownRoot root_;
  uint64_t hint_clock_ = 0;

  using Holes = std::map<int, std::vector<int32_t>>;    // freed numbers by size class
  using Homeless = std::vector<std::pair<Page*, int>>;  // pages waiting for a slot of a class

  // Reads the header into header_; true when it is the one already known (disk_header_).
  bool ReadHeader();
  // Sets disk_header_ and the encoding of its start that each shared cycle compares.
  void KnowDiskHeader(const FileHeader& header);
  void ReleaseLocks();
  void PlacePages(std::vector<PageImage>* images);
  Holes TakeFreedSlots();
  void SerializeDirtyPages(Holes* holes, Homeless* homeless);
  bool FillHoles(Holes* holes);
  void ApplyMoves(const std::vector<PageMove>& moves);
  Page* FindParent(const Page& page, size_t* index);
  void EnsureRoot();
  void UpdateSeparator(Path& path, size_t depth);
  void SplitUpward(const Path& path);
  void Examine(Page* page, const std::vector<Page*>& ancestors);
};

}  // namespace carelog::store
