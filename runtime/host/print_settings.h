// The program's print settings: the printer, paper and orientation that later print jobs and
// reports use. They start as the default printer with its own paper, upright, and change only
// when the user confirms the printer setup dialog. One set for the whole process, safe to
// read and write from any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/host/printing.h"

namespace carelog::host {

enum class Orientation : uint8_t { kPortrait, kLandscape };

struct PaperSize {
  std::string name;  // "Letter", "A4", ...
  double width_inches = 0;
  double height_inches = 0;
  bool operator==(const PaperSize&) const = default;
};

struct PrintSettings {
  std::string printer;  // a name of ListPrinters()
  PaperSize paper;
  Orientation orientation = Orientation::kPortrait;
  bool operator==(const PrintSettings&) const = default;
};

// The paper sizes offered, in the order a list shows them.
const std::vector<PaperSize>& StandardPaperSizes();
// The standard size within 1/20 inch of the given page (either way round), else a size named
// after its dimensions ("8.27 x 11.69 in").
PaperSize PaperForPage(double width_inches, double height_inches);

// The settings in force; on first use the default printer, its page and portrait.
PrintSettings CurrentPrintSettings();
void SetPrintSettings(const PrintSettings& settings);

// The printer as print jobs under `settings` use it: its page is the chosen paper, turned on
// its side for landscape, at the printer's own resolution. False (and *out untouched) when
// the printer is not there any more.
bool PrinterForSettings(const PrintSettings& settings, PrinterInfo* out);

}  // namespace carelog::host
