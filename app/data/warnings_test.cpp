// The standard warnings: every kind's text, title, icon and buttons, shown through the real
// message box and answered through automation; the halting kinds end the program with exit
// code 0 after closing the data files.
#include "app/data/warnings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/data/dictionary.h"
#include "app/data/file_access.h"
#include "app/data/records.h"
#include "runtime/host/automation.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "runtime/store/table_ops.h"
#include "runtime/window/message_box.h"
#include "runtime/window/window_testing.h"

namespace carelog::appdata {
namespace {

namespace icon = window::message_icon;
namespace wt = window::testing;

struct Expected {
  int32_t kind;
  const char* text1;
  const char* text2;
  const char* title;
  const char* text;
  int icon;
  int buttons;
  int default_button;
};

// Texts passed with trailing blanks, which every kind clips. The error state is error 5.
const Expected kKinds[] = {
    {1, "Patients.LDS  ", "", "Invalid File",
     "Error: (Access Denied (5)) accessing Patients.LDS.  Press OK to end this application.",
     icon::kExclamation, 1, 1},
    {2, "Patients.LDS", "", "Invalid Key",
     "Patients.LDS key file is invalid.  Do you want to rebuild the key?", icon::kQuestion, 6, 2},
    {5, "Orders.LDS", "", "File Creation Error",
     "Error: (Access Denied (5)) opening created file:Orders.LDS.  Press OK to end this "
     "application.",
     icon::kExclamation, 1, 1},
    {6, "PRINTALL", "", "Procedure not defined", "The Procedure PRINTALL has not been defined.",
     icon::kExclamation, 1, 1},
    {10, "Height ", "1", "Range Error", "The value of Height must be between 1 and 99.",
     icon::kExclamation, 1, 1},
    {11, "Physician", "Physcians", "Field Contents Error",
     "The value for Physician must be found in the Physcians file.", icon::kExclamation, 1, 1},
    {15, "Calendar", "", "Update Operation Error",
     "An error (Access Denied (5)) was experienced when attempting to update a record from the "
     "file.  Probable Cause: Calendar.",
     icon::kExclamation, 1, 1},
    {16, "", "", "Record Update Error",
     "An error was experienced changing this record.  Do you want to try to save again?",
     icon::kExclamation, 70, 64},
    {17, "Patients", "", "Delete Operation Error",
     "An error (Access Denied (5)) was experienced when attempting to delete a record from the "
     "file Patients.",
     icon::kExclamation, 1, 1},
    {18, "", "", "Record Update Error",
     "An error was experienced deleting this record.  Do you want to try to save again?",
     icon::kExclamation, 70, 64},
    {22, "Patients", "", "File Creation Not Allowed",
     "The File Patientswas not found, and creation of the file is not allowed.  Press OK to end "
     "this application.",
     icon::kExclamation, 1, 1},
    {23, "", "", "Update Cancelled", "Are you sure you want to cancel?", icon::kQuestion, 6, 4},
    {24, "PAT:KEY_PATIENT_NUMBER", "", "Duplicate Key Error",
     "Adding this record creates a duplicate entry for the key:PAT:KEY_PATIENT_NUMBER",
     icon::kExclamation, 1, 1},
    {25, "", "", "Auto Increment Error",
     "Attempts to automatically number this record have failed.  Error: Access Denied (5).",
     icon::kExclamation, 80, 64},
    {27, "Notes", "", "Cancel Request", "Are you certain you want to stop loading Notes?",
     icon::kQuestion, 65, 64},
    {29, "Down", "", "End of File Error",
     "The end of the viewed file was encountered.  Do you want to start again from the "
     "beginning?",
     icon::kQuestion, 6, 2},
    {29, "Up", "", "Beginning of File Error",
     "The beginning of the viewed file was encountered.  Do you want to start again from the end "
     "of the file?",
     icon::kQuestion, 6, 2},
    {30, "Orders.LDS", "", "File Access Error",
     "File (Orders.LDS) could not be opened.  Error: Access Denied (5).", icon::kExclamation, 1, 1},
    {31, "Put", "Orders", "Process PUT Error",
     "An error was experienced when making changes to the Orders file.  Error: Access Denied (5)",
     icon::kExclamation, 1, 1},
    {31, "Delete", "Orders", "Process DELETE Error",
     "An error was experienced when deleting a record from the Orders file.  Error: Access "
     "Denied (5)",
     icon::kExclamation, 1, 1},
    {32, "", "", "Confirm Delete",
     "You've selected to delete the highlighted record.  Press OK to confirm deletion of this "
     "record.",
     icon::kQuestion, 65, 64},
    {33, "", "", "Update Cancelled", "Do you want to save the changes to this record?",
     icon::kQuestion, 70, 4},
    {34, "Insert", "Orders", "Transaction Framing Error",
     "Error: (Access Denied (5)) attempting to frame the Insert transaction on Orders.  Insert "
     "transaction cancelled.",
     icon::kExclamation, 1, 1},
    {35, "Orders", "", "Record Retrieval Error",
     "Error: (Access Denied (5)) attempting to access a record from the Orders file.  Returning "
     "to previous window.",
     icon::kExclamation, 1, 1},
};

TEST(WarningText, EveryKindHasItsTitleTextIconAndButtons) {
  for (const Expected& e : kKinds) {
    SCOPED_TRACE(e.kind);
    WarningBox box;
    std::string text3 = e.kind == 10 ? "99  " : "";
    ASSERT_TRUE(ComposeWarning(e.kind, e.text1, e.text2, text3, 5, "Access Denied (5)   ", &box));
    EXPECT_EQ(box.title, e.title);
    EXPECT_EQ(box.text, e.text);
    EXPECT_EQ(box.icon, e.icon);
    EXPECT_EQ(box.buttons, e.buttons);
    EXPECT_EQ(box.default_button, e.default_button);
  }
}

TEST(WarningText, KindsChooseTheirTextAndOnlyTheHaltingOnesEndTheProgram) {
  WarningBox box;
  // Kind 15 after 89 (or no error) reports the other station whatever Text1 holds.
  ASSERT_TRUE(ComposeWarning(15, kChangedByAnotherStation, "", "", 89, "x (89)", &box));
  EXPECT_EQ(box.text, "This record was changed by another station.");
  ASSERT_TRUE(ComposeWarning(15, "Calendar", "", "", 0, "", &box));
  EXPECT_EQ(box.text, "This record was changed by another station.");
  for (int32_t kind = 1; kind <= 35; ++kind) {
    ASSERT_TRUE(ComposeWarning(kind, "a", "b", "c", 0, "", &box)) << kind;
    bool halts = kind == 1 || kind == 2 || kind == 3 || kind == 4 || kind == 5 || kind == 22;
    EXPECT_EQ(box.halt_text != nullptr, halts) << kind;
  }
  EXPECT_FALSE(ComposeWarning(0, "", "", "", 0, "", &box));
  EXPECT_FALSE(ComposeWarning(36, "", "", "", 0, "", &box));
}

TEST(WarningText, TheErrorDescriptionIsCutAt150AndTakesTheFileSystemsOwnError) {
  EXPECT_EQ(ErrorDescriptionFor(2, "File Not Found  "), "File Not Found (2)");
  EXPECT_EQ(ErrorDescriptionFor(7, std::string(200, 'x')).size(), kErrorDescriptionLength);
  store::NoteSystemError(5);
  store::PostError(90, nullptr);
  EXPECT_EQ(ErrorDescription(), "Access Denied (5)");
  store::PostError(33, nullptr);
  EXPECT_EQ(ErrorDescription(), "Record Not Available (33)");
  store::ClearError();
}

// What a shown box looked like and how it was answered.
struct Shown {
  std::string title, text;
  std::vector<std::string> buttons;
  std::string default_button;
  int32_t result = -1;
};

// Waits for the box, reads it and presses Enter (the default button). With
// CARELOG_SCREENSHOT_DIR set, the box is also saved there as warning<kind>.png.
Shown ReadAndPressEnter(int32_t kind = 0) {
  Shown shown;
  host::Automation automation;
  host::WindowId box = host::kNoWindow;
  for (int i = 0; i < 2000 && !window::CurrentMessageBox(&box, &shown.text); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_TRUE(automation.WaitIdle().ok);
  for (const host::WindowInfo& info : automation.Windows()) {
    if (info.window == box) shown.title = info.title;
  }
  std::vector<window::MessageBoxButton> buttons;
  window::MessageBoxButtons(box, &buttons);
  for (const auto& button : buttons) {
    shown.buttons.push_back(button.text);
    if (button.is_default) shown.default_button = button.text;
  }
  if (const char* dir = std::getenv("CARELOG_SCREENSHOT_DIR"); dir && kind != 0) {
    EXPECT_TRUE(
        automation.Screenshot(std::string(dir) + "/warning" + std::to_string(kind) + ".png").ok);
  }
  EXPECT_TRUE(automation.Key("Enter").ok);
  return shown;
}

TEST(WarningBox, TheRealMessageBoxShowsEachReturningKindAndEnterGivesItsDefault) {
  struct Case {
    int32_t kind;
    const char* text1;
    const char* title;
    const char* text;
    std::vector<std::string> buttons;
    const char* default_button;
    int32_t result;
  };
  const Case cases[] = {
      {17,
       "Patients",
       "Delete Operation Error",
       "An error (Access Denied (5)) was experienced when attempting to delete a record from the "
       "file Patients.",
       {"OK"},
       "OK",
       kWarningOk},
      {16,
       "",
       "Record Update Error",
       "An error was experienced changing this record.  Do you want to try to save again?",
       {"&Yes", "&No", "Cancel"},
       "Cancel",
       kWarningCancel},
      {18,
       "",
       "Record Update Error",
       "An error was experienced deleting this record.  Do you want to try to save again?",
       {"&Yes", "&No", "Cancel"},
       "Cancel",
       kWarningCancel},
      {25,
       "",
       "Auto Increment Error",
       "Attempts to automatically number this record have failed.  Error: Access Denied (5).",
       {"&Retry", "Cancel"},
       "Cancel",
       kWarningCancel},
      {33,
       "",
       "Update Cancelled",
       "Do you want to save the changes to this record?",
       {"&Yes", "&No", "Cancel"},
       "&No",
       kWarningNo},
      {2,
       "Patients.LDS",
       "Invalid Key",
       "Patients.LDS key file is invalid.  Do you want to rebuild the key?",
       {"&Yes", "&No"},
       "&Yes",
       kWarningYes},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    int32_t result = -1;
    wt::Program program([&] {
      store::PostError(5, nullptr);
      result = ShowWarning(c.kind, c.text1);
    });
    Shown shown = ReadAndPressEnter(c.kind);
    program.Join();
    EXPECT_EQ(shown.title, c.title);
    EXPECT_EQ(shown.text, c.text);
    EXPECT_EQ(shown.buttons, c.buttons);
    EXPECT_EQ(shown.default_button, c.default_button);
    EXPECT_EQ(result, c.result);
  }
}

TEST(WarningBox, EveryReturningKindShowsItsTitleAndTextInTheRealBox) {
  for (const Expected& e : kKinds) {
    if (e.kind == 1 || e.kind == 5 || e.kind == 22) continue;  // halting: see Halting below
    SCOPED_TRACE(e.kind);
    int32_t result = -1;
    wt::Program program([&] {
      store::PostError(5, nullptr);
      result = ShowWarning(e.kind, e.text1, e.text2, e.kind == 10 ? "99  " : "");
    });
    Shown shown = ReadAndPressEnter();
    program.Join();
    EXPECT_EQ(shown.title, e.title);
    EXPECT_EQ(shown.text, e.text);
    EXPECT_EQ(result, e.default_button);
  }
  store::ClearError();
}

TEST(WarningBox, AKindOutsideTheTableShowsNothing) {
  int32_t result = -1;
  wt::Program program([&] { result = ShowWarning(36, "x"); });
  program.Join();
  EXPECT_EQ(result, 0);
}

// In a child process: a file is opened and written through the use counts, then a halting
// warning is answered as `answer`. The program must end with exit code 0 and the halt text,
// and the record must be in the file afterwards.
void WriteThenHalt(int32_t kind, const std::string& answer) {
  store::RegisterTableOps(&store::StoredTables());
  wt::Program program([kind] {
    UseFile(FileId::kOrders);
    std::memset(&ORD, 0, sizeof ORD);
    ORD.RECNO = 4242;
    ORD.PATIENT_NUMBER = 7;
    store::Add(OrdersFile());
    ShowWarning(kind, store::Name(OrdersFile()));
  });
  host::Automation automation;
  host::WindowId box = host::kNoWindow;
  std::string text;
  while (!window::CurrentMessageBox(&box, &text)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  automation.WaitIdle();
  automation.Answer(answer);
  program.Join();
  std::exit(3);  // not reached: the warning ends the program
}

class Halting : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The child processes of the death tests run this again: they inherit the parent's
    // directory through the environment.
    if (const char* inherited = std::getenv("CARELOG_HALT_TEST_DIR")) {
      dir_ = inherited;
    } else {
      dir_ = std::filesystem::temp_directory_path() / ("carelog-halt-" + std::to_string(getpid()));
      setenv("CARELOG_HALT_TEST_DIR", dir_.c_str(), 1);
    }
    std::filesystem::create_directories(dir_);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(dir_);
    unsetenv("CARELOG_HALT_TEST_DIR");
  }
  // The Orders record written before the halt, read back in this process.
  bool RecordKept() {
    store::RegisterTableOps(&store::StoredTables());
    store::FileDeclaration& file = OrdersFile();
    if (store::Open(file) != 0) return false;
    store::Set(file);
    bool found = false;
    while (store::Next(file) == 0) found = found || ORD.RECNO == 4242;
    store::Close(file);
    return found;
  }
  std::filesystem::path dir_, previous_;
};

TEST_F(Halting, TheHaltingKindsEndTheProgramWithExitCode0AndKeepWhatWasWritten) {
  EXPECT_EXIT(WriteThenHalt(1, "&OK"), ::testing::ExitedWithCode(0), "Invalid File!");
  EXPECT_TRUE(RecordKept());
  EXPECT_EXIT(WriteThenHalt(2, "&No"), ::testing::ExitedWithCode(0), "Invalid Key!");
  EXPECT_EXIT(WriteThenHalt(3, "&OK"), ::testing::ExitedWithCode(0), "Error Rebuilding Key!");
  EXPECT_EXIT(WriteThenHalt(4, "&OK"), ::testing::ExitedWithCode(0), "File Creation Error!");
  EXPECT_EXIT(WriteThenHalt(22, "&OK"), ::testing::ExitedWithCode(0), "File Creation Error!");
  EXPECT_TRUE(RecordKept());
}

}  // namespace
}  // namespace carelog::appdata
