// The state of one report run, shared by the pattern's start, events and end.
#pragma once

#include <cstdint>
#include <memory>

#include "app/patterns/report_table.h"
#include "app/procedure_frame.h"
#include "runtime/view/view_engine.h"
#include "runtime/window/window_structure.h"

namespace carelog::app {

struct ReportRun {
  explicit ReportRun(const ReportTable& t)
      : table(t),
        progress(window::StructureKind::kWindow, t.progress_window, t.module,
                 window::UseTable{window::use::Byte(kProgressBar, &thermometer)}),
        frame(progress, false) {}

  // The report structure over the band controls' fields, built once the files are open (memo
  // buffers exist only then).
  void BuildReport();

  const ReportTable& table;
  uint8_t thermometer = 0;
  window::Structure progress;
  ProcedureFrame frame;
  std::unique_ptr<window::Structure> report;
  view::ViewDeclaration view{};
  bool view_open = false;
  bool report_open = false;
  bool read_failed = false;  // a read error other than the end of the records
  bool done = false;         // close posted: later events are ignored
  int32_t processed = 0;
  int32_t this_cycle = 0;
  uint8_t percent = 0;
  uint8_t record_status = 0;
};

// Get-next's percentage: recomputed from the records processed, shown when it changed.
void ShowProgress(ReportRun& run);

}  // namespace carelog::app
