// Screenshots of every form adding and changing a record of the sample data, for the
// documentation: run with --gtest_also_run_disabled_tests and CARELOG_SCREENSHOTS=DIR.
// EveryTabAtFontSizes shoots every tab of every form, with no default font and with the
// default font at 8 and 12 points where the form takes it, for looking the windows over.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/app_testing.h"
#include "app/data/dictionary.h"
#include "app/patterns/form_engine.h"
#include "app/procedure_catalogue.h"
#include "app/procedure_globals.h"
#include "app/procedures/form_procedures.h"
#include "runtime/host/automation.h"
#include "runtime/store/file_statements.h"
#include "tools/carelog-sample/sample_data.h"

namespace carelog::app {
namespace {

namespace wt = window::testing;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Opens the form on the first record of its file (or on a cleared record for an insert, with
// the first patient current) and runs `look` on it before cancelling it.
void WithFormOpen(const FormTable& table, int32_t request,
                  const std::function<void(host::Automation&)>& look) {
  wt::Program program([&table, request] {
    store::FileDeclaration& patients = appdata::PatientsFile();
    store::FileDeclaration& file = appdata::Declaration(table.file);
    store::Open(patients, 0x42);
    store::Open(file, 0x42);
    store::Set(patients);
    store::Next(patients);
    store::Watch(file);
    store::Set(file);
    const int read = store::Next(file);
    EXPECT_TRUE(request == kReqInsert || read == 0)
        << table.name << ": no record to change in the sample";
    // A cleared record, memos too, as the browse's Insert gives the form.
    if (request == kReqInsert) {
      std::memset(file.buffer, 0, file.record_size);
      appdata::BlankMemos(table.file);
    }
    ProcRequest = request;
    RunForm(table);
    store::Close(file);
    store::Close(patients);
  });
  host::Automation automation;
  automation.WaitForWindow();
  look(automation);
  automation.Click("Cancel", true);
  automation.WaitIdle();
  automation.Answer("&No");
}

std::string ShotName(const FormTable& table, int32_t request) {
  return "form_" + Lower(table.name) + (request == kReqInsert ? "_add" : "_change");
}

// Saves the form's window as DIR/form_<name>_<add|change><suffix>.png.
void Shoot(const FormTable& table, int32_t request, const std::string& dir,
           const std::string& suffix = "") {
  std::string path = dir + "/" + ShotName(table, request) + suffix + ".png";
  WithFormOpen(table, request, [&path](host::Automation& automation) {
    EXPECT_TRUE(automation.Screenshot(path).ok) << path;
  });
}

// Saves every tab of the form as DIR/<shot>_tabN<suffix>.png.
void ShootTabs(const FormTable& table, int32_t request, const std::string& dir,
               const std::string& suffix) {
  std::string stem = dir + "/" + ShotName(table, request);
  WithFormOpen(table, request, [&stem, &suffix](host::Automation& automation) {
    std::vector<std::string> tabs;
    for (const host::WindowInfo& window : automation.Windows()) {
      if (!window.active) continue;
      for (const host::ControlInfo& control : window.controls) {
        if (control.kind == "tab") tabs.push_back(control.text);
      }
    }
    if (tabs.empty()) tabs.push_back("");
    for (size_t i = 0; i < tabs.size(); ++i) {
      if (!tabs[i].empty()) automation.Click(tabs[i], true);
      automation.WaitIdle();
      std::string path = stem + "_tab" + std::to_string(i + 1) + suffix + ".png";
      EXPECT_TRUE(automation.Screenshot(path).ok) << path;
    }
    if (tabs.size() > 1) automation.Click(tabs.front(), true);
  });
}

// Forty sample patients with their records in the working directory: enough for every file to
// hold a record to change (one patient in ten has a discharge summary).
void WriteSample() {
  sample::SampleCounts counts;
  std::string error;
  ASSERT_EQ(sample::WriteSampleData(sample::SampleOptions{40, 1}, &counts, &error), 0) << error;
}

TEST(FormScreenshots, DISABLED_EveryFormAddingAndChanging) {
  const char* dir = std::getenv("CARELOG_SCREENSHOTS");
  ASSERT_NE(dir, nullptr);
  testing::TempWorkingDirectory directory;
  ASSERT_NO_FATAL_FAILURE(WriteSample());
  for (const FormTable* table : procedures::FormTables()) {
    Shoot(*table, kReqChange, dir);
    Shoot(*table, kReqInsert, dir);
    // Forms that take the default display font, changing a record in a 12-point font as well.
    const CatalogueRow* row = FindProcedure(table->name);
    if (!row || !row->takes_default_font) continue;
    DisplayFont = DisplayFontSettings{"MS Sans Serif", 12, 0, 0};
    Shoot(*table, kReqChange, dir, "_font12");
    DisplayFont = DisplayFontSettings{};
  }
}

TEST(FormScreenshots, DISABLED_EveryTabAtFontSizes) {
  const char* dir = std::getenv("CARELOG_SCREENSHOTS");
  ASSERT_NE(dir, nullptr);
  testing::TempWorkingDirectory directory;
  ASSERT_NO_FATAL_FAILURE(WriteSample());
  const char* only = std::getenv("CARELOG_SCREENSHOT_FORM");
  for (const FormTable* table : procedures::FormTables()) {
    if (only && table->name != std::string(only)) continue;
    for (int32_t request : {kReqInsert, kReqChange}) {
      DisplayFont = DisplayFontSettings{};
      ShootTabs(*table, request, dir, "");
      const CatalogueRow* row = FindProcedure(table->name);
      if (!row || !row->takes_default_font) continue;
      for (uint8_t size : {8, 12}) {
        DisplayFont = DisplayFontSettings{"MS Sans Serif", size, 0, 0};
        ShootTabs(*table, request, dir, "_font" + std::to_string(size));
      }
    }
  }
  DisplayFont = DisplayFontSettings{};
}

}  // namespace
}  // namespace carelog::app
