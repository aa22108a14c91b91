#pragma once
// Starting other programs: always an argument vector, never a shell. The program is looked
// for on PATH when its name holds no "/". It starts in a session of its own, with the default
// signal dispositions and mask, and without our descriptors beyond standard input, output and
// error; nobody waits for it, and it is reaped when it ends.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace win {

// 0 when the program started, else the errno of the failure (ENOENT: no such program).
int StartProgram(const std::vector<std::string>& argv, const std::string& directory = "");

// Starts the program with `input` on its standard input and its output and error going
// nowhere, and waits up to `limit` for it to end. 0 when it ended with status 0; an errno
// (ENOENT, ETIMEDOUT, ECHILD for a failing status, ...) otherwise. For helpers that read
// their input and leave a background process behind (clipboard owners).
int RunWithInput(const std::vector<std::string>& argv, std::string_view input,
                 std::chrono::milliseconds limit = std::chrono::seconds(5));

}  // namespace win
