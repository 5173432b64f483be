// The declarations as the record store reads them: every layout stream through the driver's own
// reader, and every declaration through the building of the driver state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/data/dictionary.h"
#include "runtime/store/driver_state.h"
#include "runtime/store/layout_reader.h"

namespace carelog::appdata {
namespace {

TEST(StoreReading, EveryLayoutReadsBackFieldForField) {
  for (const FileInfo* info : Catalogue()) {
    SCOPED_TRACE(info->label);
    const store::FileDeclaration& file = *info->instance();
    store::LayoutTable table;
    ASSERT_EQ(store::ReadLayout(file.layout, file.layout_size, file.record_size, &table), 0);
    EXPECT_EQ(table.stored_size, file.record_size);
    std::vector<LayoutField> ours;
    ASSERT_EQ(DecodeLayout(info->layout, &ours), LayoutError::kNone);
    ASSERT_EQ(table.fields.size(), ours.size());
    for (size_t i = 0; i < ours.size(); ++i) {
      const store::FieldEntry& read = table.fields[i];
      const LayoutField& field = ours[i];
      SCOPED_TRACE(field.name);
      EXPECT_EQ(read.number, static_cast<int>(field.number));
      EXPECT_EQ(read.name, field.name);
      EXPECT_EQ(read.type, field.type);
      EXPECT_EQ(read.offset, field.offset);
      EXPECT_EQ(read.element_count, field.count);
      EXPECT_EQ(read.dimension_count, field.dims);
      EXPECT_EQ(read.element_size, field.element_size);
      EXPECT_EQ(read.total_size, field.size);
      EXPECT_FALSE(read.overlay);
      if (field.type == store::kTypeDecimal) {
        EXPECT_EQ(read.decimal_size, field.length);
        EXPECT_EQ(read.decimal_places, field.places);
      }
      if (field.type == store::kTypeString) {
        EXPECT_EQ(read.string_length, field.length);
        EXPECT_EQ(read.picture, "");
      }
      // A member of a POC group names its group as parent; every other field the root.
      if (field.depth == 0) {
        EXPECT_EQ(read.parent, -1);
      } else {
        ASSERT_GE(read.parent, 0);
        EXPECT_EQ(table.fields[read.parent].type, store::kTypeGroup);
        EXPECT_EQ(ours[read.parent].depth, field.depth - 1);
      }
    }
  }
}

TEST(StoreReading, EveryDeclarationBuildsItsDriverState) {
  for (const FileInfo* info : Catalogue()) {
    SCOPED_TRACE(info->label);
    store::FileDeclaration& file = *info->instance();
    ASSERT_EQ(file.state, nullptr);
    ASSERT_EQ(store::BuildDriverState(file), 0);
    const store::DriverState& state = *store::StateOf(file);
    EXPECT_EQ(state.name, std::string(file.name.text, file.name.length));
    EXPECT_EQ(state.record, file.buffer);
    ASSERT_EQ(state.keys.size(), info->keys.size());
    for (size_t k = 0; k < state.keys.size(); ++k) {
      const store::KeyEntry& key = state.keys[k];
      const DeclaredKey& declared = info->keys[k];
      SCOPED_TRACE(declared.name);
      EXPECT_EQ(key.label, declared.name);
      EXPECT_EQ(key.flags, declared.attributes);
      EXPECT_EQ(key.number, static_cast<int>(k));
      EXPECT_EQ(file.keys[k]->state, &key);
      ASSERT_EQ(key.components.size(), declared.component_count);
      for (size_t c = 0; c < key.components.size(); ++c) {
        int32_t signed_number = key.components[c].field->number;
        if (key.components[c].descending) signed_number = -signed_number;
        EXPECT_EQ(signed_number, declared.components[c]);
      }
    }
    ASSERT_EQ(state.memos.size(), info->memos.size());
    for (size_t m = 0; m < state.memos.size(); ++m) {
      EXPECT_EQ(state.memos[m].max_size, info->memos[m].max_size);
      ASSERT_NE(file.memos[m]->buffer, nullptr);
      EXPECT_EQ(file.memos[m]->buffer[info->memos[m].max_size - 1], ' ');
    }
    store::DiscardDriverState(file);
    EXPECT_EQ(file.state, nullptr);
  }
}

}  // namespace
}  // namespace carelog::appdata
