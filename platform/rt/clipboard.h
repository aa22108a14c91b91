#pragma once
// SETCLIPBOARD: puts plain text on the desktop's clipboard so that it stays there after the
// program ends. The text is handed to a helper that keeps serving it: wl-copy on Wayland,
// xclip or else xsel on X11. Returns 0 when a helper took it, else an error code (also
// ERRORCODE()): 2 when there is no display or no helper, 31 when the helper failed.
#include <string_view>

int SETCLIPBOARD(std::string_view text);
