#include "tools/lds-stress/stress.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "runtime/store/data_file.h"
#include "runtime/store/data_file_check.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "runtime/store/test_file_builder.h"

namespace carelog::stress {
namespace {

using store::testing::LayoutBytes;
using store::testing::TestFile;

constexpr int kDuplicateKey = 40;
constexpr int kNoRecord = 33;
constexpr uint32_t kShareReadWrite = 0x42;
constexpr uint32_t kRecordSize = 28;  // NUMBER LONG, OWNER LONG, NAME STRING 20

// The stress file's declaration: records numbered by a unique key.
struct StressFile {
  explicit StressFile(const std::string& path)
      : file(path, kRecordSize, Layout(), store::kFileAttrCreate) {
    by_number = &file.AddKey("K_NUMBER", {1});
  }
  static std::vector<uint8_t> Layout() {
    LayoutBytes l;
    l.Start(0)
        .Field("NUMBER", store::kTypeLong)
        .Link(4)
        .Field("OWNER", store::kTypeLong)
        .Link(8)
        .String("NAME", 20)
        .End();
    return l.bytes;
  }
  store::FileDeclaration& decl() { return file.declaration; }
  void Fill(int32_t number, int32_t owner, const std::string& name) {
    uint8_t* b = file.buffer();
    std::memcpy(b, &number, 4);
    std::memcpy(b + 4, &owner, 4);
    std::memset(b + 8, ' ', 20);
    std::memcpy(b + 8, name.data(), std::min<size_t>(20, name.size()));
  }
  int32_t number() {
    int32_t n;
    std::memcpy(&n, file.buffer(), 4);
    return n;
  }
  int32_t owner() {
    int32_t n;
    std::memcpy(&n, file.buffer() + 4, 4);
    return n;
  }
  std::string name() {
    std::string s(reinterpret_cast<const char*>(file.buffer() + 8), 20);
    return s.substr(0, s.find_last_not_of(' ') + 1);
  }

  TestFile file;
  store::KeyDeclaration* by_number;
};

std::string DataPath(const StressOptions& options) {
  return options.dir + "/stress.lds";
}

std::string LogPath(const StressOptions& options, int worker) {
  return options.dir + "/stress-worker-" + std::to_string(worker) + ".log";
}

// One worker process: returns its exit status (0, or 2 on an unexpected error, logged).
int Work(const StressOptions& options, int worker) {
  store::RegisterTableOps(&store::StoredTables());
  StressFile f(DataPath(options));
  std::ofstream log(LogPath(options, worker));
  if (int rc = store::Share(f.decl(), kShareReadWrite)) {
    log << "E share " << rc << "\n";
    return 2;
  }
  std::mt19937 random(static_cast<unsigned>(worker * 7919 + 17));
  std::vector<int32_t> mine;
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(static_cast<int64_t>(options.seconds * 1000));
  int version = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    const unsigned choice = random() % 10;
    if (choice < 5 || mine.empty()) {
      int rc = store::Set(*f.by_number);
      if (rc == 0) rc = store::Previous(f.decl());
      const int32_t highest = rc == 0 ? f.number() : 0;
      if (rc != 0 && rc != kNoRecord) {
        log << "E highest " << rc << "\n";
        return 2;
      }
      f.Fill(highest + 1, worker, "p" + std::to_string(worker) + "-v0");
      rc = store::Add(f.decl());
      if (rc == kDuplicateKey) {
        log << "R " << highest + 1 << "\n";
        continue;
      }
      if (rc != 0) {
        log << "E add " << rc << "\n";
        return 2;
      }
      mine.push_back(highest + 1);
      log << "A " << highest + 1 << "\n";
      continue;
    }
    const size_t pick = random() % mine.size();
    const int32_t number = mine[pick];
    f.Fill(number, worker, "");
    int rc = store::Get(f.decl(), *f.by_number);
    if (rc != 0) {
      log << "E get " << number << " " << rc << "\n";
      return 2;
    }
    if (choice < 8) {
      const std::string name = "p" + std::to_string(worker) + "-v" + std::to_string(++version);
      f.Fill(number, worker, name);
      if ((rc = store::Put(f.decl())) != 0) {
        log << "E put " << rc << "\n";
        return 2;
      }
      log << "P " << number << " " << name << "\n";
    } else {
      if ((rc = store::Delete(f.decl())) != 0) {
        log << "E delete " << rc << "\n";
        return 2;
      }
      mine.erase(mine.begin() + static_cast<ptrdiff_t>(pick));
      log << "D " << number << "\n";
    }
  }
  store::Close(f.decl());
  return 0;
}

struct Expected {
  int32_t owner;
  std::string name;
};

// Reads a worker's log into the records it still holds at the end and its tally. Only the
// worker that added a record changes or deletes it, so each log is a complete, ordered history
// of that worker's records; a number freed by DELETE may be added again by anyone (numbers are
// the highest + 1), which is why logs are replayed per worker and merged afterwards.
void ReadLog(const StressOptions& options, int worker, std::map<int32_t, Expected>* held,
             WorkerTally* tally, std::vector<std::string>* faults) {
  std::ifstream log(LogPath(options, worker));
  std::string line;
  while (std::getline(log, line)) {
    std::istringstream in(line);
    char kind = 0;
    int32_t number = 0;
    std::string name;
    in >> kind >> number >> name;
    const std::string who = "worker " + std::to_string(worker) + ": ";
    if (kind == 'A') {
      ++tally->added;
      if (held->count(number) != 0) faults->push_back(who + "number added twice: " + line);
      (*held)[number] = Expected{worker, "p" + std::to_string(worker) + "-v0"};
    } else if (kind == 'P') {
      ++tally->changed;
      (*held)[number].name = name;
    } else if (kind == 'D') {
      ++tally->deleted;
      held->erase(number);
    } else if (kind == 'R') {
      ++tally->retries;
    } else {
      faults->push_back(who + line);
    }
  }
}

// Merges what each worker still holds; two workers holding one number is a duplicate.
void MergeHeld(const std::map<int32_t, Expected>& held, std::map<int32_t, Expected>* expected,
               std::vector<std::string>* faults) {
  for (const auto& [number, value] : held) {
    auto [it, inserted] = expected->emplace(number, value);
    if (!inserted) {
      faults->push_back("number " + std::to_string(number) + " added by workers " +
                        std::to_string(it->second.owner) + " and " + std::to_string(value.owner) +
                        " and never deleted");
    }
  }
}

// Compares the file with the logs, then checks its structure.
int Verify(const StressOptions& options, const std::map<int32_t, Expected>& expected,
           StressResult* result) {
  StressFile f(DataPath(options));
  if (int rc = store::Open(f.decl(), 0x22)) return rc;
  std::set<int32_t> seen;
  int rc = store::Set(*f.by_number);
  while (rc == 0 && (rc = store::Next(f.decl())) == 0) {
    const int32_t number = f.number();
    ++result->records_held;
    if (!seen.insert(number).second) {
      result->faults.push_back("number " + std::to_string(number) + " held twice");
    }
    auto it = expected.find(number);
    if (it == expected.end()) {
      result->faults.push_back("record " + std::to_string(number) + " should not exist");
    } else if (it->second.owner != f.owner() || it->second.name != f.name()) {
      result->faults.push_back("record " + std::to_string(number) + " holds " + f.name() +
                               " instead of " + it->second.name);
    }
  }
  if (rc != kNoRecord) return rc;
  for (const auto& [number, value] : expected) {
    if (seen.count(number) == 0)
      result->faults.push_back("record " + std::to_string(number) + " lost");
  }
  if (store::Records(f.decl()) != static_cast<uint32_t>(result->records_held) ||
      store::Records(*f.by_number) != static_cast<uint32_t>(result->records_held)) {
    result->faults.push_back("record counters disagree with the records held");
  }
  store::Close(f.decl());

  std::unique_ptr<store::DataFile> file;
  store::DataFileOptions read_only;
  read_only.read_only = true;
  if ((rc = store::DataFile::Open(DataPath(options), read_only, &file)) != 0) return rc;
  std::vector<store::CheckFault> faults;
  store::CheckSummary summary;
  if ((rc = store::CheckDataFile(*file, &faults, &summary)) != 0) return rc;
  for (const store::CheckFault& fault : faults) {
    result->faults.push_back("page " + std::to_string(fault.page) + ": " + fault.text);
  }
  return 0;
}

}  // namespace

int RunStress(const StressOptions& options, StressResult* result, std::ostream& out) {
  *result = StressResult();
  store::RegisterTableOps(&store::StoredTables());
  {
    StressFile f(DataPath(options));
    if (int rc = store::Create(f.decl())) return rc;
  }
  // The workers open the file themselves: a file description inherited across fork would share
  // its locks with the parent.
  std::vector<pid_t> pids;
  for (int w = 0; w < options.processes; ++w) {
    const pid_t pid = fork();
    if (pid == 0) _exit(Work(options, w));
    if (pid > 0) pids.push_back(pid);
  }
  for (size_t w = 0; w < pids.size(); ++w) {
    int status = 0;
    waitpid(pids[w], &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      result->faults.push_back("worker " + std::to_string(w) + " failed (status " +
                               std::to_string(status) + ")");
    }
  }
  if (static_cast<int>(pids.size()) != options.processes) result->faults.push_back("fork failed");

  std::map<int32_t, Expected> expected;
  result->workers.resize(pids.size());
  for (size_t w = 0; w < pids.size(); ++w) {
    std::map<int32_t, Expected> held;
    ReadLog(options, static_cast<int>(w), &held, &result->workers[w], &result->faults);
    MergeHeld(held, &expected, &result->faults);
  }
  if (int rc = Verify(options, expected, result)) return rc;

  for (size_t w = 0; w < result->workers.size(); ++w) {
    const WorkerTally& t = result->workers[w];
    out << "process " << w << ": added " << t.added << ", changed " << t.changed << ", deleted "
        << t.deleted << ", numbers retried " << t.retries << "\n";
  }
  out << "file holds " << result->records_held << " records (" << expected.size() << " expected)\n";
  for (const std::string& fault : result->faults) out << "FAULT: " << fault << "\n";
  return 0;
}

}  // namespace carelog::stress
