#include "crash/mail/mail_roads.h"

#include <algorithm>

#include "toolkit/clip.h"

namespace crash {

std::string MailHead(const MailSettings& settings, LONG part) {
  std::string subject = "GPF in " + std::string(Clip(settings.windowTitle));
  if (part > 0) subject += " [" + std::string(Clip(settings.textForPart)) + " " + std::to_string(part) + "]";
  // Every link carries its own scheme: left to the shell's rule ("mailto:" anywhere in the
  // link means it has one), a report quoting "mailto:" would send a part without it.
  return "mailto:" + MailtoField(Clip(settings.emailAddress)) + "?subject=" + MailtoField(subject);
}

namespace {

// The report's leading empty line and dash line stay out of the mail: it starts at the
// report's 205th character, the program line.
constexpr std::size_t kMailReportStart = 204;

std::string EndMarker(const MailSettings& settings) { return "[" + std::string(Clip(settings.textForEnd)) + "]"; }

LONG Length(std::string_view text) { return static_cast<LONG>(Clip(text).size()); }

std::vector<MailLink> Parts(const MailSettings& settings, std::string body, const MailCoding& coding) {
  std::vector<MailLink> links;
  std::string partEnd = "[" + std::string(Clip(settings.textForEnd)) + " " + std::string(Clip(settings.textForPart)) + "]";
  body += kEncodedBreak;
  for (LONG part = 1; !Clip(body).empty(); ++part) {
    std::string head = MailHead(settings, part);
    LONG found = coding.findBreak(body, settings.maxEmailLen - Length(head));
    // A part ends after the whole break; a part without one within the limit goes whole.
    std::size_t cut = found > 0 ? static_cast<std::size_t>(found) + kEncodedBreak.size() - 1 : body.size();
    // Whatever a replaced break finder answers, every part takes something and no more than is left.
    cut = std::clamp<std::size_t>(cut, 1, body.size());
    links.push_back({head + "&Body=" + body.substr(0, cut) + partEnd, part});
    body.erase(0, cut);
  }
  return links;
}

}  // namespace

MailRoad PlanMail(const MailSettings& settings, std::string_view report, const MailCoding& coding) {
  std::string_view cutReport = report.substr(std::min(report.size(), kMailReportStart));
  std::string problem(Clip(settings.reportFileProblem));
  // The paste request names the report file as the other way: only when that holds the
  // report, and only when the clipboard can take it.
  const bool carryReport = !problem.empty() || settings.clipboardUnusable;
  const bool paste = settings.alwaysPasteEmail && !carryReport;
  std::string head = MailHead(settings);
  std::string text = problem.empty() ? std::string(cutReport) : problem + "\r\n\r\n" + std::string(cutReport);
  std::string body = coding.encode(text);
  MailRoad road;
  if (Length(body) < settings.maxEmailLen - Length(head) && !paste) {
    road.links.push_back({head + "&Body=" + body + std::string(kEncodedBreak) + EndMarker(settings), 0});
  } else if ((settings.splitEmail || carryReport) && !paste) {
    road.links = Parts(settings, std::move(body), coding);
  } else {
    road.clipboard = std::string(Clip(cutReport)) + "\r\n" + EndMarker(settings);
    std::string pasteBody = coding.encode(Clip(settings.textForPasteInstructions)) + std::string(kEncodedBreak) +
                            coding.encode(Clip(settings.dumpFileName));
    road.links.push_back({head + "&Body=" + pasteBody + std::string(kEncodedBreak) + EndMarker(settings), 0});
  }
  return road;
}

}  // namespace crash
