// BROWSEDATE: the ProgressNotes File.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kPatients, FileId::kProgressNotes};
constexpr SortOrder kOrders[] = {
    {nullptr,
     "PRO:KEY_DATE",
     "PRO:Date = LOC:Date",
     "Sort1:Reset:LOC:Date",
     {FileId::kPatients, nullptr}},
};
constexpr ColumnRow kColumns[] = {{"PRO:DATE"}, {"PRO:TIME_IN"}, {"PRO:TIME_OUT"},
                                  {"PAT:NAME"}, {"PRO:MILAGE"},  {"PRO:SITTING_BP"}};
constexpr LookupRow kLookup = {FileId::kPatients, "PAT:KEY_PATIENT_NUMBER", "PRO:PATIENT_NUMBER"};
constexpr ButtonRow kButtons[] = {
    {2, ButtonRole::kSelect, nullptr}, {4, ButtonRole::kInsert, nullptr},
    {5, ButtonRole::kChange, nullptr}, {6, ButtonRole::kDelete, nullptr},
    {7, ButtonRole::kClose, nullptr},  {8, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowsedate = {
    "BROWSEDATE",
    "carelog.cpp$carlg007",
    "BROWSEDATE$QUICKWINDOW",
    FileId::kProgressNotes,
    kFiles,
    kOrders,
    kColumns,
    &kLookup,
    1,
    3,
    kButtons,
    {},
    "UPDATEPROGRESSNOTES",
    false,
    false,
    "LOC:Date",
};

void BROWSEDATE() {
  RunBrowse(kBrowsedate);
}

}  // namespace carelog::app
