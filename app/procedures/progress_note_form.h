// The nursing clinical progress note form (PRINTTODAY, PRINTPROGRESS): which field each control
// of its detail band shows.
#pragma once

#include "app/patterns/report_table.h"

namespace carelog::app::progress_note {

using appdata::FileId;
inline constexpr FileId P = FileId::kProgressNotes;
inline constexpr int kBand = 100;

inline constexpr ReportUse kUses[] = {
    {10, FileId::kPatients, "PAT:NAME"},
    {11, P, "PRO:PATIENT_NUMBER"},
    {12, P, "PRO:DATE"},
    {13, P, "PRO:TIME_IN"},
    {14, P, "PRO:TIME_OUT"},
    {15, P, "PRO:TYPE_OF_VISIT", 1},
    {16, P, "PRO:TYPE_OF_VISIT", 2},
    {17, P, "PRO:TYPE_OF_VISIT", 3},
    {18, P, "PRO:TYPE_OF_VISIT", 4},
    {19, P, "PRO:TYPE_OF_VISIT", 5},
    {20, P, "PRO:WEIGHT"},
    {21, P, "PRO:TEMPERATURE"},
    {22, P, "PRO:RESP"},
    {23, P, "PRO:LYING_BP"},
    {24, P, "PRO:SITTING_BP"},
    {25, P, "PRO:STANDING_BP"},
    {26, P, "PRO:AP"},
    {27, P, "PRO:RP"},
    {28, P, "PRO:LUNG_SOUNDS"},
    {29, P, "PRO:BOWEL_SOUNDS"},
    {30, P, "PRO:APPETITE"},
    {31, P, "PRO:BM"},
    {32, P, "PRO:PERIPHERAL_EDEMA"},
    {33, P, "PRO:MENTAL_STATUS", 1},
    {34, P, "PRO:MENTAL_STATUS", 2},
    {35, P, "PRO:MENTAL_STATUS", 3},
    {36, P, "PRO:MENTAL_STATUS", 4},
    {37, P, "PRO:SKIN_TEMP_AND_COLOR"},
    {38, P, "PRO:ADLS"},
    {39, P, "PRO:SAFETY_MEASURES"},
    {40, P, "PRO:HOMEBOUND_STATUS"},
    {41, P, "PRO:MD_CONTACTED", 1},
    {42, P, "PRO:MD_CONTACTED", 2},
    {43, P, "PRO:VENIPUNCTURE", 1},
    {44, P, "PRO:VENIPUNCTURE", 2},
    {45, P, "PRO:TYPE_VENIPUNCTURE"},
    {46, P, "PRO:MEDICATION_CHANGES", 1},
    {47, P, "PRO:MEDICATION_CHANGES", 2},
    {48, P, "PRO:TYPE_MEDICATION_CHANGES"},
    {50, P, "PRO:CLINICAL_ASSESMENT"},
    {51, P, "PRO:PROCEDURES"},
    {52, P, "PRO:TEACHING"},
    {53, P, "PRO:PLANS"},
    {54, P, "PRO:RNOBSERVSES"},
    {55, P, "PRO:CAREPLANUPDATE", 1},
    {56, P, "PRO:CAREPLANUPDATE", 2},
    {57, P, "PRO:FOLLOWING", 1},
    {58, P, "PRO:FOLLOWING", 2},
    {59, P, "PRO:HHA", 1},
    {60, P, "PRO:HHA", 2},
    {61, P, "PRO:RELATIONSHIP", 1},
    {62, P, "PRO:RELATIONSHIP", 2},
    {63, P, "PRO:RELATIONSHIP", 3},
    {64, P, "PRO:RESPONSE", 1},
    {65, P, "PRO:RESPONSE", 2},
    {66, P, "PRO:RESPONSE", 3},
};

}  // namespace carelog::app::progress_note
