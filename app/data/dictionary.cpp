#include "app/data/dictionary.h"

#include <array>

namespace carelog::appdata {
namespace {

// In FileId order.
constexpr std::array<const FileSpec*, kFileCount> kCatalogue = {
    &kPatientsSpec, &kPhysciansSpec, &kProgressNotesSpec, &kMedicationsSpec, &kDischargeSummarySpec,
    &kCarePlanSpec, &kNarrativeSpec, &kOrdersSpec,        &kSixtyDaySpec,    &kHhaAssignSpec,
    &kMonthCalSpec, &kCalendarSpec,  &kFamilySpec,        &kDoctorsSpec,     &kPocSpec,
    &kAddInfoSpec,  &kCaseConSpec,   &kFontsSpec,
};

}  // namespace

std::span<const FileSpec* const> Catalogue() {
  return kCatalogue;
}

const FileSpec& Spec(FileId file) {
  return *kCatalogue[static_cast<size_t>(file)];
}

store::FileDeclaration& Declaration(FileId file) {
  return *Spec(file).instance();
}

const FileSpec* SpecOf(const store::FileDeclaration& declaration) {
  // Every copy of a file's declaration shares the file's one layout stream.
  for (const FileSpec* spec : kCatalogue) {
    if (declaration.layout == spec->layout.data()) return spec;
  }
  return nullptr;
}

uint32_t FieldNumberOf(const FileSpec& spec, std::string_view field) {
  for (size_t i = 0; i < spec.fields.size(); ++i) {
    if (field == spec.fields[i].name) return static_cast<uint32_t>(i + 1);
  }
  return 0;
}

int KeyIndexOf(const FileSpec& spec, std::string_view key) {
  for (size_t i = 0; i < spec.keys.size(); ++i) {
    if (key == spec.keys[i].name) return static_cast<int>(i);
  }
  return -1;
}

int MemoIndexOf(const FileSpec& spec, std::string_view memo) {
  for (size_t i = 0; i < spec.memos.size(); ++i) {
    if (memo == spec.memos[i].name) return static_cast<int>(i);
  }
  return -1;
}

store::KeyDeclaration* FindKey(FileId file, std::string_view key) {
  int index = KeyIndexOf(Spec(file), key);
  return index < 0 ? nullptr : Declaration(file).keys[index];
}

}  // namespace carelog::appdata
