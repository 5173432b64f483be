// BROWSEFAM:KEY_PATIENT_NUMBER: the Family File by FAM:Key_Patient_Number.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kFamily, FileId::kPatients};
constexpr SortOrder kOrders[] = {
    {nullptr,
     "FAM:KEY_PATIENT_NUMBER",
     "FAM:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     "Sort1:Reset:PAT:Patient_Number",
     {FileId::kPatients, "PAT:PATIENT_NUMBER"}},
};
constexpr ColumnRow kColumns[] = {
    {"FAM:PATIENT_NUMBER"}, {"FAM:NAME"}, {"FAM:RELATIONSHIP"}, {"FAM:PHONE"}};
constexpr ButtonRow kButtons[] = {
    {3, ButtonRole::kInsert, nullptr}, {4, ButtonRole::kChange, nullptr},
    {5, ButtonRole::kDelete, nullptr}, {6, ButtonRole::kClose, nullptr},
    {7, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowsefamKeyPatientNumber = {
    "BROWSEFAM:KEY_PATIENT_NUMBER",
    "carelog.cpp$carlg018",
    "BROWSEFAM:KEY_PATIENT_NUMBER$QUICKWINDOW",
    FileId::kFamily,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    2,
    kButtons,
    {},
    "UPDATEFAMILY",
    false,
    false,
    nullptr,
};

void BROWSEFAM_KEY_PATIENT_NUMBER() {
  RunBrowse(kBrowsefamKeyPatientNumber);
}

}  // namespace carelog::app
