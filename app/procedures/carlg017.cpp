// BROWSEDOC:KEY_PATIENT_NUMBER: the Doctors File by DOC:Key_Patient_Number.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kDoctors, FileId::kPatients};
constexpr SortOrder kOrders[] = {
    {nullptr,
     "DOC:KEY_PATIENT_NUMBER",
     "DOC:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     "Sort1:Reset:PAT:Patient_Number",
     {FileId::kPatients, "PAT:PATIENT_NUMBER"}},
};
constexpr ColumnRow kColumns[] = {
    {"DOC:PATIENT_NUMBER"}, {"DOC:DOCTOR_NAME"}, {"DOC:TYPE"}, {"DOC:PHONE"}};
constexpr ButtonRow kButtons[] = {
    {3, ButtonRole::kInsert, nullptr}, {4, ButtonRole::kChange, nullptr},
    {5, ButtonRole::kDelete, nullptr}, {6, ButtonRole::kClose, nullptr},
    {7, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowsedocKeyPatientNumber = {
    "BROWSEDOC:KEY_PATIENT_NUMBER",
    "carelog.cpp$carlg017",
    "BROWSEDOC:KEY_PATIENT_NUMBER$QUICKWINDOW",
    FileId::kDoctors,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    2,
    kButtons,
    {},
    "UPDATEDOCTORS",
    false,
    false,
    nullptr,
};

void BROWSEDOC_KEY_PATIENT_NUMBER() {
  RunBrowse(kBrowsedocKeyPatientNumber);
}

}  // namespace carelog::app
