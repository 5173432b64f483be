// A procedure's table of USE variables: each entry names the control it belongs to by field
// equate, where the variable lives, and its storage (type code and size). A window binds each
// control that declares a USE descriptor to the entry with its field equate, so moving a control
// in a definition never moves its variable.
//
// Declaring a table (the storage comes from the variable's C++ type where it can):
//
//   UseTable table{use::Long(kNumberEntry, &v.number),       // LONG, 4 bytes
//                  use::String(kNameEntry, v.name),          // STRING, sizeof v.name
//                  use::Date(kBornEntry, &v.born),           // DATE
//                  use::Decimal(kFeeEntry, v.fee, 2)};       // DECIMAL, 2 places
//   Structure window(StructureKind::kWindow, "FORM$WINDOW", kModule, table);
//
// Checked when the window opens, before anything is shown (MismatchOf): every control with a
// USE descriptor has exactly one entry of the same storage type and size, and every entry names
// such a control. A mismatch is internal error 01 with a text naming the window and the
// control; the window does not open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/window/definition_model.h"
#include "runtime/window/use_binding.h"

namespace carelog::window {

struct UseBinding {
  int field = 0;    // the control's field equate number
  UseType storage;  // what the variable is: type code and size in bytes
  UseVariable variable;
};

using UseTable = std::vector<UseBinding>;

// Storage type codes of USE variables (the record store's data type codes).
namespace use_type {
inline constexpr uint8_t kByte = 0x01;
inline constexpr uint8_t kShort = 0x02;
inline constexpr uint8_t kUShort = 0x03;
inline constexpr uint8_t kDate = 0x04;
inline constexpr uint8_t kTime = 0x05;
inline constexpr uint8_t kLong = 0x06;
inline constexpr uint8_t kULong = 0x07;
inline constexpr uint8_t kSReal = 0x08;
inline constexpr uint8_t kReal = 0x09;
inline constexpr uint8_t kDecimal = 0x0A;
inline constexpr uint8_t kPDecimal = 0x0B;
inline constexpr uint8_t kString = 0x12;
inline constexpr uint8_t kCString = 0x13;
inline constexpr uint8_t kPString = 0x14;
inline constexpr uint8_t kLongString = 0x15;  // stored and shown as kString
}  // namespace use_type

// Table entries by storage type.
namespace use {
inline UseBinding Of(int field, uint8_t type, void* address, size_t size, uint8_t places = 0) {
  return UseBinding{field, UseType{type, static_cast<uint32_t>(size)},
                    UseVariable{address, places}};
}
inline UseBinding Byte(int field, uint8_t* v) {
  return Of(field, use_type::kByte, v, 1);
}
inline UseBinding Short(int field, int16_t* v) {
  return Of(field, use_type::kShort, v, 2);
}
inline UseBinding UShort(int field, uint16_t* v) {
  return Of(field, use_type::kUShort, v, 2);
}
inline UseBinding Date(int field, int32_t* v) {
  return Of(field, use_type::kDate, v, 4);
}
inline UseBinding Time(int field, int32_t* v) {
  return Of(field, use_type::kTime, v, 4);
}
inline UseBinding Long(int field, int32_t* v) {
  return Of(field, use_type::kLong, v, 4);
}
inline UseBinding ULong(int field, uint32_t* v) {
  return Of(field, use_type::kULong, v, 4);
}
inline UseBinding SReal(int field, float* v) {
  return Of(field, use_type::kSReal, v, 4);
}
inline UseBinding Real(int field, double* v) {
  return Of(field, use_type::kReal, v, 8);
}
template <size_t N>
UseBinding String(int field, char (&v)[N]) {
  return Of(field, use_type::kString, v, N);
}
template <size_t N>
UseBinding CString(int field, char (&v)[N]) {
  return Of(field, use_type::kCString, v, N);
}
template <size_t N>
UseBinding PString(int field, char (&v)[N]) {
  return Of(field, use_type::kPString, v, N);
}
template <size_t N>
UseBinding Decimal(int field, uint8_t (&v)[N], uint8_t places) {
  return Of(field, use_type::kDecimal, v, N, places);
}
template <size_t N>
UseBinding PDecimal(int field, uint8_t (&v)[N], uint8_t places) {
  return Of(field, use_type::kPDecimal, v, N, places);
}
}  // namespace use

// The entry for `field`, nullptr when the table has none.
const UseBinding* FindUse(const UseTable& table, int field);

// Why `table` does not fit the USE controls of `structure` (controls and menu items), naming
// the structure's label and the control; empty when it fits.
std::string MismatchOf(const Entry& structure, const UseTable& table);

// "LONG(4)", "STRING(20)": a storage as the mismatch texts show it.
std::string StorageName(const UseType& storage);

}  // namespace carelog::window
