// The preview window driven by PreviewModel: every event goes through one table of
// (event, control, handler); after each handled event the model's view is copied onto the
// controls. Page displays are hidden or shown as groups of frame, image and click region.
#include "app/report_preview.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "app/procedure_catalogue.h"
#include "app/procedure_frame.h"
#include "app/procedure_globals.h"
#include "app/report_preview_model.h"
#include "runtime/report/page_image.h"
#include "runtime/window/events.h"
#include "runtime/window/image_painter.h"
#include "runtime/window/properties.h"
#include "runtime/window/use_table.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app {
namespace {

constexpr char kModule[] = "carelog.cpp$carlg_rd";
constexpr char kPreviewLabel[] = "REPORTPREVIEW$PREVIEWWINDOW";
constexpr char kJumpLabel[] = "REPORTPREVIEW$JUMPWINDOW";

// Controls of the preview window.
enum PreviewControl : int {
  kCancelItem = 1,
  kPrintItem = 2,
  kZoomItem = 3,
  kPreviousItem = 4,
  kNextItem = 5,
  kJumpItem = 6,
  kFacingItem = 7,
  kSingleRegion = 10,
  kLeftRegion = 13,
  kRightRegion = 16,
  kZoomImage = 18,
  kZoomRegion = 19,
};

// Controls of the jump window.
constexpr int kJumpEntry = 1;
constexpr int kJumpOk = 2;
constexpr int kJumpCancel = 3;

// Keys the window alerts (its definition lists them).
constexpr uint32_t kHomeKey = 0x24;
constexpr uint32_t kEndKey = 0x23;
constexpr uint32_t kLeftKey = 0x25;
constexpr uint32_t kUpKey = 0x26;
constexpr uint32_t kRightKey = 0x27;
constexpr uint32_t kDownKey = 0x28;

// The zoomed page is half as wide again as its display, so that its print reads as on paper;
// its scroll bars, the wheel and the arrow keys move it.
constexpr int kZoomPercent = 150;
constexpr int kScrollStep = 40;  // pixels per arrow key in the zoomed page

// A page display: its frame, image and click region, and the page of the view it shows.
struct PageDisplay {
  int frame, image, region;
  int PreviewView::*page;
};
constexpr PageDisplay kDisplays[] = {
    {8, 9, kSingleRegion, &PreviewView::single},
    {11, 12, kLeftRegion, &PreviewView::left},
    {14, 15, kRightRegion, &PreviewView::right},
    {17, kZoomImage, kZoomRegion, &PreviewView::zoom},
};

struct Preview {
  const report::PreviewQueue& pages;
  PreviewModel model;
  ProcedureFrame& frame;
};

thread_local const report::PreviewQueue* handed_queue = nullptr;

void SetFlag(int control, int property, bool on) {
  window::SetProperty(control, property, on ? "1" : "0");
}

void ShowDisplays(const PreviewView& view, const report::PreviewQueue& pages) {
  for (const PageDisplay& d : kDisplays) {
    int page = view.*d.page;
    bool shown = page >= 1 && static_cast<size_t>(page) <= pages.size();
    for (int control : {d.frame, d.image, d.region}) SetFlag(control, window::prop::kHide, !shown);
    const std::string& file = shown ? pages[static_cast<size_t>(page - 1)] : std::string();
    if (window::GetProperty(d.image, window::prop::kText) != file) {
      window::SetProperty(d.image, window::prop::kText, file);
    }
  }
}

void Show(Preview& p) {
  PreviewView view = p.model.Draw();
  ShowDisplays(view, p.pages);
  window::SetProperty(0, window::prop::kStatusText, view.zone2, 2);
  window::SetProperty(0, window::prop::kStatusText, view.zone3, 3);
  window::SetProperty(0, window::prop::kStatusText, view.zone4, 4);
  SetFlag(kPreviousItem, window::prop::kDisable, !view.previous_enabled);
  SetFlag(kNextItem, window::prop::kDisable, !view.next_enabled);
  SetFlag(kFacingItem, window::prop::kDisable, !view.facing_enabled);
  window::SetProperty(kZoomItem, window::prop::kText, view.zoom_text);
  window::SetProperty(kZoomItem, window::prop::kToolTip, view.zoom_tip);
  window::SetProperty(kFacingItem, window::prop::kText, view.facing_text);
  window::SetProperty(kFacingItem, window::prop::kToolTip, view.facing_tip);
}

// The jump window: the entry starts at `start`; OK takes the entered page, limited to
// 1..pages. False when the user cancelled.
bool AskForPage(int start, int pages, int* page) {
  int32_t entered = start;
  window::Structure jump(window::StructureKind::kWindow, kJumpLabel, kModule,
                         window::UseTable{window::use::Long(kJumpEntry, &entered)});
  if (!window::Open(jump)) return false;
  bool chosen = false;
  while (window::Accept()) {
    if (window::Event() != window::event::kAccepted) continue;
    if (window::Accepted() == kJumpOk) {
      chosen = true;
      window::Post(window::event::kCloseWindow);
    } else if (window::Accepted() == kJumpCancel) {
      window::Post(window::event::kCloseWindow);
    }
  }
  if (jump.is_open()) window::Close(jump);
  *page = std::clamp<int>(entered, 1, pages);
  return chosen;
}

void Jump(Preview& p) {
  int page = 0;
  if (AskForPage(p.model.JumpStart(), p.model.pages(), &page)) p.model.JumpTo(page);
}

void Close(Preview&) {
  window::Post(window::event::kCloseWindow);
}

void Print(Preview& p) {
  p.frame.local_response = kRespCompleted;
  window::Post(window::event::kCloseWindow);
}

// Moves the zoomed page; the painter keeps the position within the page.
void ScrollZoom(int property, int step) {
  int64_t now = std::atoll(window::GetProperty(kZoomImage, property).c_str());
  window::SetProperty(kZoomImage, property, std::to_string(now + step));
}

struct ScrollKey {
  uint32_t key;
  int property, step;
};
constexpr ScrollKey kScrollKeys[] = {
    {kUpKey, window::kImageScrollY, -kScrollStep},
    {kDownKey, window::kImageScrollY, kScrollStep},
    {kLeftKey, window::kImageScrollX, -kScrollStep},
    {kRightKey, window::kImageScrollX, kScrollStep},
};

void AlertKey(Preview& p) {
  uint32_t key = window::KeyCode() & 0xFF;
  if (key == kHomeKey) p.model.JumpTo(1);
  if (key == kEndKey) p.model.JumpTo(p.model.pages());
  if (p.model.mode() != PreviewMode::kZoom) return;
  for (const ScrollKey& k : kScrollKeys) {
    if (k.key == key) ScrollZoom(k.property, k.step);
  }
}

struct EventRow {
  int event;
  int control;  // 0: any control, or the window itself
  void (*handle)(Preview&);
};

constexpr EventRow kEvents[] = {
    {window::event::kAccepted, kCancelItem, &Close},
    {window::event::kAccepted, kPrintItem, &Print},
    {window::event::kAccepted, kZoomItem, [](Preview& p) { p.model.Zoom(); }},
    {window::event::kAccepted, kPreviousItem, [](Preview& p) { p.model.Previous(); }},
    {window::event::kAccepted, kNextItem, [](Preview& p) { p.model.Next(); }},
    {window::event::kAccepted, kJumpItem, &Jump},
    {window::event::kAccepted, kFacingItem, [](Preview& p) { p.model.Facing(); }},
    {window::event::kAccepted, kSingleRegion, [](Preview& p) { p.model.ClickPage(); }},
    {window::event::kAccepted, kRightRegion, [](Preview& p) { p.model.ClickPage(); }},
    {window::event::kAccepted, kZoomRegion, [](Preview& p) { p.model.ClickPage(); }},
    {window::event::kAccepted, kLeftRegion, [](Preview& p) { p.model.ClickLeft(); }},
    {window::event::kAlertKey, 0, &AlertKey},
};

const EventRow* RowFor(int event, int control) {
  for (const EventRow& row : kEvents) {
    if (row.event == event && (row.control == 0 || row.control == control)) return &row;
  }
  return nullptr;
}

void RunPreview(const report::PreviewQueue& pages) {
  window::Structure preview_window(window::StructureKind::kWindow, kPreviewLabel, kModule,
                                   window::UseTable{});
  const CatalogueRow* row = FindProcedure("REPORTPREVIEW");
  ProcedureFrame frame(preview_window, row && row->takes_default_font);
  if (pages.empty() || !frame.Open()) return frame.Return();
  Preview p{pages, PreviewModel(static_cast<int>(pages.size())), frame};
  window::SetProperty(kZoomImage, window::kImageZoom, std::to_string(kZoomPercent));
  Show(p);
  while (window::Accept()) {
    if (frame.TakeWindowEvent()) continue;
    int control =
        window::Event() == window::event::kAccepted ? window::Accepted() : window::Field();
    if (const EventRow* handler = RowFor(window::Event(), control)) {
      handler->handle(p);
      Show(p);
    }
  }
  frame.Return();
}

}  // namespace

int ReportPreview(const report::PreviewQueue& pages) {
  const report::PreviewQueue* previous = handed_queue;
  handed_queue = &pages;
  REPORTPREVIEW();
  handed_queue = previous;
  return ProcResponse;
}

void REPORTPREVIEW() {
  static const bool registered = [] {
    report::RegisterPageImages();
    return true;
  }();
  (void)registered;
  static const report::PreviewQueue kNothing;
  RunPreview(handed_queue ? *handed_queue : kNothing);
}

}  // namespace carelog::app
