// BROWSENAR:PATIENT_NUMBER_KEY: the Narrative File by NAR:Patient_Number_Key.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kNarrative, FileId::kPatients};
constexpr SortOrder kOrders[] = {
    {nullptr,
     "NAR:PATIENT_NUMBER_KEY",
     "NAR:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     "Sort1:Reset:PAT:Patient_Number",
     {FileId::kPatients, "PAT:PATIENT_NUMBER"}},
};
constexpr ColumnRow kColumns[] = {{"NAR:PATIENT_NUMBER"}, {"NAR:RECORD_NO"}, {"NAR:DATE"}};
constexpr ButtonRow kButtons[] = {
    {2, ButtonRole::kPrint, "PRINTNARRATIVE"}, {4, ButtonRole::kInsert, nullptr},
    {5, ButtonRole::kChange, nullptr},         {6, ButtonRole::kDelete, nullptr},
    {7, ButtonRole::kClose, nullptr},          {8, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowsenarPatientNumberKey = {
    "BROWSENAR:PATIENT_NUMBER_KEY",
    "carelog.cpp$carlg020",
    "BROWSENAR:PATIENT_NUMBER_KEY$QUICKWINDOW",
    FileId::kNarrative,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    3,
    kButtons,
    {},
    "UPDATENARRATIVE",
    false,
    false,
    nullptr,
};

void BROWSENAR_PATIENT_NUMBER_KEY() {
  RunBrowse(kBrowsenarPatientNumberKey);
}

}  // namespace carelog::app
