#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/win/modules/module_file_name.h"
#include "platform/win/modules/module_handle.h"
#include "platform/win/modules/virtual_query.h"
#include "platform/win/system/last_error.h"
#include "tests/support/own_path.h"

namespace {

constexpr DWORD kFromAddress =
    GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;

HMODULE ModuleOf(const void* address) {
  HMODULE module = reinterpret_cast<HMODULE>(1);
  if (!GetModuleHandleExA(kFromAddress, static_cast<const char*>(address), &module)) return nullptr;
  return module;
}

std::string FileOf(HMODULE module) {
  char path[PATH_MAX];
  DWORD n = GetModuleFileNameA(module, path, sizeof path);
  return std::string(path, n);
}

using test_support::OwnPath;

int gData = 1;

TEST(ModuleServices, AnAddressNamesItsModuleAndThatModulesFile) {
  HMODULE program = ModuleOf(reinterpret_cast<const void*>(&OwnPath));
  ASSERT_NE(program, nullptr);
  EXPECT_EQ(ModuleOf(&gData), program) << "code and data of one file are one module";
  EXPECT_EQ(FileOf(program), OwnPath());
  EXPECT_EQ(FileOf(nullptr), OwnPath());

  // A function of the C library lies in another module, whose file is the library's.
  void* cos = dlsym(RTLD_DEFAULT, "cos");
  ASSERT_NE(cos, nullptr);
  HMODULE libm = ModuleOf(cos);
  ASSERT_NE(libm, nullptr);
  EXPECT_NE(libm, program);
  Dl_info info{};
  ASSERT_NE(dladdr(cos, &info), 0);
  EXPECT_EQ(FileOf(libm).substr(FileOf(libm).rfind('/')),
            std::string(info.dli_fname).substr(std::string(info.dli_fname).rfind('/')));
}

TEST(ModuleServices, RefusalsCarryTheirErrors) {
  int onTheStack = 0;
  HMODULE module = reinterpret_cast<HMODULE>(1);
  EXPECT_FALSE(GetModuleHandleExA(kFromAddress, reinterpret_cast<const char*>(&onTheStack), &module));
  EXPECT_EQ(module, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  EXPECT_FALSE(GetModuleHandleExA(kFromAddress, nullptr, &module));
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);

  EXPECT_FALSE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                  reinterpret_cast<const char*>(&gData), &module));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(GetModuleHandleExA(kFromAddress, reinterpret_cast<const char*>(&gData), nullptr));

  char path[8];
  EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(&onTheStack), path, sizeof path), 0u);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

TEST(ModuleServices, LibrariesLoadedLaterAreFound) {
  HMODULE zlib = LoadLibraryA("libz.so.1");
  ASSERT_NE(zlib, nullptr);
  auto version = GetProcAddress(zlib, "zlibVersion");
  HMODULE module = ModuleOf(reinterpret_cast<const void*>(version));
  ASSERT_NE(module, nullptr);
  EXPECT_NE(FileOf(module).find("libz.so"), std::string::npos);
  FreeLibrary(zlib);
}

TEST(ModuleServices, LibrariesOtherLibrariesLoadAreFoundToo) {
  ASSERT_NE(ModuleOf(&gData), nullptr);  // the snapshot is taken
  void* library = dlopen("libunwind.so.8", RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << "libunwind8 is installed";
  void* step = dlsym(library, "_ULx86_64_step");
  HMODULE module = ModuleOf(step);
  ASSERT_NE(module, nullptr);
  EXPECT_NE(FileOf(module).find("libunwind.so"), std::string::npos);
  dlclose(library);
}

TEST(VirtualMemory, RegionsTellProtectionStateAndType) {
  MEMORY_BASIC_INFORMATION info{};
  ASSERT_EQ(VirtualQuery(reinterpret_cast<const void*>(&OwnPath), &info, sizeof info), sizeof info);
  EXPECT_EQ(info.State, MEM_COMMIT);
  EXPECT_EQ(info.Type, MEM_IMAGE);
  EXPECT_NE(info.Protect & 0xF0, 0u) << "code is executable";
  EXPECT_EQ(info.AllocationBase, reinterpret_cast<void*>(ModuleOf(reinterpret_cast<const void*>(&OwnPath))));
  auto base = static_cast<const char*>(info.BaseAddress);
  EXPECT_LE(base, reinterpret_cast<const char*>(&OwnPath));
  EXPECT_GT(base + info.RegionSize, reinterpret_cast<const char*>(&OwnPath));

  int onTheStack = 0;
  ASSERT_EQ(VirtualQuery(&onTheStack, &info, sizeof info), sizeof info);
  EXPECT_EQ(info.Protect, PAGE_WRITECOPY);
  EXPECT_EQ(info.Type, MEM_PRIVATE);
  EXPECT_EQ(info.Protect & 0xF0, 0u);

  long page = sysconf(_SC_PAGESIZE);
  void* guarded = mmap(nullptr, 3 * page, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(guarded, MAP_FAILED);
  ASSERT_EQ(munmap(static_cast<char*>(guarded) + page, page), 0);
  ASSERT_EQ(VirtualQuery(guarded, &info, sizeof info), sizeof info);
  EXPECT_EQ(info.Protect, PAGE_NOACCESS);
  EXPECT_EQ(info.State, MEM_COMMIT);
  ASSERT_EQ(VirtualQuery(static_cast<char*>(guarded) + page + 10, &info, sizeof info), sizeof info);
  EXPECT_EQ(info.State, MEM_FREE);
  EXPECT_EQ(info.BaseAddress, static_cast<char*>(guarded) + page);
  EXPECT_EQ(info.RegionSize, static_cast<std::size_t>(page));
  munmap(guarded, 3 * page);

  EXPECT_EQ(VirtualQuery(&onTheStack, &info, sizeof info - 1), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(VirtualQuery(reinterpret_cast<const void*>(~std::uintptr_t{0}), &info, sizeof info), 0u);
}

}  // namespace
