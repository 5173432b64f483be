#include "app/data/file_info.h"

#include <cstring>

#include "runtime/store/driver_state.h"
#include "runtime/store/lodestar_driver.h"

namespace carelog::appdata {
namespace {

store::DeclaredText Declared(const char* text) {
  return {text, static_cast<uint32_t>(std::strlen(text))};
}

constexpr store::DeclaredText kNoText = {"", 0};

}  // namespace

DeclaredFile::DeclaredFile(const FileInfo& info, void* record) {
  keys_.reserve(info.keys.size());
  for (const DeclaredKey& key : info.keys) {
    store::KeyDeclaration declared{};
    declared.name = Declared(key.name);
    declared.attributes = key.attributes;
    declared.component_count = key.component_count;
    declared.components = key.components.data();
    declared.file = &declaration_;
    keys_.push_back(declared);
  }
  for (store::KeyDeclaration& key : keys_) key_list_.push_back(&key);

  memos_.reserve(info.memos.size());
  for (const MemoRow& memo : info.memos) {
    store::MemoDeclaration declared{};
    declared.name = Declared(memo.name);
    declared.attributes = 0;
    declared.flags = 1;
    declared.max_size = memo.max_size;
    memos_.push_back(declared);
  }
  for (store::MemoDeclaration& memo : memos_) memo_list_.push_back(&memo);

  declaration_.driver = &store::LodestarEntry;
  declaration_.name = Declared(info.disk_name);
  declaration_.reserved = kNoText;
  declaration_.owner = kNoText;
  declaration_.attributes = info.attributes;
  declaration_.key_count = static_cast<uint8_t>(info.keys.size());
  declaration_.memo_count = static_cast<uint8_t>(info.memos.size());
  declaration_.record_size = info.record_size;
  declaration_.layout = info.layout.data();
  declaration_.layout_size = static_cast<uint32_t>(info.layout.size());
  declaration_.keys = key_list_.data();
  declaration_.memos = memo_list_.data();
  declaration_.buffer = static_cast<uint8_t*>(record);
  declaration_.state = nullptr;
  declaration_.thread_copy =
      (info.attributes & store::kFileAttrThread) != 0 ? info.instance : nullptr;
}

// Only thread copies let go of their state: the process's own declarations keep theirs until the
// process ends, when the record store's own objects may already be gone.
DeclaredFile::~DeclaredFile() {
  if (declaration_.thread_copy != nullptr) store::DiscardDriverState(declaration_);
}

}  // namespace carelog::appdata
