// The browses, run by the browse engine from their tables. A run function of nullptr: not built
// yet.
#include "app/procedure_entries.h"

namespace carelog::app {
namespace {

constexpr EntryPointRow kEntryPoints[] = {
    {"BROWSEALL", nullptr},
    {"BROWSEPAT:DOCKEY", nullptr},
    {"BROWSEPHYSICIANS", nullptr},
    {"BROWSE_ALL_PROGRESS", nullptr},
    {"BROWSEDATE", nullptr},
    {"BROWSEDATES", nullptr},
    {"SELECTPATIENTS", nullptr},
    {"BROWSEPRO:KEY_PATIENT_NUMBER", nullptr},
    {"BROWSEPOC:PATKEY", nullptr},
    {"BROWSEADD:RECNOKEY", nullptr},
    {"BROWSESIX:PATKEY", nullptr},
    {"BROWSEORD:PATKEY", nullptr},
    {"BROWSEDAT:PATKEY", nullptr},
    {"BROWSEHHA:PATIENT_NO_KEY", nullptr},
    {"BROWSEDOC:KEY_PATIENT_NUMBER", nullptr},
    {"BROWSEFAM:KEY_PATIENT_NUMBER", nullptr},
    {"BROWSECAR:KEY_PATIENT_NUMBER", nullptr},
    {"BROWSENAR:PATIENT_NUMBER_KEY", nullptr},
    {"BROWSEMED:KEY_PATIENT_NUMBER", nullptr},
    {"BROWSEDIS:KEY_PATIENT_NUMBER", nullptr},
    {"BROWSECALENDERS", nullptr},
    {"BROWSEMON:PATIENTNUMBERKEY", nullptr},
    {"BROWSECONFERNCE", nullptr},
    {"BROWSECAS:PATIENTNUMBERKEY", nullptr},
};

}  // namespace

std::span<const EntryPointRow> BrowseEntryPoints() {
  return kEntryPoints;
}

}  // namespace carelog::app
