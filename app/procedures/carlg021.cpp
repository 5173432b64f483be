// BROWSEMED:KEY_PATIENT_NUMBER: the Medications File by MED:Key_Patient_Number.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kMedications, FileId::kPatients};
constexpr SortOrder kOrders[] = {
    {nullptr,
     "MED:KEY_PATIENT_NUMBER",
     "MED:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     "Sort1:Reset:PAT:Patient_Number",
     {FileId::kPatients, "PAT:PATIENT_NUMBER"}},
};
constexpr ColumnRow kColumns[] = {{"MED:PATIENT_NUMBER"}, {"MED:RECORD_NO"}, {"MED:DATE"}};
constexpr ButtonRow kButtons[] = {
    {2, ButtonRole::kPrint, "PRINTNEWMEDS"}, {3, ButtonRole::kCopy, nullptr},
    {5, ButtonRole::kInsert, nullptr},       {6, ButtonRole::kChange, nullptr},
    {7, ButtonRole::kDelete, nullptr},       {8, ButtonRole::kClose, nullptr},
    {9, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowsemedKeyPatientNumber = {
    "BROWSEMED:KEY_PATIENT_NUMBER",
    "carelog.cpp$carlg021",
    "BROWSEMED:KEY_PATIENT_NUMBER$QUICKWINDOW",
    FileId::kMedications,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    4,
    kButtons,
    {},
    "UPDATEMEDS",
    false,
    false,
    nullptr,
};

void BROWSEMED_KEY_PATIENT_NUMBER() {
  RunBrowse(kBrowsemedKeyPatientNumber);
}

}  // namespace carelog::app
