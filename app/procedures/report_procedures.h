// The report procedures: each runs the report pattern over its table (app/procedures/carlgNNN.cpp
// for PRINTTODAY to PRINTCASECON).
#pragma once

#include <cstdint>
#include <span>

#include "app/patterns/report_table.h"

namespace carelog::app {

extern const ReportTable kPrinttoday;      // PRINTTODAY
extern const ReportTable kPrintlist;       // PRINTLIST
extern const ReportTable kPrintprogress;   // PRINTPROGRESS
extern const ReportTable kPrintnewmeds;    // PRINTNEWMEDS
extern const ReportTable kPrint485;        // PRINT485
extern const ReportTable kPrintnarrative;  // PRINTNARRATIVE
extern const ReportTable kPrintinfo;       // PRINTINFO
extern const ReportTable kPrintcasecon;    // PRINTCASECON
extern const ReportTable kPrintdischarge;  // PRINTDISCHARGE
extern const ReportTable kPrintcareplan;   // PRINTCAREPLAN
extern const ReportTable kPrintsummary;    // PRINTSUMMARY
extern const ReportTable kPrintaddendum;   // PRINTADDENDUM
extern const ReportTable kPrinthha;        // PRINTHHA
extern const ReportTable kPrintmonth;      // PRINTMONTH

// The built report tables, for the catalogue test.
std::span<const ReportTable* const> ReportTables();

// The day a daily report prints: asked of the user, starting from `day` (a standard date).
using DayChooser = int32_t (*)(int32_t day);
void SetDayChooser(DayChooser chooser);
int32_t ChooseReportDay(int32_t day);
// Puts the chosen day, starting from today, into PRO:DATE.
void AskForTheDay();

void PRINTTODAY();
void PRINTLIST();
void PRINTPROGRESS();
void PRINTNEWMEDS();
void PRINT485();
void PRINTNARRATIVE();
void PRINTINFO();
void PRINTCASECON();
void PRINTDISCHARGE();
void PRINTCAREPLAN();
void PRINTSUMMARY();
void PRINTADDENDUM();
void PRINTHHA();
void PRINTMONTH();

}  // namespace carelog::app
