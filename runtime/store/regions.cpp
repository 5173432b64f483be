#include "runtime/store/regions.h"

#include <algorithm>

namespace carelog::store {

int Regions::ClassOf(int32_t number) const {
  for (int c = 1; c <= kLargestClass; ++c) {
    if (number >= start[c] && number < end[c]) {
      return (number - start[c]) % c == 0 ? c : 0;
    }
  }
  return 0;
}

int32_t Regions::EndOfData() const {
  for (int c = kLargestClass; c >= 1; --c) {
    if (start[c] != end[c]) return end[c];
  }
  return end[0];
}

int32_t Regions::Append(int size_class, std::vector<PageMove>* moves) {
  int32_t slot = end[size_class];
  end[size_class] += size_class;
  int32_t need = end[size_class];
  std::vector<PageMove> shifts;
  for (int c = size_class + 1; c <= kLargestClass; ++c) {
    if (start[c] == end[c]) {
      if (start[c] < need) start[c] = end[c] = need;
      continue;
    }
    if (start[c] >= need) break;
    while (start[c] < need) {
      shifts.push_back({start[c], end[c]});
      start[c] += c;
      end[c] += c;
    }
    need = end[c];
  }
  // A region's new end may be the slot of the next region's first page: move from the top down.
  moves->insert(moves->end(), shifts.rbegin(), shifts.rend());
  return slot;
}

void Regions::Remove(int size_class, int32_t number, std::vector<PageMove>* moves) {
  int32_t last = end[size_class] - size_class;
  if (number != last) moves->push_back({last, number});
  end[size_class] = last;
}

// A gap smaller than one page can only be closed by sliding every page of the region down by
// it. Going from the first page up, each target overlaps only slots already vacated.
void Regions::ShiftDown(int size_class, int32_t gap, std::vector<PageMove>* moves) {
  if (gap <= 0) return;
  for (int32_t number = start[size_class]; number < end[size_class]; number += size_class) {
    moves->push_back({number, number - gap});
  }
  start[size_class] -= gap;
  end[size_class] -= gap;
}

void Regions::Pack(std::vector<PageMove>* moves) {
  int32_t previous_end = end[0];
  for (int c = 1; c <= kLargestClass; ++c) {
    if (start[c] == end[c]) {
      start[c] = end[c] = previous_end;
      continue;
    }
    while (start[c] - previous_end >= c) {
      moves->push_back({end[c] - c, start[c] - c});
      start[c] -= c;
      end[c] -= c;
    }
    ShiftDown(c, start[c] - previous_end, moves);
    previous_end = end[c];
  }
}

bool Regions::Check(bool packed, std::string* why) const {
  int32_t previous_end = end[0];
  if (start[0] > end[0] || start[0] < 0) {
    *why = "region 0 is inverted";
    return false;
  }
  for (int c = 1; c <= kLargestClass; ++c) {
    auto name = [c] { return "region " + std::to_string(c); };
    if (start[c] < 0 || end[c] < start[c] || (int64_t{end[c]} - start[c]) % c != 0) {
      *why = name() + " does not hold whole pages";
      return false;
    }
    if (end[c] > kMaxPageUnits) {
      *why = name() + " ends beyond the largest file";
      return false;
    }
    if (start[c] == end[c]) continue;
    if (start[c] < previous_end) {
      *why = name() + " overlaps the region before it";
      return false;
    }
    if (packed && start[c] != previous_end) {
      *why = name() + " is not packed against the region before it";
      return false;
    }
    previous_end = end[c];
  }
  return true;
}

}  // namespace carelog::store
