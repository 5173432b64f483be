// The window runtime's fatal error codes and their texts: the one table that every raising
// site names its code from and that RuntimeMessage reads (fatal_error.h). Codes are stable:
// the environment's TAMMSGn settings override a text by its number.
#pragma once

#include <string_view>

namespace carelog::window::runtime_error {

inline constexpr int kInternalError01 = 501;  // a USE table that does not fit its window
inline constexpr int kInternalError02 = 502;  // a structure label not found in its module
inline constexpr int kEventToReportControl = 522;
inline constexpr int kMetafileRecordTooLarge = 523;
inline constexpr int kPrinterOpenFailed = 524;
inline constexpr int kReportAlreadyOpen = 525;
inline constexpr int kApplicationAlreadyActive = 526;
inline constexpr int kApplicationWhileModal = 527;
inline constexpr int kApplicationOpenFailed = 528;
inline constexpr int kWindowOpenFailed = 529;
inline constexpr int kMdiWithoutApplication = 530;
inline constexpr int kMdiWhileModal = 531;
inline constexpr int kMdiOnApplicationThread = 532;
inline constexpr int kMdiOpenFailed = 533;
inline constexpr int kWindowAlreadyOpen = 535;
inline constexpr int kWindowNotOpen = 536;
inline constexpr int kAcceptWithoutWindow = 537;
inline constexpr int kPrintNotReport = 538;
inline constexpr int kEndPageNotReport = 539;
inline constexpr int kAcceptWhileModal = 540;
inline constexpr int kControlWhileModal = 541;
inline constexpr int kOperationWhileModal = 542;

struct CodeText {
  int code;
  const char* text;
};

inline constexpr CodeText kTexts[] = {
    {kInternalError01, "Internal error 01"},
    {kInternalError02, "Internal error 02"},
    {kEventToReportControl, "Event posted to a report control"},
    {kMetafileRecordTooLarge, "Metafile record too large in report"},
    {kPrinterOpenFailed, "Unexpected error opening printer device"},
    {kReportAlreadyOpen, "Report is already open"},
    {kApplicationAlreadyActive, "Unable to open APPLICATION (APPLICATION already active)"},
    {kApplicationWhileModal, "Unable to open APPLICATION (system is MODAL)"},
    {kApplicationOpenFailed, "Unable to open APPLICATION"},
    {kWindowOpenFailed, "Unable to open WINDOW"},
    {kMdiWithoutApplication, "Unable to open MDI window (No APPLICATION active)"},
    {kMdiWhileModal, "Unable to open MDI window (system is MODAL)"},
    {kMdiOnApplicationThread, "Unable to open MDI window on APPLICATION's thread"},
    {kMdiOpenFailed, "Unable to open MDI WINDOW"},
    {kWindowAlreadyOpen, "Window is already open"},
    {kWindowNotOpen, "Window is not open"},
    {kAcceptWithoutWindow, "ACCEPT loop requires a window"},
    {kPrintNotReport, "PRINT must only be called for reports"},
    {kEndPageNotReport, "ENDPAGE must only be called for reports"},
    {kAcceptWhileModal, "Unable to process ACCEPT (system is MODAL)"},
    {kControlWhileModal, "Unable to create control (system is MODAL)"},
    {kOperationWhileModal, "Unable to complete operation (system is MODAL)"},
};

// The table's text for `code`, empty when the window runtime has none.
constexpr std::string_view TextOf(int code) {
  for (const CodeText& entry : kTexts) {
    if (entry.code == code) return entry.text;
  }
  return {};
}

}  // namespace carelog::window::runtime_error
