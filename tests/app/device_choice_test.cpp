// The whole program in this process, over MIDI ports the test lists: the stored device
// choice is shown again, and nothing is opened before Connect.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/librarian_program.h"
#include "platform/harness/screen_choice.h"
#include "platform/midi/backend.h"
#include "tests/app/json_value.h"

namespace {

class ListedPorts final : public midi::Backend {
 public:
  void List(std::vector<midi::InputDevice>& inputs, std::vector<midi::OutputDevice>& outputs) override {
    for (const char* name : {"Port A", "Port B", "Port C"}) {
      inputs.push_back({name, [this] {
                          ++opens;
                          return midi::Opened<midi::InputPort>{nullptr, MMSYSERR_ALLOCATED};
                        }});
    }
    outputs.push_back({"Port Out", [this] {
                         ++opens;
                         return midi::Opened<midi::OutputPort>{nullptr, MMSYSERR_ALLOCATED};
                       }});
  }
  int opens = 0;
};

TEST(DeviceChoice, StoredSecondInputIsChosenAndNothingOpens) {
  auto ports = std::make_shared<ListedPorts>();
  midi::InstallBackends({ports});
  std::ofstream("settings.ini") << "[Preserved]\r\nGLO:MIDIInDevice=2\r\n";
  std::ofstream("script.txt") << "dump\n";
  setenv("BOXWRIGHT_SCREEN", "script", 1);
  setenv("BOXWRIGHT_SCRIPT", "script.txt", 1);
  setenv("BOXWRIGHT_TRANSCRIPT", "transcript.jsonl", 1);
  char program[] = "boxwright";
  char* argv[] = {program, nullptr};
  rt::Program librarian = LibrarianProgram();
  librarian.screen = harness::ScreenFromEnvironment({});
  ASSERT_EQ(rt::RunProgram(1, argv, librarian), 0);

  std::ifstream in("transcript.jsonl");
  std::string line;
  ASSERT_TRUE(std::getline(in, line));
  const app_test::Json dump = app_test::ParseJson(line);
  const app_test::Json& inputs = dump["dump"]["Boxwright 1.01"]["INDEVICELIST"];
  EXPECT_EQ(inputs["rows"].items.size(), 3u);
  EXPECT_EQ(inputs["selected"].number, 2);
  EXPECT_EQ(inputs["value"].text, "Port B");
  EXPECT_EQ(dump["dump"]["Boxwright 1.01"]["OUTDEVICELIST"]["selected"].number, 0);
  EXPECT_EQ(ports->opens, 0);
}

}  // namespace
