// Sharing between real processes: every scenario forks processes that open the files
// themselves (a file description inherited across fork would share its locks).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>

#include "runtime/store/data_file.h"
#include "runtime/store/data_file_check.h"
#include "runtime/store/stored_table_testing.h"
#include "runtime/store/transaction.h"
#include "runtime/store/transaction_control.h"

namespace carelog::store {
namespace {

using testing::SampleFile;
using testing::SampleRecord;
using testing::ScratchDir;
using Clock = std::chrono::steady_clock;

constexpr uint32_t kShared = 0x42;

// A one-way signal between processes.
class Signal {
 public:
  Signal() { EXPECT_EQ(pipe(fds_), 0); }
  ~Signal() {
    close(fds_[0]);
    close(fds_[1]);
  }
  void Post() { EXPECT_EQ(write(fds_[1], "x", 1), 1); }
  void Wait() {
    char c;
    EXPECT_EQ(read(fds_[0], &c, 1), 1);
  }
  // Whether a post arrives within `ms` milliseconds (consuming it).
  bool PostedWithin(int ms) {
    pollfd p = {fds_[0], POLLIN, 0};
    if (poll(&p, 1, ms) != 1) return false;
    Wait();
    return true;
  }

 private:
  int fds_[2];
};

// Runs `body` in a child process; its result is the exit status.
pid_t Spawn(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  return pid;
}

int ExitStatus(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Creates the sample file with records 1..count (NUMBER = record number) and closes it.
void CreateSample(const std::string& path, int count) {
  SampleFile f(path);
  ASSERT_EQ(Create(f.file.declaration), 0);
  ASSERT_EQ(Open(f.file.declaration, 0x22), 0);
  for (int i = 1; i <= count; ++i) {
    f.Fill(SampleRecord{i, "name" + std::to_string(i), "city", 1.5 * i, 0});
    ASSERT_EQ(Add(f.file.declaration), 0);
  }
  ASSERT_EQ(Close(f.file.declaration), 0);
}

int GetNumber(SampleFile& f, int number) {
  f.Fill(SampleRecord{number, "", "", 0, 0});
  return Get(f.file.declaration, *f.k_number);
}

TEST(SharingTest, ReadersProceedTogetherWhileAWriterWaits) {
  ScratchDir dir;
  const std::string path = dir.File("plain.lds");
  {
    DataFileOptions create;
    create.create = true;
    std::unique_ptr<DataFile> file;
    ASSERT_EQ(DataFile::Open(path, create, &file), 0);
  }
  DataFileOptions shared;
  shared.shared = true;
  Signal reading, release, written;
  auto reader = [&] {
    std::unique_ptr<DataFile> file;
    if (DataFile::Open(path, shared, &file) != 0 || file->BeginAccess(Access::kRead) != 0) return 1;
    reading.Post();
    release.Wait();
    return file->EndAccess();
  };
  pid_t r1 = Spawn(reader), r2 = Spawn(reader);
  reading.Wait();
  reading.Wait();  // both readers are inside their cycles at once
  pid_t w = Spawn([&] {
    std::unique_ptr<DataFile> file;
    if (DataFile::Open(path, shared, &file) != 0 || file->BeginAccess(Access::kWrite) != 0)
      return 1;
    written.Post();
    return file->EndAccess();
  });
  EXPECT_FALSE(written.PostedWithin(300));
  release.Post();
  EXPECT_FALSE(written.PostedWithin(300));  // one reader is still inside its cycle
  release.Post();
  EXPECT_TRUE(written.PostedWithin(5000));
  EXPECT_EQ(ExitStatus(r1), 0);
  EXPECT_EQ(ExitStatus(r2), 0);
  EXPECT_EQ(ExitStatus(w), 0);
}

TEST(SharingTest, ReadersAllowedFileCommitsOnlyAfterReadersLeave) {
  ScratchDir dir;
  const std::string path = dir.File("deny_write.lds");
  CreateSample(path, 1);
  Signal reading, release, committed;
  pid_t reader = Spawn([&] {
    DataFileOptions shared;
    shared.shared = true;
    shared.read_only = true;
    std::unique_ptr<DataFile> file;
    if (DataFile::Open(path, shared, &file) != 0 || file->BeginAccess(Access::kRead) != 0) return 1;
    reading.Post();
    release.Wait();
    return file->EndAccess();
  });
  reading.Wait();
  pid_t writer = Spawn([&] {
    SampleFile f(path);
    if (Open(f.file.declaration, 0x22) != 0) return 1;
    f.Fill(SampleRecord{2, "two", "city", 0, 0});
    if (Add(f.file.declaration) != 0) return 2;
    committed.Post();
    return Close(f.file.declaration);
  });
  EXPECT_FALSE(committed.PostedWithin(300));
  release.Post();
  EXPECT_TRUE(committed.PostedWithin(5000));
  EXPECT_EQ(ExitStatus(reader), 0);
  EXPECT_EQ(ExitStatus(writer), 0);
}

TEST(SharingTest, HoldExcludesOtherHoldsPutsAndDeletesUntilReleased) {
  ScratchDir dir;
  const std::string path = dir.File("hold.lds");
  CreateSample(path, 2);
  Signal held, release, released;
  pid_t holder = Spawn([&] {
    SampleFile f(path);
    if (Share(f.file.declaration, kShared) || Hold(f.file.declaration) || GetNumber(f, 1)) return 1;
    held.Post();
    release.Wait();
    int rc = Release(f.file.declaration);
    released.Post();
    return rc;
  });
  held.Wait();
  SampleFile f(path);
  ASSERT_EQ(Share(f.file.declaration, kShared), 0);
  const auto start = Clock::now();
  ASSERT_EQ(Hold(f.file.declaration, 1), 0);
  EXPECT_EQ(GetNumber(f, 1), 43);
  EXPECT_GE(SecondsSince(start), 0.9);
  // Another record is free; an unheld record 1 can be read but not changed or deleted.
  EXPECT_EQ(Hold(f.file.declaration), 0);
  EXPECT_EQ(GetNumber(f, 2), 0);
  EXPECT_EQ(GetNumber(f, 1), 0);
  f.Fill(SampleRecord{1, "changed", "city", 0, 0});
  EXPECT_EQ(Put(f.file.declaration), 5);
  EXPECT_EQ(Delete(f.file.declaration), 33);
  release.Post();
  released.Wait();
  EXPECT_EQ(Hold(f.file.declaration, 1), 0);
  EXPECT_EQ(GetNumber(f, 1), 0);
  EXPECT_EQ(Put(f.file.declaration), 0);
  EXPECT_EQ(ExitStatus(holder), 0);
  EXPECT_EQ(Close(f.file.declaration), 0);
}

TEST(SharingTest, WatchDetectsAChangeByAnotherProcessButNotAnUnchangedPut) {
  ScratchDir dir;
  const std::string path = dir.File("watch.lds");
  CreateSample(path, 1);
  for (bool other_changes : {true, false}) {
    Signal watched, other_done;
    pid_t watcher = Spawn([&] {
      SampleFile f(path);
      if (Share(f.file.declaration, kShared) || Watch(f.file.declaration) || GetNumber(f, 1)) {
        return 1;
      }
      watched.Post();
      other_done.Wait();
      SampleRecord mine = f.Current();
      mine.city = "mine";
      f.Fill(mine);
      int rc = Put(f.file.declaration);
      return rc == (other_changes ? 89 : 0) ? 0 : 2;
    });
    watched.Wait();
    {
      SampleFile f(path);
      ASSERT_EQ(Share(f.file.declaration, kShared), 0);
      ASSERT_EQ(GetNumber(f, 1), 0);
      if (other_changes) {
        SampleRecord theirs = f.Current();
        theirs.name = "theirs";
        f.Fill(theirs);
      }
      ASSERT_EQ(Put(f.file.declaration), 0);
      ASSERT_EQ(Close(f.file.declaration), 0);
    }
    other_done.Post();
    EXPECT_EQ(ExitStatus(watcher), 0) << other_changes;
    SampleFile f(path);
    ASSERT_EQ(Share(f.file.declaration, kShared), 0);
    ASSERT_EQ(GetNumber(f, 1), 0);
    EXPECT_EQ(f.Current().name, "theirs");
    EXPECT_EQ(f.Current().city, other_changes ? "city" : "mine");
    ASSERT_EQ(Close(f.file.declaration), 0);
  }
}

TEST(SharingTest, LockWithSecondsGivesUpAfterItsTime) {
  ScratchDir dir;
  const std::string path = dir.File("lock.lds");
  CreateSample(path, 1);
  Signal locked, done;
  pid_t owner = Spawn([&] {
    SampleFile f(path);
    if (Share(f.file.declaration, kShared) || Lock(f.file.declaration)) return 1;
    locked.Post();
    done.Wait();
    return Unlock(f.file.declaration);
  });
  locked.Wait();
  SampleFile f(path);
  ASSERT_EQ(Share(f.file.declaration, kShared), 0);
  const auto start = Clock::now();
  EXPECT_EQ(Lock(f.file.declaration, 2), 32);
  const double waited = SecondsSince(start);
  EXPECT_GE(waited, 1.5);
  EXPECT_LE(waited, 6);
  done.Post();
  EXPECT_EQ(ExitStatus(owner), 0);
  EXPECT_EQ(Lock(f.file.declaration, 2), 0);
  EXPECT_EQ(Unlock(f.file.declaration), 0);
  EXPECT_EQ(Close(f.file.declaration), 0);
}

TEST(SharingTest, StreamBatchesBecomeVisibleBeforeFlush) {
  ScratchDir dir;
  const std::string path = dir.File("stream.lds");
  CreateSample(path, 0);
  Signal seen;
  int stop_pipe[2];
  ASSERT_EQ(pipe(stop_pipe), 0);
  pid_t writer = Spawn([&] {
    SampleFile f(path);
    if (Share(f.file.declaration, kShared) || Stream(f.file.declaration)) return 1;
    fcntl(stop_pipe[0], F_SETFL, O_NONBLOCK);
    const auto start = Clock::now();
    char c;
    int added = 0;
    while (read(stop_pipe[0], &c, 1) != 1 && SecondsSince(start) < 10) {
      ++added;
      f.Fill(SampleRecord{added, "s" + std::to_string(added), "city", 0, 0});
      if (Add(f.file.declaration) != 0) return 2;
    }
    if (Flush(f.file.declaration) != 0) return 3;
    return Records(f.file.declaration) == static_cast<uint32_t>(added) ? 0 : 4;
  });
  SampleFile f(path);
  ASSERT_EQ(Share(f.file.declaration, kShared), 0);
  uint32_t visible = 0;
  const auto start = Clock::now();
  while (visible == 0 && SecondsSince(start) < 8) visible = Records(f.file.declaration);
  EXPECT_GT(visible, 0u);
  ASSERT_EQ(write(stop_pipe[1], "x", 1), 1);
  EXPECT_EQ(ExitStatus(writer), 0);
  EXPECT_GE(Records(f.file.declaration), visible);
  EXPECT_EQ(Close(f.file.declaration), 0);
  close(stop_pipe[0]);
  close(stop_pipe[1]);
}

// A reading sequence in key order keeps its place while another process changes the file
// between two NEXTs: the cached pages are dropped, the cursors find their entries again, and
// the memos read are those of the record read.
TEST(SharingTest, ReadingInKeyOrderFollowsAnotherProcesssChanges) {
  ScratchDir dir;
  const std::string path = dir.File("follow.lds");
  auto write_note = [](SampleFile& f, const std::string& text) {
    SampleFile::Text(reinterpret_cast<uint8_t*>(f.notes_buffer()), 600, text);
  };
  {
    SampleFile f(path);
    ASSERT_EQ(Create(f.file.declaration), 0);
    ASSERT_EQ(Open(f.file.declaration, kShared), 0);
    for (int i = 1; i <= 6; ++i) {
      f.Fill(SampleRecord{i, "name" + std::to_string(i), "city", 1.0 * i, 0});
      write_note(f, "note " + std::to_string(i));
      ASSERT_EQ(Add(f.file.declaration), 0);
    }
    ASSERT_EQ(Close(f.file.declaration), 0);
  }
  SampleFile reader(path);
  ASSERT_EQ(Open(reader.file.declaration, kShared), 0);
  ASSERT_EQ(Set(*reader.k_number), 0);
  ASSERT_EQ(Next(reader.file.declaration), 0);
  EXPECT_EQ(reader.number(), 1);
  ASSERT_EQ(ExitStatus(Spawn([&] {
              SampleFile f(path);
              if (Open(f.file.declaration, kShared) != 0) return 1;
              f.Fill(SampleRecord{2, "", "", 0, 0});
              if (Get(f.file.declaration, *f.k_number) != 0 || Delete(f.file.declaration) != 0) {
                return 2;
              }
              f.Fill(SampleRecord{3, "", "", 0, 0});
              if (Get(f.file.declaration, *f.k_number) != 0) return 3;
              write_note(f, "changed");
              if (Put(f.file.declaration) != 0) return 4;
              f.Fill(SampleRecord{7, "name7", "city", 7.0, 0});
              write_note(f, "note 7");
              if (Add(f.file.declaration) != 0) return 5;
              return Close(f.file.declaration);
            })),
            0);
  std::vector<std::pair<int32_t, std::string>> read;
  while (Next(reader.file.declaration) == 0) {
    read.emplace_back(reader.number(),
                      SampleFile::Trimmed(reinterpret_cast<uint8_t*>(reader.notes_buffer()), 600));
  }
  const std::vector<std::pair<int32_t, std::string>> expected = {
      {3, "changed"}, {4, "note 4"}, {5, "note 5"}, {6, "note 6"}, {7, "note 7"}};
  EXPECT_EQ(read, expected);
  EXPECT_EQ(Close(reader.file.declaration), 0);
}

// A reader in another process sees the counts of each committed transaction and never those
// of one rolled back; the reader keeps the file open, so it learns of each change from the
// header.
TEST(SharingTest, AnotherProcessSeesTheCountsOfCommittedTransactionsOnly) {
  ScratchDir dir;
  const std::string path = dir.File("counts.lds");
  CreateSample(path, 3);
  SampleFile reader(path);
  ASSERT_EQ(Open(reader.file.declaration, kShared), 0);
  EXPECT_EQ(Records(reader.file.declaration), 3u);
  auto add_in_transaction = [&](int first, int count, bool commit) {
    return ExitStatus(Spawn([&] {
      SampleFile f(path);
      if (Open(f.file.declaration, kShared) != 0 || Logout(f.file.declaration) != 0) return 1;
      for (int i = first; i < first + count; ++i) {
        f.Fill(SampleRecord{i, "n" + std::to_string(i), "c", 0, static_cast<int16_t>(i % 2)});
        if (Add(f.file.declaration) != 0) return 2;
      }
      if ((commit ? Commit(f.file.declaration) : Rollback(f.file.declaration)) != 0) return 3;
      return Close(f.file.declaration);
    }));
  };
  ASSERT_EQ(add_in_transaction(10, 40, true), 0);
  EXPECT_EQ(Records(reader.file.declaration), 43u);
  EXPECT_EQ(Records(*reader.k_name), 43u);
  EXPECT_EQ(Records(*reader.k_code), 20u);  // the OPT key skips code 0
  ASSERT_EQ(add_in_transaction(100, 25, false), 0);
  EXPECT_EQ(Records(reader.file.declaration), 43u);
  EXPECT_EQ(Records(*reader.k_place), 43u);
  EXPECT_EQ(Close(reader.file.declaration), 0);
}

TEST(TransactionTest, ControlFileNamesMapToTheWorkingDirectory) {
  EXPECT_EQ(ControlFilePath(kDefaultControlFileName), "lodestar.tcf");
  EXPECT_EQ(ControlFilePath("D:\\shared\\tx.tcf"), "shared/tx.tcf");
  EXPECT_EQ(ControlFilePath("/tmp/x.tcf"), "/tmp/x.tcf");
  EXPECT_EQ(ControlFilePath("rel\\x.tcf"), "rel/x.tcf");
  uint32_t number = 0;
  std::string name;
  ASSERT_TRUE(DecodeMark(EncodeMark(77, "a.tcf"), &number, &name));
  EXPECT_EQ(number, 77u);
  EXPECT_EQ(name, "a.tcf");
  EXPECT_FALSE(DecodeMark(std::string("\0\0\0\1", 4), &number, &name));
}

int stop_at_step = -1;
void StopAtStep(CommitStep step) {
  if (static_cast<int>(step) == stop_at_step) _exit(0);
}

// A transaction over two data files, stopped at each step of its commit: afterwards both files
// hold the state before it, or both the state after it.
TEST(TransactionTest, CommitStoppedAtAnyStepLeavesBothFilesConsistent) {
  ScratchDir dir;
  const std::string a = dir.File("a.lds"), b = dir.File("b.lds");
  const std::string control = dir.File("tx.tcf");
  struct Case {
    int step;
    bool complete;
  };
  const Case cases[] = {{0, false}, {1, false}, {2, false}, {3, true}, {-1, true}};
  for (const Case& c : cases) {
    CreateSample(a, 1);
    CreateSample(b, 1);
    pid_t child = Spawn([&] {
      stop_at_step = c.step;
      SetCommitStepHook(StopAtStep);
      SampleFile fa(a), fb(b);
      Send(fa.file.declaration, "TCF=" + control);
      if (Share(fa.file.declaration, kShared) || Share(fb.file.declaration, kShared)) return 1;
      if (Logout(fa.file.declaration) || Logout(fb.file.declaration)) return 2;
      for (int i = 2; i <= 30; ++i) {
        fa.Fill(SampleRecord{i, "a" + std::to_string(i), "x", 0, 0});
        fb.Fill(SampleRecord{i, "b" + std::to_string(i), "y", 0, 0});
        if (Add(fa.file.declaration) || Add(fb.file.declaration)) return 3;
      }
      return Commit(fa.file.declaration) == 0 && c.step < 0 ? 0 : 4;
    });
    EXPECT_EQ(ExitStatus(child), 0) << c.step;
    const uint32_t expected = c.complete ? 30 : 1;
    for (const std::string& path : {a, b}) {
      SampleFile f(path);
      ASSERT_EQ(Share(f.file.declaration, kShared), 0);
      EXPECT_EQ(Records(f.file.declaration), expected) << "step " << c.step << " " << path;
      ASSERT_EQ(Close(f.file.declaration), 0);
      DataFileOptions read_only;
      read_only.read_only = true;
      std::unique_ptr<DataFile> file;
      ASSERT_EQ(DataFile::Open(path, read_only, &file), 0);
      std::vector<CheckFault> faults;
      CheckSummary summary;
      ASSERT_EQ(CheckDataFile(*file, &faults, &summary), 0);
      EXPECT_TRUE(faults.empty()) << path;
    }
    if (c.step != 0) {
      EXPECT_TRUE(dir.Exists("tx.tcf"));
    }
  }
}

TEST(TransactionTest, RollbackForgetsEveryFilesChanges) {
  ScratchDir dir;
  const std::string a = dir.File("ra.lds"), b = dir.File("rb.lds");
  CreateSample(a, 1);
  CreateSample(b, 1);
  SampleFile fa(a), fb(b);
  ASSERT_EQ(Share(fa.file.declaration, kShared), 0);
  ASSERT_EQ(Share(fb.file.declaration, kShared), 0);
  ASSERT_EQ(Logout(fa.file.declaration), 0);
  EXPECT_EQ(Logout(fa.file.declaration), 56);
  ASSERT_EQ(Logout(fb.file.declaration), 0);
  fa.Fill(SampleRecord{5, "a", "x", 0, 0});
  ASSERT_EQ(Add(fa.file.declaration), 0);
  fb.Fill(SampleRecord{5, "b", "x", 0, 0});
  ASSERT_EQ(Add(fb.file.declaration), 0);
  EXPECT_EQ(Close(fa.file.declaration), 56);
  ASSERT_EQ(Rollback(fb.file.declaration), 0);
  EXPECT_EQ(Records(fa.file.declaration), 1u);
  EXPECT_EQ(Records(fb.file.declaration), 1u);
  EXPECT_EQ(Close(fa.file.declaration), 0);
  EXPECT_EQ(Close(fb.file.declaration), 0);
}

}  // namespace
}  // namespace carelog::store
