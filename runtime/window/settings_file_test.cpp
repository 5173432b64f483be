#include "runtime/window/settings_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "runtime/store/error_state.h"
#include "runtime/values/locale.h"

namespace carelog::window {
namespace {

TEST(SettingsFileTest, MissingFilePostsFileNotFoundAndAReadableOneApplies) {
  values::LocaleTables saved = values::Locale();
  store::ClearError();
  EXPECT_FALSE(ReadSettingsFile("/nonexistent/carelog/NOFILE.ENV"));
  EXPECT_EQ(store::ErrorCode(), 2);
  EXPECT_EQ(store::ErrorText(), "File Not Found");

  std::filesystem::path path = std::filesystem::temp_directory_path() / "settings_file_test.env";
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("TAMBUTTON=Gut\r\n", file);
  std::fclose(file);
  store::ClearError();
  EXPECT_TRUE(ReadSettingsFile(path.string()));
  EXPECT_EQ(store::ErrorCode(), 0);
  ASSERT_NE(values::ButtonText(0), nullptr);
  EXPECT_EQ(*values::ButtonText(0), "Gut");
  std::filesystem::remove(path);
  values::MutableLocale() = saved;
}

}  // namespace
}  // namespace carelog::window
