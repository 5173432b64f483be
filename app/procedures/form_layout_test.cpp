// Every form window laid out as it opens, with its own font and, where the form takes the
// default display font, at 8 and 12 points: each control's text fits the control, no two
// controls shown together overlap, and each control lies inside its box, its sheet and its
// window. The windows are opened and measured only; no form loop runs.
#include <gtest/gtest.h>

#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_testing.h"
#include "app/data/file_access.h"
#include "app/month_grid.h"
#include "app/patterns/form_record.h"
#include "app/procedure_catalogue.h"
#include "app/procedure_frame.h"
#include "app/procedure_globals.h"
#include "app/procedures/browse_procedures.h"
#include "app/procedures/form_procedures.h"
#include "runtime/host/automation.h"
#include "runtime/host/graphics.h"
#include "runtime/values/picture.h"
#include "runtime/values/standard_date.h"
#include "runtime/window/definition_format.h"
#include "runtime/window/frame_layout.h"
#include "runtime/window/list_state.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app {
namespace {

namespace wt = window::testing;
using window::Control;

constexpr int kMarkSpace = 13 + 6;  // check box or radio mark and the gap before its text
constexpr int kEntryPad = 4;        // text inset of entries at each side
constexpr int kButtonPad = 4;
constexpr int kTabPad = 20;      // a tab's header is its text and this much
constexpr int kTabRowStart = 2;  // left of the first tab
constexpr int kCellPad = 3;      // a list cell's text inset at each side
constexpr int kListDigits = 6;   // the most digits a list's number shows (999,999)

std::string Name(const Control& c) {
  std::ostringstream out;
  out << c.cls->automation_kind;
  if (c.equate != 0) out << ' ' << c.equate;
  if (!c.text.empty()) out << " \"" << c.text << '"';
  return out.str();
}

// The tab whose page shows the control; nullptr for controls outside every sheet.
const Control* PageOf(const Control& c) {
  for (const Control* up = c.container; up; up = up->container) {
    if (up->kind == window::kKindTab) return up;
  }
  return nullptr;
}

bool IsDecoration(uint8_t kind) {
  return kind == window::kKindLine || kind == window::kKindBox || kind == window::kKindRegion;
}

// Menus are drawn in the window's menu bar, not among its controls.
bool IsMenu(uint8_t kind) {
  return kind == window::kKindMenu || kind == window::kKindItem || kind == window::kKindMenuBar;
}

bool Overlap(const host::Rect& a, const host::Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const host::Rect& inner, const host::Rect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The widest text an entry with a fixed-width picture shows: digits are all one width, so a
// value of eights as long as the picture takes without overflowing (or of `most_digits`
// digits, when fewer). Text pictures give "".
std::string WidestValue(std::string picture, int most_digits = 15) {
  if (!picture.empty() && picture[0] != '@') picture.insert(0, "@");
  if (picture.size() < 2) return "";
  char kind = static_cast<char>(std::tolower(static_cast<unsigned char>(picture[1])));
  if (kind == 'd') return values::Format(values::DayNumber(2028, 12, 28), picture);
  if (kind == 't') return values::Format(4320001, picture);  // noon: a two-digit hour
  if (kind != 'n' && kind != 'p') return "";
  std::string widest;
  double value = 0;
  for (int digits = 1; digits <= most_digits; ++digits) {
    value = value * 10 + 8;
    std::string shown = values::Format(value, picture);
    if (shown.find('#') != std::string::npos || shown.find('*') != std::string::npos) break;
    widest = shown;
  }
  return widest;
}

// The width and height the control needs to show its text whole; {0, 0} when it shows none.
host::Size Needed(host::DeviceContext& dc, const Control& c) {
  std::string text = host::WithoutHotkey(c.text);
  int pad = 0, extra_height = 0;
  switch (c.kind) {
    case window::kKindPrompt:
    case window::kKindString:
      break;
    case window::kKindCheck:
    case window::kKindRadio:
      pad = kMarkSpace;
      break;
    case window::kKindButton:
      pad = 2 * kButtonPad;
      extra_height = 4;
      break;
    case window::kKindGroup:
    case window::kKindOption:
      pad = 2 * 8 + 6;
      break;
    case window::kKindEntry:
    case window::kKindVarString:
    case window::kKindSpin:
      text = WidestValue(c.picture);
      pad = 2 * kEntryPad;
      extra_height = 2;
      break;
    default:
      return host::Size{};
  }
  if (text.empty()) return host::Size{};
  dc.SetFont(c.font);
  host::Size size = dc.TextExtent(text);
  if (c.kind == window::kKindGroup || c.kind == window::kKindOption) return {size.width + pad, 0};
  return host::Size{size.width + pad, size.height + extra_height};
}

void TextFaults(const window::Structure& w, std::vector<std::string>* faults) {
  host::DeviceContext dc(host::Surface::Create(1, 1));
  for (const auto& owned : w.controls) {
    const Control& c = *owned;
    if (c.flags & window::control_flag::kHidden) continue;
    host::Size needed = Needed(dc, c);
    if (needed.width > c.pixels.Width() || needed.height > c.pixels.Height()) {
      std::ostringstream out;
      out << Name(c) << " needs " << needed.width << "x" << needed.height << ", has "
          << c.pixels.Width() << "x" << c.pixels.Height();
      faults->push_back(out.str());
    }
  }
}

// The part of the sheet below its row of tabs, where the tabs' controls go.
host::Rect PageArea(const Control& sheet, const Control& tab) {
  host::DeviceContext dc(host::Surface::Create(1, 1));
  dc.SetFont(sheet.font);
  int row = dc.Metrics().height + 10;
  dc.SetFont(tab.font);
  row = std::max(row, dc.Metrics().height + 10);
  host::Rect area = sheet.pixels;
  area.top += row;
  return area;
}

// How far a box's caption reaches down into it.
int CaptionHeight(const Control& box) {
  if (box.text.empty()) return 0;
  host::DeviceContext dc(host::Surface::Create(1, 1));
  dc.SetFont(box.font);
  return dc.TextExtent(box.text).height;
}

void PlacementFaults(const window::Structure& w, std::vector<std::string>* faults) {
  host::Rect client = host::ClientRect(w.handle);
  host::Rect area{0, window::internal::PartsAbove(w), client.right,
                  client.bottom - window::internal::PartsBelow(w)};
  for (const auto& owned : w.controls) {
    const Control& c = *owned;
    if (c.kind == window::kKindTab || IsMenu(c.kind)) continue;
    if (c.flags & window::control_flag::kHidden) continue;
    host::Rect outer = area;
    const char* where = "the window";
    if (c.container && c.container->kind == window::kKindTab) {
      outer = PageArea(*c.container->container, *c.container);
      where = "its tab's page";
    } else if (c.container && c.container->kind != window::kKindSheet) {
      outer = c.container->pixels;
      outer.top += CaptionHeight(*c.container);
      where = "its box, below the caption";
    }
    if (!Inside(c.pixels, outer)) faults->push_back(Name(c) + " lies outside " + where);
  }
}

bool Contains(const Control& box, const Control& c) {
  for (const Control* up = c.container; up; up = up->container) {
    if (up == &box) return true;
  }
  return false;
}

// `over_sheet`: controls may lie over the sheet without belonging to one of its tabs.
void OverlapFaults(const window::Structure& w, bool over_sheet, std::vector<std::string>* faults) {
  std::vector<const Control*> shown;
  for (const auto& owned : w.controls) {
    const Control& c = *owned;
    if (c.kind == window::kKindTab || IsDecoration(c.kind) || IsMenu(c.kind)) continue;
    if (c.kind == window::kKindSheet && over_sheet) continue;
    if (c.flags & window::control_flag::kHidden) continue;
    shown.push_back(&c);
  }
  for (size_t i = 0; i < shown.size(); ++i) {
    for (size_t j = i + 1; j < shown.size(); ++j) {
      const Control& a = *shown[i];
      const Control& b = *shown[j];
      const Control* pa = PageOf(a);
      const Control* pb = PageOf(b);
      if (pa && pb && pa != pb) continue;
      if (Contains(a, b) || Contains(b, a)) continue;
      if (!Overlap(a.pixels, b.pixels)) continue;
      faults->push_back(Name(a) + " overlaps " + Name(b));
    }
  }
}

// A sheet whose tabs all show in its row, with no arrows to scroll it.
void TabRowFaults(const window::Structure& w, std::vector<std::string>* faults) {
  host::DeviceContext dc(host::Surface::Create(1, 1));
  for (const auto& owned : w.controls) {
    const Control& sheet = *owned;
    if (sheet.kind != window::kKindSheet) continue;
    int row = kTabRowStart;
    for (const Control* tab : sheet.children) {
      dc.SetFont(tab->font);
      row += dc.TextExtent(tab->text).width + kTabPad;
    }
    if (row > sheet.pixels.Width()) {
      faults->push_back(Name(sheet) + "'s tabs need " + std::to_string(row) + " pixels, has " +
                        std::to_string(sheet.pixels.Width()));
    }
  }
}

// A list's column whose header, or the widest value its picture shows, does not fit it.
void ColumnFaults(const Control& list, std::vector<std::string>* faults) {
  window::ListLayout(list);  // parses the format for the list's font
  const window::ListFormat& format = window::ListOf(list).format;
  host::DeviceContext dc(host::Surface::Create(1, 1));
  dc.SetFont(list.font);
  for (const window::ListColumn& column : format.columns) {
    if (column.width == 0) continue;
    int header = dc.TextExtent(column.header).width + column.header_indent + 2 * kCellPad;
    int value = 0;
    // Counters and record numbers in a list run to millions, not to their picture's width.
    std::string widest = WidestValue(column.picture, kListDigits);
    widest.erase(0, widest.find_first_not_of(' '));  // a list shows its values trimmed
    widest.erase(widest.find_last_not_of(' ') + 1);
    if (!widest.empty()) {
      value = dc.TextExtent(widest).width + column.data_indent + 2 * kCellPad;
    }
    int needed = std::max(header, value);
    if (needed > column.width) {
      faults->push_back(Name(list) + " column \"" + column.header + "\" (" + column.picture +
                        ") needs " + std::to_string(needed) + ", has " +
                        std::to_string(column.width));
    }
  }
}

void ListFaults(const window::Structure& w, std::vector<std::string>* faults) {
  for (const auto& owned : w.controls) {
    if (owned->kind == window::kKindList) ColumnFaults(*owned, faults);
  }
}

struct LayoutRules {
  bool tabs_scroll = false;  // the sheet's row of tabs scrolls by design
  bool over_sheet = false;   // a browse lays its list and buttons over its sheet's one page
};

std::vector<std::string> LayoutFaults(const window::Structure& w, LayoutRules rules) {
  std::vector<std::string> faults;
  if (!rules.tabs_scroll) TabRowFaults(w, &faults);
  TextFaults(w, &faults);
  PlacementFaults(w, &faults);
  OverlapFaults(w, rules.over_sheet, &faults);
  ListFaults(w, &faults);
  return faults;
}

// The USE variables of the form's window: its file's record buffer, which must be open.
void BindFields(const FormTable& table, window::UseTable* use_table) {
  std::vector<FormUse> uses;
  std::string unresolved;
  ASSERT_TRUE(ResolveBindings(table, &uses, &unresolved)) << unresolved;
  for (const FormUse& use : uses) {
    use_table->push_back(window::UseBinding{
        use.control, use.slot.storage, window::UseVariable{use.slot.address, use.slot.places}});
  }
}

// Opens the form's window over its files' buffers, with the display font where the form takes
// it, and returns what is wrong with its layout.
std::vector<std::string> FormLayoutFaults(const FormTable& table, bool display_font) {
  std::vector<std::string> faults;
  wt::Program program([&table, display_font, &faults] {
    appdata::FileUse files({table.file});
    window::UseTable use_table;
    ASSERT_NO_FATAL_FAILURE(BindFields(table, &use_table));
    window::Structure window(window::StructureKind::kWindow, table.window, table.module, use_table);
    ASSERT_TRUE(window::Open(window)) << table.window;
    if (display_font) ApplyDisplayFont(window);
    // The patient form's row of eighteen tabs scrolls by design.
    faults =
        LayoutFaults(window, {.tabs_scroll = std::string_view(table.name) == "UPDATEPATIENTS"});
    window::Close(window);
  });
  program.Join();
  return faults;
}

// What a month grid's heading can show: every month with a four-digit year, and the text
// shown for a date outside the calendar.
std::vector<std::string> GridHeadings() {
  std::vector<std::string> headings{kOutOfLimits};
  for (int month = 1; month <= 12; ++month) headings.push_back(MonthName(month) + " 2028");
  return headings;
}

// Opens a month-grid window with the display font where asked and shows every heading in it in
// turn: what is wrong with its layout under any of them.
// `form` gives the window's USE variables; nullptr for a window with none.
std::vector<std::string> GridLayoutFaults(const char* module, const char* label,
                                          const FormTable* form, bool display_font) {
  std::vector<std::string> faults;
  wt::Program program([module, label, form, display_font, &faults] {
    appdata::FileUse files(form ? std::vector<appdata::FileId>{form->file}
                                : std::vector<appdata::FileId>{});
    window::UseTable use_table;
    if (form) {
      ASSERT_NO_FATAL_FAILURE(BindFields(*form, &use_table));
    }
    window::Structure window(window::StructureKind::kWindow, label, module, use_table);
    ASSERT_TRUE(window::Open(window)) << label;
    if (display_font) ApplyDisplayFont(window);
    for (const std::string& heading : GridHeadings()) {
      window::SetProperty(kHeading, window::prop::kText, heading);
      TextFaults(window, &faults);
    }
    PlacementFaults(window, &faults);
    OverlapFaults(window, false, &faults);
    window::Close(window);
  });
  program.Join();
  return faults;
}

std::string Listed(const std::vector<std::string>& faults) {
  std::string text;
  for (const std::string& fault : faults) text += "\n  " + fault;
  return text;
}

TEST(FormLayout, EveryFormFitsItsTextAndKeepsItsControlsApart) {
  testing::TempWorkingDirectory directory;
  DisplayFont = DisplayFontSettings{};
  for (const FormTable* table : procedures::FormTables()) {
    std::vector<std::string> faults = FormLayoutFaults(*table, false);
    EXPECT_TRUE(faults.empty()) << table->name << Listed(faults);
  }
}

// Checks with `faults_of` every table whose procedure takes the default display font, with that
// font at 8 and at 12 points.
template <typename Table, typename FaultsOf>
void ExpectFitAtEightAndTwelvePoints(std::span<const Table* const> tables, FaultsOf faults_of) {
  for (uint8_t size : {8, 12}) {
    DisplayFont = DisplayFontSettings{"MS Sans Serif", size, 0, 0};
    for (const Table* table : tables) {
      const CatalogueRow* row = FindProcedure(table->name);
      if (!row || !row->takes_default_font) continue;
      std::vector<std::string> faults = faults_of(*table);
      EXPECT_TRUE(faults.empty()) << table->name << " at " << int{size} << " points"
                                  << Listed(faults);
    }
  }
  DisplayFont = DisplayFontSettings{};
}

TEST(FormLayout, FormsTakingTheDefaultFontFitAtEightAndTwelvePoints) {
  testing::TempWorkingDirectory directory;
  ExpectFitAtEightAndTwelvePoints(procedures::FormTables(), [](const FormTable& table) {
    return FormLayoutFaults(table, true);
  });
}

// Opens the browse's window, with the display font where the browse takes it, and returns
// what is wrong with its layout.
std::vector<std::string> BrowseLayoutFaults(const BrowseTable& table, bool display_font) {
  std::vector<std::string> faults;
  wt::Program program([&table, display_font, &faults] {
    window::Structure window(window::StructureKind::kWindow, table.window, table.module,
                             window::UseTable{});
    ASSERT_TRUE(window::Open(window)) << table.window;
    if (display_font) ApplyDisplayFont(window);
    faults = LayoutFaults(window, {.over_sheet = true});
    window::Close(window);
  });
  program.Join();
  return faults;
}

TEST(BrowseLayout, EveryBrowseFitsItsHeadersAndValuesAtItsOwnFontAndAtEightAndTwelvePoints) {
  testing::TempWorkingDirectory directory;
  DisplayFont = DisplayFontSettings{};
  for (const BrowseTable* table : BrowseTables()) {
    std::vector<std::string> faults = BrowseLayoutFaults(*table, false);
    EXPECT_TRUE(faults.empty()) << table->name << Listed(faults);
  }
  ExpectFitAtEightAndTwelvePoints(
      BrowseTables(), [](const BrowseTable& table) { return BrowseLayoutFaults(table, true); });
}

const FormTable* MonthCalForm() {
  for (const FormTable* table : procedures::FormTables()) {
    if (std::string_view(table->name) == "UPDATEMONTHCAL") return table;
  }
  return nullptr;
}

// The date picker takes the default font; the month calendar form keeps its own.
TEST(FormLayout, MonthGridsShowEveryHeadingWhole) {
  testing::TempWorkingDirectory directory;
  DisplayFont = DisplayFontSettings{};
  std::vector<std::string> faults =
      GridLayoutFaults("carelog.cpp$carlg043", "UPDATEMONTHCAL$QUICKWINDOW", MonthCalForm(), false);
  EXPECT_TRUE(faults.empty()) << "UPDATEMONTHCAL" << Listed(faults);
  faults = GridLayoutFaults("carelog.cpp$carlg001", "CALENDAR$CALWIN", nullptr, false);
  EXPECT_TRUE(faults.empty()) << "CALENDAR" << Listed(faults);
  for (uint8_t size : {8, 12}) {
    DisplayFont = DisplayFontSettings{"MS Sans Serif", size, 0, 0};
    faults = GridLayoutFaults("carelog.cpp$carlg001", "CALENDAR$CALWIN", nullptr, true);
    EXPECT_TRUE(faults.empty()) << "CALENDAR at " << int{size} << " points" << Listed(faults);
  }
  DisplayFont = DisplayFontSettings{};
}

}  // namespace
}  // namespace carelog::app
