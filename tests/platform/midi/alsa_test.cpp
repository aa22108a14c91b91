#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/midi/alsa/alsa_backend.h"
#include "platform/midi/midi_in.h"
#include "platform/midi/midi_out.h"
#include "tests/platform/test_files.h"

namespace {

// Everything written to stderr while `body` runs.
template <typename Body>
std::string StderrOf(Body body) {
  std::fflush(stderr);
  auto path = std::filesystem::current_path() / "alsa-stderr.txt";
  int saved = dup(STDERR_FILENO);
  int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  dup2(file, STDERR_FILENO);
  close(file);
  body();
  std::fflush(stderr);
  dup2(saved, STDERR_FILENO);
  close(saved);
  return platform_test::FileText(path);
}

TEST(AlsaPorts, WithoutSoundDevicesThereAreNoPortsAndNoNoise) {
  if (std::filesystem::exists("/dev/snd")) GTEST_SKIP() << "this machine has sound devices";
  unsetenv("BOXWRIGHT_SIMULATOR");
  std::string noise = StderrOf([] {
    std::vector<midi::InputDevice> inputs;
    std::vector<midi::OutputDevice> outputs;
    midi::AlsaBackend().List(inputs, outputs);
    EXPECT_TRUE(inputs.empty());
    EXPECT_TRUE(outputs.empty());
    EXPECT_EQ(midiInGetNumDevs(), 0u);
    EXPECT_EQ(midiOutGetNumDevs(), 0u);
    HMIDIIN in = nullptr;
    EXPECT_EQ(midiInOpen(&in, 0, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
  });
  EXPECT_EQ(noise, "");
}

TEST(AlsaPorts, OpeningAPortThatIsNotThereFailsQuietly) {
  std::string noise = StderrOf([] {
    auto in = midi::OpenRawMidiInput("hw:31,0,0");
    EXPECT_EQ(in.port, nullptr);
    EXPECT_NE(in.error, MMSYSERR_NOERROR);
    auto out = midi::OpenRawMidiOutput("no-such-port");
    EXPECT_EQ(out.port, nullptr);
    EXPECT_NE(out.error, MMSYSERR_NOERROR);
  });
  EXPECT_EQ(noise, "");
}

}  // namespace
