#include "app/patterns/form_record.h"

#include <algorithm>
#include <cstring>

namespace carelog::app {
namespace {

using appdata::FileId;

FieldSlot MemoSlot(FileId file, std::string_view name) {
  int memo = appdata::MemoIndexOf(appdata::Info(file), name);
  if (memo < 0) return {};
  store::MemoDeclaration& declaration = *appdata::Declaration(file).memos[memo];
  if (declaration.buffer == nullptr) return {};
  FieldSlot slot;
  slot.address = reinterpret_cast<uint8_t*>(declaration.buffer);
  slot.storage = window::UseType{store::kTypeString, declaration.max_size};
  return slot;
}

window::UseVariable VariableOf(const FieldSlot& slot) {
  return window::UseVariable{slot.address, slot.places};
}

}  // namespace

FieldSlot ResolveField(FileId file, std::string_view name, uint32_t element) {
  const appdata::FileInfo& info = appdata::Info(file);
  uint32_t number = appdata::FieldNumberOf(info, name);
  if (number == 0) return MemoSlot(file, name);
  const appdata::FieldRow& row = info.fields[number - 1];
  uint32_t size = appdata::ElementSize(row.type);
  uint32_t index = element == 0 ? 0 : element - 1;
  if (size == 0 || index >= appdata::ElementCount(row.type)) return {};
  FieldSlot slot;
  slot.address = appdata::Declaration(file).buffer + row.offset + index * size;
  slot.storage = window::UseType{static_cast<uint8_t>(row.type.code), size};
  slot.places = row.type.places;
  return slot;
}

double ReadNumber(const FieldSlot& slot) {
  return window::ReadUse(VariableOf(slot), slot.storage).number;
}

void WriteNumber(const FieldSlot& slot, double value) {
  window::UseValue v;
  v.number = value;
  window::WriteUse(VariableOf(slot), slot.storage, v);
}

std::string ReadText(const FieldSlot& slot) {
  std::string text(reinterpret_cast<const char*>(slot.address), slot.storage.size);
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

void WriteText(const FieldSlot& slot, std::string_view text) {
  size_t length = std::min<size_t>(text.size(), slot.storage.size);
  std::memcpy(slot.address, text.data(), length);
  std::memset(slot.address + length, ' ', slot.storage.size - length);
}

bool ResolveBindings(const FormTable& table, std::vector<FormUse>* out, std::string* bad) {
  out->clear();
  for (const FieldBinding& row : table.fields) {
    FieldSlot slot = ResolveField(table.file, row.field, row.element);
    if (!slot.valid()) {
      *bad = std::string(row.field) + " element " + std::to_string(row.element);
      return false;
    }
    slot.shown_blank = row.shown_blank;
    out->push_back(FormUse{ControlOf(table, row), slot});
  }
  std::stable_sort(out->begin(), out->end(),
                   [](const FormUse& a, const FormUse& b) { return a.control < b.control; });
  return true;
}

void SavedRecord::Take(FileId file) {
  store::FileDeclaration& declaration = appdata::Declaration(file);
  record_.assign(declaration.buffer, declaration.buffer + declaration.record_size);
  memos_.clear();
  for (uint8_t m = 0; m < declaration.memo_count; ++m) {
    const store::MemoDeclaration& memo = *declaration.memos[m];
    memos_.emplace_back(memo.buffer ? std::string(memo.buffer, memo.max_size) : std::string());
  }
}

void SavedRecord::Restore(FileId file) const {
  store::FileDeclaration& declaration = appdata::Declaration(file);
  std::memcpy(declaration.buffer, record_.data(),
              std::min<size_t>(record_.size(), declaration.record_size));
  for (size_t m = 0; m < memos_.size() && m < declaration.memo_count; ++m) {
    store::MemoDeclaration& memo = *declaration.memos[m];
    if (memo.buffer)
      std::memcpy(memo.buffer, memos_[m].data(), std::min<size_t>(memos_[m].size(), memo.max_size));
  }
}

bool SavedRecord::Differs(FileId file) const {
  store::FileDeclaration& declaration = appdata::Declaration(file);
  if (record_.size() != declaration.record_size ||
      std::memcmp(record_.data(), declaration.buffer, record_.size()) != 0) {
    return true;
  }
  for (size_t m = 0; m < memos_.size(); ++m) {
    const store::MemoDeclaration& memo = *declaration.memos[m];
    if (memo.buffer && std::memcmp(memos_[m].data(), memo.buffer, memos_[m].size()) != 0)
      return true;
  }
  return false;
}

}  // namespace carelog::app
