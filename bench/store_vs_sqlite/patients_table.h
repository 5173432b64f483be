// The Patients table of the benchmark: its record layout, keys and memo as a stored table
// definition, and a deterministic generator of realistic records.
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "runtime/store/table_def.h"

namespace carelog::bench {

inline constexpr uint32_t kPatientRecordSize = 610;
inline constexpr uint32_t kPatientNotesSize = 600;

// Keys in declaration order.
enum PatientKey {
  kKeyPatientNumber,
  kKeyAgency,
  kKeyLastName,
  kKeyPhysician,
  kKeyNextVisit,
  kKeyDoc
};

struct Patient {
  int32_t number = 0;
  std::string agency, name, first_name, last_name, frequency, dx, sex, allergies, social_security,
      medicare, phone, address1, address2, city, state, pharmacy, pharmacy_address, pharmacy_phone,
      notes;
  int32_t soc = 0, height = 0, weight = 0, date_of_birth = 0, zipcode = 0, physician = 0,
          next_visit = 0, time_next_visit = 0;
};

store::TableDefinition PatientsDefinition();

// Patient `number` of a deterministic sample population.
Patient MakePatient(int32_t number, std::mt19937& rng);

// The packed record image of a patient (kPatientRecordSize bytes).
void PackPatient(const Patient& p, uint8_t* record);

}  // namespace carelog::bench
