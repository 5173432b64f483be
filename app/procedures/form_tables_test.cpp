// Every form table against its window definition and the data dictionary: the window loads,
// each control with a USE descriptor shows exactly one field of the form's file with the same
// storage, and every key, lookup and button the table names exists.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/app_testing.h"
#include "app/patterns/form_record.h"
#include "app/procedure_catalogue.h"
#include "app/procedures/form_procedures.h"
#include "runtime/store/file_statements.h"
#include "runtime/window/definition_loader.h"

namespace carelog::app {
namespace {

using procedures::FormTables;

class FormTablesTest : public ::testing::Test {
 protected:
  // Memo buffers exist only while their file is open.
  void SetUp() override {
    for (const appdata::FileInfo* info : appdata::Catalogue()) {
      store::FileDeclaration& file = *info->instance();
      store::Create(file);
      ASSERT_EQ(store::Open(file, 0x42), 0) << info->label;
    }
  }
  void TearDown() override {
    for (const appdata::FileInfo* info : appdata::Catalogue()) store::Close(*info->instance());
  }
  testing::TempWorkingDirectory directory_;
};

window::Entry LoadWindow(const FormTable& table) {
  window::DefinitionLoader loader;
  EXPECT_EQ(loader.Open(table.module, table.window), window::DefinitionError{}) << table.name;
  return loader.structure();
}

TEST_F(FormTablesTest, EveryUseControlShowsOneFieldOfItsStorage) {
  ASSERT_EQ(FormTables().size(), 23u);
  for (const FormTable* table : FormTables()) {
    SCOPED_TRACE(table->name);
    window::Entry window = LoadWindow(*table);
    std::vector<FormUse> uses;
    std::string bad;
    ASSERT_TRUE(ResolveBindings(*table, &uses, &bad)) << bad;
    std::map<int, window::UseType> declared;
    for (const window::Entry* control : window::UseControlsOf(window)) {
      EXPECT_TRUE(declared.emplace(control->id, *control->use).second) << control->id;
    }
    std::set<int> bound;
    for (const FormUse& use : uses) {
      EXPECT_TRUE(bound.insert(use.control).second) << "control bound twice: " << use.control;
      auto it = declared.find(use.control);
      ASSERT_NE(it, declared.end()) << "no USE control " << use.control;
      EXPECT_EQ(it->second, use.slot.storage) << "control " << use.control;
    }
    EXPECT_EQ(bound.size(), declared.size());
  }
}

TEST_F(FormTablesTest, KeysLookupsAndButtonsExist) {
  for (const FormTable* table : FormTables()) {
    SCOPED_TRACE(table->name);
    window::Entry window = LoadWindow(*table);
    std::set<int> controls;
    for (const window::Entry* control : window::ControlsOf(window)) controls.insert(control->id);
    EXPECT_TRUE(controls.count(1) && controls.count(2) && controls.count(3));
    EXPECT_TRUE(controls.count(table->ok_button) && controls.count(table->cancel_button));
    if (table->flavour == FormFlavour::kNote) {
      EXPECT_EQ(table->ok_button, 101);
      EXPECT_EQ(table->cancel_button, 102);
    }
    if (table->number_key) {
      EXPECT_NE(appdata::FindKey(table->file, table->number_key), nullptr);
      EXPECT_TRUE(ResolveField(table->file, table->number_field).valid());
    }
    if (table->patient_field) {
      EXPECT_TRUE(ResolveField(table->file, table->patient_field).valid());
    }
    for (const char* field : table->dated_fields) {
      EXPECT_TRUE(ResolveField(table->file, field).valid());
    }
    for (const PrimedText& row : table->primed_texts) {
      EXPECT_TRUE(ResolveField(table->file, row.field, row.element).valid()) << row.field;
    }
    for (const PrimedNumber& row : table->primed_numbers) {
      EXPECT_TRUE(ResolveField(table->file, row.field, row.element).valid()) << row.field;
    }
    for (const FieldLookupRow& row : table->lookups) {
      EXPECT_TRUE(controls.count(row.control)) << row.field;
      EXPECT_NE(appdata::FindKey(row.file, row.key), nullptr) << row.key;
      EXPECT_TRUE(ResolveField(row.file, row.key_field).valid()) << row.key_field;
    }
  }
}

// A record that holds a patient number is stored only for a patient that exists: the form
// looks the number up on the control that shows it and offers a browse of the patients.
// Aide assignments are the exception: they keep a renumbered patient's old number, so their
// forms must not force a new pick when such a sheet is changed.
TEST_F(FormTablesTest, EveryPatientNumberShownIsLookedUpInThePatientsFile) {
  for (const FormTable* table : FormTables()) {
    if (!table->patient_field) continue;
    if (table->file == appdata::FileId::kHhaAssign) {
      EXPECT_TRUE(table->lookups.empty()) << table->name;
      continue;
    }
    SCOPED_TRACE(table->name);
    const FieldLookupRow* lookup = nullptr;
    for (const FieldLookupRow& row : table->lookups) {
      if (std::string(row.field) == table->patient_field) lookup = &row;
    }
    ASSERT_NE(lookup, nullptr) << "no lookup of " << table->patient_field;
    EXPECT_EQ(lookup->file, appdata::FileId::kPatients);
    EXPECT_STREQ(lookup->key, "PAT:KEY_PATIENT_NUMBER");
    EXPECT_NE(FindProcedure(lookup->select), nullptr) << lookup->select;
    bool shown = false;
    for (const FieldBinding& binding : table->fields) {
      shown |= ControlOf(*table, binding) == lookup->control &&
               std::string(binding.field) == lookup->field;
    }
    EXPECT_TRUE(shown) << "control " << lookup->control << " does not show " << lookup->field;
  }
}

TEST_F(FormTablesTest, PatientFormHasItsTabsAndBrowseBoxesInOrder) {
  window::Entry window = LoadWindow(procedures::kUpdatePatients);
  const window::Entry* sheet = nullptr;
  for (const window::Entry* control : window::ControlsOf(window)) {
    if (control->id == 1) sheet = control;
  }
  ASSERT_NE(sheet, nullptr);
  std::vector<std::string> tabs;
  for (const window::Entry& tab : sheet->children)
    tabs.push_back(*tab.String(window::Field::kText));
  const std::vector<std::string> expected = {"General",
                                             "General (cont.)",
                                             "General (cont. 2 )",
                                             "Plans_and_Progress",
                                             "CaseCon",
                                             "MonthCal",
                                             "POC",
                                             "SixtyDay",
                                             "Orders",
                                             "Calendar",
                                             "HHA_Assign",
                                             "Doctors",
                                             "Family",
                                             "CarePlan",
                                             "ProgressNotes",
                                             "Narrative",
                                             "Medications",
                                             "DischargeSummary"};
  EXPECT_EQ(tabs, expected);
  for (size_t box = 0; box < 14; ++box) {
    const window::Entry& page = sheet->children[4 + box];
    ASSERT_FALSE(page.children.empty());
    EXPECT_EQ(page.children[0].kind, window::kKindList);
    EXPECT_EQ(page.children[0].id, static_cast<int>(57 + 4 * box));
  }
}

}  // namespace
}  // namespace carelog::app
