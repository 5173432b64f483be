// Sharing and batching against SQLite, through the driver's statements: ADDs in one
// LOGOUT/COMMIT transaction, ADDs under STREAM, and four processes adding durable records to one
// shared file at once. SQLite inserts the same rows in one transaction, and with four writer
// processes each committing every row.
//
//   store_sharing [DIR] [--quick]
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "runtime/store/test_file_builder.h"

namespace {

using namespace carelog::store;
using Clock = std::chrono::steady_clock;
using testing::LayoutBytes;
using testing::TestFile;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

void Check(int rc, const char* what) {
  if (rc != 0) {
    std::fprintf(stderr, "%s failed: %d\n", what, rc);
    std::exit(1);
  }
}

// NUMBER LONG (unique key), NAME STRING 40.
struct Rows {
  explicit Rows(const std::string& path) : file(path, 44, Layout(), kFileAttrCreate) {
    file.AddKey("K_NUMBER", {1});
  }
  static std::vector<uint8_t> Layout() {
    LayoutBytes l;
    l.Start(0).Field("NUMBER", kTypeLong).Link(4).String("NAME", 40).End();
    return l.bytes;
  }
  int AddRow(int32_t number) {
    std::memcpy(file.buffer(), &number, 4);
    std::snprintf(reinterpret_cast<char*>(file.buffer() + 4), 41, "%-40d", number * 7);
    return Add(file.declaration);
  }
  FileDeclaration& decl() { return file.declaration; }
  TestFile file;
};

// Adds rows [first, first + count) to `path`, shared, inside `batch` (LOGOUT, STREAM or none).
double StoreAdds(const std::string& path, int first, int count, const char* batch) {
  Rows rows(path);
  Check(Share(rows.decl(), 0x42), "share");
  auto start = Clock::now();
  if (std::strcmp(batch, "logout") == 0) Check(Logout(rows.decl()), "logout");
  if (std::strcmp(batch, "stream") == 0) Check(Stream(rows.decl()), "stream");
  for (int i = first; i < first + count; ++i) Check(rows.AddRow(i), "add");
  if (std::strcmp(batch, "logout") == 0) Check(Commit(rows.decl()), "commit");
  if (std::strcmp(batch, "stream") == 0) Check(Flush(rows.decl()), "flush");
  double seconds = Seconds(start);
  Check(Close(rows.decl()), "close");
  return seconds;
}

void CreateStore(const std::string& path) {
  unlink(path.c_str());
  Rows rows(path);
  Check(Create(rows.decl()), "create");
}

sqlite3* OpenSqlite(const std::string& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) Check(1, "sqlite open");
  sqlite3_busy_timeout(db, 60000);
  sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL", nullptr, nullptr,
               nullptr);
  return db;
}

void CreateSqlite(const std::string& path) {
  unlink(path.c_str());
  sqlite3* db = OpenSqlite(path);
  Check(sqlite3_exec(db,
                     "CREATE TABLE rows(number INTEGER, name TEXT);"
                     "CREATE UNIQUE INDEX k_number ON rows(number)",
                     nullptr, nullptr, nullptr),
        "sqlite create");
  sqlite3_close(db);
}

// Inserts rows [first, first + count), in one transaction or one per row.
double SqliteAdds(const std::string& path, int first, int count, bool one_transaction) {
  sqlite3* db = OpenSqlite(path);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO rows VALUES(?, ?)", -1, &insert, nullptr);
  auto start = Clock::now();
  if (one_transaction) sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  char name[41];
  for (int i = first; i < first + count; ++i) {
    std::snprintf(name, sizeof name, "%-40d", i * 7);
    sqlite3_bind_int(insert, 1, i);
    sqlite3_bind_text(insert, 2, name, 40, SQLITE_STATIC);
    int rc;
    while ((rc = sqlite3_step(insert)) == SQLITE_BUSY) sqlite3_reset(insert);
    if (rc != SQLITE_DONE) Check(rc, "sqlite insert");
    sqlite3_reset(insert);
  }
  if (one_transaction) sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  double seconds = Seconds(start);
  sqlite3_finalize(insert);
  sqlite3_close(db);
  return seconds;
}

// Runs `work(p)` in `processes` processes at once; the wall time of the whole run.
double InProcesses(int processes, const std::function<void(int)>& work) {
  auto start = Clock::now();
  std::vector<pid_t> pids;
  for (int p = 0; p < processes; ++p) {
    pid_t pid = fork();
    if (pid == 0) {
      work(p);
      _exit(0);
    }
    pids.push_back(pid);
  }
  for (pid_t pid : pids) {
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) Check(1, "worker");
  }
  return Seconds(start);
}

void Line(const char* what, double store, double sqlite) {
  std::printf("%-52s store %9.3f s  sqlite %9.3f s  ratio %.2f\n", what, store, sqlite,
              sqlite / store);
}

}  // namespace

int main(int argc, char** argv) {
  RegisterTableOps(&StoredTables());
  const std::string dir = argc > 1 && argv[1][0] != '-' ? argv[1] : "/tmp";
  const bool quick = argc > 1 && std::strcmp(argv[argc - 1], "--quick") == 0;
  const int rows = quick ? 10000 : 100000;
  const int per_process = quick ? 50 : 250;
  const std::string store = dir + "/bench-sharing.LDS";
  const std::string sqlite = dir + "/bench-sharing.sqlite";
  std::printf("ratio = sqlite time / store time (above 1: the store is faster)\n");

  CreateStore(store);
  CreateSqlite(sqlite);
  double s = StoreAdds(store, 1, rows, "logout");
  double q = SqliteAdds(sqlite, 1, rows, true);
  Line((std::to_string(rows) + " ADDs in one LOGOUT/COMMIT").c_str(), s, q);

  CreateStore(store);
  CreateSqlite(sqlite);
  s = StoreAdds(store, 1, rows, "stream");
  q = SqliteAdds(sqlite, 1, rows, true);
  Line((std::to_string(rows) + " ADDs under STREAM (vs one transaction)").c_str(), s, q);

  CreateStore(store);
  CreateSqlite(sqlite);
  s = InProcesses(4, [&](int p) { StoreAdds(store, 1 + p * per_process, per_process, ""); });
  q = InProcesses(4, [&](int p) { SqliteAdds(sqlite, 1 + p * per_process, per_process, false); });
  Line(("4 processes x " + std::to_string(per_process) + " durable ADDs at once").c_str(), s, q);

  unlink(store.c_str());
  unlink(sqlite.c_str());
  return 0;
}
