// Painting: invalidation, paint contexts clipped to what of a window is visible, the frame and
// caption that this layer draws around child windows, and the default window procedure.
#include <cairo.h>

#include <algorithm>

#include "runtime/host/backend.h"
#include "runtime/host/graphics_native.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_internal.h"
#include "runtime/host/window_table.h"

namespace carelog::host {

using internal::Find;
using internal::IsTopLevelKind;
using internal::TableMutex;
using internal::WindowData;
using Lock = std::lock_guard<std::recursive_mutex>;

namespace {

constexpr Color kActiveCaption{0, 0, 128};
constexpr Color kInactiveCaption{128, 128, 128};
constexpr Color kFrameColor{192, 192, 192};

// Offset of a window's parent client area within the top-level surface.
Point ParentOrigin(const WindowData& w) {
  Point p;
  for (const WindowData* a = Find(w.parent); a && !IsTopLevelKind(a->kind); a = Find(a->parent)) {
    Rect client = internal::ClientAreaInParent(*a);
    p.x += client.left;
    p.y += client.top;
  }
  return p;
}

// The caption buttons of a child window, in its parent's client coordinates.
struct CaptionButtons {
  Rect close, maximize, minimize;
};

CaptionButtons ButtonsOf(const WindowData& w) {
  internal::Insets in = internal::InsetsOf(w);
  CaptionButtons b;
  if (in.caption == 0) return b;
  int size = in.caption - 4;
  int top = w.rect.top + in.frame + 2;
  int right = w.rect.right - in.frame - 2;
  if (w.style & style::kSystemMenu || w.kind == WindowKind::kMdiChild) {
    b.close = Rect::FromSize(right - size, top, size, size);
    right -= size + 2;
  }
  if (w.style & style::kMaximizeBox) {
    b.maximize = Rect::FromSize(right - size, top, size, size);
    right -= size;
  }
  if (w.style & style::kMinimizeBox) b.minimize = Rect::FromSize(right - size, top, size, size);
  return b;
}

bool CaptionActive(const WindowData& w) {
  if (w.kind == WindowKind::kMdiChild) {
    const WindowData* client = Find(w.parent);
    return client && client->active_child == w.id;
  }
  return true;
}

// What of `w` can be seen on its top-level surface, in surface coordinates: its outer (or
// client) rectangle cut to every ancestor's client area, less the siblings above it and
// above each ancestor; nothing when it or an ancestor is hidden.
cairo_region_t* VisibleRegion(const WindowData& w, bool client_only) {
  Point origin = ParentOrigin(w);
  Rect area = client_only ? internal::ClientAreaInParent(w) : w.rect;
  if (IsTopLevelKind(w.kind)) area = Rect{0, 0, w.rect.Width(), w.rect.Height()};
  area = area.Offset(origin.x, origin.y);
  cairo_rectangle_int_t r{area.left, area.top, std::max(area.Width(), 0),
                          std::max(area.Height(), 0)};
  cairo_region_t* region = cairo_region_create_rectangle(&r);
  for (const WindowData* c = &w; c && !IsTopLevelKind(c->kind); c = Find(c->parent)) {
    if (c->show == ShowState::kHidden) {
      // A hidden window, or one inside a hidden window, shows nothing: a paint queued
      // before it was hidden must not draw over what is shown in its place.
      cairo_region_destroy(region);
      return cairo_region_create();
    }
    const WindowData* parent = Find(c->parent);
    if (!parent) break;
    Point parent_origin = ParentOrigin(*c);
    if (!IsTopLevelKind(parent->kind)) {
      Rect pc = internal::ClientAreaInParent(*parent);
      Point grand = ParentOrigin(*parent);
      pc = pc.Offset(grand.x, grand.y);
      cairo_rectangle_int_t clip{pc.left, pc.top, std::max(pc.Width(), 0),
                                 std::max(pc.Height(), 0)};
      cairo_region_intersect_rectangle(region, &clip);
    } else {
      cairo_rectangle_int_t clip{0, 0, parent->rect.Width(), parent->rect.Height()};
      cairo_region_intersect_rectangle(region, &clip);
    }
    for (WindowId s : parent->children) {
      if (s == c->id) break;  // only siblings above
      const WindowData* sib = Find(s);
      if (!sib || sib->show == ShowState::kHidden) continue;
      Rect sr = sib->rect.Offset(parent_origin.x, parent_origin.y);
      cairo_rectangle_int_t cut{sr.left, sr.top, std::max(sr.Width(), 0), std::max(sr.Height(), 0)};
      cairo_region_subtract_rectangle(region, &cut);
    }
  }
  return region;
}

void ClipTo(cairo_t* cr, cairo_region_t* region) {
  int n = cairo_region_num_rectangles(region);
  for (int i = 0; i < n; ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(region, i, &r);
    cairo_rectangle(cr, r.x, r.y, r.width, r.height);
  }
  if (n == 0) cairo_rectangle(cr, 0, 0, 0, 0);
  cairo_clip(cr);
}

void DrawButtonGlyph(DeviceContext& dc, const Rect& r, int which) {
  dc.SetPen(Color{0, 0, 0});
  dc.SetBrush(kFrameColor);
  dc.Rectangle(r);
  int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2, h = r.Width() / 4;
  if (which == 0) {  // close: a cross
    for (int d = -h; d <= h; ++d) {
      dc.FillRect(Rect::FromSize(cx + d, cy + d, 1, 1), Color{0, 0, 0});
      dc.FillRect(Rect::FromSize(cx + d, cy - d, 1, 1), Color{0, 0, 0});
    }
  } else if (which == 1) {  // maximize: a box
    dc.FrameRect(Rect{cx - h, cy - h, cx + h + 1, cy + h + 1}, Color{0, 0, 0});
  } else {  // minimize: a bar
    dc.FillRect(Rect{cx - h, cy + h - 1, cx + h + 1, cy + h + 1}, Color{0, 0, 0});
  }
}

// Draws the frame and caption of a child window (surface coordinates already set up).
void DrawNonClient(DeviceContext& dc, const WindowData& w) {
  internal::Insets in = internal::InsetsOf(w);
  if (in.frame == 0 && in.caption == 0) return;
  Rect outer = w.rect;
  dc.FillRect(outer, kFrameColor);
  dc.FrameRect(outer, Color{0, 0, 0});
  if (in.caption > 0) {
    Rect bar{outer.left + in.frame, outer.top + in.frame, outer.right - in.frame,
             outer.top + in.frame + in.caption};
    bool active = CaptionActive(w);
    dc.FillRect(bar, active ? kActiveCaption : kInactiveCaption);
    CaptionButtons b = ButtonsOf(w);
    int text_right =
        b.minimize.Empty()
            ? (b.maximize.Empty() ? (b.close.Empty() ? bar.right : b.close.left) : b.maximize.left)
            : b.minimize.left;
    FontSpec font;
    font.face = "MS Sans Serif";
    font.points = 8;
    font.weight = 700;
    font.color = active ? Color{255, 255, 255} : Color{220, 220, 220};
    dc.SetFont(font);
    dc.SetTextBackground(Color{}, false);
    dc.DrawText(Rect{bar.left + 4, bar.top, text_right - 2, bar.bottom}, w.title,
                text::kVCenter | text::kEndEllipsis);
    if (!b.close.Empty()) DrawButtonGlyph(dc, b.close, 0);
    if (!b.maximize.Empty()) DrawButtonGlyph(dc, b.maximize, 1);
    if (!b.minimize.Empty()) DrawButtonGlyph(dc, b.minimize, 2);
  }
}

}  // namespace

namespace internal {

NonClientHit HitTestNonClient(WindowId window, Point p) {
  Lock lock(TableMutex());
  const WindowData* w = Find(window);
  if (!w || !w->rect.Contains(p)) return NonClientHit::kNone;
  if (ClientAreaInParent(*w).Contains(p)) return NonClientHit::kClient;
  CaptionButtons b = ButtonsOf(*w);
  if (b.close.Contains(p)) return NonClientHit::kClose;
  if (b.maximize.Contains(p)) return NonClientHit::kMaximize;
  if (b.minimize.Contains(p)) return NonClientHit::kMinimize;
  Insets in = InsetsOf(*w);
  if (p.y >= w->rect.top + in.frame && p.y < w->rect.top + in.frame + in.caption) {
    return NonClientHit::kCaption;
  }
  return NonClientHit::kFrame;
}

}  // namespace internal

void Invalidate(WindowId window) {
  Lock lock(TableMutex());
  if (const WindowData* w = Find(window)) internal::InvalidateLocked(*w);
}

std::shared_ptr<Surface> SurfaceOf(WindowId top_level) {
  Lock lock(TableMutex());
  const WindowData* w = Find(top_level);
  return w ? w->surface : nullptr;
}

std::unique_ptr<DeviceContext> BeginPaint(WindowId window) {
  std::shared_ptr<Surface> surface;
  cairo_region_t* client_region;
  cairo_region_t* outer_region = nullptr;
  WindowData copy;
  Point client_origin;
  {
    Lock lock(TableMutex());
    const WindowData* w = Find(window);
    if (!w) return nullptr;
    const WindowData* top = w;
    while (top && !IsTopLevelKind(top->kind)) top = Find(top->parent);
    if (!top) return nullptr;
    surface = top->surface;
    copy = *w;
    client_region = VisibleRegion(*w, true);
    internal::Insets in = internal::InsetsOf(*w);
    if (in.frame > 0 || in.caption > 0) outer_region = VisibleRegion(*w, false);
    Point origin = ParentOrigin(*w);
    Rect client = IsTopLevelKind(w->kind) ? Rect{} : internal::ClientAreaInParent(*w);
    client_origin = Point{origin.x + client.left, origin.y + client.top};
    copy.rect = w->rect.Offset(origin.x, origin.y);
  }
  auto dc = std::make_unique<DeviceContext>(surface);
  dc->native()->surface_lock = std::unique_lock<std::mutex>(surface->Lock());
  if (outer_region) {
    dc->Save();
    ClipTo(dc->native()->cr, outer_region);
    {
      Lock lock(TableMutex());  // caption colour depends on the live activation state
      DrawNonClient(*dc, copy);
    }
    dc->Restore();
    cairo_region_destroy(outer_region);
  }
  ClipTo(dc->native()->cr, client_region);
  cairo_region_destroy(client_region);
  dc->Translate(client_origin.x, client_origin.y);
  return dc;
}

// Parents paint without clipping their children, and a thread paints its own windows in
// order, parents first. A descendant served by another thread may already have painted, so it
// is asked to paint again over what its ancestor just drew.
namespace {
void RepaintForeignDescendants(const WindowData& w) {
  for (WindowId c : w.children) {
    const WindowData* child = Find(c);
    if (!child || child->show == ShowState::kHidden) continue;
    if (child->thread != w.thread) {
      internal::InvalidateLocked(*child);
    } else {
      RepaintForeignDescendants(*child);
    }
  }
}
}  // namespace

void EndPaint(WindowId window, std::unique_ptr<DeviceContext> context) {
  context.reset();
  {
    Lock lock(TableMutex());
    if (const WindowData* w = Find(window)) RepaintForeignDescendants(*w);
  }
  WindowId top = TopLevelOf(window);
  if (top == kNoWindow) return;
  if (DisplayBackend* b = internal::Backend()) b->Present(top);
}

void UpdateWindows() {
  Message m;
  while (PeekMessage(&m, kNoWindow, msg::kPaint, msg::kPaint, true)) DispatchMessage(m);
}

int64_t DefaultWindowProc(const Message& message) {
  switch (message.number) {
    case msg::kPaint: {
      std::unique_ptr<DeviceContext> dc = BeginPaint(message.window);
      if (!dc) return 0;
      Color background;
      {
        Lock lock(TableMutex());
        const WindowData* w = Find(message.window);
        if (w) background = w->background;
      }
      dc->FillRect(ClientRect(message.window), background);
      EndPaint(message.window, std::move(dc));
      return 0;
    }
    case msg::kClose:
      DestroyWindow(message.window);
      return 0;
    case msg::kMouseWheel: {
      // A window that does not scroll passes the wheel on to its parent, so the wheel over a
      // button or with the focus in one still scrolls the window around it.
      WindowId parent = ParentOf(message.window);
      return parent == kNoWindow
                 ? 0
                 : SendMessage(parent, message.number, message.wparam, message.lparam);
    }
    default:
      return 0;
  }
}

}  // namespace carelog::host
