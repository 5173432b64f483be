// The eighteen declarations against real data files: each can be created, written and read
// back, and the keys order, omit and refuse records as declared.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/data/dictionary.h"
#include "app/data/keys.h"
#include "app/data/records.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"

namespace carelog::appdata {
namespace {

namespace fs = std::filesystem;
using store::FileDeclaration;

template <size_t N>
void Put(char (&field)[N], std::string_view text) {
  std::memset(field, ' ', N);
  std::memcpy(field, text.data(), std::min(N, text.size()));
}

template <size_t N>
std::string Trimmed(const char (&field)[N]) {
  std::string text(field, N);
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

// Runs each test in an empty directory of its own, where the files are created.
class StoredFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    store::RegisterTableOps(&store::StoredTables());
    saved_ = fs::current_path();
    dir_ = fs::temp_directory_path() /
           ("carelog-dict-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::current_path(dir_);
  }
  void TearDown() override {
    for (const FileInfo* info : Catalogue()) {
      FileDeclaration& file = *info->instance();
      if (file.state != nullptr) store::Close(file);
    }
    fs::current_path(saved_);
    fs::remove_all(dir_);
    store::RegisterTableOps(nullptr);
  }

  // Creates and opens `file`, shared for reading and writing.
  void CreateAndOpen(FileDeclaration& file) {
    ASSERT_EQ(store::Create(file), 0) << store::ErrorText();
    ASSERT_EQ(store::Open(file, 0x42), 0) << store::ErrorText();
  }

  fs::path saved_;
  fs::path dir_;
};

TEST_F(StoredFiles, EveryFileIsCreatedWrittenAndReadBack) {
  for (const FileInfo* info : Catalogue()) {
    SCOPED_TRACE(info->label);
    FileDeclaration& file = *info->instance();
    CreateAndOpen(file);
    std::memset(file.buffer, 0, file.record_size);
    for (uint32_t i = 0; i < file.record_size; ++i) file.buffer[i] = static_cast<uint8_t>(i % 7);
    std::vector<uint8_t> written(file.buffer, file.buffer + file.record_size);
    ASSERT_EQ(store::Add(file), 0) << store::ErrorText();
    uint32_t record = store::Pointer(file);
    std::memset(file.buffer, 0xFF, file.record_size);
    ASSERT_EQ(store::Get(file, record), 0) << store::ErrorText();
    EXPECT_EQ(std::vector<uint8_t>(file.buffer, file.buffer + file.record_size), written);
    EXPECT_EQ(store::Records(file), 1u);
    EXPECT_EQ(store::Close(file), 0);
  }
}

TEST_F(StoredFiles, UniqueKeysRefuseASecondRecordAndDupKeysAcceptIt) {
  FileDeclaration& patients = PatientsFile();
  CreateAndOpen(patients);
  PAT = {};
  PAT.PATIENT_NUMBER = 5;
  Put(PAT.LAST_NAME, "Smith");
  ASSERT_EQ(store::Add(patients), 0);
  EXPECT_EQ(store::Add(patients), 40) << "PAT:KEY_PATIENT_NUMBER is unique";

  FileDeclaration& calendar = CalendarFile();
  CreateAndOpen(calendar);
  DAT = {};
  DAT.PATIENT_NUMBER = 5;
  DAT.DAYNO = 80000;
  DAT.TIMEIN = 100;
  EXPECT_EQ(store::Add(calendar), 0);
  EXPECT_EQ(store::Add(calendar), 0) << "DAT:DATEKEY allows duplicates";
  EXPECT_EQ(store::Records(Key(DatKey::DATEKEY)), 2u);
}

TEST_F(StoredFiles, NextVisitKeyListsTheLatestVisitFirst) {
  FileDeclaration& patients = PatientsFile();
  CreateAndOpen(patients);
  struct Visit {
    int32_t number, day, time;
  };
  for (Visit v : {Visit{1, 80000, 500}, Visit{2, 80010, 100}, Visit{3, 80000, 900}}) {
    PAT = {};
    PAT.PATIENT_NUMBER = v.number;
    PAT.NEXT_VISIT = v.day;
    PAT.TIME_NEXT_VISIT = v.time;
    ASSERT_EQ(store::Add(patients), 0) << store::ErrorText();
  }
  ASSERT_EQ(store::Set(Key(PatKey::KEY_NEXT_VISIT)), 0);
  std::vector<int32_t> order;
  while (store::Next(patients) == 0) order.push_back(int32_t{PAT.PATIENT_NUMBER});
  EXPECT_EQ(order, (std::vector<int32_t>{2, 3, 1}));
}

TEST_F(StoredFiles, OptionalKeysLeaveOutEmptyValues) {
  FileDeclaration& patients = PatientsFile();
  CreateAndOpen(patients);
  PAT = {};
  PAT.PATIENT_NUMBER = 7;
  PAT.PHYSICIAN_NAME = 0;
  Put(PAT.AGENCY, "");
  Put(PAT.FIRST_NAME, "");
  Put(PAT.LAST_NAME, "Jones");
  ASSERT_EQ(store::Add(patients), 0);
  EXPECT_EQ(store::Records(Key(PatKey::DOCKEY)), 0u);
  EXPECT_EQ(store::Records(Key(PatKey::KEY_PHYSICIAN_NAME)), 1u);
}

TEST_F(StoredFiles, NoCaseKeysIgnoreLetterCaseAndOthersDoNot) {
  FileDeclaration& doctors = DoctorsFile();
  CreateAndOpen(doctors);
  for (const char* type : {"cardiology", "Cardiology"}) {
    DOC = {};
    DOC.PATIENT_NUMBER = 1;
    Put(DOC.TYPE, type);
    ASSERT_EQ(store::Add(doctors), 0);
  }
  store::KeyDeclaration& type_key = Key(DocKey::TYPE_DOC);
  DOC = {};
  Put(DOC.TYPE, "Cardiology");
  ASSERT_EQ(store::Get(doctors, type_key), 0);
  EXPECT_EQ(Trimmed(DOC.TYPE), "Cardiology");
  ASSERT_EQ(store::Set(type_key), 0);
  ASSERT_EQ(store::Next(doctors), 0);
  EXPECT_EQ(Trimmed(DOC.TYPE), "Cardiology") << "'C' (0x43) sorts before 'c' (0x63)";

  FileDeclaration& patients = PatientsFile();
  CreateAndOpen(patients);
  PAT = {};
  PAT.PATIENT_NUMBER = 1;
  Put(PAT.LAST_NAME, "McDonald");
  ASSERT_EQ(store::Add(patients), 0);
  PAT = {};
  Put(PAT.LAST_NAME, "MCDONALD");
  ASSERT_EQ(store::Get(patients, Key(PatKey::KEY_LAST_NAME)), 0) << store::ErrorText();
  EXPECT_EQ(int32_t{PAT.PATIENT_NUMBER}, 1);
}

TEST_F(StoredFiles, DischargeSummaryIsFoundByItsPackedPatientNumber) {
  FileDeclaration& discharges = DischargeSummaryFile();
  CreateAndOpen(discharges);
  for (int64_t patient : {-5, 123, 1234}) {
    DIS = {};
    ASSERT_EQ(EncodeDecimal(patient, DIS.PATIENT_NUMBER.span()), DecimalStatus::kOk);
    DIS.RECORD_NO = static_cast<int32_t>(patient + 10000);
    ASSERT_EQ(store::Add(discharges), 0) << store::ErrorText();
  }
  store::KeyDeclaration& by_patient = Key(DisKey::KEY_PATIENT_NUMBER);
  DIS = {};
  ASSERT_EQ(EncodeDecimal(123, DIS.PATIENT_NUMBER.span()), DecimalStatus::kOk);
  ASSERT_EQ(store::Get(discharges, by_patient), 0) << store::ErrorText();
  EXPECT_EQ(int32_t{DIS.RECORD_NO}, 10123);
  // The key orders by numeric value, negative numbers first.
  ASSERT_EQ(store::Set(by_patient), 0);
  std::vector<int64_t> order;
  while (store::Next(discharges) == 0) {
    int64_t number = 0;
    ASSERT_EQ(DecodeDecimal(DIS.PATIENT_NUMBER.span(), &number), DecimalStatus::kOk);
    order.push_back(number);
  }
  EXPECT_EQ(order, (std::vector<int64_t>{-5, 123, 1234}));
}

// A thread that ends with a THREAD file open leaves no state behind (the sanitizer build would
// report it as a leak), and what it stored is there for the next thread.
TEST_F(StoredFiles, AThreadEndingWithAnOpenFileReleasesItsCopy) {
  CreateAndOpen(NarrativeFile());
  ASSERT_EQ(store::Close(NarrativeFile()), 0);
  std::thread([] {
    ASSERT_EQ(store::Open(NarrativeFile(), 0x42), 0);
    NAR = {};
    NAR.RECORD_NO = 1;
    ASSERT_EQ(store::Add(NarrativeFile()), 0);
  }).join();
  ASSERT_EQ(store::Open(NarrativeFile(), 0x12), 0) << store::ErrorText();
  EXPECT_EQ(store::Records(NarrativeFile()), 1u);
}

}  // namespace
}  // namespace carelog::appdata
