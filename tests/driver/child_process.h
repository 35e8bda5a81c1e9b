// Starting Linux programs from the end-to-end tests: each run has a time
// limit, and only the process started here is ever signalled.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using Milliseconds = std::chrono::milliseconds;

// A started program: its standard input comes from a file (empty for an
// empty path), its standard output and error go to files (or /dev/null for
// an empty path). The destructor kills it
// if it is still running.
class ChildProcess {
 public:
  struct Options {
    std::string directory;                                  // "" for the current one
    std::vector<std::pair<std::string, std::string>> environment;  // added or replaced
    std::string inputPath;
    std::string outputPath;
    std::string errorPath;
  };

  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  // Starts `argv` (looked up on PATH). False when it could not be started.
  bool Start(const std::vector<std::string>& argv, const Options& options);
  // Waits up to `limit` for the end; the exit status, or nothing when it is
  // still running (or ended by a signal: -signal).
  std::optional<int> Wait(Milliseconds limit);
  bool Running();
  // SIGKILL to the started process only, then reaps it.
  void Kill();
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

struct CommandResult {
  int status = -1;  // exit status; -1 when killed at the time limit or not started
  std::string output;
};

// Runs `argv` to its end, at most `limit`, and collects its standard output.
CommandResult RunCommand(const std::vector<std::string>& argv, Milliseconds limit,
                         const ChildProcess::Options& options = {});
