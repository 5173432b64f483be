#include "runtime/window/definition_reader.h"

#include <cstring>

namespace carelog::window {
namespace {

class Reader {
 public:
  explicit Reader(const Image& image) : bytes_(image.bytes), seen_(image.bytes.size(), false) {}

  uint32_t error_offset() const { return error_offset_; }

  // Checks that [offset, offset + width) lies in the image behind the prefix.
  bool InRange(uint32_t offset, uint32_t width) const {
    return offset >= kImagePrefix && offset <= bytes_.size() && width <= bytes_.size() - offset;
  }

  uint32_t U32(uint32_t at) const {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(bytes_[at + i]) << (8 * i);
    return value;
  }

  DefinitionError Fail(DefinitionError error, uint32_t at) {
    error_offset_ = at;
    return error;
  }

  // Marks a record or entry as reached; a second visit means the links form a loop.
  DefinitionError Visit(uint32_t offset, uint32_t width) {
    if (!InRange(offset, width)) return Fail(DefinitionError::kOffsetOutOfRange, offset);
    if (seen_[offset]) return Fail(DefinitionError::kLoop, offset);
    seen_[offset] = true;
    return DefinitionError::kOk;
  }

  DefinitionError ReadString(uint32_t offset, std::string* text) {
    if (!InRange(offset, 1)) return Fail(DefinitionError::kOffsetOutOfRange, offset);
    const void* end = std::memchr(bytes_.data() + offset, 0, bytes_.size() - offset);
    if (!end) return Fail(DefinitionError::kUnterminatedString, offset);
    text->assign(reinterpret_cast<const char*>(bytes_.data() + offset),
                 static_cast<const uint8_t*>(end) - (bytes_.data() + offset));
    return DefinitionError::kOk;
  }

  // Reads the header of the entry at `offset` and checks that the whole entry is in range.
  DefinitionError Header(uint32_t offset, const KindLayout** layout) {
    if (!InRange(offset, 1)) return Fail(DefinitionError::kOffsetOutOfRange, offset);
    *layout = LayoutOf(bytes_[offset]);
    if (!*layout) return Fail(DefinitionError::kUnknownKind, offset);
    if (!InRange(offset, (*layout)->size)) return Fail(DefinitionError::kOffsetOutOfRange, offset);
    return DefinitionError::kOk;
  }

  template <typename T>
  DefinitionError Chain(uint32_t offset, std::vector<T>* values) {
    while (offset != 0) {
      if (DefinitionError error = Visit(offset, kChainRecordSize); error != DefinitionError::kOk) {
        return error;
      }
      values->push_back(static_cast<T>(U32(offset)));
      offset = U32(offset + 4);
    }
    return DefinitionError::kOk;
  }

  DefinitionError ReadFont(uint32_t offset, Font* font) {
    if (!InRange(offset, kFontRecordSize)) return Fail(DefinitionError::kOffsetOutOfRange, offset);
    uint32_t face = U32(offset);
    if (face != 0) {
      if (DefinitionError error = ReadString(face, &font->face); error != DefinitionError::kOk) {
        return error;
      }
    }
    font->points = static_cast<int32_t>(U32(offset + 4));
    font->color = static_cast<int32_t>(U32(offset + 8));
    font->style = static_cast<int32_t>(U32(offset + 12));
    return DefinitionError::kOk;
  }

  DefinitionError ReadField(uint32_t entry_at, const FieldSlot& slot, Entry* entry, int depth) {
    const FieldInfo& info = InfoOf(slot.field);
    uint32_t at = entry_at + slot.offset;
    uint32_t word = info.type == FieldType::kU8 ? bytes_[at] : U32(at);
    DefinitionError error = DefinitionError::kOk;
    switch (info.type) {
      case FieldType::kU8:
      case FieldType::kI32:
      case FieldType::kHex:
      case FieldType::kAction: {
        int64_t value = info.type == FieldType::kI32  ? static_cast<int32_t>(word)
                        : info.type == FieldType::kU8 ? word
                        : info.default_value < 0      ? static_cast<int32_t>(word)
                                                      : static_cast<int64_t>(word);
        if (value != info.default_value) entry->numbers[slot.field] = value;
        break;
      }
      case FieldType::kString:
      case FieldType::kPicture:
        if (word != 0) error = ReadString(word, &entry->strings[slot.field]);
        break;
      case FieldType::kReal: {
        uint64_t bits = U32(at) | static_cast<uint64_t>(U32(at + 4)) << 32;
        double real = 0;
        std::memcpy(&real, &bits, sizeof real);
        if (bits != 0) entry->reals[slot.field] = real;
        break;
      }
      case FieldType::kAt:
        entry->at = Rect{static_cast<int32_t>(U32(at)), static_cast<int32_t>(U32(at + 4)),
                         static_cast<int32_t>(U32(at + 8)), static_cast<int32_t>(U32(at + 12))};
        break;
      case FieldType::kUse:
        if (word != 0) {
          if (!InRange(word, kUseRecordSize)) return Fail(DefinitionError::kOffsetOutOfRange, at);
          entry->use = UseType{bytes_[word], U32(word + 1)};
        }
        break;
      case FieldType::kFont:
        if (word != 0) error = ReadFont(word, &entry->font.emplace());
        break;
      case FieldType::kAlerts:
        error = Chain(word, &entry->alerts);
        break;
      case FieldType::kZones:
        error = Chain(word, &entry->zones);
        break;
      case FieldType::kChildren:
        error = ReadList(word, entry->kind, depth + 1, &entry->children);
        break;
      case FieldType::kMenuBar:
        if (word != 0) {
          const KindLayout* layout = nullptr;
          error = Header(word, &layout);
          if (error != DefinitionError::kOk) return error;
          if (layout->code != kKindMenuBar) return Fail(DefinitionError::kMisplacedKind, word);
          error = ReadEntry(word, depth + 1, &entry->menubar.emplace_back());
        }
        break;
    }
    return error;
  }

  DefinitionError ReadEntry(uint32_t offset, int depth, Entry* entry) {
    if (depth > kMaxDepth) return Fail(DefinitionError::kTooDeep, offset);
    const KindLayout* layout = nullptr;
    if (DefinitionError error = Header(offset, &layout); error != DefinitionError::kOk) {
      return error;
    }
    if (DefinitionError error = Visit(offset, layout->size); error != DefinitionError::kOk) {
      return error;
    }
    entry->kind = layout->code;
    entry->attr = U32(offset + kEntryAttr);
    if (layout->control) entry->id = static_cast<int32_t>(U32(offset + kEntryId));
    for (size_t i = 0; i < layout->slot_count; ++i) {
      DefinitionError error = ReadField(offset, layout->slots[i], entry, depth);
      if (error != DefinitionError::kOk) return error;
    }
    return DefinitionError::kOk;
  }

  // Reads a sibling list whose entries must be allowed in `parent` (MayStandIn).
  DefinitionError ReadList(uint32_t offset, uint8_t parent, int depth, std::vector<Entry>* out) {
    while (offset != 0) {
      const KindLayout* layout = nullptr;
      if (DefinitionError error = Header(offset, &layout); error != DefinitionError::kOk) {
        return error;
      }
      if (!MayStandIn(parent, layout->code)) return Fail(DefinitionError::kMisplacedKind, offset);
      if (DefinitionError error = ReadEntry(offset, depth, &out->emplace_back());
          error != DefinitionError::kOk) {
        return error;
      }
      offset = U32(offset + kEntryNext);
    }
    return DefinitionError::kOk;
  }

  // Windows, reports and menu bars never stand in a list; menus and items only below a menu
  // bar or a menu, and a menu bar holds menus only.
  static bool MayStandIn(uint8_t parent, uint8_t kind) {
    if (kind == kKindWindow || kind == kKindReport || kind == kKindMenuBar) return false;
    bool in_menu = parent == kKindMenuBar || parent == kKindMenu;
    bool is_menu = kind == kKindMenu || kind == kKindItem;
    return in_menu == is_menu && !(parent == kKindMenuBar && kind == kKindItem);
  }

 private:
  const std::vector<uint8_t>& bytes_;
  std::vector<bool> seen_;
  uint32_t error_offset_ = 0;
};

bool IsStructure(uint8_t kind) {
  return kind == kKindWindow || kind == kKindReport;
}

}  // namespace

const char* DefinitionErrorText(DefinitionError error) {
  switch (error) {
    case DefinitionError::kOk:
      return "no error";
    case DefinitionError::kTruncated:
      return "the body is truncated";
    case DefinitionError::kOffsetOutOfRange:
      return "an offset lies outside the body";
    case DefinitionError::kUnterminatedString:
      return "a string has no terminating zero";
    case DefinitionError::kUnknownKind:
      return "an entry has an unknown kind";
    case DefinitionError::kMisplacedKind:
      return "an entry stands where its kind cannot";
    case DefinitionError::kLoop:
      return "a list or chain loops";
    case DefinitionError::kTooDeep:
      return "entries nest too deeply";
    case DefinitionError::kResourceNotFound:
      return "no resource for the module";
    case DefinitionError::kModuleMismatch:
      return "the resource holds another module";
    case DefinitionError::kLabelNotFound:
      return "no structure with this label";
  }
  return "unknown error";
}

DefinitionError MakeImage(const uint8_t* body, size_t size, Image* image) {
  const void* zero = size ? std::memchr(body, 0, size) : nullptr;
  if (!zero) return DefinitionError::kTruncated;
  size_t id_end = static_cast<const uint8_t*>(zero) - body + 1;
  if (size - id_end < 4 || size - id_end > UINT32_MAX - kImagePrefix) {
    return DefinitionError::kTruncated;
  }
  image->identifier.assign(reinterpret_cast<const char*>(body), id_end - 1);
  image->bytes.assign(kImagePrefix, 0);
  image->bytes.insert(image->bytes.end(), body + id_end, body + size);
  return DefinitionError::kOk;
}

DefinitionError ListStructures(const Image& image, std::vector<uint32_t>* offsets,
                               uint32_t* error_offset) {
  Reader reader(image);
  uint32_t offset = reader.U32(kFirstStructure);
  DefinitionError error = DefinitionError::kOk;
  while (offset != 0) {
    const KindLayout* layout = nullptr;
    error = reader.Header(offset, &layout);
    if (error == DefinitionError::kOk) error = reader.Visit(offset, layout->size);
    if (error == DefinitionError::kOk && !IsStructure(layout->code)) {
      error = reader.Fail(DefinitionError::kMisplacedKind, offset);
    }
    if (error != DefinitionError::kOk) break;
    offsets->push_back(offset);
    offset = reader.U32(offset + kEntryNext);
  }
  if (error_offset) *error_offset = reader.error_offset();
  return error;
}

DefinitionError DecodeStructure(const Image& image, uint32_t offset, Entry* entry,
                                uint32_t* error_offset) {
  Reader reader(image);
  DefinitionError error = reader.ReadEntry(offset, 0, entry);
  if (error == DefinitionError::kOk && !IsStructure(entry->kind)) {
    error = reader.Fail(DefinitionError::kMisplacedKind, offset);
  }
  if (error_offset) *error_offset = reader.error_offset();
  return error;
}

DefinitionError DecodeModule(const uint8_t* body, size_t size, Module* module,
                             uint32_t* error_offset) {
  Image image;
  if (DefinitionError error = MakeImage(body, size, &image); error != DefinitionError::kOk) {
    return error;
  }
  module->identifier = image.identifier;
  std::vector<uint32_t> offsets;
  if (DefinitionError error = ListStructures(image, &offsets, error_offset);
      error != DefinitionError::kOk) {
    return error;
  }
  Reader reader(image);
  for (uint32_t offset : offsets) {
    DefinitionError error = reader.ReadEntry(offset, 0, &module->structures.emplace_back());
    if (error != DefinitionError::kOk) {
      if (error_offset) *error_offset = reader.error_offset();
      return error;
    }
  }
  return DefinitionError::kOk;
}

bool StructureLabel(const Image& image, uint32_t offset, std::string_view* label) {
  const KindLayout* layout = LayoutOf(image.bytes[offset]);
  const FieldSlot* slot = layout ? SlotOf(*layout, Field::kLabel) : nullptr;
  if (!slot) return false;
  Reader reader(image);
  uint32_t at = reader.U32(offset + slot->offset);
  if (at == 0 || !reader.InRange(at, 1)) return false;
  const void* end = std::memchr(image.bytes.data() + at, 0, image.bytes.size() - at);
  if (!end) return false;
  *label = std::string_view(reinterpret_cast<const char*>(image.bytes.data() + at),
                            static_cast<const uint8_t*>(end) - (image.bytes.data() + at));
  return true;
}

}  // namespace carelog::window
