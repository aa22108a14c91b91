// boxwright_debug_records --source-root DIR --objcopy OBJCOPY PROGRAM
//
// Reads PROGRAM's DWARF and writes its debug records into PROGRAM itself, for the crash
// reporter. Run by the build after every link of a program that reports faults.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "dwarf_reader.h"
#include "program_sections.h"
#include "record_image.h"

int main(int argc, char** argv) {
  std::string sourceRoot, objcopy = "objcopy", program;
  bool understood = true;
  for (int i = 1; i < argc && understood; ++i) {
    if (std::strcmp(argv[i], "--source-root") == 0 && i + 1 < argc) sourceRoot = argv[++i];
    else if (std::strcmp(argv[i], "--objcopy") == 0 && i + 1 < argc) objcopy = argv[++i];
    else if (program.empty() && argv[i][0] != '-') program = argv[i];
    else understood = false;
  }
  if (!understood || program.empty()) {
    std::fprintf(stderr, "usage: %s [--source-root DIR] [--objcopy PATH] PROGRAM\n", argv[0]);
    return 2;
  }
  try {
    DebugInfo info = ReadDebugInfo(program, sourceRoot);
    PlaceRecords(program, objcopy, BuildRecordImage(info), BuildInlinedCallImage(info));
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s: %s\n", argv[0], failure.what());
    return 1;
  }
  return 0;
}
