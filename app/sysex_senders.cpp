#include "app/sysex_senders.h"

#include <string>

#include "app/cab_name.h"
#include "app/globals.h"
#include "app/midi_output.h"
#include "app/sysex_templates.h"
#include "textrope/textrope.h"

namespace {

// The radios hold 0 or 1; anything else addresses the second block or side.
int BlockIndex() { return CAB::Number ? 1 : 0; }
int SideIndex() { return CAB::Side ? 1 : 0; }
int SwitchIndex() { return CAB::Switch ? 1 : 0; }

void SendTemplate(Textrope& ST, std::string_view hexTemplate) {
  ST.SetValue(std::string(hexTemplate), 0);
  SendSysExPacket(ST);
}

std::string HexByte(BYTE b) {
  static constexpr char digits[] = "0123456789ABCDEF";
  return {digits[b >> 4], digits[b & 0x0F]};
}

}  // namespace

void GetCabinetNumber(Textrope& ST) { SendTemplate(ST, sysex::CabNumberQuery[BlockIndex()][SideIndex()]); }

void GetCabinetMode(Textrope& ST) { SendTemplate(ST, sysex::CabModeQuery[BlockIndex()]); }

void GetCabinetXY(Textrope& ST) { SendTemplate(ST, sysex::CabXYQuery[BlockIndex()]); }

void SetCabinetXY(Textrope& ST) { SendTemplate(ST, sysex::CabXYSet[BlockIndex()][SwitchIndex()]); }

void RequestCabList(Textrope& ST) { SendTemplate(ST, sysex::CabListRequest); }

void SelectCabOnAxeFX(Textrope& ST) {
  ST.SetValue(std::string(sysex::SelectCab[BlockIndex()][SideIndex()]), 0);
  // Byte 13 stays 00h: the unit has far fewer than 16384 cabs.
  const LONG v = GLO::CabToSend;
  const BYTE LOC_LSB = static_cast<BYTE>(v & 0x7F);
  const BYTE LOC_MSB = static_cast<BYTE>((v >> 7) & 0x7F);
  BYTE LOC_Checksum = sysex::SelectChecksumBase[BlockIndex()][SideIndex()];
  LOC_Checksum = static_cast<BYTE>((LOC_Checksum ^ LOC_LSB ^ LOC_MSB) & 0x7F);
  ST.SetSlice(sysex::SELECT_LSB_CHAR, sysex::SELECT_LSB_CHAR + 1, HexByte(LOC_LSB));
  ST.SetSlice(sysex::SELECT_MSB_CHAR, sysex::SELECT_MSB_CHAR + 1, HexByte(LOC_MSB));
  ST.SetSlice(sysex::SELECT_CHECKSUM_CHAR, sysex::SELECT_CHECKSUM_CHAR + 1, HexByte(LOC_Checksum));
  SendSysExPacket(ST);
}

bool RenameUserCabinet(Textrope& ST) {
  if (GLO::CabToSend < 0 || GLO::CabToSend >= sysex::RENAME_SLOT_LIMIT) return false;
  if (!IsSendableCabName(GLO::CabName)) return false;
  ST.SetValue(std::string(sysex::RenameCab), 0);
  ST.FromHex();
  ST.SetSlice(sysex::RENAME_SLOT_BYTE, sysex::RENAME_SLOT_BYTE, std::string(1, static_cast<char>(GLO::CabToSend)));
  ST.SetSlice(sysex::RENAME_NAME_BYTE, 0, GLO::CabName);
  BYTE LOC_Checksum = sysex::RENAME_CHECKSUM_BASE;
  for (unsigned char c : ST.Slice(sysex::RENAME_SLOT_BYTE, sysex::RENAME_LAST_NAME_BYTE)) LOC_Checksum ^= c;
  LOC_Checksum &= 0x7F;
  ST.SetSlice(sysex::RENAME_CHECKSUM_BYTE, sysex::RENAME_CHECKSUM_BYTE,
              std::string(1, static_cast<char>(LOC_Checksum)));
  ST.ToHex(0);
  SendSysExPacket(ST);
  return true;
}

void SendSysExPacket(Textrope& ST) {
  ST.FromHex();
  SendToMidiOutput(ST.GetValue());
}
