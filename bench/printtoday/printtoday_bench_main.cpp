// PRINTTODAY of 200 progress notes of one day to the PDF printer through the report pattern (its
// progress window, timer cycles of 25 records, the view, the patient lookup and the bands), with
// the longest gap between two repaints of the progress window during the run. The peer in the
// same run draws the same 200 pages straight through Cairo and Pango into a PDF: the run's pages
// are first recorded once, read back from their page files and then drawn by hand, so the peer
// is the cost of the drawing alone.
//
// Usage: bench_printtoday [repetitions]
#include <cairo-pdf.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/data/dictionary.h"
#include "app/data/records.h"
#include "app/patterns/report_table.h"
#include "app/procedures/report_procedures.h"
#include "runtime/host/printing.h"
#include "runtime/report/metafile.h"
#include "runtime/report/report.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "runtime/store/table_ops.h"
#include "runtime/window/window_testing.h"
#include "tools/carelog-sample/sample_data.h"

namespace carelog::app {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kNotes = 200;
constexpr int32_t kDay = 80000;  // no sample note is on this day

int32_t TheDay(int32_t) {
  return kDay;
}

// Repaints happen between timer cycles: the first band of each cycle follows one.
Clock::time_point g_last_cycle;
double g_longest_gap_ms = 0;
int g_bands = 0;
void TimeTheCycles() {
  if (g_bands++ % kRecordsPerCycle != 0) return;
  Clock::time_point now = Clock::now();
  if (g_bands > 1) {
    g_longest_gap_ms = std::max(
        g_longest_gap_ms, std::chrono::duration<double, std::milli>(now - g_last_cycle).count());
  }
  g_last_cycle = now;
}

void RunAsProgram(const std::function<void()>& body) {
  window::testing::Program program([&] {
    store::Open(appdata::ProgressNotesFile(), 0x42);
    store::Open(appdata::PatientsFile(), 0x42);
    body();
    store::Close(appdata::PatientsFile());
    store::Close(appdata::ProgressNotesFile());
  });
  program.Join();
}

void AddNotes() {
  RunAsProgram([] {
    store::FileDeclaration& notes = appdata::ProgressNotesFile();
    for (int i = 0; i < kNotes; ++i) {
      std::memset(notes.buffer, 0, notes.record_size);
      appdata::PRO.PATIENT_NUMBER = 1 + i % 20;
      appdata::PRO.DATE = kDay;
      appdata::PRO.RECORD_NO = 700000 + i;
      appdata::PRO.TIME_IN = 900001 + i * 100;
      appdata::PRO.TIME_OUT = 904501 + i * 100;
      std::memcpy(appdata::PRO.BOWEL_SOUNDS, "Active x4", 9);
      store::AssignMemo(notes, 1, "Blood sugars 110-180 per patient's log; diet reviewed.");
      if (store::Add(notes) != 0) std::abort();
    }
  });
}

// The recorded pages, read back before the run frees their page files.
std::vector<report::DrawList> g_pages;
int32_t KeepThePages(std::span<const std::string> files) {
  for (const std::string& file : files) {
    report::PageFrame frame;
    std::string error;
    g_pages.emplace_back();
    if (!report::ReadPageFile(file, &g_pages.back(), &frame, &error)) {
      std::fprintf(stderr, "%s: %s\n", file.c_str(), error.c_str());
    }
  }
  return 2;
}

// The recorded pages drawn by hand: text, lines and rectangles as the page files hold them.
void DrawByHand(const std::vector<report::DrawList>& pages, const std::string& path) {
  cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), 612, 792);
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, 72.0 / 300, 72.0 / 300);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_from_string("Liberation Sans 10");
  for (const report::DrawList& page : pages) {
    for (const report::DrawOp& op : page.ops()) {
      switch (op.code) {
        case report::DrawCode::kFont:
          pango_font_description_set_absolute_size(font, std::abs(op.font.height) * PANGO_SCALE);
          pango_font_description_set_weight(font, static_cast<PangoWeight>(op.font.weight));
          pango_layout_set_font_description(layout, font);
          break;
        case report::DrawCode::kText:
          cairo_move_to(cr, op.a, op.b);
          pango_layout_set_text(layout, op.text.c_str(), -1);
          pango_cairo_show_layout(cr, layout);
          break;
        case report::DrawCode::kLine:
          cairo_move_to(cr, op.a, op.b);
          cairo_line_to(cr, op.c, op.d);
          cairo_stroke(cr);
          break;
        case report::DrawCode::kRectangle:
          cairo_rectangle(cr, op.a, op.b, op.c - op.a, op.d - op.b);
          cairo_stroke(cr);
          break;
        default:
          break;
      }
    }
    cairo_show_page(cr);
  }
  pango_font_description_free(font);
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  cairo_surface_destroy(surface);
}

int Main(int repetitions) {
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "carelog-bench-today";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  std::filesystem::current_path(folder);
  store::RegisterTableOps(&store::StoredTables());
  sample::SampleCounts counts;
  std::string error;
  if (sample::WriteSampleData(sample::SampleOptions{20, 1}, &counts, &error) != 0) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  AddNotes();
  report::SetPrinter(host::kPdfPrinterName);
  report::SetPrintOutput((folder / "today.pdf").string());
  SetDayChooser(&TheDay);
  static ReportTable timed = kPrinttoday;
  timed.hooks.prepare = &TimeTheCycles;

  double best_run = 1e9, longest_gap = 0;
  for (int r = 0; r < repetitions; ++r) {
    g_bands = 0;
    g_longest_gap_ms = 0;
    Clock::time_point start = Clock::now();
    RunAsProgram([] { RunReport(timed); });
    best_run =
        std::min(best_run, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    longest_gap = std::max(longest_gap, g_longest_gap_ms);
    if (g_bands != kNotes) std::fprintf(stderr, "printed %d bands\n", g_bands);
  }

  SetReportPreview(&KeepThePages);
  RunAsProgram([] { RunReport(kPrinttoday); });
  const std::vector<report::DrawList>& pages = g_pages;
  double best_peer = 1e9;
  for (int r = 0; r < repetitions; ++r) {
    Clock::time_point start = Clock::now();
    DrawByHand(pages, (folder / "peer.pdf").string());
    best_peer = std::min(best_peer,
                         std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::printf("PRINTTODAY, %d notes to PDF: %.0f ms (best of %d)\n", kNotes, best_run, repetitions);
  std::printf("longest gap between progress repaints: %.1f ms\n", longest_gap);
  std::printf("peer, the same %zu pages drawn by hand with Cairo: %.0f ms\n", pages.size(),
              best_peer);
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  std::filesystem::remove_all(folder);
  return 0;
}

}  // namespace
}  // namespace carelog::app

int main(int argc, char** argv) {
  return carelog::app::Main(argc > 1 ? std::atoi(argv[1]) : 3);
}
