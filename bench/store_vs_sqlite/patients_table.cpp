#include "bench/store_vs_sqlite/patients_table.h"

#include <cstring>

#include "runtime/store/declarations.h"

namespace carelog::bench {
namespace {

using namespace carelog::store;

struct Column {
  const char* name;
  uint8_t type;
  uint16_t offset;
  uint16_t size;
};

constexpr Column kColumns[] = {
    {"PAT:PATIENT_NUMBER", kTypeLong, 0, 4},
    {"PAT:AGENCY", kTypeString, 4, 40},
    {"PAT:NAME", kTypeString, 44, 40},
    {"PAT:FIRST_NAME", kTypeString, 84, 20},
    {"PAT:LAST_NAME", kTypeString, 104, 20},
    {"PAT:SOC", kTypeLong, 124, 4},
    {"PAT:FREQUENCY", kTypeString, 128, 20},
    {"PAT:DX", kTypeString, 148, 200},
    {"PAT:SEX", kTypeString, 348, 1},
    {"PAT:HEIGHT", kTypeLong, 349, 4},
    {"PAT:WEIGHT", kTypeLong, 353, 4},
    {"PAT:ALLERGIES", kTypeString, 357, 50},
    {"PAT:SOCIAL_SECURITY", kTypeString, 407, 11},
    {"PAT:MEDICARE_NUMBER", kTypeString, 418, 12},
    {"PAT:DATE_OF_BIRTH", kTypeLong, 430, 4},
    {"PAT:PHONE_NUMBER", kTypeString, 434, 14},
    {"PAT:ADDRESS_1", kTypeString, 448, 20},
    {"PAT:ADDRESS_2", kTypeString, 468, 20},
    {"PAT:CITY", kTypeString, 488, 20},
    {"PAT:STATE", kTypeString, 508, 2},
    {"PAT:ZIPCODE", kTypeLong, 510, 4},
    {"PAT:PHYSICIAN_NAME", kTypeLong, 514, 4},
    {"PAT:PHARMACY", kTypeString, 518, 35},
    {"PAT:PHARMACY_ADDRESS", kTypeString, 553, 35},
    {"PAT:PHARMACY_PHONE", kTypeString, 588, 14},
    {"PAT:NEXT_VISIT", kTypeLong, 602, 4},
    {"PAT:TIME_NEXT_VISIT", kTypeLong, 606, 4},
};

constexpr uint8_t kDupOptNoCase = kDefKeyDup | kDefKeyOpt | kDefKeyNoCase;

KeyDef Key(const char* name, uint8_t flags, std::initializer_list<int> fields) {
  KeyDef key;
  key.name = name;
  key.flags = flags;
  for (int f : fields) {
    key.components.push_back(KeyComponentDef{static_cast<uint16_t>(f < 0 ? -f - 1 : f - 1), f < 0});
  }
  return key;
}

void PutText(uint8_t* at, size_t size, const std::string& text) {
  std::memset(at, ' ', size);
  std::memcpy(at, text.data(), std::min(size, text.size()));
}

void PutLong(uint8_t* at, int32_t v) {
  std::memcpy(at, &v, 4);
}

const char* Pick(std::mt19937& rng, std::initializer_list<const char*> list) {
  return list.begin()[std::uniform_int_distribution<size_t>(0, list.size() - 1)(rng)];
}

}  // namespace

TableDefinition PatientsDefinition() {
  TableDefinition def;
  def.record_size = kPatientRecordSize;
  uint16_t number = 1;
  for (const Column& c : kColumns) {
    FieldDef f;
    f.type = c.type;
    f.offset = c.offset;
    f.name = c.name;
    f.total_size = c.size;
    f.field_number = number++;
    if (c.type == kTypeString) f.declared_length = c.size;
    def.fields.push_back(f);
  }
  MemoDef notes;
  notes.name = "PAT:PLANS_AND_PROGRESS";
  notes.max_size = kPatientNotesSize;
  notes.flags = 1;
  def.memos.push_back(notes);
  def.keys = {Key("PAT:KEY_PATIENT_NUMBER", kDefKeyOpt | kDefKeyNoCase | kDefKeyPrimary, {1}),
              Key("PAT:AGENCYKEY", kDupOptNoCase, {2, 5, 4}),
              Key("PAT:KEY_LAST_NAME", kDupOptNoCase, {5, 4}),
              Key("PAT:KEY_PHYSICIAN_NAME", kDupOptNoCase, {22, 5, 4}),
              Key("PAT:KEY_NEXT_VISIT", kDupOptNoCase, {-26, -27}),
              Key("PAT:DOCKEY", kDupOptNoCase, {22})};
  return def;
}

Patient MakePatient(int32_t number, std::mt19937& rng) {
  Patient p;
  p.number = number;
  p.first_name = Pick(rng, {"Mary", "John", "Linda", "James", "Susan", "Robert", "Karen", "Michael",
                            "Nancy", "William", "Betty", "David", "Helen"});
  p.last_name =
      Pick(rng, {"Smith",   "Johnson",  "Williams", "Brown",  "Jones",  "Miller", "Davis",
                 "Garcia",  "Wilson",   "Anderson", "Taylor", "Thomas", "Moore",  "Martin",
                 "Jackson", "Thompson", "White",    "Lopez",  "Lee",    "Clark"});
  p.last_name += std::to_string(number % 997);
  p.name = p.first_name + " " + p.last_name;
  p.agency = Pick(rng, {"Home Health of the Valley", "Visiting Nurses North", "CareFirst"});
  p.frequency = Pick(rng, {"3W4", "2W2 1W6", "1W9", "QD x 14"});
  p.dx = Pick(rng, {"CHF, hypertension", "COPD exacerbation", "Diabetes mellitus type 2",
                    "Post-op hip replacement", "Wound care, venous ulcer"});
  p.sex = number % 2 ? "F" : "M";
  p.allergies = Pick(rng, {"NKA", "Penicillin", "Sulfa", "Latex, codeine"});
  p.social_security =
      "555-" + std::to_string(10 + number % 89) + "-" + std::to_string(1000 + number % 8999);
  p.medicare = std::to_string(100000000 + number) + "A";
  p.phone = "(555) 555-" + std::to_string(1000 + number % 8999);
  p.address1 = std::to_string(1 + number % 9000) + " Main St";
  p.city = Pick(rng, {"Springfield", "Riverton", "Lakeside", "Fairview"});
  p.state = "OH";
  p.pharmacy = "Corner Drug";
  p.pharmacy_address = "12 Elm St";
  p.pharmacy_phone = "(555) 555-0100";
  p.soc = 80000 + number % 700;
  p.height = 60 + number % 15;
  p.weight = 110 + number % 90;
  p.date_of_birth = 20000 + number % 20000;
  p.zipcode = 44000 + number % 900;
  p.physician = 1 + number % 40;
  p.next_visit = 81000 + number % 60;
  p.time_next_visit = 360000 * (8 + number % 9);
  p.notes = "Patient tolerated visit well. Vital signs stable. Plan: continue current care.";
  return p;
}

void PackPatient(const Patient& p, uint8_t* r) {
  PutLong(r + 0, p.number);
  PutText(r + 4, 40, p.agency);
  PutText(r + 44, 40, p.name);
  PutText(r + 84, 20, p.first_name);
  PutText(r + 104, 20, p.last_name);
  PutLong(r + 124, p.soc);
  PutText(r + 128, 20, p.frequency);
  PutText(r + 148, 200, p.dx);
  PutText(r + 348, 1, p.sex);
  PutLong(r + 349, p.height);
  PutLong(r + 353, p.weight);
  PutText(r + 357, 50, p.allergies);
  PutText(r + 407, 11, p.social_security);
  PutText(r + 418, 12, p.medicare);
  PutLong(r + 430, p.date_of_birth);
  PutText(r + 434, 14, p.phone);
  PutText(r + 448, 20, p.address1);
  PutText(r + 468, 20, p.address2);
  PutText(r + 488, 20, p.city);
  PutText(r + 508, 2, p.state);
  PutLong(r + 510, p.zipcode);
  PutLong(r + 514, p.physician);
  PutText(r + 518, 35, p.pharmacy);
  PutText(r + 553, 35, p.pharmacy_address);
  PutText(r + 588, 14, p.pharmacy_phone);
  PutLong(r + 602, p.next_visit);
  PutLong(r + 606, p.time_next_visit);
}

}  // namespace carelog::bench
