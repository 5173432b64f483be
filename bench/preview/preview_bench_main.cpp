// A page change in the report preview: from the new page's file to the page painted in its
// display, for the single display and for the facing pair, on a full HCFA-485 plan of care
// (the program's own PRINT485 layout, every field filled), against a preview that would keep
// every page rendered and only copy its bitmap (the peer).
//
// A page change repaints the display: the page file is read, its records played into the
// display's rectangle, fitted with its aspect. Displays are the preview window's, in pixels.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/host/graphics.h"
#include "runtime/report/metafile.h"
#include "runtime/report/page_image.h"
#include "runtime/report/report.h"
#include "runtime/window/definition_writer.h"
#include "runtime/window/resource_registry.h"
#include "runtime/window/use_table.h"
#include "tools/defc/text_parser.h"

namespace {

using namespace carelog;

constexpr int kDisplayWidth = 294, kDisplayHeight = 446;  // one page display of the preview
constexpr int32_t kSomeDay = 82046;                       // 16 August 2025

struct Layout {
  window::Module module;
  std::vector<uint8_t> body;
  window::ResourceRecord record{};
  window::ResourceModule resources{};
};

// The plan-of-care report as the program defines it.
Layout& PlanOfCare() {
  static Layout* layout = [] {
    auto* l = new Layout;
    std::ifstream in(std::string(CARELOG_SOURCE_DIR) + "/app/windows/carlg053.def");
    std::stringstream text;
    text << in.rdbuf();
    defc::ParseError error;
    std::string why;
    if (!defc::ParseModule(text.str(), &l->module, &error) ||
        !window::EncodeModule(l->module, &l->body, &why)) {
      std::abort();
    }
    std::string_view id = l->module.identifier;
    static std::string name = std::string(id.substr(id.find('$') + 1)) + "_RSC";
    l->record = window::ResourceRecord{"DABDUMP", name.c_str(), l->body.data(), l->body.size()};
    l->resources = window::ResourceModule{"preview bench", &l->record, 1};
    window::AddResourceModule(&l->resources);
    return l;
  }();
  return *layout;
}

// A filled value for every field of the band: texts as long as their field, dates, and every
// check box ticked.
void BindEverything(const window::Entry& entry, std::vector<std::unique_ptr<char[]>>* values,
                    window::UseTable* table) {
  for (const window::Entry& child : entry.children) BindEverything(child, values, table);
  if (!entry.use || entry.use->size == 0) return;
  const window::UseType use = *entry.use;
  values->push_back(std::make_unique<char[]>(use.size + 8));
  char* value = values->back().get();
  if (use.type == window::use_type::kString) {
    static const char kText[] = "Skilled nursing 2-3x/wk: assess cardiopulmonary status, teach ";
    for (uint32_t i = 0; i < use.size; ++i) value[i] = kText[i % (sizeof kText - 1)];
  } else if (use.type == window::use_type::kLong) {
    std::memcpy(value, &kSomeDay, sizeof kSomeDay);
  } else {
    value[0] = 1;
  }
  table->push_back(window::use::Of(entry.id, use.type, value, use.size));
}

// Two full pages of the plan of care recorded as page files.
const report::PreviewQueue& Pages() {
  static report::PreviewQueue queue = [] {
    const window::Entry& definition = PlanOfCare().module.structures.front();
    std::vector<std::unique_ptr<char[]>> values;
    window::UseTable table;
    BindEverything(definition, &values, &table);
    window::Structure s(window::StructureKind::kReport, "PRINT485$REPORT",
                        PlanOfCare().module.identifier.c_str(), table);
    report::SetReportOptions(s, report::ReportOptions{.preview = true});
    if (!report::OpenReport(s)) std::abort();
    report::PrintBand(s, 100);
    report::PrintBand(s, 100);
    report::CloseReport(s);
    return report::TakePreviewQueue(s);
  }();
  return queue;
}

// What the image control does for a page: read the file, play it fitted into the display.
void PaintPage(const std::string& file, host::DeviceContext& dc, const host::Rect& display) {
  report::DrawList page;
  report::PageFrame frame;
  std::string error;
  if (!report::ReadPageFile(file, &page, &frame, &error)) std::abort();
  host::Rect target = report::FittedPage(frame.width, frame.height, display);
  dc.FillRect(display, host::Color{160, 160, 160});
  dc.FillRect(target, host::Color{255, 255, 255});
  page.Play(dc, report::TransformInto(frame, target));
}

const host::Rect kLeft = host::Rect::FromSize(0, 0, kDisplayWidth, kDisplayHeight);
const host::Rect kRight =
    host::Rect::FromSize(kDisplayWidth + 10, 0, kDisplayWidth, kDisplayHeight);

void BM_PageChangeSingle(benchmark::State& state) {
  const report::PreviewQueue& pages = Pages();
  auto surface = host::Surface::Create(2 * kDisplayWidth + 10, kDisplayHeight);
  host::DeviceContext dc(surface);
  size_t next = 0;
  for (auto _ : state) PaintPage(pages[next++ % pages.size()], dc, kLeft);
  state.SetItemsProcessed(state.iterations());
}

void BM_PageChangeFacing(benchmark::State& state) {
  const report::PreviewQueue& pages = Pages();
  auto surface = host::Surface::Create(2 * kDisplayWidth + 10, kDisplayHeight);
  host::DeviceContext dc(surface);
  for (auto _ : state) {
    PaintPage(pages[0], dc, kLeft);
    PaintPage(pages[1], dc, kRight);
  }
  state.SetItemsProcessed(state.iterations());
}

// The peer: every page already rendered at the display's size, a page change copies it.
void BM_PeerCachedBitmap(benchmark::State& state) {
  const report::PreviewQueue& pages = Pages();
  std::vector<std::shared_ptr<host::Surface>> rendered;
  for (const std::string& file : pages) {
    rendered.push_back(host::Surface::Create(kDisplayWidth, kDisplayHeight));
    host::DeviceContext page_dc(rendered.back());
    PaintPage(file, page_dc, host::Rect::FromSize(0, 0, kDisplayWidth, kDisplayHeight));
  }
  auto surface = host::Surface::Create(2 * kDisplayWidth + 10, kDisplayHeight);
  host::DeviceContext dc(surface);
  size_t next = 0;
  for (auto _ : state) dc.DrawBitmap(*rendered[next++ % rendered.size()], kLeft);
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_PageChangeSingle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageChangeFacing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeerCachedBitmap)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  // CARELOG_BENCH_PAGE=FILE.png keeps a picture of the page benchmarked, to look at.
  if (const char* picture = std::getenv("CARELOG_BENCH_PAGE")) {
    auto surface = host::Surface::Create(4 * kDisplayWidth, 4 * kDisplayHeight);
    host::DeviceContext dc(surface);
    PaintPage(Pages().front(), dc,
              host::Rect::FromSize(0, 0, 4 * kDisplayWidth, 4 * kDisplayHeight));
    surface->SavePng(picture);
  }
  benchmark::RunSpecifiedBenchmarks();
  report::PreviewQueue pages = Pages();
  report::FreePreviewQueue(&pages);
  benchmark::Shutdown();
  return 0;
}
