// The key range that a view's filter fixes, for the view engine's filter shortcut.
//
// A filter whose top-level conjunction holds "field = value" for the leading components of the
// view's order (value independent of the record) can only pass records whose key begins with
// those values: the records of one contiguous range of the key. The range knows where the
// record in the buffer lies relative to it, by comparing its fixed components exactly as the
// key orders them (integers by value, texts encoded: direction, NOCASE, collation), and can
// prepare the buffer so that
// SET(key, key) starts at the range's first or last entry.
//
// Components that can be fixed: BYTE, SHORT, USHORT, LONG, ULONG (from a numeric value,
// rounded) and STRING (from a text value). Jumping also needs every later component of the key
// to be one of the integer types, whose lowest and highest values are known; otherwise the
// range is still used to stop at its end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/eval/expression.h"
#include "runtime/store/driver_state.h"
#include "runtime/store/key_encoding.h"

namespace carelog::view {

using store::DriverState;
using store::FieldDef;
using store::FieldEntry;
using store::KeyComponent;
using store::KeyDeclaration;
using store::KeyEntry;
using store::kKeyNoCase;
using store::kTypeByte;
using store::kTypeLong;
using store::kTypeShort;
using store::kTypeString;
using store::kTypeULong;
using store::kTypeUShort;
using store::LocaleTextKeyTables;
using store::TextKeyTables;

class ViewRange {
 public:
  enum class Place { kBefore, kInside, kAfter };  // in the key's ascending entry order

  // Finds the fixed leading components of key `key_number` (1-based; 0 = record order, never
  // a range) in `filter` (null: no filter). REQUIRES: `state` outlives the range's use.
  void Analyse(const eval::Expression* filter, const DriverState& state, int key_number);

  bool active() const { return !fixed_.empty(); }
  bool can_jump() const { return can_jump_; }
  int key_number() const { return key_number_; }

  // Where the record now in the state's buffer lies. REQUIRES: active().
  Place Locate(const DriverState& state);

  // Writes the range's values and the extremes of the later components into the state's
  // buffer, so that SET(key, key) starts at the first (forward) or last entry of the range.
  // REQUIRES: can_jump().
  void PrepareJump(DriverState& state, bool forward);

 private:
  // A copy of the field's description, so that a driver state rebuilt while the view is open
  // (the file closed and opened again) leaves nothing dangling here.
  struct Component {
    FieldDef field;
    bool descending;
    const eval::Node* value;  // fixed components only; owned by the view's filter
  };

  void WriteValue(const Component& component, uint8_t* record) const;
  // The record's value of a fixed component against the range's, in the key's entry order.
  int Compare(const Component& component, const uint8_t* record);

  std::vector<Component> fixed_;
  std::vector<Component> rest_;
  bool nocase_ = false;
  bool can_jump_ = false;
  int key_number_ = 0;
  TextKeyTables text_{};
  std::vector<uint8_t> scratch_;  // a record-sized buffer for a text component's range value
  std::string record_key_;
  std::string range_key_;
};

}  // namespace carelog::view
