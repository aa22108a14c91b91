#pragma once
// The user dialogs, shown by the current screen (screen.h).
#include <string>
#include <string_view>

// Buttons of a message box; MESSAGE returns the one chosen.
namespace BUTTON {
inline constexpr int OK = 0x01;
inline constexpr int Yes = 0x02;
inline constexpr int No = 0x04;
inline constexpr int Abort = 0x08;
inline constexpr int Retry = 0x10;
inline constexpr int Ignore = 0x20;
inline constexpr int Cancel = 0x40;
inline constexpr int Help = 0x80;
}  // namespace BUTTON

// Icon names of message boxes (any other text names an image).
namespace ICON {
inline constexpr const char* None = "";
inline constexpr const char* Asterisk = "asterisk";
inline constexpr const char* Exclamation = "exclamation";
inline constexpr const char* Hand = "hand";
inline constexpr const char* Question = "question";
inline constexpr const char* Application = "application";
}  // namespace ICON

// Flags of FILEDIALOG.
namespace FILEDLG {
inline constexpr int Save = 0x01;
inline constexpr int KeepDir = 0x02;         // the process's current directory stays (it always does)
inline constexpr int LongName = 0x10;        // long file names (always)
inline constexpr int MustExist = 0x40;       // open: the file and its path must exist
inline constexpr int OverwritePrompt = 0x80; // save: ask before replacing a file
}  // namespace FILEDLG

// A message box with buttons from BUTTON (several or-ed together, shown in the order above);
// returns the chosen button. `defaultButton` 0 is the first button.
int MESSAGE(std::string_view text, std::string_view caption = "", std::string_view icon = ICON::None,
            int buttons = BUTTON::OK, int defaultButton = 0);
// A message box with buttons of its own, "Show|Mail|Close"; returns the number of the
// button chosen, from 1.
int MESSAGE(std::string_view text, std::string_view caption, std::string_view icon, std::string_view buttonList,
            int defaultButton = 1);

// Open or save dialog. `file` gives the starting name and receives the choice; `filter` is
// "Name|pattern|Name|pattern". False when the user cancelled (`file` unchanged).
bool FILEDIALOG(std::string_view title, std::string& file, std::string_view filter = "", int flags = 0,
                std::string_view defaultExtension = "");

// A popup menu "Select|-|Remove|Clear"; the chosen entry's number counting entries but not
// "-" separators, 0 when none was chosen.
int POPUP(std::string_view menu);

void BEEP();

// A stop box with Abort and Ignore; Abort ends the program (exit status 1).
void STOP(std::string_view text);
// Ends the program with the exit status, after showing `text` when it is not empty.
[[noreturn]] void HALT(int status = 0, std::string_view text = "");
