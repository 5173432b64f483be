// The printer that print jobs of reports and of print pages use: the program's print
// settings (print setup) when their printer is there, else the default printer; and the
// output file, when one is chosen (print to file for the next job, or a file for every job
// set by automation), which the job writes as PDF instead of printing.
#pragma once

#include <string>

#include "runtime/host/printing.h"

namespace carelog::report {

// The printer and output file of a job starting now; a one-time print-to-file choice is used
// up. False when the printer reports no usable page (resolution or size).
bool AcquirePrinter(host::PrinterInfo* printer, std::string* output_path);

}  // namespace carelog::report
