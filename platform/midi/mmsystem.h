#pragma once
// Records, results and notification numbers of the multimedia MIDI services.
// Field order follows the platform the program was designed for; sizes are ours, so
// callers pass sizeof() of these records, never a number.
#include <cstddef>

#include "platform/win/types.h"

using MMRESULT = UINT;
using UINT_PTR = std::uintptr_t;

struct HMIDIIN__;
using HMIDIIN = HMIDIIN__*;
struct HMIDIOUT__;
using HMIDIOUT = HMIDIOUT__*;

inline constexpr MMRESULT MMSYSERR_NOERROR = 0;
inline constexpr MMRESULT MMSYSERR_ERROR = 1;
inline constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
inline constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
inline constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
inline constexpr MMRESULT MMSYSERR_NODRIVER = 6;
inline constexpr MMRESULT MMSYSERR_NOMEM = 7;
inline constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
inline constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
inline constexpr MMRESULT MIDIERR_UNPREPARED = 64;
inline constexpr MMRESULT MIDIERR_STILLPLAYING = 65;

// midiInOpen / midiOutOpen flags. Only window callbacks (or none) are offered.
inline constexpr DWORD CALLBACK_NULL = 0x00000000;
inline constexpr DWORD CALLBACK_WINDOW = 0x00010000;
inline constexpr DWORD CALLBACK_TYPEMASK = 0x00070000;
inline constexpr DWORD MIDI_IO_STATUS = 0x00000020;

// Notifications posted to the callback window: wParam is the handle; lParam is 0 for
// open and close, the packed message for data and error, the MIDIHDR* for buffers.
inline constexpr UINT MM_MIM_OPEN = 0x3C1;
inline constexpr UINT MM_MIM_CLOSE = 0x3C2;
inline constexpr UINT MM_MIM_DATA = 0x3C3;
inline constexpr UINT MM_MIM_LONGDATA = 0x3C4;
inline constexpr UINT MM_MIM_ERROR = 0x3C5;
inline constexpr UINT MM_MIM_LONGERROR = 0x3C6;
inline constexpr UINT MM_MOM_OPEN = 0x3C7;
inline constexpr UINT MM_MOM_CLOSE = 0x3C8;
inline constexpr UINT MM_MOM_DONE = 0x3C9;
inline constexpr UINT MM_MIM_MOREDATA = 0x3CC;

inline constexpr DWORD MHDR_DONE = 0x00000001;
inline constexpr DWORD MHDR_PREPARED = 0x00000002;
inline constexpr DWORD MHDR_INQUEUE = 0x00000004;

struct MIDIHDR {
  char* lpData = nullptr;
  DWORD dwBufferLength = 0;
  DWORD dwBytesRecorded = 0;
  DWORD_PTR dwUser = 0;
  DWORD dwFlags = 0;
  MIDIHDR* lpNext = nullptr;
  DWORD_PTR reserved = 0;
  DWORD dwOffset = 0;
  DWORD_PTR dwReserved[8] = {};
};
using LPMIDIHDR = MIDIHDR*;

inline constexpr int MAXPNAMELEN = 32;
inline constexpr WORD MM_UNMAPPED = 0xFFFF;
inline constexpr WORD MM_PID_UNMAPPED = 0xFFFF;
inline constexpr WORD MOD_MIDIPORT = 1;

struct MIDIINCAPSA {
  WORD wMid;
  WORD wPid;
  UINT vDriverVersion;
  char szPname[MAXPNAMELEN];
  DWORD dwSupport;
};

struct MIDIOUTCAPSA {
  WORD wMid;
  WORD wPid;
  UINT vDriverVersion;
  char szPname[MAXPNAMELEN];
  WORD wTechnology;
  WORD wVoices;
  WORD wNotes;
  WORD wChannelMask;
  DWORD dwSupport;
};
