// A 100-page report of detail bands (a text, a line and a box each, ten bands a page) through
// the report engine, against the same pages drawn straight through Cairo and Pango into a PDF:
//   - printed directly to the PDF printer;
//   - recorded into page files (preview);
//   - page files played onto the PDF printer (print pages);
//   - the hand-written Cairo peer.
// Each reports pages per second.
#include <benchmark/benchmark.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "runtime/report/report.h"
#include "runtime/window/definition_writer.h"
#include "runtime/window/resource_registry.h"
#include "tools/defc/text_parser.h"

namespace {

using namespace carelog;

constexpr int kPages = 100, kBandsPerPage = 10;
constexpr const char* kModule = "bench.cpp$rptbench";

constexpr const char* kDefinition = R"(module "bench.cpp$rptbench"
report "VISITS$REPORT"
  units inch1000
  at 500 500 7500 10000
  font "Arial" 10
  title "Visits"
  detail id 2 at 0 0 7500 1000
    varstring @s40 id 10 at 100 100 4000 200 use string 40
    line at 0 950 7500 0
    box at 4500 100 2800 700 fill 0xE0E0E0
  end
end
)";

struct Definitions {
  std::vector<uint8_t> body;
  window::ResourceRecord record{};
  window::ResourceModule module{};
  Definitions() {
    window::Module m;
    defc::ParseError error;
    std::string why;
    if (!defc::ParseModule(kDefinition, &m, &error) || !window::EncodeModule(m, &body, &why)) std::abort();
    record = window::ResourceRecord{"DABDUMP", "rptbench_RSC", body.data(), body.size()};
    module = window::ResourceModule{"report bench", &record, 1};
    window::AddResourceModule(&module);
  }
};

std::string Output() { return (std::filesystem::temp_directory_path() / "carelog-bench-report.pdf").string(); }

std::string Patient(int band) { return "Anderson, Mary - skilled nursing visit " + std::to_string(band); }

// Runs the report once; in preview mode the queue is returned.
report::PreviewQueue RunReport(bool preview) {
  static Definitions definitions;
  char name[40];
  window::Structure s(window::StructureKind::kReport, "VISITS$REPORT", kModule,
                      window::UseTable{window::use::String(10, name)});
  report::ReportOptions options;
  options.preview = preview;
  report::SetReportOptions(s, options);
  report::OpenReport(s);
  for (int band = 0; band < kPages * kBandsPerPage; ++band) {
    std::string text = Patient(band);
    std::memset(name, ' ', sizeof name);
    std::memcpy(name, text.data(), std::min(text.size(), sizeof name));
    report::PrintBand(s, 2);
  }
  report::CloseReport(s);
  return report::TakePreviewQueue(s);
}

void Prepare() {
  static bool done = [] {
    report::SetPrinter("PDF");
    report::SetPrintOutput(Output());
    return true;
  }();
  (void)done;
}

void BM_ReportToPdf(benchmark::State& state) {
  Prepare();
  for (auto _ : state) RunReport(false);
  state.SetItemsProcessed(state.iterations() * kPages);
}

void BM_ReportToPageFiles(benchmark::State& state) {
  Prepare();
  for (auto _ : state) {
    report::PreviewQueue queue = RunReport(true);
    state.PauseTiming();
    report::FreePreviewQueue(&queue);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kPages);
}

void BM_PageFilesToPdf(benchmark::State& state) {
  Prepare();
  report::PreviewQueue queue = RunReport(true);
  for (auto _ : state) {
    std::string error;
    report::PrintPages(queue, "Visits", &error);
  }
  report::FreePreviewQueue(&queue);
  state.SetItemsProcessed(state.iterations() * kPages);
}

// The same pages by hand: one PDF surface, one reused layout, coordinates in printer pixels
// at 300 per inch as the engine uses them.
void BM_CairoPeer(benchmark::State& state) {
  const double scale = 72.0 / 300;
  for (auto _ : state) {
    cairo_surface_t* surface = cairo_pdf_surface_create(Output().c_str(), 612, 792);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* font = pango_font_description_from_string("Liberation Sans 10");
    pango_font_description_set_absolute_size(font, 42 * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    for (int page = 0; page < kPages; ++page) {
      for (int b = 0; b < kBandsPerPage; ++b) {
        double top = 150 + b * 300;
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_move_to(cr, 180, top + 30);
        std::string text = Patient(page * kBandsPerPage + b);
        pango_layout_set_text(layout, text.c_str(), -1);
        pango_cairo_show_layout(cr, layout);
        cairo_set_line_width(cr, 2);
        cairo_move_to(cr, 150, top + 286);
        cairo_line_to(cr, 2400, top + 286);
        cairo_stroke(cr);
        cairo_rectangle(cr, 1500, top + 30, 840, 210);
        cairo_set_source_rgb(cr, 0.88, 0.88, 0.88);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_stroke(cr);
      }
      cairo_show_page(cr);
    }
    pango_font_description_free(font);
    g_object_unref(layout);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    cairo_surface_destroy(surface);
  }
  state.SetItemsProcessed(state.iterations() * kPages);
}

BENCHMARK(BM_ReportToPdf)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_ReportToPageFiles)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_PageFilesToPdf)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_CairoPeer)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

BENCHMARK_MAIN();
