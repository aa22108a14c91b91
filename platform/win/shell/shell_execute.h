#pragma once
// ShellExecuteA: opens a URL, an e-mail URL or a file with the user's default program, or
// starts a program with parameters, the way the desktop does it (desktop_associations.h).
// Nothing passes through a shell: the URL or file reaches the program as one argument,
// unchanged, and parameters are split by the quoting rules of command_line.h.
#include "platform/win/modules/library.h"
#include "platform/win/types.h"

using HINSTANCE = HMODULE;

inline constexpr int SW_SHOWNORMAL = 1;

// Results up to 32 are failures; anything above is success.
inline constexpr int kShellOutOfResources = 0;  // the system refused a command line that long
inline constexpr int SE_ERR_FNF = 2;            // no such file (or no such handler program)
inline constexpr int SE_ERR_PNF = 3;            // no such folder on the way to it
inline constexpr int SE_ERR_ACCESSDENIED = 5;
inline constexpr int SE_ERR_OOM = 8;
inline constexpr int SE_ERR_BADFORMAT = 11;     // a program file that cannot be run
inline constexpr int SE_ERR_ASSOCINCOMPLETE = 27;  // the handler's command has no place for the URL
inline constexpr int SE_ERR_NOASSOC = 31;       // nothing opens that type or scheme
inline constexpr int kShellExecuteStarted = 42;

// `operation` NULL or "open" (any case); any other verb answers SE_ERR_NOASSOC.
// `file`: a URL ("scheme:..."), a file or a program; a relative name is taken from
// `directory` when given, else from the current folder, never from PATH; `directory` is
// also where a started program runs. What the file is decides: a document (a script with
// "#!" included, whatever its mode) goes to its type's handler; only an ELF program that is
// itself the target is started, with `parameters`. A name beginning with "www." that is no
// file opens as an http URL. `owner` and `show` change nothing here. Nothing is waited for;
// the last error is set on failure.
HINSTANCE ShellExecuteA(HWND owner, const char* operation, const char* file, const char* parameters,
                        const char* directory, int show);

// ShellExecuteA's result as the number the program compares.
inline int ShellResult(HINSTANCE result) { return static_cast<int>(reinterpret_cast<std::intptr_t>(result)); }
