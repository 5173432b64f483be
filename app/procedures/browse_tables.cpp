#include "app/procedures/browse_procedures.h"

namespace carelog::app {

std::span<const BrowseTable* const> BrowseTables() {
  static const BrowseTable* const kTables[] = {
      &kBrowseall,
      &kBrowsepatDockey,
      &kBrowsephysicians,
      &kBrowseAllProgress,
      &kBrowsedate,
      &kBrowsedates,
      &kSelectpatients,
      &kBrowseproKeyPatientNumber,
      &kBrowsepocPatkey,
      &kBrowseaddRecnokey,
      &kBrowsesixPatkey,
      &kBrowseordPatkey,
      &kBrowsedatPatkey,
      &kBrowsehhaPatientNoKey,
      &kBrowsedocKeyPatientNumber,
      &kBrowsefamKeyPatientNumber,
      &kBrowsecarKeyPatientNumber,
      &kBrowsenarPatientNumberKey,
      &kBrowsemedKeyPatientNumber,
      &kBrowsedisKeyPatientNumber,
      &kBrowsecalenders,
      &kBrowsemonPatientnumberkey,
      &kBrowseconfernce,
      &kBrowsecasPatientnumberkey,
  };
  return kTables;
}

}  // namespace carelog::app
