// Temporary files: unique names under the temporary directory, written whole through the
// descriptor they were created with.
#include "runtime/host/temp_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace carelog::host {
namespace {

std::vector<uint8_t> Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST(TempFilesTest, WrittenFilesHoldExactlyTheirBytesUnderDistinctNames) {
  std::vector<uint8_t> bytes(70000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
  std::string first, second, empty;
  ASSERT_TRUE(WriteTemporaryFile("TAM", bytes, &first));
  ASSERT_TRUE(WriteTemporaryFile("TAM", std::span<const uint8_t>(), &empty));
  second = CreateTemporaryFile("TAM");
  EXPECT_NE(first, second);
  EXPECT_NE(first, empty);
  EXPECT_EQ(std::filesystem::path(first).filename().string().rfind("TAM", 0), 0u);
  EXPECT_EQ(std::filesystem::path(first).parent_path(), std::filesystem::temp_directory_path());
  EXPECT_EQ(Contents(first), bytes);
  EXPECT_TRUE(Contents(empty).empty());
  EXPECT_TRUE(std::filesystem::exists(second));
  for (const std::string& path : {first, second, empty}) std::filesystem::remove(path);
}

TEST(TempFilesTest, ADirectoryThatCannotTakeFilesGivesNoPath) {
  std::string path = "unchanged";
  // A prefix naming a directory that does not exist: nothing can be created there.
  EXPECT_FALSE(WriteTemporaryFile("no-such-directory/TAM", std::vector<uint8_t>{1, 2}, &path));
  EXPECT_TRUE(path.empty());
  EXPECT_EQ(CreateTemporaryFile("no-such-directory/TAM"), "");
}

}  // namespace
}  // namespace carelog::host
