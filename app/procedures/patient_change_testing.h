// Test support: a form opened on a stored record as a change, the way a browse's Change button
// opens it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "app/data/keys.h"
#include "app/data/records.h"
#include "app/procedure_globals.h"
#include "app/procedures/form_procedures.h"
#include "runtime/store/file_statements.h"

namespace carelog::app::testing {

// Runs `form` as a change on the first record of `file` in the order of `key`, read under WATCH
// so that a save checks for another station's change, the way a browse's Change button opens
// it; `*response` gets the form's response when asked for. Meant as the body of a test Program.
inline void ChangeFirstRecord(store::FileDeclaration& file, store::KeyDeclaration& key,
                              void (*form)(), int32_t* response = nullptr) {
  ASSERT_EQ(store::Open(file, 0x42), 0);
  store::Watch(file);
  store::Set(key);
  ASSERT_EQ(store::Next(file), 0);
  ProcRequest = kReqChange;
  form();
  if (response) *response = ProcResponse;
  store::Close(file);
}

// UPDATEPATIENTS as a change on the first patient by number.
inline void ChangeFirstPatient(int32_t* response) {
  ChangeFirstRecord(appdata::PatientsFile(), appdata::Key(appdata::PatKey::KEY_PATIENT_NUMBER),
                    procedures::UPDATEPATIENTS, response);
}

}  // namespace carelog::app::testing
