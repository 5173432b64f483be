#include "bench/store_vs_sqlite/statements_side.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/data/dictionary.h"
#include "app/data/keys.h"
#include "app/data/records.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"

namespace carelog::bench {
namespace {

using namespace carelog::appdata;

void Check(int rc, const char* what) {
  if (rc == 0) return;
  std::fprintf(stderr, "store_vs_sqlite: %s failed (%d %s)\n", what, rc,
               store::ErrorText().c_str());
  std::exit(1);
}

}  // namespace

StatementsSide::StatementsSide(const std::string& dir) : dir_(dir) {
  store::RegisterTableOps(&store::StoredTables());
  char saved[4096];
  if (getcwd(saved, sizeof saved) == nullptr || chdir(dir.c_str()) != 0) Check(-1, "chdir");
  Check(store::Create(PatientsFile()), "CREATE");
  Check(store::Open(PatientsFile(), 0x22), "OPEN");
  if (chdir(saved) != 0) Check(-1, "chdir");
}

StatementsSide::~StatementsSide() {
  store::Close(PatientsFile());
  unlink((dir_ + "/Patients.LDS").c_str());
}

void StatementsSide::Add(const Patient& p) {
  static_assert(sizeof(PAT) == kPatientRecordSize);
  PackPatient(p, reinterpret_cast<uint8_t*>(&PAT));
  Check(store::AssignMemo(PatientsFile(), 1, p.notes), "memo");
  Check(store::Add(PatientsFile()), "ADD");
}

void StatementsSide::GetByNumber(int32_t number) {
  PAT.PATIENT_NUMBER = number;
  Check(store::Get(PatientsFile(), Key(PatKey::KEY_PATIENT_NUMBER)), "GET");
}

size_t StatementsSide::ReadByLastName() {
  Check(store::Set(Key(PatKey::KEY_LAST_NAME)), "SET");
  size_t count = 0;
  while (store::Next(PatientsFile()) == 0) ++count;
  return count;
}

uint64_t StatementsSide::Size() {
  struct stat st;
  return stat((dir_ + "/Patients.LDS").c_str(), &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
}

}  // namespace carelog::bench
