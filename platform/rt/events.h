#pragma once
// The runtime's event numbers, and EVENT(): the event being handled.
// Field events sit below 100h, window events from 200h, the program's own from EVENT::User.
//
// EVENT is a type so that both spellings the program uses work: EVENT::Accepted names a
// number and EVENT() is the current event (the value converts to int), as in
// `switch (EVENT()) { case EVENT::Accepted: ... }`.
struct EVENT {
static constexpr int Accepted = 0x01;
static constexpr int MouseDown = 0x01;  // a mouse press arrives as Accepted
static constexpr int NewSelection = 0x02;
static constexpr int ScrollUp = 0x03;
static constexpr int ScrollDown = 0x04;
static constexpr int PageUp = 0x05;
static constexpr int PageDown = 0x06;
static constexpr int ScrollTop = 0x07;
static constexpr int ScrollBottom = 0x08;
static constexpr int Locate = 0x09;
static constexpr int MouseUp = 0x0A;
static constexpr int MouseIn = 0x0B;
static constexpr int MouseOut = 0x0C;
static constexpr int MouseMove = 0x0D;
static constexpr int AlertKey = 0x0F;
static constexpr int PreAlertKey = 0x10;
static constexpr int Dragging = 0x11;
static constexpr int Drag = 0x12;
static constexpr int Drop = 0x13;
static constexpr int ScrollDrag = 0x14;
static constexpr int TabChanging = 0x15;
static constexpr int Expanding = 0x16;
static constexpr int Contracting = 0x17;
static constexpr int Expanded = 0x18;
static constexpr int Contracted = 0x19;
static constexpr int Rejected = 0x1A;
static constexpr int DroppingDown = 0x1B;
static constexpr int DroppedDown = 0x1C;
static constexpr int ScrollTrack = 0x1D;
static constexpr int ColumnResize = 0x1E;
static constexpr int Selected = 0x101;
static constexpr int Selecting = 0x102;
static constexpr int CloseWindow = 0x201;
static constexpr int CloseDown = 0x202;
static constexpr int OpenWindow = 0x203;
static constexpr int OpenFailed = 0x204;
static constexpr int LoseFocus = 0x205;
static constexpr int GainFocus = 0x206;
static constexpr int Suspend = 0x208;
static constexpr int Resume = 0x209;
static constexpr int Timer = 0x20B;
static constexpr int Move = 0x220;
static constexpr int Size = 0x221;
static constexpr int Restore = 0x222;
static constexpr int Maximize = 0x223;
static constexpr int Iconize = 0x224;
static constexpr int Completed = 0x225;
static constexpr int Moved = 0x230;
static constexpr int Sized = 0x231;
static constexpr int Restored = 0x232;
static constexpr int Maximized = 0x233;
static constexpr int Iconized = 0x234;
static constexpr int Docked = 0x235;
static constexpr int Undocked = 0x236;
static constexpr int User = 0x400;

  // The event being handled by the target window's loop (event_loop.h).
  operator int() const;
};
