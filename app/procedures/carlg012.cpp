// BROWSEADD:RECNOKEY: the AddInfo File by ADD:RecNoKey.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kAddInfo, FileId::kPoc};
constexpr SortOrder kOrders[] = {
    {nullptr,
     "ADD:RECNOKEY",
     "ADD:RecNo = BRW1::Sort1:Reset:POC:Rec_No",
     "Sort1:Reset:POC:Rec_No",
     {FileId::kPoc, "POC:REC_NO"}},
};
constexpr ColumnRow kColumns[] = {{"ADD:RECNO"}};
constexpr ButtonRow kButtons[] = {
    {3, ButtonRole::kInsert, nullptr}, {4, ButtonRole::kChange, nullptr},
    {5, ButtonRole::kDelete, nullptr}, {6, ButtonRole::kClose, nullptr},
    {7, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowseaddRecnokey = {
    "BROWSEADD:RECNOKEY",
    "carelog.cpp$carlg012",
    "BROWSEADD:RECNOKEY$QUICKWINDOW",
    FileId::kAddInfo,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    2,
    kButtons,
    {},
    "UPDATEADDENDUM",
    false,
    false,
    nullptr,
};

void BROWSEADD_RECNOKEY() {
  RunBrowse(kBrowseaddRecnokey);
}

}  // namespace carelog::app
