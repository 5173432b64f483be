// The drawing library's objects behind Surface and DeviceContext; included only by the
// platform layer's own sources.
#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>
#include <mutex>
#include <vector>

#include "runtime/host/graphics.h"

namespace carelog::host {

struct Surface::Native {
  cairo_surface_t* surface = nullptr;  // device pixels, with the device scale set
  int width = 1, height = 1;           // logical
  double scale = 1;
  ~Native() {
    if (surface) cairo_surface_destroy(surface);
  }
};

struct DeviceContext::Native {
  struct State {
    Color pen{0, 0, 0};
    int pen_width = 1;
    PenStyle pen_style = PenStyle::kSolid;
    Color brush{255, 255, 255};
    bool has_brush = true;
    FontSpec font;
    bool font_set = false;  // text colour follows the font colour until SetTextColor
    Color text_color{0, 0, 0};
    Color text_background{255, 255, 255};
    bool opaque_text = false;
    Point position;
  };
  std::unique_lock<std::mutex> surface_lock;  // held while painting a window's surface
  std::shared_ptr<Surface> surface;           // empty for contexts over printer pages
  cairo_t* cr = nullptr;
  PangoContext* text_context = nullptr;  // made on first use of text, kept for the next
  State state;
  std::vector<State> saved;
  ~Native() {
    if (text_context) g_object_unref(text_context);
    if (cr) cairo_destroy(cr);
  }
};

namespace internal {
// Serialises every use of the text machinery.
std::mutex& TextMutex();
// The project's font map, with the face aliases loaded. Call under TextMutex().
PangoFontMap* FontMap();
// A description of `font` sized for `dpi` units per inch. Caller frees.
PangoFontDescription* DescribeFont(const FontSpec& font, double dpi);
// A layout for text drawn through the context's cairo context. Caller unrefs. Call under
// TextMutex().
PangoLayout* CreateLayout(DeviceContext::Native& native);
}  // namespace internal

}  // namespace carelog::host
