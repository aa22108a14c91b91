#pragma once
// The device-level steps that midiIn* and midiOut* share: capability records and opening.
#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/midi/backend.h"
#include "platform/midi/connections.h"
#include "platform/midi/mmsystem.h"

namespace midi {

// Copies at most MAXPNAMELEN - 1 characters and a NUL.
void CopyProductName(char (&target)[MAXPNAMELEN], std::string_view name);

// The window that notifications go to (nullptr for CALLBACK_NULL), or an error for flags we
// do not offer or a callback that is not a window.
MMRESULT NotificationWindow(DWORD_PTR callback, DWORD flags, DWORD allowedExtra, HWND& window);

// Gives the caller `size` bytes of `full`, named after the device.
template <typename Caps, typename Device>
MMRESULT FillDevCaps(std::optional<Device> (*find)(UINT), UINT_PTR deviceId, Caps* caps, UINT size, Caps full) {
  if (caps == nullptr) return MMSYSERR_INVALPARAM;
  if (deviceId > UINT32_MAX) return MMSYSERR_BADDEVICEID;
  auto device = find(static_cast<UINT>(deviceId));
  if (!device) return MMSYSERR_BADDEVICEID;
  CopyProductName(full.szPname, device->name);
  std::memcpy(caps, &full, std::min<size_t>(size, sizeof full));
  return MMSYSERR_NOERROR;
}

// Opens the device's port and enters a new connection, made by make(handle, port, window), in
// the table; the connection then begins (posting its open notice).
template <typename Connection, typename Handle, typename Device, typename Make>
MMRESULT OpenDevice(ConnectionTable<Connection, Handle>& table, std::optional<Device> (*find)(UINT), Handle* handle,
                    UINT deviceId, DWORD_PTR callback, DWORD flags, DWORD allowedExtra, Make make) {
  if (handle == nullptr) return MMSYSERR_INVALPARAM;
  *handle = nullptr;
  HWND window = nullptr;
  if (MMRESULT error = NotificationWindow(callback, flags, allowedExtra, window)) return error;
  auto device = find(deviceId);
  if (!device) return MMSYSERR_BADDEVICEID;
  auto opened = device->open();
  if (!opened.port) return opened.error ? opened.error : MMSYSERR_ERROR;
  Handle h = table.NewHandle();
  std::shared_ptr<Connection> connection = make(h, std::move(opened.port), window);
  table.Insert(h, connection);
  connection->Begin();
  *handle = h;
  return MMSYSERR_NOERROR;
}

}  // namespace midi
