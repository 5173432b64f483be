// BROWSEPOC:PATKEY: the POC File by POC:PatKey.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kPoc, FileId::kPatients};
constexpr SortOrder kOrders[] = {
    {nullptr,
     "POC:PATKEY",
     "POC:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     "Sort1:Reset:PAT:Patient_Number",
     {FileId::kPatients, "PAT:PATIENT_NUMBER"}},
};
constexpr ColumnRow kColumns[] = {
    {"POC:PATIENT_NUMBER"}, {"POC:MEDRECNO"}, {"POC:FROMDATE"}, {"POC:TODATE"}};
constexpr ButtonRow kButtons[] = {
    {2, ButtonRole::kPrint, "PRINT485"}, {3, ButtonRole::kSubBrowse, "BROWSEADD:RECNOKEY"},
    {5, ButtonRole::kInsert, nullptr},   {6, ButtonRole::kChange, nullptr},
    {7, ButtonRole::kDelete, nullptr},   {8, ButtonRole::kClose, nullptr},
    {9, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowsepocPatkey = {
    "BROWSEPOC:PATKEY",
    "carelog.cpp$carlg011",
    "BROWSEPOC:PATKEY$QUICKWINDOW",
    FileId::kPoc,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    4,
    kButtons,
    {},
    "UPDATEPOC",
    false,
    false,
    nullptr,
};

void BROWSEPOC_PATKEY() {
  RunBrowse(kBrowsepocPatkey);
}

}  // namespace carelog::app
