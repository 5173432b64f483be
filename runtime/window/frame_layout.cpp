#include "runtime/window/frame_layout.h"

#include <algorithm>

#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/window/menu_bar.h"
#include "runtime/window/status_bar.h"

namespace carelog::window {
namespace {

constexpr int kDefaultToolbarHeight = 30;

int BarHeight() {
  auto surface = host::Surface::Create(1, 1);
  host::DeviceContext dc(surface);
  dc.SetFont(BarFont());
  return dc.Metrics().height + 8;
}

const Entry* ToolbarEntry(const Entry& definition) {
  for (const Entry& child : definition.children) {
    if (child.kind == kKindToolbar) return &child;
  }
  return nullptr;
}

// Moves a control and everything inside it by (dx, dy).
void MoveTree(Structure& s, Control& top, int dx, int dy) {
  for (auto& owned : s.controls) {
    Control* c = owned.get();
    bool inside = c == &top;
    for (Control* up = c->container; up && !inside; up = up->container) inside = up == &top;
    if (!inside) continue;
    c->pixels = c->pixels.Offset(dx, dy);
    if (c->handle) host::MoveWindow(c->handle, c->pixels);
  }
}

}  // namespace

host::FontSpec BarFont() {
  host::FontSpec font;
  font.face = "MS Sans Serif";
  font.points = 9;
  return font;
}

namespace internal {

host::WindowId CreateBarView(Structure& window, const char* class_name, host::Color background,
                             int64_t (*proc)(Structure*, const host::Message&)) {
  host::WindowSpec spec;
  spec.kind = host::WindowKind::kChild;
  spec.parent = window.handle;
  spec.class_name = class_name;
  spec.background = background;
  spec.style = host::style::kVisible;
  Structure* self = &window;
  spec.proc = [self, proc](const host::Message& m) { return proc(self, m); };
  return host::CreateWindow(spec);
}

void PrepareFrameParts(Structure& s) {
  s.parts = std::make_unique<FrameParts>();
  FrameParts& p = *s.parts;
  const Entry& def = s.definition;
  if (!def.menubar.empty()) {
    p.has_menu = true;
    p.menubar_attr = def.menubar.front().attr;
    p.own_menu = BuildMenuControls(s, def.menubar.front());
  }
  p.zones = def.zones;
  if (const Entry* toolbar = ToolbarEntry(def)) {
    p.toolbar_height = toolbar->at.height == kNotGiven ? kDefaultToolbarHeight
                                                       : ToPixelsY(s.scale, toolbar->at.height);
  }
  // An MDI window's menu shows in the frame's bar.
  bool own_bar = p.has_menu && s.kind() != StructureKind::kMdi;
  if (s.kind() == StructureKind::kApplication || own_bar) {
    p.shown = p.own_menu;
    if (own_bar) {
      p.menu_height = BarHeight();
      p.menu_bar = CreateMenuBarView(s);
    }
  }
  if (!p.zones.empty()) {
    p.status_height = BarHeight();
    p.status_bar = CreateStatusBarView(s);
  }
}

int PartsAbove(const Structure& s) {
  return s.parts ? s.parts->menu_height + s.parts->toolbar_height : 0;
}

int PartsBelow(const Structure& s) {
  return s.parts ? s.parts->status_height : 0;
}

host::Point ControlAreaOrigin(const Structure& s) {
  return host::Point{0, PartsAbove(s)};
}

void LayoutFrame(Structure& s) {
  if (!s.parts || !s.is_open()) return;
  FrameParts& p = *s.parts;
  host::Rect client = host::ClientRect(s.handle);
  int width = client.Width();
  if (p.menu_bar) host::MoveWindow(p.menu_bar, host::Rect::FromSize(0, 0, width, p.menu_height));
  if (!p.toolbar) {
    for (auto& c : s.controls) {
      if (c->kind == kKindToolbar && !c->container) {
        p.toolbar = c.get();
        break;
      }
    }
  }
  if (p.toolbar) {
    host::Rect want = host::Rect::FromSize(0, p.menu_height, width, p.toolbar_height);
    MoveTree(s, *p.toolbar, want.left - p.toolbar->pixels.left, want.top - p.toolbar->pixels.top);
    p.toolbar->pixels = want;
    if (p.toolbar->handle) host::MoveWindow(p.toolbar->handle, want);
  }
  int status_top = std::max(PartsAbove(s), client.bottom - p.status_height);
  if (p.status_bar) {
    host::MoveWindow(p.status_bar,
                     host::Rect::FromSize(0, status_top, width, client.bottom - status_top));
    host::Invalidate(p.status_bar);
  }
  if (s.client) {
    host::MoveWindow(s.client, host::Rect{0, PartsAbove(s), width, status_top});
  }
}

void ReleaseFrameParts(Structure& s) {
  if (!s.parts) return;
  ForgetMenusOf(s);
  s.parts.reset();
}

}  // namespace internal
}  // namespace carelog::window
