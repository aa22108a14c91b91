#pragma once
// Hands one whole system-exclusive message to the open output device. Results are not
// looked at: with no device open the message is simply not sent.
#include <string_view>

void SendToMidiOutput(std::string_view message);
