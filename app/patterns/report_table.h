// The report pattern: every report procedure is one constant ReportTable run by RunReport.
//
// A run, in order:
//   start    the procedure's own start hook (e.g. asking for the day); the saved selector
//            bound under its "Report:Save::" name; ProcRequest and ProcResponse cleared, the
//            local response 2; the table's files taken in order (use-counted); the selecting
//            field of the current record copied into the saved selector; the progress window
//            opened at 0 with "0% Completed", the table's title and an empty user text;
//            "QUICKSCAN=on" sent to the primary file.
//   events   open window: the view ordered by the table's key and filtered by its filter is
//            read to its first record; none closes the window at once (nothing printed,
//            response 2), else the report opens (recording pages when the table previews).
//            timer: up to 25 records each print their detail band (after the preparation hook)
//            and the next record is read; the last one ends the run as completed.
//            Cancel: ends the run as cancelled.
//   end      "QUICKSCAN=off"; when completed: the last page ends, previewing tables hand their
//            pages to the preview and print them when it answers 1; the report closes (a
//            cancelled run discards everything recorded), the files are released and
//            ProcResponse holds the local response.
// A read error other than the end of the records shows warning 35 naming the primary file and
// ends the run as cancelled.
//
// The progress window of every report has the same controls (see the kProgress* equates).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "app/data/dictionary.h"
#include "runtime/window/use_table.h"

namespace carelog::app {

// Field equates of the progress window's controls.
inline constexpr int kProgressBar = 1;  // BYTE thermometer, 0 to 100
inline constexpr int kProgressUserText = 2;
inline constexpr int kProgressPercent = 3;  // "nn% Completed"
inline constexpr int kProgressCancel = 4;

inline constexpr int32_t kRecordsPerCycle = 25;

// One band control showing a field (or one element of an array, from 1) or a memo of a file;
// a number field's shown_blank value (nothing recorded yet) prints blank.
struct ReportUse {
  int control;
  appdata::FileId file;
  const char* field;  // declared name, "PRO:TIME_IN", or a memo's, "PRO:PLANS"
  uint32_t element = 0;
  std::optional<double> shown_blank = {};
};

struct ReportHooks {
  void (*start)() = nullptr;                         // before anything else (ask for the day)
  void (*locals)(window::UseTable* uses) = nullptr;  // the band's own variables
  void (*prepare)() = nullptr;                       // right before each detail band
};

struct ReportTable {
  const char* name;                        // "PRINTPROGRESS"
  const char* module;                      // "carelog.cpp$carlg052"
  const char* report;                      // "PRINTPROGRESS$REPORT"
  const char* progress_window;             // "PRINTPROGRESS$PROGRESSWINDOW"
  std::span<const appdata::FileId> files;  // opened in this order; the first read is primary
  appdata::FileId primary;
  const char* order_key;       // "PRO:RECORD_NO_KEY"
  const char* filter;          // "PRO:Record_No = Report:Save::PRO:Record_No"
  const char* selector_field;  // "PRO:RECORD_NO"; null: no saved selector
  const char* selector_name;   // "Report:Save::PRO:Record_No"
  int32_t expected;            // records to process, for the percentage (0: stays at 0%)
  const char* title;           // "Generating Report" or "Printing Report"
  bool preview;
  int detail_band;            // field equate of the detail band
  const char* patient_field;  // "PRO:PATIENT_NUMBER": the band's patient is looked up
  std::span<const ReportUse> uses;
  ReportHooks hooks;
};

// Runs the report; ProcResponse is 1 when it printed, 2 when nothing was printed.
void RunReport(const ReportTable& table);

// The report preview seam: shows the recorded pages and answers 1 to print them. Until the
// preview procedure exists every previewed report prints its recorded pages directly.
using PreviewFunction = int32_t (*)(const std::span<const std::string> pages);
void SetReportPreview(PreviewFunction preview);

// The patient lookup before a band: the Patients record of `patient`, or a blank one (record
// and memo) when it cannot be read.
void LookUpPatient(int32_t patient);
// Blanks every text and zeroes every number of the calling thread's record of `file`, and
// empties its memos.
void ClearRecord(appdata::FileId file);

}  // namespace carelog::app
