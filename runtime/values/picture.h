// Pictures: the short texts (such as "@d1", "@t3B", "@n-12.2", "@s30", "@p(###)-###-####p")
// that say how a value is shown and how typed text is read back. A picture is compiled once
// into cells, one per display position, and then formats values and parses text.
//
// Compiled form (at most 512 bytes):
//   byte 0   bits 0-2 kind (PictureKind); bits 3-5 class (1 date/time, 2 scientific, 3 number
//            and pattern, 0 string and key-in); bit 6 month names keep their case (dates);
//            bit 7 blank when zero
//   byte 1   number of cells (1..255); for S pictures the string width
//   byte 2.. for every kind but S: two bytes per cell, the character and then the CellCode
// The compiled length is 2 + 2 x cells (2 for S pictures). An invalid picture compiles to
// length 0 with its first four bytes zero, and formats as blanks.
//
// Every cell takes one display position; the implied decimal point too, which marks where the
// decimals begin and shows as a blank (its digits are read back without a typed point).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace carelog::values {

inline constexpr size_t kMaxCompiledPicture = 512;
inline constexpr int kMaxPictureCells = 255;

enum class PictureKind : uint8_t {
  kNumber = 0,
  kScientific = 1,
  kDate = 2,
  kTime = 3,
  kPattern = 4,
  kString = 5,
  kKeyIn = 6,
};

enum CellCode : uint8_t {
  kCellLiteral = 0,          // shown as stored
  kCellGroup = 1,            // grouping (thousands) separator
  kCellDecimal = 2,          // decimal point, its character shown
  kCellDigit = 3,            // digit; a leading zero shows the cell's character
  kCellSuppressed = 4,       // digit; a leading zero shows the cell's character (a blank)
  kCellSign = 5,             // '-', '(' or ')', shown for negative values only
  kCellCurrency = 6,         // currency character
  kCellMonth = 7,            // month digit
  kCellDay = 8,              // day digit
  kCellYear = 9,             // year digit
  kCellMonthName = 10,       // month-name letter
  kCellHour = 11,            // hour digit
  kCellMinute = 12,          // minute digit
  kCellSecond = 13,          // second digit
  kCellKeyAny = 14,          // key-in '@'
  kCellKeyCaret = 15,        // key-in '^'
  kCellKeyUnderscore = 16,   // key-in '_'
  kCellKeyQuestion = 17,     // key-in '?'
  kCellSeparator = 19,       // date or time separator (the picture's separator replaces it)
  kCellAmPm = 20,            // AM/PM marker; with the literal cell that follows it
  kCellExponentSign = 21,    // exponent sign, '+' or '-'
  kCellImpliedDecimal = 22,  // decimal position, shows a blank
  kCellKeyBar = 23,          // key-in '|'
};

// The AM/PM marker cell's character says which texts it shows.
inline constexpr char kAmPmLocaleTexts = 'A';  // the locale's AM/PM texts
inline constexpr char kAmPmSystemTexts = 'W';  // the international settings' texts

// Compiles `picture` into `out` (kMaxCompiledPicture bytes). Returns the compiled length, or 0
// when the picture is invalid.
size_t CompilePicture(std::string_view picture, uint8_t* out);

// A compiled picture.
class Picture {
 public:
  Picture();  // an invalid picture
  explicit Picture(std::string_view text);

  bool valid() const { return length_ != 0; }
  PictureKind kind() const { return static_cast<PictureKind>(bytes_[0] & 7); }
  int picture_class() const { return (bytes_[0] >> 3) & 7; }
  bool names_keep_case() const { return (bytes_[0] & 0x40) != 0; }
  bool blank_when_zero() const { return (bytes_[0] & 0x80) != 0; }
  // Cells (string width for S pictures).
  int cells() const { return bytes_[1]; }
  // Display positions: the cells (the string width for S pictures).
  size_t width() const { return width_; }
  char cell_char(int i) const { return static_cast<char>(bytes_[2 + 2 * i]); }
  CellCode cell_code(int i) const { return static_cast<CellCode>(bytes_[3 + 2 * i]); }
  const uint8_t* bytes() const { return bytes_; }
  size_t length() const { return length_; }

 private:
  uint8_t bytes_[kMaxCompiledPicture];
  size_t length_ = 0;
  size_t width_ = 0;
};

// Formatting. `out` (of `length` bytes, not terminated) is first filled with blanks, then
// written cell by cell; cells past `length` are dropped. Each returns `length`.
//   Numbers: the value rounded half up at the first dropped decimal; '#' in every position when
//   the integer digits do not fit. Dates and times: the value is the standard date or time.
//   Strings: the text of the number.
size_t FormatNumber(double value, const Picture& picture, char* out, size_t length);
// `decimal` is a decimal text such as "-1234.5678" (an exponent is allowed); exact, for values
// with more digits than a double holds.
size_t FormatDecimal(std::string_view decimal, const Picture& picture, char* out, size_t length);
// Strings and key-in pictures take the text; other kinds read it as a number first. A key-in
// value holds only the entered characters: they fill the entry positions one after another
// while literal cells show their own characters ("123456789" through "@k###-##-####k" shows
// "123-45-6789"), and deformatting gives back the entered characters without the literals.
size_t FormatText(std::string_view text, const Picture& picture, char* out, size_t length);

// Conveniences: the output is as wide as the picture (empty for an invalid picture).
std::string Format(double value, std::string_view picture);
std::string FormatText(std::string_view text, std::string_view picture);

// Parsing (deformat): typed text back into a value of the picture's kind.
struct DeformattedValue {
  bool is_text = false;  // S and K pictures
  double number = 0;     // the number, standard date or standard time
  std::string decimal;   // numbers: the exact decimal text ("-1234.5"); empty otherwise
  std::string text;      // S and K pictures
};

// Dates and times that are not valid parse to 0. An invalid picture reads the text as a
// number without a picture.
DeformattedValue Deformat(std::string_view text, const Picture& picture);
DeformattedValue Deformat(std::string_view text, std::string_view picture);

// Whether the entered characters of a key-in value suit their positions of `p`: a digit where
// the picture has '#', a digit or a blank where it has '<', anything at the other positions;
// false too when there are more characters than positions.
bool KeyInFits(std::string_view entered, const Picture& p);

// A number typed without a picture: '-', '+', one '.', digits and an exponent 'e'/'E' with its
// own sign; '(' or '-' anywhere makes the value negative; other characters are ignored.
double ParseNumberText(std::string_view text);

}  // namespace carelog::values
