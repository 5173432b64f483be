// The printer setup dialog (PRINTSETUP$DIALOG): the platform's printers, a paper size and the
// orientation. Confirming makes them the program's print settings (host/print_settings.h);
// cancelling or closing leaves the settings as they were.
#include <algorithm>

#include "runtime/host/print_settings.h"
#include "runtime/host/printing.h"
#include "runtime/host/window_system.h"
#include "runtime/window/common_dialogs.h"
#include "runtime/window/dialog_fields.h"
#include "runtime/window/list_rows.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

// Controls of PRINTSETUP$DIALOG.
enum PrintField : int {
  kPrinterList = 1,
  kStatus = 2,
  kPaperList = 3,
  kOrientation = 4,
  kOk = 7,
  kCancel = 8,
};

// Values of the orientation option: its radios in order.
constexpr uint8_t kPortrait = 1;
constexpr uint8_t kLandscape = 2;

class PrintSetupDialog {
 public:
  PrintSetupDialog()
      : window_(StructureKind::kWindow, "PRINTSETUP$DIALOG", dialog::kModule,
                UseTable{use::Byte(kOrientation, &orientation_)}) {}

  bool Run() {
    host::PrintSettings settings = host::CurrentPrintSettings();
    printers_ = host::ListPrinters();
    if (!dialog::OpenWithControls(window_,
                                  {kPrinterList, kStatus, kPaperList, kOrientation, kOk, kCancel}))
      return false;
    Preset(settings);
    bool chosen = false, done = false;
    while (!done && Accept()) {
      if (Event() == event::kNewSelection && Field() == kPrinterList) {
        PrinterChosen();
      } else if (Event() == event::kAccepted && Field() == kOk) {
        chosen = done = Confirm();
      } else if (Event() == event::kAccepted && Field() == kCancel) {
        done = true;
      }
    }
    Close(window_);
    return chosen;
  }

 private:
  Control& Get(int equate) { return *window_.Find(equate); }

  void Preset(const host::PrintSettings& settings) {
    std::vector<std::string> names;
    int selected = 0;
    for (const host::PrinterInfo& p : printers_) {
      names.push_back(p.name);
      if (p.name == settings.printer) selected = static_cast<int>(names.size());
    }
    if (!selected) {
      auto it = std::find_if(printers_.begin(), printers_.end(),
                             [](const host::PrinterInfo& p) { return p.is_default; });
      if (it != printers_.end()) selected = static_cast<int>(it - printers_.begin()) + 1;
    }
    SetListRows(Get(kPrinterList), std::move(names), selected);
    for (const host::PaperSize& paper : host::StandardPaperSizes()) papers_.push_back(paper);
    ShowPapers(settings.paper);
    orientation_ = settings.orientation == host::Orientation::kLandscape ? kLandscape : kPortrait;
    ShowStatus();
    Display();
  }

  // Fills the paper list and selects `paper`, adding it when it is not a standard size.
  void ShowPapers(const host::PaperSize& paper) {
    auto it = std::find(papers_.begin(), papers_.end(), paper);
    if (it == papers_.end() && paper.width_inches > 0 && paper.height_inches > 0) {
      papers_.push_back(paper);
      it = papers_.end() - 1;
    }
    std::vector<std::string> rows;
    for (const host::PaperSize& p : papers_) rows.push_back(p.name);
    int selected = it == papers_.end() ? 1 : static_cast<int>(it - papers_.begin()) + 1;
    SetListRows(Get(kPaperList), std::move(rows), selected);
  }

  const host::PrinterInfo* SelectedPrinter() {
    int row = SelectedListRow(Get(kPrinterList));
    return row ? &printers_[static_cast<size_t>(row - 1)] : nullptr;
  }

  void ShowStatus() {
    Control& status = Get(kStatus);
    const host::PrinterInfo* printer = SelectedPrinter();
    status.text.clear();
    if (printer) {
      status.text = printer->description.empty() ? printer->name : printer->description;
      if (printer->is_default) status.text += " (default printer)";
    }
    status.Invalidate();
  }

  // Another printer brings its own paper.
  void PrinterChosen() {
    ShowStatus();
    if (const host::PrinterInfo* printer = SelectedPrinter()) {
      ShowPapers(host::PaperForPage(printer->properties.page_width_inches,
                                    printer->properties.page_height_inches));
    }
  }

  bool Confirm() {
    const host::PrinterInfo* printer = SelectedPrinter();
    int paper = SelectedListRow(Get(kPaperList));
    if (!printer || paper == 0) {
      host::Beep();
      Select(printer ? kPaperList : kPrinterList);
      return false;
    }
    host::PrintSettings settings;
    settings.printer = printer->name;
    settings.paper = papers_[static_cast<size_t>(paper - 1)];
    settings.orientation =
        orientation_ == kLandscape ? host::Orientation::kLandscape : host::Orientation::kPortrait;
    host::SetPrintSettings(settings);
    return true;
  }

  uint8_t orientation_ = kPortrait;
  Structure window_;
  std::vector<host::PrinterInfo> printers_;
  std::vector<host::PaperSize> papers_;
};

}  // namespace

bool PrinterSetup() {
  PrintSetupDialog dialog;
  return dialog.Run();
}

}  // namespace carelog::window
