#include "app/procedure_catalogue.h"

#include <iterator>

#include "app/procedure_entries.h"
#include "app/procedure_globals.h"
#include "runtime/window/threads.h"

namespace carelog::app {
namespace {

// In module order. The last column marks the procedures that show their window in DisplayFont.
using K = ProcedureKind;

constexpr CatalogueRow kCatalogue[] = {
    {"MAIN", K::kFrame, "carelog", "APPFRAME", "The Care Log", "WFN", "program",
     "BROWSEALL BROWSEDATE BROWSEDATES BROWSEPHYSICIANS BROWSE_ALL_PROGRESS PRINTLIST PRINTTODAY",
     true},
    {"CALENDAR", K::kCalendarDialog, "carlg001", "CALWIN", "", "",
     "BROWSEDATE BROWSEDATES PRINTLIST PRINTTODAY", "", true},
    {"GETINFO", K::kDialog, "carlg002", "WINDOW", "", "", "UPDATEMONTHCAL", "", false},
    {"BROWSEALL", K::kBrowseSelect, "carlg003", "QUICKWINDOW", "Browse the Patients File", "PAT",
     "started ADDAPPOINT",
     "UPDATEPATIENTS PRINTINFO BROWSEPRO:KEY_PATIENT_NUMBER BROWSEPOC:PATKEY BROWSESIX:PATKEY "
     "BROWSEORD:PATKEY BROWSEDAT:PATKEY BROWSEHHA:PATIENT_NO_KEY BROWSEDOC:KEY_PATIENT_NUMBER "
     "BROWSEFAM:KEY_PATIENT_NUMBER BROWSECAR:KEY_PATIENT_NUMBER BROWSENAR:PATIENT_NUMBER_KEY "
     "BROWSEMED:KEY_PATIENT_NUMBER BROWSEDIS:KEY_PATIENT_NUMBER BROWSECALENDERS BROWSECONFERNCE",
     true},
    {"BROWSEPAT:DOCKEY", K::kBrowse, "carlg004", "QUICKWINDOW",
     "Browse the Patients File by PAT:DocKey", "PAT PHY", "BROWSEPHYSICIANS",
     "UPDATEPATIENTS BROWSEPRO:KEY_PATIENT_NUMBER BROWSEPOC:PATKEY BROWSESIX:PATKEY "
     "BROWSEORD:PATKEY BROWSEDAT:PATKEY BROWSEHHA:PATIENT_NO_KEY BROWSEDOC:KEY_PATIENT_NUMBER "
     "BROWSEFAM:KEY_PATIENT_NUMBER BROWSECAR:KEY_PATIENT_NUMBER BROWSENAR:PATIENT_NUMBER_KEY "
     "BROWSEMED:KEY_PATIENT_NUMBER BROWSEDIS:KEY_PATIENT_NUMBER BROWSEMON:PATIENTNUMBERKEY "
     "BROWSECAS:PATIENTNUMBERKEY",
     false},
    {"BROWSEPHYSICIANS", K::kBrowseSelect, "carlg005", "QUICKWINDOW", "Browse the Physcians File",
     "PHY", "started UPDATEPATIENTS", "UPDATEPHYSCIANS BROWSEPAT:DOCKEY", false},
    {"BROWSE_ALL_PROGRESS", K::kBrowseSelect, "carlg006", "BROWSEWINDOW", "Browse Records",
     "PAT PRO", "started", "UPDATEPROGRESSNOTES PRINTPROGRESS", true},
    {"BROWSEDATE", K::kBrowseSelect, "carlg007", "QUICKWINDOW", "Browse the ProgressNotes File",
     "PAT PRO", "started", "UPDATEPROGRESSNOTES CALENDAR", true},
    {"BROWSEDATES", K::kBrowseSelect, "carlg008", "BROWSEWINDOW", "Patient Names", "DAT PAT",
     "started",
     "ADDAPPOINT CALENDAR BROWSEPRO:KEY_PATIENT_NUMBER BROWSECAR:KEY_PATIENT_NUMBER "
     "BROWSEMED:KEY_PATIENT_NUMBER BROWSENAR:PATIENT_NUMBER_KEY BROWSEDIS:KEY_PATIENT_NUMBER "
     "BROWSEHHA:PATIENT_NO_KEY BROWSESIX:PATKEY BROWSEORD:PATKEY BROWSEDOC:KEY_PATIENT_NUMBER "
     "BROWSEFAM:KEY_PATIENT_NUMBER",
     true},
    {"SELECTPATIENTS", K::kSelectBrowse, "carlg009", "QUICKWINDOW", "Select a Patients Record",
     "PAT", "UPDATEDOCTORS UPDATEMEDICATIONS UPDATEDISCHARGESUMMARY BROWSECALENDERS", "", false},
    {"BROWSEPRO:KEY_PATIENT_NUMBER", K::kBrowse, "carlg010", "QUICKWINDOW",
     "Browse the ProgressNotes File by PRO:Key_Patient_Number", "PAT PRO",
     "BROWSEALL BROWSEPAT:DOCKEY BROWSEDATES", "UPDATEPROGRESSNOTES PRINTPROGRESS", false},
    {"BROWSEPOC:PATKEY", K::kBrowse, "carlg011", "QUICKWINDOW", "Browse the POC File by POC:PatKey",
     "POC PAT", "BROWSEALL BROWSEPAT:DOCKEY", "UPDATEPOC PRINT485 BROWSEADD:RECNOKEY", true},
    {"BROWSEADD:RECNOKEY", K::kBrowse, "carlg012", "QUICKWINDOW",
     "Browse the AddInfo File by ADD:RecNoKey", "ADD POC", "BROWSEPOC:PATKEY", "UPDATEADDENDUM",
     false},
    {"BROWSESIX:PATKEY", K::kBrowse, "carlg013", "QUICKWINDOW",
     "Browse the SixtyDay File by SIX:PatKey", "PAT SIX", "BROWSEALL BROWSEPAT:DOCKEY BROWSEDATES",
     "UPDATESIXTYDAY PRINTSUMMARY", true},
    {"BROWSEORD:PATKEY", K::kBrowse, "carlg014", "QUICKWINDOW",
     "Browse the Orders File by ORD:PatKey", "ORD PAT", "BROWSEALL BROWSEPAT:DOCKEY BROWSEDATES",
     "ENTERORDERS", true},
    {"BROWSEDAT:PATKEY", K::kBrowse, "carlg015", "QUICKWINDOW",
     "Browse the Calendar File by DAT:PatKey", "DAT PAT", "BROWSEALL BROWSEPAT:DOCKEY",
     "UPDATECALENDAR", false},
    {"BROWSEHHA:PATIENT_NO_KEY", K::kBrowse, "carlg016", "QUICKWINDOW",
     "Browse the HHA_Assign File by HHA:Patient_No_Key", "HHA PAT",
     "BROWSEALL BROWSEPAT:DOCKEY BROWSEDATES", "UPDATEHHA PRINTHHA", false},
    {"BROWSEDOC:KEY_PATIENT_NUMBER", K::kBrowse, "carlg017", "QUICKWINDOW",
     "Browse the Doctors File by DOC:Key_Patient_Number", "DOC PAT",
     "BROWSEALL BROWSEPAT:DOCKEY BROWSEDATES", "UPDATEDOCTORS", false},
    {"BROWSEFAM:KEY_PATIENT_NUMBER", K::kBrowse, "carlg018", "QUICKWINDOW",
     "Browse the Family File by FAM:Key_Patient_Number", "FAM PAT",
     "BROWSEALL BROWSEPAT:DOCKEY BROWSEDATES", "UPDATEFAMILY", false},
    {"BROWSECAR:KEY_PATIENT_NUMBER", K::kBrowse, "carlg019", "QUICKWINDOW",
     "Browse the CarePlan File by CAR:Key_Patient_Number", "CAR PAT",
     "BROWSEALL BROWSEPAT:DOCKEY BROWSEDATES", "UPDATECAREPLAN PRINTCAREPLAN", false},
    {"BROWSENAR:PATIENT_NUMBER_KEY", K::kBrowse, "carlg020", "QUICKWINDOW",
     "Browse the Narrative File by NAR:Patient_Number_Key", "NAR PAT",
     "BROWSEALL BROWSEPAT:DOCKEY BROWSEDATES", "UPDATENARRATIVE PRINTNARRATIVE", false},
    {"BROWSEMED:KEY_PATIENT_NUMBER", K::kBrowse, "carlg021", "QUICKWINDOW",
     "Browse the Medications File by MED:Key_Patient_Number", "MED PAT",
     "BROWSEALL BROWSEPAT:DOCKEY BROWSEDATES", "UPDATEMEDS PRINTNEWMEDS", false},
    {"BROWSEDIS:KEY_PATIENT_NUMBER", K::kBrowse, "carlg022", "QUICKWINDOW",
     "Browse the DischargeSummary File by DIS:Key_Patient_Number", "DIS PAT",
     "BROWSEALL BROWSEPAT:DOCKEY BROWSEDATES", "DISCHARGESUMMARY PRINTDISCHARGE", false},
    {"BROWSECALENDERS", K::kBrowseSelect, "carlg023", "QUICKWINDOW", "Browse the MonthCal File",
     "MON PAT", "BROWSEALL", "UPDATEMONTHCAL PRINTMONTH SELECTPATIENTS", false},
    {"BROWSEMON:PATIENTNUMBERKEY", K::kBrowse, "carlg024", "QUICKWINDOW",
     "Browse the MonthCal File by MON:PatientNumberKey", "MON PAT", "BROWSEPAT:DOCKEY",
     "UPDATEMONTHCAL", false},
    {"BROWSECONFERNCE", K::kBrowseSelect, "carlg025", "QUICKWINDOW", "Browse the CaseCon File",
     "CAS PAT", "BROWSEALL", "UPDATECASECON PRINTCASECON", false},
    {"BROWSECAS:PATIENTNUMBERKEY", K::kBrowse, "carlg026", "QUICKWINDOW",
     "Browse the CaseCon File by CAS:PatientNumberKey", "CAS PAT", "BROWSEPAT:DOCKEY",
     "UPDATECASECON", false},
    {"UPDATEPATIENTS", K::kPatientForm, "carlg027", "QUICKWINDOW", "Update the Patients File",
     "PAT PRO POC SIX ORD DAT HHA DOC FAM CAR NAR MED DIS MON CAS",
     "BROWSEALL BROWSEPAT:DOCKEY UPDATEPHYSCIANS",
     "UPDATEPROGRESSNOTES UPDATEPOC UPDATESIXTYDAY UPDATEORDERS UPDATECALENDAR UPDATEHHA_ASSIGN "
     "UPDATEDOCTORS UPDATEFAMILY UPDATECAREPLAN UPDATENARRATIVE UPDATEMEDICATIONS "
     "UPDATEDISCHARGESUMMARY UPDATEMONTHCAL UPDATECASECON BROWSEPHYSICIANS",
     true},
    {"UPDATEPROGRESSNOTES", K::kNoteForm, "carlg028", "FORMWINDOW", "Update Records...", "PAT PRO",
     "BROWSEPRO:KEY_PATIENT_NUMBER BROWSE_ALL_PROGRESS BROWSEDATE UPDATEPATIENTS", "", true},
    {"UPDATEADDENDUM", K::kNoteForm, "carlg029", "FORMWINDOW", "Update Records...", "ADD POC",
     "BROWSEADD:RECNOKEY", "", false},
    {"ENTERORDERS", K::kNoteForm, "carlg030", "FORMWINDOW", "Update Records...", "ORD PAT",
     "BROWSEORD:PATKEY", "", true},
    {"UPDATEHHA", K::kNoteForm, "carlg031", "FORMWINDOW", "Home Health Aid Sheet", "HHA PAT",
     "BROWSEHHA:PATIENT_NO_KEY", "", false},
    {"UPDATEFAMILY", K::kNoteForm, "carlg032", "FORMWINDOW", "Update Records...", "FAM",
     "BROWSEFAM:KEY_PATIENT_NUMBER UPDATEPATIENTS", "", false},
    {"UPDATECAREPLAN", K::kNoteForm, "carlg033", "FORMWINDOW", "Client Care Plan", "CAR PAT",
     "BROWSECAR:KEY_PATIENT_NUMBER UPDATEPATIENTS", "", false},
    {"UPDATENARRATIVE", K::kNoteForm, "carlg034", "FORMWINDOW", "Update Records...", "NAR PAT",
     "BROWSENAR:PATIENT_NUMBER_KEY UPDATEPATIENTS", "", false},
    {"UPDATEMEDS", K::kNoteForm, "carlg035", "FORMWINDOW", "Medications", "MED PAT",
     "BROWSEMED:KEY_PATIENT_NUMBER", "", false},
    {"DISCHARGESUMMARY", K::kNoteForm, "carlg036", "FORMWINDOW", "Discharge Summary",
     "DIS MED PAT PRO", "BROWSEDIS:KEY_PATIENT_NUMBER", "", false},
    {"ADDAPPOINT", K::kNoteForm, "carlg037", "FORMWINDOW", "Update Records...", "DAT PAT",
     "BROWSEDATES", "BROWSEALL", true},
    {"UPDATEADDINFO", K::kPlainForm, "carlg038", "QUICKWINDOW", "Update the AddInfo File",
     "ADD POC", "UPDATEPOC", "", false},
    {"UPDATEPOC", K::kPlainForm, "carlg039", "QUICKWINDOW", "Update the POC File", "ADD POC PAT",
     "BROWSEPOC:PATKEY UPDATEPATIENTS", "UPDATEADDINFO", false},
    {"UPDATESIXTYDAY", K::kPlainForm, "carlg040", "QUICKWINDOW", "Update the SixtyDay File",
     "PAT PRO SIX", "BROWSESIX:PATKEY UPDATEPATIENTS", "", true},
    {"UPDATECALENDAR", K::kPlainForm, "carlg041", "QUICKWINDOW", "Update the Calendar File", "DAT",
     "BROWSEDAT:PATKEY UPDATEPATIENTS", "", false},
    {"UPDATEDOCTORS", K::kPlainForm, "carlg042", "QUICKWINDOW", "Update the Doctors File",
     "DOC PAT", "BROWSEDOC:KEY_PATIENT_NUMBER UPDATEPATIENTS", "SELECTPATIENTS", false},
    {"UPDATEMONTHCAL", K::kPlainForm, "carlg043", "QUICKWINDOW", "Update the MonthCal File", "MON",
     "BROWSECALENDERS BROWSEMON:PATIENTNUMBERKEY UPDATEPATIENTS", "GETINFO", false},
    {"UPDATECASECON", K::kPlainForm, "carlg044", "QUICKWINDOW", "Update the Case Conference File",
     "CAS PAT", "BROWSECONFERNCE BROWSECAS:PATIENTNUMBERKEY UPDATEPATIENTS", "", false},
    {"UPDATEORDERS", K::kPlainForm, "carlg045", "QUICKWINDOW", "Update the Orders File", "ORD",
     "UPDATEPATIENTS", "", false},
    {"UPDATEHHA_ASSIGN", K::kPlainForm, "carlg046", "QUICKWINDOW", "Update the HHA_Assign File",
     "HHA", "UPDATEPATIENTS", "", false},
    {"UPDATEMEDICATIONS", K::kPlainForm, "carlg047", "QUICKWINDOW", "Update the Medications File",
     "MED PAT", "UPDATEPATIENTS", "SELECTPATIENTS", false},
    {"UPDATEDISCHARGESUMMARY", K::kPlainForm, "carlg048", "QUICKWINDOW",
     "Update the DischargeSummary File", "DIS PAT", "UPDATEPATIENTS", "SELECTPATIENTS", false},
    {"UPDATEPHYSCIANS", K::kPlainForm, "carlg049", "QUICKWINDOW", "Update the Physcians File",
     "PAT PHY", "BROWSEPHYSICIANS", "UPDATEPATIENTS", false},
    {"PRINTTODAY", K::kReport, "carlg050", "REPORT PROGRESSWINDOW", "Progress Notes", "PAT PRO",
     "MAIN", "CALENDAR REPORTPREVIEW", false},
    {"PRINTLIST", K::kReport, "carlg051", "REPORT PROGRESSWINDOW", "", "PAT PRO", "MAIN",
     "CALENDAR REPORTPREVIEW", false},
    {"PRINTPROGRESS", K::kReport, "carlg052", "REPORT PROGRESSWINDOW", "", "PAT PRO",
     "BROWSEPRO:KEY_PATIENT_NUMBER BROWSE_ALL_PROGRESS", "REPORTPREVIEW", false},
    {"PRINT485", K::kReport, "carlg053", "REPORT PROGRESSWINDOW", "485 Main Sheet", "POC PAT",
     "BROWSEPOC:PATKEY", "PRINTADDENDUM REPORTPREVIEW", false},
    {"PRINTADDENDUM", K::kReport, "carlg054", "REPORT PROGRESSWINDOW", "", "ADD POC PAT",
     "PRINT485", "REPORTPREVIEW", false},
    {"PRINTSUMMARY", K::kReport, "carlg055", "REPORT PROGRESSWINDOW", "", "PAT SIX",
     "BROWSESIX:PATKEY", "", false},
    {"PRINTHHA", K::kReport, "carlg056", "REPORT PROGRESSWINDOW", "", "HHA",
     "BROWSEHHA:PATIENT_NO_KEY", "", false},
    {"PRINTCAREPLAN", K::kReport, "carlg057", "REPORT PROGRESSWINDOW", "", "CAR PAT",
     "BROWSECAR:KEY_PATIENT_NUMBER", "", false},
    {"PRINTNARRATIVE", K::kReport, "carlg058", "REPORT PROGRESSWINDOW", "", "NAR PAT",
     "BROWSENAR:PATIENT_NUMBER_KEY", "REPORTPREVIEW", false},
    {"PRINTNEWMEDS", K::kReport, "carlg059", "REPORT PROGRESSWINDOW", "", "MED PAT",
     "BROWSEMED:KEY_PATIENT_NUMBER", "", false},
    {"PRINTDISCHARGE", K::kReport, "carlg060", "REPORT PROGRESSWINDOW", "", "DIS PAT",
     "BROWSEDIS:KEY_PATIENT_NUMBER", "REPORTPREVIEW", false},
    {"PRINTMONTH", K::kReport, "carlg061", "REPORT PROGRESSWINDOW", "", "MON PAT",
     "BROWSECALENDERS", "REPORTPREVIEW", false},
    {"PRINTINFO", K::kReport, "carlg062", "REPORT PROGRESSWINDOW", "", "PAT", "BROWSEALL", "",
     false},
    {"PRINTCASECON", K::kReport, "carlg063", "REPORT PROGRESSWINDOW", "", "CAS PAT",
     "BROWSECONFERNCE", "REPORTPREVIEW", false},
    {"REPORTPREVIEW", K::kPreview, "carlg_rd", "PREVIEWWINDOW JUMPWINDOW", "Print Preview", "",
     "PRINTTODAY PRINTLIST PRINTPROGRESS PRINT485 PRINTADDENDUM PRINTNARRATIVE PRINTDISCHARGE "
     "PRINTMONTH PRINTCASECON",
     "", false},
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

std::vector<std::string_view> NamesOf(const char* list) {
  std::vector<std::string_view> names;
  std::string_view rest = list;
  while (!rest.empty()) {
    size_t blank = rest.find(' ');
    std::string_view name = rest.substr(0, blank);
    if (!name.empty()) names.push_back(name);
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
  }
  return names;
}

std::vector<std::string> WindowLabelsOf(const CatalogueRow& row) {
  std::vector<std::string> labels;
  for (std::string_view window : NamesOf(row.windows)) {
    labels.push_back(std::string(row.name) + "$" + std::string(window));
  }
  return labels;
}

std::string ModuleIdentifierOf(const CatalogueRow& row) {
  return std::string(kProgramName) + "$" + row.module;
}

ProcedureEntry EntryPointOf(std::string_view name) {
  if (!FindProcedure(name)) return nullptr;
  for (auto table : {FrameEntryPoints(), DialogEntryPoints(), BrowseEntryPoints(),
                     FormEntryPoints(), ReportEntryPoints()}) {
    for (const EntryPointRow& entry : table) {
      if (name == entry.name) return entry.run;
    }
  }
  return nullptr;
}

int StartProcedure(std::string_view name, size_t stack_size) {
  ProcedureEntry run = EntryPointOf(name);
  if (!run) return 0;
  return window::Start(run, stack_size);
}

int32_t CallProcedureByName(std::string_view name, int32_t request) {
  ProcedureEntry run = EntryPointOf(name);
  return CallProcedure(request, run ? std::function<void()>(run) : nullptr);
}

}  // namespace carelog::app
