#include "tools/carelog-sample/sample_records.h"

#include <cstring>
#include <string>
#include <string_view>

#include "app/data/packed_decimal.h"

namespace carelog::sample {
namespace {

using store::FieldType;

template <size_t N>
const char* Pick(std::mt19937& rng, const char* const (&list)[N]) {
  return list[std::uniform_int_distribution<size_t>(0, N - 1)(rng)];
}

int Between(std::mt19937& rng, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(rng);
}

constexpr const char* kFirstNames[] = {"Mary",  "John",  "Linda", "James",   "Susan",
                                       "Helen", "Frank", "Ruth",  "Charles", "Dorothy"};
constexpr const char* kLastNames[] = {"Smith",  "Johnson", "Williams", "Brown",  "Jones",
                                      "Miller", "Davis",   "Garcia",   "Wilson", "Moore"};
constexpr const char* kStreets[] = {"12 Oak St", "480 Main St", "7 Elm Ave", "1520 Lake Rd"};
constexpr const char* kCities[] = {"Springfield", "Riverton", "Lakeside", "Fairview"};
constexpr const char* kPhrases[] = {
    "Within normal limits",  "Clear bilaterally", "Active x4 quadrants", "Good",
    "Alert and oriented",    "Independent",       "Needs assistance",    "Stable",
    "Reviewed with patient", "Skilled nursing",   "Wound healing well",  "No distress"};
constexpr const char* kNotes[] = {
    "Patient tolerated visit well. Vital signs stable. Reviewed medications and diet.",
    "Dressing changed, wound bed clean with granulation tissue. No signs of infection.",
    "Instructed caregiver on signs of CHF exacerbation; caregiver verbalized understanding.",
    "Blood glucose 142 before lunch. Reinforced insulin schedule and foot care."};

bool Has(std::string_view name, std::string_view word) {
  return name.find(word) != std::string_view::npos;
}

std::string TextFor(std::string_view name, const RecordContext& c, std::mt19937& rng) {
  if (Has(name, "FIRST")) return Pick(rng, kFirstNames);
  if (Has(name, "LAST")) return Pick(rng, kLastNames);
  if (Has(name, "NAME")) return std::string(Pick(rng, kFirstNames)) + " " + Pick(rng, kLastNames);
  if (Has(name, "ADDRESS")) return Pick(rng, kStreets);
  if (Has(name, "CITY")) return Pick(rng, kCities);
  if (Has(name, "STATE")) return "OH";
  if (Has(name, "PHONE")) return "(555) 555-" + std::to_string(1000 + Between(rng, 0, 8999));
  if (Has(name, "ZIP")) return std::to_string(44000 + Between(rng, 0, 999));
  if (Has(name, "SEX")) return c.patient % 2 ? "F" : "M";
  return Pick(rng, kPhrases);
}

int32_t NumberFor(std::string_view name, const RecordContext& c, std::mt19937& rng) {
  if (Has(name, "PATIENT")) return c.patient;
  if (Has(name, "DOCNO") || Has(name, "PHYSICIAN")) return c.physician;
  if (Has(name, "RECORD") || Has(name, "_NO")) return c.record_no;
  if (Has(name, "TIME")) return 360000 * Between(rng, 8, 17) + 1;
  if (Has(name, "DATE") || Has(name, "SOC") || Has(name, "VISIT")) return c.date;
  if (Has(name, "ZIP")) return 44000 + Between(rng, 0, 999);
  return Between(rng, 0, 200);
}

void PutText(uint8_t* at, size_t size, const std::string& text, FieldType type) {
  std::memset(at, type == store::kTypeString ? ' ' : 0, size);
  if (size == 0) return;
  if (type == store::kTypePString) {
    size_t n = std::min(text.size(), size - 1);
    at[0] = static_cast<uint8_t>(n);
    std::memcpy(at + 1, text.data(), n);
  } else {
    size_t room = type == store::kTypeCString ? size - 1 : size;
    std::memcpy(at, text.data(), std::min(text.size(), room));
  }
}

size_t BytesPerElement(const appdata::TypeDecl& t) {
  switch (t.code) {
    case store::kTypeByte:
      return 1;
    case store::kTypeShort:
    case store::kTypeUShort:
      return 2;
    case store::kTypeReal:
    case store::kTypeBFloat8:
      return 8;
    case store::kTypeDecimal:
    case store::kTypePDecimal:
    case store::kTypeString:
    case store::kTypeCString:
    case store::kTypePString:
      return t.length;
    case store::kTypeGroup:
      return 0;
    default:
      return 4;
  }
}

void FillElement(const appdata::FieldRow& field, uint8_t* at, size_t size, const RecordContext& c,
                 std::mt19937& rng) {
  std::string_view name = field.name;
  name = name.substr(name.find(':') + 1);
  switch (field.type.code) {
    case store::kTypeByte:
      *at = static_cast<uint8_t>(Between(rng, 0, 1));
      return;
    case store::kTypeShort:
    case store::kTypeUShort: {
      int16_t v = static_cast<int16_t>(NumberFor(name, c, rng));
      std::memcpy(at, &v, 2);
      return;
    }
    case store::kTypeReal: {
      double v = Between(rng, 0, 10000) / 100.0;
      std::memcpy(at, &v, 8);
      return;
    }
    case store::kTypeSReal: {
      float v = static_cast<float>(Between(rng, 0, 10000) / 100.0);
      std::memcpy(at, &v, 4);
      return;
    }
    case store::kTypeDecimal: {
      int64_t unscaled = Has(name, "PATIENT") ? c.patient : Between(rng, 950, 1040);
      appdata::EncodeDecimal(unscaled, std::span<uint8_t>(at, size));
      return;
    }
    case store::kTypeString:
    case store::kTypeCString:
    case store::kTypePString:
      PutText(at, size, TextFor(name, c, rng), field.type.code);
      return;
    case store::kTypeLong:
    case store::kTypeULong: {
      int32_t v = NumberFor(name, c, rng);
      std::memcpy(at, &v, 4);
      return;
    }
    default:
      return;
  }
}

}  // namespace

void FillRecord(const appdata::FileInfo& info, store::FileDeclaration& declaration,
                const RecordContext& context, std::mt19937& rng) {
  uint8_t* buffer = declaration.buffer;
  std::memset(buffer, 0, info.record_size);
  for (const appdata::FieldRow& field : info.fields) {
    const size_t size = BytesPerElement(field.type);
    const size_t count = field.type.dim == 0 ? 1 : field.type.dim;
    if (size == 0 || field.offset + size * count > info.record_size) continue;
    for (size_t e = 0; e < count; ++e) {
      FillElement(field, buffer + field.offset + e * size, size, context, rng);
    }
  }
  for (uint8_t m = 0; m < declaration.memo_count; ++m) {
    store::MemoDeclaration& memo = *declaration.memos[m];
    if (memo.buffer == nullptr) continue;
    std::string text;
    for (int i = Between(rng, 1, 3); i > 0; --i) text += std::string(Pick(rng, kNotes)) + " ";
    std::memset(memo.buffer, ' ', memo.max_size);
    std::memcpy(memo.buffer, text.data(), std::min<size_t>(text.size(), memo.max_size));
  }
}

}  // namespace carelog::sample
