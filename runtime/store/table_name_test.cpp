#include "runtime/store/table_name.h"

#include <gtest/gtest.h>

namespace carelog::store {
namespace {

TEST(TableName, SplitsFileAndTableAndAddsExtension) {
  struct Case {
    const char* declared;
    const char* file;
    const char* table;
  } cases[] = {
      {"Patients", "Patients.LDS", "UNNAMED"},
      {"Fonts.Lds", "Fonts.Lds", "UNNAMED"},
      {"Care\\!Notes", "Care.LDS", "Notes"},
      {"data/Care.dat\\!Notes", "data/Care.dat", "Notes"},
      {"dir.v2/Care\\!X", "dir.v2/Care.LDS", "X"},
      {"Care\\!", "Care.LDS", "UNNAMED"},
  };
  for (const Case& c : cases) {
    TableName n = SplitTableName(c.declared);
    EXPECT_EQ(n.file, c.file) << c.declared;
    EXPECT_EQ(n.table, c.table) << c.declared;
  }
}

}  // namespace
}  // namespace carelog::store
