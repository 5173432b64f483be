// The record buffers of the eighteen data files: one packed structure per file, members named
// and ordered as declared (PAT:LAST_NAME is PAT.LAST_NAME), with no gaps, so that a buffer is
// the stored record image byte for byte.
//
// Field types: LONG int32_t, ULONG uint32_t, SHORT int16_t, BYTE uint8_t (little-endian, as
// stored), STRING(n) char[n] padded with blanks and not terminated, DECIMAL(d, p)
// PackedDecimal<d, p>, DIM(n) an array of n elements (element 1 first), GROUP a nested structure.
// Every member's offset is checked at compile time against the declared offset by the file's
// field table (see the *_files.cpp tables); the record sizes are checked here.
//
// Numeric members may sit at any address: read and assign them by value; do not bind a
// reference or an int32_t* to one (copy it first: int32_t{PAT.PATIENT_NUMBER}), and hand a
// member's address on only as bytes.
//
// THREAD files have one buffer per thread (thread_local); POC and Fonts have one per process.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "app/data/packed_decimal.h"

namespace carelog::appdata {

static_assert(std::endian::native == std::endian::little,
              "record buffers hold their numbers in the stored (little-endian) order");

#pragma pack(push, 1)

// Patients (PAT): one record per patient.
struct PatientsRecord {
  int32_t PATIENT_NUMBER;
  char AGENCY[40];
  char NAME[40];
  char FIRST_NAME[20];
  char LAST_NAME[20];
  int32_t SOC;
  char FREQUENCY[20];
  char DX[200];
  char SEX[1];
  int32_t HEIGHT;
  int32_t WEIGHT;
  char ALLERGIES[50];
  char SOCIAL_SECURITY[11];
  char MEDICARE_NUMBER[12];
  int32_t DATE_OF_BIRTH;
  char PHONE_NUMBER[14];
  char ADDRESS_1[20];
  char ADDRESS_2[20];
  char CITY[20];
  char STATE[2];
  int32_t ZIPCODE;
  int32_t PHYSICIAN_NAME;
  char PHARMACY[35];
  char PHARMACY_ADDRESS[35];
  char PHARMACY_PHONE[14];
  int32_t NEXT_VISIT;
  int32_t TIME_NEXT_VISIT;
};
static_assert(sizeof(PatientsRecord) == 610);

// Physcians (PHY): attending physicians, referred to by number from Patients.
struct PhysciansRecord {
  int32_t DOCNO;
  char NAME[40];
  char ADDRESS1[40];
  char ADDRESS2[40];
  char CITY[20];
  char STATE[2];
  char ZIP[10];
  char PHONE[16];
};
static_assert(sizeof(PhysciansRecord) == 172);

// ProgressNotes (PRO): visit progress notes.
struct ProgressNotesRecord {
  int32_t PATIENT_NUMBER;
  int32_t DATE;
  char MILAGE[1];
  int32_t RECORD_NO;
  int32_t TIME_IN;
  int32_t TIME_OUT;
  uint8_t TYPE_OF_VISIT[5];
  int32_t LYING_BP;
  int32_t SITTING_BP;
  uint32_t STANDING_BP;
  int32_t AP;
  int32_t RP;
  int32_t RESP;
  int32_t TEMPERATURE;
  int32_t WEIGHT;
  char LUNG_SOUNDS[20];
  char BOWEL_SOUNDS[20];
  char APPETITE[20];
  char BM[20];
  char PERIPHERAL_EDEMA[20];
  char SKIN_TEMP_AND_COLOR[40];
  uint8_t MENTAL_STATUS[4];
  char ADLS[40];
  char SAFETY_MEASURES[80];
  char HOMEBOUND_STATUS[80];
  uint8_t MD_CONTACTED[2];
  uint8_t VENIPUNCTURE[2];
  char TYPE_VENIPUNCTURE[40];
  uint8_t MEDICATION_CHANGES[2];
  char TYPE_MEDICATION_CHANGES[50];
  uint8_t FOLLOWING[2];
  uint8_t RELATIONSHIP[3];
  uint8_t RESPONSE[3];
  uint8_t HHA[4];
  uint8_t CAREPLANUPDATE[2];
};
static_assert(sizeof(ProgressNotesRecord) == 512);

// Medications (MED): medication sheets of 16 lines.
struct MedicationsRecord {
  int32_t PATIENT_NUMBER;
  int32_t RECORD_NO;
  int32_t DATE;
  int32_t START_DATE[16];
  char DRUG[16][40];
  char DOSE[16][10];
  char FREQ_ROUTE[16][10];
  int32_t DC_DATE[16];
  char CLASS[16][2];
  char CLASS_CODE[2][2];
  char A[2][160];
  char SE[2][160];
  char CI[2][160];
};
static_assert(sizeof(MedicationsRecord) == 2096);

// DischargeSummary (DIS): discharge summaries.
struct DischargeSummaryRecord {
  PackedDecimal<11, 0> PATIENT_NUMBER;
  int32_t RECORD_NO;
  int32_t DATE;
  int32_t BP[2];
  int32_t TEMPERATURE[2];
  int32_t P[2];
  int32_t R[2];
  int32_t WEIGHT[2];
  char OTHER[20];
  int32_t START_OF_CARE;
  uint8_t RN;
  uint8_t PT;
  uint8_t OT;
  uint8_t ST;
  uint8_t HHA;
  uint8_t DIPSOITION[13];
  int32_t EXPIRED;
  char HOSPITAL[35];
  char PATIENT[9][3];
  char CAREGIVER[9][3];
  char OTHERNOTE[35];
};
static_assert(sizeof(DischargeSummaryRecord) == 224);

// CarePlan (CAR): care plans of 12 problems.
struct CarePlanRecord {
  int32_t PATIENT_NUMBER;
  int32_t RECORD_NO;
  int32_t FROM_DATE;
  int32_t TO_DATE;
  char SHORT_TERM_GOALS[70];
  char LONG_TERM_GOALS[120];
  int32_t DATE[12];
  char PROBLEM[12][200];
  char APPROACH[12][200];
  char GOALS[12][200];
};
static_assert(sizeof(CarePlanRecord) == 7454);

// Narrative (NAR): narrative notes.
struct NarrativeRecord {
  int32_t PATIENT_NUMBER;
  int32_t RECORD_NO;
  int32_t DATE;
};
static_assert(sizeof(NarrativeRecord) == 12);

// Orders (ORD): physician's orders.
struct OrdersRecord {
  int32_t PATIENT_NUMBER;
  int32_t RECNO;
  int32_t DATE;
};
static_assert(sizeof(OrdersRecord) == 12);

// SixtyDay (SIX): sixty-day summaries.
struct SixtyDayRecord {
  int32_t PATIENT_NUMBER;
  int32_t RECNO;
  int32_t START_DATE;
  int32_t END_DATE;
  PackedDecimal<5, 2> LOWTEMP;
  PackedDecimal<7, 2> HIGHTEMP;
  uint8_t LOWPULSE;
  uint8_t HIGHPULSE;
  uint8_t LOWRESP;
  uint8_t HIGHRESP;
  int32_t LOWBP;
  int32_t HIGHBP;
  char ABNL_LABS[50];
  char ABNL_SUGARS[10];
};
static_assert(sizeof(SixtyDayRecord) == 95);

// HHA_Assign (HHA): home health aide assignment sheets (three columns of entries).
struct HhaAssignRecord {
  int32_t PATIENT_NUMBER;
  int32_t REC_NO;
  int32_t DATE;
  int32_t UPDATE_DATE[3];
  int32_t SOC;
  uint8_t TEMP[3];
  uint8_t RESP_PULSE[3];
  uint8_t B_P[3];
  uint8_t WEIGHT[3];
  char CLEAN[3][20];
  uint8_t HAIR[3];
  uint8_t SHAVE[3];
  uint8_t SKIN_CARE[3];
  uint8_t NAIL_CARE[3];
  uint8_t ORAL_DENTAL_CARE[3];
  uint8_t DRESSING[3];
  char ROM[3][1];
  uint8_t TOLIETING[3];
  uint8_t INCONTINENCE[3];
  uint8_t CATHETER_CARE[3];
  uint8_t ASSIST_AMBULATION[3];
  uint8_t TRANSFERS[3];
  uint8_t MEAL_PREP[3];
  uint8_t SHOPPING[3];
  uint8_t SAFETY[3];
  uint8_t REMIND_MEDS[3];
  uint8_t NON_STERILE_DRESSING[3];
  uint8_t LIGHT_HOUSEKEEPING[3];
  uint8_t LINEN_LAUNDRY[3];
  int32_t START_OF_SERVICES[3];
  uint8_t CONVENIENCE_SERVICES[3];
  uint8_t DOG_WALKING_PET_CARE[3];
  uint8_t HOUSE_CHECK[3];
  uint8_t PET_CARE_HOUSE_CHECK[3];
  uint8_t LAUNDRY[3];
  uint8_t SHOPPING_PERSONAL_OUTINGS[3];
  uint8_t ESCORT_OUT_OF_BUILDING[3];
  uint8_t MEAL_ESCORT_BREAKFAST[3];
  uint8_t MEAL_ESCORT_LUNCH[3];
  uint8_t MEAL_ESCORT_DINNER[3];
  uint8_t WAKE_UP_CARE[3];
  uint8_t BEDTIME_CARE[3];
  uint8_t DAILY_SPOT_CHECKS[3];
  uint8_t REMIND_MED[3];
  uint8_t TELEPHONE_REASSURANCE[3];
  uint8_t MAINTAIN_SAFE_ENVIRON[3];
  uint8_t HOUSE_CLEANING[3];
  uint8_t CARE_OF_BATHROOM_FLOOR[3];
  uint8_t CARE_OF_KITCHEN_FLOOR[3];
  uint8_t DUST[3];
  uint8_t VACUUM[3];
  uint8_t OVEN_CLEANING[3];
  uint8_t WASHWIN[3];
  char SPECIAL_INSTRUCTIONS[2][255];
  char OTHER[2][20];
  uint8_t OTHER_JOB[6];
};
static_assert(sizeof(HhaAssignRecord) == 794);

// MonthCal (MON): month calendars of 42 day cells.
struct MonthCalRecord {
  int32_t PATIENT_NUMBER;
  int32_t RECNO;
  char DAY_INFO[42][20];
  int32_t DAYNO[42];
  int32_t CALENDARDATE;
};
static_assert(sizeof(MonthCalRecord) == 1020);

// Calendar (DAT): appointments.
struct CalendarRecord {
  int32_t PATIENT_NUMBER;
  int32_t DAYNO;
  int32_t TIMEIN;
  uint32_t TIMEOUT;
  char NOTES[100];
};
static_assert(sizeof(CalendarRecord) == 116);

// Family (FAM): family contacts.
struct FamilyRecord {
  int32_t PATIENT_NUMBER;
  char NAME[30];
  char RELATIONSHIP[20];
  char PHONE[14];
};
static_assert(sizeof(FamilyRecord) == 68);

// Doctors (DOC): other doctors of a patient.
struct DoctorsRecord {
  int32_t PATIENT_NUMBER;
  char DOCTOR_NAME[20];
  char TYPE[20];
  char PHONE[14];
};
static_assert(sizeof(DoctorsRecord) == 58);

// POC:FUNCTIONALLIMITATIONS, a GROUP of the POC record.
struct PocFunctionalLimitations {
  uint8_t AMPUTATION;
  uint8_t BOWEL;
  uint8_t CONTRACTURE;
  uint8_t HEARING;
  uint8_t PARALYSIS;
  uint8_t ENDURANCE;
  uint8_t AMBULATION;
  uint8_t SPEECH;
  uint8_t BLIND;
  uint8_t DYSPNEA;
  uint8_t OTHER;
  char OTHERLIM[30];
};
// POC:ACTIVITIESPERMITTED, a GROUP of the POC record.
struct PocActivitiesPermitted {
  uint8_t TOTBED;
  uint8_t BEDBRP;
  uint8_t UPASTOL;
  uint8_t BEDCHAIR;
  uint8_t EXERPRES;
  uint8_t PARTWGHT;
  uint8_t INDPEND;
  uint8_t CRUTCHES;
  uint8_t CANE;
  uint8_t WHEELCHAIR;
  uint8_t WALKER;
  uint8_t NONE;
  uint8_t OTHERACT;
  char OTHERACTINFO[20];
};
// POC:MENTALSTATUS, a GROUP of the POC record.
struct PocMentalStatus {
  uint8_t ORIENTED;
  uint8_t COMATOSE;
  uint8_t FORGETFUL;
  uint8_t DEPRESSED;
  uint8_t DISORIENTED;
  uint8_t LETHARGIC;
  uint8_t AGITATED;
  uint8_t OTHERMENTAL;
};
// POC:PROGNOSIS, a GROUP of the POC record.
struct PocPrognosis {
  uint8_t POOR;
  uint8_t GUARDED;
  uint8_t FAIR;
  uint8_t GOOD;
  uint8_t EXCELLENT;
};
// POC (POC): plans of care.
struct PocRecord {
  int32_t PATIENT_NUMBER;
  int32_t REC_NO;
  char MEDRECNO[15];
  int32_t FROMDATE;
  int32_t TODATE;
  char ICD9[7][7];
  char DX[7][40];
  int32_t DXDATE[7];
  char MEDS[9][50];
  char DME[50];
  char SAFETY[50];
  char NUTRITION[40];
  PocFunctionalLimitations FUNCTIONALLIMITATIONS;
  PocActivitiesPermitted ACTIVITIESPERMITTED;
  PocMentalStatus MENTALSTATUS;
  PocPrognosis PROGNOSIS;
};
static_assert(sizeof(PocRecord) == 1065);

// AddInfo (ADD): addendum text to a plan of care.
struct AddInfoRecord {
  int32_t RECNO;
};
static_assert(sizeof(AddInfoRecord) == 4);

// CaseCon (CAS): case conferences.
struct CaseConRecord {
  int32_t PATEINTNUMBER;
  int32_t DATE;
  int32_t RECNO;
};
static_assert(sizeof(CaseConRecord) == 12);

// Fonts (WFN): the display font.
struct FontsRecord {
  char FONTTYPEFACE[40];
  int16_t FONTSIZE;
  int32_t FONTCOLOR;
  int16_t FONTSTYLE;
};
static_assert(sizeof(FontsRecord) == 48);

#pragma pack(pop)

// An array element is at the field's offset plus (i - 1) times the element size.
static_assert(offsetof(CarePlanRecord, PROBLEM[11]) == 2454);

// The record buffers, named by file prefix.
extern thread_local PatientsRecord PAT;
extern thread_local PhysciansRecord PHY;
extern thread_local ProgressNotesRecord PRO;
extern thread_local MedicationsRecord MED;
extern thread_local DischargeSummaryRecord DIS;
extern thread_local CarePlanRecord CAR;
extern thread_local NarrativeRecord NAR;
extern thread_local OrdersRecord ORD;
extern thread_local SixtyDayRecord SIX;
extern thread_local HhaAssignRecord HHA;
extern thread_local MonthCalRecord MON;
extern thread_local CalendarRecord DAT;
extern thread_local FamilyRecord FAM;
extern thread_local DoctorsRecord DOC;
extern PocRecord POC;
extern thread_local AddInfoRecord ADD;
extern thread_local CaseConRecord CAS;
extern FontsRecord WFN;

}  // namespace carelog::appdata
