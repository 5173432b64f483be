// File statements through the driver and the stored tables, on real data files in a scratch
// directory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "runtime/store/string_stack.h"
#include "runtime/store/test_file_builder.h"

namespace carelog::store {
namespace {

using testing::LayoutBytes;
using testing::TestFile;

// PAT:NUMBER LONG @0, PAT:NAME STRING(16) @4 -> 20 bytes.
std::vector<uint8_t> PatientLayout() {
  LayoutBytes layout;
  layout.Start().Field("PAT:NUMBER", kTypeLong).Link(4).String("PAT:NAME", 16).End();
  return layout.bytes;
}

class EndToEnd : public ::testing::Test {
 protected:
  EndToEnd() : file("Patients", 20, PatientLayout()) {
    by_number = &file.AddKey("PAT:BY_NUMBER", {1}, kKeyPrimary);
    by_name = &file.AddKey("PAT:BY_NAME", {2, 1}, kKeyDup | kKeyNoCase);
    char pattern[] = "/tmp/carelog-filelayer-XXXXXX";
    directory = mkdtemp(pattern);
    previous = std::filesystem::current_path();
    std::filesystem::current_path(directory);
    RegisterTableOps(&StoredTables());
    ClearError();
    ClearStringStack();
  }
  ~EndToEnd() override {
    Close(file.declaration);
    file.DiscardState();
    RegisterTableOps(nullptr);
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(directory);
  }

  void Fill(int32_t number, const char* name) {
    std::memcpy(file.buffer(), &number, 4);
    std::memset(file.buffer() + 4, ' ', 16);
    std::memcpy(file.buffer() + 4, name, std::strlen(name));
  }
  int32_t Number() {
    int32_t number;
    std::memcpy(&number, file.buffer(), 4);
    return number;
  }

  TestFile file;
  KeyDeclaration* by_number;
  KeyDeclaration* by_name;
  std::string directory;
  std::filesystem::path previous;
};

TEST_F(EndToEnd, CreateAddReadChangeDelete) {
  EXPECT_EQ(Open(file.declaration), 2);
  EXPECT_EQ(ErrorText(), "File Not Found");
  ASSERT_EQ(Create(file.declaration), 0);
  EXPECT_EQ(file.declaration.state, nullptr);
  ASSERT_EQ(Open(file.declaration), 0);

  const struct {
    int32_t number;
    const char* name;
  } patients[] = {{3, "carter"}, {1, "Abbott"}, {2, "Baker"}};
  for (const auto& p : patients) {
    Fill(p.number, p.name);
    ASSERT_EQ(Add(file.declaration), 0) << p.name;
  }
  EXPECT_EQ(Records(file.declaration), 3u);
  Fill(2, "Again");
  EXPECT_EQ(Add(file.declaration), 40) << "a second number 2 in a unique key";
  EXPECT_EQ(ErrorText(), "Creates Duplicate Key");

  ASSERT_EQ(Set(*by_name), 0);
  std::vector<int32_t> order;
  while (Next(file.declaration) == 0) order.push_back(Number());
  EXPECT_EQ(ErrorCode(), 33);
  EXPECT_EQ(order, (std::vector<int32_t>{1, 2, 3})) << "names compare without case";

  Fill(2, "");
  ASSERT_EQ(Get(file.declaration, *by_number), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(file.buffer()) + 4, 5), "Baker");
  const uint32_t baker = Pointer(file.declaration);
  const std::string position = Position(*by_name);
  std::memcpy(file.buffer() + 4, "Zed  ", 5);
  ASSERT_EQ(Put(file.declaration), 0);

  ASSERT_EQ(Get(file.declaration, 0u), 0);
  ASSERT_EQ(Get(file.declaration, baker), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(file.buffer()) + 4, 3), "Zed");
  ASSERT_EQ(Delete(file.declaration), 0);
  EXPECT_EQ(Records(file.declaration), 2u);
  EXPECT_EQ(Get(file.declaration, baker), 35);
  EXPECT_FALSE(position.empty());

  ASSERT_EQ(Close(file.declaration), 0);
  EXPECT_EQ(file.declaration.state, nullptr);
  ASSERT_EQ(Open(file.declaration, 0x40), 0);
  EXPECT_EQ(Records(file.declaration), 2u);
  EXPECT_EQ(Add(file.declaration), 5) << "opened read-only";
  EXPECT_EQ(StringStackDepth(), 0u);
}

}  // namespace
}  // namespace carelog::store
