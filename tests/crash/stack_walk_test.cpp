// The reporter's look-up and stack walk in this test program, and in a program that faults.
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "crash/records/debug_directory.h"
#include "crash/faultscribe.h"
#include "crash/present/presenter.h"
#include "platform/rt/clock.h"
#include "platform/harness/scripted_screen.h"
#include "tests/crash/program_line.h"
#include "tests/support/child_program.h"
#include "tests/support/file_text.h"
#include "tests/support/own_path.h"
#include "tests/support/short_folder.h"

namespace {

namespace fs = std::filesystem;

[[gnu::noinline]] int KnownProcedure(int value) {
  return value * 3 + 1;
}

// Overrides of the same code, reached through their table only: an optimised build that folds
// identical code would give both one address, and a report one name for both.
struct Twins {
  virtual ~Twins() = default;
  virtual int Take(int value) const = 0;
};
struct FirstTwin final : Twins {
  int Take(int value) const override { return value * 3 + 1; }
};
struct SecondTwin final : Twins {
  int Take(int value) const override { return value * 3 + 1; }
};

// The code an object's virtual procedure runs: its entry in the object's table.
const void* CodeOfTake(const Twins& twin) {
  using Slot = const void*;
  const Slot* table = *reinterpret_cast<const Slot* const*>(&twin);
  return table[2];  // after the two destructors
}

using test_support::OwnPath;

using test_support::FileText;

// The reporter as a program sets it up, without installing it.
class Reporter : public ::testing::Test {
 protected:
  void SetUp() override {
    reporter_.FileName = OwnPath();
    reporter_._InitReportText();
  }
  std::string Symbol(const void* address) {
    return std::string(reporter_._GetSymbol(reinterpret_cast<ULONG_PTR>(address), 0).View());
  }
  FaultscribeClass reporter_;
};

TEST_F(Reporter, ProceduresOfTheSameCodeKeepTheirOwnNames) {
  const FirstTwin first;
  const SecondTwin second;
  EXPECT_EQ(first.Take(2), second.Take(2));
  ASSERT_NE(CodeOfTake(first), CodeOfTake(second));
  EXPECT_NE(Symbol(CodeOfTake(first)).find("Proc=(anonymous namespace)::FirstTwin::Take"), std::string::npos);
  EXPECT_NE(Symbol(CodeOfTake(second)).find("Proc=(anonymous namespace)::SecondTwin::Take"), std::string::npos)
      << Symbol(CodeOfTake(second));
}

TEST_F(Reporter, AddressesInTheProgramInALibraryAndNowhere) {
  std::string own = Symbol(reinterpret_cast<const void*>(&KnownProcedure));
  EXPECT_NE(own.find("Line="), std::string::npos) << own;
  EXPECT_NE(own.find("Proc=(anonymous namespace)::KnownProcedure"), std::string::npos) << own;
  EXPECT_NE(own.find("Src=tests/crash/stack_walk_test.cpp"), std::string::npos) << own;
  EXPECT_EQ(own.find("Module="), std::string::npos) << "the program's own frames name no module: " << own;

  // A system library carries no records: its path (and its version, where it has one).
  Dl_info library{};
  ASSERT_NE(dladdr(dlsym(RTLD_DEFAULT, "cos"), &library), 0);
  std::string foreign = Symbol(dlsym(RTLD_DEFAULT, "cos"));
  EXPECT_EQ(foreign.find("no debug info, Module="), 0u) << foreign;
  EXPECT_NE(foreign.find(fs::path(library.dli_fname).filename().string()), std::string::npos) << foreign;

  int onTheStack = 0;
  EXPECT_EQ(Symbol(&onTheStack), "no module");

  // In a trace the items line up on tab stops.
  std::string traced(reporter_._GetSymbol(reinterpret_cast<ULONG_PTR>(&KnownProcedure), 1).View());
  EXPECT_NE(traced.find(" \t"), std::string::npos) << traced;
  EXPECT_GT(KnownProcedure(1), 0);
}

// A module whose path names another program's file (one put there while this one runs):
// that file's records belong to another image, and its names are never given.
TEST(SymbolLookUp, AFileThatIsNotTheLoadedImageLendsNoNames) {
  struct ElsewhereReporter : FaultscribeClass {
    crash::PathText _GetModuleName(LONG_PTR) override { return crash::PathText(OTHER_PROGRAM); }
  } reporter;
  reporter._InitReportText();
  // The symbol text keeps what fits its place of the path.
  crash::SymbolText expected("no debug info, Module=");
  expected.Append(OTHER_PROGRAM);
  EXPECT_EQ(reporter._GetSymbol(reinterpret_cast<ULONG_PTR>(&KnownProcedure), 0).View(), expected.View());
}

// A library's text goes on with where in the library the address lies, its file's offset first.
TEST_F(Reporter, ALibraryLevelSaysWhereInTheLibraryTheAddressLies) {
  const std::string library(reporter_._GetSymbol(reinterpret_cast<ULONG_PTR>(dlsym(RTLD_DEFAULT, "cos")), 0).View());
  EXPECT_TRUE(library.starts_with("no debug info, Module=/")) << library;
  const std::size_t offset = library.find(" Offset=");
  ASSERT_NE(offset, std::string::npos) << library;
  EXPECT_GT(library.find(" Symbol=", offset), offset) << library;
}

TEST_F(Reporter, BothRoadsToTheModuleOfAnAddressAgree) {
  auto code = reinterpret_cast<ULONG_PTR>(&KnownProcedure);
  int onTheStack = 0;
  LONG_PTR bound = reporter_._GetModuleHandle(code);
  ASSERT_NE(bound, 0);
  EXPECT_EQ(reporter_._GetModuleHandle(reinterpret_cast<ULONG_PTR>(&onTheStack)), 0);
  // Without GetModuleHandleExA the region of the address tells it; data is no module's code.
  vrGPF::GetModuleHandleExA_Cell.store(KX_CELL_FAILED);
  EXPECT_EQ(reporter_._GetModuleHandle(code), bound);
  EXPECT_EQ(reporter_._GetModuleHandle(reinterpret_cast<ULONG_PTR>(&onTheStack)), 0);
  EXPECT_EQ(std::string(reporter_._GetModuleName(bound).View()), OwnPath());
  vrGPF::GetModuleHandleExA_Cell.store(KX_CELL_UNTRIED);
}

TEST_F(Reporter, BlocksAreReadWholeOrNotAtAll) {
  std::ofstream("blocks.bin", std::ios::binary) << "0123456789";
  char block[5] = {'-', '-', '-', '-', '-'};
  reporter_._ReadBlockFromFile(2, 4, "blocks.bin", block);
  EXPECT_EQ(std::string(block, 5), "2345-");
  reporter_._ReadBlockFromFile(8, 4, "blocks.bin", block);  // beyond the end
  EXPECT_EQ(std::string(block, 5), "2345-");
  reporter_._ReadBlockFromFile(0, 4, "no-such-file", block);
  EXPECT_EQ(std::string(block, 5), "2345-");
}

TEST_F(Reporter, TheLookUpWindowEvaluatesTheEntry) {
  char address[32];
  std::snprintf(address, sizeof address, "0%lXh + 0", reinterpret_cast<unsigned long>(&KnownProcedure));
  const std::string transcriptFile = "lookup.jsonl";
  auto previousClock = rt::CurrentClock();
  rt::UseScreen(std::make_unique<harness::ScriptedScreen>(
      std::make_unique<std::istringstream>(std::string("set LOC:ADDRESS \"") + address +
                                           "\"\npress LOOKUPBUTTON\ndump\nset LOC:ADDRESS \"12ab\"\n"
                                           "press LOOKUPBUTTON\ndump\npress CLOSEBUTTON\n"),
      std::make_unique<std::ofstream>(transcriptFile)));
  crash::CrashModule().start();
  reporter_.LookupAddress();
  rt::UseScreen(nullptr);
  rt::UseClock(previousClock);
  std::string transcript = FileText(transcriptFile);
  EXPECT_NE(transcript.find("Lookup Address Utility"), std::string::npos) << transcript;
  auto found = transcript.find("Proc=(anonymous namespace)::KnownProcedure");
  ASSERT_NE(found, std::string::npos) << transcript;
  EXPECT_NE(transcript.find("no module", found), std::string::npos) << "an expression that is no number";
}

// The fault's procedure and its callers, in order, each with its source file and line.
void ExpectTheCallersInOrder(const std::string& text) {
  ASSERT_FALSE(text.empty()) << "no report was written";
  const std::string source = "Src=tests/crash/stack_fault_program.cpp";
  auto fault = text.find("Proc=(anonymous namespace)::Inner");
  ASSERT_NE(fault, std::string::npos) << text;
  EXPECT_NE(text.find(source, fault), std::string::npos) << text;
  std::size_t at = fault;
  for (const char* caller : {"[01]", "(anonymous namespace)::Middle", "[02]", "(anonymous namespace)::Outer"}) {
    at = text.find(caller, at);
    ASSERT_NE(at, std::string::npos) << caller << " after the fault, in order:\n" << text;
  }
  std::size_t level1 = text.find("[01]");
  std::string line1 = text.substr(level1, text.find('\r', level1) - level1);
  EXPECT_NE(line1.find("Line="), std::string::npos) << line1;
  EXPECT_NE(line1.find(source), std::string::npos) << line1;
  EXPECT_EQ(text.find("Stack Trace stopped"), std::string::npos);
}

// The report is written to a short folder: its place holds any path, but the test's need not
// grow with the checkout's.
TEST(StackTrace, AFaultThreeCallsDeepNamesItsCallersInOrder) {
  test_support::ShortFolder folder;
  const std::string report = folder / "report.txt";
  test_support::RunChild({STACK_FAULT_PROGRAM, report});
  ExpectTheCallersInOrder(FileText(report));
}

// Copies as strip, packaging and a deep folder leave the program: the records travel in the
// file, wherever tools move them, and a long path is a path like any other.
TEST(StackTrace, ACopyOfTheProgramNamesItsProcedures) {
  test_support::ShortFolder folder;
  const fs::path deep = folder / std::string(120, 'd') / std::string(120, 'e');
  fs::create_directories(deep);
  struct Copy {
    const char* name;
    std::vector<std::string> command;  // makes `copy` from the program; empty: a plain copy
    fs::path copy;
  };
  const std::vector<Copy> copies = {
      {"stripped", {STRIP, "-o", folder / "stripped", STACK_FAULT_PROGRAM}, folder / "stripped"},
      {"packaged", {STRIP, "--remove-section=.comment", "--remove-section=.note", "-o", folder / "packaged",
                    STACK_FAULT_PROGRAM}, folder / "packaged"},
      {"without its debug information", {OBJCOPY, "--strip-debug", STACK_FAULT_PROGRAM, folder / "plain"},
       folder / "plain"},
      {"in a deep folder", {}, deep / std::string(300 - deep.string().size() - 1, 'p')},
  };
  for (const Copy& c : copies) {
    SCOPED_TRACE(c.name);
    if (c.command.empty()) {
      fs::copy_file(STACK_FAULT_PROGRAM, c.copy);
    } else {
      ASSERT_EQ(test_support::RunChild(c.command).status, 0);
    }
    const std::string report = folder / "report.txt";
    fs::remove(report);
    test_support::RunChild({c.copy, report});
    const std::string text = FileText(report);
    ExpectTheCallersInOrder(text);
    EXPECT_NE(text.find(crashtest::ProgramLine(c.copy.string())), std::string::npos) << text;
  }
}

// What becomes of the program's file while it runs (an upgrade puts another program there)
// changes nothing: its records are read from the running image's own file, never another's,
// and nothing standing at its path can hold the report up.
TEST(StackTrace, TheRecordsReadAreTheRunningImagesWhateverBecomesOfItsFile) {
  struct Change {
    const char* name;
    std::function<void(const fs::path& program)> make;
  };
  const std::vector<Change> changes = {
      {"replaced by another program",
       [](const fs::path& program) {
         fs::copy_file(OTHER_PROGRAM, program.string() + ".new");
         fs::rename(program.string() + ".new", program);
       }},
      {"deleted", [](const fs::path& program) { fs::remove(program); }},
      {"a FIFO in its place",
       [](const fs::path& program) {
         fs::remove(program);
         ASSERT_EQ(mkfifo(program.c_str(), 0600), 0);
       }},
  };
  for (const Change& change : changes) {
    SCOPED_TRACE(change.name);
    test_support::ShortFolder folder;
    const fs::path program = folder / "faulter";
    fs::copy_file(STACK_FAULT_PROGRAM, program);
    const std::string report = folder / "report.txt";
    test_support::ChildRun run;
    std::thread faulter([&] {
      run = test_support::RunChild({program, report, "wait=" + folder.Path().string()},
                                   {.timeout = std::chrono::seconds(60)});
    });
    for (int i = 0; i < 1000 && !fs::exists(folder / "ready"); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    change.make(program);
    test_support::WriteFileText(folder / "go", "");
    faulter.join();
    EXPECT_FALSE(run.timedOut);
    ExpectTheCallersInOrder(FileText(report));
  }
}

TEST(StackTrace, AProgramWhoseRecordsAreDamagedStillReports) {
  test_support::ShortFolder folder;
  const std::string copy = folder / "damaged_program";
  fs::copy_file(STACK_FAULT_PROGRAM, copy, fs::copy_options::overwrite_existing);
  {
    crash::RecordFile file;
    ASSERT_TRUE(file.Open(copy.c_str()));
    crash::DebugDirectory directory;
    ASSERT_TRUE(crash::FindDebugDirectory(file, directory, nullptr));
    std::fstream damage(copy, std::ios::in | std::ios::out | std::ios::binary);
    damage.seekp(directory.offset);
    damage.write("XXXX", 4);
  }
  const std::string report = folder / "report.txt";
  test_support::RunChild({copy, report});
  std::string text = FileText(report);
  ASSERT_FALSE(text.empty()) << "no report was written";
  EXPECT_NE(text.find("no debug info, Module=" + copy), std::string::npos) << text;
  EXPECT_NE(text.find("Stack Trace"), std::string::npos) << text;
}

TEST(StackTrace, WithDetailsTheScansShowEveryWord) {
  test_support::ShortFolder folder;
  const std::string report = folder / "report.txt";
  test_support::RunChild({STACK_FAULT_PROGRAM, report, "details"});
  std::string text = FileText(report);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.find("Stack Dump"), std::string::npos) << text;
  EXPECT_NE(text.find("h EBP"), std::string::npos) << text;
  auto ret = text.find("h RET (anonymous namespace)::Middle");
  if (ret == std::string::npos) ret = text.find("h RET Line=");
  EXPECT_NE(ret, std::string::npos) << text;
}

}  // namespace
