#include "app/procedure_catalogue.h"

#include <iterator>

#include "app/main_frame.h"
#include "app/procedure_globals.h"
#include "app/procedures/browse_procedures.h"
#include "runtime/window/threads.h"

namespace carelog::app {
namespace {

// In the order of the procedure list; the default-font column marks the procedures that show
// their window in DisplayFont.
constexpr CatalogueRow kCatalogue[] = {
    {"MAIN", true, &MAIN},
    {"CALENDAR", true, nullptr},
    {"GETINFO", false, nullptr},
    {"BROWSEALL", true, &BROWSEALL},
    {"BROWSEPAT:DOCKEY", false, &BROWSEPAT_DOCKEY},
    {"BROWSEPHYSICIANS", false, &BROWSEPHYSICIANS},
    {"BROWSE_ALL_PROGRESS", true, &BROWSE_ALL_PROGRESS},
    {"BROWSEDATE", true, &BROWSEDATE},
    {"BROWSEDATES", true, &BROWSEDATES},
    {"SELECTPATIENTS", false, &SELECTPATIENTS},
    {"BROWSEPRO:KEY_PATIENT_NUMBER", false, &BROWSEPRO_KEY_PATIENT_NUMBER},
    {"BROWSEPOC:PATKEY", true, &BROWSEPOC_PATKEY},
    {"BROWSEADD:RECNOKEY", false, &BROWSEADD_RECNOKEY},
    {"BROWSESIX:PATKEY", true, &BROWSESIX_PATKEY},
    {"BROWSEORD:PATKEY", true, &BROWSEORD_PATKEY},
    {"BROWSEDAT:PATKEY", false, &BROWSEDAT_PATKEY},
    {"BROWSEHHA:PATIENT_NO_KEY", false, &BROWSEHHA_PATIENT_NO_KEY},
    {"BROWSEDOC:KEY_PATIENT_NUMBER", false, &BROWSEDOC_KEY_PATIENT_NUMBER},
    {"BROWSEFAM:KEY_PATIENT_NUMBER", false, &BROWSEFAM_KEY_PATIENT_NUMBER},
    {"BROWSECAR:KEY_PATIENT_NUMBER", false, &BROWSECAR_KEY_PATIENT_NUMBER},
    {"BROWSENAR:PATIENT_NUMBER_KEY", false, &BROWSENAR_PATIENT_NUMBER_KEY},
    {"BROWSEMED:KEY_PATIENT_NUMBER", false, &BROWSEMED_KEY_PATIENT_NUMBER},
    {"BROWSEDIS:KEY_PATIENT_NUMBER", false, &BROWSEDIS_KEY_PATIENT_NUMBER},
    {"BROWSECALENDERS", false, &BROWSECALENDERS},
    {"BROWSEMON:PATIENTNUMBERKEY", false, &BROWSEMON_PATIENTNUMBERKEY},
    {"BROWSECONFERNCE", false, &BROWSECONFERNCE},
    {"BROWSECAS:PATIENTNUMBERKEY", false, &BROWSECAS_PATIENTNUMBERKEY},
    {"UPDATEPATIENTS", true, nullptr},
    {"UPDATEPROGRESSNOTES", true, nullptr},
    {"UPDATEADDENDUM", false, nullptr},
    {"ENTERORDERS", true, nullptr},
    {"UPDATEHHA", false, nullptr},
    {"UPDATEFAMILY", false, nullptr},
    {"UPDATECAREPLAN", false, nullptr},
    {"UPDATENARRATIVE", false, nullptr},
    {"UPDATEMEDS", false, nullptr},
    {"DISCHARGESUMMARY", false, nullptr},
    {"ADDAPPOINT", true, nullptr},
    {"UPDATEADDINFO", false, nullptr},
    {"UPDATEPOC", false, nullptr},
    {"UPDATESIXTYDAY", true, nullptr},
    {"UPDATECALENDAR", false, nullptr},
    {"UPDATEDOCTORS", false, nullptr},
    {"UPDATEMONTHCAL", false, nullptr},
    {"UPDATECASECON", false, nullptr},
    {"UPDATEORDERS", false, nullptr},
    {"UPDATEHHA_ASSIGN", false, nullptr},
    {"UPDATEMEDICATIONS", false, nullptr},
    {"UPDATEDISCHARGESUMMARY", false, nullptr},
    {"UPDATEPHYSCIANS", false, nullptr},
    {"PRINTTODAY", false, nullptr},
    {"PRINTLIST", false, nullptr},
    {"PRINTPROGRESS", false, nullptr},
    {"PRINT485", false, nullptr},
    {"PRINTADDENDUM", false, nullptr},
    {"PRINTSUMMARY", false, nullptr},
    {"PRINTHHA", false, nullptr},
    {"PRINTCAREPLAN", false, nullptr},
    {"PRINTNARRATIVE", false, nullptr},
    {"PRINTNEWMEDS", false, nullptr},
    {"PRINTDISCHARGE", false, nullptr},
    {"PRINTMONTH", false, nullptr},
    {"PRINTINFO", false, nullptr},
    {"PRINTCASECON", false, nullptr},
    {"REPORTPREVIEW", false, nullptr},
};
static_assert(std::size(kCatalogue) == 65);

}  // namespace

std::span<const CatalogueRow> Catalogue() {
  return kCatalogue;
}

const CatalogueRow* FindProcedure(std::string_view name) {
  for (const CatalogueRow& row : kCatalogue) {
    if (name == row.name) return &row;
  }
  return nullptr;
}

int StartProcedure(std::string_view name, size_t stack_size) {
  const CatalogueRow* row = FindProcedure(name);
  if (!row || !row->run) return 0;
  return window::Start(row->run, stack_size);
}

int CallProcedureByName(std::string_view name) {
  const CatalogueRow* row = FindProcedure(name);
  return CallProcedure(kNoRequest, row && row->run ? row->run : nullptr);
}

}  // namespace carelog::app
