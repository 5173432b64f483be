// A browse page through a ranged view: 100,000 progress notes over 5,000 patients, keyed by
// patient number. One page is 20 rows of one patient's notes, read forward from the start of
// the key or backward from its end, through a view whose filter is the browse's range
// "BV:PATIENT = BV:Reset". Compared in the same run with
//   - the same view with the filter shortcut off (every record tested in key order), and
//   - SQLite answering the same query through an index on the patient number.
// Prints CPU microseconds per page and records read per page.
//
// The load is timed both ways: inside one LOGOUT/COMMIT, the peer of SQLite's one transaction,
// and with one durable ADD per note.
//
// Usage: bench_views [records] [patients] [--profile-pages]
//   --profile-pages: only the ranged pages, in ProfiledPages (for callgrind's --toggle-collect);
//   no durable load, no SQLite, no full scans.
#include <sqlite3.h>
#include <stdlib.h>

#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "runtime/eval/name_table.h"
#include "runtime/eval/record_binding.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "runtime/store/table_ops.h"
#include "runtime/store/test_file_builder.h"
#include "runtime/view/view_engine.h"

namespace {

using namespace carelog;

// The process's CPU time: the machine these run on is shared, and wall time would mostly
// measure the other processes.
struct Clock {
  using duration = std::chrono::nanoseconds;
  using time_point = std::chrono::time_point<Clock, duration>;
  static time_point now() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return time_point(duration(int64_t{t.tv_sec} * 1000000000 + t.tv_nsec));
  }
};

constexpr int kPageRows = 20;
constexpr uint32_t kRecordSize = 72;  // PATIENT LONG, DATE LONG, TIME LONG, NOTE STRING(60)

std::vector<uint8_t> NotesLayout() {
  store::testing::LayoutBytes layout;
  layout.Start()
      .Field("BV:PATIENT", store::kTypeLong)
      .Link(4)
      .Field("BV:DATE", store::kTypeLong)
      .Link(8)
      .Field("BV:TIME", store::kTypeLong)
      .Link(12)
      .String("BV:NOTE", 60)
      .End();
  return layout.bytes;
}

struct Note {
  int32_t patient;
  int32_t date;
  int32_t time;
};

std::vector<Note> MakeNotes(int records, int patients) {
  std::mt19937 random(7);
  std::vector<Note> notes(records);
  for (Note& note : notes) {
    note.patient = static_cast<int32_t>(random() % patients) + 1;
    note.date = 70000 + static_cast<int32_t>(random() % 20000);
    note.time = 1 + static_cast<int32_t>(random() % 8640000);
  }
  return notes;
}

double Microseconds(Clock::duration d) {
  return std::chrono::duration<double, std::micro>(d).count();
}

struct Figures {
  double forward_us = 0;
  double backward_us = 0;
  double reads_per_page = 0;
};

class StoreSide {
 public:
  // Loads the notes one durable ADD at a time, or all inside one LOGOUT/COMMIT (as SQLite loads
  // them in one transaction).
  StoreSide(const std::string& path, const std::vector<Note>& notes, bool one_transaction)
      : file_(path, kRecordSize, NotesLayout()) {
    store::RegisterTableOps(&store::StoredTables());
    key_ = &file_.AddKey("BV:KEY_PATIENT", {1}, store::kKeyDup | store::kKeyNoCase);
    Check(store::Create(file_.declaration), "CREATE");
    Check(store::Open(file_.declaration, 0x42), "OPEN");
    uint8_t* record = file_.buffer();
    std::memset(record, ' ', kRecordSize);
    if (one_transaction) Check(store::Logout(file_.declaration), "LOGOUT");
    for (const Note& note : notes) {
      std::memcpy(record, &note.patient, 4);
      std::memcpy(record + 4, &note.date, 4);
      std::memcpy(record + 8, &note.time, 4);
      std::snprintf(reinterpret_cast<char*>(record + 12), 60, "%-59s", "visit note");
      Check(store::Add(file_.declaration), "ADD");
    }
    if (one_transaction) Check(store::Commit(file_.declaration), "COMMIT");
    eval::BindRecord(file_.declaration);
    eval::Bind("BV:Reset", &reset_);
    view_.driver = &view::ViewEngineEntry;
    view_.primary = &file_.declaration;
    view_.filter = {kFilter, static_cast<uint32_t>(std::strlen(kFilter))};
  }

  ~StoreSide() { store::Close(file_.declaration); }

  // The same page read from the file alone, positioned on the range by SET(key, key), which
  // starts at the first (forward) or last (backward) entry of the value: the cost of the reads
  // that the view engine builds on.
  int RawPage(int32_t patient, bool forward, uint64_t* reads) {
    uint8_t* record = file_.buffer();
    std::memcpy(record, &patient, 4);
    Check(store::Set(*key_, *key_), "SET");
    int rows = 0;
    while (rows < kPageRows &&
           (forward ? store::Next(file_.declaration) : store::Previous(file_.declaration)) == 0) {
      ++*reads;
      int32_t read;
      std::memcpy(&read, record, 4);
      if (read != patient) break;
      ++rows;
    }
    return rows;
  }

  // One page of `patient`'s notes; returns the rows read.
  int Page(int32_t patient, bool forward, uint64_t* reads) {
    reset_ = patient;
    Check(store::Set(*key_), "SET");
    Check(view::OpenView(view_), "OPEN view");
    int rows = 0;
    while (rows < kPageRows &&
           (forward ? view::NextInView(view_) : view::PreviousInView(view_)) == 0) {
      ++rows;
    }
    *reads += view::ViewRecordsRead(view_);
    view::CloseView(view_);
    return rows;
  }

 private:
  static constexpr const char* kFilter = "BV:PATIENT = BV:Reset";

  static void Check(int result, const char* what) {
    if (result == 0) return;
    std::fprintf(stderr, "%s failed: %d %s\n", what, result, store::ErrorText().c_str());
    std::exit(1);
  }

  store::testing::TestFile file_;
  store::KeyDeclaration* key_ = nullptr;
  view::ViewDeclaration view_;
  int32_t reset_ = 0;
};

class SqliteSide {
 public:
  SqliteSide(const std::string& path, const std::vector<Note>& notes) {
    sqlite3_open(path.c_str(), &db_);
    Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
    Exec("CREATE TABLE notes(patient INTEGER, date INTEGER, time INTEGER, note TEXT);");
    Exec("BEGIN;");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db_, "INSERT INTO notes VALUES(?, ?, ?, 'visit note')", -1, &insert,
                       nullptr);
    for (const Note& note : notes) {
      sqlite3_bind_int(insert, 1, note.patient);
      sqlite3_bind_int(insert, 2, note.date);
      sqlite3_bind_int(insert, 3, note.time);
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    Exec("COMMIT; CREATE INDEX notes_patient ON notes(patient);");
    const char* forward =
        "SELECT patient, date, time, note FROM notes WHERE patient = ? ORDER BY patient, rowid "
        "LIMIT 20";
    const char* backward =
        "SELECT patient, date, time, note FROM notes WHERE patient = ? ORDER BY patient DESC, "
        "rowid DESC LIMIT 20";
    sqlite3_prepare_v2(db_, forward, -1, &forward_, nullptr);
    sqlite3_prepare_v2(db_, backward, -1, &backward_, nullptr);
  }

  ~SqliteSide() {
    sqlite3_finalize(forward_);
    sqlite3_finalize(backward_);
    sqlite3_close(db_);
  }

  int Page(int32_t patient, bool forward) {
    sqlite3_stmt* query = forward ? forward_ : backward_;
    sqlite3_bind_int(query, 1, patient);
    int rows = 0;
    while (sqlite3_step(query) == SQLITE_ROW) {
      checksum_ += sqlite3_column_int(query, 1) + sqlite3_column_bytes(query, 3);
      ++rows;
    }
    sqlite3_reset(query);
    return rows;
  }

 private:
  void Exec(const char* sql) { sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }

  sqlite3* db_ = nullptr;
  sqlite3_stmt* forward_ = nullptr;
  sqlite3_stmt* backward_ = nullptr;
  int64_t checksum_ = 0;
};

template <typename PageFn>
Figures Measure(const std::vector<int32_t>& patients, PageFn page) {
  Figures figures;
  uint64_t reads = 0;
  for (bool forward : {true, false}) {
    const auto start = Clock::now();
    for (int32_t patient : patients) page(patient, forward, &reads);
    const double us = Microseconds(Clock::now() - start) / patients.size();
    (forward ? figures.forward_us : figures.backward_us) = us;
  }
  figures.reads_per_page = static_cast<double>(reads) / (2.0 * patients.size());
  return figures;
}

// The ranged pages alone, kept out of line so that a profiler can collect just them.
[[gnu::noinline]] Figures ProfiledPages(StoreSide& side, const std::vector<int32_t>& patients) {
  return Measure(patients, [&](int32_t p, bool f, uint64_t* reads) { side.Page(p, f, reads); });
}

int ProfilePages(const std::string& directory, const std::vector<Note>& notes,
                 const std::vector<int32_t>& sample) {
  StoreSide side(directory + "/NOTES", notes, true);
  const Figures ranged = ProfiledPages(side, sample);
  std::printf("ranged view pages: %.1f records read a page\n", ranged.reads_per_page);
  std::filesystem::remove_all(directory);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool profile = argc > 1 && std::strcmp(argv[argc - 1], "--profile-pages") == 0;
  if (profile) --argc;
  const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int patients = argc > 2 ? std::atoi(argv[2]) : 5000;
  const bool shm = std::filesystem::is_directory("/dev/shm");
  std::string directory = shm ? "/dev/shm/bench_views_XXXXXX" : "/tmp/bench_views_XXXXXX";
  if (mkdtemp(directory.data()) == nullptr) return 1;

  const std::vector<Note> notes = MakeNotes(records, patients);
  std::mt19937 random(11);
  std::vector<int32_t> sample(200);
  for (int32_t& patient : sample) patient = static_cast<int32_t>(random() % patients) + 1;
  if (profile) return ProfilePages(directory, notes, sample);

  auto load_start = Clock::now();
  double durable_load_s = 0;
  {
    StoreSide durable_side(directory + "/DURABLE", notes, false);
    durable_load_s = Microseconds(Clock::now() - load_start) / 1e6;
  }
  load_start = Clock::now();
  StoreSide store_side(directory + "/NOTES", notes, true);
  const double store_load_s = Microseconds(Clock::now() - load_start) / 1e6;
  load_start = Clock::now();
  SqliteSide sqlite_side(directory + "/notes.sqlite", notes);
  const double sqlite_load_s = Microseconds(Clock::now() - load_start) / 1e6;

  std::vector<int32_t> scan_sample(sample.begin(), sample.begin() + 10);

  view::EnableViewFilterShortcut(true);
  const Figures ranged =
      Measure(sample, [&](int32_t p, bool f, uint64_t* reads) { store_side.Page(p, f, reads); });
  const Figures raw =
      Measure(sample, [&](int32_t p, bool f, uint64_t* reads) { store_side.RawPage(p, f, reads); });
  view::EnableViewFilterShortcut(false);
  const Figures scanned = Measure(
      scan_sample, [&](int32_t p, bool f, uint64_t* reads) { store_side.Page(p, f, reads); });
  view::EnableViewFilterShortcut(true);
  const Figures sqlite =
      Measure(sample, [&](int32_t p, bool f, uint64_t*) { sqlite_side.Page(p, f); });

  std::printf(
      "%d notes over %d patients (%s); load in one transaction: store %.2f s, SQLite %.2f s "
      "(ratio %.2f); store with one durable ADD each: %.1f s\n",
      records, patients, shm ? "/dev/shm" : "/tmp", store_load_s, sqlite_load_s,
      sqlite_load_s / store_load_s, durable_load_s);
  std::printf("page of %d rows          forward us  backward us  records read/page\n", kPageRows);
  std::printf("ranged view (shortcut)  %10.1f  %11.1f  %17.1f\n", ranged.forward_us,
              ranged.backward_us, ranged.reads_per_page);
  std::printf("file reads alone        %10.1f  %11.1f  %17.1f\n", raw.forward_us, raw.backward_us,
              raw.reads_per_page);
  std::printf("view, full filtered scan%10.1f  %11.1f  %17.1f\n", scanned.forward_us,
              scanned.backward_us, scanned.reads_per_page);
  std::printf("SQLite through an index %10.1f  %11.1f\n", sqlite.forward_us, sqlite.backward_us);
  std::printf("ratio ranged / SQLite: forward %.2f, backward %.2f\n",
              ranged.forward_us / sqlite.forward_us, ranged.backward_us / sqlite.backward_us);
  std::filesystem::remove_all(directory);
  return 0;
}
