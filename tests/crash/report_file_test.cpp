// A report file that cannot be written, or that is not a file: nothing else is touched or
// created, nothing waits, and the user learns it from the boxes and the mail, which carry the
// report instead. Without a clipboard tool the mail carries the report too.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "crash/write/report_file_problem.h"
#include "crash/write/text_file.h"
#include "tests/app/json_value.h"
#include "tests/crash/fault_run.h"
#include "tests/crash/mail_url.h"
#include "tests/support/file_text.h"
#include "tests/support/private_desktop.h"
#include "tests/support/short_folder.h"
#include "tests/support/special_files.h"

namespace {

namespace fs = std::filesystem;
using test_support::FileText;
using test_support::WriteFileText;

// What stands at the report's name, made in `place`; the file `victim` there holds "precious".
struct Hostile {
  const char* name;
  std::function<void(const fs::path& place)> make;
  int reason;
};

const fs::path kName = "Faultscribe.log";

std::vector<Hostile> HostileNames() {
  return {
      {"a link to another file", [](const fs::path& p) { fs::create_symlink(p / "victim", p / kName); }, ELOOP},
      {"a link to nothing", [](const fs::path& p) { fs::create_symlink(p / "made-through-link", p / kName); }, ELOOP},
      {"a FIFO", [](const fs::path& p) { test_support::MakeFifo(p / kName); }, crash::kNotARegularFile},
      {"a folder", [](const fs::path& p) { fs::create_directory(p / kName); }, EISDIR},
      {"a socket", [](const fs::path& p) { test_support::MakeSocket(p / kName); }, crash::kNotARegularFile},
  };
}

// Everything in `place` but the report's name, as the test left it.
void ExpectUntouched(const fs::path& place) {
  EXPECT_EQ(FileText(place / "victim"), "precious");
  EXPECT_FALSE(fs::exists(place / "made-through-link"));
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(place)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{kName.string(), "victim"}));
  if (fs::is_directory(fs::symlink_status(place / kName))) {
    EXPECT_TRUE(fs::is_empty(place / kName));
  }
}

TEST(ReportFileWrite, OnlyARegularFileIsWrittenAndNothingWaits) {
  for (bool append : {true, false}) {
    for (const Hostile& h : HostileNames()) {
      SCOPED_TRACE(std::string(h.name) + (append ? ", appending" : ", replacing"));
      test_support::ShortFolder place;
      WriteFileText(place / "victim", "precious");
      h.make(place.Path());
      EXPECT_EQ(crash::WriteTextFile((place / kName).c_str(), {"report"}, append), h.reason);
      ExpectUntouched(place.Path());
    }
  }
  // A FIFO that someone reads is still no file, and a device is none either.
  test_support::ShortFolder place;
  test_support::MakeFifo(place / kName);
  int reader = ::open((place / kName).c_str(), O_RDONLY | O_NONBLOCK);
  EXPECT_EQ(crash::WriteTextFile((place / kName).c_str(), {"report"}, true), crash::kNotARegularFile);
  char ignored;
  EXPECT_LE(::read(reader, &ignored, 1), 0);
  ::close(reader);
  EXPECT_EQ(crash::WriteTextFile("/dev/null", {"report"}, false), crash::kNotARegularFile);
}

TEST(ReportFileWrite, ARegularFileIsAppendedToOrReplacedAndAMissingOneMade) {
  test_support::ShortFolder place;
  const fs::path file = place / kName;
  EXPECT_EQ(crash::WriteTextFile(file.c_str(), {"one", "two"}, true), 0);
  EXPECT_EQ(crash::WriteTextFile(file.c_str(), {"\r\n", "three"}, true), 0);
  EXPECT_EQ(FileText(file), "onetwo\r\nthree");
  EXPECT_EQ(crash::WriteTextFile(file.c_str(), {"new"}, false), 0);
  EXPECT_EQ(FileText(file), "new");
  EXPECT_EQ(crash::WriteTextFile((place / "no folder" / kName).c_str(), {"x"}, true), ENOENT);
}

TEST(ReportFileProblem, SaysInOneSentenceWhereAndWhy) {
  struct Case {
    std::string name;
    int reason;
    std::string sentence;
  };
  const Case cases[] = {
      {"Faultscribe.log", 0, ""},
      {"Faultscribe.log", ELOOP, "The report could not be written to \"Faultscribe.log\": it is a symbolic link."},
      {"/tmp/r.txt", crash::kNotARegularFile, "The report could not be written to \"/tmp/r.txt\": it is not a regular file."},
      {"Faultscribe.log", EISDIR, "The report could not be written to \"Faultscribe.log\": it is a folder."},
      {"Faultscribe.log", ENOSPC, "The report could not be written to \"Faultscribe.log\": the disk is full."},
      {"Faultscribe.log", EROFS, "The report could not be written to \"Faultscribe.log\": the file system is read-only."},
      {"Faultscribe.log", EACCES, "The report could not be written to \"Faultscribe.log\": permission was denied."},
      {"", ENAMETOOLONG, "The report could not be written to a file: its name is too long."},
      {"Faultscribe.log", EXDEV,
       "The report could not be written to \"Faultscribe.log\": the system reported error 18 (Invalid cross-device link)."},
  };
  for (const Case& c : cases) EXPECT_EQ(crash::ReportFileProblem(c.name, c.reason), c.sentence) << c.reason;
}

// The boxes of a run and its mail, read back.
struct Told {
  std::string firstBox;
  std::string detailsBox;
  std::string mail;  // decoded, all parts together
};

// Runs a null read whose report goes to `dumpFile`, answering Details and then Email Report;
// the mail goes to a recording mail program, and no clipboard tool is there.
Told RunAndAnswer(const std::string& dumpFile, crashtest::FaultRun run = {}) {
  test_support::PrivateDesktop desktop({"mailto"}, MAIL_RECORDER_PATH);
  test_support::ShortFolder noTools;
  run.fault = "nullread";
  run.settings.push_back("DumpFileName=" + dumpFile);
  run.settings.push_back("WindowTitle=Tester");
  run.script = "answer message \"Details\"\nanswer message \"Email Report\"\n";
  run.environment.insert(run.environment.end(), {"PATH=" + noTools.Path().string(), "DISPLAY=:boxwright-test"});
  run.timeout = std::chrono::seconds(30);
  crashtest::FaultOutcome outcome = crashtest::Run(run);
  EXPECT_FALSE(outcome.child.timedOut);
  EXPECT_EQ(crashtest::ExitStatus(outcome), 139) << outcome.child.errors;
  Told told;
  std::vector<std::string> boxes = crashtest::Lines(outcome.transcript, "\n");
  EXPECT_EQ(boxes.size(), 2u) << outcome.transcript;
  if (boxes.size() == 2) {
    told.firstBox = app_test::ParseJson(boxes[0])["message"]["text"].text;
    told.detailsBox = app_test::ParseJson(boxes[1])["message"]["text"].text;
  }
  // The whole report arrives, however many parts it takes: the mail ends with the report's end.
  const std::string reportEnd = told.detailsBox.substr(told.detailsBox.rfind("\r\n") + 2) + "\r\n";
  for (int tries = 0; tries < 100 && !told.mail.ends_with(reportEnd); ++tries) {
    told.mail = mailtest::JoinedMailBody(test_support::PrivateDesktop::WaitForRecords(desktop.Received(), 1));
    if (!told.mail.ends_with(reportEnd)) usleep(100 * 1000);
  }
  return told;
}

// The boxes and the mail say the sentence (when there is one); the details box and the mail
// hold the report. The report, from its program line on, is returned.
std::string ExpectTold(const Told& told, const std::string& sentence) {
  const std::string said = sentence.empty() ? "" : "\r\n\r\n" + sentence;
  const std::string message = "This program has performed an illegal operation and will now end.";
  EXPECT_EQ(told.firstBox, message + said);
  EXPECT_EQ(told.detailsBox.rfind(message + said + "\r\n" + std::string(200, '-') + "\r\nProgram : ", 0), 0u)
      << told.detailsBox;
  std::string report = told.detailsBox.substr(std::min(told.detailsBox.size(), told.detailsBox.find("Program : ")));
  EXPECT_NE(report.find("\r\nReported error : EXCEPTION_ACCESS_VIOLATION"), std::string::npos);
  EXPECT_NE(report.find("\r\nStack Trace\r\n"), std::string::npos);
  EXPECT_EQ(told.mail, (sentence.empty() ? "" : sentence + "\r\n\r\n") + report + "\r\n");
  EXPECT_EQ(told.mail.find("Paste"), std::string::npos);
  return report;
}

TEST(HostileReportFile, NothingElseIsTouchedNothingWaitsAndTheUserIsToldWhy) {
  for (const char* append : {"DumpFileAppend=1", "DumpFileAppend=0"}) {
    for (const Hostile& h : HostileNames()) {
      SCOPED_TRACE(std::string(h.name) + ", " + append);
      test_support::ShortFolder place;
      WriteFileText(place / "victim", "precious");
      h.make(place.Path());
      const std::string name = (place / kName).string();
      Told told = RunAndAnswer(name, {.settings = {append}});
      ExpectUntouched(place.Path());
      ExpectTold(told, crash::ReportFileProblem(name, h.reason));
    }
  }
}

// The program runs on a small file system of its own (small_disk_run).
TEST(HostileReportFile, AFullOrReadOnlyDiskKeepsItsOldReportsAndTheUserIsToldWhy) {
  struct Case {
    const char* mode;
    std::string old;
    const char* reason;
  };
  const Case cases[] = {
      {"full", "old report" + std::string(3990, '.'), "the disk is full"},
      {"read-only", "old report", "the file system is read-only"},
  };
  {
    test_support::ShortFolder disk;
    test_support::ChildRun probe = test_support::RunChild({SMALL_DISK_RUN, disk.Path().string(), "full", "copy", "/bin/true"});
    if (probe.status == 77) GTEST_SKIP() << probe.errors;
    ASSERT_EQ(probe.status, 0) << probe.errors;
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    test_support::ShortFolder disk;
    const fs::path copy = fs::absolute("left on the disk");
    Told told = RunAndAnswer(kName.string(), {.settings = {"DumpFileAppend=1"},
                                              .launcher = {SMALL_DISK_RUN, disk.Path().string(), c.mode, copy.string()},
                                              .report = copy});
    EXPECT_EQ(FileText(copy), c.old);
    ExpectTold(told, "The report could not be written to \"Faultscribe.log\": " + std::string(c.reason) + ".");
  }
}

TEST(NoClipboardTool, EmailReportOnALongReportSendsItInParts) {
  Told told = RunAndAnswer(kName.string());
  std::string report = ExpectTold(told, "");
  std::string file = FileText(kName);
  EXPECT_EQ(report, file.substr(std::min(file.size(), file.find("Program : "))));
  EXPECT_GT(told.mail.size(), 2007u);  // longer than one mail link
}

}  // namespace
