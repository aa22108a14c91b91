#pragma once
// Services of the faulting process that need neither the heap nor a lock that ordinary code
// may hold. What they cannot make at fault time is made ahead by PrepareFaultPath (called by
// Construct): the system's version text and the zone offset of the clock.
#include <initializer_list>
#include <string_view>

#include "crash/fixed_text.h"
#include "platform/win/types.h"

namespace crash {

void PrepareFaultPath();

// The version text of kx_GetWinVersion, as read by PrepareFaultPath.
std::string_view WinVersionText();

// Why a file was not written: 0 when it was, else the errno of the call that failed, or
// kNotARegularFile for a FIFO, a device or a socket at the path (a symbolic link there gives
// ELOOP, a folder EISDIR).
inline constexpr int kNotARegularFile = -1;

// Writes the texts, one after the other, to the file: appended, or replacing what was there.
// Only a regular file is written: a symbolic link at the path is never followed (nor a
// missing file created through it), and a FIFO or a device is never waited for. A write
// that fails part-way takes back what it added. Returns 0, or why the file was not written.
int WriteTextFile(const char* path, std::initializer_list<std::string_view> texts, bool append);
// Writes the texts to an open descriptor; false on any failure (errno tells).
bool WriteAllTo(int fd, std::initializer_list<std::string_view> texts);
bool DeleteTextFile(const char* path);

// Copies up to `limit` bytes from `address` while they are readable, stopping at a NUL; a
// bad address gives what could be read (nothing), never a fault.
std::size_t ReadMemory(ULONG_PTR address, char* out, std::size_t limit);

// Ends the faulting process at once with the status.
[[noreturn]] void EndProcess(int status);

}  // namespace crash
