// The layers as the build declares them: every #include of the product's folders reaches only
// its own folder or a layer below it, never tests/; only the screen (and the harness's window
// pictures) include Qt and only the MIDI back-ends ALSA; and of the product only the program's
// start-up, which chooses its screen, includes the harness.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Folder -> its layer, from the bottom (0) up; read from the build's own table.
std::map<std::string, int> Layers() {
  std::map<std::string, int> layers;
  std::istringstream table(LAYERS);  // "a|b c|..."
  int level = 0;
  for (std::string entry; std::getline(table, entry, '|'); ++level) {
    std::istringstream folders(entry);
    for (std::string folder; folders >> folder;) layers[folder] = level;
  }
  return layers;
}

// The deepest folder of the table that holds `path`; "" for none.
std::string FolderOf(const std::string& path, const std::map<std::string, int>& layers) {
  std::string found;
  for (const auto& [folder, level] : layers) {
    if (path.starts_with(folder + "/") && folder.size() > found.size()) found = folder;
  }
  return found;
}

struct Include {
  std::string file;  // relative to the source folder
  std::string target;
  bool angled;
};

std::vector<Include> IncludesOf(const fs::path& root, const std::string& folder) {
  static const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  std::vector<Include> found;
  for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
    const std::string extension = entry.path().extension().string();
    if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
    std::ifstream in(entry.path());
    std::smatch match;
    for (std::string line; std::getline(in, line);) {
      if (std::regex_search(line, match, include)) {
        found.push_back({fs::relative(entry.path(), root).string(), match[2], match[1] == "<"});
      }
    }
  }
  return found;
}

// What is wrong with one include of the product, "" when nothing.
std::string Fault(const Include& include, const std::map<std::string, int>& layers) {
  const std::string from = FolderOf(include.file, layers);
  if (include.angled) {
    const std::string& header = include.target;
    bool qt = header.starts_with("Q") || header.starts_with("qt");
    if (qt && from != "platform/qt" && from != "platform/harness") return "only platform/qt includes Qt";
    if (header.starts_with("alsa/") && from != "platform/midi") return "only platform/midi includes ALSA";
    return "";
  }
  if (include.target.find('/') == std::string::npos) return "";  // beside the file itself
  for (const char* harness : {"tests/", "bench/", "fuzz/"}) {
    if (include.target.starts_with(harness)) return "the product never includes what only drives or measures it";
  }
  const std::string to = FolderOf(include.target, layers);
  if (to.empty()) return "";  // a library's own folders, as the build gives them
  if (to == "platform/harness" && from != to && include.file != "app/boxwright.cpp")
    return "only the program's start-up includes the harness";
  if (to == from || layers.at(to) < layers.at(from)) return "";
  return layers.at(to) == layers.at(from) ? "includes a folder beside it" : "includes a layer above it";
}

std::vector<std::string> Faults(const fs::path& root) {
  const auto layers = Layers();
  std::vector<std::string> faults;
  for (const auto& [folder, level] : layers) {
    for (const Include& include : IncludesOf(root, folder)) {
      std::string fault = Fault(include, layers);
      if (fault.empty()) continue;
      const std::string shown = include.angled ? "<" + include.target + ">" : "\"" + include.target + "\"";
      faults.push_back(include.file + ": #include " + shown + ": " + fault);
    }
  }
  return faults;
}

TEST(Layers, EveryIncludeOfTheProductReachesOnlyItsOwnFolderOrALayerBelow) {
  for (const std::string& fault : Faults(SOURCE_FOLDER)) ADD_FAILURE() << fault;
}

TEST(Layers, EveryFolderWithCodeIsInTheTable) {
  const auto layers = Layers();
  const fs::path root = SOURCE_FOLDER;
  for (const char* top : {"app", "crash", "links", "toolkit", "textrope", "platform"}) {
    for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
      if (entry.path().extension() != ".cpp") continue;
      std::string file = fs::relative(entry.path(), root).string();
      EXPECT_NE(FolderOf(file, layers), "") << file << " lies in no folder of the layer table";
    }
  }
}

// The rules themselves, on includes made up for the purpose.
TEST(Layers, WrongIncludesAreNamed) {
  const auto layers = Layers();
  struct Case {
    Include include;
    std::string fault;
  } cases[] = {
      {{"textrope/textrope.cpp", "platform/win/files/files.h", false}, ""},
      {{"textrope/textrope.cpp", "textrope/textrope.h", false}, ""},
      {{"textrope/textrope.cpp", "toolkit/error_state.h", false}, "includes a folder beside it"},
      {{"platform/win/files/files.cpp", "platform/rt/event.h", false}, "includes a layer above it"},
      {{"links/linkbright.cpp", "crash/faultscribe.h", false}, "includes a layer above it"},
      {{"app/main_window.cpp", "tests/support/file_text.h", false},
       "the product never includes what only drives or measures it"},
      {{"crash/present/presenter.cpp", "QWidget", true}, "only platform/qt includes Qt"},
      {{"platform/qt/qt_screen.cpp", "QWidget", true}, ""},
      {{"app/midi_connection.cpp", "alsa/asoundlib.h", true}, "only platform/midi includes ALSA"},
      {{"app/main_window.cpp", "crash/faultscribe.h", false}, ""},
      {{"platform/harness/window_picture.cpp", "QImage", true}, ""},
      {{"crash/present/presenter.cpp", "platform/harness/scripted_screen.h", false},
       "only the program's start-up includes the harness"},
      {{"app/boxwright.cpp", "platform/harness/screen_choice.h", false}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Fault(c.include, layers), c.fault) << c.include.file << " " << c.include.target;
}

}  // namespace
