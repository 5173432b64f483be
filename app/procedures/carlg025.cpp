// BROWSECONFERNCE: the CaseCon File.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kCaseCon, FileId::kPatients};
constexpr SortOrder kOrders[] = {
    {nullptr,
     "CAS:PATIENTNUMBERKEY",
     "CAS:PateintNumber = BRW1::Sort1:Reset:PAT:Patient_Number",
     "Sort1:Reset:PAT:Patient_Number",
     {FileId::kPatients, "PAT:PATIENT_NUMBER"}},
};
constexpr ColumnRow kColumns[] = {{"CAS:DATE"}};
constexpr ButtonRow kButtons[] = {
    {2, ButtonRole::kSelect, nullptr},       {3, ButtonRole::kCopy, nullptr},
    {4, ButtonRole::kPrint, "PRINTCASECON"}, {6, ButtonRole::kInsert, nullptr},
    {7, ButtonRole::kChange, nullptr},       {8, ButtonRole::kDelete, nullptr},
    {9, ButtonRole::kClose, nullptr},        {10, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowseconfernce = {
    "BROWSECONFERNCE",
    "carelog.cpp$carlg025",
    "BROWSECONFERNCE$QUICKWINDOW",
    FileId::kCaseCon,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    5,
    kButtons,
    {},
    "UPDATECASECON",
    false,
    false,
    nullptr,
};

void BROWSECONFERNCE() {
  RunBrowse(kBrowseconfernce);
}

}  // namespace carelog::app
