// The month calendar form driven as a user drives it: the grid of a new and of a stored month,
// notes asked for on a cell, the month buttons, and the record read back from the file.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "app/app_testing.h"
#include "app/data/keys.h"
#include "app/data/records.h"
#include "app/procedure_globals.h"
#include "app/procedures/form_procedures.h"
#include "runtime/host/automation.h"
#include "runtime/host/window_system.h"
#include "runtime/store/file_statements.h"
#include "runtime/values/clock.h"
#include "runtime/values/standard_date.h"
#include "runtime/window/window_testing.h"

namespace carelog::app {
namespace {

namespace wt = window::testing;
using appdata::MON;

constexpr int kOk = 48;
constexpr int kNextMonth = 44;
constexpr int32_t kPatient = 5;

void SetNote(int cell, const std::string& text) {
  char* note = MON.DAY_INFO[cell - 1];
  std::memset(note, ' ', sizeof MON.DAY_INFO[0]);
  std::memcpy(note, text.data(), text.size());
}

std::string Note(int cell) {
  std::string text(MON.DAY_INFO[cell - 1], sizeof MON.DAY_INFO[0]);
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

class MonthCalFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    values::FixClock(values::DayNumber(2026, 12, 9), values::BuildTime(10, 30, 0, 0));
    for (store::FileDeclaration* file : {&appdata::PatientsFile(), &appdata::MonthCalFile()}) {
      ASSERT_EQ(store::Create(*file), 0);
      ASSERT_EQ(store::Open(*file, 0x42), 0);
    }
    // The form's patient number must be a patient's.
    std::memset(&appdata::PAT, 0, sizeof appdata::PAT);
    appdata::PAT.PATIENT_NUMBER = kPatient;
    ASSERT_EQ(store::Add(appdata::PatientsFile()), 0);
  }
  void TearDown() override {
    store::Close(appdata::MonthCalFile());
    store::Close(appdata::PatientsFile());
    values::UseSystemClock();
  }

  // Runs the form with `request` (a change of the file's first record, or an insert for
  // patient kPatient) while `user` acts on it; returns
  // the response, with the file's first record read back into the buffer.
  int32_t Run(int32_t request, const std::function<void(host::Automation&)>& user) {
    int32_t response = -1;
    {
      wt::Program program([&] {
        store::FileDeclaration& file = appdata::MonthCalFile();
        ASSERT_EQ(store::Open(file, 0x42), 0);
        if (request == kReqChange) {
          store::Watch(file);
          store::Set(appdata::Key(appdata::MonKey::RECNOKEY));
          ASSERT_EQ(store::Next(file), 0);
        } else {
          std::memset(&MON, 0, sizeof MON);
          appdata::PAT.PATIENT_NUMBER = kPatient;
        }
        ProcRequest = request;
        procedures::UPDATEMONTHCAL();
        response = ProcResponse;
        store::Close(file);
      });
      host::Automation automation;
      EXPECT_TRUE(automation.WaitForWindow().ok);
      user(automation);
    }
    store::Set(appdata::Key(appdata::MonKey::RECNOKEY));
    EXPECT_EQ(store::Next(appdata::MonthCalFile()), 0);
    return response;
  }

  static void ExpectCell(host::Automation& automation, int cell, const std::string& text) {
    EXPECT_TRUE(automation.WaitIdle().ok);
    host::ControlInfo info;
    ASSERT_TRUE(automation.FindControl(std::to_string(cell), false, &info)) << cell;
    EXPECT_EQ(info.visible, !text.empty()) << "cell " << cell;
    if (!text.empty()) {
      EXPECT_EQ(info.text, text) << "cell " << cell;
    }
  }

  // Clicks `cell`, answers the note dialog with `note` and checks the focus moved to OK.
  static void AnswerNote(host::Automation& automation, int cell, const std::string& old_note,
                         const std::string& note) {
    EXPECT_TRUE(automation.Click(std::to_string(cell), false).ok);
    EXPECT_TRUE(automation.WaitIdle().ok);
    EXPECT_TRUE(automation.ExpectTitle("Info").ok);
    EXPECT_TRUE(automation.ExpectText("1", old_note).ok);
    automation.Key("End");
    for (size_t i = 0; i < old_note.size(); ++i) automation.Key("Backspace");
    if (!note.empty()) automation.Type(note);
    EXPECT_TRUE(automation.Click("OK", true).ok);
    EXPECT_TRUE(automation.WaitIdle().ok);
    host::ControlInfo ok;
    ASSERT_TRUE(automation.FindControl(std::to_string(kOk), false, &ok));
    EXPECT_TRUE(ok.focused);
  }

  testing::TempWorkingDirectory directory_;
};

// A new calendar opens on today's month (December 2026 starts on a Tuesday); a note marks its
// cell, the month moves on, and the record is stored with the month left on screen, its day
// numbers laid out for that month and the note in its cell.
TEST_F(MonthCalFormTest, NewCalendarStoresTheMonthOnScreenWithItsNotes) {
  int32_t response = Run(kReqInsert, [](host::Automation& automation) {
    EXPECT_TRUE(automation.ExpectTitle("Adding a MonthCal Record").ok);
    EXPECT_TRUE(automation.ExpectText("47", "December 2026").ok);
    ExpectCell(automation, 2, "");
    ExpectCell(automation, 3, "1");
    ExpectCell(automation, 33, "31");
    ExpectCell(automation, 34, "");
    AnswerNote(automation, 11, "", "Wound care");
    ExpectCell(automation, 11, "9*");
    EXPECT_TRUE(automation.Click(std::to_string(kNextMonth), false).ok);
    EXPECT_TRUE(automation.WaitIdle().ok);
    EXPECT_TRUE(automation.ExpectText("47", "January 2027").ok);
    ExpectCell(automation, 5, "");
    ExpectCell(automation, 6, "1");
    ExpectCell(automation, 11, "6*");
    ExpectCell(automation, 36, "31");
    ExpectCell(automation, 37, "");
    EXPECT_TRUE(automation.Click("OK", true).ok);
  });
  EXPECT_EQ(response, kRespCompleted);
  EXPECT_EQ(int32_t{MON.PATIENT_NUMBER}, kPatient);
  EXPECT_EQ(int32_t{MON.RECNO}, 1);
  EXPECT_EQ(int32_t{MON.CALENDARDATE}, values::DayNumber(2027, 1, 9));
  EXPECT_EQ(Note(11), "Wound care");
  for (int cell = 1; cell <= 42; ++cell) {
    EXPECT_EQ(int32_t{MON.DAYNO[cell - 1]}, cell >= 6 && cell <= 36 ? cell - 5 : 0) << cell;
  }
}

// A stored leap February (the 1st a Thursday) shows its notes' marks, a zero-filled note as
// none; clearing a note removes its mark, and the day numbers are laid out again.
TEST_F(MonthCalFormTest, StoredMonthShowsItsMarksAndAClearedNoteLosesIt) {
  std::memset(&MON, ' ', sizeof MON.DAY_INFO);
  MON.PATIENT_NUMBER = 5;
  MON.RECNO = 3;
  MON.CALENDARDATE = values::DayNumber(2024, 2, 14);
  for (int32_t& day : MON.DAYNO) day = 7;
  SetNote(5, "Visit");
  SetNote(33, "Lab draw");
  std::memset(MON.DAY_INFO[9], 0, sizeof MON.DAY_INFO[0]);
  ASSERT_EQ(store::Add(appdata::MonthCalFile()), 0);

  int32_t response = Run(kReqChange, [](host::Automation& automation) {
    EXPECT_TRUE(automation.ExpectText("47", "February 2024").ok);
    ExpectCell(automation, 4, "");
    ExpectCell(automation, 5, "1*");
    ExpectCell(automation, 10, "6");
    ExpectCell(automation, 33, "29*");
    ExpectCell(automation, 34, "");
    AnswerNote(automation, 5, "Visit", "");
    ExpectCell(automation, 5, "1");
    EXPECT_TRUE(automation.Click("OK", true).ok);
  });
  EXPECT_EQ(response, kRespCompleted);
  EXPECT_EQ(int32_t{MON.CALENDARDATE}, values::DayNumber(2024, 2, 14));
  EXPECT_EQ(Note(5), "");
  EXPECT_EQ(Note(33), "Lab draw");
  for (int cell = 1; cell <= 42; ++cell) {
    EXPECT_EQ(int32_t{MON.DAYNO[cell - 1]}, cell >= 5 && cell <= 33 ? cell - 4 : 0) << cell;
  }
}

// The arrow keys move the focused day cell a day or a week, into the next month when they
// leave the one shown; they belong to the cells only, and the record keeps the day left on.
TEST_F(MonthCalFormTest, ArrowKeysMoveBetweenDaysAndAcrossMonths) {
  auto expect_focus = [](host::Automation& automation, int cell, const std::string& heading) {
    EXPECT_TRUE(automation.WaitIdle().ok);
    EXPECT_TRUE(automation.ExpectText("47", heading).ok) << cell;
    host::ControlInfo info;
    ASSERT_TRUE(automation.FindControl(std::to_string(cell), false, &info));
    EXPECT_TRUE(info.focused) << "cell " << cell;
  };
  int32_t response = Run(kReqInsert, [&](host::Automation& automation) {
    expect_focus(automation, 11, "December 2026");  // the 9th, a Wednesday
    automation.Key("Right");
    expect_focus(automation, 12, "December 2026");
    automation.Key("Down");
    expect_focus(automation, 19, "December 2026");
    automation.Key("Up");
    automation.Key("Up");
    automation.Key("Up");
    expect_focus(automation, 26, "November 2026");  // the 26th; November starts on a Sunday
    ExpectCell(automation, 31, "");
    automation.Key("Left");
    expect_focus(automation, 25, "November 2026");
    EXPECT_TRUE(automation.Click("OK", true).ok);
  });
  EXPECT_EQ(response, kRespCompleted);
  EXPECT_EQ(int32_t{MON.CALENDARDATE}, values::DayNumber(2026, 11, 25));
  for (int cell = 1; cell <= 42; ++cell) {
    EXPECT_EQ(int32_t{MON.DAYNO[cell - 1]}, cell <= 30 ? cell : 0) << cell;
  }
}

// A stored date outside the calendar is never shown: the heading says so with the beep, the
// grid shows today's month and the record is stored with it.
TEST_F(MonthCalFormTest, DateOutOfLimitsFallsBackToToday) {
  std::memset(&MON, ' ', sizeof MON.DAY_INFO);
  MON.PATIENT_NUMBER = 5;
  MON.RECNO = 1;
  MON.CALENDARDATE = 10;
  ASSERT_EQ(store::Add(appdata::MonthCalFile()), 0);
  int beeps = host::BeepCount();
  int32_t response = Run(kReqChange, [beeps](host::Automation& automation) {
    EXPECT_TRUE(automation.ExpectText("47", "Out of Limits!").ok);
    EXPECT_EQ(host::BeepCount(), beeps + 1);
    ExpectCell(automation, 3, "1");
    EXPECT_TRUE(automation.Click("OK", true).ok);
  });
  EXPECT_EQ(response, kRespCompleted);
  EXPECT_EQ(int32_t{MON.CALENDARDATE}, values::DayNumber(2026, 12, 9));
}

}  // namespace
}  // namespace carelog::app
