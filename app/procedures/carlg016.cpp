// BROWSEHHA:PATIENT_NO_KEY: the HHA_Assign File by HHA:Patient_No_Key.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kHhaAssign, FileId::kPatients};
constexpr SortOrder kOrders[] = {
    {nullptr,
     "HHA:PATIENT_NO_KEY",
     "HHA:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     "Sort1:Reset:PAT:Patient_Number",
     {FileId::kPatients, "PAT:PATIENT_NUMBER"}},
};
constexpr ColumnRow kColumns[] = {
    {"HHA:PATIENT_NUMBER"}, {"HHA:REC_NO"}, {"HHA:DATE"}, {"HHA:SOC"}};
constexpr ButtonRow kButtons[] = {
    {2, ButtonRole::kPrint, "PRINTHHA"}, {3, ButtonRole::kCopy, nullptr},
    {5, ButtonRole::kInsert, nullptr},   {6, ButtonRole::kChange, nullptr},
    {7, ButtonRole::kDelete, nullptr},   {8, ButtonRole::kClose, nullptr},
    {9, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowsehhaPatientNoKey = {
    "BROWSEHHA:PATIENT_NO_KEY",
    "carelog.cpp$carlg016",
    "BROWSEHHA:PATIENT_NO_KEY$QUICKWINDOW",
    FileId::kHhaAssign,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    4,
    kButtons,
    {},
    "UPDATEHHA",
    false,
    false,
    nullptr,
};

void BROWSEHHA_PATIENT_NO_KEY() {
  RunBrowse(kBrowsehhaPatientNoKey);
}

}  // namespace carelog::app
