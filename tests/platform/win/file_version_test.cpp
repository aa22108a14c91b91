#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "platform/win/modules/file_version.h"
#include "platform/win/system/last_error.h"

namespace {

struct VersionLibrary {
  VersionLibrary() : module(LoadLibraryA("version.dll")) {
    size = reinterpret_cast<GetFileVersionInfoSizeAProc>(GetProcAddress(module, "GetFileVersionInfoSizeA"));
    info = reinterpret_cast<GetFileVersionInfoAProc>(GetProcAddress(module, "GetFileVersionInfoA"));
    query = reinterpret_cast<VerQueryValueAProc>(GetProcAddress(module, "VerQueryValueA"));
  }
  ~VersionLibrary() { FreeLibrary(module); }
  HMODULE module;
  GetFileVersionInfoSizeAProc size;
  GetFileVersionInfoAProc info;
  VerQueryValueAProc query;
};

std::string QueryText(const VersionLibrary& v, const std::vector<char>& block, const char* path) {
  void* value = nullptr;
  UINT length = 0;
  if (!v.query(block.data(), path, &value, &length)) return "<none>";
  return std::string(static_cast<const char*>(value), length - 1);
}

TEST(FileVersion, RegisteredResourcesAnswerTheirStrings) {
  std::ofstream("program.bin") << "x";
  win::RegisterVersionResource("./program.bin",
                               {0x0409, 0x04B0, {{"FileVersion", "1.1.0"}, {"ProductName", "Boxwright"}}});
  VersionLibrary v;
  DWORD handle = 7;
  DWORD size = v.size("program.bin", &handle);
  ASSERT_GT(size, 0u);
  EXPECT_EQ(handle, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(v.info("program.bin", 0, size, block.data()));

  void* translation = nullptr;
  UINT length = 0;
  ASSERT_TRUE(v.query(block.data(), "\\VarFileInfo\\Translation", &translation, &length));
  EXPECT_EQ(length, 4u);
  EXPECT_EQ(static_cast<WORD*>(translation)[0], 0x0409);
  EXPECT_EQ(static_cast<WORD*>(translation)[1], 0x04B0);

  EXPECT_EQ(QueryText(v, block, "\\StringFileInfo\\040904B0\\FileVersion"), "1.1.0");
  EXPECT_EQ(QueryText(v, block, "\\StringFileInfo\\040904b0\\productname"), "Boxwright");
  EXPECT_EQ(QueryText(v, block, "\\StringFileInfo\\040704B0\\FileVersion"), "<none>");
  EXPECT_EQ(QueryText(v, block, "\\StringFileInfo\\040904B0\\Comments"), "<none>");

  // A short buffer keeps what fits; the strings beyond it are not read.
  std::vector<char> shortBlock(size - 3);
  ASSERT_TRUE(v.info("program.bin", 0, static_cast<DWORD>(shortBlock.size()), shortBlock.data()));
  EXPECT_EQ(QueryText(v, shortBlock, "\\StringFileInfo\\040904B0\\FileVersion"), "1.1.0");
  EXPECT_EQ(QueryText(v, shortBlock, "\\StringFileInfo\\040904B0\\ProductName"), "<none>");
}

TEST(FileVersion, OtherFilesHaveNone) {
  VersionLibrary v;
  DWORD handle = 0;
  EXPECT_EQ(v.size("no-such-file.bin", &handle), 0u);
  EXPECT_EQ(GetLastError(), 2u);
  std::ofstream("plain.bin") << "x";
  EXPECT_EQ(v.size("plain.bin", &handle), 0u);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
}

}  // namespace
