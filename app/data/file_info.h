// The constant description of one data file (FileInfo) and the declaration objects built from
// it (DeclaredFile).
//
// A FileInfo is pure constant data: label, prefix, name on disk, attributes, the field table
// with its layout stream (layout_stream.h), the keys with their components resolved from field
// names to field numbers at compile time, and the memos with the mixed-case names under which
// they are bound for expressions.
//
// A DeclaredFile is the live store::FileDeclaration (driver: the record store's LODESTAR entry)
// with its key and memo declarations, built from a FileInfo over one record buffer. The record
// store writes into it (state words, memo buffers), so every copy is owned by exactly one place:
//   - a file without THREAD has one DeclaredFile for the process;
//   - a THREAD file has one DeclaredFile per thread, over that thread's record buffer, whose
//     keys link back to that thread's declaration; the declaration's thread_copy returns the
//     calling thread's DeclaredFile, built on its first use there and destroyed with the thread.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "app/data/layout_stream.h"
#include "runtime/store/declarations.h"

namespace carelog::appdata {

inline constexpr size_t kMaxKeyComponents = 4;

// The key attribute combinations that the files use.
inline constexpr uint32_t kRecordId = store::kKeyOpt | store::kKeyNoCase | store::kKeyPrimary;
inline constexpr uint32_t kDupOptNoCase = store::kKeyDup | store::kKeyOpt | store::kKeyNoCase;
inline constexpr uint32_t kDupNoCase = store::kKeyDup | store::kKeyNoCase;
inline constexpr uint32_t kDupOpt = store::kKeyDup | store::kKeyOpt;

// A key as written in a file's table: components by name, "+" ascending, "-" descending.
struct KeyRow {
  const char* name;  // "PAT:KEY_LAST_NAME"
  uint32_t attributes;
  std::array<const char*, kMaxKeyComponents> components;  // unused entries null
};

// A key with its components as signed field numbers (negative = descending).
struct DeclaredKey {
  const char* name;
  uint32_t attributes;
  uint8_t component_count;
  std::array<int32_t, kMaxKeyComponents> components;
};

struct MemoRow {
  const char* name;        // upper-case declared name, "PAT:PLANS_AND_PROGRESS"
  const char* bound_name;  // name bound for expressions, "PAT:Plans_and_Progress"
  uint32_t max_size;       // bytes
};

struct FileInfo {
  const char* label;      // "Patients"
  const char* prefix;     // "PAT"
  const char* disk_name;  // "Patients"
  uint8_t attributes;     // store::kFileAttr*
  uint32_t record_size;
  std::span<const FieldRow> fields;
  std::span<const DeclaredKey> keys;
  std::span<const MemoRow> memos;
  std::span<const uint8_t> layout;
  const char* identifying_key;  // the key by whose position the current record is re-read
  // The calling thread's declaration for a THREAD file, the process's one otherwise.
  store::FileDeclaration* (*instance)();
};

// Number (1-based) of the field called `name`; not a constant expression when there is none,
// so a misspelt key component fails the build.
constexpr int32_t FieldNumber(std::span<const FieldRow> fields, std::string_view name) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (name == fields[i].name) return static_cast<int32_t>(i + 1);
  }
  throw "key component names no field";
}

template <size_t N>
constexpr std::array<DeclaredKey, N> ResolveKeys(std::span<const FieldRow> fields,
                                                 const std::array<KeyRow, N>& keys) {
  std::array<DeclaredKey, N> resolved{};
  for (size_t k = 0; k < N; ++k) {
    resolved[k].name = keys[k].name;
    resolved[k].attributes = keys[k].attributes;
    for (const char* component : keys[k].components) {
      if (component == nullptr) break;
      std::string_view text = component;
      int32_t sign = text[0] == '-' ? -1 : text[0] == '+' ? 1 : throw "component without + or -";
      resolved[k].components[resolved[k].component_count++] =
          sign * FieldNumber(fields, text.substr(1));
    }
  }
  return resolved;
}

// Whether enumerator `index` of a file's key (memo) names is the key (memo) called `name`.
template <size_t N, class Index>
constexpr bool KeyNamed(const std::array<DeclaredKey, N>& keys, Index index,
                        std::string_view name) {
  size_t i = static_cast<size_t>(index);
  return i < N && name == keys[i].name;
}
template <size_t N, class Index>
constexpr bool MemoNamed(const std::array<MemoRow, N>& memos, Index index, std::string_view name) {
  size_t i = static_cast<size_t>(index);
  return i < N && name == memos[i].name;
}

// The live declaration of one file over one record buffer; see the header comment.
class DeclaredFile {
 public:
  // REQUIRES: `record` has info.record_size bytes and outlives this object; `info` is static.
  DeclaredFile(const FileInfo& info, void* record);
  // A thread copy that the record store still holds (its thread ended with the file open) is
  // detached from the store first, so that no state outlives the declaration it links to.
  ~DeclaredFile();
  DeclaredFile(const DeclaredFile&) = delete;
  DeclaredFile& operator=(const DeclaredFile&) = delete;

  store::FileDeclaration& declaration() { return declaration_; }

 private:
  store::FileDeclaration declaration_{};
  std::vector<store::KeyDeclaration> keys_;
  std::vector<store::KeyDeclaration*> key_list_;
  std::vector<store::MemoDeclaration> memos_;
  std::vector<store::MemoDeclaration*> memo_list_;
};

}  // namespace carelog::appdata
