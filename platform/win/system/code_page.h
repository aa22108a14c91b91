#pragma once
// Code-page conversion: MultiByteToWideChar / WideCharToMultiByte.
//
// Code page 65001 is UTF-8 and 0 the ANSI page, which is Windows-1252 here; 20127 is
// US-ASCII and any other number n is the system's character set "CPn" (glibc iconv).
// A number the system does not know fails with ERROR_INVALID_PARAMETER.
//
// Both calls follow the two-step contract: with a size of 0 they answer the size needed; with
// a destination they fill it and answer what they wrote, or fail with
// ERROR_INSUFFICIENT_BUFFER when it is too small (and then write nothing). An empty source fails
// (ERROR_INVALID_PARAMETER); counts are explicit, never -1. Only flags 0 are known.
//
// Nothing is refused for its content, as the system's own conversions do:
// - bytes that do not decode (broken UTF-8, bytes a page leaves undefined) become U+FFFD, one
//   for each maximal ill-formed subsequence; the Windows ANSI pages 1250-1258 decode their
//   undefined bytes 80h-9Fh as the C1 controls of the same number and encode them back;
// - characters a page cannot hold, and unpaired surrogates, become the default character
//   ("?" unless lpDefaultChar gives one; *lpUsedDefaultChar tells whether it was used). UTF-8
//   writes U+FFFD for unpaired surrogates and takes neither argument.
#include "platform/win/types.h"

using WCHAR = char16_t;

inline constexpr UINT CP_ACP = 0;
inline constexpr UINT CP_UTF8 = 65001;
inline constexpr UINT CP_US_ASCII = 20127;

inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_INVALID_FLAGS = 1004;

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* multiByteStr, int multiByteCount, WCHAR* wideStr,
                        int wideCount);
int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* wideStr, int wideCount, char* multiByteStr,
                        int multiByteCount, const char* defaultChar, BOOL* usedDefaultChar);
