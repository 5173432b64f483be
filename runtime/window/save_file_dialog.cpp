// The save-file dialog (SAVEFILE$DIALOG): a file name typed or picked from the folder's files,
// folders to move through, and the types of file the caller offers.
//
// What OK does with the name typed:
//   empty                  nothing: a beep, the focus stays on the name
//   a pattern (* or ?)     lists the files matching it
//   a folder (".." too)    moves there
//   anything else          the path of that name in the folder shown, given the type's own
//                          extension when it has none and the type names exactly one; the
//                          folder it lands in must exist
// Enter on the folder list or a double click on a folder moves there.
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "runtime/host/window_system.h"
#include "runtime/window/common_dialogs.h"
#include "runtime/window/control_classes.h"
#include "runtime/window/dialog_fields.h"
#include "runtime/window/file_types.h"
#include "runtime/window/list_rows.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

namespace fs = std::filesystem;

// Controls of SAVEFILE$DIALOG.
enum SaveField : int {
  kNameEntry = 1,
  kFileList = 2,
  kFolderText = 3,
  kFolderList = 4,
  kTypeList = 5,
  kOk = 6,
  kCancel = 7,
};

constexpr size_t kNameSize = 255;
constexpr size_t kMaxListed = 10000;  // rows of one folder listing, for very large folders

// A folder without "." and ".." steps and without a trailing separator.
fs::path Normal(const fs::path& folder) {
  fs::path normal = folder.lexically_normal();
  if (!normal.has_filename() && normal != normal.root_path()) normal = normal.parent_path();
  return normal;
}

class SaveFileDialog {
 public:
  SaveFileDialog(const std::string& preset, const std::string& filter)
      : types_(ParseFileTypes(filter)),
        window_(StructureKind::kWindow, "SAVEFILE$DIALOG", dialog::kModule,
                UseTable{use::String(kNameEntry, name_)}) {
    std::memset(name_, ' ', sizeof name_);
    std::error_code ec;
    folder_ = fs::current_path(ec);
    if (!preset.empty()) {
      fs::path path = fs::absolute(fs::path(host::AnsiToUtf8(preset)), ec);
      if (fs::is_directory(path, ec)) {
        folder_ = path;
      } else {
        if (fs::is_directory(path.parent_path(), ec)) folder_ = path.parent_path();
        dialog::PutString(name_, sizeof name_, host::Utf8ToAnsi(path.filename().string()));
      }
    }
    folder_ = Normal(folder_);
  }

  bool Run(const std::string& title, std::string* result) {
    if (!dialog::OpenWithControls(
            window_, {kNameEntry, kFileList, kFolderText, kFolderList, kTypeList, kOk, kCancel}))
      return false;
    if (!title.empty()) SetProperty(0, prop::kText, title);
    std::vector<std::string> descriptions;
    for (const FileType& t : types_) descriptions.push_back(t.description);
    SetListRows(Get(kTypeList), std::move(descriptions), 1);
    ListFolder();
    Display();
    bool chosen = false, done = false;
    while (!done && Accept()) {
      int field = Field();
      if (Event() == event::kNewSelection && field == kFileList) {
        dialog::PutString(name_, sizeof name_, Get(kFileList).text);
        Display();
      } else if (Event() == event::kNewSelection && field == kTypeList) {
        pattern_.clear();
        ListFolder();
      } else if (Event() == event::kAccepted && field == kFolderList) {
        EnterSelectedFolder();
      } else if (Event() == event::kAccepted && field == kOk) {
        if (host::FocusWindow() == Get(kFolderList).handle && SelectedListRow(Get(kFolderList))) {
          EnterSelectedFolder();
        } else {
          chosen = done = Confirm(result);
        }
      } else if (Event() == event::kAccepted && field == kCancel) {
        done = true;
      }
    }
    Close(window_);
    return chosen;
  }

 private:
  Control& Get(int equate) { return *window_.Find(equate); }

  const FileType& Type() {
    int row = SelectedListRow(Get(kTypeList));
    return types_[static_cast<size_t>(row > 0 ? row - 1 : 0)];
  }

  void ListFolder() {
    std::vector<std::string> files, folders;
    std::error_code ec;
    FileType type = pattern_.empty() ? Type() : FileType{"", {pattern_}};
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
      std::string name = host::Utf8ToAnsi(it->path().filename().string());
      if (name.empty() || name[0] == '.') continue;
      std::error_code kind_error;
      if (it->is_directory(kind_error)) {
        if (folders.size() < kMaxListed) folders.push_back(name);
      } else if (MatchesType(type, name) && files.size() < kMaxListed) {
        files.push_back(name);
      }
    }
    auto by_name = [](const std::string& a, const std::string& b) {
      return strcasecmp(a.c_str(), b.c_str()) < 0;
    };
    std::sort(files.begin(), files.end(), by_name);
    std::sort(folders.begin(), folders.end(), by_name);
    if (folder_.has_parent_path() && folder_ != folder_.root_path()) {
      folders.insert(folders.begin(), "..");
    }
    SetListRows(Get(kFileList), std::move(files));
    SetListRows(Get(kFolderList), std::move(folders));
    Control& shown = Get(kFolderText);
    shown.text = host::Utf8ToAnsi(folder_.string());
    shown.Invalidate();
  }

  // Moves to a folder; false (nothing changed) when it is not one.
  bool MoveTo(const fs::path& target) {
    std::error_code ec;
    fs::path folder = target.is_absolute() ? target : folder_ / target;
    folder = Normal(folder);
    if (!fs::is_directory(folder, ec)) return false;
    folder_ = folder;
    pattern_.clear();
    ListFolder();
    return true;
  }

  void EnterSelectedFolder() {
    if (SelectedListRow(Get(kFolderList))) MoveTo(fs::path(host::AnsiToUtf8(Get(kFolderList).text)));
  }

  // Focuses the name with its whole text selected, so typing replaces it.
  void SelectName() {
    Control& entry = Get(kNameEntry);
    Select(kNameEntry);
    Editing(entry).all_selected = true;
    entry.Invalidate();
  }

  bool Confirm(std::string* result) {
    std::string name = dialog::GetString(name_, sizeof name_);
    if (name.empty()) {
      host::Beep();
      SelectName();
      return false;
    }
    if (name.find_first_of("*?") != std::string::npos) {
      pattern_ = name;
      ListFolder();
      SelectName();
      return false;
    }
    fs::path typed(host::AnsiToUtf8(name));
    if (MoveTo(typed)) {
      dialog::PutString(name_, sizeof name_, "");
      Display();
      SelectName();
      return false;
    }
    fs::path path = (typed.is_absolute() ? typed : folder_ / typed).lexically_normal();
    std::error_code ec;
    if (!path.has_filename() || !fs::is_directory(path.parent_path(), ec)) {
      host::Beep();
      SelectName();
      return false;
    }
    if (!path.has_extension()) path += DefaultExtension(Type());
    *result = host::Utf8ToAnsi(path.string());
    return true;
  }

  std::vector<FileType> types_;
  char name_[kNameSize];
  Structure window_;
  fs::path folder_;
  std::string pattern_;  // a pattern typed as the name, in place of the type's
};

}  // namespace

bool ChooseSaveFile(const std::string& title, std::string* path, const std::string& filter) {
  if (!path) return false;
  SaveFileDialog dialog(*path, filter);
  return dialog.Run(title, path);
}

}  // namespace carelog::window
