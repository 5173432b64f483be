// The platform layer against hand-written peers in the same run:
//   - a 20-row, 6-column list of text drawn into an 800 x 600 surface through DeviceContext,
//     against Cairo and Pango drawing the same text directly with one reused layout;
//   - the round trip of a posted message between two threads through the message queues,
//     against a plain mutex and condition-variable hand-off.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <condition_variable>
#include <future>
#include <mutex>
#include <string>
#include <thread>

#include "runtime/host/graphics.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"

namespace {

using carelog::host::Color;
using carelog::host::DeviceContext;
using carelog::host::FontSpec;
using carelog::host::Rect;
using carelog::host::Surface;

constexpr int kRows = 20, kColumns = 6, kWidth = 800, kHeight = 600;
constexpr int kRowHeight = 24, kColumnWidth = kWidth / kColumns;

std::string CellText(int row, int column) {
  static const char* kWords[] = {"Anderson, Mary", "12/08/2026",     "Skilled nursing",
                                 "08:30",          "Visit complete", "RN Baker"};
  return std::string(kWords[column]) + " " + std::to_string(row + 1);
}

void BM_ListThroughDeviceContext(benchmark::State& state) {
  auto surface = Surface::Create(kWidth, kHeight);
  DeviceContext dc(surface);
  FontSpec font;
  font.face = "MS Sans Serif";
  font.points = 8;
  dc.SetFont(font);
  for (auto _ : state) {
    dc.FillRect(Rect{0, 0, kWidth, kHeight}, Color{255, 255, 255});
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kColumns; ++c) {
        Rect cell = Rect::FromSize(c * kColumnWidth, r * kRowHeight, kColumnWidth, kRowHeight);
        dc.DrawText(Rect{cell.left + 2, cell.top, cell.right - 2, cell.bottom}, CellText(r, c),
                    carelog::host::text::kVCenter | carelog::host::text::kEndEllipsis);
      }
    }
    benchmark::DoNotOptimize(surface->Data());
  }
  state.SetItemsProcessed(state.iterations() * kRows * kColumns);
}
BENCHMARK(BM_ListThroughDeviceContext)->Unit(benchmark::kMicrosecond);

void BM_ListThroughCairoDirectly(benchmark::State& state) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* desc = pango_font_description_from_string("Liberation Sans");
  pango_font_description_set_absolute_size(desc, 11 * PANGO_SCALE);
  pango_layout_set_font_description(layout, desc);
  pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
  pango_layout_set_width(layout, (kColumnWidth - 4) * PANGO_SCALE);
  for (auto _ : state) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kColumns; ++c) {
        std::string text = CellText(r, c);
        pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
        int w, h;
        pango_layout_get_pixel_size(layout, &w, &h);
        cairo_move_to(cr, c * kColumnWidth + 2, r * kRowHeight + (kRowHeight - h) / 2);
        pango_cairo_show_layout(cr, layout);
      }
    }
    cairo_surface_flush(surface);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
  }
  state.SetItemsProcessed(state.iterations() * kRows * kColumns);
  pango_font_description_free(desc);
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}
BENCHMARK(BM_ListThroughCairoDirectly)->Unit(benchmark::kMicrosecond);

constexpr uint32_t kPing = carelog::host::msg::kFirstPrivate + 1;
constexpr uint32_t kPong = carelog::host::msg::kFirstPrivate + 2;
constexpr uint32_t kStop = carelog::host::msg::kFirstPrivate + 3;

void BM_PostedRoundTrip(benchmark::State& state) {
  using namespace carelog::host;
  ThreadId me = CurrentThreadId();
  std::promise<WindowId> created;
  std::thread echo([&] {
    WindowSpec spec;
    spec.style = 0;
    spec.proc = [me](const Message& m) -> int64_t {
      if (m.number == kPing) PostThreadMessage(me, kPong, m.wparam);
      return 0;
    };
    WindowId w = CreateWindow(spec);
    created.set_value(w);
    Message m;
    while (GetMessage(&m) && m.number != kStop) DispatchMessage(m);
    DestroyWindow(w);
  });
  WindowId window = created.get_future().get();
  uint64_t n = 0;
  for (auto _ : state) {
    PostMessage(window, kPing, ++n);
    Message m;
    while (GetMessage(&m) && m.number != kPong) {
    }
  }
  PostMessage(window, kStop);
  echo.join();
}
BENCHMARK(BM_PostedRoundTrip)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_ConditionVariableRoundTrip(benchmark::State& state) {
  std::mutex mutex;
  std::condition_variable cv;
  uint64_t ping = 0, pong = 0;
  bool stop = false;
  std::thread echo([&] {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
      cv.wait(lock, [&] { return stop || ping != pong; });
      if (stop) return;
      pong = ping;
      cv.notify_all();
    }
  });
  for (auto _ : state) {
    std::unique_lock<std::mutex> lock(mutex);
    ++ping;
    cv.notify_all();
    cv.wait(lock, [&] { return pong == ping; });
  }
  {
    std::lock_guard<std::mutex> lock(mutex);
    stop = true;
  }
  cv.notify_all();
  echo.join();
}
BENCHMARK(BM_ConditionVariableRoundTrip)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
