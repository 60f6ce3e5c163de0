#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// orvelsim-cli (or any command) run through the shell as a user runs it,
// its output caught in files of a test folder.
namespace orvel::test {

struct CliResult {
  int status;  // -1 when it did not exit normally
  std::string out;
  std::string err;
};

inline std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs a shell command with stdout and stderr in `dir`'s files "out" and
// "err" (unless the command redirects them itself) and stdin from nowhere.
inline CliResult Shell(const std::filesystem::path& dir, const std::string& command) {
  const std::string full = "{ " + command + "; } >" + ShellQuote((dir / "out").string()) + " 2>" +
                           ShellQuote((dir / "err").string()) + " </dev/null";
  const int raw = std::system(full.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(dir / "out"), Slurp(dir / "err")};
}

// `program` with `args`, each quoted.
inline CliResult RunProgram(const std::filesystem::path& dir, const std::string& program,
                            const std::vector<std::string>& args) {
  std::string command = ShellQuote(program);
  for (const auto& arg : args) command += " " + ShellQuote(arg);
  return Shell(dir, command);
}

}  // namespace orvel::test
