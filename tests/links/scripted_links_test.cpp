// The demo links window driven as a user does it through the scripted screen: the looks in
// the transcript's dumps, and a click that reaches the desktop's program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/links/demo_links_window.h"
#include "tests/platform/rt/scripted_program.h"
#include "tests/support/private_desktop.h"

namespace {

// The dump of one control, as the transcript writes it: "EQUATE": {...}.
std::string ControlDump(const std::string& line, const std::string& name) {
  size_t at = line.find("\"" + name + "\": {");
  if (at == std::string::npos) return {};
  return line.substr(at, line.find('}', at) - at + 1);
}

std::vector<std::string> Dumps(const std::string& transcript) {
  std::vector<std::string> dumps;
  size_t start = 0;
  for (size_t end; (end = transcript.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = transcript.substr(start, end - start);
    if (line.find("\"dump\"") != std::string::npos) dumps.push_back(line);
  }
  return dumps;
}

TEST(ScriptedLinks, HoverLeaveClickAndMovedColumns) {
  test_support::PrivateDesktop desktop({"x-scheme-handler/http", "mailto"});
  const std::string transcript = platform_test::RunScriptedProgram(R"(hover WEBLINK
dump
leave
dump
hover PEOPLE 2 3
dump
movecolumn PEOPLE 4 3
hover PEOPLE 2 4
dump
click 2801
)", links_demo::DemoLinksMain, {rt::Kind::String, rt::Kind::SString, rt::Kind::Prompt, rt::Kind::Entry,
                                 rt::Kind::Combo, rt::Kind::List, rt::Kind::Button, rt::Kind::Text, rt::Kind::Region});
  auto dumps = Dumps(transcript);
  ASSERT_EQ(dumps.size(), 4u) << transcript;
  EXPECT_NE(ControlDump(dumps[0], "WEBLINK").find("\"fontColor\": 255"), std::string::npos) << dumps[0];
  EXPECT_NE(ControlDump(dumps[1], "WEBLINK").find("\"fontColor\": 16711680"), std::string::npos) << dumps[1];
  EXPECT_NE(ControlDump(dumps[1], "2801").find("\"cursor\": \"hand\""), std::string::npos) << dumps[1];
  EXPECT_NE(dumps[2].find("\"cellStyles\": [[2, 3, 3]]"), std::string::npos) << dumps[2];
  // The mail column, dragged behind the site column, is still the link with its styles.
  EXPECT_NE(dumps[3].find("\"columnOrder\": [1, 2, 4, 3]"), std::string::npos) << dumps[3];
  EXPECT_NE(dumps[3].find("\"cellStyles\": [[2, 4, 3]]"), std::string::npos) << dumps[3];
  EXPECT_EQ(desktop.WaitForArguments(), std::vector<std::string>{"http://www.example.org"});
}

}  // namespace
