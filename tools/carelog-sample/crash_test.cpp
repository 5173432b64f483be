// Crash safety through the real driver: a child process runs a deterministic sequence of ADD,
// PUT and DELETE statements on the Patients file (six keys and a memo) and is killed with
// SIGKILL at a random moment. After each kill the file must pass the whole-file check and hold
// exactly the records of the statements the child reported done, or of those plus the one it
// was running: never a mix.
//
// CARELOG_CRASH_KILLS sets the number of kills (default 12, to keep the test run short).
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "app/data/dictionary.h"
#include "app/data/keys.h"
#include "app/data/records.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "tools/ldstool/file_check.h"

namespace carelog::sample {
namespace {

namespace fs = std::filesystem;
using namespace carelog::appdata;

struct Row {
  std::string last, first;
  int32_t next_visit = 0;
  std::string memo;
  bool operator==(const Row&) const = default;
};

struct Step {
  enum Kind { kAdd, kPut, kDelete } kind;
  int32_t number;
  Row row;  // the new contents for ADD and PUT
};

// The table as the statements so far leave it, and the generator of the next statement.
class Model {
 public:
  explicit Model(uint32_t seed) : rng_(seed) {}

  Step Next() {
    int roll = Draw(0, 9);
    if (rows_.size() < 30 || roll < 5) return Step{Step::kAdd, next_number_, NewRow()};
    auto it = rows_.begin();
    std::advance(it, Draw(0, static_cast<int>(rows_.size()) - 1));
    if (roll < 8) return Step{Step::kPut, it->first, NewRow()};
    return Step{Step::kDelete, it->first, Row{}};
  }

  void Apply(const Step& step) {
    if (step.kind == Step::kDelete) {
      rows_.erase(step.number);
    } else {
      rows_[step.number] = step.row;
    }
    if (step.kind == Step::kAdd) ++next_number_;
  }

  const std::map<int32_t, Row>& rows() const { return rows_; }

 private:
  int Draw(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  Row NewRow() {
    static const char* kLast[] = {"Baker", "Castro", "Dunn", "Evans", "Fox", "Grant", "Hale"};
    static const char* kFirst[] = {"Ann", "Ben", "Cora", "Dale", "Edna", "Fred"};
    Row row;
    row.last = kLast[Draw(0, 6)];
    row.first = kFirst[Draw(0, 5)];
    row.next_visit = Draw(80000, 80100);
    // Memos from empty to several blocks long, so that memo blocks are added and deleted.
    row.memo = std::string(static_cast<size_t>(Draw(0, 3) * Draw(0, 190)), 'a' + Draw(0, 25));
    return row;
  }

  std::mt19937 rng_;
  std::map<int32_t, Row> rows_;
  int32_t next_number_ = 1;
};

template <size_t N>
void PutText(char (&field)[N], const std::string& text) {
  std::memset(field, ' ', N);
  std::memcpy(field, text.data(), std::min(N, text.size()));
}

template <size_t N>
std::string Trimmed(const char (&field)[N]) {
  std::string text(field, N);
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

// Runs one statement; 0 or the driver's error code.
int Execute(const Step& step) {
  store::FileDeclaration& patients = PatientsFile();
  if (step.kind == Step::kAdd) {
    PAT = {};
    PAT.PATIENT_NUMBER = step.number;
  } else {
    PAT.PATIENT_NUMBER = step.number;
    if (int rc = store::Get(patients, Key(PatKey::KEY_PATIENT_NUMBER))) return rc;
    if (step.kind == Step::kDelete) return store::Delete(patients);
  }
  PutText(PAT.LAST_NAME, step.row.last);
  PutText(PAT.FIRST_NAME, step.row.first);
  PAT.NEXT_VISIT = step.row.next_visit;
  if (int rc = store::AssignMemo(patients, 1, step.row.memo)) return rc;
  return step.kind == Step::kAdd ? store::Add(patients) : store::Put(patients);
}

// The child: runs statements from the model's state on, reporting each one done on `report`.
[[noreturn]] void RunChild(Model model, int report) {
  if (store::Open(PatientsFile(), 0x22) != 0) _exit(3);
  for (uint32_t done = 0;; ++done) {
    Step step = model.Next();
    if (Execute(step) != 0) _exit(4);
    model.Apply(step);
    if (write(report, &done, sizeof done) != sizeof done) _exit(5);
  }
}

class CrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store::RegisterTableOps(&store::StoredTables());
    saved_ = fs::current_path();
    // Memory-backed when available: the statements flush every commit, and what is tested here
    // is their content and order, not the speed of the disk.
    fs::path base =
        access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm") : fs::temp_directory_path();
    dir_ = base / ("carelog-crash-" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::current_path(dir_);
  }
  void TearDown() override {
    store::Close(PatientsFile());
    fs::current_path(saved_);
    fs::remove_all(dir_);
    store::RegisterTableOps(nullptr);
  }

  // The records of the Patients file as read back through the driver.
  std::map<int32_t, Row> ReadBack() {
    std::map<int32_t, Row> rows;
    store::FileDeclaration& patients = PatientsFile();
    EXPECT_EQ(store::Open(patients, 0x22), 0) << store::ErrorText();
    EXPECT_EQ(store::Set(Key(PatKey::KEY_PATIENT_NUMBER)), 0);
    while (store::Next(patients) == 0) {
      Row row{Trimmed(PAT.LAST_NAME), Trimmed(PAT.FIRST_NAME), PAT.NEXT_VISIT,
              store::MemoText(patients, 1)};
      rows[PAT.PATIENT_NUMBER] = row;
    }
    EXPECT_EQ(store::Close(patients), 0);
    return rows;
  }

  // The data file the driver made for the declaration.
  std::string DataFilePath() {
    for (const auto& entry : fs::directory_iterator(dir_)) {
      if (entry.is_regular_file()) return entry.path().string();
    }
    return "";
  }

  fs::path saved_;
  fs::path dir_;
};

TEST_F(CrashTest, EveryKillLeavesTheStateBeforeOrAfterTheInterruptedStatement) {
  int kills = 12;
  if (const char* env = std::getenv("CARELOG_CRASH_KILLS")) kills = std::max(1, std::atoi(env));
  ASSERT_EQ(store::Create(PatientsFile()), 0) << store::ErrorText();
  std::string path = DataFilePath();
  ASSERT_FALSE(path.empty());

  Model model(20261208);
  std::mt19937 timing(7);
  int completed_statements = 0, interrupted_after = 0;
  for (int kill_number = 0; kill_number < kills; ++kill_number) {
    SCOPED_TRACE("kill " + std::to_string(kill_number));
    int pipe_ends[2];
    ASSERT_EQ(pipe(pipe_ends), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(pipe_ends[0]);
      RunChild(model, pipe_ends[1]);
    }
    close(pipe_ends[1]);
    // The kill lands at a random moment once the child has begun writing, however fast or slow
    // (sanitizers) its statements run.
    uint32_t done = 0, reports = 0;
    if (read(pipe_ends[0], &done, sizeof done) == sizeof done) ++reports;
    usleep(std::uniform_int_distribution<useconds_t>(0, 20000)(timing));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child failed early, exit " << WEXITSTATUS(status);
    while (read(pipe_ends[0], &done, sizeof done) == sizeof done) ++reports;
    close(pipe_ends[0]);

    for (uint32_t i = 0; i < reports; ++i) model.Apply(model.Next());
    completed_statements += static_cast<int>(reports);

    std::vector<ldstool::Fault> faults;
    ASSERT_EQ(ldstool::CheckDataFile(path, &faults), 0);
    for (const ldstool::Fault& f : faults) ADD_FAILURE() << "page " << f.page << ": " << f.text;
    ASSERT_TRUE(faults.empty());

    Model after = model;
    after.Apply(after.Next());
    std::map<int32_t, Row> rows = ReadBack();
    if (rows == after.rows()) {
      model = after;  // the interrupted statement had committed
      ++interrupted_after;
    } else {
      ASSERT_EQ(rows.size(), model.rows().size());
      ASSERT_TRUE(rows == model.rows()) << "the file holds neither state";
    }
  }
  // The kills must have landed amid real work, not each right after the first statement.
  EXPECT_GT(completed_statements, kills);
  RecordProperty("statements", completed_statements);
  RecordProperty("committed_before_report", interrupted_after);
}

}  // namespace
}  // namespace carelog::sample
