// The record store against SQLite on the same Patients work, in one run:
//   1. durable ADD, one statement (one commit) per record, beside the file system's flush
//      latency measured in the same run;
//   2. random GETs by patient number on a 100,000-record file;
//   3. SET + NEXT through the last-name key over every record;
//   4. file size of 100,000 records with their keys.
// Each line is measured on the table layer and again through the application's own Patients
// declaration and file statements.
// SQLite runs with journal_mode=DELETE, synchronous=FULL and prepared statements; its table
// carries the six Patients keys as indexes. Usage: store_vs_sqlite [DIR]
// [--quick | --profile-scan | --profile-durable]
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/store_vs_sqlite/patients_table.h"
#include "bench/store_vs_sqlite/statements_side.h"
#include "runtime/store/data_file.h"
#include "runtime/store/file_io.h"
#include "runtime/store/positions.h"
#include "runtime/store/reading.h"
#include "runtime/store/table.h"

namespace carelog::bench {
namespace {

using namespace carelog::store;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

void Die(const std::string& what, int code) {
  std::fprintf(stderr, "store_vs_sqlite: %s failed (%d)\n", what.c_str(), code);
  std::exit(1);
}

uint64_t FileSize(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
}

// Microseconds of one small write followed by fdatasync, the floor under any durable commit.
double FlushLatencyMicros(const std::string& dir) {
  std::string path = dir + "/flush-probe";
  int fd = open(path.c_str(), O_CREAT | O_RDWR | O_TRUNC, 0644);
  if (fd < 0) Die("flush probe", errno);
  char block[4096] = {};
  const int rounds = 200;
  auto start = Clock::now();
  for (int i = 0; i < rounds; ++i) {
    if (pwrite(fd, block, sizeof block, 0) != static_cast<ssize_t>(sizeof block)) {
      Die("flush probe write", errno);
    }
    fdatasync(fd);
  }
  double micros = Seconds(start) * 1e6 / rounds;
  close(fd);
  unlink(path.c_str());
  return micros;
}

// --- The record store --------------------------------------------------------------------------

class StoreSide {
 public:
  explicit StoreSide(const std::string& path) : path_(path) {
    unlink(path.c_str());
    DataFileOptions options;
    options.create = true;
    int rc = DataFile::Open(path, options, &file_);
    if (rc == 0) rc = Table::Create(*file_, "UNNAMED", PatientsDefinition(), false, &table_);
    if (rc == 0) rc = file_->EndAccess();
    if (rc != 0) Die("store create", rc);
    record_.resize(kPatientRecordSize);
    notes_.assign(kPatientNotesSize, ' ');
    buffers_.record = record_.data();
    buffers_.memos.push_back(MemoBuffer{notes_.data(), &notes_length_});
  }

  void Add(const Patient& p, bool commit) {
    PackPatient(p, record_.data());
    std::memset(notes_.data(), ' ', notes_.size());
    std::memcpy(notes_.data(), p.notes.data(), p.notes.size());
    uint32_t record = 0;
    int rc = table_->Add(buffers_, &record);
    if (rc == 0 && commit) rc = file_->EndAccess();
    if (rc != 0) Die("store add", rc);
  }

  void Commit() {
    if (file_->in_access()) {
      int rc = file_->EndAccess();
      if (rc != 0) Die("store commit", rc);
    }
  }

  void GetByNumber(int32_t number) {
    std::memcpy(record_.data(), &number, 4);
    uint32_t record = 0;
    int rc = GetByKey(*table_, kKeyPatientNumber, buffers_, &record);
    if (rc != 0) Die("store get", rc);
  }

  size_t ReadByLastName() {
    Reader reader;
    int rc = reader.Begin(*table_, 5, kKeyLastName, record_.data(), 0, "");
    size_t count = 0;
    uint32_t record = 0;
    while (rc == 0 && (rc = reader.Step(*table_, true, buffers_, true, &record)) == 0) ++count;
    if (rc != kErrRecordNotAvailable) Die("store scan", rc);
    return count;
  }

  uint64_t Size() {
    Commit();
    return FileSize(path_);
  }

 private:
  std::string path_;
  std::unique_ptr<DataFile> file_;
  std::unique_ptr<Table> table_;
  std::vector<uint8_t> record_;
  std::string notes_;
  uint32_t notes_length_ = 0;
  RecordBuffers buffers_;
};

// --- SQLite ----------------------------------------------------------------------------------

class SqliteSide {
 public:
  explicit SqliteSide(const std::string& path) : path_(path) {
    unlink(path.c_str());
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) Die("sqlite open", 0);
    Exec("PRAGMA journal_mode=DELETE");
    Exec("PRAGMA synchronous=FULL");
    Exec(
        "CREATE TABLE patients(patient_number INTEGER, agency TEXT, name TEXT, first_name TEXT,"
        " last_name TEXT, soc INTEGER, frequency TEXT, dx TEXT, sex TEXT, height INTEGER,"
        " weight INTEGER, allergies TEXT, social_security TEXT, medicare TEXT,"
        " date_of_birth INTEGER, phone TEXT, address1 TEXT, address2 TEXT, city TEXT,"
        " state TEXT, zipcode INTEGER, physician INTEGER, pharmacy TEXT,"
        " pharmacy_address TEXT, pharmacy_phone TEXT, next_visit INTEGER,"
        " time_next_visit INTEGER, notes TEXT)");
    Exec("CREATE UNIQUE INDEX key_patient_number ON patients(patient_number)");
    Exec(
        "CREATE INDEX agencykey ON patients(agency COLLATE NOCASE, last_name COLLATE NOCASE,"
        " first_name COLLATE NOCASE)");
    Exec(
        "CREATE INDEX key_last_name ON patients(last_name COLLATE NOCASE,"
        " first_name COLLATE NOCASE)");
    Exec(
        "CREATE INDEX key_physician_name ON patients(physician, last_name COLLATE NOCASE,"
        " first_name COLLATE NOCASE)");
    Exec("CREATE INDEX key_next_visit ON patients(next_visit DESC, time_next_visit DESC)");
    Exec("CREATE INDEX dockey ON patients(physician)");
    insert_ = Prepare(
        "INSERT INTO patients VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,"
        "?,?,?,?,?,?)");
    get_ = Prepare("SELECT * FROM patients WHERE patient_number=?");
    scan_ = Prepare(
        "SELECT * FROM patients ORDER BY last_name COLLATE NOCASE,"
        " first_name COLLATE NOCASE");
  }
  ~SqliteSide() {
    sqlite3_finalize(insert_);
    sqlite3_finalize(get_);
    sqlite3_finalize(scan_);
    sqlite3_close(db_);
  }

  void Exec(const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
      std::fprintf(stderr, "%s: %s\n", sql, error ? error : "");
      std::exit(1);
    }
  }

  void Add(const Patient& p) {
    int i = 1;
    auto text = [&](const std::string& s) {
      sqlite3_bind_text(insert_, i++, s.data(), static_cast<int>(s.size()), SQLITE_STATIC);
    };
    auto number = [&](int32_t v) { sqlite3_bind_int(insert_, i++, v); };
    number(p.number), text(p.agency), text(p.name), text(p.first_name), text(p.last_name);
    number(p.soc), text(p.frequency), text(p.dx), text(p.sex), number(p.height);
    number(p.weight), text(p.allergies), text(p.social_security), text(p.medicare);
    number(p.date_of_birth), text(p.phone), text(p.address1), text(p.address2), text(p.city);
    text(p.state), number(p.zipcode), number(p.physician), text(p.pharmacy);
    text(p.pharmacy_address), text(p.pharmacy_phone), number(p.next_visit);
    number(p.time_next_visit), text(p.notes);
    if (sqlite3_step(insert_) != SQLITE_DONE) Die("sqlite insert", 0);
    sqlite3_reset(insert_);
  }

  void GetByNumber(int32_t number) {
    sqlite3_bind_int(get_, 1, number);
    if (sqlite3_step(get_) != SQLITE_ROW) Die("sqlite get", number);
    // Touch the row as the store fills its buffer.
    for (int c = 0; c < 28; ++c) sink_ += sqlite3_column_bytes(get_, c);
    sqlite3_reset(get_);
  }

  size_t ReadByLastName() {
    size_t count = 0;
    while (sqlite3_step(scan_) == SQLITE_ROW) {
      for (int c = 0; c < 28; ++c) sink_ += sqlite3_column_bytes(scan_, c);
      ++count;
    }
    sqlite3_reset(scan_);
    return count;
  }

  uint64_t Size() const { return FileSize(path_); }

 private:
  sqlite3_stmt* Prepare(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) {
      Die(std::string("sqlite prepare ") + sql, 0);
    }
    return statement;
  }

  std::string path_;
  sqlite3* db_ = nullptr;
  sqlite3_stmt* insert_ = nullptr;
  sqlite3_stmt* get_ = nullptr;
  sqlite3_stmt* scan_ = nullptr;
  uint64_t sink_ = 0;
};

void Line(const char* what, double store, double sqlite, const char* unit) {
  std::printf("%-44s store %10.2f %-5s sqlite %10.2f %-5s ratio %.2f\n", what, store, unit, sqlite,
              unit, sqlite / store);
}

// Only the two key-order scans, five times each over 3,000 records, for a profiler (callgrind's
// --toggle-collect on ReadByLastName) to see them without the rest of the run.
int ProfileScan(const std::string& dir) {
  constexpr int kPopulation = 3000;
  StoreSide store(dir + "/bench-patients.LDS");
  std::mt19937 rng(2);
  for (int i = 1; i <= kPopulation; ++i) store.Add(MakePatient(i, rng), false);
  store.Commit();
  StatementsSide statements(dir);
  rng.seed(2);
  for (int i = 1; i <= kPopulation; ++i) statements.Add(MakePatient(i, rng));
  for (int round = 0; round < 5; ++round) {
    auto start = Clock::now();
    size_t rows = store.ReadByLastName();
    double store_ms = Seconds(start) * 1e3;
    start = Clock::now();
    rows += statements.ReadByLastName();
    std::printf("scan %zu rows: table layer %.2f ms, statements %.2f ms\n", rows, store_ms,
                Seconds(start) * 1e3);
  }
  unlink((dir + "/bench-patients.LDS").c_str());
  return 0;
}

// Only durable ADD statements, one commit each, for a profiler (callgrind's --toggle-collect on
// StatementsSide::Add, strace -c) to see the commit without the rest of the run.
int ProfileDurable(const std::string& dir) {
  constexpr int kAdds = 2000;
  StatementsSide statements(dir);
  std::mt19937 rng(1);
  for (int i = 1; i <= kAdds; ++i) statements.Add(MakePatient(i, rng));
  return 0;
}

// Durable ADDs, one commit each, on the table layer, SQLite and the ADD statement.
void MeasureDurableAdds(const std::string& dir, int adds, double flush) {
  StoreSide store(dir + "/bench-durable.LDS");
  SqliteSide sqlite(dir + "/bench-durable.sqlite");
  std::mt19937 rng(1);
  auto start = Clock::now();
  for (int i = 1; i <= adds; ++i) store.Add(MakePatient(i, rng), true);
  double store_us = Seconds(start) * 1e6 / adds;
  rng.seed(1);
  start = Clock::now();
  for (int i = 1; i <= adds; ++i) sqlite.Add(MakePatient(i, rng));
  double sqlite_us = Seconds(start) * 1e6 / adds;
  Line("durable ADD, one commit each (per record)", store_us, sqlite_us, "us");
  double statements_us = 0;
  {
    StatementsSide statements(dir);
    rng.seed(1);
    start = Clock::now();
    for (int i = 1; i <= adds; ++i) statements.Add(MakePatient(i, rng));
    statements_us = Seconds(start) * 1e6 / adds;
  }
  Line("  the same through the ADD statement", statements_us, sqlite_us, "us");
  std::printf("  flushes' worth per ADD: store %.1f, statements %.1f, sqlite %.1f\n",
              store_us / flush, statements_us / flush, sqlite_us / flush);
}

// The same patients in both files, each side in one transaction.
void FillBoth(StoreSide& store, SqliteSide& sqlite, int population) {
  std::mt19937 rng(2);
  for (int i = 1; i <= population; ++i) store.Add(MakePatient(i, rng), false);
  store.Commit();
  rng.seed(2);
  sqlite.Exec("BEGIN");
  for (int i = 1; i <= population; ++i) sqlite.Add(MakePatient(i, rng));
  sqlite.Exec("COMMIT");
}

// Random GETs by patient number on `side`, in microseconds per GET; the same numbers each call.
template <typename Side>
double MicrosPerGet(Side& side, int population, int gets) {
  std::mt19937 pick(3);
  std::uniform_int_distribution<int32_t> any(1, population);
  auto start = Clock::now();
  for (int i = 0; i < gets; ++i) side.GetByNumber(any(pick));
  return Seconds(start) * 1e6 / gets;
}

// A whole-file SET + NEXT by last name on `side`, in milliseconds; its row count must be `rows`.
template <typename Side>
double MillisToScan(Side& side, size_t rows) {
  auto start = Clock::now();
  size_t read = side.ReadByLastName();
  double ms = Seconds(start) * 1e3;
  if (read != rows) Die("row counts differ", static_cast<int>(read));
  return ms;
}

// The statements' file is filled one ADD statement (one commit) at a time, on a memory-backed
// directory when there is one so that filling it does not take an hour of flushes; the reads
// that follow come from the operating system's cache on every side alike.
std::string FillDirectory(const std::string& dir) {
  char memory_dir[] = "/dev/shm/store-vs-sqlite-XXXXXX";
  return access("/dev/shm", W_OK) == 0 && mkdtemp(memory_dir) ? memory_dir : dir;
}

}  // namespace
}  // namespace carelog::bench

int main(int argc, char** argv) {
  using namespace carelog::bench;
  std::string dir = argc > 1 && argv[1][0] != '-' ? argv[1] : "/tmp";
  bool quick = argc > 1 && std::strcmp(argv[argc - 1], "--quick") == 0;
  if (argc > 1 && std::strcmp(argv[argc - 1], "--profile-scan") == 0) return ProfileScan(dir);
  if (argc > 1 && std::strcmp(argv[argc - 1], "--profile-durable") == 0) {
    return ProfileDurable(dir);
  }
  const int population = quick ? 10000 : 100000;
  const int gets = quick ? 100000 : 1000000;
  std::printf("ratio = sqlite time / store time (above 1: the store is faster)\n");

  double flush = FlushLatencyMicros(dir);
  std::printf("flush latency (4 KiB write + fdatasync): %.1f us\n", flush);
  MeasureDurableAdds(dir, quick ? 200 : 2000, flush);

  StoreSide store(dir + "/bench-patients.LDS");
  SqliteSide sqlite(dir + "/bench-patients.sqlite");
  FillBoth(store, sqlite, population);
  double store_get = MicrosPerGet(store, population, gets);
  double sqlite_get = MicrosPerGet(sqlite, population, gets);
  Line("GET by patient number (per GET)", store_get, sqlite_get, "us");

  std::string fill_dir = FillDirectory(dir);
  auto statements = std::make_unique<StatementsSide>(fill_dir);
  std::mt19937 rng(2);
  for (int i = 1; i <= population; ++i) statements->Add(MakePatient(i, rng));
  Line("  the same through the GET statement", MicrosPerGet(*statements, population, gets),
       sqlite_get, "us");

  auto start = Clock::now();
  size_t rows = store.ReadByLastName();
  double store_scan = Seconds(start) * 1e3;
  double sqlite_scan = MillisToScan(sqlite, rows);
  Line("SET + NEXT by last name (whole file)", store_scan, sqlite_scan, "ms");
  Line("  the same through SET and NEXT statements", MillisToScan(*statements, rows), sqlite_scan,
       "ms");

  double sqlite_mb = static_cast<double>(sqlite.Size()) / 1e6;
  Line("file size with keys", static_cast<double>(store.Size()) / 1e6, sqlite_mb, "MB");
  Line("  the statements' file", static_cast<double>(statements->Size()) / 1e6, sqlite_mb, "MB");
  statements.reset();
  if (fill_dir != dir) rmdir(fill_dir.c_str());
  for (const char* name : {"bench-durable.LDS", "bench-durable.sqlite", "bench-patients.LDS",
                           "bench-patients.sqlite"}) {
    unlink((dir + "/" + name).c_str());
  }
  return 0;
}
