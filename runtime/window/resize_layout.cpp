#include "runtime/window/resize_layout.h"

#include <algorithm>
#include <vector>

#include "runtime/host/window_system.h"
#include "runtime/window/definition_format.h"
#include "runtime/window/frame_layout.h"

namespace carelog::window::internal {
namespace {

// How one control follows a growth of the area: moved by (dx, dy), stretched by (dw, dh).
struct Follow {
  int dx = 0, dy = 0, dw = 0, dh = 0;
  bool Any() const { return dx || dy || dw || dh; }
};

bool InsideToolbar(const Control& c) {
  for (const Control* up = &c; up; up = up->container) {
    if (up->kind == kKindToolbar) return true;
  }
  return false;
}

// Menus live in the bars, the toolbar is laid out across the window by the frame layout.
bool TakesPart(const Control& c) {
  return c.kind != kKindMenu && c.kind != kKindItem && c.kind != kKindMenuBar && !InsideToolbar(c);
}

int Area(const host::Rect& r) {
  return r.Width() * r.Height();
}

// The list that takes the extra room: the largest one, the first of equals. Drop lists keep
// their size.
const Control* GrowingList(const Structure& s) {
  const Control* best = nullptr;
  for (const auto& c : s.controls) {
    if (c->kind != kKindList || c->drop_rows > 0 || !TakesPart(*c)) continue;
    if (!best || Area(c->pixels) > Area(best->pixels)) best = c.get();
  }
  return best;
}

// A container of the list, or a control drawn around it (a sheet or box the list is placed
// on without being its child).
bool Holds(const Control& outer, const Control& inner) {
  for (const Control* up = inner.container; up; up = up->container) {
    if (up == &outer) return true;
  }
  const host::Rect& o = outer.pixels;
  const host::Rect& i = inner.pixels;
  return o.left <= i.left && o.top <= i.top && o.right >= i.right && o.bottom >= i.bottom;
}

Follow FollowFor(const Control& c, const Control& list, host::Size delta) {
  if (&c == &list || Holds(c, list)) return Follow{0, 0, delta.width, delta.height};
  const host::Rect& r = c.pixels;
  const host::Rect& l = list.pixels;
  const bool below = r.top >= l.bottom;
  const bool right = r.left >= l.right || (below && r.left + r.right > l.left + l.right);
  return Follow{right ? delta.width : 0, below ? delta.height : 0, 0, 0};
}

void Apply(Structure& s, Control& c, const Follow& f) {
  host::Rect& r = c.pixels;
  r = host::Rect{r.left + f.dx, r.top + f.dy, r.right + f.dx + f.dw, r.bottom + f.dy + f.dh};
  if (c.handle) host::MoveWindow(c.handle, r.Offset(-s.scroll.x, -s.scroll.y));
}

host::Size Growth(const Structure& s) {
  host::Rect client = host::ClientRect(s.handle);
  int height = client.Height() - PartsAbove(s) - PartsBelow(s);
  return host::Size{std::max(client.Width() - s.designed_area.width, 0),
                    std::max(height - s.designed_area.height, 0)};
}

}  // namespace

void StartResizeLayout(Structure& s, host::Size designed_area) {
  s.designed_area = designed_area;
  s.grown = host::Size{};
}

void FollowClientSize(Structure& s) {
  if (!s.is_open() || s.designed_area.width <= 0 || s.designed_area.height <= 0) return;
  const Control* list = GrowingList(s);
  if (!list) return;
  const host::Size want = Growth(s);
  const host::Size delta{want.width - s.grown.width, want.height - s.grown.height};
  if (delta.width == 0 && delta.height == 0) return;
  // Every control is judged against the list as it stands before anything moves.
  std::vector<Follow> follows;
  follows.reserve(s.controls.size());
  for (const auto& c : s.controls) {
    follows.push_back(TakesPart(*c) ? FollowFor(*c, *list, delta) : Follow{});
  }
  for (size_t i = 0; i < s.controls.size(); ++i) {
    if (follows[i].Any()) Apply(s, *s.controls[i], follows[i]);
  }
  s.grown = want;
  host::Invalidate(s.handle);
}

}  // namespace carelog::window::internal
