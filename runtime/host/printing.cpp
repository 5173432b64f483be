#include "runtime/host/printing.h"

#include <cairo-pdf.h>
#include <cups/cups.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "runtime/host/graphics_native.h"

namespace carelog::host {

namespace {

constexpr double kLetterWidth = 8.5, kLetterHeight = 11;
constexpr int kDefaultDpi = 300;

PrinterProperties PropertiesFor(double width_inches, double height_inches, int x_dpi, int y_dpi) {
  PrinterProperties p;
  p.page_width_inches = width_inches;
  p.page_height_inches = height_inches;
  p.pixels_per_inch_x = x_dpi;
  p.pixels_per_inch_y = y_dpi;
  p.horizontal_resolution = static_cast<int>(std::lround(width_inches * x_dpi));
  p.vertical_resolution = static_cast<int>(std::lround(height_inches * y_dpi));
  return p;
}

PrinterInfo PdfPrinter() {
  PrinterInfo p;
  p.name = kPdfPrinterName;
  p.description = "Save pages as a PDF file";
  p.writes_pdf_file = true;
  p.properties = PropertiesFor(kLetterWidth, kLetterHeight, kDefaultDpi, kDefaultDpi);
  return p;
}

// Reads a decimal number at the start of `s`; advances past it.
bool ReadNumber(std::string_view* s, double* out) {
  size_t i = 0;
  double value = 0;
  bool digits = false;
  while (i < s->size() && (*s)[i] >= '0' && (*s)[i] <= '9') {
    value = value * 10 + ((*s)[i] - '0');
    digits = true;
    ++i;
    if (value > 1e6) return false;
  }
  if (i < s->size() && (*s)[i] == '.') {
    ++i;
    double scale = 0.1;
    while (i < s->size() && (*s)[i] >= '0' && (*s)[i] <= '9') {
      value += ((*s)[i] - '0') * scale;
      scale /= 10;
      digits = true;
      ++i;
    }
  }
  if (!digits) return false;
  *out = value;
  s->remove_prefix(i);
  return true;
}

// A temporary PDF file for a job that goes to a printer.
std::string TemporaryPdfPath() {
  std::string pattern = (std::filesystem::temp_directory_path() / "carelog-job-XXXXXX").string();
  int fd = mkstemp(pattern.data());
  if (fd < 0) return "";
  close(fd);
  return pattern;
}

// "<document>.pdf" in the current directory, "<document> (2).pdf" and so on when taken.
std::string DocumentPdfPath(const std::string& document_name) {
  std::string base;
  for (char c : document_name) base += (c == '/' || c == '\\' || c == '\0') ? '_' : c;
  if (base.empty()) base = "document";
  std::string path = base + ".pdf";
  for (int n = 2; std::filesystem::exists(path) && n < 10000; ++n) {
    path = base + " (" + std::to_string(n) + ").pdf";
  }
  return path;
}

}  // namespace

bool ParseMediaSize(std::string_view media, double* width_inches, double* height_inches) {
  // A PWG name ends in "_<width>x<height><unit>"; a plain size is just that part.
  size_t underscore = media.rfind('_');
  std::string_view size =
      underscore == std::string_view::npos ? media : media.substr(underscore + 1);
  double w, h;
  if (!ReadNumber(&size, &w) || size.empty() || size[0] != 'x') return false;
  size.remove_prefix(1);
  if (!ReadNumber(&size, &h)) return false;
  double per_inch;
  if (size == "in") {
    per_inch = 1;
  } else if (size == "mm") {
    per_inch = 25.4;
  } else {
    return false;
  }
  w /= per_inch;
  h /= per_inch;
  if (w < 1 || h < 1 || w > 200 || h > 200) return false;
  *width_inches = w;
  *height_inches = h;
  return true;
}

bool ParseResolution(std::string_view text, int* x_dpi, int* y_dpi) {
  double x, y;
  if (!ReadNumber(&text, &x)) return false;
  y = x;
  if (!text.empty() && text[0] == 'x') {
    text.remove_prefix(1);
    if (!ReadNumber(&text, &y)) return false;
  }
  if (text != "dpi" || x < 50 || y < 50 || x > 9600 || y > 9600) return false;
  *x_dpi = static_cast<int>(x);
  *y_dpi = static_cast<int>(y);
  return true;
}

std::vector<PrinterInfo> ListPrinters() {
  std::vector<PrinterInfo> out;
  cups_dest_t* dests = nullptr;
  int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  bool any_default = false;
  for (int i = 0; i < count; ++i) {
    const cups_dest_t& d = dests[i];
    if (d.instance) continue;  // instances repeat their printer with other options
    PrinterInfo p;
    p.name = d.name;
    const char* info = cupsGetOption("printer-info", d.num_options, d.options);
    p.description = info ? info : d.name;
    p.is_default = d.is_default != 0 && !any_default;
    any_default = any_default || p.is_default;
    double w = kLetterWidth, h = kLetterHeight;
    int x_dpi = kDefaultDpi, y_dpi = kDefaultDpi;
    if (const char* media = cupsGetOption("media", d.num_options, d.options)) {
      ParseMediaSize(media, &w, &h);
    }
    if (const char* res = cupsGetOption("printer-resolution", d.num_options, d.options)) {
      ParseResolution(res, &x_dpi, &y_dpi);
    }
    p.properties = PropertiesFor(w, h, x_dpi, y_dpi);
    out.push_back(std::move(p));
  }
  cupsFreeDests(count, dests);
  if (!any_default && !out.empty()) out.front().is_default = true;
  PrinterInfo pdf = PdfPrinter();
  pdf.is_default = out.empty();
  out.push_back(std::move(pdf));
  return out;
}

PrinterInfo DefaultPrinter() {
  for (PrinterInfo& p : ListPrinters()) {
    if (p.is_default) return p;
  }
  return PdfPrinter();
}

bool FindPrinter(const std::string& name, PrinterInfo* out) {
  for (PrinterInfo& p : ListPrinters()) {
    if (p.name == name) {
      *out = std::move(p);
      return true;
    }
  }
  return false;
}

struct PrintJob::Native {
  cairo_surface_t* surface = nullptr;
  ~Native() {
    if (surface) cairo_surface_destroy(surface);
  }
};

std::unique_ptr<PrintJob> PrintJob::Begin(const PrinterInfo& printer,
                                          const std::string& document_name,
                                          const std::string& output_path, std::string* error) {
  std::unique_ptr<PrintJob> job(new PrintJob());
  job->printer_ = printer;
  job->document_name_ = document_name;
  const PrinterProperties& p = printer.properties;
  if (p.pixels_per_inch_x <= 0 || p.pixels_per_inch_y <= 0 || p.page_width_inches <= 0 ||
      p.page_height_inches <= 0) {
    *error = "the printer \"" + printer.name + "\" reports no page size";
    return nullptr;
  }
  if (!output_path.empty()) {
    job->path_ = output_path;
  } else if (printer.writes_pdf_file) {
    job->path_ = DocumentPdfPath(document_name);
  } else {
    job->path_ = TemporaryPdfPath();
    job->submit_ = true;
    if (job->path_.empty()) {
      *error = "no temporary file for the print job";
      return nullptr;
    }
  }
  job->native_ = std::make_unique<Native>();
  job->native_->surface = cairo_pdf_surface_create(job->path_.c_str(), p.page_width_inches * 72,
                                                   p.page_height_inches * 72);
  if (cairo_surface_status(job->native_->surface) != CAIRO_STATUS_SUCCESS) {
    *error = "cannot write " + job->path_ + ": " +
             cairo_status_to_string(cairo_surface_status(job->native_->surface));
    if (job->submit_) std::remove(job->path_.c_str());
    job->finished_ = true;
    return nullptr;
  }
  cairo_pdf_surface_set_metadata(job->native_->surface, CAIRO_PDF_METADATA_TITLE,
                                 AnsiToUtf8(document_name).c_str());
  return job;
}

PrintJob::~PrintJob() {
  if (!finished_) Abort();
}

DeviceContext* PrintJob::StartPage() {
  if (finished_) return nullptr;
  if (page_) EndPage();
  auto native = std::make_unique<DeviceContext::Native>();
  native->cr = cairo_create(native_->surface);
  // One unit is one printer pixel.
  const PrinterProperties& p = printer_.properties;
  cairo_scale(native->cr, 72.0 / p.pixels_per_inch_x, 72.0 / p.pixels_per_inch_y);
  page_ = std::make_unique<DeviceContext>(std::move(native), p.pixels_per_inch_y);
  return page_.get();
}

void PrintJob::EndPage() {
  if (!page_) return;
  cairo_show_page(page_->native()->cr);
  page_.reset();
  ++pages_;
}

bool PrintJob::End(std::string* error) {
  if (finished_) {
    *error = "the print job has already ended";
    return false;
  }
  EndPage();
  finished_ = true;
  cairo_surface_finish(native_->surface);
  cairo_status_t status = cairo_surface_status(native_->surface);
  native_.reset();
  if (status != CAIRO_STATUS_SUCCESS) {
    *error = "cannot write " + path_ + ": " + cairo_status_to_string(status);
    if (submit_) std::remove(path_.c_str());
    return false;
  }
  if (!submit_) return true;
  std::string title = AnsiToUtf8(document_name_);
  int job_id = cupsPrintFile(printer_.name.c_str(), path_.c_str(), title.c_str(), 0, nullptr);
  std::remove(path_.c_str());
  if (job_id == 0) {
    *error = "the printer \"" + printer_.name + "\" refused the job: " + cupsLastErrorString();
    return false;
  }
  return true;
}

void PrintJob::Abort() {
  if (finished_) return;
  finished_ = true;
  page_.reset();
  native_.reset();
  std::remove(path_.c_str());
}

}  // namespace carelog::host
