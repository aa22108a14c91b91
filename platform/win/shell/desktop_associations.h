#pragma once
// The desktop's own associations (XDG mimeapps.list and .desktop files, read through GIO):
// which program opens a type of file or a URL scheme, and opening with it. They answer the
// file-type handler keys of HKEY_CLASSES_ROOT and carry out ShellExecuteA.
#include <optional>
#include <string>
#include <string_view>

namespace win {

// The default value that HKEY_CLASSES_ROOT\subKey has on this desktop:
//   ".ext"                             the extension's type name (its MIME type)
//   "<type>\shell\open\command"        the type's default program ("text/html\shell\open\command")
//   "<ext>file\shell\open\command"     the default program of that extension's type
//   "<ext>_auto_file\shell\open\command"  likewise
//   "<scheme>\shell\open\command"      the scheme's handler ("mailto", "callto", "http")
// Matching ignores case. None for anything else and for what nothing can open.
std::optional<std::string> ClassesRootDefault(std::string_view subKey);

// The MIME type of a file by its name and its first bytes, as the desktop types it ("inode/
// directory" for a folder); none when it cannot be read or the desktop is not there.
std::optional<std::string> TypeOfFile(const std::string& path);

// TooLong: the system refused the handler's command line (E2BIG). HandlerTakesNoUrl: the
// handler is there, but its command takes only local files (or nothing), so the URL would
// never reach it.
enum class OpenResult { Started, NoHandler, NotFound, AccessDenied, OutOfMemory, TooLong, HandlerTakesNoUrl };

// Starts the default program of the URL's scheme (or, for a file: URL, of the file's type)
// with the URL as one argument, byte for byte; it does not wait for the program.
OpenResult OpenWithDefaultProgram(const std::string& uri);

// The same for a file, by its type; `path` is absolute.
OpenResult OpenFileWithDefaultProgram(const std::string& path);

// Whether the URL's scheme is "file" (any case).
bool IsFileUrl(const std::string& uri);
// The local path of a file: URL; none for another URL, one naming another host than this
// computer ("localhost" or none) and one without an absolute path.
std::optional<std::string> PathOfFileUrl(const std::string& uri);

}  // namespace win
