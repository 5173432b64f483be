// BROWSECAR:KEY_PATIENT_NUMBER: the CarePlan File by CAR:Key_Patient_Number.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kCarePlan, FileId::kPatients};
constexpr SortOrder kOrders[] = {
    {nullptr,
     "CAR:KEY_PATIENT_NUMBER",
     "CAR:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     "Sort1:Reset:PAT:Patient_Number",
     {FileId::kPatients, "PAT:PATIENT_NUMBER"}},
};
constexpr ColumnRow kColumns[] = {{"CAR:PATIENT_NUMBER"},   {"CAR:RECORD_NO"},
                                  {"CAR:FROM_DATE"},        {"CAR:TO_DATE"},
                                  {"CAR:SHORT_TERM_GOALS"}, {"CAR:LONG_TERM_GOALS"}};
constexpr ButtonRow kButtons[] = {
    {2, ButtonRole::kCopy, nullptr},   {3, ButtonRole::kPrint, "PRINTCAREPLAN"},
    {5, ButtonRole::kInsert, nullptr}, {6, ButtonRole::kChange, nullptr},
    {7, ButtonRole::kDelete, nullptr}, {8, ButtonRole::kClose, nullptr},
    {9, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowsecarKeyPatientNumber = {
    "BROWSECAR:KEY_PATIENT_NUMBER",
    "carelog.cpp$carlg019",
    "BROWSECAR:KEY_PATIENT_NUMBER$QUICKWINDOW",
    FileId::kCarePlan,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    4,
    kButtons,
    {},
    "UPDATECAREPLAN",
    false,
    false,
    nullptr,
};

void BROWSECAR_KEY_PATIENT_NUMBER() {
  RunBrowse(kBrowsecarKeyPatientNumber);
}

}  // namespace carelog::app
