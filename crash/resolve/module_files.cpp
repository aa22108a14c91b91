#include "crash/resolve/module_files.h"

#include <fcntl.h>

#include "crash/records/file_build_id.h"
#include "platform/win/modules/module_map.h"

namespace crash {
namespace {
int gProgramFile = -1;
}  // namespace

void KeepProgramFile() {
  if (gProgramFile < 0) gProgramFile = ::open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
}

bool OpenModuleFile(LONG_PTR module, const char* path, RecordFile& file) {
  win::LoadedModule loaded, program;
  if (!win::FindModuleOfHandle(static_cast<std::uintptr_t>(module), loaded)) return false;
  bool isProgram = win::ProgramModule(program) && program.base == loaded.base;
  if (!(isProgram && file.OpenDuplicate(gProgramFile)) && !file.Open(path)) return false;
  win::BuildId id;
  if (loaded.buildId == nullptr || loaded.buildId->size == 0 || !ReadFileBuildId(file, id) || !(id == *loaded.buildId)) {
    file.Close();
    return false;
  }
  return true;
}

}  // namespace crash
