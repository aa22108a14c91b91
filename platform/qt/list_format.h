#pragma once
// The column format strings of list controls, such as
//   "32R(2)|M~Cab No.~@n_3@32R(2)|M~User Cab~@N_3B@252L(2)|M~Name~@s63@"
// Each column: a width in dialog units, an alignment letter with an optional indent,
// modifiers ("|" a right border, "M" resizable by the user), the header text between "~"
// (optionally followed by its own alignment), and the cell picture between "@".
// Qt-free, so the runtime's formats can be checked without a screen.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qtscreen {

enum class Alignment { Left, Right, Centre };

// A display picture: "@n_3" a number of three digits (leading blanks), "@n03" zero-filled,
// "@n7" blank-filled with thousands grouping ("1,234"), "@N_3B" blank when zero,
// "@s63" a string of up to 63 characters.
struct Picture {
  enum class Kind { Number, String };
  Kind kind = Kind::String;
  int size = 0;            // digits or characters
  char fill = ' ';         // leading fill of numbers: ' ' or '0'
  bool grouped = false;    // thousands separated by ",": a number picture without a fill letter
  bool blankWhenZero = false;
};

struct ColumnFormat {
  int width = 0;  // dialog units
  Alignment alignment = Alignment::Left;
  int indent = 0;  // dialog units from the aligned edge
  bool rightBorder = false;
  bool resizable = false;
  std::string header;
  Alignment headerAlignment = Alignment::Left;
  int headerIndent = 0;
  Picture picture;
};

struct ListFormatError {
  std::size_t position = 0;  // offset in the format string where parsing stopped
  std::string reason;
};

struct ListFormat {
  std::vector<ColumnFormat> columns;
  std::optional<ListFormatError> error;  // set when the string could not be read whole
};

// Reads a whole format string. A malformed string gives the columns read before the fault
// and the error, never a partial column.
ListFormat ParseListFormat(std::string_view format);

// Reads one picture without its "@" delimiters ("n_3", "N_3B", "s63"); nullopt when the
// text is no picture this screen knows.
std::optional<Picture> ParsePicture(std::string_view text);

// The cell text for a value. Numbers come as the field's text; text that is not a number
// counts as zero, as the runtime converts it. A number wider than its picture shows as "#"s
// rather than a misleading cut-off value; a string longer than its picture is cut at a
// character boundary.
std::string FormatCell(const Picture& picture, std::string_view value);

}  // namespace qtscreen
