#include "app/data/dictionary.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "app/data/records.h"
#include "app/data/relations.h"

namespace carelog::appdata {
namespace {

std::string Text(const store::DeclaredText& text) {
  return std::string(text.text, text.length);
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The catalogue of files as declared: one row per file, in FileId order.
struct CatalogueRow {
  FileId id;
  const char* label;
  const char* prefix;
  const char* disk_name;
  uint8_t attributes;
  uint32_t record_size;
  size_t fields, keys, memos;
};

constexpr CatalogueRow kDeclared[] = {
    {FileId::kPatients, "Patients", "PAT", "Patients", 0x1C, 610, 27, 6, 1},
    {FileId::kPhyscians, "Physcians", "PHY", "PHYSCIANS", 0x1C, 172, 8, 2, 0},
    {FileId::kProgressNotes, "ProgressNotes", "PRO", "Progress", 0x1C, 512, 35, 3, 5},
    {FileId::kMedications, "Medications", "MED", "Meds", 0x1C, 2096, 13, 3, 0},
    {FileId::kDischargeSummary, "DischargeSummary", "DIS", "Discharges", 0x1C, 224, 21, 3, 2},
    {FileId::kCarePlan, "CarePlan", "CAR", "CarePlan", 0x1C, 7454, 10, 2, 0},
    {FileId::kNarrative, "Narrative", "NAR", "Narrative", 0x1C, 12, 3, 2, 1},
    {FileId::kOrders, "Orders", "ORD", "ORDERS", 0x14, 12, 3, 3, 1},
    {FileId::kSixtyDay, "SixtyDay", "SIX", "SIXTYDAY", 0x14, 95, 14, 3, 1},
    {FileId::kHhaAssign, "HHA_Assign", "HHA", "HHA_ASSIGN", 0x1C, 794, 56, 3, 0},
    {FileId::kMonthCal, "MonthCal", "MON", "MONTHCAL", 0x14, 1020, 5, 2, 0},
    {FileId::kCalendar, "Calendar", "DAT", "Calendar", 0x1C, 116, 5, 2, 0},
    {FileId::kFamily, "Family", "FAM", "Family", 0x1C, 68, 4, 1, 0},
    {FileId::kDoctors, "Doctors", "DOC", "Doctors", 0x1C, 58, 4, 2, 0},
    {FileId::kPoc, "POC", "POC", "POC", 0x04, 1065, 55, 3, 2},
    {FileId::kAddInfo, "AddInfo", "ADD", "ADDINFO", 0x14, 4, 1, 1, 1},
    {FileId::kCaseCon, "CaseCon", "CAS", "CASECON", 0x1C, 12, 3, 3, 4},
    {FileId::kFonts, "Fonts", "WFN", "Fonts.Lds", 0x04, 48, 4, 0, 0},
};

TEST(Catalogue, EveryFileAsDeclared) {
  ASSERT_EQ(Catalogue().size(), std::size(kDeclared));
  for (const CatalogueRow& row : kDeclared) {
    SCOPED_TRACE(row.label);
    const FileInfo& info = Info(row.id);
    store::FileDeclaration& file = Declaration(row.id);
    EXPECT_STREQ(info.label, row.label);
    EXPECT_STREQ(info.prefix, row.prefix);
    EXPECT_EQ(Text(file.name), row.disk_name);
    EXPECT_EQ(file.attributes, row.attributes);
    EXPECT_EQ(file.record_size, row.record_size);
    EXPECT_EQ(info.fields.size(), row.fields);
    EXPECT_EQ(file.key_count, row.keys);
    EXPECT_EQ(file.memo_count, row.memos);
    EXPECT_EQ(Text(file.reserved), "");
    EXPECT_EQ(Text(file.owner), "");
    EXPECT_EQ(file.state, nullptr);
    EXPECT_EQ(InfoOf(file), &info);
  }
}

// The stream read back must give every field its declared name, type, offset and size, and
// cover exactly the record.
TEST(Catalogue, LayoutStreamsMatchTheFieldTables) {
  for (const FileInfo* info : Catalogue()) {
    SCOPED_TRACE(info->label);
    const store::FileDeclaration& file = *info->instance();
    ASSERT_EQ(file.layout_size, info->layout.size());
    std::vector<LayoutField> fields;
    ASSERT_EQ(DecodeLayout({file.layout, file.layout_size}, &fields), LayoutError::kNone);
    ASSERT_EQ(fields.size(), info->fields.size());
    uint32_t stored = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
      const FieldRow& declared = info->fields[i];
      const LayoutField& read = fields[i];
      SCOPED_TRACE(declared.name);
      EXPECT_EQ(read.name, declared.name);
      EXPECT_EQ(read.name.rfind(std::string(info->prefix) + ":", 0), 0u);
      EXPECT_EQ(read.type, declared.type.code);
      EXPECT_EQ(read.offset, declared.member_offset);
      EXPECT_EQ(read.count, ElementCount(declared.type));
      EXPECT_EQ(read.depth, declared.depth);
      if (read.type != store::kTypeGroup) {
        EXPECT_EQ(read.element_size, ElementSize(declared.type));
        stored += read.size;
      }
      EXPECT_LE(read.offset + read.size, file.record_size);
    }
    EXPECT_EQ(stored, file.record_size);
  }
}

TEST(Catalogue, PocGroupsSpanTheirMembers) {
  std::vector<LayoutField> fields;
  ASSERT_EQ(DecodeLayout(kPocInfo.layout, &fields), LayoutError::kNone);
  struct Group {
    uint32_t number, offset, size, members;
  };
  for (Group g : {Group{13, 978, 41, 12}, Group{26, 1019, 33, 14}, Group{41, 1052, 8, 8},
                  Group{50, 1060, 5, 5}}) {
    const LayoutField& group = fields[g.number - 1];
    SCOPED_TRACE(group.name);
    EXPECT_EQ(group.type, store::kTypeGroup);
    EXPECT_EQ(group.offset, g.offset);
    EXPECT_EQ(group.size, g.size);
    for (uint32_t m = 1; m <= g.members; ++m) EXPECT_EQ(fields[g.number - 1 + m].depth, 1);
    if (g.number + g.members < fields.size()) {
      EXPECT_EQ(fields[g.number + g.members].depth, 0);
    }
  }
  EXPECT_EQ(sizeof(PocFunctionalLimitations), 41u);
}

struct ExpectedKey {
  FileId file;
  const char* name;
  uint32_t attributes;
  std::vector<int32_t> components;
};

TEST(Keys, FlagsAndSignedComponents) {
  const ExpectedKey rows[] = {
      {FileId::kPatients, "PAT:KEY_PATIENT_NUMBER", 0x16, {1}},
      {FileId::kPatients, "PAT:AGENCYKEY", 0x07, {2, 5, 4}},
      {FileId::kPatients, "PAT:KEY_PHYSICIAN_NAME", 0x07, {22, 5, 4}},
      {FileId::kPatients, "PAT:KEY_NEXT_VISIT", 0x07, {-26, -27}},
      {FileId::kPatients, "PAT:DOCKEY", 0x07, {22}},
      {FileId::kProgressNotes, "PRO:KEY_DATE", 0x05, {2, 5}},
      {FileId::kProgressNotes, "PRO:RECORD_NO_KEY", 0x16, {4}},
      {FileId::kDischargeSummary, "DIS:KEY_PATIENT_NUMBER", 0x05, {1}},
      {FileId::kSixtyDay, "SIX:DATEKEY", 0x07, {-3}},
      {FileId::kHhaAssign, "HHA:REC_NO_KEY", 0x16, {2}},
      {FileId::kCalendar, "DAT:DATEKEY", 0x07, {2, 3}},
      {FileId::kFamily, "FAM:KEY_PATIENT_NUMBER", 0x05, {1}},
      {FileId::kDoctors, "DOC:TYPE_DOC", 0x03, {3}},
      {FileId::kPoc, "POC:DATEKEY", 0x07, {4}},
      {FileId::kCaseCon, "CAS:PATIENTNUMBERKEY", 0x07, {1, -2}},
      {FileId::kCaseCon, "CAS:RECNOKEY", 0x16, {3}},
  };
  for (const ExpectedKey& row : rows) {
    SCOPED_TRACE(row.name);
    store::KeyDeclaration* key = FindKey(row.file, row.name);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(Text(key->name), row.name);
    EXPECT_EQ(key->name.length, std::strlen(row.name));
    EXPECT_EQ(key->attributes, row.attributes);
    ASSERT_EQ(key->component_count, row.components.size());
    EXPECT_EQ(std::vector<int32_t>(key->components, key->components + key->component_count),
              row.components);
  }
}

// What the record store requires of every key: a back link to its own file, at least one
// component, every component a field of the file that is not an array, and one PRIMARY key
// (0x16) in each file that has a unique record identifier.
TEST(Keys, EveryKeyIsUsableByTheStore) {
  for (const FileInfo* info : Catalogue()) {
    SCOPED_TRACE(info->label);
    store::FileDeclaration& file = *info->instance();
    int primary = 0;
    for (uint8_t k = 0; k < file.key_count; ++k) {
      const store::KeyDeclaration& key = *file.keys[k];
      SCOPED_TRACE(Text(key.name));
      EXPECT_EQ(key.file, &file);
      EXPECT_EQ(key.state, nullptr);
      EXPECT_EQ(key.reserved[0] | key.reserved[1], 0u);
      EXPECT_EQ(Text(key.name).rfind(std::string(info->prefix) + ":", 0), 0u);
      ASSERT_GE(key.component_count, 1);
      for (uint8_t c = 0; c < key.component_count; ++c) {
        int32_t number = key.components[c] < 0 ? -key.components[c] : key.components[c];
        ASSERT_GE(number, 1);
        ASSERT_LE(static_cast<size_t>(number), info->fields.size());
        EXPECT_EQ(info->fields[number - 1].type.dim, 0u);
      }
      if (key.attributes & store::kKeyPrimary) {
        ++primary;
        EXPECT_EQ(key.attributes, 0x16u);
      } else {
        EXPECT_TRUE(key.attributes & store::kKeyDup);
      }
    }
    bool has_id = info != &kCalendarInfo && info != &kFamilyInfo && info != &kDoctorsInfo &&
                  info != &kAddInfoInfo && info != &kFontsInfo;
    EXPECT_EQ(primary, has_id ? 1 : 0);
    if (info->identifying_key != nullptr) {
      EXPECT_GE(KeyIndexOf(*info, info->identifying_key), 0) << info->identifying_key;
    } else {
      EXPECT_EQ(info, &kFontsInfo);
    }
  }
}

TEST(Memos, SizesFlagsAndBoundNames) {
  struct ExpectedMemos {
    FileId file;
    std::vector<uint32_t> sizes;
  };
  const ExpectedMemos rows[] = {
      {FileId::kPatients, {600}},
      {FileId::kProgressNotes, {400, 400, 400, 600, 200}},
      {FileId::kDischargeSummary, {1000, 2000}},
      {FileId::kNarrative, {1000}},
      {FileId::kOrders, {400}},
      {FileId::kSixtyDay, {1000}},
      {FileId::kPoc, {2000, 1000}},
      {FileId::kAddInfo, {500}},
      {FileId::kCaseCon, {1000, 1000, 1000, 1000}},
  };
  for (const ExpectedMemos& row : rows) {
    const FileInfo& info = Info(row.file);
    store::FileDeclaration& file = Declaration(row.file);
    SCOPED_TRACE(info.label);
    ASSERT_EQ(file.memo_count, row.sizes.size());
    for (size_t m = 0; m < row.sizes.size(); ++m) {
      const store::MemoDeclaration& memo = *file.memos[m];
      SCOPED_TRACE(Text(memo.name));
      EXPECT_EQ(memo.max_size, row.sizes[m]);
      EXPECT_EQ(memo.flags, 1);
      EXPECT_EQ(memo.attributes, 0);
      EXPECT_EQ(memo.buffer, nullptr);
      EXPECT_EQ(memo.reserved[0] | memo.reserved[1] | memo.reserved2, 0u);
      EXPECT_EQ(Text(memo.name), info.memos[m].name);
      // The bound name is the declared name in mixed case.
      EXPECT_EQ(Upper(info.memos[m].bound_name), Text(memo.name));
      EXPECT_NE(std::string(info.memos[m].bound_name), Text(memo.name));
    }
  }
  EXPECT_STREQ(kProgressNotesInfo.memos[4].bound_name, "PRO:RnObservses");
  EXPECT_STREQ(kAddInfoInfo.memos[0].bound_name, "ADD:AddInfo");
}

TEST(Records, BuffersAreTheDeclarationsBuffers) {
  EXPECT_EQ(PatientsFile().buffer, reinterpret_cast<uint8_t*>(&PAT));
  EXPECT_EQ(DischargeSummaryFile().buffer, reinterpret_cast<uint8_t*>(&DIS));
  EXPECT_EQ(PocFile().buffer, reinterpret_cast<uint8_t*>(&POC));
  EXPECT_EQ(FontsFile().buffer, reinterpret_cast<uint8_t*>(&WFN));
  // Writing a member writes the declared bytes of the record image.
  CAR.PROBLEM[11][0] = 'Z';
  EXPECT_EQ(CarePlanFile().buffer[2454], 'Z');
  POC.PROGNOSIS.EXCELLENT = 1;
  EXPECT_EQ(PocFile().buffer[1064], 1);
  PAT.TIME_NEXT_VISIT = 0x01020304;
  EXPECT_EQ(PatientsFile().buffer[606], 0x04);
  EXPECT_EQ(PatientsFile().buffer[609], 0x01);
}

TEST(Relations, NamesResolveAndKeysLeadWithTheChildField) {
  ASSERT_EQ(Relations().size(), 14u);
  for (const Relation& r : Relations()) {
    const FileInfo& parent = Info(r.parent);
    const FileInfo& child = Info(r.child);
    SCOPED_TRACE(std::string(parent.label) + " -> " + child.label);
    uint32_t parent_field = FieldNumberOf(parent, r.parent_field);
    uint32_t child_field = FieldNumberOf(child, r.child_field);
    ASSERT_NE(parent_field, 0u);
    ASSERT_NE(child_field, 0u);
    int key = KeyIndexOf(child, r.child_key);
    ASSERT_GE(key, 0);
    EXPECT_EQ(child.keys[key].components[0], static_cast<int32_t>(child_field));
    EXPECT_EQ(parent.fields[parent_field - 1].type.code, store::kTypeLong);
    store::FieldType child_type = child.fields[child_field - 1].type.code;
    EXPECT_EQ(child_type,
              r.child == FileId::kDischargeSummary ? store::kTypeDecimal : store::kTypeLong);
  }
  const Relation& hha = Relations()[5];
  EXPECT_EQ(hha.child, FileId::kHhaAssign);
  EXPECT_EQ(hha.on_change, OnParentChange::kNotMaintained);
  EXPECT_EQ(Relations()[12].on_delete, OnParentDelete::kClear);
}

// Every relation assigns the parent's number to the child and reads it back by value, the
// six-byte packed decimal of the discharge summaries included.
TEST(Relations, NumbersTravelFromParentToChildByValue) {
  for (int32_t number : {123, -7, 0, 2147483647}) {
    for (const Relation& r : Relations()) {
      const FileInfo& parent = Info(r.parent);
      const FileInfo& child = Info(r.child);
      SCOPED_TRACE(std::string(child.label) + " " + std::to_string(number));
      std::vector<uint8_t> parent_record(parent.record_size, 0xAA);
      std::vector<uint8_t> child_record(child.record_size, 0x55);
      ASSERT_TRUE(WriteRelationNumber(parent, r.parent_field, parent_record.data(), number));
      int32_t value = 0;
      ASSERT_TRUE(ReadRelationNumber(parent, r.parent_field, parent_record.data(), &value));
      ASSERT_TRUE(WriteRelationNumber(child, r.child_field, child_record.data(), value));
      int32_t child_value = 1;
      ASSERT_TRUE(ReadRelationNumber(child, r.child_field, child_record.data(), &child_value));
      EXPECT_EQ(child_value, number);
      // Only the field's own bytes change.
      uint32_t field_number = FieldNumberOf(child, r.child_field);
      const FieldRow& field = child.fields[field_number - 1];
      uint32_t size = ElementSize(field.type);
      for (uint32_t i = 0; i < child.record_size; ++i) {
        if (i < field.offset || i >= field.offset + size) {
          ASSERT_EQ(child_record[i], 0x55) << i;
        }
      }
    }
  }
  DischargeSummaryRecord summary{};
  ASSERT_TRUE(WriteRelationNumber(kDischargeSummaryInfo, "DIS:PATIENT_NUMBER",
                                  reinterpret_cast<uint8_t*>(&summary), 123));
  EXPECT_EQ(summary.PATIENT_NUMBER.bytes[5], 0x23);
  EXPECT_EQ(summary.PATIENT_NUMBER.bytes[4], 0x01);
  int32_t value = 0;
  summary.PATIENT_NUMBER.bytes[5] = 0x2C;  // not a digit
  EXPECT_FALSE(ReadRelationNumber(kDischargeSummaryInfo, "DIS:PATIENT_NUMBER",
                                  reinterpret_cast<uint8_t*>(&summary), &value));
  EXPECT_FALSE(
      WriteRelationNumber(kPatientsInfo, "PAT:LAST_NAME", reinterpret_cast<uint8_t*>(&summary), 1));
}

}  // namespace
}  // namespace carelog::appdata
