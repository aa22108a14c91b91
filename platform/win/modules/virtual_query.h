#pragma once
// VirtualQuery: what the process has mapped at an address. Reads the kernel's list of the
// process's mappings with plain system calls into a fixed buffer, so it may run in a signal
// handler (where it tells whether a stack word can be read).
#include <cstddef>

#include "platform/win/types.h"

struct MEMORY_BASIC_INFORMATION {
  void* BaseAddress;        // start of the region of like pages holding the address
  void* AllocationBase;     // the module's handle for a module's pages, else the region start
  DWORD AllocationProtect;
  std::size_t RegionSize;
  DWORD State;              // MEM_COMMIT, or MEM_FREE for a gap between mappings
  DWORD Protect;            // PAGE_*; PAGE_NOACCESS for a gap
  DWORD Type;               // MEM_IMAGE (a module's file), MEM_MAPPED (another file), MEM_PRIVATE
};

inline constexpr DWORD PAGE_NOACCESS = 0x01;
inline constexpr DWORD PAGE_READONLY = 0x02;
inline constexpr DWORD PAGE_READWRITE = 0x04;
inline constexpr DWORD PAGE_WRITECOPY = 0x08;
inline constexpr DWORD PAGE_EXECUTE = 0x10;
inline constexpr DWORD PAGE_EXECUTE_READ = 0x20;
inline constexpr DWORD PAGE_EXECUTE_READWRITE = 0x40;
inline constexpr DWORD PAGE_EXECUTE_WRITECOPY = 0x80;
inline constexpr DWORD MEM_COMMIT = 0x1000;
inline constexpr DWORD MEM_FREE = 0x10000;
inline constexpr DWORD MEM_PRIVATE = 0x20000;
inline constexpr DWORD MEM_MAPPED = 0x40000;
inline constexpr DWORD MEM_IMAGE = 0x1000000;

// Fills `info` and returns sizeof(MEMORY_BASIC_INFORMATION); 0 with ERROR_INVALID_PARAMETER
// for a too-small buffer or an address above the last mapping, or with the error of reading
// the mapping list.
std::size_t VirtualQuery(const void* address, MEMORY_BASIC_INFORMATION* info, std::size_t length);
