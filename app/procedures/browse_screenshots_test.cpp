// Screenshots of every browse window on the sample data at the default display font's sizes 8
// and 12, for looking at their headers and columns: run with --gtest_also_run_disabled_tests
// and CARELOG_SCREENSHOTS=DIR. Each is saved as DIR/<browse>_<size>.png.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/app_testing.h"
#include "app/procedure_catalogue.h"
#include "app/procedure_globals.h"
#include "app/procedures/browse_procedures.h"
#include "runtime/host/automation.h"
#include "runtime/store/file_statements.h"
#include "tools/carelog-sample/sample_data.h"

namespace carelog::app {
namespace {

namespace wt = window::testing;

std::string FileName(std::string text) {
  for (char& c : text) {
    c = std::isalnum(static_cast<unsigned char>(c))
            ? static_cast<char>(std::tolower(static_cast<unsigned char>(c)))
            : '_';
  }
  return text;
}

// Opens the browse with the first patient current, as the patient browse's buttons call it.
void Shoot(const BrowseTable& table, int size, const std::string& dir) {
  DisplayFont.typeface = "MS Sans Serif";
  DisplayFont.size = static_cast<uint8_t>(size);
  const std::string path = dir + "/" + FileName(table.name) + "_" + std::to_string(size) + ".png";
  wt::Program program([&table] {
    store::FileDeclaration& patients = appdata::PatientsFile();
    store::Open(patients, 0x42);
    store::Set(patients);
    store::Next(patients);
    ProcRequest = 0;
    EntryPointOf(table.name)();
    store::Close(patients);
  });
  host::Automation automation;
  // The program's thread may not have opened its window yet when the display is first idle.
  for (int i = 0; i < 200 && automation.Windows().empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  automation.WaitIdle();
  // The browses by date ask for their day first.
  if (automation.Click("OK", true).ok)
    automation.WaitIdle();
  EXPECT_TRUE(automation.Screenshot(path).ok) << path;
  if (!automation.Click("Close", true).ok) automation.Key("Escape");
  automation.WaitIdle();
}

TEST(BrowseScreenshots, DISABLED_EveryBrowseAtDisplayFontSizes8And12) {
  const char* dir = std::getenv("CARELOG_SCREENSHOTS");
  ASSERT_NE(dir, nullptr);
  testing::TempWorkingDirectory directory;
  sample::SampleCounts counts;
  std::string error;
  ASSERT_EQ(sample::WriteSampleData(sample::SampleOptions{40, 1}, &counts, &error), 0) << error;
  for (const BrowseTable* table : BrowseTables()) {
    for (int size : {8, 12}) Shoot(*table, size, dir);
  }
  DisplayFont = DisplayFontSettings();
}

}  // namespace
}  // namespace carelog::app
