// Test support for the application: the test windows, a private working directory (the data
// files live in the working directory) and the font settings file written and read record by
// record.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/data/dictionary.h"
#include "app/data/records.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "runtime/store/table_ops.h"
#include "runtime/window/window_testing.h"

namespace carelog::app::testing {

// Makes a fresh directory the working directory for the lifetime of the object, with the
// record store's table layer installed as the program installs it.
class TempWorkingDirectory {
 public:
  TempWorkingDirectory() {
    store::RegisterTableOps(&store::StoredTables());
    previous_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "carelog-app-XXXXXX").string();
    EXPECT_NE(mkdtemp(pattern.data()), nullptr);
    path_ = pattern;
    std::filesystem::current_path(path_);
  }
  ~TempWorkingDirectory() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

// The windows of the application's tests, in module window::testing::kModule (registered once
// for the whole test program: two registrations of one module would hide each other):
//   PROC$WINDOW   a dialog with controls 1, 2 and 5 (3 and 4 unused) and an unlabelled prompt
//   CHILD$WINDOW  an empty MDI child, standing in for a browse
//   TIMERn$APPFRAME  empty frames with a timer interval of n (0, 1, 50, 100, 101, 150)
inline window::Entry FrameWithTimer(int interval) {
  window::Entry frame =
      window::testing::WindowEntry("TIMER" + std::to_string(interval) + "$APPFRAME", 0x300, {});
  frame.numbers[window::Field::kTimer] = interval;
  return frame;
}

inline void RegisterTestWindows() {
  namespace wt = window::testing;
  static wt::Definitions definitions({
      FrameWithTimer(0),
      FrameWithTimer(1),
      FrameWithTimer(50),
      FrameWithTimer(100),
      FrameWithTimer(101),
      FrameWithTimer(150),
      wt::WindowEntry(
          "PROC$WINDOW", 0x300,
          {wt::WithText(wt::Make(window::kKindButton, 1, window::Rect{0, 0, 60, 20}), "&OK"),
           wt::WithText(wt::Make(window::kKindPrompt, 2, window::Rect{0, 30, 60, 12}), "Name"),
           wt::WithText(wt::Make(window::kKindButton, 5, window::Rect{70, 0, 60, 20}), "Cancel"),
           wt::WithText(wt::Make(window::kKindPrompt, 0, window::Rect{0, 50, 60, 12}), "Note")}),
      wt::WindowEntry("CHILD$WINDOW", 0x300, {}),
  });
}

struct FontsRow {
  std::string typeface;
  int16_t size = 0;
  int32_t color = 0;
  int16_t style = 0;
};

// Creates "Fonts.Lds" in the working directory holding `rows` in this order.
inline void WriteFontsFile(const std::vector<FontsRow>& rows) {
  store::FileDeclaration& file = appdata::FontsFile();
  ASSERT_EQ(store::Create(file), 0);
  ASSERT_EQ(store::Open(file), 0);
  for (const FontsRow& row : rows) {
    appdata::FontsRecord& r = appdata::WFN;
    std::memset(r.FONTTYPEFACE, ' ', sizeof(r.FONTTYPEFACE));
    std::memcpy(r.FONTTYPEFACE, row.typeface.data(),
                std::min(row.typeface.size(), sizeof(r.FONTTYPEFACE)));
    r.FONTSIZE = row.size;
    r.FONTCOLOR = row.color;
    r.FONTSTYLE = row.style;
    ASSERT_EQ(store::Add(file), 0);
  }
  ASSERT_EQ(store::Close(file), 0);
}

// Every record of "Fonts.Lds" in physical order (typeface with trailing blanks clipped).
inline std::vector<FontsRow> ReadFontsFile() {
  std::vector<FontsRow> rows;
  store::FileDeclaration& file = appdata::FontsFile();
  if (store::Open(file) != 0) return rows;
  store::Set(file);
  while (store::Next(file) == 0) {
    const appdata::FontsRecord& r = appdata::WFN;
    FontsRow row;
    row.typeface.assign(r.FONTTYPEFACE, sizeof(r.FONTTYPEFACE));
    row.typeface.erase(row.typeface.find_last_not_of(' ') + 1);
    row.size = r.FONTSIZE;
    row.color = r.FONTCOLOR;
    row.style = r.FONTSTYLE;
    rows.push_back(row);
  }
  store::Close(file);
  return rows;
}

}  // namespace carelog::app::testing
