#include "app/patterns/record_fields.h"

#include <cmath>
#include <cstring>
#include <span>

#include "app/data/packed_decimal.h"

namespace carelog::app {
namespace {

using store::FieldType;

template <class T>
T Load(const uint8_t* at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

template <class T>
void StoreAs(uint8_t* at, double value) {
  T stored = static_cast<T>(std::llround(value));
  std::memcpy(at, &stored, sizeof stored);
}

}  // namespace

bool FieldRef::Resolve(appdata::FileId file, std::string_view name) {
  const appdata::FileInfo& info = appdata::Info(file);
  uint32_t number = appdata::FieldNumberOf(info, name);
  file_ = file;
  row_ = number == 0 ? nullptr : &info.fields[number - 1];
  return row_ != nullptr;
}

bool FieldRef::is_text() const {
  return row_->type.code == store::kTypeString || row_->type.code == store::kTypeGroup;
}

uint8_t* FieldRef::Where() const {
  return appdata::Declaration(file_).buffer + row_->offset;
}

FieldValue FieldRef::Read() const {
  FieldValue value;
  const uint8_t* at = Where();
  switch (row_->type.code) {
    case store::kTypeByte:
      value.number = *at;
      break;
    case store::kTypeShort:
      value.number = Load<int16_t>(at);
      break;
    case store::kTypeUShort:
      value.number = Load<uint16_t>(at);
      break;
    case store::kTypeLong:
      value.number = Load<int32_t>(at);
      break;
    case store::kTypeULong:
      value.number = Load<uint32_t>(at);
      break;
    case store::kTypeDecimal: {
      std::span<const uint8_t> bytes(at, row_->type.length);
      appdata::DecimalToDouble(bytes, row_->type.places, &value.number);
      break;
    }
    default:
      value.is_text = true;
      value.text.assign(reinterpret_cast<const char*>(at), row_->type.length);
      break;
  }
  return value;
}

void FieldRef::Write(const FieldValue& value) const {
  uint8_t* at = Where();
  switch (row_->type.code) {
    case store::kTypeByte:
      StoreAs<uint8_t>(at, value.number);
      return;
    case store::kTypeShort:
      StoreAs<int16_t>(at, value.number);
      return;
    case store::kTypeUShort:
      StoreAs<uint16_t>(at, value.number);
      return;
    case store::kTypeLong:
      StoreAs<int32_t>(at, value.number);
      return;
    case store::kTypeULong:
      StoreAs<uint32_t>(at, value.number);
      return;
    case store::kTypeDecimal:
      appdata::DecimalFromDouble(value.number, row_->type.places,
                                 std::span<uint8_t>(at, row_->type.length));
      return;
    default: {
      size_t length = row_->type.length;
      std::memset(at, ' ', length);
      std::memcpy(at, value.text.data(), std::min(length, value.text.size()));
      return;
    }
  }
}

void FieldRef::Clear() const {
  FieldValue empty;
  empty.is_text = is_text();
  Write(empty);
}

const appdata::FieldRow& ComponentField(const appdata::FileInfo& info, int32_t component) {
  size_t number = static_cast<size_t>(component < 0 ? -component : component);
  return info.fields[number - 1];
}

}  // namespace carelog::app
