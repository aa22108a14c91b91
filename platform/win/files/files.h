#pragma once
// Files through kernel32-shaped calls: CreateFileA, WriteFile, SetFilePointer, CloseHandle,
// DeleteFileA, SetFileAttributesA. Failures set the last error (last_error.h).
//
// File handles are numbers in a table, never reused: a stale or made-up handle fails with
// ERROR_INVALID_HANDLE and never reaches another file. Linux has no share modes; the share
// argument is accepted and ignored.
#include <cstdint>

#include "platform/win/types.h"

struct HFILE__;
using HANDLE = HFILE__*;
inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(~std::uintptr_t{0});

inline constexpr DWORD GENERIC_READ = 0x80000000;
inline constexpr DWORD GENERIC_WRITE = 0x40000000;
inline constexpr DWORD FILE_SHARE_READ = 0x1;
inline constexpr DWORD FILE_SHARE_WRITE = 0x2;

inline constexpr DWORD CREATE_NEW = 1;
inline constexpr DWORD CREATE_ALWAYS = 2;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD OPEN_ALWAYS = 4;
inline constexpr DWORD TRUNCATE_EXISTING = 5;

inline constexpr DWORD FILE_BEGIN = 0;
inline constexpr DWORD FILE_CURRENT = 1;
inline constexpr DWORD FILE_END = 2;
inline constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;

inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

inline constexpr DWORD ERROR_DISK_FULL = 112;

// New files get the mode 0666 less the umask. INVALID_HANDLE_VALUE on failure.
HANDLE CreateFileA(const char* fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
// One write of up to `count` bytes; `written` may come back smaller (a full device takes
// fewer bytes, then none: the next write fails with ERROR_DISK_FULL).
BOOL WriteFile(HANDLE file, const void* buffer, DWORD count, DWORD* written, void* overlapped);
// The new position's low 32 bits (the high ones into *distanceHigh when given), or
// INVALID_SET_FILE_POINTER with the last error set.
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod);
// FALSE for a handle that is not open; FALSE also when the system reports a late write error.
BOOL CloseHandle(HANDLE object);
// Removes a file (never a directory).
BOOL DeleteFileA(const char* fileName);
// FILE_ATTRIBUTE_READONLY takes every write permission away; without it the owner may write
// again. The other attributes have no Linux counterpart and change nothing.
BOOL SetFileAttributesA(const char* fileName, DWORD attributes);
