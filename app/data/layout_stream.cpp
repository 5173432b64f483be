#include "app/data/layout_stream.h"

#include <algorithm>
#include <limits>

namespace carelog::appdata {
namespace {

constexpr uint8_t kMaxDims = 4;
constexpr uint64_t kMax32 = std::numeric_limits<uint32_t>::max();

// Bounds-checked reading of the stream; every read fails cleanly at the end.
class StreamReader {
 public:
  explicit StreamReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool Byte(uint8_t* value) {
    if (pos_ >= bytes_.size()) return false;
    *value = bytes_[pos_++];
    return true;
  }

  bool U32(uint32_t* value) {
    if (bytes_.size() - pos_ < 4) return false;
    *value = 0;
    for (int i = 0; i < 4; ++i) *value |= static_cast<uint32_t>(bytes_[pos_ + i]) << (8 * i);
    pos_ += 4;
    return true;
  }

  bool Text(std::string* value) {
    auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(pos_);
    auto nul = std::find(begin, bytes_.end(), uint8_t{0});
    if (nul == bytes_.end()) return false;
    value->assign(begin, nul);
    pos_ += value->size() + 1;
    return true;
  }

  bool AtEnd() const { return pos_ == bytes_.size(); }

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
};

// type := [17 u32-count]* code args. Fills type, count, length, places, dims and element_size
// (0 for a GROUP, whose size is known only when it closes).
LayoutError ReadType(StreamReader& in, LayoutField* f) {
  uint64_t count = 1;
  uint8_t code = 0;
  for (;;) {
    if (!in.Byte(&code)) return LayoutError::kTruncated;
    if (code != store::kTypeDim) break;
    uint32_t dim = 0;
    if (!in.U32(&dim)) return LayoutError::kTruncated;
    if (++f->dims > kMaxDims) return LayoutError::kTooManyDims;
    count *= dim;
    if (count > kMax32) return LayoutError::kTooLarge;
  }
  f->count = static_cast<uint32_t>(count);
  f->type = static_cast<store::FieldType>(code);
  switch (code) {
    case store::kTypeByte:
      f->element_size = 1;
      break;
    case store::kTypeShort:
    case store::kTypeUShort:
      f->element_size = 2;
      break;
    case store::kTypeDate:
    case store::kTypeTime:
    case store::kTypeLong:
    case store::kTypeULong:
    case store::kTypeSReal:
    case store::kTypeBFloat4:
      f->element_size = 4;
      break;
    case store::kTypeReal:
    case store::kTypeBFloat8:
      f->element_size = 8;
      break;
    case store::kTypeDecimal:
    case store::kTypePDecimal: {
      uint8_t size = 0;
      if (!in.Byte(&size) || !in.Byte(&f->places)) return LayoutError::kTruncated;
      f->length = size;
      f->element_size = size;
      break;
    }
    case store::kTypeString:
    case store::kTypeCString:
    case store::kTypePString: {
      std::string picture;
      if (!in.U32(&f->length) || !in.Text(&picture)) return LayoutError::kTruncated;
      f->element_size = f->length;
      break;
    }
    case store::kTypeGroup:
      break;
    default:
      return LayoutError::kUnknownType;
  }
  uint64_t size = count * f->element_size;
  if (size > kMax32) return LayoutError::kTooLarge;
  f->size = static_cast<uint32_t>(size);
  return LayoutError::kNone;
}

struct OpenGroup {
  uint32_t start;  // absolute offset of the group
  size_t field;    // index of its entry in the field list; the root has none
  uint64_t end;    // highest end offset of its members so far
};

constexpr size_t kRoot = std::numeric_limits<size_t>::max();

}  // namespace

LayoutError DecodeLayout(std::span<const uint8_t> stream, std::vector<LayoutField>* fields) {
  fields->clear();
  StreamReader in(stream);
  uint8_t byte = 0;
  if (!in.Byte(&byte)) return LayoutError::kTruncated;
  if (byte != store::kTypeGroup) return LayoutError::kNoRoot;
  std::vector<OpenGroup> groups = {{0, kRoot, 0}};

  for (;;) {
    // link := 00* 18 u32-offset; the stream ends once the root is closed.
    for (;;) {
      if (!in.Byte(&byte)) return LayoutError::kTruncated;
      if (byte != 0) break;
      OpenGroup closed = groups.back();
      groups.pop_back();
      if (groups.empty()) {
        return in.AtEnd() ? LayoutError::kNone : LayoutError::kTrailingBytes;
      }
      LayoutField& entry = (*fields)[closed.field];
      entry.element_size =
          static_cast<uint32_t>(std::max<uint64_t>(closed.end, closed.start) - closed.start);
      uint64_t size = uint64_t{entry.count} * entry.element_size;
      if (size > kMax32) return LayoutError::kTooLarge;
      entry.size = static_cast<uint32_t>(size);
      groups.back().end = std::max(groups.back().end, closed.start + size);
    }
    if (byte != store::kLayoutLinkMarker) return LayoutError::kBadLink;
    uint32_t relative = 0;
    if (!in.U32(&relative)) return LayoutError::kTruncated;

    // entry := name 00 type
    LayoutField field;
    field.number = static_cast<uint32_t>(fields->size() + 1);
    uint64_t offset = uint64_t{groups.back().start} + relative;
    if (offset > kMax32) return LayoutError::kTooLarge;
    field.offset = static_cast<uint32_t>(offset);
    field.depth = static_cast<uint8_t>(groups.size() - 1);
    if (!in.Text(&field.name)) return LayoutError::kTruncated;
    if (LayoutError error = ReadType(in, &field); error != LayoutError::kNone) return error;

    if (field.type == store::kTypeGroup) {
      if (groups.size() > kMaxGroupDepth) return LayoutError::kTooDeep;
      groups.push_back({field.offset, fields->size(), field.offset});
    } else {
      groups.back().end = std::max(groups.back().end, offset + field.size);
    }
    fields->push_back(std::move(field));
  }
}

}  // namespace carelog::appdata
