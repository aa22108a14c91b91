#include "platform/win/shell/shell_execute.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/win/shell/command_line.h"
#include "platform/win/shell/desktop_associations.h"
#include "platform/win/shell/program_file.h"
#include "platform/win/shell/program_start.h"
#include "platform/win/system/ascii_text.h"
#include "platform/win/system/last_error.h"

namespace {

namespace fs = std::filesystem;

// "scheme:rest" with a scheme of two characters or more (one letter and a colon is a drive).
bool IsUrl(std::string_view text) {
  size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon < 2) return false;
  if (!std::isalpha(static_cast<unsigned char>(text[0]))) return false;
  return std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
  });
}

int FromOpenResult(win::OpenResult result) {
  switch (result) {
    case win::OpenResult::Started:
      return kShellExecuteStarted;
    case win::OpenResult::NotFound:
      return SE_ERR_FNF;
    case win::OpenResult::AccessDenied:
      return SE_ERR_ACCESSDENIED;
    case win::OpenResult::OutOfMemory:
      return SE_ERR_OOM;
    case win::OpenResult::TooLong:
      return kShellOutOfResources;
    case win::OpenResult::HandlerTakesNoUrl:
      return SE_ERR_ASSOCINCOMPLETE;
    case win::OpenResult::NoHandler:
      break;
  }
  return SE_ERR_NOASSOC;
}

int FromErrno(int err) {
  switch (err) {
    case 0:
      return kShellExecuteStarted;
    case ENOENT:
      return SE_ERR_FNF;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return SE_ERR_PNF;
    case EACCES:
    case EPERM:
      return SE_ERR_ACCESSDENIED;
    case ENOMEM:
      return SE_ERR_OOM;
    case E2BIG:
      return kShellOutOfResources;
    case ENOEXEC:
      return SE_ERR_BADFORMAT;
    default:
      return SE_ERR_NOASSOC;
  }
}

int StartWithParameters(const std::string& program, const char* parameters, const std::string& directory) {
  std::vector<std::string> argv{program};
  for (auto& argument : win::SplitCommandLine(parameters ? parameters : "")) argv.push_back(std::move(argument));
  return FromErrno(win::StartProgram(argv, directory));
}

// Why a name that does not exist is missing: its folder is there (2) or not (3).
int MissingFileResult(const fs::path& path) {
  std::error_code error;
  fs::path folder = path.parent_path();
  if (folder.empty() || fs::is_directory(folder, error)) return SE_ERR_FNF;
  return SE_ERR_PNF;
}

// A relative name is taken from the given folder, or the current one: never from PATH, where
// a program of the same name would run instead of the document.
int OpenFile(const std::string& file, const char* parameters, const std::string& directory) {
  std::error_code error;
  fs::path path(file);
  if (path.is_relative()) path = fs::path(directory.empty() ? "." : directory) / path;
  path = fs::absolute(path, error);
  if (error) return SE_ERR_PNF;
  struct stat info = {};
  if (::stat(path.c_str(), &info) != 0) {
    int err = errno;
    if (err != ENOENT) return FromErrno(err);
    if (win::StartsWithNoCase(file, "www.")) return FromOpenResult(win::OpenWithDefaultProgram("http://" + file));
    return MissingFileResult(path);
  }
  if (::access(path.c_str(), R_OK) != 0) return SE_ERR_ACCESSDENIED;
  // What the file is decides, never its execute bit: only a program is started.
  if (S_ISREG(info.st_mode) && win::IsProgramFile(path.string())) {
    return StartWithParameters(path.string(), parameters, directory);
  }
  return FromOpenResult(win::OpenFileWithDefaultProgram(path.lexically_normal().string()));
}

int Execute(const char* operation, const char* file, const char* parameters, const char* directory) {
  if (operation != nullptr && !(win::EqualNoCase(operation, "open"))) {
    return SE_ERR_NOASSOC;
  }
  if (file == nullptr || *file == '\0') return SE_ERR_FNF;
  std::string folder = directory ? directory : "";
  if (!folder.empty()) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) return SE_ERR_PNF;
  }
  std::string target(file);
  if (win::IsFileUrl(target)) {
    auto path = win::PathOfFileUrl(target);
    return path ? OpenFile(*path, parameters, folder) : SE_ERR_FNF;
  }
  if (IsUrl(target)) return FromOpenResult(win::OpenWithDefaultProgram(target));
  return OpenFile(target, parameters, folder);
}

// The last error beside each failing result.
DWORD LastErrorOf(int result) {
  switch (result) {
    case kShellOutOfResources:
      return 206;  // ERROR_FILENAME_EXCED_RANGE: the command line is too long
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_NOASSOC:
      return 1155;  // ERROR_NO_ASSOCIATION
    default:
      return static_cast<DWORD>(result);
  }
}

}  // namespace

HINSTANCE ShellExecuteA(HWND /*owner*/, const char* operation, const char* file, const char* parameters,
                        const char* directory, int /*show*/) {
  int result = Execute(operation, file, parameters, directory);
  if (result <= 32) SetLastError(LastErrorOf(result));
  return reinterpret_cast<HINSTANCE>(static_cast<std::intptr_t>(result));
}
