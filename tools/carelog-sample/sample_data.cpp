#include "tools/carelog-sample/sample_data.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <string_view>

#include "app/data/dictionary.h"
#include "app/data/keys.h"
#include "app/data/records.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "runtime/store/table_ops.h"
#include "runtime/values/standard_date.h"

namespace carelog::sample {
namespace {

using namespace carelog::appdata;
using store::FileDeclaration;

constexpr std::array<std::string_view, 24> kLastNames = {
    "Abernathy", "Baptiste",   "Castillo",  "Delacroix", "Eriksen",   "Fairweather",
    "Gallagher", "Hoffmann",   "Ibarra",    "Jablonski", "Kowalczyk", "Lindqvist",
    "Moreau",    "Nakamura",   "O'Connell", "Petrakis",  "Quintero",  "Rasmussen",
    "Sandoval",  "Thibodeaux", "Underhill", "Valdez",    "Whitaker",  "Yamamoto"};
constexpr std::array<std::string_view, 20> kFirstNames = {
    "Agnes", "Bernard", "Clara",   "Dorothy", "Edwin",   "Florence", "Gerald",
    "Hazel", "Irving",  "June",    "Kenneth", "Loretta", "Mildred",  "Norman",
    "Opal",  "Percy",   "Rosalie", "Stanley", "Thelma",  "Walter"};
constexpr std::array<std::string_view, 4> kAgencies = {
    "Riverbend Home Health", "Northside Visiting Nurses", "Lakeshore Home Care",
    "Valley Community Nursing"};
constexpr std::array<std::string_view, 10> kDiagnoses = {
    "Congestive heart failure",
    "Type 2 diabetes mellitus, insulin dependent",
    "COPD with acute exacerbation",
    "Aftercare following hip replacement",
    "Stage 3 pressure ulcer, sacrum",
    "Hypertensive heart disease",
    "Cerebrovascular accident, late effects",
    "Chronic kidney disease, stage 4",
    "Parkinson's disease",
    "Osteoarthritis of both knees"};
constexpr std::array<std::string_view, 6> kFrequencies = {"1w4", "2w4",      "3w3, 2w3",
                                                          "1w9", "2w2, 1w6", "3w1, 2w8"};
constexpr std::array<std::string_view, 6> kAllergies = {"NKDA",    "Penicillin", "Sulfa",
                                                        "Codeine", "Latex",      "Iodine"};
constexpr std::array<std::string_view, 8> kCities = {"Millbrook", "Ashford",  "Cedar Falls",
                                                     "Dunmore",   "Elkridge", "Fairhaven",
                                                     "Glenwood",  "Harmony"};
constexpr std::array<std::string_view, 8> kStreets = {"Maple Ave", "Oak St",      "Birch Ln",
                                                      "Main St",   "Willow Dr",   "Elm Ct",
                                                      "Spruce Rd", "Chestnut Way"};
constexpr std::array<std::string_view, 4> kPharmacies = {"Corner Drug", "Main Street Pharmacy",
                                                         "HealthMart Plaza", "Family Apothecary"};
struct Drug {
  std::string_view name, dose, route, side_effects;
};
constexpr std::array<Drug, 10> kDrugs = {{
    {"Furosemide", "40 mg", "qd po", "Dizziness, low potassium"},
    {"Metformin", "500 mg", "bid po", "Nausea, diarrhea"},
    {"Lisinopril", "10 mg", "qd po", "Dry cough, dizziness"},
    {"Insulin glargine", "20 u", "hs sq", "Hypoglycemia"},
    {"Warfarin", "5 mg", "qd po", "Bleeding, bruising"},
    {"Albuterol", "2 puffs", "q4h inh", "Tremor, palpitations"},
    {"Carbidopa/levodopa", "25/100", "tid po", "Nausea, dyskinesia"},
    {"Acetaminophen", "650 mg", "q6h prn", "Liver strain at high doses"},
    {"Potassium chloride", "20 mEq", "qd po", "GI upset"},
    {"Metoprolol", "25 mg", "bid po", "Fatigue, slow pulse"},
}};
constexpr std::array<std::string_view, 6> kProblems = {"Knowledge deficit of disease process",
                                                       "Alteration in cardiac output",
                                                       "Impaired skin integrity",
                                                       "Risk for falls",
                                                       "Ineffective breathing pattern",
                                                       "Alteration in nutrition"};
constexpr std::array<std::string_view, 5> kObservations = {
    "Patient alert and oriented, ambulating with walker.",
    "Lungs with fine crackles at both bases; edema +1 at ankles.",
    "Wound bed pink and granulating, no odor or drainage.",
    "Blood sugars 110-180 per patient's log; diet reviewed.",
    "Caregiver present and participating in care."};

template <size_t N>
void Put(char (&field)[N], std::string_view text) {
  std::memset(field, ' ', N);
  std::memcpy(field, text.data(), std::min(N, text.size()));
}

class Generator {
 public:
  Generator(const SampleOptions& options, SampleCounts* counts)
      : options_(options), counts_(counts), rng_(options.seed) {}

  int Run() {
    int rc = 0;
    for (const FileInfo* spec : Catalogue()) {
      FileDeclaration& file = *spec->instance();
      if ((rc = store::Create(file)) != 0 || (rc = store::Open(file, 0x22)) != 0) return rc;
      // Streaming commits in batches rather than per statement; where the table layer does not
      // offer it (80), every statement commits on its own.
      if ((rc = store::Stream(file)) != 0 && rc != store::kErrUnsupportedFunction) return rc;
      rc = 0;
      ++counts_->files;
    }
    physicians_ = std::max(3, options_.patients / 12);
    for (int d = 1; d <= physicians_ && rc == 0; ++d) rc = AddPhysician(d);
    for (int p = 1; p <= options_.patients && rc == 0; ++p) rc = AddPatient(p);
    if (rc == 0) rc = AddFont();
    int closing = 0;
    for (const FileInfo* spec : Catalogue()) {
      int c = store::Close(*spec->instance());
      if (closing == 0) closing = c;
    }
    return rc != 0 ? rc : closing;
  }

 private:
  int Between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  template <typename T, size_t N>
  const T& Pick(const std::array<T, N>& list) {
    return list[static_cast<size_t>(Between(0, static_cast<int>(N) - 1))];
  }
  int32_t Today() const { return values::BuildDate(3, 2, 2026); }
  int32_t Time(int hour) { return values::BuildTime(hour, Between(0, 3) * 15, 0, 0); }
  std::string Phone() {
    return "(555) " + std::to_string(Between(200, 999)) + "-" + std::to_string(Between(1000, 9999));
  }

  int Add(FileDeclaration& file) {
    int rc = store::Add(file);
    if (rc == 0) ++counts_->records;
    return rc;
  }
  int Memo(FileDeclaration& file, int memo, const std::string& text) {
    return store::AssignMemo(file, memo, text);
  }

  int AddPhysician(int number) {
    PHY = {};
    PHY.DOCNO = number;
    Put(PHY.NAME, "Dr. " + std::string(Pick(kFirstNames)) + " " + std::string(Pick(kLastNames)));
    Put(PHY.ADDRESS1, std::to_string(Between(100, 9000)) + " " + std::string(Pick(kStreets)));
    Put(PHY.ADDRESS2, "Suite " + std::to_string(Between(100, 400)));
    Put(PHY.CITY, Pick(kCities));
    Put(PHY.STATE, "OH");
    Put(PHY.ZIP, std::to_string(Between(43000, 45999)));
    Put(PHY.PHONE, Phone());
    return Add(PhysciansFile());
  }

  int AddPatient(int number) {
    const int32_t today = Today();
    PAT = {};
    PAT.PATIENT_NUMBER = number;
    std::string first(Pick(kFirstNames)), last(Pick(kLastNames));
    Put(PAT.AGENCY, Pick(kAgencies));
    Put(PAT.NAME, last + ", " + first);
    Put(PAT.FIRST_NAME, first);
    Put(PAT.LAST_NAME, last);
    PAT.SOC = today - Between(10, 400);
    std::string frequency(Pick(kFrequencies)), dx(Pick(kDiagnoses));
    Put(PAT.FREQUENCY, frequency);
    Put(PAT.DX, dx);
    Put(PAT.SEX, Between(0, 2) == 0 ? "M" : "F");
    int inches = Between(58, 74);
    PAT.HEIGHT = inches / 12 * 100 + inches % 12;  // feet and inches, 5'08 as 508
    PAT.WEIGHT = Between(950, 2600);               // pounds in tenths
    Put(PAT.ALLERGIES, Pick(kAllergies));
    Put(PAT.SOCIAL_SECURITY, std::to_string(Between(100, 899)) + "-" +
                                 std::to_string(Between(10, 99)) + "-" +
                                 std::to_string(Between(1000, 9999)));
    Put(PAT.MEDICARE_NUMBER, std::to_string(Between(100000000, 999999999)) + "A");
    PAT.DATE_OF_BIRTH = values::BuildDate(Between(1, 12), Between(1, 28), Between(1922, 1958));
    Put(PAT.PHONE_NUMBER, Phone());
    Put(PAT.ADDRESS_1, std::to_string(Between(10, 9999)) + " " + std::string(Pick(kStreets)));
    Put(PAT.ADDRESS_2, Between(0, 3) == 0 ? "Apt " + std::to_string(Between(1, 40)) : "");
    Put(PAT.CITY, Pick(kCities));
    Put(PAT.STATE, "OH");
    PAT.ZIPCODE = Between(43000, 45999);
    PAT.PHYSICIAN_NAME = Between(1, physicians_);
    Put(PAT.PHARMACY, Pick(kPharmacies));
    Put(PAT.PHARMACY_ADDRESS, std::to_string(Between(10, 999)) + " Main St");
    Put(PAT.PHARMACY_PHONE, Phone());
    PAT.NEXT_VISIT = today + Between(1, 14);
    PAT.TIME_NEXT_VISIT = Time(Between(8, 16));
    FileDeclaration& patients = PatientsFile();
    int rc = Memo(patients, 1,
                  "Admitted for " + dx + ". Skilled nursing " + frequency +
                      " for assessment, teaching and medication management.");
    if (rc == 0) rc = Add(patients);
    const int32_t soc = PAT.SOC;
    for (int i = Between(0, 2); i > 0 && rc == 0; --i) rc = AddFamily(number, last);
    if (rc == 0) rc = AddDoctor(number);
    for (int i = Between(3, 6); i > 0 && rc == 0; --i) rc = AddProgressNote(number, soc);
    if (rc == 0) rc = AddMedications(number, soc);
    if (rc == 0) rc = AddCarePlan(number, soc);
    for (int i = Between(1, 2); i > 0 && rc == 0; --i) rc = AddOrder(number, soc);
    if (rc == 0) rc = AddSixtyDay(number, soc);
    if (rc == 0) rc = AddPlanOfCare(number, soc, dx);
    if (rc == 0) rc = AddAideAssignment(number, soc);
    if (rc == 0) rc = AddCalendars(number);
    if (rc == 0) rc = AddNarrative(number, soc);
    if (rc == 0) rc = AddCaseConference(number, soc);
    if (rc == 0 && Between(0, 9) == 0) rc = AddDischarge(number, soc);
    return rc;
  }

  int AddFamily(int patient, const std::string& last) {
    FAM = {};
    FAM.PATIENT_NUMBER = patient;
    Put(FAM.NAME, std::string(Pick(kFirstNames)) + " " + last);
    static constexpr std::array<std::string_view, 5> kRelations = {"Daughter", "Son", "Spouse",
                                                                   "Niece", "Neighbor"};
    Put(FAM.RELATIONSHIP, Pick(kRelations));
    Put(FAM.PHONE, Phone());
    return Add(FamilyFile());
  }

  int AddDoctor(int patient) {
    DOC = {};
    DOC.PATIENT_NUMBER = patient;
    Put(DOC.DOCTOR_NAME, "Dr. " + std::string(Pick(kLastNames)));
    static constexpr std::array<std::string_view, 4> kTypes = {"Cardiology", "Podiatry",
                                                               "Nephrology", "Pulmonology"};
    Put(DOC.TYPE, Pick(kTypes));
    Put(DOC.PHONE, Phone());
    return Add(DoctorsFile());
  }

  int AddProgressNote(int patient, int32_t soc) {
    PRO = {};
    PRO.PATIENT_NUMBER = patient;
    PRO.DATE = soc + Between(0, 60);
    Put(PRO.MILAGE, "Y");
    PRO.RECORD_NO = ++progress_notes_;
    int hour = Between(8, 16);
    PRO.TIME_IN = Time(hour);
    PRO.TIME_OUT = Time(hour + 1);
    PRO.TYPE_OF_VISIT[Between(0, 4)] = 1;
    PRO.SITTING_BP = Between(110, 160);
    PRO.AP = Between(58, 96);
    PRO.RESP = Between(14, 22);
    PRO.TEMPERATURE = Between(970, 1004);
    PRO.WEIGHT = Between(950, 2600);
    Put(PRO.LUNG_SOUNDS, Between(0, 2) == 0 ? "Crackles at bases" : "Clear");
    Put(PRO.BOWEL_SOUNDS, "Active x4");
    Put(PRO.APPETITE, Between(0, 3) == 0 ? "Poor" : "Good");
    Put(PRO.BM, "Regular");
    Put(PRO.PERIPHERAL_EDEMA, Between(0, 2) == 0 ? "+1 ankles" : "None");
    Put(PRO.SKIN_TEMP_AND_COLOR, "Warm, dry, color appropriate");
    PRO.MENTAL_STATUS[0] = 1;
    Put(PRO.ADLS, "Independent with assistive device");
    Put(PRO.SAFETY_MEASURES, "Walker, grab bars, night light");
    Put(PRO.HOMEBOUND_STATUS, "Leaves home only for medical appointments, taxing effort");
    FileDeclaration& notes = ProgressNotesFile();
    int rc = Memo(notes, 1, std::string(Pick(kObservations)));
    if (rc == 0) rc = Memo(notes, 2, "Vital signs taken; medication box refilled for the week.");
    if (rc == 0) rc = Memo(notes, 3, "Taught signs of " + std::string(Pick(kProblems)) + ".");
    if (rc == 0) rc = Memo(notes, 4, "Continue plan of care; next visit as scheduled.");
    if (rc == 0) rc = Add(notes);
    return rc;
  }

  int AddMedications(int patient, int32_t soc) {
    MED = {};
    MED.PATIENT_NUMBER = patient;
    MED.RECORD_NO = ++medications_;
    MED.DATE = soc;
    int lines = Between(2, 8);
    for (int i = 0; i < lines; ++i) {
      const Drug& drug = Pick(kDrugs);
      MED.START_DATE[i] = soc - Between(0, 300);
      Put(MED.DRUG[i], drug.name);
      Put(MED.DOSE[i], drug.dose);
      Put(MED.FREQ_ROUTE[i], drug.route);
      Put(MED.CLASS[i], "N");
      if (i < 2) Put(MED.SE[i], drug.side_effects);
    }
    return Add(MedicationsFile());
  }

  int AddCarePlan(int patient, int32_t soc) {
    CAR = {};
    CAR.PATIENT_NUMBER = patient;
    CAR.RECORD_NO = ++care_plans_;
    CAR.FROM_DATE = soc;
    CAR.TO_DATE = soc + 59;
    Put(CAR.SHORT_TERM_GOALS, "Stable vital signs and safe self-care within 2 weeks");
    Put(CAR.LONG_TERM_GOALS, "Independent in disease management by discharge");
    for (int i = Between(2, 4); i-- > 0;) {
      CAR.DATE[i] = soc;
      Put(CAR.PROBLEM[i], Pick(kProblems));
      Put(CAR.APPROACH[i], "Assess, teach and reinforce each visit; report changes to physician");
      Put(CAR.GOALS[i], "Patient/caregiver verbalizes understanding");
    }
    return Add(CarePlanFile());
  }

  int AddOrder(int patient, int32_t soc) {
    ORD = {};
    ORD.PATIENT_NUMBER = patient;
    ORD.RECNO = ++orders_;
    ORD.DATE = soc + Between(0, 50);
    FileDeclaration& orders = OrdersFile();
    const Drug& drug = Pick(kDrugs);
    int rc = Memo(orders, 1,
                  "SN to instruct on " + std::string(drug.name) + " " + std::string(drug.dose) +
                      " " + std::string(drug.route) + ". Notify MD of weight gain over 3 lb.");
    return rc == 0 ? Add(orders) : rc;
  }

  int AddSixtyDay(int patient, int32_t soc) {
    SIX = {};
    SIX.PATIENT_NUMBER = patient;
    SIX.RECNO = ++sixty_days_;
    SIX.START_DATE = soc;
    SIX.END_DATE = soc + 59;
    EncodeDecimal(Between(9700, 9850), SIX.LOWTEMP.span());
    EncodeDecimal(Between(9860, 10120), SIX.HIGHTEMP.span());
    SIX.LOWPULSE = static_cast<uint8_t>(Between(55, 70));
    SIX.HIGHPULSE = static_cast<uint8_t>(Between(80, 110));
    SIX.LOWRESP = static_cast<uint8_t>(Between(12, 16));
    SIX.HIGHRESP = static_cast<uint8_t>(Between(18, 24));
    SIX.LOWBP = Between(100, 120);
    SIX.HIGHBP = Between(130, 170);
    Put(SIX.ABNL_LABS, Between(0, 2) == 0 ? "K+ 3.2 on 2/14" : "None");
    FileDeclaration& six = SixtyDayFile();
    int rc = Memo(six, 1, "Patient progressing toward goals; continue skilled nursing.");
    return rc == 0 ? Add(six) : rc;
  }

  int AddPlanOfCare(int patient, int32_t soc, const std::string& dx) {
    POC = {};
    POC.PATIENT_NUMBER = patient;
    POC.REC_NO = ++plans_of_care_;
    Put(POC.MEDRECNO, "MR" + std::to_string(100000 + patient));
    POC.FROMDATE = soc;
    POC.TODATE = soc + 59;
    Put(POC.ICD9[0], std::to_string(Between(250, 790)) + "." + std::to_string(Between(0, 9)));
    Put(POC.DX[0], dx);
    POC.DXDATE[0] = soc - Between(1, 30);
    Put(POC.MEDS[0], std::string(Pick(kDrugs).name) + " as ordered");
    Put(POC.DME, "Walker, shower chair");
    Put(POC.SAFETY, "Fall precautions");
    Put(POC.NUTRITION, "2 g sodium diet");
    POC.FUNCTIONALLIMITATIONS.ENDURANCE = 1;
    POC.ACTIVITIESPERMITTED.WALKER = 1;
    POC.MENTALSTATUS.ORIENTED = 1;
    POC.PROGNOSIS.FAIR = 1;
    FileDeclaration& poc = PocFile();
    int rc = Memo(poc, 1, "SN 1-3 visits a week to assess, teach and manage medications.");
    if (rc == 0) rc = Memo(poc, 2, "Stable and independent in care by the end of the period.");
    if (rc == 0) rc = Add(poc);
    if (rc != 0) return rc;
    ADD = {};
    ADD.RECNO = POC.REC_NO;
    FileDeclaration& addendum = AddInfoFile();
    rc = Memo(addendum, 1, "Homebound: unable to walk beyond 50 feet without rest.");
    return rc == 0 ? Add(addendum) : rc;
  }

  int AddAideAssignment(int patient, int32_t soc) {
    HHA = {};
    HHA.PATIENT_NUMBER = patient;
    HHA.REC_NO = ++aide_assignments_;
    HHA.DATE = soc;
    HHA.SOC = soc;
    HHA.UPDATE_DATE[0] = soc;
    HHA.TEMP[0] = HHA.B_P[0] = HHA.SKIN_CARE[0] = HHA.MEAL_PREP[0] = 1;
    Put(HHA.CLEAN[0], "Tub bath with assist");
    Put(HHA.SPECIAL_INSTRUCTIONS[0], "Check skin over heels and sacrum each visit.");
    return Add(HhaAssignFile());
  }

  int AddCalendars(int patient) {
    const int32_t first_day = values::BuildDate(3, 1, 2026);
    MON = {};
    MON.PATIENT_NUMBER = patient;
    MON.RECNO = ++month_calendars_;
    MON.CALENDARDATE = first_day;
    // March 2026 begins on a Sunday, so cell i (from 0) shows day i + 1; every other note is
    // blank, as the form leaves it.
    for (int cell = 0; cell < 42; ++cell) {
      MON.DAYNO[cell] = cell < 31 ? cell + 1 : 0;
      Put(MON.DAY_INFO[cell], "");
    }
    int rc = 0;
    for (int visit = Between(2, 5); visit > 0 && rc == 0; --visit) {
      int cell = Between(0, 30);
      Put(MON.DAY_INFO[cell], "SN visit");
      DAT = {};
      DAT.PATIENT_NUMBER = patient;
      DAT.DAYNO = first_day + cell;
      DAT.TIMEIN = Time(Between(8, 16));
      DAT.TIMEOUT = static_cast<uint32_t>(DAT.TIMEIN) + 360000;
      Put(DAT.NOTES, "Skilled nursing visit: vitals, medication review");
      rc = Add(CalendarFile());
    }
    return rc == 0 ? Add(MonthCalFile()) : rc;
  }

  int AddNarrative(int patient, int32_t soc) {
    NAR = {};
    NAR.PATIENT_NUMBER = patient;
    NAR.RECORD_NO = ++narratives_;
    NAR.DATE = soc + Between(0, 40);
    FileDeclaration& narrative = NarrativeFile();
    int rc = Memo(narrative, 1,
                  "Called physician's office regarding " + std::string(Pick(kProblems)) +
                      "; orders received and reviewed with patient.");
    return rc == 0 ? Add(narrative) : rc;
  }

  int AddCaseConference(int patient, int32_t soc) {
    CAS = {};
    CAS.PATEINTNUMBER = patient;
    CAS.DATE = soc + Between(7, 50);
    CAS.RECNO = ++case_conferences_;
    FileDeclaration& cases = CaseConFile();
    int rc = Memo(cases, 1, "RN case manager, PT, home health aide supervisor");
    if (rc == 0) rc = Memo(cases, 2, std::string(Pick(kProblems)));
    if (rc == 0) rc = Memo(cases, 3, "Increase visits for two weeks; review medications.");
    if (rc == 0) rc = Memo(cases, 4, "Patient safe at home with caregiver support.");
    return rc == 0 ? Add(cases) : rc;
  }

  int AddDischarge(int patient, int32_t soc) {
    DIS = {};
    EncodeDecimal(patient, DIS.PATIENT_NUMBER.span());
    DIS.RECORD_NO = ++discharges_;
    DIS.DATE = soc + Between(30, 60);
    DIS.START_OF_CARE = soc;
    DIS.RN = 1;
    DIS.BP[0] = Between(110, 150);
    DIS.TEMPERATURE[0] = Between(970, 990);
    Put(DIS.HOSPITAL, "Mercy Regional");
    FileDeclaration& discharges = DischargeSummaryFile();
    int rc = Memo(discharges, 1, "Goals met: patient independent with medications and diet.");
    if (rc == 0) rc = Memo(discharges, 2, std::string(Pick(kDrugs).name) + " continued.");
    return rc == 0 ? Add(discharges) : rc;
  }

  int AddFont() {
    WFN = {};
    Put(WFN.FONTTYPEFACE, "Sans");
    WFN.FONTSIZE = 10;
    return Add(FontsFile());
  }

  SampleOptions options_;
  SampleCounts* counts_;
  std::mt19937 rng_;
  int physicians_ = 0;
  int progress_notes_ = 0, medications_ = 0, care_plans_ = 0, orders_ = 0, sixty_days_ = 0,
      plans_of_care_ = 0, aide_assignments_ = 0, month_calendars_ = 0, narratives_ = 0,
      case_conferences_ = 0, discharges_ = 0;
};

}  // namespace

int WriteSampleData(const SampleOptions& options, SampleCounts* counts, std::string* error) {
  store::RegisterTableOps(&store::StoredTables());
  *counts = SampleCounts();
  int rc = Generator(options, counts).Run();
  if (rc != 0) *error = store::ErrorText();
  return rc;
}

}  // namespace carelog::sample
