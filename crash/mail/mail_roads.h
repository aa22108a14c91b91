#pragma once
// The ways a report reaches the developer's mail program: one mail when its link fits the
// system's limit, else numbered parts (SplitEmail), else the clipboard with a short mail that
// asks for the paste. A mail that must carry the report itself (the report file was not
// written, or the clipboard took nothing) never goes by the clipboard: it is one mail or
// parts. Planning is separate from sending, so every link can be checked before any mail
// program starts.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "crash/mail/mail_text.h"
#include "platform/win/types.h"

namespace crash {

// The reporter's properties that shape the mails; trailing blanks are ignored.
struct MailSettings {
  std::string_view emailAddress;
  std::string_view windowTitle;
  std::string_view textForEnd;
  std::string_view textForPart;
  std::string_view textForPasteInstructions;
  std::string_view dumpFileName;
  bool splitEmail = false;
  bool alwaysPasteEmail = false;
  LONG maxEmailLen = 2007;
  // The sentence saying the report file was not written; the mail begins with it. Empty
  // when the file was written.
  std::string_view reportFileProblem;
  // The report cannot wait on the clipboard (nothing could put it there).
  bool clipboardUnusable = false;
};

// The reporter's two replaceable steps (a derived reporter may change them).
struct MailCoding {
  std::function<std::string(std::string_view)> encode = EncodeEmail;
  std::function<LONG(std::string_view, LONG)> findBreak = FindFirstBreak;
};

struct MailLink {
  std::string urlToRun;
  LONG part = 0;  // 0 for the only mail, else the part's number from 1
};

struct MailRoad {
  std::vector<MailLink> links;           // in the order they are run
  std::optional<std::string> clipboard;  // the report to paste, when it goes that way
};

MailRoad PlanMail(const MailSettings& settings, std::string_view report, const MailCoding& coding = {});

// The head of one link: the recipient and "GPF in " with the window title as the subject,
// and " [PART n]" after it for a part.
std::string MailHead(const MailSettings& settings, LONG part = 0);

}  // namespace crash
