// Running a link: Run opens URLToRun with the shell, RegCheck asks whether anything on this
// desktop opens a target, HandleError shows the shell's failures.
#include <algorithm>
#include <cstdint>

#include "links/link_text.h"
#include "links/linkbright_class.h"
#include "platform/rt/command.h"
#include "platform/rt/dialogs.h"
#include "platform/rt/display.h"
#include "platform/rt/props.h"
#include "platform/rt/run.h"
#include "platform/win/shell/command_line.h"
#include "platform/win/shell/shell_execute.h"
#include "platform/win/system/ascii_text.h"
#include "platform/win/system/registry.h"
#include "platform/win/system/version_info.h"

using namespace links;

namespace {

constexpr size_t kMailUrlLimit = 4095;  // a zero-terminated text of 4096 bytes

// The longest e-mail command the running system takes, for a limit of -1: old releases
// of the designed platform cut them at 520 characters; every other system has no limit.
LONG VersionLimit() {
  OSVERSIONINFOA info;
  info.dwOSVersionInfoSize = 148;
  if (!GetVersionExA(&info)) return -1;
  if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
    return info.dwMinorVersion == 0 || info.dwMinorVersion == 10 ? 520 : -1;
  }
  if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) return info.dwMajorVersion <= 4 ? 520 : -1;
  return -1;
}

// The shell's failure texts; each ends with the line break before the file.
std::string ShellErrorText(int result) {
  switch (result) {
    case 32: return "The specified dynamic-link library was not found. File:|";
    case 31: return "There is no application associated with the given file name extension. File:|";
    case 30: return "The DDE transaction could not be completed because other DDE transactions were being processed. File:|";
    case 29: return "The DDE transaction failed. File:|";
    case 28: return "The DDE transaction could not be completed because the request timed out. File:|";
    case 27: return "The file name association is incomplete or invalid. File:|";
    case 26: return "A sharing violation occurred. File:|";
    case 11: return "The .exe file is invalid (non-Win32\u00ae .exe or error in .exe image). File:|";
    case 8: return "There was not enough memory to complete the operation. File:|";
    case 5: return "The operating system denied access to the specified file. File:|";
    case 3: return "The specified path was not found. File:|";
    case 2: return "The specified file was not found. File:|";
    case 0: return "The Operating system is out of memory/resources. File:|";
    default: return "Unknown ShellExecute Error occured. File:|";
  }
}

// "mailto:" at the start, after any blanks and an opening quote (escaping takes the quotes off).
bool IsMailtoUrl(const std::string& lowerTarget) {
  size_t start = lowerTarget.find_first_not_of(' ');
  if (start != std::string::npos && lowerTarget[start] == '"') ++start;
  return start != std::string::npos && std::string_view(lowerTarget).substr(start).starts_with("mailto:");
}

HWND ClientWindow() {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::stoull("0" + rt::GetProp(0, PROP::ClientHandle))));
}

}  // namespace

void vrLinkbrightClass::Run(std::optional<LONG> /*LinkbrightControl*/, LONG LimitURL) {
  if (Disable) return;
  LONG limit = LimitURL == 0 ? this->LimitURL : LimitURL;
  std::string target = Clip(URLToRun);

  if (!Clip(ThisExeToRun).empty()) {
    // The target is one argument of its own, whatever blanks or quotes it holds.
    RUN(Clip(ThisExeToRun) + " " + win::QuoteArgument(target));
    ThisExeToRun.clear();
    return;
  }

  const std::string lower = win::Lower(target);
  bool web = lower.starts_with("http://") || lower.starts_with("https://");
  if (Contains(target, "@") && !web && URLIsNotAnEmail == 0) {
    // Only a text that is a mailto URL goes without the prefix: a path such as
    // ".../x@y/mailto:z" must reach the shell as a mail URL too, never as a file to open.
    std::string prefix = IsMailtoUrl(lower) ? "" : "mailto:";
    if (EncodeEmails == 1) MakeEmailURLSafe();
    std::string url = (prefix + Clip(URLToRun)).substr(0, kMailUrlLimit);
    if (limit == -1) limit = VersionLimit();
    const auto command = static_cast<LONG>(Clip(LinkbrightEmail).size());
    if (limit > 0 && static_cast<LONG>(url.size()) + command > limit) {
      // The mail program's own command counts against the limit; a command as long as the
      // limit leaves nothing of the URL, never less.
      url.resize(static_cast<size_t>(std::max(0, limit - command)));
    }
    Debug("Command to run: " + url);
    int result = ShellResult(ShellExecuteA(nullptr, nullptr, url.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    CheckShellResult(result, url);
    return;
  }
  if (target.empty()) return;

  HWND owner = ClientWindow();
  const std::string browser = win::Lower(LinkbrightBrowser);
  bool direct = TryToStartInExistingWindow == 0 && Contains(browser, "iexplore") &&
                (lower.starts_with("www.") || lower.starts_with("http:") || lower.starts_with("https:"));
  int result = 0;
  std::string file;
  if (direct) {
    Debug("Command to run: [" + LinkbrightBrowser + "] [" + target + "]");
    result = ShellResult(
        ShellExecuteA(owner, nullptr, LinkbrightBrowser.c_str(), target.c_str(), nullptr, SW_SHOWNORMAL));
    file = LinkbrightBrowser;
  } else {
    Debug("Command to run: [" + target + "]");
    result = ShellResult(ShellExecuteA(owner, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    file = target;
  }
  CheckShellResult(result, file);
}

void vrLinkbrightClass::CheckShellResult(int result, const std::string& file) {
  if (result > 32) return;
  std::string text = ShellErrorText(result);
  HandleError(result, text + file, "Shell Execute Error:");
}

void vrLinkbrightClass::HandleError(LONG pErrorCode, const std::string& pError, const std::string& pHeader) {
  if (Disable) return;
  // The texts end their first line with the designed platform's line break, "|"; this
  // screen breaks lines at CR LF, and a "|" in the file name itself stays as it is.
  std::string text = pError;
  if (size_t bar = text.find("File:|"); bar != std::string::npos) text.replace(bar + 5, 1, "\r\n");
  MESSAGE("(" + std::to_string(pErrorCode) + ") " + text, pHeader + std::to_string(pErrorCode), ICON::Asterisk,
          BUTTON::OK);
}

LONG vrLinkbrightClass::RegCheck(const std::string& FileName, LONG Options) {
  if (Disable) return 0;
  std::string name = FileName;
  const bool debugFailures = !COMMAND("/LBdbg").empty();
  const bool debugKeys = !COMMAND("/LBdbgReg").empty();

  if (name.starts_with("www.") || name.starts_with("http://") || name.starts_with("https://")) {
    if (!LinkbrightBrowser.empty()) {
      OpenProgram = LinkbrightBrowser;
      return 1;
    }
    name = ".htm";
  } else if (Contains(name, "@")) {
    if (!LinkbrightEmail.empty()) {
      OpenProgram = LinkbrightEmail;
      return 1;
    }
    LinkbrightEmail.clear();
    QueryClassesRoot("mailto\\shell\\open\\command", LinkbrightEmail);
    if (LinkbrightEmail.empty()) {
      if (debugFailures) Debug("No Email program found");
      return 0;
    }
    if (!ReplaceSystemDrive(1) && debugFailures) Debug("Could not get the %SystemDrive%");
    OpenProgram = LinkbrightEmail;
    return 1;
  } else if (Clip(name).empty()) {
    return 0;
  }

  std::string keys[3];
  if (Options > 0) {
    keys[0] = "callto\\shell\\open\\command";
  } else if (size_t dot = name.rfind('.'); dot != std::string::npos) {
    std::string extension = Clip(name.substr(dot + 1));
    keys[0] = extension + "file\\shell\\open\\command";
    keys[1] = extension + "_auto_file\\shell\\open\\command";
    keys[2] = Clip(name.substr(dot));
  } else {
    keys[0] = Clip(name) + "file\\shell\\open\\command";
    keys[1] = Clip(name) + "_auto_file\\shell\\open\\command";
  }
  for (int n = 1; n <= 3; ++n) {
    const std::string key = Clip(keys[n - 1]);
    LONG result = QueryClassesRoot(key, OpenProgram);
    if (debugFailures && result != 0) {
      Debug("RegQueryValue: " + std::to_string(result) + "\r\n RegSubkeyName: " + key +
            "\r\n self.OpenProgram: " + OpenProgram);
    }
    if (debugKeys) Debug("Tried(" + std::to_string(n) + "): " + key + "\r\nReturned:" + std::to_string(result));
    if (n == 3 && result == 0) {
      // The extension names a file type; its open command decides.
      const std::string typeKey = OpenProgram + "\\shell\\open\\command";
      result = QueryClassesRoot(typeKey, OpenProgram);
      if (name == ".htm") LinkbrightBrowser = OpenProgram;
      if (debugKeys) Debug("Tried(3+): " + typeKey + "\r\nReturned:" + std::to_string(result));
    }
    if (result == 0) return 1;
  }
  return 0;
}
