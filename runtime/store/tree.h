// The ordered tree of a data file. Every entry is a byte string made of a key part and a data
// part (possibly empty); entries are ordered by their key parts only, as unsigned bytes, a key
// part that is a prefix of another sorting first. Key parts are unique within the tree.
//
// The tree always holds an empty sentinel entry that sorts before everything; no operation ever
// returns it, and searches that land on it find nothing.
//
// Limits: an entry (key part plus data part) of at most kMaxEntrySize bytes, so that it fits a
// page of its own, and a key part of at most kMaxKeySize bytes, so that any three fit an inner
// page and the tree's fan-out never falls below three. Larger ones are an internal error (line
// 813): callers build entries of known size.
//
// Every function returns 0 or an error code as in data_file.h; `found`/`done` outputs say whether
// an entry was found or changed. Reads begin a read cycle when none is open; changes begin a
// write cycle (or upgrade a read cycle).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

namespace carelog::store {

class DataFile;
class DataFileImpl;
class Page;

inline constexpr size_t kMaxEntrySize = 15086;  // 15104 - 13 - 5
inline constexpr size_t kMaxKeySize = 5018;     // (15094 - 13) / 3 - 9

// One entry: its bytes, the first key_size of which are the key part.
// REQUIRES: key_size <= bytes.size().
struct Entry {
  std::string bytes;
  size_t key_size = 0;

  std::string_view key() const { return std::string_view(bytes.data(), key_size); }
  std::string_view data() const {
    return std::string_view(bytes.data() + key_size, bytes.size() - key_size);
  }
};

// The first eight bytes of a key part as a big-endian integer, zero-padded. Of two keys, the one
// with the smaller head sorts first; equal heads say nothing.
inline uint64_t KeyHead(std::string_view key) {
  uint64_t head = 0;
  if (key.size() >= 8) {
    std::memcpy(&head, key.data(), 8);
  } else {
    uint8_t bytes[8] = {};
    for (size_t i = 0; i < key.size(); ++i) bytes[i] = static_cast<uint8_t>(key[i]);
    std::memcpy(&head, bytes, 8);
  }
  if constexpr (std::endian::native == std::endian::little) head = __builtin_bswap64(head);
  return head;
}

// Whether key part `a` sorts before `b` (unsigned bytes, a prefix first). Eight bytes at a time
// are compared as big-endian integers, which orders them as bytes do; the searches of the tree
// compare short keys that share long prefixes (table number, kind), where this beats a call.
inline bool KeyBefore(std::string_view a, std::string_view b) {
  const size_t common = a.size() < b.size() ? a.size() : b.size();
  const char* x = a.data();
  const char* y = b.data();
  size_t i = 0;
  for (; i + 8 <= common; i += 8) {
    uint64_t u;
    uint64_t v;
    std::memcpy(&u, x + i, 8);
    std::memcpy(&v, y + i, 8);
    if (u != v) {
      if constexpr (std::endian::native == std::endian::little) {
        u = __builtin_bswap64(u);
        v = __builtin_bswap64(v);
      }
      return u < v;
    }
  }
  for (; i < common; ++i) {
    if (x[i] != y[i]) return static_cast<uint8_t>(x[i]) < static_cast<uint8_t>(y[i]);
  }
  return a.size() < b.size();
}

class Tree {
 public:
  explicit Tree(DataFileImpl& file) : file_(file) {}

  // The entry whose key part equals `key`.
  int Find(std::string_view key, Entry* entry, bool* found);
  // Inserts key+data when no entry has that key part; *inserted says whether it did.
  int Insert(std::string_view key, std::string_view data, bool* inserted = nullptr);
  // Inserts key+data, replacing the data of an entry with that key part.
  int Put(std::string_view key, std::string_view data);
  // Removes the entry whose key part equals `key`; *erased says whether there was one.
  int Erase(std::string_view key, bool* erased = nullptr);
  // Lets `change` rewrite the data of the entry `key` (empty when there is none) and stores
  // the result, in one search of the tree; nothing is stored when `change` returns false.
  int Modify(std::string_view key, const std::function<bool(std::string*)>& change);
  // Calls `visit(const Entry&)` with each entry whose key part begins with `prefix` (not
  // empty), in key order, until it returns false. The entries are the tree's own and valid
  // during the call only; `visit` must not change the tree. One search, then steps: no cursor,
  // no copies.
  template <class Visit>
  int ScanPrefix(std::string_view prefix, const Visit& visit) {
    return ScanPrefixWith(prefix, &visit, [](const void* context, const Entry& entry) {
      return (*static_cast<const Visit*>(context))(entry);
    });
  }
  using EntryVisitor = bool (*)(const void* context, const Entry& entry);
  int ScanPrefixWith(std::string_view prefix, const void* context, EntryVisitor visit);

 private:
  DataFileImpl& file_;
};

// A position on one entry of the tree. A cursor keeps a copy of its entry and finds its place
// again after the tree changed or the cached pages were dropped, so it stays usable across
// changes and access cycles: Next and Previous move from its entry's key part even when that
// entry has since been erased.
//
// REQUIRES: the DataFile outlives the cursor.
class Cursor {
 public:
  explicit Cursor(DataFile& file);

  // Each positioning call sets *found and, when found, stands on that entry; when nothing is
  // found the cursor keeps its previous position and entry.
  int First(bool* found);
  int Last(bool* found);
  // The last entry whose key part is at or below `key`.
  int SeekAtOrBelow(std::string_view key, bool* found);
  // The entry whose key part equals `key`.
  int SeekExact(std::string_view key, bool* found);
  // The first entry whose key part is at or above `key`.
  int SeekAtOrAbove(std::string_view key, bool* found);
  // The entry after (before) the cursor's entry in key order.
  int Next(bool* found);
  int Previous(bool* found);

  // Whether the cursor stands on an entry (false until a positioning call found one).
  bool valid() const { return valid_; }
  // The cursor's entry. REQUIRES: valid().
  const Entry& entry() const { return entry_; }
  std::string_view key() const { return entry_.key(); }
  std::string_view data() const { return entry_.data(); }
  // Forgets the position.
  void Reset() { valid_ = false; }

 private:
  void StandOn(Page* page, size_t index);

  DataFileImpl& file_;
  Entry entry_;
  bool valid_ = false;
  // Where the entry was found, usable while the file's layout generation is unchanged.
  Page* page_ = nullptr;
  size_t index_ = 0;
  uint64_t generation_ = 0;
};

}  // namespace carelog::store
