// BROWSEALL: the Patients File.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kPatients};
constexpr SortOrder kOrders[] = {
    {"Agency Names", "PAT:AGENCYKEY", nullptr, nullptr, {}},
    {"Last Names", "PAT:KEY_LAST_NAME", nullptr, nullptr, {}},
    {"Physician Names", "PAT:KEY_PHYSICIAN_NAME", nullptr, nullptr, {}},
    {"Next Visit", "PAT:KEY_NEXT_VISIT", nullptr, nullptr, {}},
    {"Patient Number", "PAT:KEY_PATIENT_NUMBER", nullptr, nullptr, {}},
    {nullptr, "PAT:KEY_PATIENT_NUMBER", nullptr, nullptr, {}},  // any other tab
};
constexpr ColumnRow kColumns[] = {
    {"PAT:NAME"}, {"PAT:NEXT_VISIT"}, {"PAT:PHONE_NUMBER"}, {"PAT:PATIENT_NUMBER"}, {"PAT:AGENCY"}};
constexpr ButtonRow kButtons[] = {
    {2, ButtonRole::kSelect, nullptr},
    {4, ButtonRole::kInsert, nullptr},
    {5, ButtonRole::kChange, nullptr},
    {6, ButtonRole::kDelete, nullptr},
    {7, ButtonRole::kSubBrowse, "BROWSEPRO:KEY_PATIENT_NUMBER"},
    {8, ButtonRole::kSubBrowse, "BROWSEPOC:PATKEY"},
    {9, ButtonRole::kSubBrowse, "BROWSESIX:PATKEY"},
    {10, ButtonRole::kSubBrowse, "BROWSEORD:PATKEY"},
    {11, ButtonRole::kSubBrowse, "BROWSEDAT:PATKEY"},
    {12, ButtonRole::kSubBrowse, "BROWSEHHA:PATIENT_NO_KEY"},
    {13, ButtonRole::kSubBrowse, "BROWSEDOC:KEY_PATIENT_NUMBER"},
    {14, ButtonRole::kSubBrowse, "BROWSEFAM:KEY_PATIENT_NUMBER"},
    {15, ButtonRole::kSubBrowse, "BROWSECAR:KEY_PATIENT_NUMBER"},
    {16, ButtonRole::kSubBrowse, "BROWSENAR:PATIENT_NUMBER_KEY"},
    {17, ButtonRole::kSubBrowse, "BROWSEMED:KEY_PATIENT_NUMBER"},
    {18, ButtonRole::kSubBrowse, "BROWSEDIS:KEY_PATIENT_NUMBER"},
    {19, ButtonRole::kSubBrowse, "BROWSECALENDERS"},
    {20, ButtonRole::kSubBrowse, "BROWSECONFERNCE"},
    {21, ButtonRole::kClose, nullptr},
    {22, ButtonRole::kHelp, nullptr},
};
constexpr MenuRow kMenu[] = {{-2, "PRINTINFO"}};

}  // namespace

const BrowseTable kBrowseall = {
    "BROWSEALL",
    "carelog.cpp$carlg003",
    "BROWSEALL$QUICKWINDOW",
    FileId::kPatients,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    3,
    kButtons,
    kMenu,
    "UPDATEPATIENTS",
    true,
    false,
    nullptr,
};

void BROWSEALL() {
  RunBrowse(kBrowseall);
}

}  // namespace carelog::app
