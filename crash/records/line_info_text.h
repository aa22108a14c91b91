#pragma once
// The text of one look-up: line, procedure, source file and (outside the program) module items,
// each after a separator. Written into a fixed 256-character buffer: no allocation.
#include <cstddef>
#include <string_view>

namespace crash {

struct LineInfoLabels {
  std::string_view line = "Line";
  std::string_view lineNotFound = "no line number";
  std::string_view proc = "Proc";
  std::string_view noProc = "no proc";
  std::string_view source = "Src";
  std::string_view module = "Module";
};

struct LineInfo {
  long line = 0;
  std::string_view moduleName;   // path of the module holding the address
  std::string_view sourceName;
  std::string_view procName;
  bool stackTrace = false;       // align items with tabs, for a trace
  bool noProcFound = false;
  bool noLineNumber = false;
  bool exactAddress = false;
  std::string_view programPath;  // the program's own file: its module gets no module item
  std::string_view moduleVersion;  // " 1.2.3" or "" (appended to the module path)
};

inline constexpr std::size_t kLineInfoSize = 256;

// Writes the text (at most 255 characters, NUL-ended, no trailing blanks) and returns its length.
std::size_t FormatLineInfo(const LineInfoLabels& labels, const LineInfo& info, char (&text)[kLineInfoSize]);

}  // namespace crash
