#pragma once
// The unit's system-exclusive messages, as the hexadecimal text they are built from.
// Every message: F0 00 01 74 03, a function byte, data, a checksum (XOR of all bytes
// before it, AND 7Fh) and F7. Fixed messages are sent exactly as written here; the
// select and rename messages are patched at run time.
#include <string_view>

#include "platform/win/types.h"

namespace sysex {

inline constexpr BYTE FN_BLOCK_PARAMETER = 0x02;
inline constexpr BYTE FN_CAB_XY = 0x11;
inline constexpr BYTE FN_CAB_LIST = 0x12;
inline constexpr BYTE FN_CAB_RENAME = 0x2D;
inline constexpr BYTE FN_STATUS = 0x64;
inline constexpr BYTE FN_CAB_FILE = 0x7A;  // a cab file starts with it
inline constexpr BYTE FN_CAB_FILE_DATA = 0x7B;
inline constexpr BYTE FN_CAB_FILE_END = 0x7C;

// Byte 7 of a cab file that carries no slot of its own.
inline constexpr BYTE CAB_FILE_ANY_SLOT = 0x7F;

// Block-parameter ids (byte 9) and block ids (byte 7).
inline constexpr BYTE PARAM_LEFT_CAB = 0x00;
inline constexpr BYTE PARAM_RIGHT_CAB = 0x02;
inline constexpr BYTE PARAM_CAB_MODE = 0x0C;
inline constexpr BYTE BLOCK_CAB1 = 0x6C;
inline constexpr BYTE BLOCK_CAB2 = 0x6D;
// The cab mode in which a block has a left and a right cab.
inline constexpr BYTE CAB_MODE_TWO_SIDED = 2;

// Indexed [CAB:Number][CAB:Side]: block Cab 1 / Cab 2, left / right.
inline constexpr std::string_view CabNumberQuery[2][2] = {
    {"F00001740302" "6C00" "0000" "000000" "00" "68" "F7",
     "F00001740302" "6C00" "0200" "000000" "00" "6A" "F7"},
    {"F00001740302" "6D00" "0000" "000000" "00" "69" "F7",
     "F00001740302" "6D00" "0200" "000000" "00" "6B" "F7"}};

// Indexed [CAB:Number].
inline constexpr std::string_view CabModeQuery[2] = {
    "F00001740302" "6C00" "0C00" "000000" "00" "64" "F7",
    "F00001740302" "6D00" "0C00" "000000" "00" "65" "F7"};

inline constexpr std::string_view CabXYQuery[2] = {
    "F00001740311" "6C00" "00" "00" "7B" "F7",
    "F00001740311" "6D00" "00" "00" "7A" "F7"};

// Indexed [CAB:Number][CAB:Switch]: X / Y.
inline constexpr std::string_view CabXYSet[2][2] = {
    {"F00001740311" "6C00" "00" "01" "7A" "F7", "F00001740311" "6C00" "01" "01" "7B" "F7"},
    {"F00001740311" "6D00" "00" "01" "7B" "F7", "F00001740311" "6D00" "01" "01" "7A" "F7"}};

// All cabs (data 7F 7F): the unit answers with one message per cab.
inline constexpr std::string_view CabListRequest = "F00001740312" "7F7F" "14" "F7";

// Select: bytes 11-12 (the cab index, low 7 bits first) and 15 (checksum) are patched.
// Indexed [CAB:Number][CAB:Side]; each already holds the checksum of cab index 0.
inline constexpr std::string_view SelectCab[2][2] = {
    {"F00001740302" "6C00" "0000" "000000" "01" "69" "F7",
     "F00001740302" "6C00" "0200" "000000" "01" "6B" "F7"},
    {"F00001740302" "6D00" "0000" "000000" "01" "68" "F7",
     "F00001740302" "6D00" "0200" "000000" "01" "6A" "F7"}};
// XOR of the select template's fixed bytes 1-10 and 14, per block and side.
inline constexpr BYTE SelectChecksumBase[2][2] = {{0xE9, 0xEB}, {0xE8, 0xEA}};
// Hexadecimal character positions of bytes 11, 12 and 15 in a select message.
inline constexpr int SELECT_LSB_CHAR = 21;
inline constexpr int SELECT_MSB_CHAR = 23;
inline constexpr int SELECT_CHECKSUM_CHAR = 29;

// Rename: byte 7 the user slot, bytes 8-39 the name padded with 00h, byte 40 checksum.
inline constexpr std::string_view RenameCab =
    "F0000174032D"
    "00000000000000000000000000000000000000000000000000000000000000000000"
    "F7";
inline constexpr int RENAME_SLOT_BYTE = 7;
inline constexpr int RENAME_NAME_BYTE = 8;
inline constexpr int RENAME_LAST_NAME_BYTE = 39;
inline constexpr int RENAME_CHECKSUM_BYTE = 40;
// XOR of the rename message's bytes 1-6.
inline constexpr BYTE RENAME_CHECKSUM_BASE = 0xAB;
// The slot travels as one raw data byte, which must stay below 80h.
inline constexpr LONG RENAME_SLOT_LIMIT = 128;

}  // namespace sysex
