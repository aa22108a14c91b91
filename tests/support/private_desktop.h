#pragma once
// A desktop of the test's own: home and XDG folders in a short folder under /tmp, with
// "mimeapps.list" naming a recording handler for the types and schemes a test asks for.
// Nothing else is set up to open anything, so a test never starts a real browser or mail
// program, never reads the user's own desktop, and never sees the programs installed on the
// machine; only its MIME database stays in view, since the desktop knows no file types
// without it. The handler's command is short wherever the checkout lies. The desktop's
// folders are read once in a process, so every desktop of a process lies in one folder, and
// each new one replaces what the last one held. The environment it replaced comes back when
// it goes.
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/short_folder.h"

namespace test_support {

// A handler of another shape than the usual one, for tests of how handlers are
// found and started.
struct DesktopHandler {
  // The length of Command(): the recorder's short name is padded with "./" to reach it (it
  // cannot be shorter than the command's natural length). 0: as it comes.
  std::size_t commandLength = 0;
  // The Exec field code: "%f" makes a handler that takes local files only.
  std::string fieldCode = "%u";
};

class PrivateDesktop {
 public:
  // `handled`: MIME types ("text/html") and URL schemes ("mailto") that the recorder opens.
  // `recorder`: the recording program, started as "<recorder> <Received()> <URL or file>".
  // `handler`: the shape of the handler's command.
  explicit PrivateDesktop(const std::vector<std::string>& handled, const std::string& recorder = ARG_RECORDER_PATH,
                          DesktopHandler handler = {});
  ~PrivateDesktop();
  PrivateDesktop(const PrivateDesktop&) = delete;
  PrivateDesktop& operator=(const PrivateDesktop&) = delete;

  // The handler's command line, as the desktop reports it.
  std::string Command() const;
  std::filesystem::path Received() const { return folder_ / "received"; }

  // The arguments the handler received (after its output file), waiting up to 10 seconds for
  // it to run; empty when it never ran.
  std::vector<std::string> WaitForArguments() const;
  // Waits up to 10 seconds for a recorder's file to appear.
  static void WaitForFile(const std::filesystem::path& file);
  // The arguments a recorder wrote into `file`.
  static std::vector<std::string> ArgumentsIn(const std::filesystem::path& file);
  // For a recorder that appends (the mail recorder, one record a start): the records in
  // `file` once `count` have arrived, waiting up to 10 seconds.
  static std::vector<std::string> WaitForRecords(const std::filesystem::path& file, std::size_t count);
  // Forgets what the handler received, for a second run in one test.
  void Clear() const;

  // A clipboard of the desktop's own: an "xclip" first on PATH that keeps what it is given in
  // Clipboard(), and a display so that it is chosen. The user's clipboard is never touched.
  void RecordClipboard();
  std::filesystem::path Clipboard() const { return folder_ / "clipboard"; }

 private:
  void Set(const char* name, const std::string& value);
  void PadCommandTo(std::size_t length);

  const std::filesystem::path& folder_;
  std::string padding_;    // "./" runs before the recorder's name
  std::string fieldCode_;  // the Exec field code
  std::vector<std::pair<std::string, std::optional<std::string>>> replaced_;  // name, old value
};

}  // namespace test_support
