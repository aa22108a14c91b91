#pragma once
// The system log, where the debugger channel's lines end up: one message per call to the
// local syslog socket, at debug priority, under the identity "boxwright", so that
// `journalctl -t boxwright` (or the syslog daemon's debug file) shows them and nobody else
// sees them. The log is never waited for: with no daemon, or a full socket, the line is lost.
#include <string>
#include <string_view>

namespace win {

// Sends the text without its trailing line end; an empty text sends nothing.
void WriteSystemLog(std::string_view text);

// The socket the messages go to: the environment's BOXWRIGHT_SYSTEM_LOG when set (empty:
// nowhere), else "/dev/log". Tests point it at a socket of their own.
void UseSystemLogSocket(std::string path);

}  // namespace win
