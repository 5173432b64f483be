#include "runtime/store/error_state.h"

#include <cerrno>
#include <mutex>

#include "runtime/store/messages.h"

namespace carelog::store {
namespace {

struct ErrorState {
  std::mutex mutex;
  int code = 0;
  std::string text;
  std::string file_name;
  const FileDeclaration* file = nullptr;
  int last_system_error = 0;
  int posted_system_error = 0;
};

ErrorState& State() {
  static ErrorState state;
  return state;
}

std::string Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  text.remove_prefix(first);
  if (text.size() > kMaxErrorTextLength) text = text.substr(0, kMaxErrorTextLength);
  return std::string(text);
}

// errno values and the system error numbers they correspond to.
struct ErrnoMapping {
  int posix;
  int system;
};

constexpr ErrnoMapping kErrnoMappings[] = {
    {EPERM, 5},         {ENOENT, 2},    {EIO, 31},         {ENXIO, 21},      {E2BIG, 87},
    {EBADF, 6},         {EAGAIN, 33},   {ENOMEM, 8},       {EACCES, 5},      {EFAULT, 87},
    {EBUSY, 32},        {EEXIST, 80},   {EXDEV, 17},       {ENODEV, 15},     {ENOTDIR, 3},
    {EISDIR, 5},        {EINVAL, 87},   {ENFILE, 4},       {EMFILE, 4},      {ETXTBSY, 32},
    {EFBIG, 39},        {ENOSPC, 39},   {ESPIPE, 25},      {EROFS, 19},      {ENAMETOOLONG, 3},
    {ENOLCK, 36},       {ENOSYS, 1},    {ELOOP, 3},        {EDEADLK, 33},    {ENOTSUP, 50},
    {EDQUOT, 39},       {ENETDOWN, 59}, {ENETUNREACH, 53}, {ECONNRESET, 64}, {ETIMEDOUT, 59},
    {EHOSTUNREACH, 53}, {ESTALE, 64},   {ENOTEMPTY, 5},
};

}  // namespace

std::string ErrorTextFor(int code, int system_error) {
  const int posted = code == 0 ? kSystemErrorBase + system_error : code;
  const std::string_view message = MessageFor(posted);
  if (message.empty()) {
    return Trimmed(std::string(MessageFor(kUnknownErrorCode)) + " : " + std::to_string(posted));
  }
  return Trimmed(message);
}

void PostError(int code, const FileDeclaration* file) {
  ErrorState& state = State();
  std::lock_guard lock(state.mutex);
  state.posted_system_error = state.last_system_error;
  state.code = code == 0 ? kSystemErrorBase + state.posted_system_error : code;
  state.text = ErrorTextFor(code, state.posted_system_error);
  state.file = file;
  state.file_name = file != nullptr && file->name.text != nullptr
                        ? std::string(file->name.text, file->name.length)
                        : std::string();
}

void ClearError() {
  ErrorState& state = State();
  std::lock_guard lock(state.mutex);
  state.code = 0;
  state.text.clear();
}

int ErrorCode() {
  ErrorState& state = State();
  std::lock_guard lock(state.mutex);
  return state.code;
}

std::string ErrorText() {
  ErrorState& state = State();
  std::lock_guard lock(state.mutex);
  return state.text;
}

std::string ErrorFile() {
  ErrorState& state = State();
  std::lock_guard lock(state.mutex);
  return state.file_name;
}

const FileDeclaration* ErrorFileDeclaration() {
  ErrorState& state = State();
  std::lock_guard lock(state.mutex);
  return state.file;
}

int SystemErrorCode(int posix_errno) {
  for (const ErrnoMapping& mapping : kErrnoMappings) {
    if (mapping.posix == posix_errno) return mapping.system;
  }
  return 31;  // General Failure
}

int NoteSystemError(int system_error) {
  ErrorState& state = State();
  std::lock_guard lock(state.mutex);
  state.last_system_error = system_error;
  return system_error;
}

int SystemFailure(int posix_errno) {
  return NoteSystemError(SystemErrorCode(posix_errno));
}

int LastSystemError() {
  ErrorState& state = State();
  std::lock_guard lock(state.mutex);
  return state.last_system_error;
}

int PostedSystemError() {
  ErrorState& state = State();
  std::lock_guard lock(state.mutex);
  return state.posted_system_error;
}

}  // namespace carelog::store
