// BROWSECAS:PATIENTNUMBERKEY: the CaseCon File by CAS:PatientNumberKey.
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
    {3, ButtonRole::kInsert, nullptr}, {4, ButtonRole::kChange, nullptr},
    {5, ButtonRole::kDelete, nullptr}, {6, ButtonRole::kClose, nullptr},
    {7, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowsecasPatientnumberkey = {
    "BROWSECAS:PATIENTNUMBERKEY",
    "carelog.cpp$carlg026",
    "BROWSECAS:PATIENTNUMBERKEY$QUICKWINDOW",
    FileId::kCaseCon,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    2,
    kButtons,
    {},
    "UPDATECASECON",
    false,
    false,
    nullptr,
};

void BROWSECAS_PATIENTNUMBERKEY() {
  RunBrowse(kBrowsecasPatientnumberkey);
}

}  // namespace carelog::app
