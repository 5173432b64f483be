// Screenshots of every form adding and changing a record of the sample data, for the
// documentation: run with --gtest_also_run_disabled_tests and CARELOG_SCREENSHOTS=DIR.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/app_testing.h"
#include "app/patterns/form_engine.h"
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
// the first patient current) and saves its window as DIR/form_<name>_<add|change>.png.
void Shoot(const FormTable& table, int32_t request, const std::string& dir) {
  std::string path =
      dir + "/form_" + Lower(table.name) + (request == kReqInsert ? "_add" : "_change") + ".png";
  wt::Program program([&table, request] {
    store::FileDeclaration& patients = appdata::PatientsFile();
    store::FileDeclaration& file = appdata::Declaration(table.file);
    store::Open(patients, 0x42);
    store::Open(file, 0x42);
    store::Set(patients);
    store::Next(patients);
    store::Watch(file);
    store::Set(file);
    store::Next(file);
    if (request == kReqInsert) std::memset(file.buffer, 0, file.record_size);
    ProcRequest = request;
    RunForm(table);
    store::Close(file);
    store::Close(patients);
  });
  host::Automation automation;
  automation.WaitForWindow();
  EXPECT_TRUE(automation.Screenshot(path).ok) << path;
  automation.Click("Cancel", true);
  automation.WaitIdle();
  automation.Answer("&No");
}

TEST(FormScreenshots, DISABLED_EveryFormAddingAndChanging) {
  const char* dir = std::getenv("CARELOG_SCREENSHOTS");
  ASSERT_NE(dir, nullptr);
  testing::TempWorkingDirectory directory;
  sample::SampleCounts counts;
  std::string error;
  ASSERT_EQ(sample::WriteSampleData(sample::SampleOptions{20, 1}, &counts, &error), 0) << error;
  for (const FormTable* table : procedures::FormTables()) {
    Shoot(*table, kReqChange, dir);
    Shoot(*table, kReqInsert, dir);
  }
}

}  // namespace
}  // namespace carelog::app
