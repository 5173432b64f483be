// The browse-box tables of the forms that hold boxes (form_boxes.cpp).
#pragma once

namespace carelog::app {
struct BrowseTable;
}

namespace carelog::app::procedures {

inline constexpr int kPatientBoxCount = 14;
extern const BrowseTable* const kPatientBoxes[kPatientBoxCount];
extern const BrowseTable* const kAddendumBoxes[1];
extern const BrowseTable* const kPhysicianPatientBoxes[1];

}  // namespace carelog::app::procedures
