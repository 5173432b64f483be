// UPDATEMONTHCAL: A month calendar (plain form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr FieldBinding kFields[] = {
    {3, "MON:PATIENT_NUMBER"}, {5, "MON:RECNO"},         {7, "MON:CALENDARDATE"},
    {9, "MON:DAYNO", 1},       {10, "MON:DAY_INFO", 1},  {11, "MON:DAYNO", 2},
    {12, "MON:DAY_INFO", 2},   {13, "MON:DAYNO", 3},     {14, "MON:DAY_INFO", 3},
    {15, "MON:DAYNO", 4},      {16, "MON:DAY_INFO", 4},  {17, "MON:DAYNO", 5},
    {18, "MON:DAY_INFO", 5},   {19, "MON:DAYNO", 6},     {20, "MON:DAY_INFO", 6},
    {21, "MON:DAYNO", 7},      {22, "MON:DAY_INFO", 7},  {24, "MON:DAYNO", 8},
    {25, "MON:DAY_INFO", 8},   {26, "MON:DAYNO", 9},     {27, "MON:DAY_INFO", 9},
    {28, "MON:DAYNO", 10},     {29, "MON:DAY_INFO", 10}, {30, "MON:DAYNO", 11},
    {31, "MON:DAY_INFO", 11},  {32, "MON:DAYNO", 12},    {33, "MON:DAY_INFO", 12},
    {34, "MON:DAYNO", 13},     {35, "MON:DAY_INFO", 13}, {36, "MON:DAYNO", 14},
    {37, "MON:DAY_INFO", 14},  {39, "MON:DAYNO", 15},    {40, "MON:DAY_INFO", 15},
    {41, "MON:DAYNO", 16},     {42, "MON:DAY_INFO", 16}, {43, "MON:DAYNO", 17},
    {44, "MON:DAY_INFO", 17},  {45, "MON:DAYNO", 18},    {46, "MON:DAY_INFO", 18},
    {47, "MON:DAYNO", 19},     {48, "MON:DAY_INFO", 19}, {49, "MON:DAYNO", 20},
    {50, "MON:DAY_INFO", 20},  {51, "MON:DAYNO", 21},    {52, "MON:DAY_INFO", 21},
    {54, "MON:DAYNO", 22},     {55, "MON:DAY_INFO", 22}, {56, "MON:DAYNO", 23},
    {57, "MON:DAY_INFO", 23},  {58, "MON:DAYNO", 24},    {59, "MON:DAY_INFO", 24},
    {60, "MON:DAYNO", 25},     {61, "MON:DAY_INFO", 25}, {62, "MON:DAYNO", 26},
    {63, "MON:DAY_INFO", 26},  {64, "MON:DAYNO", 27},    {65, "MON:DAY_INFO", 27},
    {66, "MON:DAYNO", 28},     {67, "MON:DAY_INFO", 28}, {69, "MON:DAYNO", 29},
    {70, "MON:DAY_INFO", 29},  {71, "MON:DAYNO", 30},    {72, "MON:DAY_INFO", 30},
    {73, "MON:DAYNO", 31},     {74, "MON:DAY_INFO", 31}, {75, "MON:DAYNO", 32},
    {76, "MON:DAY_INFO", 32},  {77, "MON:DAYNO", 33},    {78, "MON:DAY_INFO", 33},
    {79, "MON:DAYNO", 34},     {80, "MON:DAY_INFO", 34}, {81, "MON:DAYNO", 35},
    {82, "MON:DAY_INFO", 35},  {84, "MON:DAYNO", 36},    {85, "MON:DAY_INFO", 36},
    {86, "MON:DAYNO", 37},     {87, "MON:DAY_INFO", 37}, {88, "MON:DAYNO", 38},
    {89, "MON:DAY_INFO", 38},  {90, "MON:DAYNO", 39},    {91, "MON:DAY_INFO", 39},
    {92, "MON:DAYNO", 40},     {93, "MON:DAY_INFO", 40}, {94, "MON:DAYNO", 41},
    {95, "MON:DAY_INFO", 41},  {96, "MON:DAYNO", 42},    {97, "MON:DAY_INFO", 42},
};

constexpr const char* kDated[] = {"MON:CALENDARDATE"};

}  // namespace

constexpr FormTable kUpdateMonthCal = {
    .name = "UPDATEMONTHCAL",
    .module = "carelog.cpp$carlg043",
    .window = "UPDATEMONTHCAL$QUICKWINDOW",
    .file = FileId::kMonthCal,
    .flavour = FormFlavour::kPlain,
    .title = "MonthCal",
    .number_key = "MON:RECNOKEY",
    .number_field = "MON:RECNO",
    .patient_field = "MON:PATIENT_NUMBER",
    .dated_fields = kDated,
    .fields = kFields,
    .ok_button = 98,
    .cancel_button = 99,
};

void UPDATEMONTHCAL() {
  RunForm(kUpdateMonthCal);
}

}  // namespace carelog::app::procedures
