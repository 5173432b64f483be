// carelog-sample DIR [--patients N] [--seed S]: writes the application's data files into DIR
// with deterministic sample data through the real driver: physicians, patients, and for each
// patient its progress notes, medications, care plans, orders, calendar entries and the rest.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "app/data/dictionary.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "tools/carelog-sample/sample_records.h"

namespace carelog::sample {
namespace {

using appdata::FileId;

constexpr int kPhysicians = 40;

bool HasPatientNumber(const appdata::FileInfo& info) {
  for (const appdata::FieldRow& f : info.fields) {
    if (std::strstr(f.name, "PATIENT_NUMBER") != nullptr) return true;
  }
  return false;
}

// Records per patient of a file that belongs to patients.
int RecordsPerPatient(FileId file, std::mt19937& rng) {
  auto between = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(rng);
  };
  switch (file) {
    case FileId::kProgressNotes:
      return between(3, 8);
    case FileId::kMedications:
    case FileId::kCalendar:
      return between(2, 5);
    case FileId::kOrders:
    case FileId::kMonthCal:
      return between(1, 3);
    default:
      return 1;
  }
}

int Fail(const char* what, store::FileDeclaration& file) {
  std::fprintf(stderr, "carelog-sample: %s %.*s: %d %s\n", what, static_cast<int>(file.name.length),
               file.name.text, store::ErrorCode(), store::ErrorText().c_str());
  return 1;
}

int Generate(int patients, unsigned seed) {
  std::mt19937 rng(seed);
  const auto catalogue = appdata::Catalogue();
  for (size_t i = 0; i < catalogue.size(); ++i) {
    const appdata::FileInfo& info = *catalogue[i];
    FileId id = static_cast<FileId>(i);
    store::FileDeclaration& file = appdata::Declaration(id);
    if (store::Create(file) != 0 || store::Open(file, 0x12) != 0) return Fail("create", file);
    store::Stream(file);
    int added = 0;
    auto add = [&](const RecordContext& context) {
      FillRecord(info, file, context, rng);
      int rc = store::Add(file);
      if (rc == 0) ++added;
      return rc == 0 || rc == 40;  // a unique value drawn twice is left out
    };
    int32_t date = 81000;
    if (id == FileId::kPhyscians) {
      for (int d = 1; d <= kPhysicians; ++d) {
        if (!add(RecordContext{0, d, d, date})) return Fail("add", file);
      }
    } else if (id == FileId::kPatients || HasPatientNumber(info)) {
      int32_t record_no = 0;
      for (int p = 1; p <= patients; ++p) {
        int count = id == FileId::kPatients ? 1 : RecordsPerPatient(id, rng);
        for (int r = 0; r < count; ++r) {
          RecordContext context{p, 1 + p % kPhysicians, ++record_no, date + p % 60 + 7 * r};
          if (!add(context)) return Fail("add", file);
        }
      }
    } else if (!add(RecordContext{0, 1, 1, date})) {
      return Fail("add", file);
    }
    if (store::Flush(file) != 0 || store::Close(file) != 0) return Fail("close", file);
    std::printf("%-20s %6d records\n", info.label, added);
  }
  return 0;
}

}  // namespace
}  // namespace carelog::sample

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: carelog-sample DIR [--patients N] [--seed S]\n");
    return 2;
  }
  int patients = 100;
  unsigned seed = 1;
  for (int i = 2; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--patients") == 0) patients = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--seed") == 0) seed = static_cast<unsigned>(std::atoi(argv[i + 1]));
  }
  mkdir(argv[1], 0755);
  if (chdir(argv[1]) != 0) {
    std::perror(argv[1]);
    return 2;
  }
  carelog::store::RegisterTableOps(&carelog::store::StoredTables());
  return carelog::sample::Generate(patients, seed);
}
