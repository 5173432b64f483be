#include "app/data/dictionary.h"

#include <array>
#include <cstring>

namespace carelog::appdata {
namespace {

// In FileId order.
constexpr std::array<const FileInfo*, kFileCount> kCatalogue = {
    &kPatientsInfo, &kPhysciansInfo, &kProgressNotesInfo, &kMedicationsInfo, &kDischargeSummaryInfo,
    &kCarePlanInfo, &kNarrativeInfo, &kOrdersInfo,        &kSixtyDayInfo,    &kHhaAssignInfo,
    &kMonthCalInfo, &kCalendarInfo,  &kFamilyInfo,        &kDoctorsInfo,     &kPocInfo,
    &kAddInfoInfo,  &kCaseConInfo,   &kFontsInfo,
};

}  // namespace

std::span<const FileInfo* const> Catalogue() {
  return kCatalogue;
}

const FileInfo& Info(FileId file) {
  return *kCatalogue[static_cast<size_t>(file)];
}

store::FileDeclaration& Declaration(FileId file) {
  return *Info(file).instance();
}

void BlankMemos(FileId file) {
  const FileInfo& info = Info(file);
  store::FileDeclaration& declaration = Declaration(file);
  for (size_t m = 0; m < info.memos.size(); ++m) {
    char* buffer = declaration.memos[m]->buffer;
    if (buffer) std::memset(buffer, ' ', info.memos[m].max_size);
  }
}

const FileInfo* InfoOf(const store::FileDeclaration& declaration) {
  // Every copy of a file's declaration shares the file's one layout stream.
  for (const FileInfo* info : kCatalogue) {
    if (declaration.layout == info->layout.data()) return info;
  }
  return nullptr;
}

uint32_t FieldNumberOf(const FileInfo& info, std::string_view field) {
  for (size_t i = 0; i < info.fields.size(); ++i) {
    if (field == info.fields[i].name) return static_cast<uint32_t>(i + 1);
  }
  return 0;
}

int KeyIndexOf(const FileInfo& info, std::string_view key) {
  for (size_t i = 0; i < info.keys.size(); ++i) {
    if (key == info.keys[i].name) return static_cast<int>(i);
  }
  return -1;
}

int MemoIndexOf(const FileInfo& info, std::string_view memo) {
  for (size_t i = 0; i < info.memos.size(); ++i) {
    if (memo == info.memos[i].name) return static_cast<int>(i);
  }
  return -1;
}

store::KeyDeclaration* FindKey(FileId file, std::string_view key) {
  int index = KeyIndexOf(Info(file), key);
  return index < 0 ? nullptr : Declaration(file).keys[index];
}

}  // namespace carelog::appdata
