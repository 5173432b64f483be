// Printers and print jobs.
//
// The printers are those CUPS knows plus a built-in printer named "PDF" that writes PDF files;
// it is the default when CUPS has no printer (or no CUPS server answers). A print job draws
// each page through a DeviceContext whose unit is one printer pixel, renders the pages into a
// PDF file, and at the end either keeps that file (the PDF printer, or printing to a file) or
// hands it to CUPS.
//
// Printer properties: resolution in pixels across and down the page, pixels per inch, page
// size. CUPS printers report their default media and resolution; missing values fall back to
// US Letter at 300 pixels per inch, which is also what the PDF printer uses.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/host/graphics.h"

namespace carelog::host {

inline constexpr const char* kPdfPrinterName = "PDF";

struct PrinterProperties {
  int horizontal_resolution = 0;  // pixels across the page
  int vertical_resolution = 0;    // pixels down the page
  int pixels_per_inch_x = 0;
  int pixels_per_inch_y = 0;
  double page_width_inches = 0;
  double page_height_inches = 0;
};

struct PrinterInfo {
  std::string name;
  std::string description;
  bool is_default = false;
  bool writes_pdf_file = false;  // the built-in printer
  PrinterProperties properties;
};

// Every printer, the default one flagged (exactly one is).
std::vector<PrinterInfo> ListPrinters();
PrinterInfo DefaultPrinter();
// False when no printer has that name.
bool FindPrinter(const std::string& name, PrinterInfo* out);

// Reads a media size from a PWG media name ("na_letter_8.5x11in", "iso_a4_210x297mm") or a
// plain size ("8.5x11in", "210x297mm"). False when the text names no usable size.
bool ParseMediaSize(std::string_view media, double* width_inches, double* height_inches);
// Reads "300dpi" or "600x300dpi". False when the text is not a resolution.
bool ParseResolution(std::string_view text, int* x_dpi, int* y_dpi);

class PrintJob {
 public:
  // Starts a job. `output_path` names the PDF file to keep; empty sends the job to the
  // printer (for the PDF printer: a file named after the document in the current directory,
  // never overwriting one that exists). nullptr with the reason in *error on failure.
  static std::unique_ptr<PrintJob> Begin(const PrinterInfo& printer,
                                         const std::string& document_name,
                                         const std::string& output_path, std::string* error);
  ~PrintJob();
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  const PrinterProperties& Properties() const { return printer_.properties; }
  // The context of a new page (valid until EndPage), origin at the page's top left.
  DeviceContext* StartPage();
  void EndPage();
  int PageCount() const { return pages_; }
  // Finishes the file and, for a printer, submits it. False with the reason in *error.
  bool End(std::string* error);
  // Stops without printing; a file being written is removed.
  void Abort();
  // Where the PDF is written.
  const std::string& OutputPath() const { return path_; }

 private:
  PrintJob() = default;
  struct Native;
  PrinterInfo printer_;
  std::string document_name_;
  std::string path_;
  bool submit_ = false;
  bool finished_ = false;
  int pages_ = 0;
  std::unique_ptr<Native> native_;
  std::unique_ptr<DeviceContext> page_;
};

}  // namespace carelog::host
