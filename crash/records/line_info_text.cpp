#include "crash/records/line_info_text.h"

#include <cstdio>

#include "platform/win/system/ascii_text.h"

namespace crash {
namespace {

class Text {
 public:
  explicit Text(char (&buffer)[kLineInfoSize]) : buffer_(buffer) { buffer_[0] = '\0'; }

  void Add(std::string_view part) {
    for (char c : part) {
      if (length_ + 1 == kLineInfoSize) return;
      buffer_[length_++] = c;
    }
    buffer_[length_] = '\0';
  }
  std::size_t Length() const { return length_; }
  std::size_t Finish() {
    length_ = win::Clipped(std::string_view(buffer_, length_)).size();
    buffer_[length_] = '\0';
    return length_;
  }

 private:
  char (&buffer_)[kLineInfoSize];
  std::size_t length_ = 0;
};

// In a trace the items line up on tab stops: the separator depends on the item before it.
std::string_view Separator(bool stackTrace, std::size_t previousItem) {
  if (!stackTrace || previousItem > 18) return "  ";
  return previousItem <= 8 ? " \t\t" : " \t";
}

}  // namespace

std::size_t FormatLineInfo(const LineInfoLabels& labels, const LineInfo& info, char (&buffer)[kLineInfoSize]) {
  Text text(buffer);
  std::size_t itemStart = 0;
  auto separate = [&] {
    text.Add(Separator(info.stackTrace, text.Length() - itemStart));
    itemStart = text.Length();
  };

  if (info.noLineNumber) {
    text.Add(labels.lineNotFound);
  } else {
    char number[24];
    std::snprintf(number, sizeof number, "%ld", info.line);
    text.Add(labels.line);
    text.Add(!info.noProcFound || info.exactAddress ? "=" : " ?=");
    text.Add(number);
  }
  separate();
  if (info.noProcFound) {
    text.Add(labels.noProc);
  } else {
    text.Add(labels.proc);
    text.Add("=");
    text.Add(info.procName);
  }
  if (!info.noLineNumber) {
    separate();
    text.Add(labels.source);
    text.Add("=");
    text.Add(info.sourceName);
  }
  if (info.moduleName != info.programPath) {
    separate();
    text.Add(labels.module);
    text.Add("=");
    text.Add(info.moduleName);
    text.Add(info.moduleVersion);
  }
  return text.Finish();
}

}  // namespace crash
