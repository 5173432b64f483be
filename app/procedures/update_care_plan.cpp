// UPDATECAREPLAN: A care plan of up to twelve problems (note form).
#include "app/procedures/form_procedures.h"

#include "app/data/records.h"
#include "app/patterns/form_engine.h"
#include "app/patterns/form_record.h"
#include "app/procedures/patient_lookup.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr FieldBinding kFields[] = {
    {3, "CAR:PATIENT_NUMBER"}, {5, "CAR:RECORD_NO"},         {7, "CAR:FROM_DATE"},
    {9, "CAR:TO_DATE"},        {11, "CAR:SHORT_TERM_GOALS"}, {13, "CAR:LONG_TERM_GOALS"},
    {15, "CAR:DATE", 1},       {17, "CAR:PROBLEM", 1},       {19, "CAR:APPROACH", 1},
    {21, "CAR:GOALS", 1},      {23, "CAR:DATE", 2},          {25, "CAR:PROBLEM", 2},
    {27, "CAR:APPROACH", 2},   {29, "CAR:GOALS", 2},         {31, "CAR:DATE", 3},
    {33, "CAR:PROBLEM", 3},    {35, "CAR:APPROACH", 3},      {37, "CAR:GOALS", 3},
    {39, "CAR:DATE", 4},       {41, "CAR:PROBLEM", 4},       {43, "CAR:APPROACH", 4},
    {45, "CAR:GOALS", 4},      {47, "CAR:DATE", 5},          {49, "CAR:PROBLEM", 5},
    {51, "CAR:APPROACH", 5},   {53, "CAR:GOALS", 5},         {55, "CAR:DATE", 6},
    {57, "CAR:PROBLEM", 6},    {59, "CAR:APPROACH", 6},      {61, "CAR:GOALS", 6},
    {63, "CAR:DATE", 7},       {65, "CAR:PROBLEM", 7},       {67, "CAR:APPROACH", 7},
    {69, "CAR:GOALS", 7},      {71, "CAR:DATE", 8},          {73, "CAR:PROBLEM", 8},
    {75, "CAR:APPROACH", 8},   {77, "CAR:GOALS", 8},         {79, "CAR:DATE", 9},
    {81, "CAR:PROBLEM", 9},    {83, "CAR:APPROACH", 9},      {85, "CAR:GOALS", 9},
    {87, "CAR:DATE", 10},      {89, "CAR:PROBLEM", 10},      {91, "CAR:APPROACH", 10},
    {93, "CAR:GOALS", 10},     {95, "CAR:DATE", 11},         {97, "CAR:PROBLEM", 11},
    {99, "CAR:APPROACH", 11},  {103, "CAR:GOALS", 11},       {105, "CAR:DATE", 12},
    {107, "CAR:PROBLEM", 12},  {109, "CAR:APPROACH", 12},    {111, "CAR:GOALS", 12},
};

constexpr FileId kAlsoOpens[] = {FileId::kPatients};

// The long-term goals start from the patient's plans and progress (as much as the field holds).
void PrimeFromPatient() {
  WriteText(ResolveField(FileId::kCarePlan, "CAR:LONG_TERM_GOALS"),
            ReadText(ResolveField(FileId::kPatients, "PAT:PLANS_AND_PROGRESS")));
}

constexpr FieldLookupRow kLookups[] = {
    PatientLookup(3, "CAR:PATIENT_NUMBER", "CAR:Patient_Number"),
};

}  // namespace

constexpr FormTable kUpdateCarePlan = {
    .name = "UPDATECAREPLAN",
    .module = "carelog.cpp$carlg033",
    .window = "UPDATECAREPLAN$FORMWINDOW",
    .file = FileId::kCarePlan,
    .also_opens = kAlsoOpens,
    .flavour = FormFlavour::kNote,
    .number_key = "CAR:RECORD_KEY",
    .number_field = "CAR:RECORD_NO",
    .patient_field = "CAR:PATIENT_NUMBER",
    .prime = PrimeFromPatient,
    .fields = kFields,
    .lookups = kLookups,
    .ok_button = 101,
    .cancel_button = 102,
};

void UPDATECAREPLAN() {
  RunForm(kUpdateCarePlan);
}

}  // namespace carelog::app::procedures
