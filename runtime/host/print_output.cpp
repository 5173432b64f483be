#include "runtime/host/print_output.h"

#include <mutex>

#include "runtime/host/print_settings.h"

namespace carelog::host {

namespace {
std::mutex output_mutex;
std::string output_file;  // guarded by output_mutex
}  // namespace

void SetPrintOutputFile(const std::string& path) {
  if (!path.empty()) {
    PrinterInfo pdf;
    if (FindPrinter(kPdfPrinterName, &pdf)) {
      PrintSettings settings = CurrentPrintSettings();
      settings.printer = pdf.name;
      settings.paper =
          PaperForPage(pdf.properties.page_width_inches, pdf.properties.page_height_inches);
      settings.orientation = Orientation::kPortrait;
      SetPrintSettings(settings);
    }
  }
  std::lock_guard<std::mutex> lock(output_mutex);
  output_file = path;
}

std::string PrintOutputFile() {
  std::lock_guard<std::mutex> lock(output_mutex);
  return output_file;
}

}  // namespace carelog::host
