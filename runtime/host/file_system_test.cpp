// The operating system's files: a gathered write lands its pieces back to back, also when there
// are more pieces than one system call takes.
#include "runtime/host/file_system.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace carelog::host {
namespace {

TEST(FileSystemTest, GatheredWriteLandsPiecesBackToBackBetweenUntouchedBytes) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("gathered-" + std::to_string(::getpid())))
          .string();
  std::unique_ptr<File> file;
  FileOpenFlags flags;
  flags.write = flags.create = true;
  ASSERT_EQ(FileSystem::Posix().Open(path, flags, &file), 0);
  const std::string before(300, 'x');
  ASSERT_EQ(file->Write(0, before.data(), before.size()), 0);

  // 2,500 pieces of 1 to 13 bytes: more than one batch of IOV_MAX (1,024 on Linux).
  std::vector<std::string> texts;
  std::string expected;
  for (int i = 0; i < 2500; ++i) {
    texts.push_back(std::string(1 + i % 13, static_cast<char>('a' + i % 26)));
    expected += texts.back();
  }
  std::vector<WritePiece> pieces;
  for (const std::string& text : texts) pieces.push_back({text.data(), text.size()});
  ASSERT_EQ(file->WriteGathered(100, pieces.data(), pieces.size()), 0);
  ASSERT_EQ(file->WriteGathered(50, nullptr, 0), 0);

  std::string read(100 + expected.size() + 10, '\0');
  size_t got = 0;
  ASSERT_EQ(file->Read(0, read.data(), read.size(), &got), 0);
  ASSERT_EQ(got, 100 + expected.size());
  EXPECT_EQ(read.substr(0, 100), before.substr(0, 100));
  EXPECT_EQ(read.substr(100, expected.size()), expected);
  file.reset();
  EXPECT_EQ(FileSystem::Posix().Remove(path), 0);
}

}  // namespace
}  // namespace carelog::host
