#include "runtime/window/definition_writer.h"

#include <cstring>

#include "runtime/window/definition_reader.h"

namespace carelog::window {
namespace {

class Writer {
 public:
  explicit Writer(std::string* error) : error_(error) {
    image_.assign(kImagePrefix, 0);
    PutU32(0);  // first-structure word, patched later
  }

  bool WriteStructures(const std::vector<Entry>& structures) {
    for (std::string_view text : kHeaderStrings) PutString(std::string(text));
    uint32_t link = kFirstStructure;
    for (const Entry& entry : structures) {
      if (entry.kind != kKindWindow && entry.kind != kKindReport) {
        return Fail("a top-level structure must be a window or a report");
      }
      uint32_t offset = 0;
      if (!WriteEntry(entry, &offset)) return false;
      PatchU32(link, offset);
      link = offset + kEntryNext;
    }
    return true;
  }

  const std::vector<uint8_t>& image() const { return image_; }

 private:
  bool Fail(const std::string& message) {
    *error_ = message;
    return false;
  }

  uint32_t Here() const { return static_cast<uint32_t>(image_.size()); }

  void PutU32(uint32_t value) {
    for (int i = 0; i < 4; ++i) image_.push_back(static_cast<uint8_t>(value >> (8 * i)));
  }

  void PatchU32(uint32_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) image_[at + i] = static_cast<uint8_t>(value >> (8 * i));
  }

  void PatchU64(uint32_t at, uint64_t value) {
    for (int i = 0; i < 8; ++i) image_[at + i] = static_cast<uint8_t>(value >> (8 * i));
  }

  uint32_t PutString(const std::string& text) {
    uint32_t offset = Here();
    image_.insert(image_.end(), text.begin(), text.end());
    image_.push_back(0);
    return offset;
  }

  // A chain of 8-byte records {value, next}; returns the offset of the first, 0 when empty.
  template <typename T>
  uint32_t PutChain(const std::vector<T>& values) {
    if (values.empty()) return 0;
    uint32_t first = Here();
    for (size_t i = 0; i < values.size(); ++i) {
      PutU32(static_cast<uint32_t>(values[i]));
      PutU32(i + 1 < values.size() ? Here() + 4 : 0);
    }
    return first;
  }

  // Places what the slot references ahead of the entry; returns the word to store in the slot.
  bool PutReferenced(const Entry& entry, const FieldSlot& slot, uint32_t* word) {
    *word = 0;
    switch (InfoOf(slot.field).type) {
      case FieldType::kString:
      case FieldType::kPicture:
        if (const std::string* text = entry.String(slot.field)) {
          if (text->find('\0') != std::string::npos) return Fail("a text holds a zero byte");
          *word = PutString(*text);
        }
        return true;
      case FieldType::kUse:
        if (entry.use) {
          *word = Here();
          image_.push_back(entry.use->type);
          PutU32(entry.use->size);
          PutU32(0);
        }
        return true;
      case FieldType::kFont:
        if (entry.font) {
          if (entry.font->face.find('\0') != std::string::npos) {
            return Fail("a font name holds a zero byte");
          }
          uint32_t face = PutString(entry.font->face);
          *word = Here();
          PutU32(face);
          PutU32(static_cast<uint32_t>(entry.font->points));
          PutU32(static_cast<uint32_t>(entry.font->color));
          PutU32(static_cast<uint32_t>(entry.font->style));
        }
        return true;
      case FieldType::kAlerts:
        *word = PutChain(entry.alerts);
        return true;
      case FieldType::kZones:
        *word = PutChain(entry.zones);
        return true;
      default:
        return true;  // inline fields and links
    }
  }

  // Checks that the entry holds only fields of its kind.
  bool CheckFields(const Entry& entry, const KindLayout& layout) {
    auto has = [&](Field field) { return SlotOf(layout, field) != nullptr; };
    for (const auto& [field, value] : entry.strings) {
      if (!has(field)) return Fail(std::string(layout.name) + " has no " + InfoOf(field).keyword);
    }
    for (const auto& [field, value] : entry.numbers) {
      if (!has(field)) return Fail(std::string(layout.name) + " has no " + InfoOf(field).keyword);
    }
    for (const auto& [field, value] : entry.reals) {
      if (!has(field)) return Fail(std::string(layout.name) + " has no " + InfoOf(field).keyword);
    }
    if (entry.use && !has(Field::kUse)) return Fail(std::string(layout.name) + " has no use");
    if (entry.font && !has(Field::kFont)) return Fail(std::string(layout.name) + " has no font");
    if (!entry.alerts.empty() && !has(Field::kAlerts)) {
      return Fail(std::string(layout.name) + " has no alert keys");
    }
    if (!entry.zones.empty() && !has(Field::kZones)) {
      return Fail(std::string(layout.name) + " has no status zones");
    }
    if (!entry.children.empty() && !has(Field::kChildren)) {
      return Fail(std::string(layout.name) + " holds no children");
    }
    if (entry.menubar.size() > (has(Field::kMenuBar) ? 1u : 0u)) {
      return Fail(std::string(layout.name) + " cannot hold this many menu bars");
    }
    if (!layout.control && entry.id != 0) {
      return Fail(std::string(layout.name) + " has no field equate number");
    }
    if (!has(Field::kAt) && entry.at != Rect{}) {
      return Fail(std::string(layout.name) + " has no position");
    }
    return true;
  }

  bool WriteEntry(const Entry& entry, uint32_t* offset) {
    if (++depth_ > kMaxDepth + 1) return Fail("definitions nest too deeply");
    const KindLayout* layout = LayoutOf(entry.kind);
    if (!layout) return Fail("unknown kind " + std::to_string(entry.kind));
    if (!CheckFields(entry, *layout)) return false;

    uint32_t words[256] = {};
    for (size_t i = 0; i < layout->slot_count; ++i) {
      if (!PutReferenced(entry, layout->slots[i], &words[i])) return false;
    }

    uint32_t at = *offset = Here();
    image_.resize(image_.size() + layout->size, 0);
    image_[at + kEntryKind] = entry.kind;
    PatchU32(at + kEntryAttr, entry.attr);
    if (layout->control) PatchU32(at + kEntryId, static_cast<uint32_t>(entry.id));
    uint32_t children_slot = 0;
    uint32_t menubar_slot = 0;
    for (size_t i = 0; i < layout->slot_count; ++i) {
      const FieldSlot& slot = layout->slots[i];
      uint32_t field_at = at + slot.offset;
      switch (InfoOf(slot.field).type) {
        case FieldType::kU8:
          image_[field_at] = static_cast<uint8_t>(entry.Number(slot.field));
          break;
        case FieldType::kI32:
        case FieldType::kHex:
        case FieldType::kAction:
          PatchU32(field_at, static_cast<uint32_t>(entry.Number(slot.field)));
          break;
        case FieldType::kReal: {
          double real = entry.Real(slot.field);
          uint64_t bits = 0;
          std::memcpy(&bits, &real, sizeof bits);
          PatchU64(field_at, bits);
          break;
        }
        case FieldType::kAt:
          PatchU32(field_at, static_cast<uint32_t>(entry.at.x));
          PatchU32(field_at + 4, static_cast<uint32_t>(entry.at.y));
          PatchU32(field_at + 8, static_cast<uint32_t>(entry.at.width));
          PatchU32(field_at + 12, static_cast<uint32_t>(entry.at.height));
          break;
        case FieldType::kChildren:
          children_slot = field_at;
          break;
        case FieldType::kMenuBar:
          menubar_slot = field_at;
          break;
        default:
          PatchU32(field_at, words[i]);
          break;
      }
    }
    for (const Entry& bar : entry.menubar) {
      if (bar.kind != kKindMenuBar) return Fail("the menu bar slot holds a " + KindName(bar));
      uint32_t bar_offset = 0;
      if (!WriteEntry(bar, &bar_offset)) return false;
      PatchU32(menubar_slot, bar_offset);
    }
    if (!WriteList(entry.children, children_slot)) return false;
    --depth_;
    return true;
  }

  // Writes a sibling list; the first entry's offset goes into the word at `link`.
  bool WriteList(const std::vector<Entry>& entries, uint32_t link) {
    for (const Entry& child : entries) {
      if (child.kind == kKindWindow || child.kind == kKindReport || child.kind == kKindMenuBar) {
        return Fail("a " + KindName(child) + " cannot be nested");
      }
      uint32_t offset = 0;
      if (!WriteEntry(child, &offset)) return false;
      PatchU32(link, offset);
      link = offset + kEntryNext;
    }
    return true;
  }

  static std::string KindName(const Entry& entry) {
    const KindLayout* layout = LayoutOf(entry.kind);
    return layout ? layout->name : "kind " + std::to_string(entry.kind);
  }

  std::string* error_;
  std::vector<uint8_t> image_;
  int depth_ = 0;
};

}  // namespace

bool EncodeModule(const Module& module, std::vector<uint8_t>* body, std::string* error) {
  if (module.identifier.find('\0') != std::string::npos) {
    *error = "the module identifier holds a zero byte";
    return false;
  }
  Writer writer(error);
  if (!writer.WriteStructures(module.structures)) return false;
  body->assign(module.identifier.begin(), module.identifier.end());
  body->push_back(0);
  body->insert(body->end(), writer.image().begin() + kImagePrefix, writer.image().end());
  return true;
}

}  // namespace carelog::window
