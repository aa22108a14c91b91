#include "crash/present/faultscribe_boxes.h"

#include <string>

#include "platform/rt/dialogs.h"

namespace crash {
namespace {
std::string Buttons(std::initializer_list<std::string_view> texts) {
  std::string list;
  for (std::string_view text : texts) {
    if (!list.empty()) list += '|';
    list += text;
  }
  return list;
}

// A box's own text, then the sentence about the report file, after an empty line.
std::string WithProblem(std::string_view text, std::string_view problem) {
  std::string out(text);
  if (!problem.empty()) out.append("\r\n\r\n").append(problem);
  return out;
}
}  // namespace

void ShowFaultBoxes(FaultscribeClass& r, std::string_view report, DWORD exceptionCode,
                    std::string_view reportFileProblem) {
  if (r.CloseQuietly == 1) return;
  int choice = 0;
  if (r.JustEmail == 1) {
    choice = 3;
  } else if (r.SkipInitialMessage == 1) {
    choice = 2;
  } else {
    choice = MESSAGE(WithProblem(r.TextForMessage1.Clipped(), reportFileProblem), r.WindowTitle.Clipped(),
                     ICON::Asterisk, Buttons({r.TextForOkButton.Clipped(), r.TextForDetailsButton.Clipped(), r.TextForEmailButton.Clipped()}));
  }
  if (choice == 2) {
    std::string details = WithProblem(r.TextForMessage2.Clipped(), reportFileProblem);
    details += report;
    int button = MESSAGE(details, r.WindowTitle.Clipped(), ICON::Asterisk,
                         Buttons({r.TextForOkButton.Clipped(), r.TextForEmailButton.Clipped()}));
    if (button == 2) r.SendReport(report, exceptionCode, reportFileProblem);
  } else if (choice == 3) {
    r.SendReport(report, exceptionCode, reportFileProblem);
  }
}

}  // namespace crash
