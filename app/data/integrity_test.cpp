// The store and delete routines on real data files written by the sample generator: cascades,
// deletes and clears compared record by record and field by field with the files before, every
// file checked afterwards as the data-file tool checks it, and the failures reported through
// the real message box.
#include "app/data/integrity.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/data/file_access.h"
#include "app/data/records.h"
#include "app/data/relations.h"
#include "runtime/host/automation.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "runtime/store/table_ops.h"
#include "runtime/window/message_box.h"
#include "runtime/window/window_testing.h"
#include "tools/carelog-sample/sample_data.h"
#include "tools/ldstool/file_check.h"

namespace carelog::appdata {
namespace {

namespace fs = std::filesystem;
namespace wt = window::testing;

constexpr FileId kPatientChildren[] = {
    FileId::kCalendar,  FileId::kCarePlan,  FileId::kDischargeSummary, FileId::kDoctors,
    FileId::kFamily,    FileId::kHhaAssign, FileId::kMedications,      FileId::kMonthCal,
    FileId::kNarrative, FileId::kOrders,    FileId::kProgressNotes,    FileId::kSixtyDay};

// Every record of every data file by record number, as stored.
using Records = std::map<uint32_t, std::vector<uint8_t>>;
using Snapshot = std::map<FileId, Records>;

Snapshot TakeSnapshot() {
  Snapshot snapshot;
  for (size_t f = 0; f + 1 < kFileCount; ++f) {  // the Fonts file is not touched
    FileId id = static_cast<FileId>(f);
    FileUse use{id};
    store::FileDeclaration& file = Declaration(id);
    store::Set(file);
    while (store::Next(file) == 0) {
      snapshot[id][store::Pointer(file)].assign(file.buffer, file.buffer + Info(id).record_size);
    }
  }
  return snapshot;
}

int32_t Number(FileId file, std::string_view field, const std::vector<uint8_t>& record) {
  int32_t value = 0;
  EXPECT_TRUE(ReadRelationNumber(Info(file), field, record.data(), &value)) << field;
  return value;
}

const char* PatientField(FileId child) {
  for (const Relation& relation : Relations()) {
    if (relation.parent == FileId::kPatients && relation.child == child)
      return relation.child_field;
  }
  return nullptr;
}

// The records of `file` whose `field` holds `value`.
size_t Holding(const Snapshot& s, FileId file, std::string_view field, int32_t value) {
  size_t n = 0;
  if (!s.contains(file)) return 0;
  for (const auto& [pointer, record] : s.at(file)) n += Number(file, field, record) == value;
  return n;
}

// Every data file passes the data-file tool's check.
void ExpectFilesSound() {
  for (const auto& entry : fs::directory_iterator(fs::current_path())) {
    std::vector<ldstool::Fault> faults;
    EXPECT_EQ(ldstool::CheckDataFile(entry.path().string(), &faults), 0) << entry.path();
    EXPECT_TRUE(faults.empty()) << entry.path() << ": " << (faults.empty() ? "" : faults[0].text);
  }
}

// Runs `procedure` as a program, answering every message box with Enter; returns their texts.
std::vector<std::string> RunAnswering(const std::function<void()>& procedure) {
  std::atomic<bool> done{false};
  std::vector<std::string> texts;
  wt::Program program([&] {
    procedure();
    done = true;
  });
  host::Automation automation;
  while (!done) {
    host::WindowId box = host::kNoWindow;
    std::string text;
    if (window::CurrentMessageBox(&box, &text)) {
      automation.WaitIdle();
      texts.push_back(text);
      automation.Key("Enter");
      while (window::CurrentMessageBox(&box, &text) && !done) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  program.Join();
  return texts;
}

class Integrity : public ::testing::Test {
 protected:
  void SetUp() override {
    store::RegisterTableOps(&store::StoredTables());
    previous_ = fs::current_path();
    std::string pattern = (fs::temp_directory_path() / "carelog-integrity-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    fs::current_path(dir_);
    sample::SampleCounts counts;
    std::string error;
    ASSERT_EQ(sample::WriteSampleData({.patients = 60, .seed = 3}, &counts, &error), 0) << error;
    before_ = TakeSnapshot();
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(dir_);
  }

  // A patient with records in every child file.
  int32_t PatientWithEveryChild() {
    for (int32_t number = 100; number > 0; --number) {
      bool all = true;
      for (FileId child : kPatientChildren) {
        all = all && Holding(before_, child, PatientField(child), number) > 0;
      }
      if (all) return number;
    }
    ADD_FAILURE() << "no patient has records in every child file";
    return 0;
  }

  // Reads patient `number` into the buffer (PAT:KEY_PATIENT_NUMBER) and remembers its key.
  static void ReadPatient(int32_t number) {
    PAT.PATIENT_NUMBER = number;
    ASSERT_EQ(store::Get(PatientsFile(), *FindKey(FileId::kPatients, "PAT:KEY_PATIENT_NUMBER")), 0);
    RememberKey_Patients();
  }

  fs::path previous_, dir_;
  Snapshot before_;
};

TEST_F(Integrity, RenumberingAPatientMovesEveryChildButTheAideAssignments) {
  int32_t from = PatientWithEveryChild(), to = 500;
  {
    FileUse use{FileId::kPatients};
    ReadPatient(from);
    PAT.PATIENT_NUMBER = to;
    EXPECT_EQ(StoreChecked_Patients(), 0);
  }
  Snapshot after = TakeSnapshot();
  ExpectFilesSound();
  for (const auto& [file, records] : before_) {
    SCOPED_TRACE(Info(file).label);
    ASSERT_EQ(after[file].size(), records.size());
    const char* field = file == FileId::kPatients ? "PAT:PATIENT_NUMBER" : PatientField(file);
    bool moves = field != nullptr && file != FileId::kHhaAssign;
    for (const auto& [pointer, record] : records) {
      std::vector<uint8_t> expected = record;
      if (moves && Number(file, field, record) == from) {
        WriteRelationNumber(Info(file), field, expected.data(), to);
      }
      EXPECT_EQ(after[file][pointer], expected) << "record " << pointer;
    }
  }
  EXPECT_GT(Holding(after, FileId::kHhaAssign, "HHA:PATIENT_NUMBER", from), 0u);
  EXPECT_GT(Holding(after, FileId::kDischargeSummary, "DIS:PATIENT_NUMBER", to), 0u);
}

TEST_F(Integrity, StoringAPatientWithItsNumberUnchangedRunsNoCascade) {
  int32_t number = PatientWithEveryChild();
  {
    FileUse use{FileId::kPatients};
    ReadPatient(number);
    std::memcpy(PAT.CITY, "Springfield         ", sizeof PAT.CITY);
    EXPECT_EQ(StoreChecked_Patients(), 0);
  }
  Snapshot after = TakeSnapshot();
  for (const auto& [file, records] : before_) {
    if (file != FileId::kPatients) {
      EXPECT_EQ(after[file], records) << Info(file).label;
    }
  }
  size_t changed = 0;
  for (const auto& [pointer, record] : before_[FileId::kPatients]) {
    changed += after[FileId::kPatients][pointer] != record;
  }
  EXPECT_EQ(changed, 1u);
}

TEST_F(Integrity, DeletingAPatientDeletesItsChildrenAndKeepsPlansAndConferences) {
  int32_t number = PatientWithEveryChild();
  size_t plans = Holding(before_, FileId::kPoc, "POC:PATIENT_NUMBER", number);
  {
    FileUse use{FileId::kPatients};
    ReadPatient(number);
    EXPECT_EQ(DeleteChecked_Patients(), 0);
  }
  Snapshot after = TakeSnapshot();
  ExpectFilesSound();
  EXPECT_EQ(Holding(after, FileId::kPatients, "PAT:PATIENT_NUMBER", number), 0u);
  EXPECT_EQ(after[FileId::kPatients].size(), before_[FileId::kPatients].size() - 1);
  for (FileId child : kPatientChildren) {
    SCOPED_TRACE(Info(child).label);
    const char* field = PatientField(child);
    EXPECT_EQ(Holding(after, child, field, number), 0u);
    for (const auto& [pointer, record] : before_[child]) {
      if (Number(child, field, record) != number) {
        EXPECT_EQ(after[child][pointer], record);
      }
    }
  }
  EXPECT_EQ(after[FileId::kPoc], before_[FileId::kPoc]);
  EXPECT_EQ(after[FileId::kCaseCon], before_[FileId::kCaseCon]);
  EXPECT_GT(plans, 0u);
}

TEST_F(Integrity, DeletingAPhysicianClearsItsPatientsAndKeepsThem) {
  int32_t doctor =
      Number(FileId::kPatients, "PAT:PHYSICIAN_NAME", before_[FileId::kPatients].begin()->second);
  size_t patients = Holding(before_, FileId::kPatients, "PAT:PHYSICIAN_NAME", doctor);
  ASSERT_GT(patients, 0u);
  {
    FileUse use{FileId::kPhyscians};
    PHY.DOCNO = doctor;
    ASSERT_EQ(store::Get(PhysciansFile(), *FindKey(FileId::kPhyscians, "PHY:DOCKEY")), 0);
    EXPECT_EQ(DeleteChecked_Physcians(), 0);
  }
  Snapshot after = TakeSnapshot();
  ExpectFilesSound();
  EXPECT_EQ(after[FileId::kPhyscians].size(), before_[FileId::kPhyscians].size() - 1);
  EXPECT_EQ(Holding(after, FileId::kPatients, "PAT:PHYSICIAN_NAME", doctor), 0u);
  for (const auto& [pointer, record] : before_[FileId::kPatients]) {
    std::vector<uint8_t> expected = record;
    if (Number(FileId::kPatients, "PAT:PHYSICIAN_NAME", record) == doctor) {
      WriteRelationNumber(kPatientsInfo, "PAT:PHYSICIAN_NAME", expected.data(), 0);
    }
    EXPECT_EQ(after[FileId::kPatients][pointer], expected);
  }
}

TEST_F(Integrity, DeletingAPlanOfCareDeletesItsAddendumOnly) {
  const auto& [pointer, plan] = *before_[FileId::kPoc].begin();
  int32_t number = Number(FileId::kPoc, "POC:REC_NO", plan);
  ASSERT_GT(Holding(before_, FileId::kAddInfo, "ADD:RECNO", number), 0u);
  {
    FileUse use{FileId::kPoc};
    ASSERT_EQ(store::Get(PocFile(), pointer), 0);
    EXPECT_EQ(DeleteChecked_POC(), 0);
  }
  Snapshot after = TakeSnapshot();
  EXPECT_EQ(Holding(after, FileId::kAddInfo, "ADD:RECNO", number), 0u);
  EXPECT_EQ(after[FileId::kPoc].size(), before_[FileId::kPoc].size() - 1);
  EXPECT_EQ(after[FileId::kPatients], before_[FileId::kPatients]);
}

// Another process holds a record open for change (`hold_file`, record `pointer`) until told to
// let go through the pipe.
class OtherStation {
 public:
  template <typename Act>
  explicit OtherStation(Act act) {
    int to_child[2], to_parent[2];
    EXPECT_EQ(pipe(to_child), 0);
    EXPECT_EQ(pipe(to_parent), 0);
    pid_ = fork();
    if (pid_ == 0) {
      act();
      char c = 1;
      (void)!write(to_parent[1], &c, 1);
      (void)!read(to_child[0], &c, 1);
      _exit(0);
    }
    char c;
    EXPECT_EQ(read(to_parent[0], &c, 1), 1);
    release_ = to_child[1];
  }
  ~OtherStation() {
    char c = 1;
    (void)!write(release_, &c, 1);
    int status = 0;
    waitpid(pid_, &status, 0);
  }

 private:
  pid_t pid_ = 0;
  int release_ = -1;
};

TEST_F(Integrity, AStoreAfterAnotherStationChangedTheRecordReportsIt) {
  int32_t number = PatientWithEveryChild();
  std::vector<std::string> texts;
  int32_t result = -1;
  texts = RunAnswering([&] {
    FileUse use{FileId::kPatients};
    store::Watch(PatientsFile());
    ReadPatient(number);
    {
      OtherStation other([number] {
        store::FileDeclaration& file = PatientsFile();
        store::Share(file);
        PAT.PATIENT_NUMBER = number;
        store::Get(file, *FindKey(FileId::kPatients, "PAT:KEY_PATIENT_NUMBER"));
        std::memcpy(PAT.CITY, "Elsewhere           ", sizeof PAT.CITY);
        store::Put(file);
        store::Close(file);
      });
    }
    std::memcpy(PAT.CITY, "Here                ", sizeof PAT.CITY);
    result = StoreChecked_Patients();
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(texts, std::vector<std::string>{"This record was changed by another station."});
}

TEST_F(Integrity, ACascadeStopsAtAChildThatCannotBeStoredAndSaysWhichFile) {
  int32_t from = PatientWithEveryChild();
  // Another station holds the patient's first appointment, so its store fails (Access Denied).
  std::vector<std::string> texts;
  int32_t result = -1;
  texts = RunAnswering([&] {
    FileUse use{FileId::kPatients};
    ReadPatient(from);
    OtherStation other([from] {
      store::FileDeclaration& file = CalendarFile();
      store::Share(file);
      DAT.PATIENT_NUMBER = from;
      store::KeyDeclaration& key = *FindKey(FileId::kCalendar, "DAT:PATKEY");
      store::Set(key, key);
      store::Hold(file);
      store::Next(file);
    });
    PAT.PATIENT_NUMBER = 500;
    result = StoreChecked_Patients();
  });
  EXPECT_EQ(result, 1);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find("Probable Cause: Calendar."), std::string::npos) << texts[0];
  // The parent and the children before Calendar in the list keep what was done.
  Snapshot after = TakeSnapshot();
  ExpectFilesSound();
  EXPECT_EQ(Holding(after, FileId::kPatients, "PAT:PATIENT_NUMBER", 500), 1u);
  EXPECT_EQ(Holding(after, FileId::kCarePlan, "CAR:PATIENT_NUMBER", from),
            Holding(before_, FileId::kCarePlan, "CAR:PATIENT_NUMBER", from));
}

}  // namespace
}  // namespace carelog::appdata
