// BROWSEPAT:DOCKEY: the Patients File by PAT:DocKey.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kPatients, FileId::kPhyscians};
constexpr SortOrder kOrders[] = {
    {nullptr,
     "PAT:DOCKEY",
     "PAT:Physician_Name = BRW1::Sort1:Reset:PHY:DocNo",
     "Sort1:Reset:PHY:DocNo",
     {FileId::kPhyscians, "PHY:DOCNO"}},
};
constexpr ColumnRow kColumns[] = {{"PAT:PATIENT_NUMBER"}, {"PAT:AGENCY"},    {"PAT:NAME"},
                                  {"PAT:FIRST_NAME"},     {"PAT:LAST_NAME"}, {"PAT:SOC"},
                                  {"PAT:FREQUENCY"},      {"PAT:DX"},        {"PAT:SEX"}};
constexpr ButtonRow kButtons[] = {
    {3, ButtonRole::kInsert, nullptr},
    {4, ButtonRole::kChange, nullptr},
    {5, ButtonRole::kDelete, nullptr},
    {6, ButtonRole::kSubBrowse, "BROWSECAS:PATIENTNUMBERKEY"},
    {7, ButtonRole::kSubBrowse, "BROWSEMON:PATIENTNUMBERKEY"},
    {8, ButtonRole::kSubBrowse, "BROWSEPOC:PATKEY"},
    {9, ButtonRole::kSubBrowse, "BROWSESIX:PATKEY"},
    {10, ButtonRole::kSubBrowse, "BROWSEORD:PATKEY"},
    {11, ButtonRole::kSubBrowse, "BROWSEDAT:PATKEY"},
    {12, ButtonRole::kSubBrowse, "BROWSEHHA:PATIENT_NO_KEY"},
    {13, ButtonRole::kSubBrowse, "BROWSEDOC:KEY_PATIENT_NUMBER"},
    {14, ButtonRole::kSubBrowse, "BROWSEFAM:KEY_PATIENT_NUMBER"},
    {15, ButtonRole::kSubBrowse, "BROWSECAR:KEY_PATIENT_NUMBER"},
    {16, ButtonRole::kSubBrowse, "BROWSEPRO:KEY_PATIENT_NUMBER"},
    {17, ButtonRole::kSubBrowse, "BROWSENAR:PATIENT_NUMBER_KEY"},
    {18, ButtonRole::kSubBrowse, "BROWSEMED:KEY_PATIENT_NUMBER"},
    {19, ButtonRole::kSubBrowse, "BROWSEDIS:KEY_PATIENT_NUMBER"},
    {20, ButtonRole::kClose, nullptr},
    {21, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowsepatDockey = {
    "BROWSEPAT:DOCKEY",
    "carelog.cpp$carlg004",
    "BROWSEPAT:DOCKEY$QUICKWINDOW",
    FileId::kPatients,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    2,
    kButtons,
    {},
    "UPDATEPATIENTS",
    false,
    false,
    nullptr,
};

void BROWSEPAT_DOCKEY() {
  RunBrowse(kBrowsepatDockey);
}

}  // namespace carelog::app
