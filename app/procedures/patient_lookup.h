// The lookup of the patient number that a form's record holds: the number must be a patient's.
// A number not in the patients file opens SELECTPATIENTS and takes the chosen patient's number;
// one still not found there is refused with warning 11 naming the field.
#pragma once

#include "app/patterns/form_table.h"

namespace carelog::app::procedures {

// `shown_name` is the field as warning 11 names it, "MED:Patient_Number".
constexpr FieldLookupRow PatientLookup(int control, const char* field, const char* shown_name) {
  return FieldLookupRow{control,
                        field,
                        appdata::FileId::kPatients,
                        "PAT:KEY_PATIENT_NUMBER",
                        "PAT:PATIENT_NUMBER",
                        "SELECTPATIENTS",
                        shown_name,
                        false};
}

// The two order forms show the fields of an order differently but look up the same number.
inline constexpr FieldLookupRow kOrderLookups[] = {
    PatientLookup(3, "ORD:PATIENT_NUMBER", "ORD:Patient_Number"),
};

}  // namespace carelog::app::procedures
