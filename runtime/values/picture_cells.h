// Building the cells of a compiled picture (used by the picture compiler only).
#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/values/locale.h"
#include "runtime/values/picture.h"

namespace carelog::values {

// Cells under construction; adding past kMaxPictureCells marks the list as overflowed.
struct CellList {
  uint8_t chars[kMaxPictureCells];
  uint8_t codes[kMaxPictureCells];
  int count = 0;
  bool overflow = false;

  void Add(char c, CellCode code) {
    if (count == kMaxPictureCells) {
      overflow = true;
      return;
    }
    chars[count] = static_cast<uint8_t>(c);
    codes[count] = code;
    ++count;
  }
};

// The cells of date picture `number` (1..18); false for another number.
// Pictures 17 and 18 are built from the short and long date formats of `intl`.
bool DatePictureCells(int number, const LocaleTables& locale, CellList* cells);

// The cells of time picture `number` (1..8); 7 and 8 are built from `intl`.
bool TimePictureCells(int number, const IntlSettings& intl, CellList* cells);

}  // namespace carelog::values
