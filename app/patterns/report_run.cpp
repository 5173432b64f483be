// The report pattern's run: start, the progress window's events, get-next and the end.
#include <cstring>
#include <map>
#include <string>

#include "app/data/file_access.h"
#include "app/data/warnings.h"
#include "app/patterns/form_record.h"
#include "app/patterns/report_run.h"
#include "app/procedure_frame.h"
#include "app/procedure_globals.h"
#include "runtime/eval/name_table.h"
#include "runtime/report/report.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/values/picture.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app {
namespace {

constexpr int kEndOfRecords = 33;
constexpr int32_t kCompleted = 1;
constexpr int32_t kCancelled = 2;

int32_t PrintRecordedPages(std::span<const std::string>) {
  return kCompleted;
}
PreviewFunction g_preview = &PrintRecordedPages;

// Saved selectors by bound name: expressions hold their addresses, so they never move.
int32_t& SavedSelector(const char* name) {
  static std::map<std::string, int32_t> selectors;
  return selectors[name];
}

void Close(ReportRun& run) {
  run.done = true;
  window::Post(window::event::kCloseWindow);
}

// Reads the next record of the view (get-next), then the validate step.
void GetNext(ReportRun& run) {
  int error = view::NextInView(run.view);
  if (error != 0) {
    if (error != kEndOfRecords) {
      run.read_failed = true;
      appdata::ShowWarning(appdata::warning::kRecordRetrievalError,
                           appdata::Info(run.table.primary).label);
    }
    run.frame.local_response = kCancelled;
  } else {
    run.frame.local_response = kCompleted;
    ++run.processed;
    ++run.this_cycle;
    ShowProgress(run);
  }
  run.record_status = run.frame.local_response == kCancelled ? 1 : 0;
}

void OpenWindow(ReportRun& run) {
  store::KeyDeclaration* key = appdata::FindKey(run.table.primary, run.table.order_key);
  if (key) store::Set(*key);
  run.view.driver = &view::ViewEngineEntry;
  run.view.primary = &appdata::Declaration(run.table.primary);
  run.view.filter = {run.table.filter, static_cast<uint32_t>(std::strlen(run.table.filter))};
  run.view.uses_memos = 1;
  run.view_open = view::OpenView(run.view) == 0;
  if (run.view_open) GetNext(run);
  if (!run.view_open || run.frame.local_response == kCancelled) {
    run.frame.local_response = kCancelled;
    Close(run);
    return;
  }
  report::ReportOptions options;
  options.preview = run.table.preview;
  report::SetReportOptions(*run.report, options);
  run.report_open = report::OpenReport(*run.report);
  if (!run.report_open) {
    run.frame.local_response = kCancelled;
    Close(run);
  }
}

void PrintCurrent(ReportRun& run) {
  if (run.table.patient_field) {
    LookUpPatient(
        static_cast<int32_t>(ReadNumber(ResolveField(run.table.primary, run.table.patient_field))));
  }
  if (run.table.hooks.prepare) run.table.hooks.prepare();
  if (run.report_open) report::PrintBand(*run.report, run.table.detail_band);
}

void Timer(ReportRun& run) {
  run.this_cycle = 0;
  for (int32_t i = 0; i < kRecordsPerCycle; ++i) {
    PrintCurrent(run);
    GetNext(run);
    if (run.record_status == 1) {
      // A failed read ends the run as cancelled: a part of the records is never printed.
      run.frame.local_response = run.read_failed ? kCancelled : kCompleted;
      Close(run);
      return;
    }
    run.frame.local_response = kCancelled;
  }
}

void Cancel(ReportRun& run) {
  run.frame.local_response = kCancelled;
  Close(run);
}

struct EventRow {
  int event;
  int control;  // 0: any
  void (*handler)(ReportRun&);
};

constexpr EventRow kEvents[] = {
    {window::event::kOpenWindow, 0, &OpenWindow},
    {window::event::kTimer, 0, &Timer},
    {window::event::kAccepted, kProgressCancel, &Cancel},
};

void RunEvents(ReportRun& run) {
  while (window::Accept()) {
    if (run.done) continue;
    for (const EventRow& row : kEvents) {
      if (row.event != window::Event()) continue;
      if (row.control != 0 && row.control != window::Field()) continue;
      row.handler(run);
    }
  }
}

void SendQuickScan(const ReportTable& table, const char* command) {
  store::Send(appdata::Declaration(table.primary), command);
}

void ShowStart(ReportRun& run) {
  run.thermometer = 0;
  window::SetProperty(kProgressPercent, window::prop::kText, "0% Completed");
  window::SetProperty(0, window::prop::kText, run.table.title);
  window::SetProperty(kProgressUserText, window::prop::kText, "");
  window::Display();
}

// The end of a run: the last page, the preview, and the report closed either way.
void Finish(ReportRun& run) {
  if (!run.report_open) return;
  if (run.frame.local_response == kCompleted) {
    report::EndPage(*run.report);
    if (run.table.preview) {
      ProcResponse = g_preview(report::PreviewQueueOf(*run.report));
      report::ReportOptions options = report::GetReportOptions(*run.report);
      options.flush_preview = ProcResponse == kCompleted;
      report::SetReportOptions(*run.report, options);
    }
  } else {
    // A cancelled run prints nothing: its pages are recorded and thrown away.
    report::ReportOptions options = report::GetReportOptions(*run.report);
    options.preview = true;
    options.flush_preview = false;
    report::SetReportOptions(*run.report, options);
  }
  report::CloseReport(*run.report);
  report::PreviewQueue queue = report::TakePreviewQueue(*run.report);
  report::FreePreviewQueue(&queue);
}

}  // namespace

void ShowProgress(ReportRun& run) {
  if (run.percent < 100 && run.table.expected > 0) {
    int64_t percent = int64_t{run.processed} * 100 / run.table.expected;
    run.percent = static_cast<uint8_t>(percent > 100 ? 100 : percent);
  }
  if (run.percent == run.thermometer) return;
  run.thermometer = run.percent;
  window::SetProperty(kProgressPercent, window::prop::kText,
                      values::Format(run.percent, "@N3") + "% Completed");
  window::Display();
}

void SetReportPreview(PreviewFunction preview) {
  g_preview = preview ? preview : &PrintRecordedPages;
}

void RunReport(const ReportTable& table) {
  if (table.hooks.start) table.hooks.start();
  int32_t& selector = SavedSelector(table.selector_name ? table.selector_name : table.name);
  if (table.selector_name) eval::Bind(table.selector_name, &selector);
  ReportRun run(table);
  appdata::FileUse files(std::vector<appdata::FileId>(table.files.begin(), table.files.end()));
  if (table.selector_field) {
    selector = static_cast<int32_t>(ReadNumber(ResolveField(table.primary, table.selector_field)));
  }
  run.BuildReport();
  if (run.frame.Open()) {
    ShowStart(run);
    SendQuickScan(table, "QUICKSCAN=on");
    RunEvents(run);
    SendQuickScan(table, "QUICKSCAN=off");
  }
  if (run.view_open) view::CloseView(run.view);
  Finish(run);
  run.frame.Return();
}

}  // namespace carelog::app
