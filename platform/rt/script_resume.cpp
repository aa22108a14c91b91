#include "platform/rt/script_resume.h"

#include <atomic>

namespace rt {
namespace {

std::atomic<int> gAnswersFrom{0};
std::atomic<int> gAfter{0};

}  // namespace

ScriptResume CurrentScriptResume() { return {gAnswersFrom.load(), gAfter.load()}; }

void PublishScriptResume(ScriptResume resume) {
  gAfter.store(resume.after);
  gAnswersFrom.store(resume.answersFrom);
}

}  // namespace rt
