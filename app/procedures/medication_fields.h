// The fields of a medication sheet, as both of its forms show them: the plain form's
// controls; the note form moves those from 101 on past its OK and "Cancel" buttons.
#pragma once

#include "app/patterns/form_table.h"
#include "app/procedures/patient_lookup.h"

namespace carelog::app::procedures {

inline constexpr FieldBinding kMedicationFields[] = {
    {3, "MED:PATIENT_NUMBER"},   {5, "MED:RECORD_NO"},       {7, "MED:DATE"},
    {9, "MED:START_DATE", 1},    {10, "MED:DRUG", 1},        {11, "MED:DOSE", 1},
    {12, "MED:FREQ_ROUTE", 1},   {13, "MED:DC_DATE", 1},     {14, "MED:CLASS", 1},
    {16, "MED:START_DATE", 2},   {17, "MED:DRUG", 2},        {18, "MED:DOSE", 2},
    {19, "MED:FREQ_ROUTE", 2},   {20, "MED:DC_DATE", 2},     {21, "MED:CLASS", 2},
    {23, "MED:START_DATE", 3},   {24, "MED:DRUG", 3},        {25, "MED:DOSE", 3},
    {26, "MED:FREQ_ROUTE", 3},   {27, "MED:DC_DATE", 3},     {28, "MED:CLASS", 3},
    {30, "MED:START_DATE", 4},   {31, "MED:DRUG", 4},        {32, "MED:DOSE", 4},
    {33, "MED:FREQ_ROUTE", 4},   {34, "MED:DC_DATE", 4},     {35, "MED:CLASS", 4},
    {37, "MED:START_DATE", 5},   {38, "MED:DRUG", 5},        {39, "MED:DOSE", 5},
    {40, "MED:FREQ_ROUTE", 5},   {41, "MED:DC_DATE", 5},     {42, "MED:CLASS", 5},
    {44, "MED:START_DATE", 6},   {45, "MED:DRUG", 6},        {46, "MED:DOSE", 6},
    {47, "MED:FREQ_ROUTE", 6},   {48, "MED:DC_DATE", 6},     {49, "MED:CLASS", 6},
    {51, "MED:START_DATE", 7},   {52, "MED:DRUG", 7},        {53, "MED:DOSE", 7},
    {54, "MED:FREQ_ROUTE", 7},   {55, "MED:DC_DATE", 7},     {56, "MED:CLASS", 7},
    {58, "MED:START_DATE", 8},   {59, "MED:DRUG", 8},        {60, "MED:DOSE", 8},
    {61, "MED:FREQ_ROUTE", 8},   {62, "MED:DC_DATE", 8},     {63, "MED:CLASS", 8},
    {65, "MED:START_DATE", 9},   {66, "MED:DRUG", 9},        {67, "MED:DOSE", 9},
    {68, "MED:FREQ_ROUTE", 9},   {69, "MED:DC_DATE", 9},     {70, "MED:CLASS", 9},
    {72, "MED:START_DATE", 10},  {73, "MED:DRUG", 10},       {74, "MED:DOSE", 10},
    {75, "MED:FREQ_ROUTE", 10},  {76, "MED:DC_DATE", 10},    {77, "MED:CLASS", 10},
    {79, "MED:START_DATE", 11},  {80, "MED:DRUG", 11},       {81, "MED:DOSE", 11},
    {82, "MED:FREQ_ROUTE", 11},  {83, "MED:DC_DATE", 11},    {84, "MED:CLASS", 11},
    {86, "MED:START_DATE", 12},  {87, "MED:DRUG", 12},       {88, "MED:DOSE", 12},
    {89, "MED:FREQ_ROUTE", 12},  {90, "MED:DC_DATE", 12},    {91, "MED:CLASS", 12},
    {93, "MED:START_DATE", 13},  {94, "MED:DRUG", 13},       {95, "MED:DOSE", 13},
    {96, "MED:FREQ_ROUTE", 13},  {97, "MED:DC_DATE", 13},    {98, "MED:CLASS", 13},
    {100, "MED:START_DATE", 14}, {101, "MED:DRUG", 14},      {102, "MED:DOSE", 14},
    {103, "MED:FREQ_ROUTE", 14}, {104, "MED:DC_DATE", 14},   {105, "MED:CLASS", 14},
    {107, "MED:START_DATE", 15}, {108, "MED:DRUG", 15},      {109, "MED:DOSE", 15},
    {110, "MED:FREQ_ROUTE", 15}, {111, "MED:DC_DATE", 15},   {112, "MED:CLASS", 15},
    {114, "MED:START_DATE", 16}, {115, "MED:DRUG", 16},      {116, "MED:DOSE", 16},
    {117, "MED:FREQ_ROUTE", 16}, {118, "MED:DC_DATE", 16},   {119, "MED:CLASS", 16},
    {121, "MED:CLASS_CODE", 1},  {123, "MED:A", 1},          {125, "MED:SE", 1},
    {127, "MED:CI", 1},          {129, "MED:CLASS_CODE", 2}, {131, "MED:A", 2},
    {133, "MED:SE", 2},          {135, "MED:CI", 2},
};

inline constexpr FieldLookupRow kMedicationLookups[] = {
    PatientLookup(3, "MED:PATIENT_NUMBER", "MED:Patient_Number"),
};

}  // namespace carelog::app::procedures
