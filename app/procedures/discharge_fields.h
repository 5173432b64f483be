// The fields of a discharge summary, as both of its forms show them: the note form and the
// plain form number their controls alike.
#pragma once

#include "app/patterns/form_table.h"
#include "app/procedures/patient_lookup.h"
#include "app/procedures/vital_ranges.h"

namespace carelog::app::procedures {

inline constexpr FieldBinding kDischargeFields[] = {
    {3, "DIS:PATIENT_NUMBER"},
    {5, "DIS:RECORD_NO"},
    {7, "DIS:DATE"},
    {9, "DIS:START_OF_CARE"},
    {11, "DIS:EXPIRED"},
    {13, "DIS:HOSPITAL"},
    {15, "DIS:OTHER"},
    {16, "DIS:RN"},
    {17, "DIS:PT"},
    {18, "DIS:OT"},
    {19, "DIS:ST"},
    {20, "DIS:HHA"},
    {22, "DIS:BP", 1, vital_ranges::kDischargeBp},
    {23, "DIS:TEMPERATURE", 1, vital_ranges::kDischargeTemperature},
    {24, "DIS:P", 1, vital_ranges::kDischargePulse},
    {25, "DIS:R", 1, vital_ranges::kDischargeResp},
    {26, "DIS:WEIGHT", 1, vital_ranges::kDischargeWeight},
    {28, "DIS:BP", 2},
    {29, "DIS:TEMPERATURE", 2},
    {30, "DIS:P", 2},
    {31, "DIS:R", 2},
    {32, "DIS:WEIGHT", 2},
    {33, "DIS:DIPSOITION", 1},
    {34, "DIS:DIPSOITION", 2},
    {35, "DIS:DIPSOITION", 3},
    {36, "DIS:DIPSOITION", 4},
    {37, "DIS:DIPSOITION", 5},
    {38, "DIS:DIPSOITION", 6},
    {39, "DIS:DIPSOITION", 7},
    {40, "DIS:DIPSOITION", 8},
    {41, "DIS:DIPSOITION", 9},
    {42, "DIS:DIPSOITION", 10},
    {43, "DIS:DIPSOITION", 11},
    {44, "DIS:DIPSOITION", 12},
    {45, "DIS:DIPSOITION", 13},
    {47, "DIS:OTHERNOTE"},
    {49, "DIS:PATIENT", 1},
    {50, "DIS:CAREGIVER", 1},
    {52, "DIS:PATIENT", 2},
    {53, "DIS:CAREGIVER", 2},
    {55, "DIS:PATIENT", 3},
    {56, "DIS:CAREGIVER", 3},
    {58, "DIS:PATIENT", 4},
    {59, "DIS:CAREGIVER", 4},
    {61, "DIS:PATIENT", 5},
    {62, "DIS:CAREGIVER", 5},
    {64, "DIS:PATIENT", 6},
    {65, "DIS:CAREGIVER", 6},
    {67, "DIS:PATIENT", 7},
    {68, "DIS:CAREGIVER", 7},
    {70, "DIS:PATIENT", 8},
    {71, "DIS:CAREGIVER", 8},
    {73, "DIS:PATIENT", 9},
    {74, "DIS:CAREGIVER", 9},
    {76, "DIS:GOALS_ACHIEVED"},
    {78, "DIS:MEDICATIONS"},
};

inline constexpr FieldLookupRow kDischargeLookups[] = {
    PatientLookup(3, "DIS:PATIENT_NUMBER", "DIS:Patient_Number"),
};

}  // namespace carelog::app::procedures
