// The program installed as a user or a packager installs it (`cmake --install`, as `make
// install` runs it): the program, a desktop entry that the desktop's own checker accepts,
// the icons of the icon theme, and a launcher that starts the program in a folder of its own.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "tests/app/x_desktop.h"
#include "tests/support/child_program.h"
#include "tests/support/file_text.h"
#include "tests/support/short_folder.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test_support::FileText;
using test_support::RunChild;

const int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// Installs the build under test into `prefix`, below `destdir` when one is given.
bool Install(const std::string& prefix, const std::string& destdir = "") {
  return RunChild({CMAKE_COMMAND_PATH, "--install", BOXWRIGHT_BUILD_DIR, "--prefix", prefix},
                  {.environment = {"DESTDIR=" + destdir}})
             .status == 0;
}

// desktop-file-validate's verdict on an entry: "" when it takes it without a remark.
std::optional<std::string> Validated(const fs::path& entry) {
  const test_support::ChildRun run = RunChild({"/usr/bin/desktop-file-validate", entry.string()});
  if (!run.started) return std::nullopt;
  return run.output + run.errors + (run.status == 0 ? "" : "(refused)");
}

// A key's value in the desktop entry, as written.
std::string EntryValue(const std::string& entry, const std::string& key) {
  std::smatch m;
  return std::regex_search(entry, m, std::regex("\n" + key + "=([^\n]*)")) ? m[1].str() : "";
}

// The program an Exec value starts, unquoted as the desktop entry format says: the value's
// own escapes first, then the quoting of the argument.
std::string ExecProgram(const std::string& value) {
  std::string unescaped;
  for (std::size_t i = 0; i < value.size(); ++i) unescaped += value[i] == '\\' && i + 1 < value.size() ? value[++i] : value[i];
  std::string program;
  bool quoted = false;
  for (std::size_t i = 0; i < unescaped.size(); ++i) {
    const char c = unescaped[i];
    if (c == '"') quoted = !quoted;
    else if (quoted && c == '\\' && i + 1 < unescaped.size()) program += unescaped[++i];
    else if (!quoted && c == ' ') break;
    else if (c == '%' && i + 1 < unescaped.size() && unescaped[i + 1] == '%') program += unescaped[i++];
    else program += c;
  }
  return program;
}

// Width and height from a PNG file's header; {0, 0} for anything else.
std::pair<int, int> PngSize(const fs::path& path) {
  const std::string bytes = FileText(path);
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0) return {0, 0};
  auto number = [&](std::size_t at) {
    int n = 0;
    for (std::size_t i = at; i < at + 4; ++i) n = n * 256 + static_cast<unsigned char>(bytes[i]);
    return n;
  };
  return {number(16), number(20)};
}

TEST(Install, IntoAStagingFolderEverythingLandsUnderThePrefixThere) {
  test_support::ShortFolder stage;
  const std::string prefix = "/opt/boxwright";
  ASSERT_TRUE(Install(prefix, stage.Path()));
  const fs::path root = stage.Path().string() + prefix;

  const fs::path program = root / "bin/boxwright";
  EXPECT_EQ(fs::file_size(program), fs::file_size(BOXWRIGHT_EXE)) << "installed as built, debug records included";
  EXPECT_NE(fs::status(program).permissions() & fs::perms::others_exec, fs::perms::none);
  EXPECT_NE(fs::status(root / "bin/boxwright-desktop").permissions() & fs::perms::others_exec, fs::perms::none);
  for (int size : kIconSizes) {
    const std::string side = std::to_string(size);
    EXPECT_EQ(PngSize(root / ("share/icons/hicolor/" + side + "x" + side + "/apps/boxwright.png")),
              std::make_pair(size, size));
  }

  const fs::path entry = root / "share/applications/boxwright.desktop";
  EXPECT_EQ(Validated(entry), "") << "(desktop-file-validate: package desktop-file-utils)";
  const std::string text = FileText(entry);
  EXPECT_EQ(EntryValue(text, "Name"), "Boxwright");
  EXPECT_EQ(EntryValue(text, "Icon"), "boxwright");
  EXPECT_EQ(EntryValue(text, "Categories"), "AudioVideo;Audio;Midi;");
  EXPECT_EQ(ExecProgram(EntryValue(text, "Exec")), prefix + "/bin/boxwright-desktop") << "the staging folder is no part of it";
  EXPECT_EQ(FileText(root / "bin/boxwright-desktop").find(stage.Path().string()), std::string::npos);

  std::size_t files = 0;
  for (const auto& item : fs::recursive_directory_iterator(stage.Path())) {
    if (!item.is_regular_file()) continue;
    ++files;
    EXPECT_TRUE(item.path().string().starts_with(root.string())) << item.path();
  }
  EXPECT_EQ(files, 3u + std::size(kIconSizes));
}

// Started from its desktop entry, the installed program shows its window and keeps its
// settings in the user's state folder, wherever the prefix lies and whatever its name holds.
TEST(Install, TheDesktopEntryStartsTheProgramInAFolderOfItsOwn) {
  XDesktop desktop;
  ASSERT_TRUE(desktop.Ready());
  test_support::ShortFolder place;
  const std::string prefix = place.Path().string() + "/odd $name's \"prefix\" 100%";
  ASSERT_TRUE(Install(prefix));
  const std::string entry = prefix + "/share/applications/boxwright.desktop";
  EXPECT_EQ(Validated(entry), "");
  const std::string launcher = ExecProgram(EntryValue(FileText(entry), "Exec"));
  ASSERT_EQ(launcher, prefix + "/bin/boxwright-desktop");

  const std::string home = (place / "home").string();
  const std::string state = (place / "state").string();
  struct {
    std::optional<std::string> stateHome;
    std::string folder;  // where the program must have kept its settings
  } cases[] = {{std::nullopt, home + "/.local/state/boxwright"},
               {state, state + "/boxwright"},
               {"relative/state", home + "/.local/state/boxwright"}};
  for (const auto& c : cases) {
    fs::remove_all(c.folder);
    test_support::ChildOptions options = {.folder = "/", .environment = {"HOME=" + home}};
    if (c.stateHome) options.environment.push_back("XDG_STATE_HOME=" + *c.stateHome);
    else options.dropInherited.push_back("XDG_STATE_HOME=");
    test_support::StartedChild program({launcher}, desktop.On(options));
    const std::string window = desktop.WaitForWindow("Boxwright 1.01");
    ASSERT_NE(window, "") << "the installed program showed no window";
    EXPECT_TRUE(desktop.Close(window));
    EXPECT_EQ(program.Wait(20s).status, 0);
    EXPECT_NE(FileText(c.folder + "/settings.ini").find("[Preserved]"), std::string::npos)
        << c.stateHome.value_or("XDG_STATE_HOME unset");
  }
}

// Every path below `folder`, folders marked with a trailing "/".
std::set<std::string> Listing(const fs::path& folder) {
  std::set<std::string> paths;
  for (const auto& item : fs::recursive_directory_iterator(folder))
    paths.insert(fs::relative(item.path(), folder).string() + (item.is_directory() ? "/" : ""));
  return paths;
}

// Uninstalling takes back the files and the folders the install made, and nothing the folder
// held before: a prefix that was empty is empty again, and what was there stays.
TEST(Install, UninstallLeavesThePrefixAsItWas) {
  for (const bool staged : {false, true}) {
    test_support::ShortFolder place;
    const fs::path prefix = place.Path() / "prefix";
    fs::create_directories(prefix / "share/applications");
    std::ofstream(prefix / "share/applications/other.desktop") << "[Desktop Entry]\n";
    std::ofstream(prefix / "notes.txt") << "mine\n";
    const std::string destdir = staged ? (place.Path() / "stage").string() : "";
    const fs::path root = destdir + prefix.string();
    fs::create_directories(root);
    const std::set<std::string> before = Listing(root);

    ASSERT_TRUE(Install(prefix.string(), destdir));
    ASSERT_TRUE(fs::exists(root / "bin/boxwright"));
    const test_support::ChildRun run =
        RunChild({BOXWRIGHT_UNINSTALL, BOXWRIGHT_BUILD_DIR, prefix.string()}, {.environment = {"DESTDIR=" + destdir}});
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(Listing(root), before) << (staged ? "staged" : "in place");
  }
}

// `make install` asks only for what building and running the program need: nobody installing
// into their home is asked for root to fetch test tools.
TEST(Install, MakeInstallAsksForNoTestTool) {
  const test_support::ChildRun run =
      RunChild({"/usr/bin/make", "-n", "-C", BOXWRIGHT_SOURCE_DIR, "install", "PREFIX=/tmp/nowhere"});
  ASSERT_EQ(run.status, 0) << run.errors;
  std::smatch m;
  ASSERT_TRUE(std::regex_search(run.output, m, std::regex("install-packages ([^\n]*)"))) << run.output;
  for (const char* tool : {"googletest", "libgtest-dev", "libgmock-dev", "libbenchmark-dev", "xvfb", "openbox", "xdotool",
                           "x11-utils", "desktop-file-utils", "gdb"})
    EXPECT_EQ((" " + m[1].str() + " ").find(std::string(" ") + tool + " "), std::string::npos) << tool;
  EXPECT_EQ(std::regex_search(run.output, std::regex("install-packages [^\n]*\n[^\n]*install-packages")), false)
      << "one package list only";
  EXPECT_NE(run.output.find("-DBOXWRIGHT_TESTS=OFF"), std::string::npos) << "the build needs no GoogleTest";
}

}  // namespace
}  // namespace app_test
