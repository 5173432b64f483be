// Structure objects: construction, OPEN (the four kinds with their opening rules) and CLOSE.
#include <algorithm>
#include <atomic>

#include "runtime/host/display.h"
#include "runtime/host/mdi.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/window/close_down.h"
#include "runtime/window/definition_loader.h"
#include "runtime/window/fatal_error.h"
#include "runtime/window/font_style.h"
#include "runtime/window/frame_layout.h"
#include "runtime/window/frame_style.h"
#include "runtime/window/image_scroll.h"
#include "runtime/window/menu_bar.h"
#include "runtime/window/resize_layout.h"
#include "runtime/window/runtime_errors.h"
#include "runtime/window/standard_actions.h"
#include "runtime/window/threads.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

constexpr uint32_t kTimerId = 1;

// The opening state and modality from the frame attribute word of a window entry.
namespace frame_bit {
constexpr uint32_t kOpenMaximized = 0x4000;
constexpr uint32_t kOpenMinimized = 0x8000;  // only when kOpenMaximized is clear
constexpr uint32_t kModal = 0x0008;          // see frame_style.h
}  // namespace frame_bit

Structure* application_frame = nullptr;  // under the semaphore
int open_mdi_windows = 0;
int next_class_number = 1;

// The state a window opens in, from its frame attribute word.
host::ShowState OpeningState(const Structure& s) {
  if (s.frame_attr & frame_bit::kOpenMaximized) return host::ShowState::kMaximized;
  if (s.frame_attr & frame_bit::kOpenMinimized) return host::ShowState::kMinimized;
  return host::ShowState::kNormal;
}

uint32_t StyleFor(const Structure& s) {
  return FrameStyle(FrameTraits{s.frame_attr, s.kind(), !s.title.empty(), !s.icon.empty()});
}

// The mouse on the window itself: the zoomed image's scroll bars and thumb, and click regions.
int64_t MouseProc(Structure& s, const host::Message& m) {
  host::Point at{host::UnpackX(m.lparam) + s.scroll.x, host::UnpackY(m.lparam) + s.scroll.y};
  switch (m.number) {
    case host::msg::kLButtonDown:
      if (ClickImageScrollBar(s, at) || internal::ClickRegion(s, at)) return 0;
      break;
    case host::msg::kMouseMove:
      if (DragImageThumb(s, at)) return 0;
      break;
    case host::msg::kLButtonUp:
      if (ReleaseImageThumb(s)) return 0;
      break;
    case host::msg::kMouseWheel: {
      // The wheel reports its point relative to the top-level window.
      host::Point origin = host::ClientOriginInTopLevel(s.handle);
      host::Point client{host::UnpackX(m.lparam) - origin.x + s.scroll.x,
                         host::UnpackY(m.lparam) - origin.y + s.scroll.y};
      bool shift = (host::WheelModifiers(m.wparam) & host::modifier::kShift) != 0;
      if (WheelImage(s, client, host::WheelNotches(m.wparam), shift)) return 0;
      break;
    }
  }
  return host::DefaultWindowProc(m);
}

int64_t PaintProc(Structure& s, const host::Message& m) {
  std::unique_ptr<host::DeviceContext> dc = host::BeginPaint(m.window);
  if (!dc) return 0;
  dc->FillRect(host::ClientRect(m.window), theme::kWindow);
  dc->Translate(-s.scroll.x, -s.scroll.y);
  internal::PaintWindowless(s, *dc);
  host::EndPaint(m.window, std::move(dc));
  return 0;
}

int64_t StructureProc(Structure* s, const host::Message& m) {
  switch (m.number) {
    case host::msg::kClose:
      s->Queue(event::kCloseWindow, nullptr);
      return 0;
    case host::msg::kTimer:
      if (m.wparam == kTimerId && !s->timer_pending) {
        s->timer_pending = true;
        s->Queue(event::kTimer, nullptr);
      }
      return 0;
    case kWakeMessage:
      return 0;
    case host::msg::kCommand:
      internal::HandleCommand(*s, static_cast<int>(m.wparam & 0xFFFF));
      return 0;
    case host::msg::kMdiActivated:
      internal::NoteMdiActivation(*s, m.wparam != 0);
      return host::DefaultWindowProc(m);
    case host::msg::kSize:
      internal::LayoutFrame(*s);
      internal::FollowClientSize(*s);
      internal::ReportPlacement(*s);
      return host::DefaultWindowProc(m);
    case host::msg::kMove:
      internal::ReportPlacement(*s);
      return host::DefaultWindowProc(m);
    case host::msg::kQueryEndSession:
    case host::msg::kEndSession:
      internal::HandleSessionMessage(*s, m.number);
      return 0;
    case host::msg::kLButtonDown:
    case host::msg::kMouseMove:
    case host::msg::kLButtonUp:
    case host::msg::kMouseWheel:
      return MouseProc(*s, m);
    case host::msg::kPaint:
      return PaintProc(*s, m);
    default:
      return host::DefaultWindowProc(m);
  }
}

// Copies the definition's window-level fields and computes the unit scale.
void TakeDefinition(Structure& s, const Entry& def) {
  s.definition = def;
  s.attr = s.kind() == StructureKind::kReport ? (def.attr & kUnitMask) : def.attr;
  s.frame_attr = static_cast<uint32_t>(def.Number(Field::kFrame));
  if (const std::string* title = def.String(Field::kTitle)) s.title = *title;
  if (const std::string* icon = def.String(Field::kIcon)) s.icon = *icon;
  s.help = def.Number(Field::kHelp);
  s.font = host::FontSpec{};
  if (def.font) {
    if (!def.font->face.empty()) s.font.face = def.font->face;
    if (def.font->points > 0) s.font.points = def.font->points;
    if (def.font->style >= 0) ApplyFontStyle(def.font->style, &s.font);
  }
  auto surface = host::Surface::Create(1, 1);
  host::DeviceContext dc(surface);
  dc.SetFont(s.font);
  host::TextMetrics tm = dc.Metrics();
  s.scale =
      ScaleFor(UnitOf(s.attr), FontMetrics{tm.average_char_width, tm.height}, Resolution{96, 96});
  s.timer_period = static_cast<int>(def.Number(Field::kTimer));
}

// The client size of the window: as defined, or enclosing its controls.
host::Size ClientSize(const Structure& s) {
  host::Size size{ToPixelsX(s.scale, s.definition.at.width),
                  ToPixelsY(s.scale, s.definition.at.height)};
  if (s.definition.at.width == kNotGiven || s.definition.at.height == kNotGiven) {
    int right = 0, bottom = 0;
    for (const auto& c : s.controls) {
      right = std::max(right, c->pixels.right);
      bottom = std::max(bottom, c->pixels.bottom);
    }
    if (s.definition.at.width == kNotGiven) size.width = right + 8;
    if (s.definition.at.height == kNotGiven) size.height = bottom + 8 - internal::PartsAbove(s);
  }
  // The menu bar and toolbar above the controls and the status bar below them.
  size.height += internal::PartsAbove(s) + internal::PartsBelow(s);
  size.width = std::max(size.width, 40);
  size.height = std::max(size.height, 20);
  return size;
}

bool CreateHostWindow(Structure& s, host::WindowKind kind, host::WindowId parent,
                      host::WindowId owner) {
  host::WindowSpec spec;
  spec.kind = kind;
  spec.parent = parent;
  spec.owner = owner;
  spec.title = s.title;
  spec.style = StyleFor(s) & ~host::style::kVisible;
  spec.class_name = "TamWinClass" + std::to_string(s.class_number);
  spec.background = theme::kWindow;
  spec.rect = host::Rect::FromSize(0, 0, 200, 100);
  Structure* self = &s;
  spec.proc = [self](const host::Message& m) { return StructureProc(self, m); };
  s.handle = host::CreateWindow(spec);
  return s.handle != host::kNoWindow;
}

// Sizes the window so that its client area has the wanted size, then places it within `area`
// (the screen's work area, or the frame's client area for an MDI window): where the
// definition says, else centred. A window larger than the screen is cut to it and scrolls its
// controls; every window is kept on the screen.
void Place(Structure& s, const host::Rect& area, bool on_screen) {
  host::Size client = ClientSize(s);
  host::Rect outer = host::WindowRect(s.handle);
  host::Rect inner = host::ClientRect(s.handle);
  int width = client.width + (outer.Width() - inner.Width());
  int height = client.height + (outer.Height() - inner.Height());
  if (on_screen) {
    width = std::min(width, area.Width());
    height = std::min(height, area.Height());
  }
  int x = s.definition.at.x == kNotGiven ? area.left + (area.Width() - width) / 2
                                         : area.left + ToPixelsX(s.scale, s.definition.at.x);
  int y = s.definition.at.y == kNotGiven ? area.top + (area.Height() - height) / 2
                                         : area.top + ToPixelsY(s.scale, s.definition.at.y);
  host::Rect placed = host::Rect::FromSize(x, y, width, height);
  if (on_screen) {
    placed = placed.KeptWithin(area);
  } else {
    placed = host::Rect::FromSize(std::max(x, 0), std::max(y, 0), width, height);
  }
  host::MoveWindow(s.handle, placed);
}

// Shows a newly built window in the state its definition asks for. MDI windows are maximized
// and minimized by the MDI client, top-level windows by the screen (and its window manager).
void ShowOpened(Structure& s) {
  host::ShowState state = OpeningState(s);
  if (s.kind() == StructureKind::kMdi) {
    host::ShowWindow(s.handle, host::ShowState::kNormal);
    if (state == host::ShowState::kMaximized) host::MdiMaximize(s.handle);
    if (state == host::ShowState::kMinimized) host::MdiMinimize(s.handle);
  } else {
    host::ShowWindow(s.handle, state);
  }
  internal::StartPlacementReports(s);
}

void SetTimer(Structure& s) {
  host::KillTimer(s.handle, kTimerId);
  if (s.timer_period > 0) {
    host::SetTimer(s.handle, kTimerId, std::chrono::milliseconds(s.timer_period * 10));
  }
}

bool CheckOpenRules(Structure& s) {
  if (s.is_open()) return FatalRuntimeError(runtime_error::kWindowAlreadyOpen), false;
  switch (s.kind()) {
    case StructureKind::kApplication:
      if (application_frame && application_frame->client != host::kNoWindow) {
        return FatalRuntimeError(runtime_error::kApplicationAlreadyActive), false;
      }
      if (ModalCount() > 0) return FatalRuntimeError(runtime_error::kApplicationWhileModal), false;
      return true;
    case StructureKind::kMdi:
      if (!application_frame || application_frame->closing)
        return FatalRuntimeError(runtime_error::kMdiWithoutApplication), false;
      if (ModalCount() > 0) return FatalRuntimeError(runtime_error::kMdiWhileModal), false;
      if (application_frame->slot == internal::CurrentSlot()) {
        return FatalRuntimeError(runtime_error::kMdiOnApplicationThread), false;
      }
      return true;
    default:
      return true;
  }
}

int OpenFailureCode(StructureKind kind) {
  switch (kind) {
    case StructureKind::kApplication:
      return runtime_error::kApplicationOpenFailed;
    case StructureKind::kMdi:
      return runtime_error::kMdiOpenFailed;
    default:
      return runtime_error::kWindowOpenFailed;
  }
}

host::WindowId OwnerFor() {
  if (Structure* top = TopWindowOf(0)) return host::TopLevelOf(top->handle);
  if (application_frame) return application_frame->handle;
  return host::kNoWindow;
}

bool CreateForKind(Structure& s) {
  switch (s.kind()) {
    case StructureKind::kApplication: {
      if (!CreateHostWindow(s, host::WindowKind::kTopLevel, host::kNoWindow, host::kNoWindow)) {
        return false;
      }
      host::WindowSpec client;
      client.kind = host::WindowKind::kMdiClient;
      client.parent = s.handle;
      client.class_name = "MDIClient";
      client.background = host::Color{171, 171, 171};
      client.rect = host::ClientRect(s.handle);
      s.client = host::CreateWindow(client);
      if (s.client == host::kNoWindow) return false;
      application_frame = &s;
      internal::NoteFrameWindow(s.handle);
      return true;
    }
    case StructureKind::kMdi:
      return CreateHostWindow(s, host::WindowKind::kMdiChild, application_frame->client,
                              host::kNoWindow);
    default: {
      host::WindowId owner = OwnerFor();
      return CreateHostWindow(s, owner ? host::WindowKind::kPopup : host::WindowKind::kTopLevel,
                              host::kNoWindow, owner);
    }
  }
}

}  // namespace

Structure::Structure(StructureKind kind, std::string label, std::string module, UseTable use_table)
    : kind_(kind),
      label_(std::move(label)),
      module_(std::move(module)),
      use_table_(std::move(use_table)) {}

Structure::~Structure() {
  if (is_open()) Close(*this);
}

Control* Structure::Find(int equate) {
  if (equate == 0) return nullptr;
  for (auto& c : controls) {
    if (c->equate == equate) return c.get();
  }
  return nullptr;
}

const UseVariable* Structure::UseOf(int field) const {
  const UseBinding* binding = FindUse(use_table_, field);
  return binding ? &binding->variable : nullptr;
}

namespace {
// A table that does not fit the definition is refused before anything is built.
bool CheckUseTable(const Structure& s) {
  std::string mismatch = MismatchOf(s.definition, s.use_table());
  if (mismatch.empty()) return true;
  FatalRuntimeError(runtime_error::kInternalError01,
                    RuntimeMessage(runtime_error::kInternalError01) + " (" + mismatch + ")");
  return false;
}
}  // namespace

void Structure::Queue(int code, Control* control) {
  EventRecord record;
  record.message = static_cast<uint32_t>(code) + kEventBase;
  record.control = control;
  record.key_code = last_key_code;
  queue.push_back(record);
  if (handle != host::kNoWindow) host::PostMessage(handle, kWakeMessage);
}

int Structure::QueuedCount(int code) const {
  return static_cast<int>(std::count_if(queue.begin(), queue.end(),
                                        [code](const EventRecord& r) { return r.code() == code; }));
}

namespace {

// Clears what a previous opening of this structure left behind.
void ResetRunState(Structure& s) {
  s.class_number = next_class_number++;
  s.thread = host::CurrentThreadId();
  s.closing = false;
  s.accept_all = false;
  s.queue.clear();
  s.current.reset();
  s.default_button = nullptr;
  s.selection_target = nullptr;
  s.scroll = host::Point{};
  s.thumb_drag = Structure::ThumbDrag{};
}

// Creates the native window and its controls; on failure nothing of it is left open.
bool CreateWithControls(Structure& s) {
  if (!CreateForKind(s)) {
    if (s.handle) host::DestroyWindow(s.handle);
    s.handle = s.client = host::kNoWindow;
    FatalRuntimeError(OpenFailureCode(s.kind()));
    return false;
  }
  internal::PushWindow(&s);
  internal::NoteOpen(&s, true);
  s.build_failed = false;
  internal::PrepareFrameParts(s);
  BuildControls(s);
  if (s.build_failed) {
    Close(s);
    return false;
  }
  return true;
}

// Places the window at its designed size, activates it and focuses its first tab stop.
void PlaceAndActivate(Structure& s) {
  bool mdi = s.kind() == StructureKind::kMdi;
  host::Size designed = ClientSize(s);
  designed.height -= internal::PartsAbove(s) + internal::PartsBelow(s);
  internal::StartResizeLayout(s, designed);
  Place(s, mdi ? host::ClientRect(application_frame->client) : host::ScreenWorkArea(), !mdi);
  internal::LayoutFrame(s);
  if (mdi) {
    ++open_mdi_windows;
    internal::NoteMdiOpened(&s);
  }
  if (s.kind() == StructureKind::kWindow && (s.frame_attr & frame_bit::kModal)) RaiseModal();
  s.Queue(event::kOpenWindow, nullptr);
  ShowOpened(s);
  if (mdi) {
    host::MdiActivate(s.handle);
  } else {
    host::SetActiveWindow(s.handle);
  }
  SetTimer(s);
  for (auto& c : s.controls) {
    if (c->handle && (host::StyleOf(c->handle) & host::style::kTabStop) && c->IsVisible() &&
        c->IsEnabled()) {
      internal::Focus(*c);
      break;
    }
  }
}

}  // namespace

bool Open(Structure& s) {
  if (!CheckOpenRules(s)) return false;
  DefinitionLoader& loader = SharedDefinitionLoader();
  const bool loaded = loader.Open(s.module(), s.label()) == DefinitionError::kOk;
  // Reports are opened by the report engine; here only their definition is checked.
  if (s.kind() == StructureKind::kReport || !loaded) return loaded;
  TakeDefinition(s, loader.structure());
  if (!CheckUseTable(s)) return false;
  ResetRunState(s);
  if (!CreateWithControls(s)) return false;
  PlaceAndActivate(s);
  return true;
}

bool Close(Structure& s) {
  if (!s.is_open()) return FatalRuntimeError(runtime_error::kWindowNotOpen), false;
  host::WindowId handle = s.handle;
  internal::NoteOpen(&s, false);
  internal::ReleaseFrameParts(s);
  host::ShowWindow(handle, host::ShowState::kHidden);
  host::RemoveMessages(handle, kWakeMessage);
  s.queue.clear();
  s.current.reset();
  host::KillTimer(handle, kTimerId);
  if (s.kind() == StructureKind::kMdi) {
    --open_mdi_windows;
    internal::NoteMdiClosed(&s);
  }
  if (s.kind() == StructureKind::kWindow && (s.frame_attr & frame_bit::kModal)) LowerModal();
  host::DestroyWindow(handle);
  s.handle = s.client = host::kNoWindow;
  s.controls.clear();
  s.default_button = nullptr;
  s.selection_target = nullptr;
  s.accept_all_checking = nullptr;
  s.class_number = 0;
  s.closing = false;
  s.accept_all = false;
  if (application_frame == &s) {
    application_frame = nullptr;
    internal::NoteFrameWindow(host::kNoWindow);
  }
  internal::RemoveWindow(&s);
  return true;
}

namespace internal {
Structure* ApplicationFrame() {
  return application_frame;
}

void ApplyTimer(Structure& s) {
  if (s.is_open()) SetTimer(s);
}
}  // namespace internal

}  // namespace carelog::window
