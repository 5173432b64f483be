// Test support: the patient form opened on a stored patient as a change, the way the patient
// browse's Change button opens it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "app/data/keys.h"
#include "app/data/records.h"
#include "app/procedure_globals.h"
#include "app/procedures/form_procedures.h"
#include "runtime/store/file_statements.h"

namespace carelog::app::testing {

// Runs UPDATEPATIENTS as a change on the first patient by number, read under WATCH so that a
// save checks for another station's change; `*response` gets the form's response. Meant as the
// body of a test Program.
inline void ChangeFirstPatient(int32_t* response) {
  store::FileDeclaration& file = appdata::PatientsFile();
  ASSERT_EQ(store::Open(file, 0x42), 0);
  store::Watch(file);
  store::Set(appdata::Key(appdata::PatKey::KEY_PATIENT_NUMBER));
  ASSERT_EQ(store::Next(file), 0);
  ProcRequest = kReqChange;
  procedures::UPDATEPATIENTS();
  *response = ProcResponse;
  store::Close(file);
}

}  // namespace carelog::app::testing
