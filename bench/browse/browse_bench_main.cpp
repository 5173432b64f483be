// The patient browse's page steps on a large sample (carelog-sample DIR --patients 100000): the
// first page of "Browse Patients" (order by agency, page filled, key distribution built), one
// row scrolled at the end of a full page, Page Down and a thumb drag to the middle, each timed
// from the step's call to the page handed to the list. The floor in the same run is the record
// store reading the same rows by itself: SET on the key at the page's anchor and as many NEXT
// reads as the step shows. The list's painting is not included (the page goes to a list that
// only counts rows); the list's own figures are in bench_host.
//
// Usage: bench_browse DIR [repetitions]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/data/dictionary.h"
#include "app/patterns/browse_box.h"
#include "app/procedures/browse_procedures.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "runtime/window/events.h"

namespace carelog::app {
namespace {

using Clock = std::chrono::steady_clock;

class CountingUi : public BrowseUi {
 public:
  int VisibleRows() override { return 20; }
  int SelectedRow() override { return selected; }
  void ShowPage(const Page& page, int row) override {
    rows = static_cast<int>(page.size());
    selected = row;
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
};

template <class Step>
double Micros(int repetitions, Step step) {
  auto start = Clock::now();
  for (int i = 0; i < repetitions; ++i) step();
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / repetitions;
}

// The store alone: SET(key) and `rows` NEXT reads.
double Floor(int repetitions, int rows) {
  store::FileDeclaration& patients = appdata::PatientsFile();
  store::KeyDeclaration& key = *appdata::FindKey(appdata::FileId::kPatients, "PAT:AGENCYKEY");
  return Micros(repetitions, [&] {
    store::Set(key);
    for (int r = 0; r < rows; ++r) store::Next(patients);
  });
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
  store::RegisterTableOps(&store::StoredTables());
  if (store::Share(appdata::PatientsFile()) != 0) {
    std::fprintf(stderr, "bench_browse: %s\n", store::ErrorText().c_str());
    return 1;
  }
  const BrowseTable& table = *BrowseTables()[0];  // BROWSEALL
  CountingUi ui;
  const uint32_t records = store::Records(appdata::PatientsFile());
  double first = Micros(repetitions, [&] {
    BrowseBox box(table, 1, ui);
    std::string problem;
    box.Resolve(&problem);
    box.Bind();
    box.ResetView();
    box.RefreshPage(RefreshMode::kReset);
    box.BuildKeyDistribution();
  });
  BrowseBox box(table, 1, ui);
  std::string problem;
  box.Resolve(&problem);
  box.Bind();
  box.ResetView();
  box.RefreshPage(RefreshMode::kReset);
  box.BuildKeyDistribution();
  ui.selected = ui.rows;
  box.set_current_row(ui.rows);
  double row = Micros(repetitions, [&] { box.Scroll(window::event::kScrollDown); });
  double page = Micros(repetitions, [&] { box.Scroll(window::event::kPageDown); });
  double drag = Micros(repetitions, [&] {
    ui.thumb = 50;
    box.Scroll(window::event::kScrollDrag);
  });
  std::printf("patients %u, page of %d rows, %d repetitions\n", records, ui.rows, repetitions);
  std::printf("%-34s %10s %10s %8s\n", "step", "browse us", "floor us", "ratio");
  const double floor_page = Floor(repetitions, 20), floor_row = Floor(repetitions, 2);
  std::printf("%-34s %10.1f %10.1f %8.2f\n", "first page (with key distribution)", first,
              floor_page, first / floor_page);
  std::printf("%-34s %10.1f %10.1f %8.2f\n", "one row down at the page's end", row, floor_row,
              row / floor_row);
  std::printf("%-34s %10.1f %10.1f %8.2f\n", "page down", page, floor_page, page / floor_page);
  std::printf("%-34s %10.1f %10.1f %8.2f\n", "thumb drag to 50", drag, floor_page,
              drag / floor_page);
  std::printf("page held: %zu bytes\n", PageBytes(box.page()));
  store::Close(appdata::PatientsFile());
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
