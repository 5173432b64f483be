// BROWSEDIS:KEY_PATIENT_NUMBER: the DischargeSummary File by DIS:Key_Patient_Number.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kDischargeSummary, FileId::kPatients};
constexpr SortOrder kOrders[] = {
    {nullptr,
     "DIS:KEY_PATIENT_NUMBER",
     "DIS:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     "Sort1:Reset:PAT:Patient_Number",
     {FileId::kPatients, "PAT:PATIENT_NUMBER"}},
};
constexpr ColumnRow kColumns[] = {
    {"DIS:PATIENT_NUMBER"}, {"DIS:RECORD_NO"}, {"DIS:DATE"}, {"DIS:OTHER"}};
constexpr ButtonRow kButtons[] = {
    {2, ButtonRole::kPrint, "PRINTDISCHARGE"}, {3, ButtonRole::kCopy, nullptr},
    {5, ButtonRole::kInsert, nullptr},         {6, ButtonRole::kChange, nullptr},
    {7, ButtonRole::kDelete, nullptr},         {8, ButtonRole::kClose, nullptr},
    {9, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowsedisKeyPatientNumber = {
    "BROWSEDIS:KEY_PATIENT_NUMBER",
    "carelog.cpp$carlg022",
    "BROWSEDIS:KEY_PATIENT_NUMBER$QUICKWINDOW",
    FileId::kDischargeSummary,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    4,
    kButtons,
    {},
    "DISCHARGESUMMARY",
    false,
    false,
    nullptr,
};

void BROWSEDIS_KEY_PATIENT_NUMBER() {
  RunBrowse(kBrowsedisKeyPatientNumber);
}

}  // namespace carelog::app
