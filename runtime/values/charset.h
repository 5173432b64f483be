// The two single-byte character sets the runtime handles: ANSI (Windows-1252), in which every
// text is held, and OEM (code page 437), in which older data files and environment files may
// hold their texts. Conversions go through each byte's Unicode code point; a character with no
// counterpart in the other set becomes its nearest look-alike ('+', '-', '|' for box drawing)
// or '?'. Codes 0..127 are the same in both sets and never change.
#pragma once

#include <cstddef>
#include <cstdint>

namespace carelog::values {

// Unicode code point of an ANSI / OEM byte; 0xFFFD for the five ANSI codes without a character.
uint16_t AnsiToUnicode(uint8_t c);
uint16_t OemToUnicode(uint8_t c);

// The ANSI byte for a code point, or 0 when the set has none (code point 0 maps to 0).
uint8_t UnicodeToAnsi(uint32_t code_point);

uint8_t AnsiToOemChar(uint8_t c);
uint8_t OemToAnsiChar(uint8_t c);

// Convert `n` bytes in place.
void AnsiToOem(char* text, size_t n);
void OemToAnsi(char* text, size_t n);

}  // namespace carelog::values
