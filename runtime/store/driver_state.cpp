#include "runtime/store/driver_state.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "runtime/store/error_codes.h"
#include "runtime/store/layout_reader.h"

namespace carelog::store {
namespace {

// A declaration without a layout size: the stream ends where its root group closes.
constexpr size_t kUnboundedLayout = std::numeric_limits<size_t>::max();

std::string Copy(const DeclaredText& text) {
  if (text.text == nullptr) return {};
  return std::string(text.text, text.length);
}

bool ValidText(const DeclaredText& text) {
  return text.text != nullptr || text.length == 0;
}

int ReadKey(KeyDeclaration* declared, int number, const std::vector<FieldEntry>& fields,
            KeyEntry* key) {
  if (declared == nullptr || !ValidText(declared->name)) return kErrInvalidRecordDeclaration;
  if (declared->component_count > 0 && declared->components == nullptr) {
    return kErrInvalidRecordDeclaration;
  }
  key->label = Copy(declared->name);
  key->external_name = key->label;
  key->flags = declared->attributes & (0x1F | kKeyIndexOnRequest);
  key->number = number;
  key->declaration = declared;
  for (int i = 0; i < declared->component_count; ++i) {
    const int32_t component = declared->components[i];
    if (component == 0 || component == std::numeric_limits<int32_t>::min()) {
      return kErrInvalidRecordDeclaration;
    }
    const uint32_t field_number = static_cast<uint32_t>(component < 0 ? -component : component);
    if (field_number > fields.size()) return kErrInvalidRecordDeclaration;
    const FieldEntry& field = fields[field_number - 1];
    if (field.element_count > 1) return kErrInvalidFieldType;
    key->components.push_back(KeyComponent{&field, component < 0});
  }
  return 0;
}

int ReadMemo(MemoDeclaration* declared, MemoEntry* memo) {
  if (declared == nullptr || !ValidText(declared->name)) return kErrInvalidRecordDeclaration;
  if (declared->max_size > kMaxMemoSize) return kErrInvalidRecordDeclaration;
  memo->external_name = Copy(declared->name);
  memo->label = memo->external_name;
  memo->max_size = declared->max_size;
  memo->attributes = declared->attributes;
  memo->flags = declared->flags;
  memo->declaration = declared;
  memo->buffer.reset(new (std::nothrow) char[memo->max_size + 1]);
  if (memo->buffer == nullptr) return kErrInsufficientMemory;
  std::memset(memo->buffer.get(), ' ', memo->max_size);
  memo->buffer[memo->max_size] = '\0';
  return 0;
}

int ReadDeclarations(FileDeclaration& file, DriverState* state) {
  if (!ValidText(file.name) || !ValidText(file.reserved) || !ValidText(file.owner)) {
    return kErrInvalidRecordDeclaration;
  }
  if (file.record_size > kMaxRecordSize) return kErrInvalidRecordDeclaration;
  if (file.record_size > 0 && file.buffer == nullptr) return kErrInvalidRecordDeclaration;
  if (file.key_count > kMaxKeys) return kErrInvalidRecordDeclaration;
  if (file.key_count > 0 && file.keys == nullptr) return kErrInvalidRecordDeclaration;
  if (file.memo_count > 0 && file.memos == nullptr) return kErrInvalidRecordDeclaration;

  state->declaration = &file;
  state->name = Copy(file.name);
  state->owner = Copy(file.owner);
  state->reserved = Copy(file.reserved);
  state->flags = file.attributes &
                 (kDriverFlagKept02 | kDriverFlagCreate | kDriverFlagKept08 | kDriverFlagOem);
  state->record = file.buffer;
  state->record_size = file.record_size;

  LayoutTable layout;
  if (int error =
          ReadLayout(file.layout, file.layout_size != 0 ? file.layout_size : kUnboundedLayout,
                     file.record_size, &layout)) {
    return error;
  }
  state->fields = std::move(layout.fields);
  state->stored_size = layout.stored_size;

  state->keys.resize(file.key_count);
  for (int i = 0; i < file.key_count; ++i) {
    if (int error = ReadKey(file.keys[i], i, state->fields, &state->keys[i])) return error;
  }
  state->memos.resize(file.memo_count);
  for (int i = 0; i < file.memo_count; ++i) {
    if (int error = ReadMemo(file.memos[i], &state->memos[i])) return error;
  }
  return 0;
}

}  // namespace

int DriverState::reading_key_number() const {
  switch (reading.mode) {
    case ReadingMode::kKeyFromFirst:
    case ReadingMode::kKeyFromValueAndRecord:
    case ReadingMode::kKeyFromValue:
    case ReadingMode::kKeyFromRecord:
      return reading.key != nullptr ? reading.key->number + 1 : 0;
    default:
      return 0;
  }
}

int BuildDriverState(FileDeclaration& file) {
  std::unique_ptr<DriverState> state(new (std::nothrow) DriverState);
  if (state == nullptr) return kErrInsufficientMemory;
  int error;
  try {
    error = ReadDeclarations(file, state.get());
  } catch (const std::bad_alloc&) {
    error = kErrInsufficientMemory;
  }
  if (error != 0) return error;

  for (KeyEntry& key : state->keys) key.declaration->state = &key;
  for (MemoEntry& memo : state->memos) memo.declaration->buffer = memo.buffer.get();
  file.state = state.release();
  return 0;
}

void DiscardDriverState(FileDeclaration& file) {
  std::unique_ptr<DriverState> state(StateOf(file));
  if (state == nullptr) return;
  file.state = nullptr;
  for (KeyEntry& key : state->keys) key.declaration->state = nullptr;
  for (MemoEntry& memo : state->memos) memo.declaration->buffer = nullptr;
}

}  // namespace carelog::store
