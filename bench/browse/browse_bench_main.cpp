// The patient browse's page steps on a large sample (carelog-sample DIR --patients 100000): the
// first page of "Browse Patients" (order by agency, view opened, page filled, key distribution
// built), one row scrolled at the end of a full page, Page Down and a thumb drag to the middle.
// Each is timed from the step's call to the page painted: the page goes to the list control
// with the browse window's own format and font, which paints it on an off-screen surface.
//
// The floor of each step, in the same run: the record store reading the rows the step shows by
// itself (SET on the key, then NEXT reads) and the same list painting one page. Its rows are
// read the way the step reads them, so that neither side has its pages cached and the other
// not: the first page and the thumb drag read the same rows at every repetition (both warm);
// Page Down and the one-row step walk forward into rows not read before (both cold), the
// browse from the top of the file, the floor from the start of another agency.
//
// Times are the thread's CPU time, user and system, per repetition (the reads from the file
// are system time); wall time on a shared machine measures the other programs as well.
//
// Memory per open browse: the heap the process holds more with 20 boxes open on the file, each
// with its page filled and its key distribution built, divided by 20.
//
// Usage: bench_browse DIR [repetitions]
#include <malloc.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/data/dictionary.h"
#include "app/data/records.h"
#include "app/patterns/browse_box.h"
#include "app/procedures/browse_procedures.h"
#include "runtime/host/display.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "runtime/window/control_classes.h"
#include "runtime/window/events.h"
#include "runtime/window/list_control.h"
#include "runtime/window/list_state.h"
#include "runtime/window/window_structure.h"

namespace carelog::app {
namespace {

constexpr int kRows = 20;
// The list of "Browse Patients" as its window defines it.
constexpr const char* kFormat =
    "[96L(2)|M~Name~@s40@?44L(2)|M~Next Visit~@d1B@](140)|64L(2)|M~Phone Number~@s14@"
    "70L(2)|M~Patient Number~@n14@106L(2)|M~Agency~@s40@";

// A list control of 20 visible rows painting on an off-screen surface.
class PaintedList {
 public:
  PaintedList() {
    list_.kind = window::kKindList;
    list_.cls = &window::kListClass;
    list_.attr = window::list_attr::kPageLoaded | 3;
    list_.font.face = "MS Sans Serif";
    list_.font.points = 8;
    window::SetListFormat(list_, kFormat);
    list_.pixels = host::Rect{0, 0, 585, 400};
    const int header = window::ListOf(list_).format.header_height;
    const int row = window::ListLayout(list_).row_height;
    list_.pixels = host::Rect{0, 0, 585, 2 + header + kRows * row};
    surface_ = host::Surface::Create(list_.pixels.Width(), list_.pixels.Height());
    dc_ = std::make_unique<host::DeviceContext>(surface_);
  }
  ~PaintedList() { window::SetListQueue(list_, nullptr); }

  // As the browse window's list side shows a page: one queue entry per row, the columns and
  // the record's position.
  void Show(const Page& page, int selected) {
    queue_.clear();
    for (const PageEntry& entry : page) {
      window::ListRecord record;
      for (const FieldValue& value : entry.values)
        record.fields.push_back({value.is_text, value.number, value.text});
      record.fields.push_back(window::ListField::Text(entry.position));
      queue_.push_back(std::move(record));
    }
    Paint(selected);
  }
  void Paint(int selected) {
    window::SetListQueue(list_, &queue_);
    window::SelectListRow(list_, selected);
    window::ListPaint(list_, *dc_, true);
  }

 private:
  window::Control list_;
  window::ListQueue queue_;
  std::shared_ptr<host::Surface> surface_;
  std::unique_ptr<host::DeviceContext> dc_;
};

class PaintingUi : public BrowseUi {
 public:
  explicit PaintingUi(PaintedList* list) : list_(list) {}
  int VisibleRows() override { return kRows; }
  int SelectedRow() override { return selected; }
  void ShowPage(const Page& page, int row) override {
    rows = static_cast<int>(page.size());
    selected = row;
    if (list_ != nullptr) list_->Show(page, row);
  }
  void SetScrollBar(bool) override {}
  int Thumb() override { return thumb; }
  void SetThumb(int) override {}
  void EnableChangeDelete(bool) override {}
  void PostNewSelection() override {}
  void PostClose() override {}
  void ReadError(const appdata::FileInfo&) override { std::fprintf(stderr, "read error\n"); }
  void Busy(bool) override {}
  int selected = 0, rows = 0, thumb = 0;

 private:
  PaintedList* list_;
};

// The thread's CPU time (user and system) per repetition: on a shared machine the wall time
// mostly measures the other programs.
double CpuMicros() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

template <class Step>
double Micros(int repetitions, Step step) {
  const double start = CpuMicros();
  for (int i = 0; i < repetitions; ++i) step();
  return (CpuMicros() - start) / repetitions;
}

store::KeyDeclaration& AgencyKey() {
  return *appdata::FindKey(appdata::FileId::kPatients, "PAT:AGENCYKEY");
}

// SET on the agency key at the first patient of `agency` (from the start when empty).
void SetAtAgency(const char* agency) {
  std::memset(appdata::PAT.AGENCY, ' ', sizeof appdata::PAT.AGENCY);
  std::memset(appdata::PAT.LAST_NAME, ' ', sizeof appdata::PAT.LAST_NAME);
  std::memset(appdata::PAT.FIRST_NAME, ' ', sizeof appdata::PAT.FIRST_NAME);
  if (*agency == '\0') {
    store::Set(AgencyKey());
    return;
  }
  std::memcpy(appdata::PAT.AGENCY, agency, std::strlen(agency));
  store::Set(AgencyKey(), AgencyKey());
}

// As the window opens its box: names resolved and bound, the first page read, the key
// distribution built.
void Open(BrowseBox& box) {
  std::string problem;
  box.Resolve(&problem);
  box.Bind();
  box.ResetView();
  box.RefreshPage(RefreshMode::kReset);
  box.BuildKeyDistribution();
}

size_t HeapInUse() {
  return mallinfo2().uordblks;
}

// Opens 20 boxes as the window opens its one; the heap they hold, per box.
size_t BytesPerOpenBrowse(const BrowseTable& table) {
  constexpr int kBoxes = 20;
  PaintingUi ui(nullptr);
  const size_t before = HeapInUse();
  std::vector<std::unique_ptr<BrowseBox>> boxes;
  for (int i = 0; i < kBoxes; ++i) {
    boxes.push_back(std::make_unique<BrowseBox>(table, 1, ui));
    Open(*boxes.back());
  }
  const size_t after = HeapInUse();
  return after > before ? (after - before) / kBoxes : 0;
}

struct Figures {
  double first, row, page, drag;
};

// The four steps of the browse, then the store's reads of the same rows; each with the list's
// paint when `list` is not null.
void Measure(const BrowseTable& table, PaintedList* list, int repetitions, Figures* browse,
             Figures* floor) {
  PaintingUi ui(list);
  browse->first = Micros(repetitions, [&] {
    BrowseBox box(table, 1, ui);
    Open(box);
  });
  BrowseBox box(table, 1, ui);
  Open(box);
  ui.selected = ui.rows;
  box.set_current_row(ui.rows);
  browse->row = Micros(repetitions, [&] { box.Scroll(window::event::kScrollDown); });
  browse->page = Micros(repetitions, [&] { box.Scroll(window::event::kPageDown); });
  ui.thumb = 50;
  browse->drag = Micros(repetitions, [&] { box.Scroll(window::event::kScrollDrag); });
  const std::string middle = box.page().front().values[4].text;  // where the drag landed

  auto read = [list](int rows) {
    for (int r = 0; r < rows; ++r) store::Next(appdata::PatientsFile());
    if (list != nullptr) list->Paint(kRows);
  };
  floor->first = Micros(repetitions, [&] {
    SetAtAgency("");
    read(kRows);
  });
  SetAtAgency(list != nullptr ? "Riverbend Home Health" : "Valley Community Nursing");
  floor->row = Micros(repetitions, [&] { read(1); });
  floor->page = Micros(repetitions, [&] { read(kRows); });
  floor->drag = Micros(repetitions, [&] {
    SetAtAgency(middle.c_str());
    read(kRows);
  });
}

void Report(const char* step, double browse, double floor, double painted_browse,
            double painted_floor) {
  std::printf("%-36s %9.1f %9.1f %6.2f   %9.1f %9.1f %6.2f\n", step, browse, floor,
              browse / floor, painted_browse, painted_floor, painted_browse / painted_floor);
}

size_t PageBytes(const Page& page) {
  size_t bytes = sizeof(Page);
  for (const PageEntry& entry : page) {
    bytes += sizeof entry + entry.record.capacity() + entry.position.capacity();
    for (const FieldValue& value : entry.values) bytes += sizeof value + value.text.capacity();
  }
  return bytes;
}

int Run(const char* directory, int repetitions) {
  std::filesystem::current_path(directory);
  std::string error;
  if (!host::StartDisplay(host::DisplayChoice::kHeadless, &error)) {
    std::fprintf(stderr, "bench_browse: %s\n", error.c_str());
    return 1;
  }
  store::RegisterTableOps(&store::StoredTables());
  if (store::Share(appdata::PatientsFile()) != 0) {
    std::fprintf(stderr, "bench_browse: %s\n", store::ErrorText().c_str());
    return 1;
  }
  const BrowseTable& table = *BrowseTables()[0];  // BROWSEALL
  PaintedList list;
  Figures browse, floor, painted_browse, painted_floor;
  Measure(table, nullptr, repetitions, &browse, &floor);
  Measure(table, &list, repetitions, &painted_browse, &painted_floor);
  const double paint = Micros(repetitions, [&] { list.Paint(kRows); });

  std::printf("patients %u, page of %d rows, %d repetitions, microseconds\n",
              store::Records(appdata::PatientsFile()), kRows, repetitions);
  std::printf("%-36s %9s %9s %6s   %9s %9s %6s\n", "step", "browse", "floor", "ratio",
              "+ paint", "+ paint", "ratio");
  Report("first page (with key distribution)", browse.first, floor.first, painted_browse.first,
         painted_floor.first);
  Report("one row down at the page's end", browse.row, floor.row, painted_browse.row,
         painted_floor.row);
  Report("page down", browse.page, floor.page, painted_browse.page, painted_floor.page);
  Report("thumb drag to 50", browse.drag, floor.drag, painted_browse.drag, painted_floor.drag);
  std::printf("the list's paint of one page alone: %.1f us\n", paint);
  PaintingUi ui(nullptr);
  BrowseBox box(table, 1, ui);
  Open(box);
  std::printf("page held: %zu bytes; heap per open browse: %zu bytes\n", PageBytes(box.page()),
              BytesPerOpenBrowse(table));
  box.CloseView();
  store::Close(appdata::PatientsFile());
  host::StopDisplay();
  return 0;
}

}  // namespace
}  // namespace carelog::app

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_browse DIR [repetitions]\n");
    return 2;
  }
  return carelog::app::Run(argv[1], argc > 2 ? std::atoi(argv[2]) : 200);
}
