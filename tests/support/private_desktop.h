#pragma once
// A desktop of the test's own: XDG folders in the test's working folder, with
// "mimeapps.list" naming a recording handler (arg_recorder) for the types and schemes a test
// asks for. Nothing else is set up to open anything, so a test never starts a real browser or
// mail program. Make it before the first look-up of an association in the process: the
// desktop's folders are read once.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace test_support {

class PrivateDesktop {
 public:
  // `handled`: MIME types ("text/html") and URL schemes ("mailto") that the recorder opens.
  // `recorder`: the recording program, started as "<recorder> <Received()> <URL or file>".
  explicit PrivateDesktop(const std::vector<std::string>& handled, std::string recorder = ARG_RECORDER_PATH)
      : root_(std::filesystem::current_path() / "desktop"), recorder_(std::move(recorder)) {
    namespace fs = std::filesystem;
    fs::remove_all(root_);
    fs::create_directories(root_ / "config");
    fs::create_directories(root_ / "config-dirs");
    fs::create_directories(root_ / "data" / "applications");
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", (root_ / "config-dirs").c_str(), 1);
    setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    // The system's shared folder stays listed: without it the desktop knows no file types.
    setenv("XDG_DATA_DIRS", ((root_ / "data").string() + ":/usr/share").c_str(), 1);

    std::string types;
    std::ofstream list(root_ / "config" / "mimeapps.list");
    list << "[Default Applications]\n";
    for (const auto& name : handled) {
      std::string type = name.find('/') == std::string::npos ? "x-scheme-handler/" + name : name;
      list << type << "=boxwright-recorder.desktop\n";
      types += type + ";";
    }
    std::ofstream entry(root_ / "data" / "applications" / "boxwright-recorder.desktop");
    entry << "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" << Command() << "\nMimeType=" << types
          << "\nNoDisplay=true\n";
  }

  // The handler's command line, as the desktop reports it.
  std::string Command() const { return recorder_ + " " + Received().string() + " %u"; }

  std::filesystem::path Received() const { return root_ / "received"; }

  // The arguments the handler received (after its output file), waiting up to 10 seconds for
  // it to run; empty when it never ran.
  std::vector<std::string> WaitForArguments() const {
    WaitForFile(Received());
    return ArgumentsIn(Received());
  }

  // Waits up to 10 seconds for a recorder's file to appear.
  static void WaitForFile(const std::filesystem::path& file) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!std::filesystem::exists(file) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  // The arguments a recorder wrote into `file`.
  static std::vector<std::string> ArgumentsIn(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<std::string> arguments;
    std::string all = text.str();
    for (size_t start = 0; start < all.size();) {
      size_t end = all.find('\0', start);
      if (end == std::string::npos) break;
      arguments.push_back(all.substr(start, end - start));
      start = end + 1;
    }
    return arguments;
  }

  // Forgets what the handler received, for a second run in one test.
  void Clear() const { std::filesystem::remove(Received()); }

  // A clipboard of the desktop's own: an "xclip" first on PATH that keeps what it is given in
  // Clipboard(), and a display so that it is chosen. The user's clipboard is never touched.
  void RecordClipboard() const {
    namespace fs = std::filesystem;
    fs::create_directories(root_ / "bin");
    {
      std::ofstream helper(root_ / "bin" / "xclip");
      helper << "#!/bin/sh\n/bin/cat > '" << Clipboard().string() << "'\n";
    }
    fs::permissions(root_ / "bin" / "xclip", fs::perms::owner_all);
    setenv("PATH", ((root_ / "bin").string() + ":" + std::getenv("PATH")).c_str(), 1);
    setenv("DISPLAY", ":boxwright-test", 1);
    unsetenv("WAYLAND_DISPLAY");
  }
  std::filesystem::path Clipboard() const { return root_ / "clipboard"; }

 private:
  std::filesystem::path root_;
  std::string recorder_;
};

}  // namespace test_support
