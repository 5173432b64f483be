#include "tools/defc/text_printer.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace carelog::defc {
namespace {

using window::Entry;
using window::Field;
using window::FieldInfo;
using window::FieldType;
using window::KindLayout;

std::string Quote(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20 || u >= 0x7F) {
      out += "\\x";
      out += kHex[u >> 4];
      out += kHex[u & 15];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Hex(uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%X", value);
  return buffer;
}

// The shortest decimal form that reads back as the same double.
std::string Real(double value) {
  char buffer[40];
  for (int digits = 1; digits <= 17; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    if (std::strtod(buffer, nullptr) == value) break;
  }
  std::string text = buffer;
  if (text.find_first_of(".en") == std::string::npos) text += ".0";
  return text;
}

std::string Coordinate(int32_t value) {
  return value == window::kNotGiven ? "-" : std::to_string(value);
}

// A picture prints as an @-token unless it holds characters that would end the token.
std::string Picture(const std::string& text) {
  bool plain = !text.empty();
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u <= 0x20 || u >= 0x7F) plain = false;
  }
  return plain ? "@" + text : "picture " + Quote(text);
}

std::string UseText(const window::UseType& use) {
  if (use.type == 0x06 && use.size == 4) return "use long";
  if (use.type == 0x01 && use.size == 1) return "use byte";
  if (use.type == 0x12) return "use string " + std::to_string(use.size);
  if (use.type == 0x15) return "use longstring " + std::to_string(use.size);
  return "use type " + std::to_string(use.type) + " " + std::to_string(use.size);
}

bool IsStructure(const Entry& entry) {
  return entry.kind == window::kKindWindow || entry.kind == window::kKindReport;
}

bool IsSeparator(const Entry& entry) {
  return entry.kind == window::kKindItem && !entry.String(Field::kText) && (entry.attr & 0x10);
}

class Printer {
 public:
  std::string Run(const window::Module& module) {
    out_ = "module " + Quote(module.identifier) + "\n";
    for (const Entry& structure : module.structures) {
      out_ += "\n";
      Print(structure, 0);
    }
    return out_;
  }

 private:
  // The properties of `entry`, each a separate piece of text.
  std::vector<std::string> Properties(const Entry& entry, const KindLayout& layout,
                                      Field positional) {
    std::vector<std::string> out;
    uint32_t attr = entry.attr;
    if (IsStructure(entry)) {
      out.push_back(std::string("units ") + window::UnitName(attr));
      attr &= ~window::kUnitMask;
    }
    if (IsSeparator(entry)) attr &= ~0x10u;
    if (layout.control && entry.id != 0) out.push_back("id " + std::to_string(entry.id));
    if (attr != 0) out.push_back("attr " + Hex(attr));
    // The position comes first, then the other fields in layout order.
    if (window::SlotOf(layout, Field::kAt))
      out.push_back(Property(entry, window::InfoOf(Field::kAt)));
    for (size_t i = 0; i < layout.slot_count; ++i) {
      Field field = layout.slots[i].field;
      if (field == positional || field == Field::kAt) continue;
      std::string text = Property(entry, window::InfoOf(field));
      if (!text.empty()) out.push_back(text);
    }
    return out;
  }

  std::string Property(const Entry& entry, const FieldInfo& info) {
    std::string keyword = info.keyword;
    switch (info.type) {
      case FieldType::kU8:
      case FieldType::kI32:
      case FieldType::kHex:
      case FieldType::kAction: {
        auto it = entry.numbers.find(info.field);
        if (it == entry.numbers.end() || it->second == info.default_value) return "";
        int64_t value = it->second;
        if (info.field == Field::kFlags && entry.kind == window::kKindButton && value == 1) {
          return "default";
        }
        if (info.type == FieldType::kHex) return keyword + " " + Hex(static_cast<uint32_t>(value));
        if (info.type == FieldType::kAction) {
          if (const char* name = window::ActionName(value)) return keyword + " " + name;
        }
        return keyword + " " + std::to_string(value);
      }
      case FieldType::kString:
        if (const std::string* text = entry.String(info.field)) return keyword + " " + Quote(*text);
        return "";
      case FieldType::kPicture:
        if (const std::string* text = entry.String(info.field)) return Picture(*text);
        return "";
      case FieldType::kReal: {
        auto it = entry.reals.find(info.field);
        return it == entry.reals.end() ? "" : keyword + " " + Real(it->second);
      }
      case FieldType::kAt:
        return "at " + Coordinate(entry.at.x) + " " + Coordinate(entry.at.y) + " " +
               Coordinate(entry.at.width) + " " + Coordinate(entry.at.height);
      case FieldType::kUse:
        return entry.use ? UseText(*entry.use) : "";
      case FieldType::kFont: {
        if (!entry.font) return "";
        std::string text =
            "font " + Quote(entry.font->face) + " " + std::to_string(entry.font->points);
        if (entry.font->color != -1) text += " fontcolor " + Hex(entry.font->color);
        if (entry.font->style != -1) text += " fontstyle " + Hex(entry.font->style);
        return text;
      }
      case FieldType::kAlerts: {
        if (entry.alerts.empty()) return "";
        std::string text = keyword;
        for (uint32_t key : entry.alerts) text += " " + Hex(key);
        return text;
      }
      case FieldType::kZones: {
        if (entry.zones.empty()) return "";
        std::string text = keyword;
        for (int32_t width : entry.zones) text += " " + std::to_string(width);
        return text;
      }
      case FieldType::kChildren:
      case FieldType::kMenuBar:
        return "";
    }
    return "";
  }

  void Print(const Entry& entry, int depth) {
    const KindLayout* layout = window::LayoutOf(entry.kind);
    std::string indent(2 * depth, ' ');
    out_ += indent + (IsSeparator(entry) ? "separator" : layout->name);
    Field positional = Field::kCount;
    for (Field candidate : {Field::kLabel, Field::kText, Field::kImage}) {
      if (window::SlotOf(*layout, candidate)) {
        if (const std::string* text = entry.String(candidate)) {
          out_ += " " + Quote(*text);
          positional = candidate;
        }
        break;
      }
    }
    std::vector<std::string> properties = Properties(entry, *layout, positional);
    if (IsStructure(entry)) {
      out_ += "\n";
      for (const std::string& property : properties) out_ += indent + "  " + property + "\n";
    } else {
      for (const std::string& property : properties) out_ += " " + property;
      out_ += "\n";
    }
    if (!window::SlotOf(*layout, Field::kChildren)) return;
    for (const Entry& bar : entry.menubar) Print(bar, depth + 1);
    for (const Entry& child : entry.children) Print(child, depth + 1);
    out_ += indent + "end\n";
  }

  std::string out_;
};

}  // namespace

std::string PrintModule(const window::Module& module) {
  return Printer().Run(module);
}

}  // namespace carelog::defc
