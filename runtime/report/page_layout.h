// Pagination: places recorded bands on pages and hands each finished page on.
//
// A page's body starts at `top`; the page header is drawn there and the bands follow below
// it; the page footer is drawn at the foot of the body (top + body_height - its height). The
// bands of a page may take body_height - header height - footer height.
//
// Placing a band (Place):
//   1. A band that asks for a new page before it (flag or page number) finishes the current
//      page first; a page number it carries becomes the page number.
//   2. A counted band that does not fit below the bands already on the page starts the next
//      page. Bands kept with it (keep counts: a band stays with the given number of bands
//      after it) and the bands of groups still open go to the next page with it, unless that
//      would leave the page empty. Groups nest kMaxGroupDepth deep; deeper ones count as the
//      deepest level.
//   3. The band is put at the current position, which advances by its height unless the band
//      is absolute. A band taller than the space is put on a page of its own all the same.
//   4. A band that asks for a new page after it finishes the page; a page number it carries
//      becomes the number of the next page.
// Finishing a page: the form band and the header (recorded when the page started), the bands
// and the footer (recorded now) make the page, which goes to the sink unless the page number
// is outside the range. The page number and the finished-page count then advance by one.
#pragma once

#include <functional>
#include <vector>

#include "runtime/report/band_painter.h"
#include "runtime/report/draw_list.h"

namespace carelog::report {

struct PlacedBand {
  BandDrawing band;
  int keep = 0;         // bands after this one that must share its page
  int page_before = 0;  // page number to start before it, 0 none
  int page_after = 0;   // page number to start after it, 0 none
  uint32_t flags = 0;   // band_attr bits (report.h)
};

struct PageGeometry {
  int left = 0;
  int top = 0;
  int body_height = 0;
  int footer_height = 0;  // the footer's height as measured when the report opened
};

struct PageDecorations {
  // Each records its band for the given page number; an empty function records nothing.
  std::function<BandDrawing(int page)> header, footer, form;
};

// Receives each finished page that lies in the range; false aborts the job (the layout goes
// on counting pages but hands no more on).
using PageSink = std::function<bool(const DrawList& page, int page_number)>;

class PageLayout {
 public:
  PageLayout(PageGeometry geometry, PageDecorations decorations, PageSink sink);

  void SetRange(bool on, int first, int last);
  void Place(PlacedBand band);
  // Finishes the current page when a band is on it.
  void EndPage();

  int page_number() const { return page_number_; }
  int pages_finished() const { return pages_finished_; }
  bool aborted() const { return aborted_; }
  bool page_has_bands() const { return !queue_.empty(); }

 private:
  struct Queued {
    PlacedBand band;
    int y;  // below the header
  };
  void StartPage();
  void FinishPage();
  int Available() const;
  size_t FirstToMove() const;
  void BreakBefore();
  void Put(PlacedBand band);

  PageGeometry geometry_;
  PageDecorations decorations_;
  PageSink sink_;
  bool range_ = false;
  int first_ = 0, last_ = 0;
  int page_number_ = 1;
  int pages_finished_ = 0;
  bool aborted_ = false;
  bool started_ = false;
  BandDrawing header_, form_;
  std::vector<Queued> queue_;
  int running_ = 0;
  std::vector<size_t> groups_;  // queue index where each open group began on this page
  int deeper_groups_ = 0;       // begins past the deepest level, still open
};

}  // namespace carelog::report
