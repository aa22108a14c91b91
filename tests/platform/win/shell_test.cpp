#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/win/shell/command_line.h"
#include "platform/win/shell/shell_execute.h"
#include "platform/win/system/last_error.h"
#include "platform/win/system/registry.h"
#include "platform/win/system/windows_directory.h"
#include "tests/platform/test_files.h"
#include "tests/support/private_desktop.h"
#include "tests/support/shell_targets.h"

namespace {

using Arguments = std::vector<std::string>;

int Open(const char* verb, const std::string& file, const char* parameters = nullptr, const char* directory = nullptr) {
  return ShellResult(ShellExecuteA(nullptr, verb, file.c_str(), parameters, directory, SW_SHOWNORMAL));
}

// A folder of a case's table: "" stands for none.
const char* Folder(const std::string& folder) { return folder.empty() ? nullptr : folder.c_str(); }

TEST(ShellExecute, MailtoUrlReachesTheHandlerByteForByte) {
  test_support::PrivateDesktop desktop({"mailto"});
  const std::string url =
      "mailto:a@b.example?subject=Crash report \"Boxwright\" & more; $(rm -rf x) `id` | \\ * \xc3\xa9\xff&body=Line 1%0D%0A";
  EXPECT_GT(Open(nullptr, url), 32);
  EXPECT_EQ(desktop.WaitForArguments(), Arguments{url});
}

TEST(ShellExecute, OpenVerbAndFileOfAHandledType) {
  test_support::PrivateDesktop desktop({"text/html"});
  platform_test::WriteFileText("page with blank.htm", "<html></html>");
  EXPECT_GT(Open("open", "page with blank.htm"), 32);
  auto received = desktop.WaitForArguments();
  ASSERT_EQ(received.size(), 1u);
  // A handler that takes URLs gets a local file as its path.
  EXPECT_EQ(received[0], (std::filesystem::current_path() / "page with blank.htm").string());
}

TEST(ShellExecute, ProgramGetsItsParametersSplitByQuotingWithoutAShell) {
  test_support::PrivateDesktop desktop({});
  std::filesystem::create_directory("work");
  // The recorder writes into its working folder: the directory argument is where it runs.
  EXPECT_GT(Open("open", ARG_RECORDER_PATH, "out \"two words\" a;b $(x) `y`", "work"), 32);
  test_support::PrivateDesktop::WaitForFile("work/out");
  EXPECT_EQ(test_support::PrivateDesktop::ArgumentsIn("work/out"), (Arguments{"two words", "a;b", "$(x)", "`y`"}));
}

TEST(ShellExecute, FailuresGiveTheirNumbers) {
  test_support::PrivateDesktop desktop({"mailto"});
  platform_test::WriteFileText("unknown.boxwright-nothing", "x");
  platform_test::WriteFileText("secret.txt", "x");
  ::chmod("secret.txt", 0);
  struct Case {
    const char* verb;
    std::string file;
    const char* directory;
    int expected;
  } cases[] = {
      {nullptr, "boxwrightnohandler:thing", nullptr, SE_ERR_NOASSOC},
      {nullptr, "no-such-file.txt", nullptr, SE_ERR_FNF},
      {nullptr, "no-such-folder/file.txt", nullptr, SE_ERR_PNF},
      {nullptr, "file.txt", "no-such-folder", SE_ERR_PNF},
      {nullptr, "", nullptr, SE_ERR_FNF},
      {"print", "mailto:a@b.example", nullptr, SE_ERR_NOASSOC},
      {"OPEN", "boxwrightnohandler:thing", nullptr, SE_ERR_NOASSOC},
      {nullptr, "unknown.boxwright-nothing", nullptr, SE_ERR_NOASSOC},
  };
  for (const auto& c : cases) EXPECT_EQ(Open(c.verb, c.file, nullptr, c.directory), c.expected) << c.file;
  if (::geteuid() != 0) {
    EXPECT_EQ(Open(nullptr, "secret.txt"), SE_ERR_ACCESSDENIED);
  }
  EXPECT_FALSE(std::filesystem::exists(desktop.Received()));
}

TEST(ShellExecute, ADocumentGoesToItsHandlerWhateverItsModeAndName) {
  test_support::ShellTargets targets;
  test_support::PrivateDesktop desktop(test_support::ShellTargets::Handled());
  const std::string fat = targets.Path("fat.pdf");
  struct Case {
    std::string file;
    std::string directory;
    std::string received;
  } cases[] = {
      {fat, "", fat},
      {targets.Path("notes.txt"), "", targets.Path("notes.txt")},
      {targets.Path("script"), "", targets.Path("script")},
      // The current folder's document, not the program of that name on PATH.
      {"doc.pdf", "", targets.Path("here/doc.pdf")},
      {"doc.pdf", targets.Path("here"), targets.Path("here/doc.pdf")},
      {"-rf.pdf", "", targets.Path("here/-rf.pdf")},
      {"file://" + fat, "", fat},
      {"FILE://localhost" + fat, "", fat},
      {"file://" + targets.Path("with%20blank.pdf"), "", targets.Path("with blank.pdf")},
      {targets.Path("odd@dir/mailto:x"), "", targets.Path("odd@dir/mailto:x")},
      {targets.Path("folder"), "", targets.Path("folder")},
      // A program named as a document is opened as what its name says.
      {targets.Path("program.pdf"), "", targets.Path("program.pdf")},
  };
  for (const auto& c : cases) {
    desktop.Clear();
    EXPECT_EQ(Open("open", c.file, nullptr, Folder(c.directory)), kShellExecuteStarted) << c.file;
    EXPECT_EQ(desktop.WaitForArguments(), Arguments{c.received}) << c.file;
  }
  EXPECT_FALSE(targets.SomethingRan());
}

TEST(ShellExecute, ANameIsNeverLookedForOnPath) {
  test_support::ShellTargets targets;
  test_support::PrivateDesktop desktop(test_support::ShellTargets::Handled());
  struct Case {
    std::string file;
    std::string directory;
    int expected;
  } cases[] = {
      {"doc.pdf", targets.Path("empty"), SE_ERR_FNF},
      {"prog-on-path", "", SE_ERR_FNF},
      {targets.Path("missing.pdf"), "", SE_ERR_FNF},
      {targets.Path("no-folder/doc.pdf"), "", SE_ERR_PNF},
      // Another computer's file is not this one's file of the same path.
      {"file://otherhost" + targets.Path("fat.pdf"), "", SE_ERR_FNF},
      {"file:doc.pdf", "", SE_ERR_FNF},
  };
  for (const auto& c : cases) EXPECT_EQ(Open(nullptr, c.file, nullptr, Folder(c.directory)), c.expected) << c.file;
  EXPECT_FALSE(std::filesystem::exists(desktop.Received()));
  EXPECT_FALSE(targets.SomethingRan());
}

TEST(ShellExecute, AProgramThatIsTheTargetIsStartedInItsFolder) {
  test_support::ShellTargets targets;
  test_support::PrivateDesktop desktop(test_support::ShellTargets::Handled());
  struct Case {
    std::string file;
    int expected;
  } cases[] = {
      {targets.Path("prog"), kShellExecuteStarted},
      {"file://" + targets.Path("prog"), kShellExecuteStarted},
      {"prog", kShellExecuteStarted},  // in the folder given
      {targets.Path("locked-prog"), SE_ERR_ACCESSDENIED},
  };
  const std::string folder = targets.Path("");
  for (const auto& c : cases) {
    std::filesystem::remove(targets.Path("out"));
    // The recorder writes the parameters after the first into "out" in its working folder.
    EXPECT_EQ(Open(nullptr, c.file, "out -x", folder.c_str()), c.expected) << c.file;
    if (c.expected != kShellExecuteStarted) continue;
    test_support::PrivateDesktop::WaitForFile(targets.Path("out"));
    EXPECT_EQ(test_support::PrivateDesktop::ArgumentsIn(targets.Path("out")), Arguments{"-x"}) << c.file;
  }
  EXPECT_FALSE(std::filesystem::exists(desktop.Received()));
}

TEST(ShellExecute, ACommandLineTooLongForTheSystemIsNoMissingHandler) {
  test_support::ShellTargets targets;
  test_support::PrivateDesktop desktop({"mailto"});
  const std::string body(200000, 'x');
  EXPECT_EQ(Open(nullptr, "mailto:ann@example.com?body=" + body), kShellOutOfResources);
  EXPECT_EQ(GetLastError(), 206u);
  EXPECT_EQ(Open(nullptr, targets.Path("prog"), ("out " + body).c_str()), kShellOutOfResources);
  EXPECT_FALSE(std::filesystem::exists(desktop.Received()));
}

TEST(ShellExecute, AHandlerThatTakesOnlyFilesNeverSilentlyLosesAUrl) {
  test_support::ShellTargets targets;
  test_support::PrivateDesktop desktop({"mailto", "application/pdf"}, ARG_RECORDER_PATH, {.fieldCode = "%f"});
  EXPECT_EQ(Open(nullptr, "mailto:ann@example.com?subject=lost"), SE_ERR_ASSOCINCOMPLETE);
  EXPECT_FALSE(std::filesystem::exists(desktop.Received()));
  EXPECT_EQ(Open(nullptr, targets.Path("fat.pdf")), kShellExecuteStarted);
  EXPECT_EQ(desktop.WaitForArguments(), Arguments{targets.Path("fat.pdf")});
}

std::string ClassesRoot(const char* key, LONG* result, LONG size = 200) {
  char value[256] = {};
  *result = RegQueryValueA(HKEY_CLASSES_ROOT, key, value, &size);
  return *result == ERROR_SUCCESS ? std::string(value) : std::string();
}

TEST(ClassesRoot, AnswersFromTheDesktopsAssociations) {
  test_support::PrivateDesktop desktop({"text/html", "mailto", "application/pdf"});
  struct Case {
    const char* key;
    std::string expected;
  } cases[] = {
      {".htm", "text/html"},
      {".PDF", "application/pdf"},
      {"text/html\\shell\\open\\command", desktop.Command()},
      {"mailto\\shell\\open\\command", desktop.Command()},
      {"MAILTO\\Shell\\Open\\Command\\", desktop.Command()},
      {"pdffile\\shell\\open\\command", desktop.Command()},
      {"pdf_auto_file\\shell\\open\\command", desktop.Command()},
  };
  for (const auto& c : cases) {
    LONG result = -1;
    EXPECT_EQ(ClassesRoot(c.key, &result), c.expected) << c.key;
    EXPECT_EQ(result, ERROR_SUCCESS) << c.key;
  }
}

TEST(ClassesRoot, WithoutAHandlerTheKeyIsNotFound) {
  test_support::PrivateDesktop desktop({"mailto"});
  for (const char* key : {"callto\\shell\\open\\command", "", "pdffile\\shell\\open\\command", ".boxwright-nothing",
                          "text/html\\shell\\open\\command", "mailto\\shell\\print\\command"}) {
    LONG result = -1;
    ClassesRoot(key, &result);
    EXPECT_EQ(result, ERROR_FILE_NOT_FOUND) << key;
  }
  LONG result = -1;
  EXPECT_EQ(ClassesRoot("mailto\\shell\\open\\command", &result, 10), "");
  EXPECT_EQ(result, ERROR_MORE_DATA);
}

TEST(WindowsDirectory, IsALinuxFolderWithoutADriveLetter) {
  char folder[64] = {};
  UINT length = GetWindowsDirectoryA(folder, sizeof folder);
  EXPECT_EQ(length, std::string(folder).size());
  EXPECT_EQ(std::string(folder).find(':'), std::string::npos);
  EXPECT_EQ(folder[0], '/');
  EXPECT_EQ(GetWindowsDirectoryA(folder, 1), length + 1);
}

TEST(CommandLine, SplitsByQuotingRules) {
  struct Case {
    const char* line;
    Arguments expected;
  } cases[] = {
      {"", {}},
      {"  prog   a\tb  ", {"prog", "a", "b"}},
      {"prog \"two words\" x", {"prog", "two words", "x"}},
      {"prog a\"b c\"d", {"prog", "ab cd"}},
      {"prog \"\"", {"prog", ""}},
      {"prog \\\"quoted\\\"", {"prog", "\"quoted\""}},
      {"prog C:\\dir\\file", {"prog", "C:\\dir\\file"}},
      {"prog a\\\\\"b c\"", {"prog", "a\\b c"}},
      {"prog ;rm $(x) `y` 'z w'", {"prog", ";rm", "$(x)", "`y`", "'z", "w'"}},
      {"prog \"unterminated text", {"prog", "unterminated text"}},
  };
  for (const auto& c : cases) EXPECT_EQ(win::SplitCommandLine(c.line), c.expected) << c.line;
}

}  // namespace
