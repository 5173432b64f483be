// Font style words and definition colours to and from drawing fonts.
#include "runtime/window/font_style.h"

namespace carelog::window {

void ApplyFontStyle(int64_t style, host::FontSpec* font) {
  auto weight = static_cast<int>(style & font_style::kWeightMask);
  font->weight = weight ? weight : font_style::kNormalWeight;
  font->italic = (style & font_style::kItalic) != 0;
  font->underline = (style & font_style::kUnderline) != 0;
  font->strikeout = (style & font_style::kStrikeout) != 0;
}

int64_t FontStyleOf(const host::FontSpec& font) {
  int64_t style = font.weight & font_style::kWeightMask;
  if (font.italic) style |= font_style::kItalic;
  if (font.underline) style |= font_style::kUnderline;
  if (font.strikeout) style |= font_style::kStrikeout;
  return style;
}

host::Color ColorFromDefinition(int64_t value) {
  auto c = static_cast<uint32_t>(value);
  return host::Color{static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>((c >> 8) & 0xFF),
                     static_cast<uint8_t>((c >> 16) & 0xFF)};
}

int64_t DefinitionColorOf(host::Color color) {
  return static_cast<int64_t>(color.r) | (static_cast<int64_t>(color.g) << 8) |
         (static_cast<int64_t>(color.b) << 16);
}

}  // namespace carelog::window
