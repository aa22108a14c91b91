#include "platform/framework/ini_class.h"

#include <mutex>

#include "platform/framework/ini_document.h"
#include "platform/framework/settings_file_io.h"
#include "platform/win/files/file_replacement.h"

namespace {
// Two settings objects on one file must not interleave their read-change-write cycles.
std::mutex gWriteLock;
}  // namespace

void INIClass::Init(std::string_view fileName) {
  fileName_ = fileName;
  writeFailure_.clear();
  Fetch();
}

void INIClass::Kill() { fileName_.clear(); }

std::string INIClass::TryFetch(std::string_view section, std::string_view key) const {
  return Fetch(section, key, "");
}

std::string INIClass::Fetch(std::string_view section, std::string_view key, std::string_view fallback) const {
  if (fileName_.empty()) return std::string(fallback);
  settings_io::FileText file = settings_io::ReadWholeFile(fileName_);
  if (file.outcome != settings_io::ReadOutcome::Read) return std::string(fallback);
  return IniDocument(file.text).Get(section, key).value_or(std::string(fallback));
}

bool INIClass::Edit(const std::function<bool(IniDocument&)>& edit) {
  if (fileName_.empty()) return false;
  std::lock_guard guard(gWriteLock);
  settings_io::FileText file = settings_io::ReadWholeFile(fileName_);
  if (file.outcome == settings_io::ReadOutcome::Failed) return WriteFailed(file.reason);
  IniDocument document(file.text);
  if (!edit(document)) return false;
  std::string after = document.Text();
  if (after == file.text && file.outcome == settings_io::ReadOutcome::Read) return true;
  if (file.readOnly) return WriteFailed("It is read-only, so it was left as it is.");
  if (win::ReplaceFileContents(fileName_, after) == win::Replacement::Done) return true;
  return WriteFailed(settings_io::LastErrorSentence());
}

bool INIClass::WriteFailed(std::string reason) {
  if (writeFailure_.empty()) writeFailure_ = std::move(reason);
  return false;
}

bool INIClass::Update(std::string_view section, std::string_view key, std::string_view value) {
  return Edit([&](IniDocument& document) { return document.Set(section, key, value); });
}

bool INIClass::Update(std::string_view section, std::string_view key, long long value) {
  return Update(section, key, std::to_string(value));
}
