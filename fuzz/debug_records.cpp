// A module file as the crash reporter reads it: its section table for the debug directory (and
// the records' own section, and the inlined calls' section), its program headers for the build
// id, and debug records and inlined calls for look-ups.
// Rules: nothing is read beyond the file or the records (the sanitizers watch), a build id
// found fits its place and reads the same again, a look-up of damaged records answers one of
// its three kinds, and the same look-up twice answers the same (held blocks change nothing).
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "crash/records/debug_directory.h"
#include "crash/records/file_build_id.h"
#include "crash/records/inlined_calls.h"
#include "crash/records/symbol_lookup.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const std::uint32_t rvas[3] = {input.Word(), input.Word(), input.Word()};
  const std::string bytes = input.Rest();

  // The file lives in memory; the reader opens it by name like any module file.
  int fd = memfd_create("module", MFD_CLOEXEC);
  if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) return 0;
  const std::string path = "/proc/self/fd/" + std::to_string(fd);

  crash::RecordFile file;
  if (file.Open(path.c_str())) {
    crash::DebugDirectory directory;
    crash::FindDebugDirectory(file, directory, nullptr);
    win::BuildId first, again;
    bool found = crash::ReadFileBuildId(file, first);
    FUZZ_CHECK(!found || (first.size > 0 && first.size <= win::kMostBuildId));
    FUZZ_CHECK(crash::ReadFileBuildId(file, again) == found && (!found || again == first));
    std::uint64_t at = 0, length = 0;
    crash::FindInlinedCallSection(file, at, length);

    // The inlined calls begin at the file's start too.
    crash::InlinedCallLookup calls;
    if (calls.Use(file, 0, bytes.size())) {
      for (std::uint32_t rva : rvas) {
        crash::InlinedChain chain, again;
        bool inside = calls.Find(rva, chain);
        FUZZ_CHECK(calls.Find(rva, again) == inside && chain.count == again.count, "rva " + std::to_string(rva));
        FUZZ_CHECK(inside == (chain.count > 0) && chain.count <= crash::kMostInlinedCalls);
        for (std::size_t i = 0; i < chain.count; ++i)
          FUZZ_CHECK(std::strlen(chain.calls[i].name) <= crash::kNameLength &&
                     std::strcmp(chain.calls[i].name, again.calls[i].name) == 0 &&
                     chain.calls[i].callLine == again.calls[i].callLine);
      }
    }
  }

  // The records begin at the file's start; their size is the whole file.
  crash::SymbolLookup lookup;
  if (lookup.UseRecords(path.c_str(), 0, static_cast<std::uint32_t>(bytes.size()))) {
    for (std::uint32_t rva : rvas) {
      crash::SymbolAnswer first = lookup.Find(rva);
      std::string firstProc = first.procName, firstSource = first.sourceName;
      crash::SymbolAnswer again = lookup.Find(rva);
      FUZZ_CHECK(first.kind == again.kind && first.line == again.line && first.noProcFound == again.noProcFound &&
                     first.noLineNumber == again.noLineNumber && firstProc == again.procName &&
                     firstSource == again.sourceName,
                 "rva " + std::to_string(rva));
      FUZZ_CHECK(std::strlen(again.procName) <= crash::kNameLength);
    }
  }
  close(fd);
  return 0;
}
