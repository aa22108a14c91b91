#include <gtest/gtest.h>

#include <string>

#include "crash/records/line_info_text.h"

namespace {

std::string Format(const crash::LineInfo& info) {
  char text[crash::kLineInfoSize];
  std::size_t n = crash::FormatLineInfo({}, info, text);
  EXPECT_EQ(n, std::string(text).size());
  return text;
}

TEST(LineInfoText, ItemsAndSeparators) {
  crash::LineInfo found{.line = 42, .moduleName = "/opt/bw/boxwright", .sourceName = "app/main_window.cpp",
                        .procName = "MainWindow::TakeAccepted", .programPath = "/opt/bw/boxwright", .moduleVersion = ""};
  struct Case {
    const char* what;
    crash::LineInfo info;
    const char* text;
  };
  crash::LineInfo noProc = found;
  noProc.noProcFound = true;
  crash::LineInfo exact = noProc;
  exact.exactAddress = true;
  crash::LineInfo noLine = found;
  noLine.noLineNumber = true;
  crash::LineInfo library = found;
  library.moduleName = "/usr/lib/libc.so.6";
  library.moduleVersion = " 2.36";
  library.noLineNumber = library.noProcFound = true;
  const Case cases[] = {
      {"plain", found, "Line=42  Proc=MainWindow::TakeAccepted  Src=app/main_window.cpp"},
      {"no procedure", noProc, "Line ?=42  no proc  Src=app/main_window.cpp"},
      {"no procedure, exact address", exact, "Line=42  no proc  Src=app/main_window.cpp"},
      {"no line", noLine, "no line number  Proc=MainWindow::TakeAccepted"},
      {"another module", library, "no line number  no proc  Module=/usr/lib/libc.so.6 2.36"},
  };
  for (const auto& [what, info, text] : cases) EXPECT_EQ(Format(info), text) << what;

  // In a trace the separator depends on the length of the item before it: up to 8 characters
  // " " and two tabs, 9 to 18 " " and one tab, longer two blanks.
  found.stackTrace = true;
  EXPECT_EQ(Format(found), "Line=42 \t\tProc=MainWindow::TakeAccepted  Src=app/main_window.cpp");
  found.line = 1234;  // "Line=1234": 9 characters
  found.procName = "Run";  // "Proc=Run": 8 characters
  EXPECT_EQ(Format(found), "Line=1234 \tProc=Run \t\tSrc=app/main_window.cpp");
  found.line = 12345678;  // "Line ?=12345678": 15 characters
  found.noProcFound = true;  // "no proc": 7
  EXPECT_EQ(Format(found), "Line ?=12345678 \tno proc \t\tSrc=app/main_window.cpp");
  found.noLineNumber = true;  // "no line number": 14
  EXPECT_EQ(Format(found), "no line number \tno proc");
  found.noLineNumber = false;
  found.line = 1234567890;  // "Line ?=1234567890": 17; the source item is the last
  found.noProcFound = false;
  found.procName = "AVeryLongProcedureName";  // 27 characters
  found.moduleName = "/usr/lib/libz.so.1";
  EXPECT_EQ(Format(found), "Line=1234567890 \tProc=AVeryLongProcedureName  Src=app/main_window.cpp  Module=/usr/lib/libz.so.1");
}

TEST(LineInfoText, LongNamesAreCutAt255Characters) {
  std::string name(400, 'x');
  crash::LineInfo info{.line = 1, .moduleName = "p", .sourceName = "s.cpp", .procName = name, .programPath = "p", .moduleVersion = ""};
  EXPECT_EQ(Format(info).size(), 255u);
}

}  // namespace
