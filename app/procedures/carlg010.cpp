// BROWSEPRO:KEY_PATIENT_NUMBER: the ProgressNotes File by PRO:Key_Patient_Number.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kPatients, FileId::kProgressNotes};
constexpr SortOrder kOrders[] = {
    {nullptr,
     "PRO:KEY_PATIENT_NUMBER",
     "PRO:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     "Sort1:Reset:PAT:Patient_Number",
     {FileId::kPatients, "PAT:PATIENT_NUMBER"}},
};
constexpr ColumnRow kColumns[] = {{"PRO:DATE"},        {"PRO:TIME_IN"}, {"PRO:TIME_OUT"},
                                  {"PRO:SITTING_BP"},  {"PRO:RP"},      {"PRO:RESP"},
                                  {"PRO:TEMPERATURE"}, {"PRO:WEIGHT"}};
constexpr ButtonRow kButtons[] = {
    {2, ButtonRole::kPrint, "PRINTPROGRESS"}, {3, ButtonRole::kCopy, nullptr},
    {5, ButtonRole::kInsert, nullptr},        {6, ButtonRole::kChange, nullptr},
    {7, ButtonRole::kDelete, nullptr},        {8, ButtonRole::kClose, nullptr},
    {9, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowseproKeyPatientNumber = {
    "BROWSEPRO:KEY_PATIENT_NUMBER",
    "carelog.cpp$carlg010",
    "BROWSEPRO:KEY_PATIENT_NUMBER$QUICKWINDOW",
    FileId::kProgressNotes,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    4,
    kButtons,
    {},
    "UPDATEPROGRESSNOTES",
    true,
    false,
    nullptr,
};

void BROWSEPRO_KEY_PATIENT_NUMBER() {
  RunBrowse(kBrowseproKeyPatientNumber);
}

}  // namespace carelog::app
