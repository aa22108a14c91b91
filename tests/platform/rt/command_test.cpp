#include <gtest/gtest.h>

#include "platform/rt/command.h"

namespace {

struct CommandCase {
  const char* ask;
  const char* answer;
};

TEST(Command, AnswersFromTheSavedArguments) {
  rt::SetCommandLine({"/opt/boxwright/boxwright", "/debugWinAlert", "DebugOutputFile=/tmp/x.log", "/LBdbg", "-XPCheck"});
  const CommandCase cases[] = {
      {"/debugWinAlert", "/debugWinAlert"},
      {"/DEBUGWINALERT", "/debugWinAlert"},  // switches ignore case
      {"/debug", ""},                        // whole switches only
      {"/LBdbg", "/LBdbg"},
      {"/LBdbgReg", ""},
      {"/XPCheck", "-XPCheck"},
      {"DebugOutputFile", "/tmp/x.log"},
      {"debugoutputfile", "/tmp/x.log"},
      {"Missing", ""},
      {"0", "/opt/boxwright/boxwright"},
      {"", "/debugWinAlert DebugOutputFile=/tmp/x.log /LBdbg -XPCheck"},
  };
  for (const auto& c : cases) EXPECT_EQ(COMMAND(c.ask), c.answer) << c.ask;
}

TEST(Command, EmptyCommandLineAnswersEmpty) {
  rt::SetCommandLine({});
  EXPECT_EQ(COMMAND("0"), "");
  EXPECT_EQ(COMMAND(""), "");
  EXPECT_EQ(COMMAND("/debug"), "");
}

TEST(Command, KeyWithEmptyValueAndSwitchWithEquals) {
  rt::SetCommandLine({"prog", "Key=", "/debug=1"});
  EXPECT_EQ(COMMAND("Key"), "");
  EXPECT_EQ(COMMAND("/debug"), "");  // "/debug=1" is not the switch "/debug"
}

}  // namespace
