#include "runtime/eval/variable.h"

#include <cmath>
#include <cstring>

#include "runtime/eval/values_bridge.h"

namespace carelog::eval {

using namespace store;

bool IsReadableType(FieldType type) {
  switch (type) {
    case kTypeByte:
    case kTypeShort:
    case kTypeUShort:
    case kTypeLong:
    case kTypeULong:
    case kTypeSReal:
    case kTypeReal:
    case kTypeDecimal:
    case kTypePDecimal:
    case kTypeDate:
    case kTypeTime:
    case kTypeString:
    case kTypeCString:
    case kTypePString:
    case kTypeGroup:
      return true;
    default:
      return false;
  }
}

ValueType ValueTypeOf(FieldType type) {
  switch (type) {
    case kTypeByte:
    case kTypeShort:
    case kTypeUShort:
    case kTypeLong:
    case kTypeULong:
      return ValueType::kInteger;
    case kTypeString:
    case kTypeCString:
    case kTypePString:
    case kTypeGroup:
      return ValueType::kString;
    default:
      return ValueType::kReal;
  }
}

uint32_t FixedSizeOf(FieldType type) {
  switch (type) {
    case kTypeByte:
      return 1;
    case kTypeShort:
    case kTypeUShort:
      return 2;
    case kTypeLong:
    case kTypeULong:
    case kTypeSReal:
    case kTypeDate:
    case kTypeTime:
      return 4;
    case kTypeReal:
      return 8;
    default:
      return 0;
  }
}

Scalar ElementOf(const Variable& variable, uint64_t index) {
  Scalar scalar;
  scalar.type = variable.type;
  scalar.size = variable.size;
  scalar.places = variable.places;
  const void* base = variable.address;
  if (variable.memo != nullptr) {
    base = variable.memo->buffer;
    scalar.size = variable.memo->max_size;
  }
  uint64_t count = 1;
  for (int d = 0; d < variable.dimension_count; ++d) count *= variable.dimensions[d];
  if (base == nullptr || index >= count) return Scalar{};
  scalar.bytes = static_cast<const uint8_t*>(base) + index * scalar.size;
  return scalar;
}

namespace {

template <typename T>
T Load(const uint8_t* bytes) {
  T value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

double ReadPackedDecimal(const Scalar& scalar) {
  if (scalar.size == 0) return 0;
  double value = scalar.bytes[0] & 0x0F;
  for (uint32_t i = 1; i < scalar.size; ++i) {
    value = value * 10 + (scalar.bytes[i] >> 4);
    value = value * 10 + (scalar.bytes[i] & 0x0F);
  }
  value /= std::pow(10.0, scalar.places);
  return (scalar.bytes[0] >> 4) != 0 ? -value : value;
}

double ReadDate(const uint8_t* bytes) {
  const int day = bytes[0];
  const int month = bytes[1];
  const int year = Load<uint16_t>(bytes + 2);
  if (day == 0 && month == 0 && year == 0) return 0;
  return DayNumberOf(year, month, day);
}

double ReadTime(const uint8_t* bytes) {
  return TimeNumberOf(bytes[3], bytes[2], bytes[1], bytes[0]);
}

}  // namespace

double ReadReal(const Scalar& scalar) {
  if (scalar.bytes == nullptr) return 0;
  const uint8_t* b = scalar.bytes;
  switch (scalar.type) {
    case kTypeByte:
      return b[0];
    case kTypeShort:
      return Load<int16_t>(b);
    case kTypeUShort:
      return Load<uint16_t>(b);
    case kTypeLong:
      return Load<int32_t>(b);
    case kTypeULong:
      return Load<uint32_t>(b);
    case kTypeSReal:
      return FiniteOrZero(Load<float>(b));
    case kTypeReal:
      return FiniteOrZero(Load<double>(b));
    case kTypeDecimal:
    case kTypePDecimal:
      return ReadPackedDecimal(scalar);
    case kTypeDate:
      return ReadDate(b);
    case kTypeTime:
      return ReadTime(b);
    default:
      return TextToReal(ReadString(scalar));
  }
}

int32_t ReadInteger(const Scalar& scalar) {
  if (scalar.bytes == nullptr) return 0;
  switch (scalar.type) {
    case kTypeByte:
      return scalar.bytes[0];
    case kTypeShort:
      return Load<int16_t>(scalar.bytes);
    case kTypeUShort:
      return Load<uint16_t>(scalar.bytes);
    case kTypeLong:
      return Load<int32_t>(scalar.bytes);
    case kTypeULong:
      return static_cast<int32_t>(Load<uint32_t>(scalar.bytes));
    default:
      return RealToInteger(ReadReal(scalar));
  }
}

std::string ReadString(const Scalar& scalar) {
  if (scalar.bytes == nullptr) return {};
  const char* text = reinterpret_cast<const char*>(scalar.bytes);
  switch (scalar.type) {
    case kTypeString:
    case kTypeGroup:
      return std::string(text, scalar.size);
    case kTypeCString:
      return std::string(text, strnlen(text, scalar.size));
    case kTypePString: {
      if (scalar.size == 0) return {};
      const uint32_t length = std::min<uint32_t>(scalar.bytes[0], scalar.size - 1);
      return std::string(text + 1, length);
    }
    case kTypeByte:
    case kTypeShort:
    case kTypeUShort:
    case kTypeLong:
    case kTypeULong:
      return IntegerToText(ReadInteger(scalar));
    default:
      return RealToText(ReadReal(scalar));
  }
}

}  // namespace carelog::eval
