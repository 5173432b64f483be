// UPDATEPROGRESSNOTES: A progress note of one visit (note form).
#include "app/procedures/form_procedures.h"

#include "app/data/records.h"
#include "app/patterns/form_engine.h"
#include "app/patterns/form_record.h"
#include "app/procedures/patient_lookup.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr FieldBinding kFields[] = {
    {3, "PRO:PATIENT_NUMBER"},
    {5, "PRO:RECORD_NO"},
    {7, "PRO:DATE"},
    {9, "PRO:TIME_IN"},
    {11, "PRO:TIME_OUT"},
    {13, "PRO:MILAGE"},
    {14, "PRO:TYPE_OF_VISIT", 1},
    {15, "PRO:TYPE_OF_VISIT", 2},
    {16, "PRO:TYPE_OF_VISIT", 3},
    {17, "PRO:TYPE_OF_VISIT", 4},
    {18, "PRO:TYPE_OF_VISIT", 5},
    {20, "PRO:LYING_BP"},
    {22, "PRO:SITTING_BP"},
    {24, "PRO:STANDING_BP"},
    {26, "PRO:AP"},
    {28, "PRO:RP"},
    {30, "PRO:RESP"},
    {32, "PRO:TEMPERATURE"},
    {34, "PRO:WEIGHT"},
    {36, "PRO:LUNG_SOUNDS"},
    {38, "PRO:BOWEL_SOUNDS"},
    {40, "PRO:APPETITE"},
    {42, "PRO:BM"},
    {44, "PRO:PERIPHERAL_EDEMA"},
    {46, "PRO:SKIN_TEMP_AND_COLOR"},
    {48, "PRO:ADLS"},
    {50, "PRO:SAFETY_MEASURES"},
    {52, "PRO:HOMEBOUND_STATUS"},
    {53, "PRO:MENTAL_STATUS", 1},
    {54, "PRO:MENTAL_STATUS", 2},
    {55, "PRO:MENTAL_STATUS", 3},
    {56, "PRO:MENTAL_STATUS", 4},
    {57, "PRO:CAREPLANUPDATE", 1},
    {58, "PRO:CAREPLANUPDATE", 2},
    {59, "PRO:HHA", 1},
    {60, "PRO:HHA", 2},
    {61, "PRO:HHA", 3},
    {62, "PRO:HHA", 4},
    {63, "PRO:FOLLOWING", 1},
    {64, "PRO:FOLLOWING", 2},
    {65, "PRO:MD_CONTACTED", 1},
    {66, "PRO:MD_CONTACTED", 2},
    {67, "PRO:VENIPUNCTURE", 1},
    {68, "PRO:VENIPUNCTURE", 2},
    {70, "PRO:TYPE_VENIPUNCTURE"},
    {71, "PRO:MEDICATION_CHANGES", 1},
    {72, "PRO:MEDICATION_CHANGES", 2},
    {74, "PRO:TYPE_MEDICATION_CHANGES"},
    {75, "PRO:RELATIONSHIP", 1},
    {76, "PRO:RELATIONSHIP", 2},
    {77, "PRO:RELATIONSHIP", 3},
    {78, "PRO:RESPONSE", 1},
    {79, "PRO:RESPONSE", 2},
    {80, "PRO:RESPONSE", 3},
    {82, "PRO:CLINICAL_ASSESMENT"},
    {84, "PRO:PROCEDURES"},
    {86, "PRO:TEACHING"},
    {88, "PRO:PLANS"},
    {90, "PRO:RNOBSERVSES"},
};

constexpr FileId kAlsoOpens[] = {FileId::kPatients};
constexpr const char* kDated[] = {"PRO:DATE"};
constexpr PrimedText kPrimedTexts[] = {
    {"PRO:LUNG_SOUNDS", "Clear"},
    {"PRO:BOWEL_SOUNDS", "Positive"},
    {"PRO:APPETITE", "Fair"},
    {"PRO:BM", "Normal"},
    {"PRO:PERIPHERAL_EDEMA", "+1 Non-Pitting"},
    {"PRO:SKIN_TEMP_AND_COLOR", "Warm/Pale"},
    {"PRO:SAFETY_MEASURES", "Clear Pathways"},
    {"PRO:HOMEBOUND_STATUS", "Decreased Endurance"},
};
constexpr PrimedNumber kPrimedNumbers[] = {
    {"PRO:TYPE_OF_VISIT", 1, 3}, {"PRO:MENTAL_STATUS", 1, 1}, {"PRO:MENTAL_STATUS", 1, 2},
    {"PRO:MD_CONTACTED", 1, 2},  {"PRO:VENIPUNCTURE", 1, 2},  {"PRO:MEDICATION_CHANGES", 1, 2},
};

// The visit starts from the patient's current weight and plans.
void PrimeFromPatient() {
  appdata::PRO.WEIGHT = int32_t{appdata::PAT.WEIGHT};
  WriteText(ResolveField(FileId::kProgressNotes, "PRO:PLANS"),
            ReadText(ResolveField(FileId::kPatients, "PAT:PLANS_AND_PROGRESS")));
}

constexpr FieldLookupRow kLookups[] = {
    PatientLookup(3, "PRO:PATIENT_NUMBER", "PRO:Patient_Number"),
};

}  // namespace

constexpr FormTable kUpdateProgressNotes = {
    .name = "UPDATEPROGRESSNOTES",
    .module = "carelog.cpp$carlg028",
    .window = "UPDATEPROGRESSNOTES$FORMWINDOW",
    .file = FileId::kProgressNotes,
    .also_opens = kAlsoOpens,
    .flavour = FormFlavour::kNote,
    .shows_patient_name = true,
    .number_key = "PRO:RECORD_NO_KEY",
    .number_field = "PRO:RECORD_NO",
    .patient_field = "PRO:PATIENT_NUMBER",
    .dated_fields = kDated,
    .primed_texts = kPrimedTexts,
    .primed_numbers = kPrimedNumbers,
    .prime = PrimeFromPatient,
    .fields = kFields,
    .lookups = kLookups,
    .ok_button = 101,
    .cancel_button = 102,
};

void UPDATEPROGRESSNOTES() {
  RunForm(kUpdateProgressNotes);
}

}  // namespace carelog::app::procedures
