#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/rt/critical_section.h"
#include "platform/rt/module.h"
#include "platform/rt/thread.h"

namespace {

std::mutex gLogLock;
std::vector<std::string> gLog;
void Log(std::string line) {
  std::lock_guard guard(gLogLock);
  gLog.push_back(std::move(line));
}

thread_local int tStarts = 0;

TEST(Program, ModulesStartInOrderThreadsStartAfterAllAndEverythingEndsInReverse) {
  gLog.clear();
  rt::Program program;
  program.modules = {
      {"app", [] { Log("start app"); }, [] { Log("stop app"); }, [] { Log("thread app"); }, [] { Log("end app"); }},
      {"toolkit", [] { Log("start toolkit"); }, [] { Log("stop toolkit"); }, [] { ++tStarts; Log("thread toolkit"); },
       [] { Log("end toolkit"); }},
  };
  program.main = [] {
    Log("main");
    AttachThreadToRuntime(1);  // idempotent: no second round of hooks
    std::thread([] {
      AttachThreadToRuntime(1);
      AttachThreadToRuntime(1);
      Log("worker " + std::to_string(tStarts));
    }).join();
  };
  char arg0[] = "prog";
  char* argv[] = {arg0};
  EXPECT_EQ(rt::RunProgram(1, argv, program), 0);
  EXPECT_EQ(gLog, (std::vector<std::string>{"start app", "start toolkit", "thread app", "thread toolkit", "main",
                                            "thread app", "thread toolkit", "worker 1", "end toolkit", "end app",
                                            "end toolkit", "end app", "stop toolkit", "stop app"}));
}

TEST(Threads, NumbersDifferAndStayTheSame) {
  LONG mine = THREAD();
  EXPECT_EQ(THREAD(), mine);
  LONG other = 0;
  std::thread([&] { other = THREAD(); }).join();
  EXPECT_NE(other, mine);
  EXPECT_GT(other, 0);
}

TEST(CriticalSectionLock, SameThreadTakesItAgainOthersWait) {
  CriticalSection lock;
  lock.Wait();
  lock.Wait();
  bool taken = false;
  std::thread other([&] {
    lock.Wait();
    taken = true;
    lock.Release();
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  lock.Release();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(taken);  // still held once
  lock.Release();
  other.join();
  EXPECT_TRUE(taken);
}

}  // namespace
