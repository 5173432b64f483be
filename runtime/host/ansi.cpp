// Windows-1252 <-> UTF-8 conversion for the text that crosses the platform layer.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "runtime/host/types.h"

namespace carelog::host {

namespace {

// Code points of bytes 0x80-0x9F; 0xFFFD marks the five bytes without a character.
constexpr uint16_t kHigh[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

uint32_t CodePointOf(uint8_t byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHigh[byte - 0x80];
  return byte;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The byte of a code point; false when Windows-1252 has no such character.
bool AnsiOf(uint32_t cp, char* byte) {
  if (cp < 0x80 || (cp >= 0xA0 && cp < 0x100)) {
    *byte = static_cast<char>(cp);
    return true;
  }
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] == cp && cp != 0xFFFD) {
      *byte = static_cast<char>(0x80 + i);
      return true;
    }
  }
  return false;
}

// Converts UTF-8 to Windows-1252, putting '?' for each character that cannot be held or is
// malformed; counts those in *lost.
std::string Convert(std::string_view utf8, int* lost) {
  std::string out;
  *lost = 0;
  size_t i = 0;
  while (i < utf8.size()) {
    uint8_t b = static_cast<uint8_t>(utf8[i]);
    int extra = b < 0x80             ? 0
                : (b & 0xE0) == 0xC0 ? 1
                : (b & 0xF0) == 0xE0 ? 2
                : (b & 0xF8) == 0xF0 ? 3
                                     : -1;
    if (extra < 0 || i + extra >= utf8.size()) {
      out += '?';
      ++*lost;
      ++i;
      continue;
    }
    uint32_t cp = extra == 0 ? b : (b & (0x3F >> extra));
    bool valid = true;
    for (int k = 1; k <= extra; ++k) {
      uint8_t next = static_cast<uint8_t>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      cp = (cp << 6) | (next & 0x3F);
    }
    if (!valid) {
      out += '?';
      ++*lost;
      ++i;
      continue;
    }
    char byte = '?';
    if (!AnsiOf(cp, &byte)) ++*lost;
    out += byte;
    i += extra + 1;
  }
  return out;
}

}  // namespace

std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (char c : ansi) AppendUtf8(out, CodePointOf(static_cast<uint8_t>(c)));
  return out;
}

std::string Utf8ToAnsi(std::string_view utf8) {
  int lost = 0;
  return Convert(utf8, &lost);
}

bool Utf8ToAnsiExact(std::string_view utf8, std::string* ansi) {
  int lost = 0;
  std::string out = Convert(utf8, &lost);
  if (lost > 0) return false;
  *ansi = std::move(out);
  return true;
}

}  // namespace carelog::host
