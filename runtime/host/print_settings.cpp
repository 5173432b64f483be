// The process-wide print settings and the paper sizes table.
#include "runtime/host/print_settings.h"

#include <cmath>
#include <cstdio>
#include <mutex>
#include <optional>
#include <utility>

namespace carelog::host {
namespace {

constexpr double kPaperTolerance = 0.05;  // inches

std::mutex settings_mutex;
std::optional<PrintSettings> settings;  // guarded by settings_mutex; empty until first use

bool Near(double a, double b) {
  return std::fabs(a - b) <= kPaperTolerance;
}

}  // namespace

const std::vector<PaperSize>& StandardPaperSizes() {
  static const std::vector<PaperSize> sizes = {
      {"Letter", 8.5, 11},
      {"Legal", 8.5, 14},
      {"Executive", 7.25, 10.5},
      {"A4", 210 / 25.4, 297 / 25.4},
      {"A5", 148 / 25.4, 210 / 25.4},
      {"B5", 176 / 25.4, 250 / 25.4},
      {"Envelope #10", 4.125, 9.5},
      {"Envelope DL", 110 / 25.4, 220 / 25.4},
  };
  return sizes;
}

PaperSize PaperForPage(double width_inches, double height_inches) {
  for (const PaperSize& paper : StandardPaperSizes()) {
    if ((Near(paper.width_inches, width_inches) && Near(paper.height_inches, height_inches)) ||
        (Near(paper.width_inches, height_inches) && Near(paper.height_inches, width_inches))) {
      return paper;
    }
  }
  char name[64];
  std::snprintf(name, sizeof name, "%.2f x %.2f in", width_inches, height_inches);
  return PaperSize{name, width_inches, height_inches};
}

PrintSettings CurrentPrintSettings() {
  {
    std::lock_guard<std::mutex> lock(settings_mutex);
    if (settings) return *settings;
  }
  // Asking the printers may wait on the print server: done outside the lock.
  PrinterInfo printer = DefaultPrinter();
  PrintSettings initial;
  initial.printer = printer.name;
  initial.paper =
      PaperForPage(printer.properties.page_width_inches, printer.properties.page_height_inches);
  std::lock_guard<std::mutex> lock(settings_mutex);
  if (!settings) settings = initial;
  return *settings;
}

void SetPrintSettings(const PrintSettings& value) {
  std::lock_guard<std::mutex> lock(settings_mutex);
  settings = value;
}

bool PrinterForSettings(const PrintSettings& settings, PrinterInfo* out) {
  PrinterInfo printer;
  if (!FindPrinter(settings.printer, &printer)) return false;
  PrinterProperties& p = printer.properties;
  if (settings.paper.width_inches > 0 && settings.paper.height_inches > 0) {
    p.page_width_inches = settings.paper.width_inches;
    p.page_height_inches = settings.paper.height_inches;
  }
  bool wide = p.page_width_inches > p.page_height_inches;
  if (wide != (settings.orientation == Orientation::kLandscape)) {
    std::swap(p.page_width_inches, p.page_height_inches);
  }
  p.horizontal_resolution =
      static_cast<int>(std::lround(p.page_width_inches * p.pixels_per_inch_x));
  p.vertical_resolution = static_cast<int>(std::lround(p.page_height_inches * p.pixels_per_inch_y));
  *out = std::move(printer);
  return true;
}

}  // namespace carelog::host
