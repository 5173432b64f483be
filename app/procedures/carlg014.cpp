// BROWSEORD:PATKEY: the Orders File by ORD:PatKey.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kOrders, FileId::kPatients};
constexpr SortOrder kOrders[] = {
    {nullptr,
     "ORD:PATKEY",
     "ORD:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     "Sort1:Reset:PAT:Patient_Number",
     {FileId::kPatients, "PAT:PATIENT_NUMBER"}},
};
constexpr ColumnRow kColumns[] = {{"ORD:DATE"}};
constexpr ButtonRow kButtons[] = {
    {3, ButtonRole::kInsert, nullptr}, {4, ButtonRole::kChange, nullptr},
    {5, ButtonRole::kDelete, nullptr}, {6, ButtonRole::kClose, nullptr},
    {7, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowseordPatkey = {
    "BROWSEORD:PATKEY",
    "carelog.cpp$carlg014",
    "BROWSEORD:PATKEY$QUICKWINDOW",
    FileId::kOrders,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    2,
    kButtons,
    {},
    "ENTERORDERS",
    false,
    false,
    nullptr,
};

void BROWSEORD_PATKEY() {
  RunBrowse(kBrowseordPatkey);
}

}  // namespace carelog::app
