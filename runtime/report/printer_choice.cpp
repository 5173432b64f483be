#include "runtime/report/printer_choice.h"

#include <mutex>

#include "runtime/host/print_output.h"
#include "runtime/host/print_settings.h"
#include "runtime/report/report.h"
#include "runtime/window/common_dialogs.h"

namespace carelog::report {

namespace {

struct Choice {
  std::mutex mutex;
  std::string next_job;  // print to file: the next job only
};

Choice& TheChoice() {
  static Choice choice;
  return choice;
}

bool Usable(const host::PrinterProperties& p) {
  return p.horizontal_resolution > 0 && p.vertical_resolution > 0 && p.pixels_per_inch_x > 0 &&
         p.pixels_per_inch_y > 0 && p.horizontal_resolution <= 32767 &&
         p.vertical_resolution <= 32767;
}

}  // namespace

bool AcquirePrinter(host::PrinterInfo* printer, std::string* output_path) {
  if (!host::PrinterForSettings(host::CurrentPrintSettings(), printer)) {
    *printer = host::DefaultPrinter();
  }
  if (!Usable(printer->properties)) return false;
  Choice& choice = TheChoice();
  std::lock_guard<std::mutex> lock(choice.mutex);
  *output_path = !choice.next_job.empty() ? choice.next_job : host::PrintOutputFile();
  choice.next_job.clear();
  return true;
}

void SetPrintOutput(const std::string& path) {
  host::SetPrintOutputFile(path);
}

std::string PrintOutput() {
  Choice& choice = TheChoice();
  std::lock_guard<std::mutex> lock(choice.mutex);
  return !choice.next_job.empty() ? choice.next_job : host::PrintOutputFile();
}

bool SetPrinter(const std::string& name) {
  host::PrinterInfo printer;
  if (!host::FindPrinter(name, &printer)) return false;
  host::PrintSettings settings = host::CurrentPrintSettings();
  settings.printer = printer.name;
  settings.paper = host::PaperForPage(printer.properties.page_width_inches,
                                      printer.properties.page_height_inches);
  settings.orientation = host::Orientation::kPortrait;
  host::SetPrintSettings(settings);
  return true;
}

bool PrinterSetup() {
  return window::PrinterSetup();
}

bool PrintToFile() {
  std::string path;
  if (!window::ChooseSaveFile("Print To File...", &path, "All files (*.*)|*.*")) return false;
  Choice& choice = TheChoice();
  std::lock_guard<std::mutex> lock(choice.mutex);
  choice.next_job = path;
  return true;
}

}  // namespace carelog::report
