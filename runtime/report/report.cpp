// The open reports of the process, one per report structure, and what OPEN, PRINT, ENDPAGE
// and CLOSE do with them. Pages come out of the layout (page_layout.h) into one of two sinks:
// a print job, or page files named in the preview queue.
#include "runtime/report/report.h"

#include <map>
#include <memory>
#include <mutex>

#include "runtime/host/printing.h"
#include "runtime/report/band_painter.h"
#include "runtime/report/metafile.h"
#include "runtime/report/page_layout.h"
#include "runtime/report/printer_choice.h"
#include "runtime/window/definition_loader.h"
#include "runtime/window/fatal_error.h"
#include "runtime/window/font_style.h"

namespace carelog::report {

using window::Entry;
using window::Field;

namespace {

struct OpenState {
  Entry definition;  // the report's own copy; the context's USE map points into it
  std::string title;
  host::PrinterInfo printer;
  std::string output_path;
  bool preview = false;
  PageFrame frame;
  std::shared_ptr<host::Surface> scratch;
  std::unique_ptr<host::DeviceContext> measure;
  BandContext context;
  std::map<int, const Entry*> bands;  // detail bands by field equate
  const Entry* header = nullptr;
  const Entry* footer = nullptr;
  const Entry* form = nullptr;
  std::unique_ptr<host::PrintJob> job;
  std::unique_ptr<PageLayout> layout;
  PreviewQueue queue;
  bool aborted = false;
};

struct ReportState {
  ReportOptions options;
  std::unique_ptr<OpenState> open;
  PreviewQueue queue;  // of the last closed run
};

std::map<const window::Structure*, ReportState>& Reports() {
  static std::map<const window::Structure*, ReportState> reports;
  return reports;
}

// Reports are used under the global semaphore; the lock guards against tests and tools that
// drive the engine without it.
std::recursive_mutex& ReportsMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

OpenState* OpenOf(const window::Structure& s) {
  auto it = Reports().find(&s);
  return it == Reports().end() ? nullptr : it->second.open.get();
}

// Kind 27 and 28 take their slots (the first of each), kind 30 the form slot, groups are read
// the same way, and detail bands are entered by their field equate.
void ReadBands(OpenState& r, const Entry& parent) {
  for (const Entry& child : parent.children) {
    switch (child.kind) {
      case window::kKindHeader:
        if (!r.header) r.header = &child;
        break;
      case window::kKindFooter:
        if (!r.footer) r.footer = &child;
        break;
      case window::kKindForm:
        if (!r.form) r.form = &child;
        break;
      case window::kKindBandGroup:
        ReadBands(r, child);
        break;
      case window::kKindDetail:
        r.bands.emplace(child.id, &child);
        break;
      default:
        break;
    }
  }
}

host::FontSpec ReportFont(const Entry& def) {
  host::FontSpec font;
  font.face = "Arial";
  if (def.font) {
    if (!def.font->face.empty()) font.face = def.font->face;
    if (def.font->points > 0) font.points = def.font->points;
    if (def.font->style >= 0) window::ApplyFontStyle(def.font->style, &font);
    if (def.font->color >= 0) font.color = window::ColorFromDefinition(def.font->color);
  }
  return font;
}

void PrepareContext(OpenState& r, window::Structure& s) {
  const host::PrinterProperties& p = r.printer.properties;
  r.frame = PageFrame{p.horizontal_resolution, p.vertical_resolution, p.pixels_per_inch_x,
                      0, 0, p.horizontal_resolution, p.vertical_resolution};
  r.scratch = host::Surface::Create(1, 1);
  r.measure = std::make_unique<host::DeviceContext>(r.scratch, p.pixels_per_inch_y);
  r.context.measure = r.measure.get();
  r.context.pixels_per_inch = p.pixels_per_inch_y;
  r.context.report_font = ReportFont(r.definition);
  r.measure->SetFont(r.context.report_font);
  host::TextMetrics tm = r.measure->Metrics();
  r.context.scale = window::ScaleFor(window::UnitOf(r.definition.attr),
                                     window::FontMetrics{tm.average_char_width, tm.height},
                                     window::Resolution{p.pixels_per_inch_x, p.pixels_per_inch_y});
  for (const Entry* control : window::UseControlsOf(r.definition)) {
    r.context.uses[control] = s.UseOf(control->id);
  }
}

BandDrawing Record(OpenState& r, const Entry* band, int page) {
  if (!band) return BandDrawing{};
  r.context.page_number = page;
  return PaintBand(*band, r.context);
}

bool PrintToJob(OpenState& r, const DrawList& page) {
  if (!r.job) {
    std::string error;
    r.job = host::PrintJob::Begin(r.printer, r.title, r.output_path, &error);
    if (!r.job) {
      r.aborted = true;
      return false;
    }
  }
  host::DeviceContext* dc = r.job->StartPage();
  if (!dc) {
    r.aborted = true;
    return false;
  }
  page.Play(*dc);
  r.job->EndPage();
  return true;
}

bool RecordPageFile(OpenState& r, const DrawList& page) {
  MetafileError error = MetafileError::kOk;
  std::string io_error;
  std::string path = WritePageFile(page, r.frame, &error, &io_error);
  if (error == MetafileError::kRecordTooLarge) {
    r.aborted = true;
    window::FatalRuntimeError(kErrorRecordTooLarge);
    return false;
  }
  if (path.empty()) {
    r.aborted = true;
    return false;
  }
  r.queue.push_back(path);
  return true;
}

void PrepareLayout(OpenState& r, const ReportOptions& options) {
  const window::UnitScale& scale = r.context.scale;
  PageGeometry geometry;
  auto coordinate = [](int32_t v) { return v == window::kNotGiven ? 0 : v; };
  geometry.left = window::ToPixelsX(scale, coordinate(r.definition.at.x));
  geometry.top = window::ToPixelsY(scale, coordinate(r.definition.at.y));
  geometry.body_height = r.definition.at.height == window::kNotGiven
                             ? r.frame.height - 2 * geometry.top
                             : window::ToPixelsY(scale, r.definition.at.height);
  geometry.footer_height = Record(r, r.footer, 1).height;
  PageDecorations decorations;
  OpenState* state = &r;
  if (r.header) decorations.header = [state](int page) { return Record(*state, state->header, page); };
  if (r.footer) decorations.footer = [state](int page) { return Record(*state, state->footer, page); };
  if (r.form) decorations.form = [state](int page) { return Record(*state, state->form, page); };
  PageSink sink = [state](const DrawList& page, int) {
    return state->preview ? RecordPageFile(*state, page) : PrintToJob(*state, page);
  };
  r.layout = std::make_unique<PageLayout>(geometry, std::move(decorations), std::move(sink));
  r.layout->SetRange(options.range, options.first_page, options.last_page);
}

}  // namespace

void SetReportOptions(window::Structure& report, const ReportOptions& options) {
  std::lock_guard<std::recursive_mutex> lock(ReportsMutex());
  ReportState& state = Reports()[&report];
  state.options = options;
  if (state.open) state.open->layout->SetRange(options.range, options.first_page, options.last_page);
}

ReportOptions GetReportOptions(const window::Structure& report) {
  std::lock_guard<std::recursive_mutex> lock(ReportsMutex());
  auto it = Reports().find(&report);
  return it == Reports().end() ? ReportOptions{} : it->second.options;
}

bool OpenReport(window::Structure& s) {
  std::lock_guard<std::recursive_mutex> lock(ReportsMutex());
  if (s.kind() != window::StructureKind::kReport) return false;
  ReportState& state = Reports()[&s];
  if (state.open) {
    window::FatalRuntimeError(kErrorAlreadyOpen);
    return false;
  }
  window::DefinitionLoader& loader = window::SharedDefinitionLoader();
  if (loader.Open(s.module(), s.label()) != window::DefinitionError::kOk) return false;
  auto r = std::make_unique<OpenState>();
  r->definition = loader.structure();
  if (const std::string* title = r->definition.String(Field::kTitle)) r->title = *title;
  if (r->title.empty()) r->title = s.label();
  if (!AcquirePrinter(&r->printer, &r->output_path)) {
    window::FatalRuntimeError(kErrorOpeningPrinter);
    return false;
  }
  r->preview = state.options.preview;
  ReadBands(*r, r->definition);
  PrepareContext(*r, s);
  PrepareLayout(*r, state.options);
  FreePreviewQueue(&state.queue);
  state.open = std::move(r);
  return true;
}

bool PrintBand(window::Structure& s, int band) {
  std::lock_guard<std::recursive_mutex> lock(ReportsMutex());
  OpenState* r = OpenOf(s);
  if (s.kind() != window::StructureKind::kReport || !r) {
    window::FatalRuntimeError(kErrorPrintNotReport);
    return false;
  }
  auto it = r->bands.find(band);
  if (it == r->bands.end()) return false;
  const Entry& e = *it->second;
  PlacedBand placed;
  placed.band = Record(*r, &e, r->layout->page_number());
  placed.keep = static_cast<int>(e.Number(Field::kKeep));
  placed.page_before = static_cast<int>(e.Number(Field::kPageBefore));
  placed.page_after = static_cast<int>(e.Number(Field::kPageAfter));
  placed.flags = e.attr;
  r->layout->Place(std::move(placed));
  return !r->aborted;
}

bool EndPage(window::Structure& s) {
  std::lock_guard<std::recursive_mutex> lock(ReportsMutex());
  OpenState* r = OpenOf(s);
  if (s.kind() != window::StructureKind::kReport || !r) {
    window::FatalRuntimeError(kErrorEndPageNotReport);
    return false;
  }
  r->layout->EndPage();
  return !r->aborted;
}

bool CloseReport(window::Structure& s) {
  std::lock_guard<std::recursive_mutex> lock(ReportsMutex());
  auto it = Reports().find(&s);
  if (it == Reports().end() || !it->second.open) return false;
  ReportState& state = it->second;
  OpenState& r = *state.open;
  r.layout->EndPage();
  if (r.job) {
    std::string error;
    if (!r.aborted && !r.job->End(&error)) r.aborted = true;
    if (r.aborted) r.job->Abort();
  }
  if (r.preview && state.options.flush_preview && !r.aborted) {
    std::string error;
    PrintPages(r.queue, r.title, &error);
  }
  state.queue = std::move(r.queue);
  state.open.reset();
  return true;
}

bool IsReportOpen(const window::Structure& report) {
  std::lock_guard<std::recursive_mutex> lock(ReportsMutex());
  return OpenOf(report) != nullptr;
}

int PageNumber(const window::Structure& report) {
  std::lock_guard<std::recursive_mutex> lock(ReportsMutex());
  OpenState* r = OpenOf(report);
  return r ? r->layout->page_number() : 0;
}

int PagesFinished(const window::Structure& report) {
  std::lock_guard<std::recursive_mutex> lock(ReportsMutex());
  OpenState* r = OpenOf(report);
  return r ? r->layout->pages_finished() : 0;
}

bool Aborted(const window::Structure& report) {
  std::lock_guard<std::recursive_mutex> lock(ReportsMutex());
  OpenState* r = OpenOf(report);
  return r && r->aborted;
}

const PreviewQueue& PreviewQueueOf(const window::Structure& report) {
  std::lock_guard<std::recursive_mutex> lock(ReportsMutex());
  static const PreviewQueue kNone;
  auto it = Reports().find(&report);
  if (it == Reports().end()) return kNone;
  return it->second.open ? it->second.open->queue : it->second.queue;
}

PreviewQueue TakePreviewQueue(window::Structure& report) {
  std::lock_guard<std::recursive_mutex> lock(ReportsMutex());
  auto it = Reports().find(&report);
  if (it == Reports().end()) return {};
  PreviewQueue& queue = it->second.open ? it->second.open->queue : it->second.queue;
  return std::move(queue);
}

void FreePreviewQueue(PreviewQueue* queue) {
  for (const std::string& path : *queue) std::remove(path.c_str());
  queue->clear();
}

bool PrintPages(const PreviewQueue& queue, const std::string& document_name, std::string* error) {
  host::PrinterInfo printer;
  std::string output;
  if (!AcquirePrinter(&printer, &output)) {
    *error = "no printer can be opened";
    return false;
  }
  std::unique_ptr<host::PrintJob> job = host::PrintJob::Begin(printer, document_name, output, error);
  if (!job) return false;
  const host::PrinterProperties& p = printer.properties;
  host::Rect page{0, 0, p.horizontal_resolution, p.vertical_resolution};
  for (const std::string& path : queue) {
    host::DeviceContext* dc = job->StartPage();
    if (!dc) break;
    std::string ignored;
    PlayPageFile(path, *dc, page, &ignored);
    job->EndPage();
  }
  return job->End(error);
}

}  // namespace carelog::report
