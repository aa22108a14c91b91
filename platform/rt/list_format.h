#pragma once
// List column formats ("32R(2)|M~Cab No.~@n_3@...") and display pictures ("@n_3", "@N_3B",
// "@s63") as lists, entries and strings show them.
#include <string>
#include <string_view>
#include <vector>

namespace rt {

struct ListColumn {
  int width = 0;          // dialog units
  char align = 'L';       // L, R, C or D (decimal)
  int indent = 0;
  std::string header;
  char headerAlign = 'L';
  int headerIndent = 0;
  std::string picture;    // "@n_3"
  bool resizable = false; // M
  bool rightBorder = false;  // |
  bool movable = false;   // ^: the user may drag the column to another position
  std::string text;       // the column's own part of the format, as written
};

// Columns in order; text that is not a column format gives what could be read up to it.
std::vector<ListColumn> ParseListFormat(std::string_view format);
// The format text of columns in the given order (their own texts, joined).
std::string JoinListFormat(const std::vector<ListColumn>& columns);

// The text a picture shows for a value, without padding: numbers (@n) grouped by thousands
// unless a fill letter ("_" blanks, "0" zeros) is given, with places after ".", blank when zero
// with a trailing B, "#"s when wider than the picture; strings (@s) cut to their length on a
// character boundary; other pictures leave the text as it is.
std::string FormatPicture(std::string_view value, std::string_view picture);

}  // namespace rt
