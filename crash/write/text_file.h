#pragma once
// The report's plain files, written with plain system calls from the faulting process.
#include <initializer_list>
#include <string_view>

namespace crash {

// Why a file was not written: 0 when it was, else the errno of the call that failed, or
// kNotARegularFile for a FIFO, a device or a socket at the path (a symbolic link there gives
// ELOOP, a folder EISDIR).
inline constexpr int kNotARegularFile = -1;

// Writes the texts, one after the other, to the file: appended, or replacing what was there.
// Only a regular file is written: a symbolic link at the path is never followed (nor a
// missing file created through it), and a FIFO or a device is never waited for. A write
// that fails part-way takes back what it added. Returns 0, or why the file was not written.
int WriteTextFile(const char* path, std::initializer_list<std::string_view> texts, bool append);
bool DeleteTextFile(const char* path);

}  // namespace crash
