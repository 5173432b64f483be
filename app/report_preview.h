// REPORTPREVIEW: shows a report's recorded pages one at a time, as facing pages or one page
// enlarged, lets the user move through them or jump to a page, and tells the caller whether
// to print them. The preview never prints itself, and leaves the queue and its files to the
// caller.
//
// The catalogue's entry REPORTPREVIEW takes no arguments: it shows the queue handed to the
// latest ReportPreview call of the calling thread (none: nothing to show, response 2).
#pragma once

#include "runtime/report/report.h"

namespace carelog::app {

// Shows `pages` (page-file names in page order) and returns ProcResponse: 1 when the user
// chose print, 2 otherwise. An empty queue shows nothing and returns 2.
// REQUIRES: the calling thread holds the global semaphore.
int ReportPreview(const report::PreviewQueue& pages);

void REPORTPREVIEW();

}  // namespace carelog::app
