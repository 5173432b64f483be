// Test support: builds record layout streams and complete file declarations in memory, so that
// tests and fuzz targets can hand the driver any declaration, well-formed or not.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "runtime/store/declarations.h"
#include "runtime/store/driver_state.h"
#include "runtime/store/lodestar_driver.h"

namespace carelog::store::testing {

// A layout stream, written entry by entry. Start() writes the root and the link to the first
// entry; every entry is followed by Link() (next entry, after closing some groups) or End().
class LayoutBytes {
 public:
  LayoutBytes& Start(uint32_t first_offset = 0) {
    bytes.push_back(kTypeGroup);
    return Link(first_offset);
  }
  LayoutBytes& Raw(std::initializer_list<uint8_t> raw) {
    bytes.insert(bytes.end(), raw);
    return *this;
  }
  LayoutBytes& U32(uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return *this;
  }
  LayoutBytes& Name(const std::string& name) {
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back(0);
    return *this;
  }
  LayoutBytes& Field(const std::string& name, uint8_t type) { return Name(name).Raw({type}); }
  LayoutBytes& String(const std::string& name, uint32_t length) {
    return Name(name).Raw({kTypeString}).U32(length).Raw({0});
  }
  LayoutBytes& Decimal(const std::string& name, uint8_t size, uint8_t places) {
    return Name(name).Raw({kTypeDecimal, size, places});
  }
  LayoutBytes& Group(const std::string& name) { return Field(name, kTypeGroup); }
  // A DIM prefix; the entry's name must already be written (use Name(), Dim(), then the type).
  LayoutBytes& Dim(uint32_t count) { return Raw({kTypeDim}).U32(count); }
  LayoutBytes& Link(uint32_t offset, int closes = 0) {
    for (int i = 0; i < closes; ++i) bytes.push_back(0);
    bytes.push_back(kLayoutLinkMarker);
    return U32(offset);
  }
  LayoutBytes& End(int closes = 1) {
    for (int i = 0; i < closes; ++i) bytes.push_back(0);
    return *this;
  }

  std::vector<uint8_t> bytes;
};

// A declared file that owns everything its declaration points at.
class TestFile {
 public:
  TestFile(std::string name, uint32_t record_size, std::vector<uint8_t> layout,
           uint8_t attributes = kFileAttrCreate)
      : name_(std::move(name)), layout_(std::move(layout)), buffer_(record_size + 1, 0) {
    declaration = FileDeclaration{};
    declaration.driver = &LodestarEntry;
    declaration.name = {name_.data(), static_cast<uint32_t>(name_.size())};
    declaration.attributes = attributes;
    declaration.record_size = record_size;
    declaration.layout = layout_.data();
    declaration.layout_size = static_cast<uint32_t>(layout_.size());
    declaration.buffer = buffer_.data();
  }
  ~TestFile() { DiscardState(); }

  KeyDeclaration& AddKey(const std::string& name, std::vector<int32_t> components,
                         uint32_t attributes = 0) {
    auto key = std::make_unique<OwnedKey>();
    key->name = name;
    key->components = std::move(components);
    key->declaration = KeyDeclaration{};
    key->declaration.name = {key->name.data(), static_cast<uint32_t>(key->name.size())};
    key->declaration.attributes = attributes;
    key->declaration.component_count = static_cast<uint8_t>(key->components.size());
    key->declaration.components = key->components.data();
    key->declaration.file = &declaration;
    key_pointers_.push_back(&key->declaration);
    keys_.push_back(std::move(key));
    declaration.keys = key_pointers_.data();
    declaration.key_count = static_cast<uint8_t>(key_pointers_.size());
    return keys_.back()->declaration;
  }

  MemoDeclaration& AddMemo(const std::string& name, uint32_t max_size) {
    auto memo = std::make_unique<OwnedMemo>();
    memo->name = name;
    memo->declaration = MemoDeclaration{};
    memo->declaration.name = {memo->name.data(), static_cast<uint32_t>(memo->name.size())};
    memo->declaration.flags = 1;
    memo->declaration.max_size = max_size;
    memo_pointers_.push_back(&memo->declaration);
    memos_.push_back(std::move(memo));
    declaration.memos = memo_pointers_.data();
    declaration.memo_count = static_cast<uint8_t>(memo_pointers_.size());
    return memos_.back()->declaration;
  }

  void DiscardState() { DiscardDriverState(declaration); }
  uint8_t* buffer() { return buffer_.data(); }

  FileDeclaration declaration;

 private:
  struct OwnedKey {
    std::string name;
    std::vector<int32_t> components;
    KeyDeclaration declaration;
  };
  struct OwnedMemo {
    std::string name;
    MemoDeclaration declaration;
  };

  std::string name_;
  std::vector<uint8_t> layout_;
  std::vector<uint8_t> buffer_;
  std::vector<std::unique_ptr<OwnedKey>> keys_;
  std::vector<KeyDeclaration*> key_pointers_;
  std::vector<std::unique_ptr<OwnedMemo>> memos_;
  std::vector<MemoDeclaration*> memo_pointers_;
};

}  // namespace carelog::store::testing
