// The style word of a font as definitions, procedures and the font settings keep it:
//
//   bits 0-11  weight, 100 (thin) to 900 (black); 0 means normal (400)
//   bit  12    0x1000 italic
//   bit  13    0x2000 underline
//   bit  14    0x4000 strikeout
//
// Other bits carry no meaning for drawing and are kept by whoever rewrites a style.
#pragma once

#include <cstdint>

#include "runtime/host/graphics.h"

namespace carelog::window {

namespace font_style {
inline constexpr int64_t kWeightMask = 0xFFF;
inline constexpr int64_t kItalic = 0x1000;
inline constexpr int64_t kUnderline = 0x2000;
inline constexpr int64_t kStrikeout = 0x4000;
inline constexpr int kNormalWeight = 400;
inline constexpr int kBoldWeight = 700;
}  // namespace font_style

// Sets the weight and effects of *font from a style word.
void ApplyFontStyle(int64_t style, host::FontSpec* font);
// The style word of a font's weight and effects (a normal weight is written as 400).
int64_t FontStyleOf(const host::FontSpec& font);

// Colours as definitions keep them (0x00BBGGRR) and as drawing takes them.
host::Color ColorFromDefinition(int64_t value);
int64_t DefinitionColorOf(host::Color color);

}  // namespace carelog::window
