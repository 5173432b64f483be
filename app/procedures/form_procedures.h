// The update forms of the application: one FormTable each, in its own file, run by the form
// engine (app/patterns/form_engine.h), and the procedure entries that run them.
#pragma once

#include "app/patterns/form_table.h"

namespace carelog::app::procedures {

extern const FormTable kUpdatePatients;
extern const FormTable kUpdateProgressNotes;
extern const FormTable kUpdateAddendum;
extern const FormTable kEnterOrders;
extern const FormTable kUpdateHha;
extern const FormTable kUpdateFamily;
extern const FormTable kUpdateCarePlan;
extern const FormTable kUpdateNarrative;
extern const FormTable kUpdateMeds;
extern const FormTable kDischargeSummary;
extern const FormTable kAddAppoint;
extern const FormTable kUpdateAddInfo;
extern const FormTable kUpdatePoc;
extern const FormTable kUpdateSixtyDay;
extern const FormTable kUpdateCalendar;
extern const FormTable kUpdateDoctors;
extern const FormTable kUpdateMonthCal;
extern const FormTable kUpdateCaseCon;
extern const FormTable kUpdateOrders;
extern const FormTable kUpdateHhaAssign;
extern const FormTable kUpdateMedications;
extern const FormTable kUpdateDischargeSummary;
extern const FormTable kUpdatePhyscians;

void UPDATEPATIENTS();
void UPDATEPROGRESSNOTES();
void UPDATEADDENDUM();
void ENTERORDERS();
void UPDATEHHA();
void UPDATEFAMILY();
void UPDATECAREPLAN();
void UPDATENARRATIVE();
void UPDATEMEDS();
void DISCHARGESUMMARY();
void ADDAPPOINT();
void UPDATEADDINFO();
void UPDATEPOC();
void UPDATESIXTYDAY();
void UPDATECALENDAR();
void UPDATEDOCTORS();
void UPDATEMONTHCAL();
void UPDATECASECON();
void UPDATEORDERS();
void UPDATEHHA_ASSIGN();
void UPDATEMEDICATIONS();
void UPDATEDISCHARGESUMMARY();
void UPDATEPHYSCIANS();

// Every form table, in catalogue order.
std::span<const FormTable* const> FormTables();

}  // namespace carelog::app::procedures
