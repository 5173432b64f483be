// SETFONT on the thread's top window and its controls, and SETKEYCODE.
//
// Control 0 is the window: its font, and the font of every unnumbered control (texts, boxes,
// tabs) that has no font record of its own and so follows the window's. Those controls have no
// number to set them by, and a window set in a larger font would otherwise keep its headings
// and tab captions small.
//
// Font style word: bits 0-11 the weight (0 = normal, 400), 0x1000 italic, 0x2000 underline,
// 0x4000 strikeout. Colour word: 0x00BBGGRR, negative keeps the current colour.
#include "runtime/host/window_system.h"
#include "runtime/window/threads.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

host::FontSpec Changed(host::FontSpec font, const std::string& typeface, int points, int64_t color,
                       int64_t style) {
  if (!typeface.empty()) font.face = typeface;
  if (points > 0) font.points = points;
  font.weight = (style & 0xFFF) ? static_cast<int>(style & 0xFFF) : 400;
  font.italic = (style & 0x1000) != 0;
  font.underline = (style & 0x2000) != 0;
  font.strikeout = (style & 0x4000) != 0;
  if (color >= 0) {
    auto c = static_cast<uint32_t>(color);
    font.color = host::Color{static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>((c >> 8) & 0xFF),
                             static_cast<uint8_t>((c >> 16) & 0xFF)};
  }
  return font;
}

}  // namespace

void SetFont(int control, const std::string& typeface, int points, int64_t color, int64_t style) {
  Structure* w = TopWindowOf(0);
  if (!w || !w->is_open()) return;
  if (control == 0) {
    w->font = Changed(w->font, typeface, points, color, style);
    for (const auto& c : w->controls) {
      if (c->equate != 0 || c->own_font) continue;
      c->font = Changed(c->font, typeface, points, color, style);
      c->Invalidate();
    }
    host::Invalidate(w->handle);
    return;
  }
  Control* c = w->Find(control);
  if (!c) return;
  c->font = Changed(c->font, typeface, points, color, style);
  c->Invalidate();
  if (!c->handle) host::Invalidate(w->handle);
}

void SetKeyCode(uint32_t code) {
  Structure* w = TopWindowOf(0);
  if (!w) return;
  w->last_key_code = code;
  if (w->current) w->current->key_code = code;
}

}  // namespace carelog::window
