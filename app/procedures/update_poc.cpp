// UPDATEPOC: A plan of care (plain form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"
#include "app/procedures/form_boxes.h"
#include "app/procedures/patient_lookup.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr FieldBinding kFields[] = {
    {3, "POC:PATIENT_NUMBER"}, {5, "POC:REC_NO"},       {7, "POC:MEDRECNO"},
    {9, "POC:FROMDATE"},       {11, "POC:TODATE"},      {13, "POC:DME"},
    {15, "POC:SAFETY"},        {17, "POC:NUTRITION"},   {19, "POC:ICD9", 1},
    {20, "POC:DX", 1},         {21, "POC:DXDATE", 1},   {23, "POC:ICD9", 2},
    {24, "POC:DX", 2},         {25, "POC:DXDATE", 2},   {27, "POC:ICD9", 3},
    {28, "POC:DX", 3},         {29, "POC:DXDATE", 3},   {31, "POC:ICD9", 4},
    {32, "POC:DX", 4},         {33, "POC:DXDATE", 4},   {35, "POC:ICD9", 5},
    {36, "POC:DX", 5},         {37, "POC:DXDATE", 5},   {39, "POC:ICD9", 6},
    {40, "POC:DX", 6},         {41, "POC:DXDATE", 6},   {43, "POC:ICD9", 7},
    {44, "POC:DX", 7},         {45, "POC:DXDATE", 7},   {47, "POC:MEDS", 1},
    {49, "POC:MEDS", 2},       {51, "POC:MEDS", 3},     {53, "POC:MEDS", 4},
    {55, "POC:MEDS", 5},       {57, "POC:MEDS", 6},     {59, "POC:MEDS", 7},
    {61, "POC:MEDS", 8},       {63, "POC:MEDS", 9},     {64, "POC:AMPUTATION"},
    {65, "POC:BOWEL"},         {66, "POC:CONTRACTURE"}, {67, "POC:HEARING"},
    {68, "POC:PARALYSIS"},     {69, "POC:ENDURANCE"},   {70, "POC:AMBULATION"},
    {71, "POC:SPEECH"},        {72, "POC:BLIND"},       {73, "POC:DYSPNEA"},
    {74, "POC:OTHER"},         {76, "POC:OTHERLIM"},    {77, "POC:TOTBED"},
    {78, "POC:BEDBRP"},        {79, "POC:UPASTOL"},     {80, "POC:BEDCHAIR"},
    {81, "POC:EXERPRES"},      {82, "POC:PARTWGHT"},    {83, "POC:INDPEND"},
    {84, "POC:CRUTCHES"},      {85, "POC:CANE"},        {86, "POC:WHEELCHAIR"},
    {87, "POC:WALKER"},        {88, "POC:NONE"},        {89, "POC:OTHERACT"},
    {91, "POC:OTHERACTINFO"},  {92, "POC:ORIENTED"},    {93, "POC:COMATOSE"},
    {94, "POC:FORGETFUL"},     {95, "POC:DEPRESSED"},   {96, "POC:DISORIENTED"},
    {97, "POC:LETHARGIC"},     {98, "POC:AGITATED"},    {99, "POC:OTHERMENTAL"},
    {100, "POC:POOR"},         {101, "POC:GUARDED"},    {102, "POC:FAIR"},
    {103, "POC:GOOD"},         {104, "POC:EXCELLENT"},  {106, "POC:ORDERS"},
    {108, "POC:GOALS"},
};

constexpr FieldLookupRow kLookups[] = {
    PatientLookup(3, "POC:PATIENT_NUMBER", "POC:Patient_Number"),
};

}  // namespace

constexpr FormTable kUpdatePoc = {
    .name = "UPDATEPOC",
    .module = "carelog.cpp$carlg039",
    .window = "UPDATEPOC$QUICKWINDOW",
    .file = FileId::kPoc,
    .flavour = FormFlavour::kPlain,
    .fixed_titles = true,
    .number_key = "POC:RECNOKEY",
    .number_field = "POC:REC_NO",
    .patient_field = "POC:PATIENT_NUMBER",
    .fields = kFields,
    .lookups = kLookups,
    .boxes = kAddendumBoxes,
    .ok_button = 113,
    .cancel_button = 114,
};

void UPDATEPOC() {
  RunForm(kUpdatePoc);
}

}  // namespace carelog::app::procedures
