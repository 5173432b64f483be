#include "app/data/file_access.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <string>

#include "app/data/records.h"
#include "app/data/relations.h"
#include "app/data/warnings.h"
#include "runtime/eval/record_binding.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/window/halt.h"

namespace carelog::appdata {
namespace {

constexpr int kFileNotFound = 2;
constexpr int kKeyFileMustBeRebuilt = 46;
constexpr int kInvalidRecordDeclaration = 47;
constexpr int kFileAlreadyOpen = 52;
constexpr uint32_t kExclusiveMode = 0x12;  // read/write, deny all
constexpr const char* kDiskErrorHalt = "Disk Error";

bool IsThreadFile(FileId file) {
  return (Info(file).attributes & store::kFileAttrThread) != 0;
}

// The declarations held open through UseFile, for the halt's cleanup.
struct OpenRegistry {
  std::mutex mutex;
  std::vector<store::FileDeclaration*> open;
};
// Never destroyed: thread and process use counts may still unregister while the program ends.
OpenRegistry& Registry() {
  static OpenRegistry* registry = new OpenRegistry;
  return *registry;
}
void Register(store::FileDeclaration* file) {
  std::lock_guard lock(Registry().mutex);
  Registry().open.push_back(file);
}
void Unregister(store::FileDeclaration* file) {
  std::lock_guard lock(Registry().mutex);
  auto& open = Registry().open;
  open.erase(std::remove(open.begin(), open.end(), file), open.end());
}

// Use counts of one owner: a thread for THREAD files, the process for the others. A thread that
// ends with files still held takes their declarations out of the halt's list, since they die
// with the thread.
struct UseCounts {
  std::array<int32_t, kFileCount> counts{};
  std::array<store::FileDeclaration*, kFileCount> held{};
  ~UseCounts() {
    for (store::FileDeclaration* file : held) {
      if (file != nullptr) Unregister(file);
    }
  }
};
UseCounts process_counts;
thread_local UseCounts thread_counts;

UseCounts& CountsOf(FileId file) {
  return IsThreadFile(file) ? thread_counts : process_counts;
}

// Remembered keys of the three parents, per thread.
struct RememberedKeys {
  int32_t patient = 0;
  int32_t physician = 0;
  int32_t plan = 0;
};
thread_local RememberedKeys remembered;

int32_t* RememberedSlot(FileId file) {
  switch (file) {
    case FileId::kPatients:
      return &remembered.patient;
    case FileId::kPhyscians:
      return &remembered.physician;
    case FileId::kPoc:
      return &remembered.plan;
    default:
      return nullptr;
  }
}

// The parent's key field: the parent field of its relations.
const char* ParentKeyField(FileId file) {
  for (const Relation& relation : Relations()) {
    if (relation.parent == file) return relation.parent_field;
  }
  return nullptr;
}

void Bind(FileId file) {
  const FileInfo& info = Info(file);
  store::FileDeclaration& declaration = Declaration(file);
  eval::BindRecord(declaration);
  for (size_t m = 0; m < info.memos.size(); ++m) {
    eval::BindMemo(info.memos[m].bound_name, *declaration.memos[m]);
  }
}

// Steps after a missing file: create it (when allowed) and open it again; halts on failure.
void CreateAndReopen(store::FileDeclaration& file, bool create) {
  std::string name = store::Name(file);
  if (!create) ShowWarning(warning::kCreationNotAllowed, name);
  if (store::Create(file) != 0) ShowWarning(warning::kFileCreationError, name);
  if (store::Share(file, store::kShareDefaultMode) != 0) {
    ShowWarning(warning::kCreatedFileOpenError, name);
  }
}

// Steps after a key file that must be rebuilt; returns the error of the reopen.
int RebuildAndReopen(store::FileDeclaration& file) {
  std::string name = store::Name(file);
  ShowWarning(warning::kInvalidKey, name);  // No ends the program here
  // The keys are rebuilt with the file held exclusively, then it is shared as usual.
  int error = store::Open(file, kExclusiveMode);
  if (error == 0) error = store::Build(file);
  if (error != 0) ShowWarning(warning::kKeyRebuildError, name);  // halts: reads this error
  store::Close(file);
  return store::Share(file, store::kShareDefaultMode);
}

}  // namespace

void OpenDataFile(FileId id, bool create) {
  store::FileDeclaration& file = Declaration(id);
  int error = store::Share(file, store::kShareDefaultMode);
  if (error == 0 || error == kFileAlreadyOpen) return;
  if (error == kFileNotFound) return CreateAndReopen(file, create);
  if (error == kInvalidRecordDeclaration) ShowWarning(warning::kInvalidFile, store::Name(file));
  if (error == kKeyFileMustBeRebuilt) error = RebuildAndReopen(file);
  if (error == 0) return;
  ShowWarning(warning::kFileAccessError, store::Name(file));
  window::Halt(kDiskErrorHalt, 0);
}

void UseFile(FileId file) {
  UseCounts& owner = CountsOf(file);
  size_t index = static_cast<size_t>(file);
  if (owner.counts[index] == 0) {
    window::AddHaltCleanup(&CloseEveryUsedFile);
    OpenDataFile(file, true);
    Bind(file);
    owner.held[index] = &Declaration(file);
    Register(owner.held[index]);
  }
  ++owner.counts[index];
}

void ReleaseFile(FileId file) {
  UseCounts& owner = CountsOf(file);
  size_t index = static_cast<size_t>(file);
  if (owner.counts[index] == 0) return;
  if (--owner.counts[index] > 0) return;
  store::FileDeclaration* declaration = owner.held[index];
  owner.held[index] = nullptr;
  Unregister(declaration);
  store::Close(*declaration);
}

int32_t UseCount(FileId file) {
  return CountsOf(file).counts[static_cast<size_t>(file)];
}

FileUse::FileUse(std::initializer_list<FileId> files) : FileUse(std::vector<FileId>(files)) {}

FileUse::FileUse(std::vector<FileId> files) : files_(std::move(files)) {
  for (FileId file : files_) UseFile(file);
}

FileUse::~FileUse() {
  for (auto it = files_.rbegin(); it != files_.rend(); ++it) ReleaseFile(*it);
}

void CloseEveryUsedFile() {
  std::vector<store::FileDeclaration*> open;
  {
    std::lock_guard lock(Registry().mutex);
    open.swap(Registry().open);
  }
  for (store::FileDeclaration* file : open) store::Close(*file);
}

void RememberKey(FileId file) {
  int32_t* slot = RememberedSlot(file);
  if (slot == nullptr) return;
  int32_t value = 0;
  const FileInfo& info = Info(file);
  const uint8_t* record = Declaration(file).buffer;
  if (ReadRelationNumber(info, ParentKeyField(file), record, &value)) *slot = value;
}

int32_t RememberedKey(FileId file) {
  int32_t* slot = RememberedSlot(file);
  return slot ? *slot : 0;
}

void SetRememberedKey(FileId file, int32_t value) {
  if (int32_t* slot = RememberedSlot(file)) *slot = value;
}

}  // namespace carelog::appdata
