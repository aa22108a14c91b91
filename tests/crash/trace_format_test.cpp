// The trace as the reporter writes it from a walk: a walk of our own making stands in for the
// debug-help library, over a stack of our own making (pages that end at a guard page, as a
// stack ends), so every way a walk can end is met.
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <string>
#include <vector>

#include "crash/faultscribe.h"
#include "platform/win/modules/debug_help.h"

namespace {

[[gnu::noinline]] int Caller(int value) { return value * 5 + 2; }

// The walk's frames, given one a call; a fresh frame starts the walk again.
std::vector<STACKFRAME64> gWalk;
std::size_t gNext = 0;

BOOL ScriptedWalk(DWORD, HANDLE, HANDLE, STACKFRAME64* frame, void*, PREAD_PROCESS_MEMORY_ROUTINE64,
                  PFUNCTION_TABLE_ACCESS_ROUTINE64, PGET_MODULE_BASE_ROUTINE64, PTRANSLATE_ADDRESS_ROUTINE64) {
  if (frame->Reserved[0] == 0) gNext = 0;
  if (gNext == gWalk.size()) return FALSE;
  *frame = gWalk[gNext++];
  frame->Reserved[0] = 1;
  return TRUE;
}
void* NoTables(HANDLE, DWORD64) { return nullptr; }
DWORD64 NoBase(HANDLE, DWORD64) { return 0; }

std::vector<LONG> gProgress;
void Progress(LONG levelsDone) { gProgress.push_back(levelsDone); }

class Trace : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_[0] = vrGPF::StackWalk64_Cell.exchange(reinterpret_cast<std::uintptr_t>(&ScriptedWalk));
    saved_[1] = vrGPF::SymFunctionTableAccess64_Cell.exchange(reinterpret_cast<std::uintptr_t>(&NoTables));
    saved_[2] = vrGPF::SymGetModuleBase64_Cell.exchange(reinterpret_cast<std::uintptr_t>(&NoBase));
    reporter_._InitReportText();
    reporter_.LevelProgress = Progress;
    gProgress.clear();
    gWalk.clear();
    void* pages = mmap(nullptr, kStackBytes + 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(pages, MAP_FAILED);
    mprotect(static_cast<char*>(pages) + kStackBytes, 4096, PROT_NONE);
    stack_ = static_cast<std::uint64_t*>(pages);
    for (std::size_t i = 0; i < kStackBytes / 8; ++i) stack_[i] = 0x10;  // no address of any module
  }
  void TearDown() override {
    munmap(stack_, kStackBytes + 4096);
    vrGPF::StackWalk64_Cell.store(saved_[0]);
    vrGPF::SymFunctionTableAccess64_Cell.store(saved_[1]);
    vrGPF::SymGetModuleBase64_Cell.store(saved_[2]);
  }

  // A return address into Caller, as a call inside it leaves on the stack.
  static std::uint64_t IntoCaller() { return reinterpret_cast<std::uint64_t>(&Caller) + 4; }
  ULONG_PTR At(std::size_t word) { return reinterpret_cast<ULONG_PTR>(&stack_[word]); }
  // A frame whose saved frame pointer's slot is stack word `end` (its return address the next).
  void AddFrame(std::uint64_t pc, std::size_t end) {
    STACKFRAME64 frame{};
    frame.AddrPC = {pc, 0, AddrModeFlat};
    frame.AddrFrame = {end == kNoFrame ? 0 : At(end), 0, AddrModeFlat};
    gWalk.push_back(frame);
  }
  std::string Walked() {
    CONTEXT context{};
    context.Rsp = At(0);
    context.Rip = IntoCaller();
    EXCEPTION_RECORD record{};
    EXCEPTION_POINTERS pointers{&record, &context};
    crash::ReportText trace;
    reporter_._StackDetails(&pointers, reinterpret_cast<ULONG_PTR>(GetCurrentProcess()), trace);
    return std::string(trace.View());
  }
  static std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }

  static constexpr std::size_t kNoFrame = ~std::size_t{0};
  static constexpr std::size_t kStackBytes = 8192;
  FaultscribeClass reporter_;
  std::uint64_t* stack_ = nullptr;
  std::uintptr_t saved_[3];
};

TEST_F(Trace, EachLevelNamesItsProcedureAndIsToldAsItIsDone) {
  reporter_.WaitWindowOpen = 1;
  for (std::size_t level = 0; level < 4; ++level) AddFrame(IntoCaller(), 4 * level + 2);
  std::string trace = Walked();
  EXPECT_EQ(trace.rfind("\r\nStack Trace", 0), 0u) << trace;
  for (const char* level : {"[01] ", "[02] ", "[03] "}) {
    auto at = trace.find(level);
    ASSERT_NE(at, std::string::npos) << trace;
    EXPECT_NE(trace.find("Proc=(anonymous namespace)::Caller", at), std::string::npos) << trace;
  }
  EXPECT_EQ(trace.find("[04]"), std::string::npos);
  EXPECT_EQ(gProgress, (std::vector<LONG>{1, 2, 3, 4}));

  gProgress.clear();
  reporter_.WaitWindowOpen = 0;  // nobody shows the count
  Walked();
  EXPECT_TRUE(gProgress.empty());
}

TEST_F(Trace, AWalkEndsAtThirtyOneLevelsOrAtAFrameOfZero) {
  for (std::size_t level = 0; level < 40; ++level) AddFrame(IntoCaller(), 4 * level + 2);
  std::string trace = Walked();
  EXPECT_NE(trace.find("[30] "), std::string::npos) << trace;
  EXPECT_EQ(trace.find("[31] "), std::string::npos) << trace;
  EXPECT_TRUE(trace.ends_with("\r\nStack Trace stopped, too many levels")) << trace;

  gWalk.resize(3);
  AddFrame(IntoCaller(), kNoFrame);
  trace = Walked();
  EXPECT_NE(trace.find("[02] "), std::string::npos) << trace;
  EXPECT_TRUE(trace.ends_with("\r\n*** Error Stack corrupt ***")) << trace;
}

// A walk that cannot leave the fault's own frame: the scan of the stack above it stands in for
// the walk, and names what return addresses it finds there, as many as 31 levels would be.
TEST_F(Trace, AWalkStuckAtTheFaultScansTheStackAboveIt) {
  AddFrame(0, 1);
  stack_[10] = IntoCaller();
  stack_[20] = IntoCaller();
  std::string trace = Walked();
  EXPECT_EQ(Count(trace, "\r\n??? "), 2u) << trace;
  EXPECT_NE(trace.find("Proc=(anonymous namespace)::Caller"), std::string::npos) << trace;
  EXPECT_EQ(trace.find("stopped"), std::string::npos) << trace;

  for (std::size_t word = 0; word < 40; ++word) stack_[100 + word] = IntoCaller();
  trace = Walked();
  EXPECT_EQ(Count(trace, "\r\n??? "), 31u) << trace;
  EXPECT_TRUE(trace.ends_with("\r\nStack Trace stopped, too many levels")) << trace;

  gWalk.clear();  // no frame at all
  EXPECT_EQ(Count(Walked(), "\r\n??? "), 31u);
}

// The trace asks the reporter's own operations, so a derived reporter's take effect.
TEST_F(Trace, ADerivedReportersSymbolsAreTheTracesSymbols) {
  struct Renaming : FaultscribeClass {
    crash::SymbolText _GetSymbol(ULONG_PTR, BYTE) override { return crash::SymbolText("named by the override"); }
  } renaming;
  renaming._InitReportText();
  for (std::size_t level = 0; level < 2; ++level) AddFrame(IntoCaller(), 4 * level + 2);
  CONTEXT context{};
  context.Rsp = At(0);
  EXCEPTION_RECORD record{};
  EXCEPTION_POINTERS pointers{&record, &context};
  crash::ReportText trace;
  renaming._StackDetails(&pointers, 0, trace);
  EXPECT_NE(std::string(trace.View()).find("[01] "), std::string::npos);
  EXPECT_NE(std::string(trace.View()).find("h \tnamed by the override"), std::string::npos) << trace.View();
}

}  // namespace
