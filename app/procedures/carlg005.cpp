// BROWSEPHYSICIANS: the Physcians File.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kPhyscians};
constexpr SortOrder kOrders[] = {
    {nullptr, "PHY:NAMEKEY", nullptr, nullptr, {}},
};
constexpr ColumnRow kColumns[] = {{"PHY:NAME"},  {"PHY:ADDRESS1"}, {"PHY:ADDRESS2"}, {"PHY:CITY"},
                                  {"PHY:STATE"}, {"PHY:ZIP"},      {"PHY:PHONE"}};
constexpr ButtonRow kButtons[] = {
    {2, ButtonRole::kSelect, nullptr}, {3, ButtonRole::kSubBrowse, "BROWSEPAT:DOCKEY"},
    {5, ButtonRole::kInsert, nullptr}, {6, ButtonRole::kChange, nullptr},
    {7, ButtonRole::kDelete, nullptr}, {8, ButtonRole::kClose, nullptr},
    {9, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowsephysicians = {
    "BROWSEPHYSICIANS",
    "carelog.cpp$carlg005",
    "BROWSEPHYSICIANS$QUICKWINDOW",
    FileId::kPhyscians,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    4,
    kButtons,
    {},
    "UPDATEPHYSCIANS",
    false,
    false,
    nullptr,
};

void BROWSEPHYSICIANS() {
  RunBrowse(kBrowsephysicians);
}

}  // namespace carelog::app
