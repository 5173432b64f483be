// Until the application's global file routines exist, the browse keeps the use counts itself:
// one count per file and thread (THREAD files are separate declarations on every thread, and
// the files without THREAD are opened once per thread that uses them, which the record store
// shares).
#include "app/patterns/browse_services.h"

#include <array>

#include "runtime/eval/record_binding.h"
#include "runtime/host/window_system.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/window/message_box.h"

namespace carelog::app {
namespace {

constexpr int kFileNotFound = 2;

thread_local std::array<int, appdata::kFileCount> use_counts{};

int& UseCount(appdata::FileId file) {
  return use_counts[static_cast<size_t>(file)];
}

bool OpenAndBind(appdata::FileId file) {
  store::FileDeclaration& declaration = appdata::Declaration(file);
  int code = store::Share(declaration);
  if (code == kFileNotFound && store::Create(declaration) == 0) code = store::Share(declaration);
  if (code != 0) {
    ShowRetrievalWarning(appdata::Info(file));
    return false;
  }
  eval::BindRecord(declaration);
  const appdata::FileInfo& info = appdata::Info(file);
  for (size_t m = 0; m < info.memos.size(); ++m) {
    eval::BindMemo(info.memos[m].bound_name, *declaration.memos[m]);
  }
  return true;
}

}  // namespace

bool UseFiles(std::span<const appdata::FileId> files) {
  for (size_t i = 0; i < files.size(); ++i) {
    if (UseCount(files[i]) == 0 && !OpenAndBind(files[i])) {
      ReleaseFiles(files.first(i));
      return false;
    }
    ++UseCount(files[i]);
  }
  return true;
}

void ReleaseFiles(std::span<const appdata::FileId> files) {
  for (appdata::FileId file : files) {
    if (UseCount(file) > 0 && --UseCount(file) == 0) store::Close(appdata::Declaration(file));
  }
}

void ShowRetrievalWarning(const appdata::FileInfo& file) {
  std::string text = "Error: (" + store::ErrorText() + ") attempting to access a record from the " +
                     file.label + " file.  Returning to previous window.";
  window::Message(text, "Record Retrieval Error", window::message_icon::kExclamation,
                  window::message_button::kOk, window::message_button::kOk);
}

void SetBusyCursor(bool busy) {
  host::SetCursor(busy ? host::CursorShape::kHourglass : host::CursorShape::kArrow);
}

}  // namespace carelog::app
