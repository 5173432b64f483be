// The report engine: what OPEN, PRINT, ENDPAGE and CLOSE do to a REPORT structure.
//
// A report structure (window::Structure of kind kReport) names a report definition: its
// printable body (x, y, width, height in 1/1000 inch), font, title and paper, and its bands:
//
//   kind 27  page header: drawn at the top of the body of every page
//   kind 28  page footer: drawn at the foot of the body of every page
//   kind 29  band group: its bands are read the same way, recursively
//   kind 30  form band: drawn behind everything else on every page, at the body's origin
//   kind 31  detail band: printed when the procedure PRINTs it, by its field equate
//
// Life of a report:
//
//   closed --OpenReport--> open --PrintBand / EndPage ...--> open --CloseReport--> closed
//
// While open, every page is either sent to the printer as it is finished, or (preview mode)
// written to a page file whose name is appended to the preview queue. Page files are
// placeable metafiles (page_file.h) that PlayPageFile draws onto any device context.
//
// Invariants:
//   1. A structure has at most one open report; a second OpenReport is error 525.
//   2. Page numbers count from 1, or from the number a band sets; each finished page advances
//      the page number and the finished-page count by one, whether or not it is drawn.
//   3. In preview mode nothing reaches the printer while the report is open; the queue's files
//      belong to the caller once the report is closed (FreePreviewQueue removes them).
//   4. A print job that cannot be started sets the abort flag: nothing more is drawn, no file
//      is left half-written, and CloseReport still succeeds.
//
// Every operation must be called by the thread holding the global semaphore (as with
// windows). Runtime errors go through window::FatalRuntimeError; when a test's hook lets it
// return, the operation fails without effect and returns false.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/window/window_structure.h"

namespace carelog::report {

// Runtime errors of the engine.
inline constexpr int kErrorRecordTooLarge = 523;    // "Metafile record too large in report"
inline constexpr int kErrorOpeningPrinter = 524;    // "Unexpected error opening printer device"
inline constexpr int kErrorAlreadyOpen = 525;       // "Report is already open"
inline constexpr int kErrorPrintNotReport = 538;    // "PRINT must only be called for reports"
inline constexpr int kErrorEndPageNotReport = 539;  // "ENDPAGE must only be called for reports"

// Bits of a band's attribute word that the engine reads.
namespace band_attr {
inline constexpr uint32_t kPageBefore = 0x0001;  // finish the current page before the band
inline constexpr uint32_t kPageAfter = 0x0002;   // finish the page after the band
inline constexpr uint32_t kAbsolute = 0x0004;    // drawn at its own y; the position stays
inline constexpr uint32_t kNotCounted = 0x0008;  // takes no part in page filling
inline constexpr uint32_t kGroupBegin = 0x0010;  // opens a group kept on one page if it fits
inline constexpr uint32_t kGroupEnd = 0x0020;    // closes the innermost open group
}  // namespace band_attr

// Groups nest this deep; deeper group begins count as the deepest level.
inline constexpr int kMaxGroupDepth = 10;

// The preview queue: page-file names in page order.
using PreviewQueue = std::vector<std::string>;

// How the next OpenReport of a structure runs. Set before OpenReport; the range and the
// flush flag may also change while the report is open. CloseReport resets them.
struct ReportOptions {
  bool preview = false;  // record pages into page files instead of printing
  bool range = false;    // only pages first_page..last_page are drawn
  int first_page = 0;
  int last_page = 0;
  bool flush_preview = false;  // CloseReport prints the recorded pages (after a preview)
};
void SetReportOptions(window::Structure& report, const ReportOptions& options);
ReportOptions GetReportOptions(const window::Structure& report);

// OPEN(report): reads the band structure from the definition, acquires the printer (the
// program's print settings, else the default printer) and prepares the first page.
// Errors 525 (already open) and 524 (no printer can be opened).
bool OpenReport(window::Structure& report);

// PRINT(band): measures the band with the current values of its USE variables, places it
// (finishing pages as needed) and queues it on the page. `band` is the band's field equate.
// Error 538 when `structure` is not a report (or not open).
bool PrintBand(window::Structure& structure, int band);

// ENDPAGE(report): finishes the current page now (nothing happens on an empty page).
// Error 539 when `structure` is not a report (or not open).
bool EndPage(window::Structure& structure);

// CLOSE(report): finishes the last page if anything is on it, ends the print job (or, with
// flush_preview, prints the recorded pages), and releases the printer. In preview mode the
// page files stay; take their names with TakePreviewQueue. False when no report is open.
bool CloseReport(window::Structure& report);

bool IsReportOpen(const window::Structure& report);

// State of the open report (0 / false when none is open).
int PageNumber(const window::Structure& report);     // of the page being laid out
int PagesFinished(const window::Structure& report);  // pages laid out so far
bool Aborted(const window::Structure& report);

// The page files recorded so far (open) or by the last run (closed), in page order.
const PreviewQueue& PreviewQueueOf(const window::Structure& report);
// Moves the queue to the caller, who then owns the files. Take it before the structure is
// destroyed; a closed report whose queue is taken leaves nothing behind in the engine.
PreviewQueue TakePreviewQueue(window::Structure& report);
// Removes the files of the queue and empties it.
void FreePreviewQueue(PreviewQueue* queue);

// Print pages: plays each page file of the queue onto a page of one print job on the current
// printer, titled `document_name`. A file that cannot be read prints as an empty page.
// False with the reason in *error when the job cannot be started or finished.
bool PrintPages(const PreviewQueue& queue, const std::string& document_name, std::string* error);

// The printer of later reports.
//   PrinterSetup: the print-setup dialog, preset with the current printer.
//   PrintToFile: the save-file dialog "Print To File..." (filter "All files (*.*)|*.*"); the
//     chosen file becomes the output of the next print job only, written as PDF.
//   SetPrintOutput: every later job writes this PDF file instead of printing, until cleared
//     with "" (automation chooses the PDF printer and its file this way).
//   SetPrinter: the printer of later jobs by name (false when there is none of that name).
bool PrinterSetup();
bool PrintToFile();
void SetPrintOutput(const std::string& path);
bool SetPrinter(const std::string& name);
std::string PrintOutput();

}  // namespace carelog::report
