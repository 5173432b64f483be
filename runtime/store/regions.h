// Size-class regions of a data file. Pages are counted in 256-byte units from byte 512 (page
// number n starts at byte 512 + 256 n). Region c (1 to 59) holds only pages of exactly c units,
// packed from its start: its pages are at start, start + c, ... up to end (exclusive).
//
// Invariants kept by every operation:
//   1. (end[c] - start[c]) is a multiple of c; pages lie on the slots start[c] + k c.
//   2. Regions follow each other in class order and never overlap: a region starts at or after
//      the end of the region before it. An empty region sits at the end of the one before it.
//   3. After Pack, every region starts exactly at the end of the region before it (no gap).
// Region 0 holds no pages; its end is the base of region 1 (0 in every file this engine writes).
//
// Operations that need pages moved report each move (from -> to); the caller moves the page and
// updates the reference to it. Moves are listed in the order they must be applied: a move's
// target slot is always free once the moves before it were applied. A target may overlap the
// bytes its own page or an earlier-moved page occupied: moves are logical renumberings whose
// images reach the file together through the redo log.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace carelog::store {

inline constexpr int kRegionCount = 60;
inline constexpr int kLargestClass = 59;
// No page may reach the byte-range lock area at 2^31.
inline constexpr int64_t kMaxPageUnits = (0x80000000LL - 512) / 256 - kLargestClass;

struct PageMove {
  int32_t from;
  int32_t to;
};

struct Regions {
  int32_t start[kRegionCount] = {};
  int32_t end[kRegionCount] = {};

  // The class of the region whose slot `number` is, or 0 when it is no page's slot.
  int ClassOf(int32_t number) const;
  // The unit just after the last page (the end of region 0 when every region is empty).
  int32_t EndOfData() const;
  int PageCount(int size_class) const { return (end[size_class] - start[size_class]) / size_class; }

  // Adds a slot at the end of region `size_class`, shifting the regions above by moving their
  // first pages to their ends, and returns its page number.
  int32_t Append(int size_class, std::vector<PageMove>* moves);
  // Removes the slot `number` of region `size_class`; the region's last page moves into it.
  void Remove(int size_class, int32_t number, std::vector<PageMove>* moves);
  // Brings each region down to the end of the one before it: its last pages move into the gap
  // while a whole page fits there, and a remaining smaller gap is closed by sliding the region.
  void Pack(std::vector<PageMove>* moves);

  // Whether the invariants hold (3 only when `packed`); *why says what is wrong.
  bool Check(bool packed, std::string* why) const;

 private:
  void ShiftDown(int size_class, int32_t gap, std::vector<PageMove>* moves);
};

}  // namespace carelog::store
