// The list format string: the columns of a list, their widths, justification, borders,
// headers, pictures and the fields they show.
//
// Grammar (numbers are in the window's units and become pixels when read):
//   format    := { group | column }
//   group     := '[' column { column } ']' [ '(' width ')' ] { group-mod }
//   group-mod := 'M' | 'F' | 'S' [ '(' n ')' ] | 'H' '(' n ')' | '|' | '_' | header
//   column    := width justify [ '(' indent ')' ]      -- the indent only when width > 0
//                { modifier }
//   justify   := 'L' | 'R' | 'C' | 'D'                -- data and header justification
//   modifier  := group-mod | '@' picture '@' | '?' | '#' field '#' | '*' | 'I'
//              | 'T' [ '(' { 'L' | 'B' | 'I' } ')' ] | '/'
//   header    := '~' text '~' [ justify [ '(' indent ')' ] ]  -- the letter: header only
// Each column and each group is one display column. Columns take the next field after the
// previous column's (after its colour fields when it has `*`, its tree level when it has `T`)
// unless '#n#' names one. A column after a resizable (M) one is its resize partner. Inside a
// group a column after '/' starts again at the group's left edge, one line lower.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/window/units.h"

namespace carelog::window {

// Flags of a column (and of a group).
namespace list_flag {
inline constexpr uint32_t kJustify = 0x03;        // data: 0 L, 1 R, 2 C, 3 D
inline constexpr uint32_t kHeaderJustify = 0x0C;  // header: L 0, R 4, C 8, D 0xC
inline constexpr uint32_t kRightBorder = 0x10;    // '|'
inline constexpr uint32_t kUnderline = 0x20;      // '_'
inline constexpr uint32_t kFixed = 0x40;          // 'F': does not scroll horizontally
inline constexpr uint32_t kScroll = 0x80;         // 'S': scrolls inside its own width
inline constexpr uint32_t kResizable = 0x100;     // 'M'
inline constexpr uint32_t kMarked = 0x400;        // '?'
inline constexpr uint32_t kIcon = 0x800;          // 'I': the field names an icon
inline constexpr uint32_t kNewLine = 0x4200;      // '/': the next column starts a new line
inline constexpr uint32_t kTree = 0x8000;         // 'T'
}  // namespace list_flag

// Extra flags of a column.
namespace list_extra {
inline constexpr uint32_t kColors = 0x1;        // '*': four colour fields follow the field
inline constexpr uint32_t kHeaderHeight = 0x2;  // 'H(n)'
inline constexpr uint32_t kTreeLines = 0x4;     // 'T(L)'
inline constexpr uint32_t kTreeBoxes = 0x8;     // 'T(B)'
inline constexpr uint32_t kTreeIndent = 0x10;   // 'T(I)'
}  // namespace list_extra

enum class Justify : uint8_t { kLeft = 0, kRight = 1, kCenter = 2, kDecimal = 3 };

struct ListColumn {
  int left = 0, top = 0;      // inside the row, pixels; `top` counts lines of a group
  int right = -1, width = 0;  // a zero-width column has right = left - 1
  int data_indent = 0;
  std::string header;
  int header_indent = 0;
  int field = 0;  // the queue field shown, from 1
  std::string picture;
  uint32_t flags = 0;
  uint32_t extra = 0;
  int scroll_width = 0;   // 'S(n)'
  int header_height = 0;  // 'H(n)'
  int display = 0;        // index of its display column
  int resize_partner = -1;

  Justify data_justify() const { return static_cast<Justify>(flags & list_flag::kJustify); }
  Justify header_justify() const {
    return static_cast<Justify>((flags & list_flag::kHeaderJustify) >> 2);
  }
  // Fields the column takes: its own, the colours, the tree level.
  int fields_taken() const;
};

// One display column: a single field column or a group of them.
struct ListDisplayColumn {
  bool group = false;
  int first = 0, count = 1;  // its field columns
  int left = 0, width = 0;
  std::string header;  // a group's header (a column's is in the column)
  int header_indent = 0;
  uint32_t flags = 0;  // a group's own modifiers
  int header_height = 0;
};

struct ListFormat {
  std::vector<ListColumn> columns;
  std::vector<ListDisplayColumn> displays;
  int width = 0;          // sum of the display columns' widths
  int header_height = 0;  // 0 when no column or group has a header
  int lines = 1;          // lines per row (groups with '/')
  int zero_width = 0;     // zero-width columns
  int fixed = 0;          // fixed columns
  bool any_scroll = false;
  int marked_field = 0;  // the '?' column's field, 0 when none
  bool any_group_header() const;
};

// Parses `text` with widths converted through `scale`; `line_height` is the height of one
// line of the list's font (the least header height). False, with `*error` naming the offset
// and what was expected, when the text is not a format; the columns before the fault stay.
bool ParseListFormat(std::string_view text, const UnitScale& scale, int line_height,
                     ListFormat* out, std::string* error = nullptr);

}  // namespace carelog::window
