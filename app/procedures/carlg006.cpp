// BROWSE_ALL_PROGRESS: Browse Records.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kPatients, FileId::kProgressNotes};
constexpr SortOrder kOrders[] = {
    {nullptr, "PRO:KEY_DATE", nullptr, nullptr, {}},
};
constexpr ColumnRow kColumns[] = {{"PAT:NAME"},    {"PRO:PATIENT_NUMBER"}, {"PRO:RECORD_NO"},
                                  {"PRO:TIME_IN"}, {"PRO:DATE"},           {"PRO:TIME_OUT"}};
constexpr LookupRow kLookup = {FileId::kPatients, "PAT:KEY_PATIENT_NUMBER", "PRO:PATIENT_NUMBER"};
constexpr ButtonRow kButtons[] = {
    {2, ButtonRole::kSelect, nullptr}, {3, ButtonRole::kPrint, "PRINTPROGRESS"},
    {5, ButtonRole::kInsert, nullptr}, {6, ButtonRole::kChange, nullptr},
    {7, ButtonRole::kDelete, nullptr}, {8, ButtonRole::kClose, nullptr},
    {9, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowseAllProgress = {
    "BROWSE_ALL_PROGRESS",
    "carelog.cpp$carlg006",
    "BROWSE_ALL_PROGRESS$BROWSEWINDOW",
    FileId::kProgressNotes,
    kFiles,
    kOrders,
    kColumns,
    &kLookup,
    1,
    4,
    kButtons,
    {},
    "UPDATEPROGRESSNOTES",
    true,
    false,
    nullptr,
};

void BROWSE_ALL_PROGRESS() {
  RunBrowse(kBrowseAllProgress);
}

}  // namespace carelog::app
