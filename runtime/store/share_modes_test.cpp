// Access and share modes checked against each other: between real processes (each opens the
// file itself, so each has its own locks) and between declarations of one process.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <set>

#include "runtime/store/data_file_check.h"
#include "runtime/store/error_codes.h"
#include "runtime/store/error_state.h"
#include "runtime/store/stored_table_testing.h"

namespace carelog::store {
namespace {

using testing::SampleFile;
using testing::SampleRecord;
using testing::ScratchDir;

// Every access (read, write, read/write) under every share (compatibility, deny all, deny
// write, deny read, deny none).
std::vector<uint32_t> AllModes() {
  std::vector<uint32_t> modes;
  for (uint32_t share : {0x00u, 0x10u, 0x20u, 0x30u, 0x40u}) {
    for (uint32_t access : {0u, 1u, 2u}) modes.push_back(share | access);
  }
  return modes;
}

// What a holder's share nibble lets a later opener do: (may read, may write).
std::pair<bool, bool> Admits(uint32_t mode) {
  switch (mode & 0xF0) {
    case 0x10:
      return {false, false};
    case 0x20:
      return {true, false};
    case 0x30:
      return {false, true};
    default:
      return {true, true};
  }
}

bool Reads(uint32_t mode) {
  return (mode & 0x0F) != 1;
}
bool Writes(uint32_t mode) {
  return (mode & 0x0F) != 0;
}

// Whether `b` may open while `a` holds the file, and `a` may have opened while `b` held it.
bool Compatible(uint32_t a, uint32_t b) {
  auto fits = [](uint32_t holder, uint32_t opener) {
    auto [read, write] = Admits(holder);
    return (!Reads(opener) || read) && (!Writes(opener) || write);
  };
  return fits(a, b) && fits(b, a);
}

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void CreateSample(const std::string& path, int count) {
  SampleFile f(path);
  ASSERT_EQ(Create(f.file.declaration), 0);
  ASSERT_EQ(Open(f.file.declaration, 0x12), 0);
  for (int i = 1; i <= count; ++i) {
    f.Fill(SampleRecord{i, std::to_string(i), "city", 0, 0});
    ASSERT_EQ(Add(f.file.declaration), 0);
  }
  ASSERT_EQ(Close(f.file.declaration), 0);
}

// A pipe the holder reports on and then waits at until the test lets it go.
struct Handshake {
  int ready[2], release[2];
  Handshake() {
    EXPECT_EQ(pipe(ready), 0);
    EXPECT_EQ(pipe(release), 0);
  }
  ~Handshake() {
    for (int fd : {ready[0], ready[1], release[0], release[1]}) close(fd);
  }
};

TEST(ShareModes, EveryPairOfModesBetweenProcesses) {
  ScratchDir dir;
  const std::string path = dir.File("modes.lds");
  CreateSample(path, 3);
  const std::string before = Bytes(path);
  for (uint32_t held : AllModes()) {
    Handshake hs;
    const pid_t holder = fork();
    if (holder == 0) {
      SampleFile f(path);
      char result = Open(f.file.declaration, held) == 0 ? 'y' : 'n';
      if (write(hs.ready[1], &result, 1) != 1) _exit(2);
      if (read(hs.release[0], &result, 1) != 1) _exit(2);
      _exit(Close(f.file.declaration) == 0 ? 0 : 1);
    }
    char opened = 0;
    ASSERT_EQ(read(hs.ready[0], &opened, 1), 1);
    ASSERT_EQ(opened, 'y') << std::hex << held;
    for (uint32_t mode : AllModes()) {
      SampleFile f(path);
      const int rc = Open(f.file.declaration, mode);
      if (Compatible(held, mode)) {
        EXPECT_EQ(rc, 0) << std::hex << "held " << held << ", opened " << mode;
        EXPECT_EQ(Records(f.file.declaration), 3u);
        EXPECT_EQ(Close(f.file.declaration), 0);
      } else {
        EXPECT_EQ(rc, kErrFileIsAlreadyLocked)
            << std::hex << "held " << held << ", opened " << mode;
        EXPECT_EQ(ErrorText(), "File Is Already Locked");
        // The declaration stays closed.
        EXPECT_EQ(Close(f.file.declaration), kErrFileNotOpen);
      }
    }
    ASSERT_EQ(write(hs.release[1], "x", 1), 1);
    int status = 0;
    waitpid(holder, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << std::hex << held;
  }
  EXPECT_EQ(Bytes(path), before);  // nothing was written by refused or read-only opens
}

TEST(ShareModes, EveryPairOfModesBetweenDeclarationsOfOneProcess) {
  ScratchDir dir;
  const std::string path = dir.File("modes.lds");
  CreateSample(path, 2);
  for (uint32_t held : AllModes()) {
    SampleFile first(path);
    ASSERT_EQ(Open(first.file.declaration, held), 0);
    for (uint32_t mode : AllModes()) {
      SampleFile second(path);
      const int rc = Open(second.file.declaration, mode);
      EXPECT_EQ(rc, Compatible(held, mode) ? 0 : kErrFileIsAlreadyLocked)
          << std::hex << "held " << held << ", opened " << mode;
      EXPECT_EQ(Close(second.file.declaration), rc == 0 ? 0 : kErrFileNotOpen);
    }
    // The first declaration works on after the refusals.
    EXPECT_EQ(Records(first.file.declaration), 2u);
    ASSERT_EQ(Close(first.file.declaration), 0);
  }
}

TEST(ShareModes, DenialsEndWithTheOpenerThatMadeThem) {
  ScratchDir dir;
  const std::string path = dir.File("ends.lds");
  CreateSample(path, 1);
  SampleFile reader(path), writer(path), other(path);
  ASSERT_EQ(Open(reader.file.declaration, 0x40), 0);
  ASSERT_EQ(Open(writer.file.declaration, 0x22), 0);
  // Another process may read but not write while the deny-write declaration is open ...
  auto other_process_opens = [&](uint32_t mode) {
    const pid_t pid = fork();
    if (pid == 0) {
      SampleFile f(path);
      _exit(Open(f.file.declaration, mode));
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  EXPECT_EQ(other_process_opens(0x40), 0);
  EXPECT_EQ(other_process_opens(0x42), kErrFileIsAlreadyLocked);
  ASSERT_EQ(Close(writer.file.declaration), 0);
  // ... and both once it has closed, though the reader keeps the file open here.
  EXPECT_EQ(other_process_opens(0x42), 0);
  EXPECT_EQ(Open(other.file.declaration, 0x42), 0);
  EXPECT_EQ(Close(other.file.declaration), 0);
  EXPECT_EQ(Close(reader.file.declaration), 0);
}

// A deny-write file trusts the header it holds; once the denial has lapsed, another process's
// change must be seen even when the denial has returned before the next read.
TEST(ShareModes, ChangesMadeWhileADenialLapsedAreSeen) {
  ScratchDir dir;
  const std::string path = dir.File("lapse.lds");
  CreateSample(path, 2);
  SampleFile reader(path), denier(path);
  ASSERT_EQ(Open(reader.file.declaration, 0x40), 0);
  ASSERT_EQ(Open(denier.file.declaration, 0x22), 0);
  EXPECT_EQ(Records(reader.file.declaration), 2u);
  ASSERT_EQ(Close(denier.file.declaration), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    SampleFile f(path);
    if (Open(f.file.declaration, 0x42) != 0) _exit(1);
    f.Fill(SampleRecord{3, "three", "city", 3.0, 0});
    _exit(Add(f.file.declaration) == 0 && Close(f.file.declaration) == 0 ? 0 : 2);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_EQ(Open(denier.file.declaration, 0x22), 0);
  EXPECT_EQ(Records(reader.file.declaration), 3u);
  EXPECT_EQ(Records(denier.file.declaration), 3u);
  EXPECT_EQ(Close(denier.file.declaration), 0);
  EXPECT_EQ(Close(reader.file.declaration), 0);
}

TEST(ShareModes, AKilledHolderLeavesNoDenial) {
  ScratchDir dir;
  const std::string path = dir.File("killed.lds");
  CreateSample(path, 1);
  Handshake hs;
  const pid_t holder = fork();
  if (holder == 0) {
    SampleFile f(path);
    char ok = Open(f.file.declaration, 0x12) == 0 ? 'y' : 'n';
    if (write(hs.ready[1], &ok, 1) != 1) _exit(2);
    pause();
    _exit(0);
  }
  char ok = 0;
  ASSERT_EQ(read(hs.ready[0], &ok, 1), 1);
  ASSERT_EQ(ok, 'y');
  SampleFile f(path);
  EXPECT_EQ(Open(f.file.declaration, 0x40), kErrFileIsAlreadyLocked);
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_EQ(Open(f.file.declaration, 0x42), 0);
  EXPECT_EQ(Close(f.file.declaration), 0);
}

// Two processes each add `kEach` records with numbers of their own under `mode`, opening it
// again whenever the other holds it in a mode that excludes them. Returns the numbers whose ADD
// reported success.
constexpr int kEach = 300;

std::set<int32_t> AddTogether(const std::string& path, uint32_t mode) {
  int out[2][2];
  pid_t workers[2];
  for (int w = 0; w < 2; ++w) {
    EXPECT_EQ(pipe(out[w]), 0);
    workers[w] = fork();
    if (workers[w] == 0) {
      SampleFile f(path);
      for (int i = 0; i < kEach;) {
        int rc = Open(f.file.declaration, mode);
        if (rc == kErrFileIsAlreadyLocked) continue;
        if (rc != 0) _exit(1);
        for (int batch = 0; batch < 25 && i < kEach; ++batch, ++i) {
          const int32_t number = 100000 * (w + 1) + i;
          f.Fill(SampleRecord{number, std::to_string(number), "c", 0, 0});
          if (Add(f.file.declaration) == 0 && write(out[w][1], &number, 4) != 4) _exit(1);
        }
        if (Close(f.file.declaration) != 0) _exit(1);
      }
      _exit(0);
    }
    close(out[w][1]);
  }
  std::set<int32_t> added;
  for (int w = 0; w < 2; ++w) {
    int32_t number;
    while (read(out[w][0], &number, 4) == 4) added.insert(number);
    close(out[w][0]);
    int status = 0;
    waitpid(workers[w], &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  return added;
}

void ExpectHolds(const std::string& path, const std::set<int32_t>& added) {
  SampleFile f(path);
  ASSERT_EQ(Open(f.file.declaration, 0x40), 0);
  EXPECT_EQ(Records(f.file.declaration), added.size());
  for (int32_t number : added) {
    f.Fill(SampleRecord{number, "", "", 0, 0});
    EXPECT_EQ(Get(f.file.declaration, *f.k_number), 0) << number;
  }
  ASSERT_EQ(Close(f.file.declaration), 0);
  std::unique_ptr<DataFile> file;
  DataFileOptions read;
  read.read_only = read.shared = true;
  ASSERT_EQ(DataFile::Open(path, read, &file), 0);
  std::vector<CheckFault> faults;
  CheckSummary summary;
  ASSERT_EQ(CheckDataFile(*file, &faults, &summary), 0);
  for (const CheckFault& fault : faults) ADD_FAILURE() << fault.page << ": " << fault.text;
}

TEST(ShareModes, TwoProcessesAddingLoseNoReportedAdd) {
  for (uint32_t mode : {0x22u, 0x42u, 0x12u}) {
    SCOPED_TRACE(mode);
    ScratchDir dir;
    const std::string path = dir.File("together.lds");
    CreateSample(path, 0);
    const std::set<int32_t> added = AddTogether(path, mode);
    EXPECT_EQ(added.size(), 2u * kEach);  // distinct numbers: every ADD succeeds
    ExpectHolds(path, added);
  }
}

}  // namespace
}  // namespace carelog::store
