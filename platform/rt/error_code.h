#pragma once
// ERRORCODE(): the calling thread's result of its latest runtime operation that reports one
// (queue reads and writes, window opening). 0 is success.
namespace ERRORS {
inline constexpr int EntryNotFound = 30;
inline constexpr int WindowNotOpened = 40;  // a definition the window builder refused
inline constexpr int ControlNotCreated = 41;  // CREATE: number taken, no such parent or kind not announced
inline constexpr int NoCurrentEntry = 33;   // PUT or DELETE without a row read or added before
}  // namespace ERRORS

int ERRORCODE();

namespace rt {
void SetErrorCode(int code);
}  // namespace rt
