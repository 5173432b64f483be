// Random ADD, PUT, DELETE, GET by key, SET/NEXT/PREVIOUS and positioning on a table with a key
// of every kind, checked step by step against a plain in-memory model of the same table, with
// commits and reopening of the data file along the way.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>

#include "runtime/store/data_file_check.h"
#include "runtime/store/declarations.h"
#include "runtime/store/index_build.h"
#include "runtime/store/positions.h"
#include "runtime/store/reading.h"
#include "runtime/store/table.h"
#include "runtime/store/test_table_definition.h"

namespace carelog::store {
namespace {

//   offset  field   type       keys
//   0       NUMBER  LONG       0 unique; 2 (second component)
//   4       NAME    STRING 12  1 DUP NOCASE; 3 (second component)
//   16      CITY    STRING 8   2 DUP descending; 3 unique
//   24      AMOUNT  REAL       4 DUP
//   32      CODE    SHORT      5 OPT DUP
constexpr int kKeys = 6;
constexpr bool kUnique[kKeys] = {true, false, false, true, false, false};

TableDefinition ModelDefinition() {
  TableDefinition d;
  d.record_size = 34;
  auto field = [&](uint8_t type, uint16_t offset, uint16_t size) {
    test_tables::AddField(&d, type, offset, size);
  };
  field(kTypeLong, 0, 4);
  field(kTypeString, 4, 12);
  field(kTypeString, 16, 8);
  field(kTypeReal, 24, 8);
  field(kTypeShort, 32, 2);
  auto key = [&](uint8_t flags, std::vector<KeyComponentDef> components) {
    test_tables::AddKey(&d, flags, std::move(components));
  };
  key(0, {{0, false}});
  key(kDefKeyDup | kDefKeyNoCase, {{1, false}});
  key(kDefKeyDup, {{2, true}, {0, false}});
  key(0, {{2, false}, {1, false}});
  key(kDefKeyDup, {{3, false}});
  key(kDefKeyDup | kDefKeyOpt, {{4, false}});
  MemoDef notes;
  notes.max_size = 600;
  notes.flags = 1;
  d.memos.push_back(notes);
  return d;
}

struct Row {
  int32_t number = 0;
  std::string name, city;
  double amount = 0;
  int16_t code = 0;
  std::string notes;
};

std::string Padded(const std::string& s, size_t n) {
  return s + std::string(n - s.size(), ' ');
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

template <typename T>
int Cmp(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// The model's order of two rows in key k, by value only.
int CompareKey(int k, const Row& a, const Row& b) {
  switch (k) {
    case 0:
      return Cmp(a.number, b.number);
    case 1:
      return Cmp(Lower(Padded(a.name, 12)), Lower(Padded(b.name, 12)));
    case 2:
      if (int c = Cmp(Padded(b.city, 8), Padded(a.city, 8))) return c;
      return Cmp(a.number, b.number);
    case 3:
      if (int c = Cmp(Padded(a.city, 8), Padded(b.city, 8))) return c;
      return Cmp(Padded(a.name, 12), Padded(b.name, 12));
    case 4:
      return Cmp(a.amount, b.amount);
    default:
      return Cmp(a.code, b.code);
  }
}

bool InKey(int k, const Row& r) {
  return k != 5 || r.code != 0;
}

class TableModel : public ::testing::TestWithParam<unsigned> {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/carelog-model-XXXXXX";
    dir_ = mkdtemp(pattern);
    path_ = dir_ + "/model.LDS";
    buffers_.record = record_;
    buffers_.memos.push_back(MemoBuffer{notes_, &notes_length_});
    DataFileOptions options;
    options.create = true;
    ASSERT_EQ(DataFile::Open(path_, options, &file_), 0);
    ASSERT_EQ(Table::Create(*file_, "T", ModelDefinition(), false, &table_), 0);
    rng_.seed(GetParam());
  }

  void TearDown() override {
    reader_.Clear();
    table_.reset();
    file_.reset();
    unlink(path_.c_str());
    rmdir(dir_.c_str());
  }

  size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

  Row RandomRow() {
    static const char* names[] = {"smith", "Smith", "SMITH", "jones", "Jones", "brown", "ng", ""};
    static const char* cities[] = {"Austin", "austin", "Boston", "Chicago", ""};
    static const double amounts[] = {-3.5, -1, 0, 0.25, 2, 1e6};
    static const int16_t codes[] = {0, 0, 1, 2, -5};
    Row r;
    r.number = static_cast<int32_t>(Pick(40)) - 5;
    r.name = names[Pick(std::size(names))];
    r.city = cities[Pick(std::size(cities))];
    r.amount = amounts[Pick(std::size(amounts))];
    r.code = codes[Pick(std::size(codes))];
    r.notes = std::string(Pick(3) * 200 + Pick(50), static_cast<char>('a' + Pick(26)));
    return r;
  }

  void Fill(const Row& r) {
    std::memcpy(record_, &r.number, 4);
    std::memset(record_ + 4, ' ', 20);
    std::memcpy(record_ + 4, r.name.data(), r.name.size());
    std::memcpy(record_ + 16, r.city.data(), r.city.size());
    std::memcpy(record_ + 24, &r.amount, 8);
    std::memcpy(record_ + 32, &r.code, 2);
    std::memset(notes_, ' ', sizeof notes_);
    std::memcpy(notes_, r.notes.data(), r.notes.size());
  }

  void ExpectBuffersHold(uint32_t record) {
    Row want = model_.at(record);
    Fill(want);
    uint8_t expected[34];
    char expected_notes[600];
    std::memcpy(expected, record_, sizeof expected);
    std::memcpy(expected_notes, notes_, sizeof notes_);
    ASSERT_EQ(table_->Read(record, buffers_, true), 0);
    EXPECT_EQ(0, std::memcmp(expected, record_, sizeof expected));
    EXPECT_EQ(0, std::memcmp(expected_notes, notes_, sizeof notes_));
  }

  std::vector<uint32_t> Order(int k) {
    std::vector<uint32_t> order;
    for (const auto& [n, r] : model_) {
      if (k < 0 || InKey(k, r)) order.push_back(n);
    }
    if (k >= 0) {
      std::stable_sort(order.begin(), order.end(), [&](uint32_t x, uint32_t y) {
        return CompareKey(k, model_[x], model_[y]) < 0;
      });
    }
    return order;
  }

  bool Conflicts(const Row& r, uint32_t except) {
    for (const auto& [n, other] : model_) {
      for (int k = 0; k < kKeys && n != except; ++k) {
        if (kUnique[k] && CompareKey(k, r, other) == 0) return true;
      }
    }
    return false;
  }

  uint32_t AnyRecord() {
    auto it = model_.begin();
    std::advance(it, Pick(model_.size()));
    return it->first;
  }

  std::vector<uint32_t> ReadOn(bool forward) {
    std::vector<uint32_t> got;
    uint32_t record = 0;
    int rc = 0;
    while ((rc = reader_.Step(*table_, forward, buffers_, true, &record)) == 0) {
      got.push_back(record);
    }
    EXPECT_EQ(rc, kErrRecordNotAvailable);
    return got;
  }

  void StepAdd() {
    Row r = RandomRow();
    Fill(r);
    uint32_t record = 0;
    int expected = Conflicts(r, 0) ? kErrCreatesDuplicateKey : 0;
    ASSERT_EQ(table_->Add(buffers_, &record), expected);
    if (expected == 0) model_[record] = r;
  }

  void StepPutOrDelete(bool remove) {
    uint32_t record = AnyRecord();
    ExpectBuffersHold(record);
    if (remove) {
      ASSERT_EQ(table_->Delete(record), 0);
      model_.erase(record);
      return;
    }
    Row r = RandomRow();
    if (Pick(2)) r.number = model_[record].number;
    Fill(r);
    int expected = Conflicts(r, record) ? kErrCreatesDuplicateKey : 0;
    ASSERT_EQ(table_->Put(record, buffers_), expected);
    if (expected == 0) model_[record] = r;
  }

  void StepGetByKey() {
    int k = static_cast<int>(Pick(kKeys));
    Row probe = model_[AnyRecord()];
    Fill(probe);
    uint32_t got = 0;
    if (!InKey(k, probe)) {
      EXPECT_EQ(GetByKey(*table_, k, buffers_, &got), kErrRecordNotFound);
      return;
    }
    ASSERT_EQ(GetByKey(*table_, k, buffers_, &got), 0);
    for (uint32_t n : Order(k)) {
      if (CompareKey(k, model_[n], probe) == 0) {
        EXPECT_EQ(got, n) << "key " << k;  // the lowest record number among equal values
        return;
      }
    }
  }

  void StepScan() {
    int k = static_cast<int>(Pick(kKeys + 1)) - 1;
    bool forward = Pick(2) == 0;
    ASSERT_EQ(reader_.Begin(*table_, k < 0 ? 2 : 5, k, record_, 0, ""), 0);
    std::vector<uint32_t> want = Order(k);
    if (!forward) std::reverse(want.begin(), want.end());
    EXPECT_EQ(ReadOn(forward), want) << "key " << k;
  }

  void StepFromValue() {
    int k = static_cast<int>(Pick(kKeys));
    Row probe = RandomRow();
    if (!InKey(k, probe)) return;
    bool forward = Pick(2) == 0;
    Fill(probe);
    ASSERT_EQ(reader_.Begin(*table_, 7, k, record_, 0, ""), 0);
    std::vector<uint32_t> want;
    for (uint32_t n : Order(k)) {
      int c = CompareKey(k, model_[n], probe);
      if (forward ? c >= 0 : c <= 0) want.push_back(n);
    }
    if (!forward) std::reverse(want.begin(), want.end());
    EXPECT_EQ(ReadOn(forward), want) << "key " << k;
  }

  void StepPosition() {
    int k = static_cast<int>(Pick(kKeys));
    std::vector<uint32_t> order = Order(k);
    if (order.empty()) return;
    size_t at = Pick(order.size());
    ASSERT_EQ(table_->Read(order[at], buffers_, true), 0);
    std::string position;
    ASSERT_EQ(PositionOf(*table_, k, order[at], record_, &position), 0);
    bool forward = Pick(2) == 0;
    ASSERT_EQ(reader_.Begin(*table_, 6, k, record_, 0, position), 0);
    std::vector<uint32_t> want(order.begin() + at, order.end());
    if (!forward) want.assign(order.rend() - at - 1, order.rend());
    EXPECT_EQ(ReadOn(forward), want) << "key " << k;
    uint32_t record = 0;
    ASSERT_EQ(RegetPosition(*table_, k, position, buffers_, &record), 0);
    EXPECT_EQ(record, order[at]);
  }

  void Reopen() {
    reader_.Clear();
    table_.reset();
    ASSERT_EQ(file_->EndAccess(), 0);
    file_.reset();
    ASSERT_EQ(DataFile::Open(path_, DataFileOptions{}, &file_), 0);
    ASSERT_EQ(Table::Open(*file_, "T", ModelDefinition(), false, false, &table_), 0);
  }

  // The committed file passes every check ldstool makes, region packing among them.
  void CheckWholeFile() {
    std::vector<CheckFault> faults;
    ASSERT_EQ(CheckDataFile(*file_, &faults, nullptr), 0);
    for (const CheckFault& f : faults) ADD_FAILURE() << "page " << f.page << ": " << f.text;
  }

  void CheckCounts() {
    uint32_t count = 0;
    ASSERT_EQ(table_->Records(&count), 0);
    ASSERT_EQ(count, model_.size());
    for (int k = 0; k < kKeys; ++k) {
      ASSERT_EQ(table_->KeyEntries(k, &count), 0);
      ASSERT_EQ(count, Order(k).size()) << "key " << k;
    }
  }

  std::string dir_, path_;
  std::unique_ptr<DataFile> file_;
  std::unique_ptr<Table> table_;
  Reader reader_;
  uint8_t record_[34] = {};
  char notes_[600] = {};
  uint32_t notes_length_ = 0;
  RecordBuffers buffers_;
  std::map<uint32_t, Row> model_;
  std::mt19937 rng_;
};

TEST_P(TableModel, AgreesWithTheModel) {
  for (int step = 0; step < 1500 && !HasFailure(); ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    size_t op = Pick(20);
    if (model_.empty() || op < 6) {
      StepAdd();
    } else if (op < 8) {
      StepPutOrDelete(op == 7);
    } else if (op < 11) {
      StepGetByKey();
    } else if (op < 13) {
      StepScan();
    } else if (op < 15) {
      StepFromValue();
    } else if (op < 17) {
      StepPosition();
    } else if (op == 17) {
      ASSERT_EQ(file_->EndAccess(), 0);
      CheckWholeFile();
    } else if (op == 18) {
      Reopen();
      CheckWholeFile();
    } else {
      // A rebuild gives every key the entries that maintenance gave it.
      ASSERT_EQ(BuildAllKeys(*table_), 0);
    }
    CheckCounts();
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, TableModel, ::testing::Values(1u, 2u, 3u));

}  // namespace
}  // namespace carelog::store
