// Constant declarations that the application hands to the record store: one FileDeclaration per
// data file, with its KeyDeclarations, MemoDeclarations and record layout stream.
//
// Owner: the data dictionary (app/data) fills them; the file layer (runtime/store) reads them on
// the first operation on a file and keeps its per-file state behind `state`.
//
// THREAD files (attribute kFileAttrThread): every thread has its own copy of the declaration,
// with its own record buffer, key declarations (whose `file` links point back to that copy) and
// memo declarations, so the record store's per-file, per-key and per-memo state is per thread.
// The application always hands in the calling thread's copy; the file layer nevertheless maps a
// THREAD declaration through `thread_copy` before OPEN, SHARE and SEND, so that a declaration
// taken on another thread still opens the caller's own copy. A thread closes its THREAD files
// before it ends: its copies are destroyed with the thread.
//
// Layout stream grammar (bytes):
//   stream  := root entry*                          root = 16 18 00 00 00 00
//   entry   := name NUL type link
//   type    := code [args]      BYTE/SHORT/LONG/ULONG/GROUP: no args
//                               DECIMAL: size byte, places byte
//                               STRING: u32 length, picture text NUL
//                               DIM: u32 count, then the element type
//   link    := 00* (18 u32-offset | <end, once the root is closed>)
// Each 00 closes the innermost open GROUP (the root counts as one); the offset of the next entry
// is counted from the start of its own group. All 32-bit values are little-endian.
#pragma once

#include <cstdint>

namespace carelog::store {

// Field type codes of the layout stream.
enum FieldType : uint8_t {
  kTypeByte = 0x01,
  kTypeShort = 0x02,
  kTypeUShort = 0x03,
  kTypeDate = 0x04,
  kTypeTime = 0x05,
  kTypeLong = 0x06,
  kTypeULong = 0x07,
  kTypeSReal = 0x08,
  kTypeReal = 0x09,
  kTypeDecimal = 0x0A,
  kTypePDecimal = 0x0B,
  kTypeBFloat4 = 0x0D,
  kTypeBFloat8 = 0x0E,
  kTypeString = 0x12,
  kTypeCString = 0x13,
  kTypePString = 0x14,
  kTypeGroup = 0x16,
  kTypeDim = 0x17,
};

inline constexpr uint8_t kLayoutLinkMarker = 0x18;

// File attribute bits.
inline constexpr uint8_t kFileAttrKept02 = 0x02;  // kept as a driver flag, no effect
inline constexpr uint8_t kFileAttrCreate = 0x04;  // CREATE allowed (else error 54)
inline constexpr uint8_t kFileAttrKept08 = 0x08;  // kept as a driver flag, no effect
inline constexpr uint8_t kFileAttrThread = 0x10;  // one copy of the declaration per thread
inline constexpr uint8_t kFileAttrOem = 0x20;     // strings converted ANSI <-> OEM

// Key attribute bits.
inline constexpr uint32_t kKeyDup = 0x01;
inline constexpr uint32_t kKeyOpt = 0x02;
inline constexpr uint32_t kKeyNoCase = 0x04;
inline constexpr uint32_t kKeyPrimary = 0x10;
inline constexpr uint32_t kKeyIndexOnRequest = 0x4000;  // an index, built on request only

struct FileDeclaration;

// A driver's one entry point: operation code, the file (or view) object whose first word is
// this entry point, and the argument list. Returns the operation's result (or error code, as
// the file layer defines).
using DriverEntry = intptr_t (*)(int op, void* object, const intptr_t* args);

// A text that is not NUL-terminated.
struct DeclaredText {
  const char* text;
  uint32_t length;
};

struct KeyDeclaration {
  uint32_t reserved[2];  // zero
  DeclaredText name;     // e.g. "PAT:KEY_LAST_NAME", 17
  void* state;           // the record store's key entry; null in the constant
  uint32_t attributes;   // kKeyDup | kKeyOpt | kKeyNoCase | kKeyPrimary | ...
  uint8_t component_count;
  const int32_t* components;  // field numbers; negative = descending
  FileDeclaration* file;      // back link
};

struct MemoDeclaration {
  uint32_t reserved[2];  // zero
  DeclaredText name;     // upper-case declared name, e.g. "PRO:NOTES"
  char* buffer;          // published by the record store; null in the constant
  uint32_t reserved2;    // zero
  uint8_t attributes;    // 0 in every memo of the application
  uint8_t flags;         // 1 in every memo; 0x02 no OEM conversion, 0x04 binary memo
  uint32_t max_size;     // bytes, at most 64000
};

struct FileDeclaration {
  DriverEntry driver;
  DeclaredText name;      // name on disk
  DeclaredText reserved;  // first reserved string, copied into the driver state
  DeclaredText owner;     // owner password; non-empty means enciphered
  uint8_t attributes;     // kFileAttr*
  uint8_t key_count;
  uint8_t memo_count;
  uint32_t record_size;
  const uint8_t* layout;          // record layout stream
  KeyDeclaration* const* keys;    // key_count entries, key 1 first
  MemoDeclaration* const* memos;  // memo_count entries
  uint8_t* buffer;                // the record buffer, record_size bytes
  void* state;                    // the record store's per-file state; null in the constant
  // Bytes in the layout stream, so that a reader can refuse a stream that runs past its end;
  // 0 when unknown (then the stream ends where its root group is closed).
  uint32_t layout_size = 0;
  // For a THREAD file: returns the calling thread's own copy of this declaration, built on the
  // thread's first call. Null for files without THREAD.
  FileDeclaration* (*thread_copy)() = nullptr;
};

}  // namespace carelog::store
