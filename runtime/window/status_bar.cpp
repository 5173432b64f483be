#include "runtime/window/status_bar.h"

#include <algorithm>

#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/window/frame_layout.h"

namespace carelog::window {
namespace {

constexpr host::Color kBarFace{240, 240, 240};
constexpr host::Color kShadow{160, 160, 160};
constexpr host::Color kLight{255, 255, 255};

void PaintBar(Structure& s, host::DeviceContext& dc, const host::Rect& client) {
  dc.FillRect(client, kBarFace);
  dc.SetPen(kShadow);
  dc.MoveTo(host::Point{0, 0});
  dc.LineTo(host::Point{client.right, 0});
  dc.SetFont(BarFont());
  dc.SetTextColor(theme::kText);
  std::vector<host::Rect> zones = internal::ZoneRects(s, client.Width(), client.Height());
  for (size_t i = 0; i < zones.size(); ++i) {
    host::Rect r = zones[i];
    // Sunken: dark top and left edges, light bottom and right ones.
    dc.SetPen(kShadow);
    dc.MoveTo(host::Point{r.left, r.bottom - 1});
    dc.LineTo(host::Point{r.left, r.top});
    dc.LineTo(host::Point{r.right - 1, r.top});
    dc.SetPen(kLight);
    dc.LineTo(host::Point{r.right - 1, r.bottom - 1});
    dc.LineTo(host::Point{r.left, r.bottom - 1});
    std::string text = internal::ShownStatusText(s, static_cast<int>(i) + 1);
    dc.Save();
    host::Rect inside{r.left + 4, r.top + 1, r.right - 3, r.bottom - 1};
    dc.IntersectClip(inside);
    dc.DrawText(inside, text, host::text::kVCenter | host::text::kEndEllipsis);
    dc.Restore();
  }
}

int64_t StatusBarProc(Structure* s, const host::Message& m) {
  if (m.number != host::msg::kPaint) return host::DefaultWindowProc(m);
  std::unique_ptr<host::DeviceContext> dc = host::BeginPaint(m.window);
  if (!dc) return 0;
  PaintBar(*s, *dc, host::ClientRect(m.window));
  host::EndPaint(m.window, std::move(dc));
  return 0;
}

void Redraw(Structure& owner) {
  if (owner.parts && owner.parts->status_bar) host::Invalidate(owner.parts->status_bar);
}

int ZoneNumber(int zone) {
  return zone <= 0 ? 1 : zone;
}

}  // namespace

namespace internal {

host::WindowId CreateStatusBarView(Structure& s) {
  return CreateBarView(s, "TamStatusBar", kBarFace, &StatusBarProc);
}

Structure* StatusBarOwner(Structure& s) {
  if (s.parts && s.parts->status_bar) return &s;
  if (s.kind() != StructureKind::kMdi) return nullptr;
  Structure* frame = ApplicationFrame();
  return frame && frame->parts && frame->parts->status_bar ? frame : nullptr;
}

std::vector<host::Rect> ZoneRects(const Structure& owner, int width, int height) {
  std::vector<host::Rect> out;
  if (!owner.parts) return out;
  const std::vector<int32_t>& zones = owner.parts->zones;
  std::vector<int> pixels;
  int fixed = 0, stretching = 0;
  for (int32_t zone : zones) {
    int w = zone < 0 ? 0 : ToPixelsX(owner.scale, zone);
    if (zone < 0) ++stretching;
    pixels.push_back(w);
    fixed += w;
  }
  constexpr int kGap = 2;
  int room = width - fixed - kGap * (static_cast<int>(zones.size()) + 1);
  int share = stretching ? std::max(room, 0) / stretching : 0;
  int x = kGap;
  for (size_t i = 0; i < zones.size(); ++i) {
    int w = zones[i] < 0 ? share : pixels[i];
    out.push_back(host::Rect{x, 3, std::min(x + w, std::max(width - kGap, x)), height - 2});
    x += w + kGap;
  }
  return out;
}

void SetStatusText(Structure& s, int zone, const std::string& text) {
  Structure* owner = StatusBarOwner(s);
  Structure& target = owner ? *owner : s;
  target.status_zones[ZoneNumber(zone)] = text;
  Redraw(target);
}

std::string StatusText(Structure& s, int zone) {
  Structure* owner = StatusBarOwner(s);
  Structure& target = owner ? *owner : s;
  auto it = target.status_zones.find(ZoneNumber(zone));
  return it == target.status_zones.end() ? std::string() : it->second;
}

std::string ShownStatusText(Structure& owner, int zone) {
  if (zone == 1 && owner.parts && owner.parts->highlight) return *owner.parts->highlight;
  auto it = owner.status_zones.find(zone);
  return it == owner.status_zones.end() ? std::string() : it->second;
}

void ShowHighlightMessage(Structure& s, const std::string* message) {
  Structure* owner = StatusBarOwner(s);
  if (!owner) return;
  std::optional<std::string> now;
  if (message) now = *message;
  if (owner->parts->highlight == now) return;
  owner->parts->highlight = now;
  Redraw(*owner);
}

}  // namespace internal
}  // namespace carelog::window
