#include "platform/win/files/directory_listing.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>

#include "platform/win/files/files.h"
#include "platform/win/system/ascii_text.h"

namespace {

bool HasWildCards(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

bool FitsShortName(std::string_view name) {
  std::size_t dot = name.find('.');
  std::string_view base = name.substr(0, dot);
  std::string_view extension = dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
  auto plain = [](std::string_view part) {
    return std::all_of(part.begin(), part.end(), [](unsigned char c) {
      return std::isalnum(c) || std::string_view("!#$%&'()-@^_`{}~").find(static_cast<char>(c)) != std::string_view::npos;
    });
  };
  return !base.empty() && base.size() <= 8 && extension.size() <= 3 && plain(base) && plain(extension) &&
         (dot == std::string_view::npos || !extension.empty());
}

std::string Capitals(std::string_view text, std::size_t most) {
  std::string out;
  for (unsigned char c : text) {
    if (out.size() == most) break;
    if (c == ' ' || c == '.') continue;
    out.push_back(std::isalnum(c) ? win::UpperByte(static_cast<char>(c)) : '_');
  }
  return out;
}

std::string ShortNameOf(std::string_view name) {
  bool fits = FitsShortName(name);
  std::size_t dot = name.rfind('.');
  if (dot == 0) dot = std::string_view::npos;
  std::string base = Capitals(name.substr(0, dot), fits ? 8 : 6);
  std::string extension = dot == std::string_view::npos ? "" : Capitals(name.substr(dot + 1), 3);
  if (!fits) base = (base.empty() ? "_" : base) + "~1";
  return extension.empty() ? base : base + "." + extension;
}

std::optional<win::DirectoryEntry> EntryOf(const std::string& path, std::string name) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 && ::lstat(path.c_str(), &info) != 0) return std::nullopt;
  win::DirectoryEntry entry;
  entry.shortName = ShortNameOf(name);
  entry.lastWrite = info.st_mtim.tv_sec;
  entry.lastWriteHundredths = static_cast<LONG>(info.st_mtim.tv_nsec / 10'000'000);
  entry.size = S_ISDIR(info.st_mode) ? 0 : static_cast<std::int64_t>(info.st_size);
  if ((info.st_mode & 0222) == 0) entry.attributes |= FILE_ATTRIBUTE_READONLY;
  if (name.starts_with('.')) entry.attributes |= FILE_ATTRIBUTE_HIDDEN;
  if (S_ISDIR(info.st_mode)) entry.attributes |= FILE_ATTRIBUTE_DIRECTORY;
  entry.name = std::move(name);
  return entry;
}

}  // namespace

namespace win {

std::vector<DirectoryEntry> ListDirectory(const std::string& pattern) {
  std::vector<DirectoryEntry> entries;
  std::string trimmed = pattern;
  while (trimmed.size() > 1 && trimmed.ends_with('/')) trimmed.pop_back();
  std::size_t slash = trimmed.rfind('/');
  std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : trimmed.substr(0, slash);
  std::string name = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
  if (name.empty()) return entries;
  if (!HasWildCards(name)) {
    if (auto entry = EntryOf(trimmed, name)) entries.push_back(std::move(*entry));
    return entries;
  }
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return entries;
  while (dirent* item = ::readdir(dir)) {
    std::string_view found(item->d_name);
    if (found == "." || found == ".." || ::fnmatch(name.c_str(), item->d_name, 0) != 0) continue;
    if (auto entry = EntryOf(folder + "/" + item->d_name, item->d_name)) entries.push_back(std::move(*entry));
  }
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
  return entries;
}

}  // namespace win
