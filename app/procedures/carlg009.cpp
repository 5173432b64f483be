// SELECTPATIENTS: Select a Patients Record.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kPatients};
constexpr SortOrder kOrders[] = {
    {"by Patient Number", "PAT:KEY_PATIENT_NUMBER", nullptr, nullptr, {}},
    {"by Agency", "PAT:AGENCYKEY", nullptr, nullptr, {}},
    {"by Last Name", "PAT:KEY_LAST_NAME", nullptr, nullptr, {}},
    {"by Physician", "PAT:KEY_PHYSICIAN_NAME", nullptr, nullptr, {}},
    {"by Next Visit", "PAT:KEY_NEXT_VISIT", nullptr, nullptr, {}},
};
constexpr ColumnRow kColumns[] = {{"PAT:PATIENT_NUMBER"}, {"PAT:AGENCY"},    {"PAT:NAME"},
                                  {"PAT:FIRST_NAME"},     {"PAT:LAST_NAME"}, {"PAT:SOC"},
                                  {"PAT:FREQUENCY"},      {"PAT:DX"},        {"PAT:SEX"}};
constexpr ButtonRow kButtons[] = {
    {3, ButtonRole::kSelect, nullptr},
    {4, ButtonRole::kClose, nullptr},
    {5, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kSelectpatients = {
    "SELECTPATIENTS",
    "carelog.cpp$carlg009",
    "SELECTPATIENTS$QUICKWINDOW",
    FileId::kPatients,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    2,
    kButtons,
    {},
    nullptr,
    false,
    true,
    nullptr,
};

void SELECTPATIENTS() {
  RunBrowse(kSelectpatients);
}

}  // namespace carelog::app
