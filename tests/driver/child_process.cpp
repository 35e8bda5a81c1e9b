#include "tests/driver/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

#include "tests/support/poll.h"

extern char** environ;

namespace {

std::vector<std::string> EnvironmentWith(
    const std::vector<std::pair<std::string, std::string>>& extra) {
  std::map<std::string, std::string> merged;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const auto equals = text.find('=');
    if (equals != std::string::npos) merged[text.substr(0, equals)] = text.substr(equals + 1);
  }
  for (const auto& [name, value] : extra) merged[name] = value;
  std::vector<std::string> result;
  for (const auto& [name, value] : merged) result.push_back(name + "=" + value);
  return result;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (auto& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

int DecodeStatus(int raw) {
  if (WIFEXITED(raw)) return WEXITSTATUS(raw);
  if (WIFSIGNALED(raw)) return -WTERMSIG(raw);
  return -1;
}

}  // namespace

ChildProcess::~ChildProcess() { Kill(); }

bool ChildProcess::Start(const std::vector<std::string>& argv, const Options& options) {
  if (pid_ > 0 || argv.empty()) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string in = options.inputPath.empty() ? "/dev/null" : options.inputPath;
  posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
  const std::string out = options.outputPath.empty() ? "/dev/null" : options.outputPath;
  const std::string err = options.errorPath.empty() ? "/dev/null" : options.errorPath;
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (!options.directory.empty())
    posix_spawn_file_actions_addchdir_np(&actions, options.directory.c_str());
  std::vector<std::string> args = argv;
  std::vector<std::string> environment = EnvironmentWith(options.environment);
  auto argPointers = Pointers(args);
  auto envPointers = Pointers(environment);
  pid_t pid = -1;
  const int failed =
      posix_spawnp(&pid, args[0].c_str(), &actions, nullptr, argPointers.data(), envPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) return false;
  pid_ = pid;
  status_.reset();
  return true;
}

std::optional<int> ChildProcess::Wait(Milliseconds limit) {
  if (status_) return status_;
  if (pid_ <= 0) return std::nullopt;
  // A failed waitpid ends the wait too: there is nothing left to wait for.
  PollUntil(limit, [&] {
    int raw = 0;
    const pid_t done = waitpid(pid_, &raw, WNOHANG);
    if (done == pid_) {
      status_ = DecodeStatus(raw);
      pid_ = -1;
    }
    return done != 0;
  }, Milliseconds(20));
  return status_;
}

bool ChildProcess::Running() { return pid_ > 0 && !Wait(Milliseconds(0)); }

void ChildProcess::Kill() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  int raw = 0;
  waitpid(pid_, &raw, 0);
  pid_ = -1;
}

CommandResult RunCommand(const std::vector<std::string>& argv, Milliseconds limit,
                         const ChildProcess::Options& options) {
  char path[] = "/tmp/formreel-command-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return {};
  close(fd);
  ChildProcess::Options withOutput = options;
  withOutput.outputPath = path;
  CommandResult result;
  ChildProcess child;
  if (child.Start(argv, withOutput)) {
    const auto status = child.Wait(limit);
    if (status) result.status = *status;
    child.Kill();
  }
  std::ifstream file(path, std::ios::binary);
  result.output.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  std::remove(path);
  return result;
}
