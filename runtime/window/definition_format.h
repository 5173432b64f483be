// The binary form of window and report definitions: one resource body per source module.
//
// Body (all integers little-endian, all strings 8-bit text ending in a zero byte):
//
//   module identifier   string   "<main source file>$<module name>"
//   first structure     u32      offset of the first window or report entry, 0 = none
//   pool                ...      strings, small records and entries, interleaved
//
// Offsets. Every offset is counted from two bytes before the byte that follows the
// identifier's zero. The loader copies the body from there on behind a two-byte prefix (the
// "image"), so an offset is an index into the image: offset 2 is the first-structure word and
// offset 0 never addresses data; 0 means "none". An empty string is an offset to one zero byte.
//
// Placement. The pool starts with three strings that every module carries, unreferenced: the
// program title, "$DUMMY" and the program icon file. Then, for each entry, the strings and
// small records it references followed by the entry itself; nothing is shared between
// references, so equal texts are stored once per reference.
//
// Entry header (every kind):
//   0  u8   kind code
//   1  u32  next sibling, 0 ends the list
//   5  u32  attribute bits of the kind (bits 0x300 of a window or report: coordinate unit)
//   9  u32  0
// Controls (every kind except window 25, report 26 and menu bar 22) continue with:
//   13 i32  field equate number: 0 unlabelled, <0 menus and items, >0 other controls
//   17 u32  0
// The kind-specific fields follow; their offsets are in kKindLayouts (definition_format.cpp),
// which is the one table that the writer, the reader and the text tools share. In summary:
//
//   window 25 (105 bytes):
//     13 i32 x 4   x, y, width, height (0x80000000: centred / from content)
//     29 u32       first control            33 u32  label "PROC$WINDOW", the search key
//     37 u32       font record              41 u32  title (caption)
//     53 u32       icon file                57 u32  name-table reference
//     65 u32       help context             73 u32  first alert key
//     77 u32       frame attribute word     85 u32  timer period in 1/100 s, 0 = none
//     89 u32       menu bar entry           97 u32  second file name
//     101 u32      first status zone        45 49 61 69 81 93: 0
//   report 26 (61)          13 at, 29 first band, 33 label, 37 font, 41 title, 45 paper code,
//                           49 paper width, 53 paper height, 57 landscape
//   varstring 1 (53)        21 use, 25 at, 45 picture, 49 font
//   string 2 (49)           21 at, 41 text, 45 font
//   image 3 (41)            21 at, 37 image file
//   region 4 (45)           21 at, 37 colour, 41 fill colour
//   line 5 (41)             21 at, 37 colour
//   box 6 (45)              21 at, 37 colour, 41 fill colour
//   entry 8 (77)            21 use, 25 at, 41 message block, 69 picture, 73 font
//   button 9 (82)           21 at, 37 message block, 65 text, 69 icon, 73 font, 77 standard
//                           action, 81 u8 flags (bit 0: default button)
//   prompt 10 (49)          21 at, 41 text, 45 font
//   option 11 (77)          21 use, 25 at, 41 message block, 65 font, 69 text, 73 first radio
//   check 12 (73)           21 use, 25 at, 41 message block, 65 font, 69 text
//   group 13 (73)           21 at, 37 message block, 61 font, 65 text, 69 first child
//   list 14 (74)            25 format, 29 at, 45 message block, 65 font, 73 u8 drop rows
//   spin 16 (97)            21 use, 25 at, 41 message block, 65 font, 69 picture,
//                           73 f64 lower, 81 f64 upper, 89 f64 step
//   textbox 17 (65)         21 use, 25 at, 41 message block, 61 font
//   custom 18 (41)          21 at, 37 class text
//   menu 19 (57)            25 text, 29 message block, 53 first item
//   item 20 (53)            25 text (0: separator), 29 message block, 49 standard action
//   radio 21 (69)           21 at, 37 message block, 61 font, 65 text
//   menubar 22 (17)         13 first menu
//   header 27, footer 28, form 30, detail 31 (53)
//                           21 first child, 25 at, 41 keep-with count, 45 page number before,
//                           49 page number after
//   bandgroup 29 (41)       21 first band, 25 at
//   progress 35 (65)        21 use, 25 at, 49 f64 lower, 57 f64 upper
//   sheet 37 (77)           21 use or 0, 25 at, 41 message block, 65 font, 73 first tab
//   tab 38 (54)             21 message block, 41 u8 flags, 42 text, 50 first child
//   toolbar 128 (41)        21 at, 37 first child
//   kinds 7, 15, 33, 34 (37) 21 at
//
// Small records:
//   at (16 bytes)            x, y, width, height (i32); 0x80000000 = not given
//   use descriptor (9)       u8 data type, u32 size in bytes, u32 0
//   font record (16)         u32 face name (empty = "System"), i32 points, i32 colour (-1 =
//                            parent's), i32 style (-1 = parent's)
//   message block (20)       u32 message, u32 tool tip, u32 help context, u32 key code,
//                            u32 first alert key
//   alert key (8)            u32 key code, u32 next record (0 ends the chain)
//   status zone (8)          i32 width (-1 = the remaining space), u32 next zone
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace carelog::window {

inline constexpr int32_t kNotGiven = INT32_MIN;  // coordinate or size left to the default
inline constexpr uint32_t kUnitMask = 0x300;     // unit bits of a window or report attribute word

// Offsets of the entry header.
inline constexpr uint32_t kEntryKind = 0;
inline constexpr uint32_t kEntryNext = 1;
inline constexpr uint32_t kEntryAttr = 5;
inline constexpr uint32_t kEntryId = 13;
inline constexpr uint32_t kControlHeaderSize = 21;
inline constexpr uint32_t kImagePrefix = 2;     // bytes before the first-structure word
inline constexpr uint32_t kFirstStructure = 2;  // image offset of the first-structure word
inline constexpr uint32_t kUseRecordSize = 9;
inline constexpr uint32_t kFontRecordSize = 16;
inline constexpr uint32_t kChainRecordSize = 8;

// The strings at the head of every module's pool.
inline constexpr std::string_view kHeaderStrings[] = {"The Care Log", "$DUMMY", "RUDIV.ICO"};

enum Kind : uint8_t {
  kKindVarString = 1,
  kKindString = 2,
  kKindImage = 3,
  kKindRegion = 4,
  kKindLine = 5,
  kKindBox = 6,
  kKind7 = 7,
  kKindEntry = 8,
  kKindButton = 9,
  kKindPrompt = 10,
  kKindOption = 11,
  kKindCheck = 12,
  kKindGroup = 13,
  kKindList = 14,
  kKind15 = 15,
  kKindSpin = 16,
  kKindTextBox = 17,
  kKindCustom = 18,
  kKindMenu = 19,
  kKindItem = 20,
  kKindRadio = 21,
  kKindMenuBar = 22,
  kKindWindow = 25,
  kKindReport = 26,
  kKindHeader = 27,
  kKindFooter = 28,
  kKindBandGroup = 29,
  kKindForm = 30,
  kKindDetail = 31,
  kKind33 = 33,
  kKind34 = 34,
  kKindProgress = 35,
  kKindSheet = 37,
  kKindTab = 38,
  kKindToolbar = 128,
};

// How a field is stored and written as text.
enum class FieldType : uint8_t {
  kU8,        // one byte
  kI32,       // signed word, decimal in text
  kHex,       // unsigned word, hexadecimal in text
  kAction,    // standard action code, by name in text
  kString,    // offset of a string, 0 = absent
  kPicture,   // string offset; in text an @-picture
  kReal,      // 8-byte IEEE double
  kAt,        // four i32 inline
  kUse,       // offset of a use descriptor, 0 = none
  kFont,      // offset of a font record, 0 = none
  kAlerts,    // offset of the first alert-key record, 0 = none
  kZones,     // offset of the first status zone, 0 = none
  kChildren,  // offset of the first child entry, 0 = none
  kMenuBar,   // offset of the menu bar entry, 0 = none
};

// Every kind-specific field that some kind carries.
enum class Field : uint8_t {
  kAt,
  kUse,
  kFont,
  kLabel,
  kTitle,
  kText,
  kPicture,
  kIcon,
  kImage,
  kFormat,
  kHelp,
  kRef,
  kFile2,
  kMessage,
  kTip,
  kKey,
  kAlerts,
  kAction,
  kFlags,
  kColor,
  kFill,
  kDropRows,
  kLower,
  kUpper,
  kStep,
  kFrame,
  kTimer,
  kMenuBar,
  kZones,
  kChildren,
  kKeep,
  kPageBefore,
  kPageAfter,
  kPaper,
  kPaperWidth,
  kPaperHeight,
  kLandscape,
  kCount
};

struct FieldInfo {
  Field field;
  FieldType type;
  const char* keyword;    // the property name in the text form
  int64_t default_value;  // value of a numeric field that is not written
};

struct FieldSlot {
  Field field;
  uint8_t offset;
};

struct KindLayout {
  uint8_t code;
  const char* name;  // the kind's name in the text form
  uint8_t size;      // bytes of the entry
  bool control;      // carries a field equate number at 13
  const FieldSlot* slots;
  size_t slot_count;
};

const FieldInfo& InfoOf(Field field);
// nullptr when no field has this keyword.
const FieldInfo* FieldByKeyword(std::string_view keyword);

// nullptr for an unknown kind code or name.
const KindLayout* LayoutOf(uint8_t kind);
const KindLayout* LayoutByName(std::string_view name);
const KindLayout* const* AllLayouts(size_t* count);

// The slot of `field` in `layout`, nullptr when the kind has no such field.
const FieldSlot* SlotOf(const KindLayout& layout, Field field);

// Offset of the 20-byte message block of a kind (message, tip, help, key, alerts), 0 = none.
uint32_t MessageBlockOffset(const KindLayout& layout);

// Standard actions that menu items and buttons may carry.
const char* ActionName(int64_t code);  // nullptr for a code without a name
bool ActionByName(std::string_view name, int64_t* code);

// Unit names of the attribute bits 0x300 ("dialog", "inch25", "inch1000", "points").
const char* UnitName(uint32_t attr);
bool UnitByName(std::string_view name, uint32_t* bits);

}  // namespace carelog::window
