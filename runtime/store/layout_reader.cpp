#include "runtime/store/layout_reader.h"

#include "runtime/store/error_codes.h"

#include <string>

namespace carelog::store {
namespace {

// How the driver sizes each field type of a stored record.
struct TypeInfo {
  uint8_t code;
  uint8_t fixed_size;  // 0: size comes from the arguments
  bool overlay_only;   // accepted only in a field declared over others
};

constexpr TypeInfo kTypes[] = {
    {kTypeByte, 1, false},    {kTypeShort, 2, false},   {kTypeUShort, 2, false},
    {kTypeDate, 4, true},     {kTypeTime, 4, true},     {kTypeLong, 4, false},
    {kTypeULong, 4, false},   {kTypeSReal, 4, false},   {kTypeReal, 8, false},
    {kTypeDecimal, 0, false}, {kTypePDecimal, 0, true}, {kTypeBFloat4, 4, true},
    {kTypeBFloat8, 8, true},  {kTypeString, 0, false},  {kTypeCString, 0, false},
    {kTypePString, 0, false}, {kTypeGroup, 0, false},
};

const TypeInfo* FindType(uint8_t code) {
  for (const TypeInfo& info : kTypes) {
    if (info.code == code) return &info;
  }
  return nullptr;
}

bool IsStringType(uint8_t code) {
  return code == kTypeString || code == kTypeCString || code == kTypePString;
}

// An open GROUP while its members are read. The root is group -1.
struct OpenGroup {
  int field = -1;       // index in the field table, -1 for the root
  uint32_t start = 0;   // absolute offset
  uint64_t stored = 0;  // stored bytes of its members so far
  uint32_t highest_start = 0;
  bool has_members = false;
  bool overlay = false;
};

class LayoutParser {
 public:
  LayoutParser(const uint8_t* data, size_t size, uint32_t record_size, LayoutTable* out)
      : data_(data), remaining_(size), record_size_(record_size), out_(out) {}

  // stream := root link entry*
  int Parse() {
    uint8_t code;
    if (!Byte(&code)) return kErrInvalidFieldType;
    if (code != kTypeGroup) return kErrInvalidFieldType;
    groups_.push_back(OpenGroup{});
    for (;;) {
      uint32_t offset;
      bool end;
      if (int error = Link(&offset, &end)) return error;
      if (end) break;
      if (int error = Entry(offset)) return error;
    }
    out_->stored_size = static_cast<uint32_t>(root_stored_);
    return 0;
  }

 private:
  bool Byte(uint8_t* value) {
    if (remaining_ == 0) return false;
    *value = *data_++;
    --remaining_;
    return true;
  }

  bool Word(uint32_t* value) {
    if (remaining_ < 4) return false;
    *value = uint32_t{data_[0]} | uint32_t{data_[1]} << 8 | uint32_t{data_[2]} << 16 |
             uint32_t{data_[3]} << 24;
    data_ += 4;
    remaining_ -= 4;
    return true;
  }

  bool Text(std::string* text) {
    for (;;) {
      uint8_t c;
      if (!Byte(&c)) return false;
      if (c == 0) return true;
      text->push_back(static_cast<char>(c));
    }
  }

  // link := 00* (18 u32-offset | end, once the root is closed)
  int Link(uint32_t* offset, bool* end) {
    uint8_t marker;
    for (;;) {
      if (!Byte(&marker)) return kErrInvalidFieldType;
      if (marker != 0) break;
      if (int error = CloseGroup()) return error;
      if (groups_.empty()) {
        *end = true;
        return 0;
      }
    }
    if (marker != kLayoutLinkMarker) return kErrInvalidFieldType;
    if (!Word(offset)) return kErrInvalidFieldType;
    *end = false;
    return 0;
  }

  // entry := name NUL type link   (the link is read by the caller's loop)
  int Entry(uint32_t relative_offset) {
    OpenGroup& group = groups_.back();
    const uint64_t offset = uint64_t{group.start} + relative_offset;
    if (offset > record_size_) return kErrInvalidRecordDeclaration;

    FieldEntry field;
    field.number = static_cast<int>(out_->fields.size()) + 1;
    field.offset = static_cast<uint32_t>(offset);
    field.parent = group.field;
    if (!Text(&field.name)) return kErrInvalidFieldType;

    field.overlay = group.overlay ||
                    (group.has_members && group.stored > 0 && field.offset <= group.highest_start);
    if (!group.has_members || field.offset > group.highest_start) {
      group.highest_start = field.offset;
    }
    group.has_members = true;

    if (int error = Type(&field)) return error;
    if (field.type == kTypeGroup) {
      OpenGroup opened;
      opened.field = static_cast<int>(out_->fields.size());
      opened.start = field.offset;
      opened.overlay = field.overlay;
      out_->fields.push_back(std::move(field));
      groups_.push_back(opened);
      return 0;
    }
    const uint64_t total = uint64_t{field.element_count} * field.element_size;
    if (field.offset + total > record_size_) return kErrInvalidRecordDeclaration;
    field.total_size = static_cast<uint32_t>(total);
    if (!field.overlay) groups_.back().stored += total;
    out_->fields.push_back(std::move(field));
    return 0;
  }

  // type := (17 u32-count){0,4} code args
  int Type(FieldEntry* field) {
    uint8_t code;
    uint64_t count = 1;
    for (;;) {
      if (!Byte(&code)) return kErrInvalidFieldType;
      if (code != kTypeDim) break;
      uint32_t dimension;
      if (!Word(&dimension)) return kErrInvalidFieldType;
      if (field->dimension_count == kMaxDimensions || dimension == 0)
        return kErrInvalidRecordDeclaration;
      field->dimensions[field->dimension_count++] = dimension;
      count *= dimension;
      if (count > record_size_ + uint64_t{1}) return kErrInvalidRecordDeclaration;
    }
    const TypeInfo* info = FindType(code);
    if (info == nullptr) return kErrUnsupportedDataType;
    if (info->overlay_only && !field->overlay) return kErrUnsupportedDataType;
    field->type = code;
    field->element_count = static_cast<uint32_t>(count);
    field->element_size = info->fixed_size;

    if (code == kTypeDecimal || code == kTypePDecimal) {
      uint8_t second;
      if (!Byte(&field->decimal_size) || !Byte(&second)) return kErrInvalidFieldType;
      if (code == kTypeDecimal) field->decimal_places = second;
      field->element_size = field->decimal_size;
    } else if (IsStringType(code)) {
      if (!Word(&field->string_length)) return kErrInvalidFieldType;
      if (!Text(&field->picture)) return kErrInvalidFieldType;
      if (field->string_length > kMaxStringLength && !field->overlay)
        return kErrInvalidRecordDeclaration;
      field->element_size = field->string_length;
    }
    return 0;
  }

  // Closes the innermost group: its element size is the sum of its stored members.
  int CloseGroup() {
    const OpenGroup closed = groups_.back();
    groups_.pop_back();
    if (closed.field < 0) {
      if (closed.stored > record_size_) return kErrInvalidRecordDeclaration;
      root_stored_ = closed.stored;
      return 0;
    }
    FieldEntry& field = out_->fields[closed.field];
    const uint64_t total = closed.stored * field.element_count;
    if (closed.stored > record_size_ || field.offset + total > record_size_) {
      return kErrInvalidRecordDeclaration;
    }
    field.element_size = static_cast<uint32_t>(closed.stored);
    field.total_size = static_cast<uint32_t>(total);
    if (!field.overlay) groups_.back().stored += total;
    return 0;
  }

  const uint8_t* data_;
  size_t remaining_;
  uint64_t record_size_;
  LayoutTable* out_;
  std::vector<OpenGroup> groups_;
  uint64_t root_stored_ = 0;
};

}  // namespace

int ReadLayout(const uint8_t* data, size_t size, uint32_t record_size, LayoutTable* out) {
  *out = LayoutTable{};
  if (data == nullptr) return kErrInvalidRecordDeclaration;
  return LayoutParser(data, size, record_size, out).Parse();
}

}  // namespace carelog::store
