#pragma once
// Targets for the shell in a short folder of their own: documents with the execute bit (every
// file on a FAT stick has it), texts that begin with "#!", a document whose name a program on
// PATH has too, a path holding "@" and "mailto:", a folder, and real programs. A document
// that ran would leave the file "ran" behind (SomethingRan). While the object lives, the
// current folder is "here" (which holds "doc.pdf" and "-rf.pdf") and PATH begins with "bin"
// (which holds a script "doc.pdf" and the program "prog-on-path").
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/file_text.h"
#include "tests/support/short_folder.h"

namespace test_support {

class ShellTargets {
 public:
  ShellTargets() : oldFolder_(std::filesystem::current_path()), oldPath_(getenv("PATH") ? getenv("PATH") : "") {
    namespace fs = std::filesystem;
    for (const char* name : {"here", "bin", "odd@dir", "folder", "empty"}) fs::create_directory(folder_ / name);
    const std::string pdf = "%PDF-1.4\n";
    const std::string script = "#!/bin/sh\n: > '" + Path("ran") + "'\n";
    Write("fat.pdf", pdf, 0755);
    Write("with blank.pdf", pdf, 0644);
    Write("here/doc.pdf", pdf, 0644);
    Write("here/-rf.pdf", pdf, 0644);
    Write("notes.txt", script, 0755);
    Write("script", script, 0755);
    Write("bin/doc.pdf", script, 0755);
    Write("odd@dir/mailto:x", script, 0755);
    for (auto [name, mode] : {std::pair{"prog", 0755}, {"bin/prog-on-path", 0755}, {"locked-prog", 0644},
                              {"program.pdf", 0755}}) {
      fs::copy_file(ARG_RECORDER_PATH, folder_ / name);
      ::chmod((folder_ / name).c_str(), static_cast<mode_t>(mode));
    }
    fs::current_path(folder_ / "here");
    setenv("PATH", (Path("bin") + ":" + oldPath_).c_str(), 1);
  }
  ~ShellTargets() {
    setenv("PATH", oldPath_.c_str(), 1);
    std::filesystem::current_path(oldFolder_);
  }
  ShellTargets(const ShellTargets&) = delete;
  ShellTargets& operator=(const ShellTargets&) = delete;

  // The types and schemes of these targets, for the private desktop to give its recorder.
  static std::vector<std::string> Handled() {
    return {"application/pdf", "text/plain", "application/x-shellscript", "inode/directory", "mailto"};
  }

  std::string Path(const std::string& name) const { return (folder_ / name).string(); }
  bool SomethingRan() const { return std::filesystem::exists(folder_ / "ran"); }

 private:
  void Write(const std::string& name, const std::string& text, mode_t mode) {
    WriteFileText(folder_ / name, text);
    ::chmod((folder_ / name).c_str(), mode);
  }

  ShortFolder folder_;
  std::filesystem::path oldFolder_;
  std::string oldPath_;
};

}  // namespace test_support
