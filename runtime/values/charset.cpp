#include "runtime/values/charset.h"

#include <array>

namespace carelog::values {
namespace {

constexpr uint16_t kNone = 0xFFFD;

// Code points of ANSI 0x80..0x9F; 0xA0..0xFF are Latin-1 and equal to their code points.
constexpr uint16_t kAnsiHigh[32] = {
    0x20AC, kNone,  0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, kNone,  0x017D, kNone,   // 88
    kNone,  0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, kNone,  0x017E, 0x0178,  // 98
};

// Code points of OEM 0x80..0xFF.
constexpr uint16_t kOemHigh[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  // 88
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 90
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,  // 98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // A0
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // B0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,  // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,  // C8
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // D0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,  // D8
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,  // E0
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,  // E8
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,  // F0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,  // F8
};

// A stand-in for a code point that the target set lacks.
uint8_t LookAlike(uint16_t cp) {
  if (cp == 0x2500 || cp == 0x2550) return '-';
  if (cp == 0x2502 || cp == 0x2551) return '|';
  if (cp >= 0x2500 && cp <= 0x257F) return '+';
  return '?';
}

struct Tables {
  std::array<uint8_t, 256> ansi_to_oem;
  std::array<uint8_t, 256> oem_to_ansi;
};

Tables BuildTables() {
  Tables t{};
  for (int c = 0; c < 256; ++c) {
    t.ansi_to_oem[c] = c < 128 ? c : 0;
    t.oem_to_ansi[c] = c < 128 ? c : 0;
  }
  for (int a = 128; a < 256; ++a) {
    uint16_t cp = AnsiToUnicode(a);
    for (int o = 128; o < 256 && cp != kNone; ++o) {
      if (OemToUnicode(o) == cp) {
        t.ansi_to_oem[a] = o;
        t.oem_to_ansi[o] = a;
        break;
      }
    }
  }
  for (int c = 128; c < 256; ++c) {
    if (t.ansi_to_oem[c] == 0) t.ansi_to_oem[c] = LookAlike(AnsiToUnicode(c));
    if (t.oem_to_ansi[c] == 0) t.oem_to_ansi[c] = LookAlike(OemToUnicode(c));
  }
  return t;
}

const Tables& ConversionTables() {
  static const Tables tables = BuildTables();
  return tables;
}

}  // namespace

uint16_t AnsiToUnicode(uint8_t c) {
  if (c >= 0x80 && c < 0xA0) return kAnsiHigh[c - 0x80];
  return c;
}

uint16_t OemToUnicode(uint8_t c) {
  return c < 0x80 ? c : kOemHigh[c - 0x80];
}

uint8_t UnicodeToAnsi(uint32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) return code_point;
  for (int i = 0; i < 32; ++i) {
    if (kAnsiHigh[i] == code_point) return 0x80 + i;
  }
  return 0;
}

uint8_t AnsiToOemChar(uint8_t c) {
  return ConversionTables().ansi_to_oem[c];
}
uint8_t OemToAnsiChar(uint8_t c) {
  return ConversionTables().oem_to_ansi[c];
}

void AnsiToOem(char* text, size_t n) {
  const auto& table = ConversionTables().ansi_to_oem;
  for (size_t i = 0; i < n; ++i) text[i] = table[static_cast<uint8_t>(text[i])];
}

void OemToAnsi(char* text, size_t n) {
  const auto& table = ConversionTables().oem_to_ansi;
  for (size_t i = 0; i < n; ++i) text[i] = table[static_cast<uint8_t>(text[i])];
}

}  // namespace carelog::values
