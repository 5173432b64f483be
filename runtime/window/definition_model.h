// The decoded form of a definition module: a tree of entries whose fields are those of the
// kind's layout (definition_format.h). The writer encodes it, the reader decodes it, and the
// text tools print and parse it; the window runtime builds windows from it.
//
// Invariants: an entry holds only fields that its kind's layout has; a string field that is
// absent (offset 0) is missing from `strings`, an empty string is present and empty; a numeric
// field missing from `numbers` has its field's default value.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "runtime/window/definition_format.h"

namespace carelog::window {

struct Rect {
  int32_t x = kNotGiven;
  int32_t y = kNotGiven;
  int32_t width = kNotGiven;
  int32_t height = kNotGiven;
  bool operator==(const Rect&) const = default;
};

// Storage of a control's USE variable.
struct UseType {
  uint8_t type = 0;   // data type code of the record store (6 LONG, 1 BYTE, 0x12 STRING ...)
  uint32_t size = 0;  // bytes; for strings the declared length
  bool operator==(const UseType&) const = default;
};

struct Font {
  std::string face;  // empty: the default face
  int32_t points = 0;
  int32_t color = -1;  // -1: the parent's
  int32_t style = -1;  // -1: the parent's
  bool operator==(const Font&) const = default;
};

struct Entry {
  uint8_t kind = 0;
  uint32_t attr = 0;
  int32_t id = 0;  // field equate number of controls
  Rect at;
  std::optional<UseType> use;
  std::optional<Font> font;
  std::map<Field, std::string> strings;
  std::map<Field, int64_t> numbers;
  std::map<Field, double> reals;
  std::vector<uint32_t> alerts;  // alert key codes, in chain order
  std::vector<int32_t> zones;    // status-bar zone widths
  std::vector<Entry> children;
  std::vector<Entry> menubar;  // zero or one menu bar entry

  bool operator==(const Entry&) const = default;

  const std::string* String(Field field) const {
    auto it = strings.find(field);
    return it == strings.end() ? nullptr : &it->second;
  }
  int64_t Number(Field field) const {
    auto it = numbers.find(field);
    return it == numbers.end() ? InfoOf(field).default_value : it->second;
  }
  double Real(Field field) const {
    auto it = reals.find(field);
    return it == reals.end() ? 0.0 : it->second;
  }
  // The label of a window or report ("MAIN$APPFRAME"), empty when it has none.
  std::string Label() const {
    const std::string* label = String(Field::kLabel);
    return label ? *label : std::string();
  }
};

struct Module {
  std::string identifier;  // "<main source file>$<module name>"
  std::vector<Entry> structures;
  bool operator==(const Module&) const = default;
};

// The controls of a window or report in declaration order: each container before its
// children, menu bars and their menus excluded.
std::vector<const Entry*> ControlsOf(const Entry& structure);

// The controls that carry a USE descriptor, in the order in which they take the entries of a
// procedure's table of USE variables: by field equate number, declaration order among equals.
std::vector<const Entry*> UseControlsOf(const Entry& structure);

// The highest positive field equate number in the structure, 0 when there is none.
int32_t HighestFieldEquate(const Entry& structure);

// The resource name under which a module's body is embedded: the part of the identifier after
// its '$', followed by "_RSC". An identifier without '$' uses the whole identifier.
std::string ResourceNameOf(const std::string& identifier);

}  // namespace carelog::window
