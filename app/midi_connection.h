#pragma once
// The main window's MIDI connection: the device lists, connecting and disconnecting, and
// the drivers' notifications, which arrive as window messages on the main window.
#include "platform/win/types.h"

// Lists every input and output device in InDeviceQ and OutDeviceQ, in id order.
void FillDeviceLists();
// Opens whichever side is still closed, on the devices chosen in the drop lists (row - 1
// is the device id), with `window` receiving the notifications.
void ConnectMidi(HWND window, int inputRow, int outputRow);
// Closes both sides; the state flags follow from the close notifications.
void DisconnectMidi();

// One driver notification. Returns true when the packet count changed.
bool HandleMidiNotification(UINT message, LONG& LOC_MIDIPacketCount);
// The button's text for the current connection state.
const char* ConnectButtonText();
