#pragma once
// The runtime's user dialogs as real Qt dialogs: message boxes, file choosers, popup
// menus and the beep. Each runs modally and returns the runtime's answer.
#include <optional>
#include <string>

#include "platform/rt/screen.h"

class QWidget;

namespace qtscreen {

// Each belongs to `owner`, the window it was opened from (null: none), and stays above it.
// The chosen button, from 1. Esc and the close box choose a "Cancel" button, else "No",
// else "OK", else the only button; without one of those the box can only be answered by a
// button. A text taller than a box may be shows in a view that scrolls (long_message_box.h).
int ShowMessage(const rt::MessageRequest& request, QWidget* owner = nullptr);
// The chosen path; nullopt when cancelled.
std::optional<std::string> ShowFileDialog(const rt::FileRequest& request, QWidget* owner = nullptr);
// Opens at the mouse; the chosen entry from 1, separators ("-") not counted; 0 when none.
int ShowPopup(const rt::PopupRequest& request, QWidget* owner = nullptr);

}  // namespace qtscreen
