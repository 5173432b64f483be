// The list control against hand-written peers in the same run:
//   - painting a full page of 20 rows in the nine columns of the patient select browse (with
//     header, borders and selection bar) through the list control, against the same page drawn
//     straight through Cairo and Pango with one reused layout per column; both format every
//     cell through its picture;
//   - the time from a Down key on the last row of a page-loaded list to EVENT:ScrollDown
//     reaching the procedure's loop on its own thread.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "runtime/host/display.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/values/picture.h"
#include "runtime/window/control_classes.h"
#include "runtime/window/definition_writer.h"
#include "runtime/window/list_state.h"
#include "runtime/window/properties.h"
#include "runtime/window/resource_registry.h"
#include "runtime/window/threads.h"
#include "runtime/window/window_runtime.h"

namespace {

using namespace carelog;          // NOLINT
using namespace carelog::window;  // NOLINT

constexpr int kRows = 20;
constexpr const char* kFormat =
    "56R|M~Patient Number~@n-13@60L|M~Agency~@s20@90L|M~Name~@s30@60L|M~First Name~@s20@"
    "60L|M~Last Name~@s20@56L|M~SOC~@d1@50L|M~Frequency~@s10@50L|M~DX~@s10@24C|M~Sex~@s1@";

struct Column {
  int width;
  bool right;
  const char* header;
  const char* picture;
};
constexpr Column kColumns[] = {{56, true, "Patient Number", "@n-13"},
                               {60, false, "Agency", "@s20"},
                               {90, false, "Name", "@s30"},
                               {60, false, "First Name", "@s20"},
                               {60, false, "Last Name", "@s20"},
                               {56, false, "SOC", "@d1"},
                               {50, false, "Frequency", "@s10"},
                               {50, false, "DX", "@s10"},
                               {24, false, "Sex", "@s1"}};

ListQueue Page() {
  ListQueue q;
  for (int r = 0; r < kRows; ++r) {
    std::string n = std::to_string(r + 1);
    q.push_back(ListRecord{{ListField::Number(80100 + r), ListField::Text("Home Health " + n),
                            ListField::Text("Anderson, Mary " + n), ListField::Text("Mary"),
                            ListField::Text("Anderson"), ListField::Number(82000 + r),
                            ListField::Text("3W4"), ListField::Text("428.0"),
                            ListField::Text(r % 2 ? "F" : "M"), ListField::Text("position")}});
  }
  return q;
}

host::FontSpec Font() {
  host::FontSpec font;
  font.face = "MS Sans Serif";
  font.points = 8;
  return font;
}

void BM_PageThroughListControl(benchmark::State& state) {
  Control list;
  list.kind = kKindList;
  list.cls = &kListClass;
  list.attr = list_attr::kPageLoaded | 3;
  list.font = Font();
  SetListFormat(list, kFormat);
  ListQueue page = Page();
  SetListQueue(list, &page);
  SelectListRow(list, 5);
  list.pixels = host::Rect{0, 0, 520, 400};
  int header = ListOf(list).format.header_height, row = ListLayout(list).row_height;
  list.pixels = host::Rect{0, 0, 520, 2 + header + kRows * row};
  auto surface = host::Surface::Create(list.pixels.Width(), list.pixels.Height());
  host::DeviceContext dc(surface);
  for (auto _ : state) {
    ListPaint(list, dc, true);
    benchmark::DoNotOptimize(surface->Data());
  }
  state.counters["rows"] = VisibleListRows(list);
  SetListQueue(list, nullptr);
}
BENCHMARK(BM_PageThroughListControl)->Unit(benchmark::kMicrosecond);

std::string Cell(const ListField& f, const char* picture) {
  std::string out =
      f.is_text ? values::FormatText(f.text, picture) : values::Format(f.number, picture);
  size_t b = out.find_first_not_of(' '), e = out.find_last_not_of(' ');
  return b == std::string::npos ? std::string() : out.substr(b, e - b + 1);
}

constexpr int kRowHeight = 19, kHeader = 19, kWidth = 520;
constexpr int kPageHeight = 2 + kHeader + kRows * kRowHeight;

// One ellipsizing layout per column, in the cell font or the header's semibold one.
std::vector<PangoLayout*> ColumnLayouts(cairo_t* cr, const PangoFontDescription* font) {
  std::vector<PangoLayout*> layouts;
  for (const Column& c : kColumns) {
    PangoLayout* l = pango_cairo_create_layout(cr);
    pango_layout_set_font_description(l, font);
    pango_layout_set_ellipsize(l, PANGO_ELLIPSIZE_END);
    pango_layout_set_width(l, (c.width - 6) * PANGO_SCALE);
    pango_layout_set_alignment(l, c.right ? PANGO_ALIGN_RIGHT : PANGO_ALIGN_LEFT);
    layouts.push_back(l);
  }
  return layouts;
}

void ShowText(cairo_t* cr, PangoLayout* l, const std::string& text, int x, int y, int h) {
  pango_layout_set_text(l, text.c_str(), static_cast<int>(text.size()));
  int w, th;
  pango_layout_get_pixel_size(l, &w, &th);
  cairo_move_to(cr, x + 3, y + (h - th) / 2);
  pango_cairo_show_layout(cr, l);
}

// What the list control paints for one page: background, header, the selected fifth row,
// every cell and the column rules.
void PaintPage(cairo_t* cr, const ListQueue& page, const std::vector<PangoLayout*>& cells,
               const std::vector<PangoLayout*>& headers) {
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0.97, 0.97, 0.97);
  cairo_rectangle(cr, 1, 1, kWidth - 2, kHeader);
  cairo_fill(cr);
  cairo_set_source_rgb(cr, 0, 0.37, 0.72);
  cairo_rectangle(cr, 1, 1 + kHeader + 4 * kRowHeight, kWidth - 2, kRowHeight);
  cairo_fill(cr);
  int x = 1;
  for (size_t c = 0; c < std::size(kColumns); ++c) {
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    ShowText(cr, headers[c], kColumns[c].header, x, 1, kHeader);
    for (int r = 0; r < kRows; ++r) {
      if (r == 4)
        cairo_set_source_rgb(cr, 1, 1, 1);
      else
        cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
      ShowText(cr, cells[c], Cell(page[static_cast<size_t>(r)].fields[c], kColumns[c].picture), x,
               1 + kHeader + r * kRowHeight, kRowHeight);
    }
    x += kColumns[c].width;
    cairo_set_source_rgb(cr, 0.87, 0.87, 0.87);
    cairo_rectangle(cr, x - 1, 1, 1, kPageHeight - 2);
    cairo_fill(cr);
  }
}

void BM_PageThroughCairoDirectly(benchmark::State& state) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kPageHeight);
  cairo_t* cr = cairo_create(surface);
  PangoFontDescription* desc = pango_font_description_from_string("Liberation Sans");
  pango_font_description_set_absolute_size(desc, 11 * PANGO_SCALE);
  PangoFontDescription* bold = pango_font_description_copy(desc);
  pango_font_description_set_weight(bold, PANGO_WEIGHT_SEMIBOLD);
  std::vector<PangoLayout*> cells = ColumnLayouts(cr, desc);
  std::vector<PangoLayout*> headers = ColumnLayouts(cr, bold);
  ListQueue page = Page();
  for (auto _ : state) {
    PaintPage(cr, page, cells, headers);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
  }
  for (PangoLayout* l : cells) g_object_unref(l);
  for (PangoLayout* l : headers) g_object_unref(l);
  pango_font_description_free(desc);
  pango_font_description_free(bold);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}
BENCHMARK(BM_PageThroughCairoDirectly)->Unit(benchmark::kMicrosecond);

// A program whose procedure shows a page-loaded list on its last row and counts the
// EVENT:ScrollDown it sees.
class KeyToEvent {
 public:
  KeyToEvent() {
    Entry list;
    list.kind = kKindList;
    list.id = 1;
    list.attr = 0x803;
    list.at = window::Rect{0, 0, 300, 200};
    list.strings[Field::kFormat] = kFormat;
    Entry w;
    w.kind = kKindWindow;
    w.attr = 0x300;
    w.at = window::Rect{0, 0, 320, 220};
    w.strings[Field::kLabel] = "BENCH$WINDOW";
    w.children = {list};
    std::string error;
    EncodeModule(Module{"bench.cpp$list", {w}}, &body_, &error);
    record_ = ResourceRecord{"DABDUMP", "list_RSC", body_.data(), body_.size()};
    module_ = ResourceModule{"list bench", &record_, 1};
    AddResourceModule(&module_);
    host::StartDisplay(host::DisplayChoice::kHeadless, &error);
    thread_ = std::thread([this] { RunProgram([this] { Procedure(); }); });
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return list_window_ != host::kNoWindow; });
  }
  ~KeyToEvent() {
    host::PostMessage(list_window_, host::msg::kKeyDown, host::key::kEscape, 0);
    thread_.join();
    RemoveResourceModule(&module_);
  }
  // Presses Down and waits until the procedure has seen the event.
  void PressDown() {
    long before = seen_.load();
    host::PostMessage(list_window_, host::msg::kKeyDown, host::key::kDown, 0);
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return seen_.load() != before; });
  }

 private:
  void Procedure() {
    Structure w(StructureKind::kWindow, "BENCH$WINDOW", "bench.cpp$list", {});
    if (!Open(w)) return;
    ListQueue page = Page();
    SetListQueue(1, &page);
    SetProperty(1, prop::kSelected, std::to_string(kRows));
    SetProperty(0, prop::kAlertKey, std::to_string(host::key::kEscape), 1);  // ends the run
    {
      std::lock_guard<std::mutex> lock(mutex_);
      list_window_ = w.Find(1)->handle;
    }
    changed_.notify_all();
    while (Accept()) {
      if (Event() == event::kScrollDown) {
        std::lock_guard<std::mutex> lock(mutex_);
        ++seen_;
        changed_.notify_all();
      }
      if (Event() == event::kAlertKey) break;
    }
    SetListQueue(1, nullptr);
    Close(w);
  }

  std::vector<uint8_t> body_;
  ResourceRecord record_{};
  ResourceModule module_{};
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  host::WindowId list_window_ = host::kNoWindow;
  std::atomic<long> seen_{0};
};

void BM_DownKeyToScrollDown(benchmark::State& state) {
  KeyToEvent program;
  for (auto _ : state) program.PressDown();
}
BENCHMARK(BM_DownKeyToScrollDown)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
