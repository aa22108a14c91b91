#include "tests/app/librarian_run.h"

#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace app_test {
namespace {

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

std::vector<Json> LibrarianRun::Lines(const std::string& kind) const {
  std::vector<Json> lines;
  for (const Json& line : transcript)
    if (line.Has(kind)) lines.push_back(line[kind]);
  return lines;
}

std::string LibrarianRun::SettingsFile() const { return ReadWhole(std::filesystem::path(folder) / "settings.ini"); }

LibrarianRun RunLibrarian(const std::string& folder, const std::string& script,
                          const std::vector<std::pair<std::string, std::string>>& files) {
  namespace fs = std::filesystem;
  LibrarianRun run;
  const fs::path dir = fs::absolute(folder);
  fs::remove_all(dir);
  fs::create_directories(dir);
  run.folder = dir.string();
  for (const auto& [name, bytes] : files) std::ofstream(dir / name, std::ios::binary) << bytes;
  std::ofstream(dir / "script.txt") << script;

  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    std::string_view entry(*e);
    if (entry.starts_with("BOXWRIGHT_")) continue;
    env.emplace_back(entry);
  }
  env.push_back("BOXWRIGHT_SCREEN=script");
  env.push_back("BOXWRIGHT_SCRIPT=" + (dir / "script.txt").string());
  env.push_back("BOXWRIGHT_TRANSCRIPT=" + (dir / "transcript.jsonl").string());
  env.push_back("BOXWRIGHT_SIMULATOR=1");
  env.push_back("BOXWRIGHT_SIMULATOR_LOG=" + (dir / "sent.log").string());
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  std::string program = BOXWRIGHT_EXE;
  char* argv[] = {program.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data()) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);

  for (const std::string& line : ReadLines(dir / "transcript.jsonl")) run.transcript.push_back(ParseJson(line));
  run.dumps = run.Lines("dump");
  run.sent = ReadLines(dir / "sent.log");
  return run;
}

const Json& MainWindowIn(const Json& dump) { return dump["Boxwright 1.01"]; }

std::vector<std::string> RowCells(const Json& control, std::size_t row) {
  std::vector<std::string> cells;
  for (const Json& cell : control["rows"][row - 1].items) cells.push_back(cell.text);
  return cells;
}

}  // namespace app_test
