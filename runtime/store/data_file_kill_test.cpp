// A child process commits changes to a real file in a loop and is killed at random moments; every
// reopened file must be sound and hold exactly the commits that completed, each one whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>

#include "runtime/store/data_file.h"
#include "runtime/store/data_file_check.h"
#include "runtime/store/tree.h"

namespace carelog::store {
namespace {

std::string Item(uint32_t n) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "item%08u", n);
  return buffer;
}

// Commit n adds item n (with data of varied size, so pages change class) and sets "last" to n.
[[noreturn]] void WriteForever(const std::string& path, uint32_t from) {
  DataFileOptions options;
  options.create = true;
  std::unique_ptr<DataFile> file;
  if (DataFile::Open(path, options, &file) != 0) _exit(2);
  for (uint32_t n = from;; ++n) {
    std::string last = Item(n);
    if (file->tree().Put(Item(n), std::string(20 + n * 37 % 400, static_cast<char>(n))) != 0 ||
        file->tree().Put("last", last) != 0 ||
        (n % 7 == 0 && file->tree().Erase(Item(n - 3)) != 0) || file->EndAccess() != 0) {
      _exit(3);
    }
  }
}

TEST(DataFileKill, KilledWritersLeaveWholeCommits) {
  std::string path = "/tmp/carelog_kill_" + std::to_string(getpid()) + ".lds";
  std::remove(path.c_str());
  std::mt19937 random(5);
  uint32_t committed = 0;
  for (int round = 0; round < 12; ++round) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) WriteForever(path, committed + 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + random() % 80));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "writer stopped by itself: " << status;

    DataFileOptions options;
    std::unique_ptr<DataFile> file;
    int error = DataFile::Open(path, options, &file);
    // A writer slowed down enough may be killed before it has even created the file.
    if (error == ENOENT && committed == 0) continue;
    ASSERT_EQ(error, 0);
    std::vector<CheckFault> faults;
    CheckSummary summary;
    ASSERT_EQ(CheckDataFile(*file, &faults, &summary), 0);
    for (const CheckFault& fault : faults) ADD_FAILURE() << fault.page << ": " << fault.text;
    Entry last;
    bool found = false;
    ASSERT_EQ(file->tree().Find("last", &last, &found), 0);
    if (!found) continue;
    uint32_t now = static_cast<uint32_t>(std::stoul(std::string(last.data().substr(4))));
    ASSERT_GE(now, committed);
    committed = now;
    // Items 1..committed are there except those erased; nothing beyond.
    for (uint32_t n = 1; n <= committed + 1; ++n) {
      Entry item;
      ASSERT_EQ(file->tree().Find(Item(n), &item, &found), 0);
      bool erased = (n + 3) % 7 == 0 && n + 3 <= committed;
      ASSERT_EQ(found, n <= committed && !erased) << "item " << n << " of " << committed;
    }
  }
  EXPECT_GT(committed, 0u);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace carelog::store
