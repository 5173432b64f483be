#include "runtime/view/view_engine_range.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "runtime/eval/filter_analysis.h"
#include "runtime/eval/variable.h"

namespace carelog::view {
namespace {

bool IsIntegerType(uint8_t type) {
  return type == kTypeByte || type == kTypeShort || type == kTypeUShort || type == kTypeLong ||
         type == kTypeULong;
}

// The lowest and highest value of an integer field type.
void IntegerLimits(uint8_t type, double* low, double* high) {
  switch (type) {
    case kTypeByte:
      *low = 0, *high = 255;
      return;
    case kTypeShort:
      *low = INT16_MIN, *high = INT16_MAX;
      return;
    case kTypeUShort:
      *low = 0, *high = UINT16_MAX;
      return;
    case kTypeLong:
      *low = INT32_MIN, *high = INT32_MAX;
      return;
    default:
      *low = 0, *high = UINT32_MAX;
      return;
  }
}

// The value an integer field of `type` takes when `value` is written to it: rounded, then
// held to the type's range.
int64_t IntegerValue(uint8_t type, double value) {
  double low;
  double high;
  IntegerLimits(type, &low, &high);
  return static_cast<int64_t>(std::clamp(std::round(value), low, high));
}

void WriteInteger(uint8_t type, double value, uint8_t* at) {
  const int64_t bits = IntegerValue(type, value);
  switch (type) {
    case kTypeByte:
      *at = static_cast<uint8_t>(bits);
      return;
    case kTypeShort:
    case kTypeUShort: {
      const auto v = static_cast<uint16_t>(bits);
      std::memcpy(at, &v, 2);
      return;
    }
    default: {
      const auto v = static_cast<uint32_t>(bits);
      std::memcpy(at, &v, 4);
      return;
    }
  }
}

FieldDef DefinitionOf(const FieldEntry& field) {
  FieldDef def;
  def.type = field.type;
  def.offset = static_cast<uint16_t>(field.offset);
  def.total_size = static_cast<uint16_t>(field.element_size);
  def.declared_length = static_cast<uint16_t>(field.string_length);
  return def;
}

}  // namespace

void ViewRange::Analyse(const eval::Expression* filter, const DriverState& state, int key_number) {
  fixed_.clear();
  rest_.clear();
  can_jump_ = false;
  key_number_ = key_number;
  if (filter == nullptr || key_number < 1 || key_number > static_cast<int>(state.keys.size())) {
    return;
  }
  const KeyEntry& key = state.keys[key_number - 1];
  const uint8_t* record = state.record;
  const uint32_t size = state.record_size;
  const std::vector<eval::FieldEquality> equalities =
      eval::FindFieldEqualities(*filter, [&](const eval::Variable& variable) {
        if (variable.memo != nullptr) return true;  // memos change with every read too
        const auto* at = static_cast<const uint8_t*>(variable.address);
        return at >= record && at < record + size;
      });
  nocase_ = (key.flags & kKeyNoCase) != 0;
  for (const KeyComponent& component : key.components) {
    const FieldEntry& field = *component.field;
    const eval::Node* value = nullptr;
    if (rest_.empty()) {
      for (const eval::FieldEquality& equality : equalities) {
        const eval::Variable& bound = *equality.field;
        const bool same_field = bound.address == record + field.offset &&
                                bound.type == field.type && bound.size == field.element_size;
        const bool fits =
            IsIntegerType(field.type) ||
            (field.type == kTypeString && equality.value->type() == eval::ValueType::kString);
        if (same_field && fits && field.dimension_count == 0) {
          value = equality.value;
          break;
        }
      }
    }
    if (value != nullptr) {
      fixed_.push_back({DefinitionOf(field), component.descending, value});
    } else {
      rest_.push_back({DefinitionOf(field), component.descending, nullptr});
    }
  }
  can_jump_ = !fixed_.empty();
  for (const Component& component : rest_) {
    if (!IsIntegerType(component.field.type)) can_jump_ = false;
  }
  // Only text components are encoded through the text tables, taken as the locale has them now.
  for (const Component& component : fixed_) {
    if (component.field.type == kTypeString) {
      text_ = LocaleTextKeyTables(state.oem());
      break;
    }
  }
  scratch_.assign(size, 0);
}

void ViewRange::WriteValue(const Component& component, uint8_t* record) const {
  const FieldDef& field = component.field;
  uint8_t* at = record + field.offset;
  if (IsIntegerType(field.type)) {
    WriteInteger(field.type, component.value->Real(), at);
    return;
  }
  const std::string text = component.value->String();
  const size_t copied = std::min<size_t>(text.size(), field.total_size);
  std::memcpy(at, text.data(), copied);
  std::memset(at + copied, ' ', field.total_size - copied);
}

// An integer key component orders its entries by value (the encoding is big-endian with the
// sign bit flipped), so it is compared as a number; a text component is encoded both ways, as
// the key encodes it (NOCASE, collation). Every component has an encoding of fixed length, so
// the first component that differs decides, as it does between whole keys.
int ViewRange::Compare(const Component& component, const uint8_t* record) {
  const FieldDef& field = component.field;
  if (IsIntegerType(field.type)) {
    // Every integer type's value is exact in a double.
    const double have = eval::ReadReal(
        eval::Scalar{record + field.offset, static_cast<store::FieldType>(field.type)});
    const auto wanted = static_cast<double>(IntegerValue(field.type, component.value->Real()));
    const int order = (have > wanted) - (have < wanted);
    return component.descending ? -order : order;
  }
  WriteValue(component, scratch_.data());
  record_key_.clear();
  range_key_.clear();
  AppendComponent(field, component.descending, nocase_, text_, record, &record_key_);
  AppendComponent(field, component.descending, nocase_, text_, scratch_.data(), &range_key_);
  return record_key_.compare(range_key_);
}

ViewRange::Place ViewRange::Locate(const DriverState& state) {
  for (const Component& component : fixed_) {
    const int order = Compare(component, state.record);
    if (order != 0) return order < 0 ? Place::kBefore : Place::kAfter;
  }
  return Place::kInside;
}

void ViewRange::PrepareJump(DriverState& state, bool forward) {
  for (const Component& component : fixed_) WriteValue(component, state.record);
  for (const Component& component : rest_) {
    double low;
    double high;
    IntegerLimits(component.field.type, &low, &high);
    // The first entry of the range has the lowest encoding in each later component: the
    // lowest value ascending, the highest descending; the last entry the other way round.
    const bool lowest_value = forward != component.descending;
    WriteInteger(component.field.type, lowest_value ? low : high,
                 state.record + component.field.offset);
  }
}

}  // namespace carelog::view
