#include "tests/support/private_desktop.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "tests/support/file_text.h"

namespace test_support {
namespace fs = std::filesystem;
namespace {

// The folder of every desktop of this process, made on first use and removed at its end.
const fs::path& DesktopFolder() {
  static ShortFolder folder;
  return folder.Path();
}

// What a desktop leaves for the next one to replace.
void RemoveHandlers(const fs::path& folder) {
  std::error_code ignored;
  for (const char* name : {"rec", "received", "clipboard", "bin"}) fs::remove_all(folder / name, ignored);
  fs::remove(folder / "config" / "mimeapps.list", ignored);
  fs::remove(folder / "data" / "applications" / "boxwright-recorder.desktop", ignored);
}

}  // namespace

PrivateDesktop::PrivateDesktop(const std::vector<std::string>& handled, const std::string& recorder,
                               DesktopHandler handler)
    : folder_(DesktopFolder()), fieldCode_(std::move(handler.fieldCode)) {
  PadCommandTo(handler.commandLength);
  RemoveHandlers(folder_);
  fs::create_directories(folder_ / "home");
  fs::create_directories(folder_ / "config");
  fs::create_directories(folder_ / "config-dirs");
  fs::create_directories(folder_ / "cache");
  fs::create_directories(folder_ / "data" / "applications");
  fs::create_directories(folder_ / "runtime");
  fs::permissions(folder_ / "runtime", fs::perms::owner_all, fs::perm_options::replace);
  fs::create_directories(folder_ / "system");
  if (!fs::is_symlink(folder_ / "system" / "mime")) fs::create_symlink("/usr/share/mime", folder_ / "system" / "mime");
  // A short name for the recorder, however deep the build folder lies.
  fs::create_symlink(recorder, folder_ / "rec");

  Set("HOME", (folder_ / "home").string());
  Set("XDG_CONFIG_HOME", (folder_ / "config").string());
  Set("XDG_CONFIG_DIRS", (folder_ / "config-dirs").string());
  Set("XDG_CACHE_HOME", (folder_ / "cache").string());
  Set("XDG_DATA_HOME", (folder_ / "data").string());
  Set("XDG_RUNTIME_DIR", (folder_ / "runtime").string());
  Set("XDG_DATA_DIRS", (folder_ / "data").string() + ":" + (folder_ / "system").string());

  std::string types;
  std::ofstream list(folder_ / "config" / "mimeapps.list");
  list << "[Default Applications]\n";
  for (const auto& name : handled) {
    std::string type = name.find('/') == std::string::npos ? "x-scheme-handler/" + name : name;
    list << type << "=boxwright-recorder.desktop\n";
    types += type + ";";
  }
  std::ofstream entry(folder_ / "data" / "applications" / "boxwright-recorder.desktop");
  entry << "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" << Command() << "\nMimeType=" << types
        << "\nNoDisplay=true\n";
}

PrivateDesktop::~PrivateDesktop() {
  RemoveHandlers(folder_);
  for (auto it = replaced_.rbegin(); it != replaced_.rend(); ++it) {
    if (it->second) {
      setenv(it->first.c_str(), it->second->c_str(), 1);
    } else {
      unsetenv(it->first.c_str());
    }
  }
}

void PrivateDesktop::Set(const char* name, const std::string& value) {
  const char* old = std::getenv(name);
  replaced_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
  setenv(name, value.c_str(), 1);
}

std::string PrivateDesktop::Command() const {
  return folder_.string() + "/" + padding_ + "rec " + Received().string() + " " + fieldCode_;
}

// "folder/./././rec", with one "//" for an odd count: the same program.
void PrivateDesktop::PadCommandTo(std::size_t length) {
  if (length == 0) return;
  const std::size_t natural = Command().size();
  if (length < natural) {
    ADD_FAILURE() << "a handler command of " << length << " characters cannot be made: it has " << natural;
    return;
  }
  const std::size_t pad = length - natural;
  padding_.assign(pad % 2, '/');
  for (std::size_t i = 0; i < pad / 2; ++i) padding_ += "./";
}

std::vector<std::string> PrivateDesktop::WaitForArguments() const {
  WaitForFile(Received());
  return ArgumentsIn(Received());
}

void PrivateDesktop::WaitForFile(const fs::path& file) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!fs::exists(file) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::vector<std::string> PrivateDesktop::ArgumentsIn(const fs::path& file) {
  std::vector<std::string> arguments;
  std::string all = FileText(file);
  for (size_t start = 0; start < all.size();) {
    size_t end = all.find('\0', start);
    if (end == std::string::npos) break;
    arguments.push_back(all.substr(start, end - start));
    start = end + 1;
  }
  return arguments;
}

std::vector<std::string> PrivateDesktop::WaitForRecords(const fs::path& file, std::size_t count) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (;;) {
    std::vector<std::string> records = ArgumentsIn(file);
    if (records.size() >= count || std::chrono::steady_clock::now() > deadline) return records;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void PrivateDesktop::Clear() const { fs::remove(Received()); }

void PrivateDesktop::RecordClipboard() {
  fs::create_directories(folder_ / "bin");
  {
    std::ofstream helper(folder_ / "bin" / "xclip");
    helper << "#!/bin/sh\n/bin/cat > '" << Clipboard().string() << "'\n";
  }
  fs::permissions(folder_ / "bin" / "xclip", fs::perms::owner_all);
  const char* path = std::getenv("PATH");
  Set("PATH", (folder_ / "bin").string() + ":" + (path ? path : "/usr/bin:/bin"));
  Set("DISPLAY", ":boxwright-test");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  replaced_.emplace_back("WAYLAND_DISPLAY", wayland ? std::optional<std::string>(wayland) : std::nullopt);
  unsetenv("WAYLAND_DISPLAY");
}

}  // namespace test_support
