#include "runtime/store/driver_state.h"

#include <gtest/gtest.h>

#include "runtime/store/test_file_builder.h"

namespace carelog::store {
namespace {

using testing::LayoutBytes;
using testing::TestFile;

// T:NUMBER LONG @0, T:NAME STRING(20) @4, T:CODES DIM(3) SHORT @24 -> 30 bytes.
std::vector<uint8_t> SampleLayout() {
  LayoutBytes layout;
  layout.Start()
      .Field("T:NUMBER", kTypeLong)
      .Link(4)
      .String("T:NAME", 20)
      .Link(24)
      .Name("T:CODES")
      .Dim(3)
      .Raw({kTypeShort})
      .End();
  return layout.bytes;
}

TEST(DriverState, BuildsTablesAndPublishesThem) {
  TestFile file("Sample", 30, SampleLayout(), kFileAttrCreate | kFileAttrOem | kFileAttrThread);
  KeyDeclaration& by_name = file.AddKey("T:BY_NAME", {2, -1}, kKeyDup | kKeyNoCase | 0x4000);
  MemoDeclaration& notes = file.AddMemo("T:NOTES", 100);
  ASSERT_EQ(BuildDriverState(file.declaration), 0);

  const DriverState* state = StateOf(file.declaration);
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(state->name, "Sample");
  EXPECT_EQ(state->flags, kDriverFlagCreate | kDriverFlagOem);
  EXPECT_EQ(state->record_size, 30u);
  EXPECT_EQ(state->fields.size(), 3u);
  EXPECT_EQ(state->bits, 0u);

  const KeyEntry* key = KeyEntryOf(by_name);
  ASSERT_EQ(key, &state->keys[0]);
  EXPECT_EQ(key->number, 0);
  EXPECT_EQ(key->flags, kKeyDup | kKeyNoCase | 0x4000);
  ASSERT_EQ(key->components.size(), 2u);
  EXPECT_EQ(key->components[0].field, &state->fields[1]);
  EXPECT_FALSE(key->components[0].descending);
  EXPECT_EQ(key->components[1].field, &state->fields[0]);
  EXPECT_TRUE(key->components[1].descending);

  ASSERT_EQ(notes.buffer, state->memos[0].buffer.get());
  EXPECT_EQ(std::string(notes.buffer, 100), std::string(100, ' '));
  EXPECT_EQ(state->memos[0].length, 0u);

  file.DiscardState();
  EXPECT_EQ(file.declaration.state, nullptr);
  EXPECT_EQ(by_name.state, nullptr);
  EXPECT_EQ(notes.buffer, nullptr);
}

TEST(DriverState, RefusesBadDeclarations) {
  {
    TestFile file("Many", 30, SampleLayout());
    for (int i = 0; i < 241; ++i) file.AddKey("T:K" + std::to_string(i), {1});
    EXPECT_EQ(BuildDriverState(file.declaration), 47) << "241 keys";
  }
  {
    TestFile file("Many", 30, SampleLayout());
    for (int i = 0; i < 240; ++i) file.AddKey("T:K" + std::to_string(i), {1});
    EXPECT_EQ(BuildDriverState(file.declaration), 0) << "240 keys";
  }
  {
    TestFile file("Array", 30, SampleLayout());
    file.AddKey("T:BY_CODE", {3});
    EXPECT_EQ(BuildDriverState(file.declaration), 75) << "key on an array field";
  }
  {
    TestFile file("Range", 30, SampleLayout());
    file.AddKey("T:BAD", {4});
    EXPECT_EQ(BuildDriverState(file.declaration), 47) << "component beyond the fields";
  }
  {
    TestFile file("Zero", 30, SampleLayout());
    file.AddKey("T:BAD", {0});
    EXPECT_EQ(BuildDriverState(file.declaration), 47) << "component 0";
  }
  {
    TestFile file("Large", 64001, SampleLayout());
    EXPECT_EQ(BuildDriverState(file.declaration), 47) << "record size 64001";
  }
  {
    TestFile file("Memo", 30, SampleLayout());
    file.AddMemo("T:BIG", 64001);
    EXPECT_EQ(BuildDriverState(file.declaration), 47) << "memo of 64001";
  }
  {
    TestFile file("NoLayout", 30, {});
    file.declaration.layout = nullptr;
    EXPECT_EQ(BuildDriverState(file.declaration), 47) << "no layout";
  }
  {
    TestFile file("NoBuffer", 30, SampleLayout());
    file.declaration.buffer = nullptr;
    EXPECT_EQ(BuildDriverState(file.declaration), 47) << "no record buffer";
  }
}

TEST(DriverState, FailedBuildAttachesNothing) {
  TestFile file("Array", 30, SampleLayout());
  KeyDeclaration& good = file.AddKey("T:GOOD", {1});
  file.AddKey("T:BY_CODE", {3});
  MemoDeclaration& memo = file.AddMemo("T:NOTES", 10);
  EXPECT_EQ(BuildDriverState(file.declaration), 75);
  EXPECT_EQ(file.declaration.state, nullptr);
  EXPECT_EQ(good.state, nullptr);
  EXPECT_EQ(memo.buffer, nullptr);
}

}  // namespace
}  // namespace carelog::store
