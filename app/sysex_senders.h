#pragma once
// The messages the librarian sends to the unit. Each routine builds its message in the
// main window's string object and sends it at once through SendSysExPacket; none of them
// checks whether an output device is open (a closed device simply drops the message).
// The block, side and X/Y state come from the main window's radios (CAB::Number,
// CAB::Side, CAB::Switch).
class Textrope;

// Queries of the current block: its cab (of the current side), its cab mode, its X/Y state.
void GetCabinetNumber(Textrope& ST);
void GetCabinetMode(Textrope& ST);
void GetCabinetXY(Textrope& ST);
// Switches the current block to CAB::Switch.
void SetCabinetXY(Textrope& ST);
// Asks for every cab; the unit answers with one message per cab.
void RequestCabList(Textrope& ST);
// Selects cab index GLO::CabToSend on the current block and side.
void SelectCabOnAxeFX(Textrope& ST);
// Renames user slot GLO::CabToSend to GLO::CabName. Returns false, and sends nothing, for a
// slot the message cannot carry (128 or more) or a name it cannot carry (empty, longer than
// 31 characters, or holding bytes outside 20h-7Eh).
bool RenameUserCabinet(Textrope& ST);
// Sends the message whose hexadecimal text is in ST.
void SendSysExPacket(Textrope& ST);
