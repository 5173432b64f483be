// The Patients work through the application's own declaration and file statements (ADD, GET by
// PAT:KEY_PATIENT_NUMBER, SET + NEXT by PAT:KEY_LAST_NAME): the table layer's figures plus the
// driver, its preconditions and the memo handling that every statement of the application pays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "bench/store_vs_sqlite/patients_table.h"

namespace carelog::bench {

class StatementsSide {
 public:
  // Creates the Patients file in `dir` (which must exist) and opens it.
  explicit StatementsSide(const std::string& dir);
  ~StatementsSide();

  // One ADD statement: one durable commit.
  void Add(const Patient& p);
  void GetByNumber(int32_t number);
  size_t ReadByLastName();
  uint64_t Size();

 private:
  std::string dir_;
};

}  // namespace carelog::bench
