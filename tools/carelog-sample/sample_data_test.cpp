// The sample generator: every file it writes passes the whole-file check, the data is the same
// for the same seed, and the records are linked as the application expects.
#include "tools/carelog-sample/sample_data.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "app/data/dictionary.h"
#include "app/data/keys.h"
#include "app/data/records.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "tools/ldstool/file_check.h"
#include "tools/ldstool/table_dump.h"

namespace carelog::sample {
namespace {

namespace fs = std::filesystem;

class SampleDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = fs::current_path();
    // Memory-backed when available: the statements flush every commit, and what is tested here
    // is their content and order, not the speed of the disk.
    fs::path base =
        access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm") : fs::temp_directory_path();
    root_ = base / ("carelog-sample-" + std::to_string(getpid()));
    fs::remove_all(root_);
  }
  void TearDown() override {
    fs::current_path(saved_);
    fs::remove_all(root_);
    store::RegisterTableOps(nullptr);
  }

  // Writes a sample into root_/name and returns each file's bytes by file name.
  std::map<std::string, std::string> Write(const std::string& name, SampleOptions options) {
    fs::create_directories(root_ / name);
    fs::current_path(root_ / name);
    SampleCounts counts;
    std::string error;
    EXPECT_EQ(WriteSampleData(options, &counts, &error), 0) << error;
    EXPECT_EQ(counts.files, 18);
    fs::current_path(saved_);
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(root_ / name)) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::stringstream bytes;
      bytes << in.rdbuf();
      files[entry.path().filename().string()] = bytes.str();
    }
    return files;
  }

  // Every record of every table of every file in root_/name, with its memos, as one text in
  // file name order: what the sample holds, whatever pages it sits on.
  std::string DumpRecords(const std::string& name) {
    std::map<std::string, std::string> dumps;
    for (const auto& entry : fs::directory_iterator(root_ / name)) {
      std::unique_ptr<store::DataFile> file;
      store::DataFileOptions options;
      options.read_only = true;
      EXPECT_EQ(store::DataFile::Open(entry.path().string(), options, &file), 0);
      if (!file) continue;
      std::vector<ldstool::StoredTableInfo> tables;
      EXPECT_EQ(ldstool::ListTables(*file, &tables), 0);
      std::ostringstream out;
      for (const ldstool::StoredTableInfo& table : tables) {
        out << "table " << table.name << "\n";
        EXPECT_EQ(ldstool::DumpTable(*file, table.number, false, out), 0);
      }
      dumps[entry.path().filename().string()] = out.str();
    }
    std::string all;
    for (const auto& [file_name, text] : dumps) all += "file " + file_name + "\n" + text;
    return all;
  }

  fs::path saved_;
  fs::path root_;
};

// FNV-1a, 64 bits: a fingerprint that stays the same on every machine and library.
uint64_t Fingerprint(const std::string& text) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
  return hash;
}

TEST_F(SampleDataTest, EveryFilePassesTheCheckAndTheSameSeedGivesTheSameFiles) {
  auto first = Write("a", SampleOptions{25, 3});
  EXPECT_EQ(first.size(), 18u);
  for (const auto& [name, bytes] : first) {
    std::vector<ldstool::Fault> faults;
    ASSERT_EQ(ldstool::CheckDataFile((root_ / "a" / name).string(), &faults), 0) << name;
    for (const ldstool::Fault& f : faults)
      ADD_FAILURE() << name << " page " << f.page << ": " << f.text;
  }
  EXPECT_TRUE(Write("b", SampleOptions{25, 3}) == first);
  EXPECT_FALSE(Write("c", SampleOptions{25, 4}) == first);
}

// The records a seed gives are fixed: how the generator batches its writes must not change
// what it writes. The fingerprint is of the dump of 40 patients from seed 5 written one
// statement at a time; batches of 7 patients end mid-way and leave a short last batch.
TEST_F(SampleDataTest, TheSeedFixesEveryRecordAndMemoWhateverTheBatches) {
  for (int batch : {1000, 7, 1}) {
    const std::string name = "batch" + std::to_string(batch);
    Write(name, SampleOptions{40, 5, batch});
    const std::string dump = DumpRecords(name);
    EXPECT_NE(dump.find("Riverbend Home Health"), std::string::npos);
    EXPECT_EQ(Fingerprint(dump), 14122862838962293924u) << "batches of " << batch;
    for (const auto& entry : fs::directory_iterator(root_ / name)) {
      std::vector<ldstool::Fault> faults;
      EXPECT_EQ(ldstool::CheckDataFile(entry.path().string(), &faults), 0);
      EXPECT_TRUE(faults.empty()) << entry.path() << " in batches of " << batch;
    }
  }
}

TEST_F(SampleDataTest, ProgressNotesBelongToPatientsWithPhysicians) {
  Write("a", SampleOptions{20, 9});
  fs::current_path(root_ / "a");
  using namespace carelog::appdata;
  store::FileDeclaration& patients = PatientsFile();
  store::FileDeclaration& notes = ProgressNotesFile();
  store::FileDeclaration& physicians = PhysciansFile();
  ASSERT_EQ(store::Open(patients, 0x40), 0);
  ASSERT_EQ(store::Open(notes, 0x40), 0);
  ASSERT_EQ(store::Open(physicians, 0x40), 0);
  EXPECT_EQ(store::Records(patients), 20u);
  EXPECT_GE(store::Records(notes), 60u);
  ASSERT_EQ(store::Set(Key(ProKey::KEY_PATIENT_NUMBER)), 0);
  int read = 0;
  while (store::Next(notes) == 0) {
    PAT.PATIENT_NUMBER = PRO.PATIENT_NUMBER;
    ASSERT_EQ(store::Get(patients, Key(PatKey::KEY_PATIENT_NUMBER)), 0);
    PHY.DOCNO = PAT.PHYSICIAN_NAME;
    ASSERT_EQ(store::Get(physicians, Key(PhyKey::DOCKEY)), 0);
    EXPECT_GT(store::MemoLength(notes, 1), 0u);
    ++read;
  }
  EXPECT_EQ(static_cast<uint32_t>(read), store::Records(notes));
  store::Close(patients);
  store::Close(notes);
  store::Close(physicians);
}

}  // namespace
}  // namespace carelog::sample
