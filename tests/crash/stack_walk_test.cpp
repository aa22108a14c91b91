// The reporter's look-up and stack walk in this test program, and in a program that faults.
#include <dlfcn.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "crash/debug_directory.h"
#include "crash/faultscribe.h"
#include "crash/lookup_address_window.h"
#include "crash/presenter.h"
#include "platform/rt/clock.h"
#include "platform/rt/scripted_screen.h"
#include "tests/support/child_program.h"
#include "tests/support/file_text.h"
#include "tests/support/short_folder.h"

namespace {

namespace fs = std::filesystem;

[[gnu::noinline]] int KnownProcedure(int value) {
  return value * 3 + 1;
}

std::string OwnPath() {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path);
  return std::string(path, n > 0 ? n : 0);
}

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
  rt::UseScreen(std::make_unique<rt::ScriptedScreen>(
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

// The report's own path has a place of 260 characters: a short one, wherever the checkout lies.
TEST(StackTrace, AFaultThreeCallsDeepNamesItsCallersInOrder) {
  test_support::ShortFolder folder;
  const std::string report = folder / "report.txt";
  test_support::RunChild({STACK_FAULT_PROGRAM, report});
  std::string text = FileText(report);
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
  // Each trace line names its source file and a line number.
  std::size_t level1 = text.find("[01]");
  std::string line1 = text.substr(level1, text.find('\r', level1) - level1);
  EXPECT_NE(line1.find("Line="), std::string::npos) << line1;
  EXPECT_NE(line1.find(source), std::string::npos) << line1;
  EXPECT_EQ(text.find("Stack Trace stopped"), std::string::npos);
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
