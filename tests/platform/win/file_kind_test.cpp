#include "platform/win/files/file_kind.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "tests/platform/test_files.h"
#include "tests/support/special_files.h"

namespace {

namespace fs = std::filesystem;

// Each thing that may stand at a path: only a regular file (or a link to one) is opened, and
// nothing that is not one is waited on.
TEST(FileKind, OnlyARegularFileIsOpenedForReading) {
  platform_test::ScratchFolder scratch;
  const fs::path& dir = scratch.path;
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> make;
    win::FileKind kind;
    int error;
  } cases[] = {
      {"a file", [](const fs::path& p) { test_support::WriteFileText(p, "data"); }, win::FileKind::Regular, 0},
      {"a link to a file",
       [&](const fs::path& p) {
         test_support::WriteFileText(dir / "real", "data");
         fs::create_symlink(dir / "real", p);
       },
       win::FileKind::Regular, 0},
      {"nothing", [](const fs::path&) {}, win::FileKind::Missing, ENOENT},
      {"a link to nothing", [&](const fs::path& p) { fs::create_symlink(dir / "gone", p); }, win::FileKind::BrokenLink,
       ENOENT},
      {"a FIFO without a writer", test_support::MakeFifo, win::FileKind::NamedPipe, EINVAL},
      {"a socket", test_support::MakeSocket, win::FileKind::Socket, EINVAL},
      {"a link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }, win::FileKind::Device,
       EINVAL},
      {"a folder", [](const fs::path& p) { fs::create_directory(p); }, win::FileKind::Folder, EISDIR},
  };
  int n = 0;
  for (const Case& c : cases) {
    const fs::path path = dir / ("thing" + std::to_string(n++));
    c.make(path);
    EXPECT_EQ(win::KindAt(path.string()), c.kind) << c.name;
    win::RegularFile file = win::OpenRegularFile(path.string());
    EXPECT_EQ(file.kind, c.kind) << c.name;
    EXPECT_EQ(file.error, c.error) << c.name;
    EXPECT_EQ(file.fd.get() >= 0, c.kind == win::FileKind::Regular) << c.name;
    if (file.fd.get() >= 0) {
      EXPECT_EQ(file.info.st_size, 4) << c.name;
    }
  }
}

}  // namespace
