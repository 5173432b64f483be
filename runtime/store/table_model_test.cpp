// Random statements on a table with every kind of key, checked after each step against a
// plain in-memory model of the same table.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_table_testing.h"

namespace carelog::store {
namespace {

using testing::SampleFile;
using testing::SampleRecord;
using testing::ScratchDir;

constexpr int kKeys = 6;  // K_NUMBER, K_NAME, K_CITY, K_PLACE, K_AMOUNT, K_CODE
constexpr bool kUnique[kKeys] = {true, false, false, true, false, false};

std::string Padded(const std::string& s, size_t size) { return s + std::string(size - s.size(), ' '); }

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

template <typename T>
int Cmp(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// Order of two records in key k, by value only.
int CompareKey(int k, const SampleRecord& a, const SampleRecord& b) {
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

bool InKey(int k, const SampleRecord& r) { return k != 5 || r.code != 0; }

class Model {
 public:
  std::map<uint32_t, SampleRecord> records;

  // The records of key k (-1: record order) in reading order.
  std::vector<uint32_t> Order(int k) const {
    std::vector<uint32_t> order;
    for (const auto& [n, r] : records) {
      if (k < 0 || InKey(k, r)) order.push_back(n);
    }
    if (k >= 0) {
      std::stable_sort(order.begin(), order.end(), [&](uint32_t x, uint32_t y) {
        return CompareKey(k, records.at(x), records.at(y)) < 0;
      });
    }
    return order;
  }

  bool Conflicts(const SampleRecord& r, uint32_t except) const {
    for (const auto& [n, other] : records) {
      if (n == except) continue;
      for (int k = 0; k < kKeys; ++k) {
        if (kUnique[k] && CompareKey(k, r, other) == 0) return true;
      }
    }
    return false;
  }
};

class TableModel : public ::testing::TestWithParam<unsigned> {
 protected:
  SampleRecord RandomRecord() {
    static const char* names[] = {"smith", "Smith", "SMITH", "jones", "Jones", "brown", "ng", ""};
    static const char* cities[] = {"Austin", "austin", "Boston", "Chicago", ""};
    static const double amounts[] = {-3.5, -1, 0, 0.25, 2, 1e6};
    static const int16_t codes[] = {0, 0, 1, 2, -5};
    SampleRecord r;
    r.number = static_cast<int32_t>(Pick(40)) - 5;
    r.name = names[Pick(std::size(names))];
    r.city = cities[Pick(std::size(cities))];
    r.amount = amounts[Pick(std::size(amounts))];
    r.code = codes[Pick(std::size(codes))];
    return r;
  }

  size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); }

  KeyDeclaration& Key(int k) {
    KeyDeclaration* keys[] = {f->k_number, f->k_name, f->k_city,
                              f->k_place,  f->k_amount, f->k_code};
    return *keys[k];
  }

  uint32_t RandomRecordNumber() {
    auto it = model.records.begin();
    std::advance(it, Pick(model.records.size()));
    return it->first;
  }

  void ExpectCurrent(uint32_t record) {
    ASSERT_EQ(Pointer(f->file.declaration), record);
    const SampleRecord& want = model.records.at(record);
    SampleRecord got = f->Current();
    EXPECT_EQ(got.number, want.number);
    EXPECT_EQ(got.name, want.name);
    EXPECT_EQ(got.city, want.city);
    EXPECT_EQ(got.amount, want.amount);
    EXPECT_EQ(got.code, want.code);
  }

  // Reads with NEXT (PREVIOUS) until the end and returns the record numbers.
  std::vector<uint32_t> ReadOn(bool forward, size_t limit = 1000) {
    std::vector<uint32_t> got;
    FileDeclaration& d = f->file.declaration;
    while (got.size() < limit && (forward ? Next(d) : Previous(d)) == 0) {
      got.push_back(Pointer(d));
    }
    return got;
  }

  void StepAdd() {
    SampleRecord r = RandomRecord();
    f->Fill(r);
    int expected = model.Conflicts(r, 0) ? 40 : 0;
    ASSERT_EQ(Add(f->file.declaration), expected);
    if (expected == 0) model.records[Pointer(f->file.declaration)] = r;
  }

  void StepPut() {
    uint32_t record = RandomRecordNumber();
    ASSERT_EQ(Get(f->file.declaration, record), 0);
    ExpectCurrent(record);
    SampleRecord r = RandomRecord();
    if (Pick(2)) r.number = model.records[record].number;
    f->Fill(r);
    int expected = model.Conflicts(r, record) ? 40 : 0;
    ASSERT_EQ(Put(f->file.declaration), expected);
    if (expected == 0) model.records[record] = r;
  }

  void StepDelete() {
    uint32_t record = RandomRecordNumber();
    ASSERT_EQ(Get(f->file.declaration, record), 0);
    ASSERT_EQ(Delete(f->file.declaration), 0);
    model.records.erase(record);
  }

  void StepGetByKey() {
    uint32_t record = RandomRecordNumber();
    int k = static_cast<int>(Pick(kKeys));
    const SampleRecord r = model.records[record];
    f->Fill(r);
    if (!InKey(k, r)) {
      EXPECT_EQ(Get(f->file.declaration, Key(k)), 35);
      return;
    }
    ASSERT_EQ(Get(f->file.declaration, Key(k)), 0);
    for (uint32_t n : model.Order(k)) {
      if (CompareKey(k, model.records[n], r) == 0) {
        ExpectCurrent(n);
        return;
      }
    }
  }

  void StepScan() {
    int k = static_cast<int>(Pick(kKeys + 1)) - 1;
    bool forward = Pick(2) == 0;
    ASSERT_EQ(k < 0 ? Set(f->file.declaration) : Set(Key(k)), 0);
    std::vector<uint32_t> want = model.Order(k);
    if (!forward) std::reverse(want.begin(), want.end());
    EXPECT_EQ(ReadOn(forward), want) << "key " << k;
  }

  void StepSetFromValue() {
    int k = static_cast<int>(Pick(kKeys));
    SampleRecord probe = RandomRecord();
    if (!InKey(k, probe)) return;
    bool forward = Pick(2) == 0;
    f->Fill(probe);
    ASSERT_EQ(Set(Key(k), Key(k)), 0);
    std::vector<uint32_t> want;
    for (uint32_t n : model.Order(k)) {
      int c = CompareKey(k, model.records[n], probe);
      if (forward ? c >= 0 : c <= 0) want.push_back(n);
    }
    if (!forward) std::reverse(want.begin(), want.end());
    EXPECT_EQ(ReadOn(forward), want) << "key " << k;
  }

  void StepPositions() {
    int k = static_cast<int>(Pick(kKeys));
    std::vector<uint32_t> order = model.Order(k);
    if (order.empty()) return;
    ASSERT_EQ(Set(Key(k)), 0);
    size_t at = Pick(order.size());
    ASSERT_EQ(Skip(f->file.declaration, static_cast<int32_t>(at + 1)), 0);
    ASSERT_EQ(Pointer(f->file.declaration), order[at]);
    std::string position = Position(Key(k));
    ReadOn(true, Pick(3));
    ASSERT_EQ(Reset(Key(k), position), 0);
    std::vector<uint32_t> want(order.begin() + at, order.end());
    EXPECT_EQ(ReadOn(true), want);
    ASSERT_EQ(Reget(Key(k), position), 0);
    ExpectCurrent(order[at]);
  }

  void CheckCounts() {
    ASSERT_EQ(Records(f->file.declaration), model.records.size());
    for (int k = 0; k < kKeys; ++k) {
      ASSERT_EQ(Records(Key(k)), model.Order(k).size()) << "key " << k;
    }
  }

  ScratchDir dir;
  std::unique_ptr<SampleFile> f;
  Model model;
  std::mt19937 rng;
};

TEST_P(TableModel, AgreesWithTheModel) {
  rng.seed(GetParam());
  f = std::make_unique<SampleFile>(dir.File("model"));
  ASSERT_EQ(Create(f->file.declaration), 0);
  ASSERT_EQ(Open(f->file.declaration), 0);
  for (int step = 0; step < 400; ++step) {
    size_t op = Pick(10);
    if (model.records.empty() || op < 3) {
      StepAdd();
    } else if (op == 3) {
      StepPut();
    } else if (op == 4) {
      StepDelete();
    } else if (op == 5) {
      StepGetByKey();
    } else if (op == 6) {
      StepScan();
    } else if (op == 7) {
      StepSetFromValue();
    } else if (op == 8) {
      StepPositions();
    } else {
      // Everything must hold across closing and reopening too.
      ASSERT_EQ(Close(f->file.declaration), 0);
      ASSERT_EQ(Open(f->file.declaration), 0);
    }
    if (HasFatalFailure() || HasNonfatalFailure()) FAIL() << "seed " << GetParam() << " step " << step;
    CheckCounts();
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, TableModel, ::testing::Values(1u, 2u, 3u, 4u));

}  // namespace
}  // namespace carelog::store
