// formentry on POSIX systems: the form in the controlling terminal, so that
// standard input and output stay the script's, or in a desktop window.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstring>

#include "platform.h"

namespace formreel::formentry {

// Only what formentry reads of the locale: its character set, and the
// language of the system's reasons (strerror). Loading the rest costs a
// script's every start for nothing.
void PrepareStandardStreams() {
  std::setlocale(LC_CTYPE, "");
  std::setlocale(LC_MESSAGES, "");
}

namespace {

// Closes a descriptor formentry opened; standard input stays open.
struct OpenedFile {
  int descriptor;
  bool owned;
  ~OpenedFile() {
    if (owned && descriptor >= 0) close(descriptor);
  }
};

}  // namespace

FileReading ReadDescriptorFile(const std::string& path, std::string& contents, std::string& reason) {
  // Not blocking: opening a FIFO waits for no writer, and the wait below
  // has its limit.
  const OpenedFile file{path == "-" ? STDIN_FILENO : open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY),
                        path != "-"};
  if (file.descriptor < 0) {
    reason = std::strerror(errno);
    return FileReading::Failed;
  }
  if (isatty(file.descriptor) != 0) return FileReading::Terminal;
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(DescriptorFileSeconds);
  contents.clear();
  std::array<char, 8192> bytes{};
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return FileReading::TooSlow;
    pollfd ready{file.descriptor, POLLIN, 0};
    const int count = poll(&ready, 1, static_cast<int>(left));
    if (count == 0) return FileReading::TooSlow;
    if (count < 0 && errno == EINTR) continue;
    const std::size_t room = DescriptorFileCapacity + 1 - contents.size();
    const ssize_t got = count < 0 ? -1 : read(file.descriptor, bytes.data(), std::min(bytes.size(), room));
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got < 0) {
      reason = std::strerror(errno);
      return FileReading::Failed;
    }
    if (got == 0) return FileReading::Read;
    contents.append(bytes.data(), static_cast<std::size_t>(got));
    if (contents.size() > DescriptorFileCapacity) return FileReading::TooLong;
  }
}

// formentry speaks UTF-8; in another locale a form shows only ASCII.
bool TextsAreUtf8() { return true; }
std::optional<std::string> FromUtf8(std::string_view text) { return std::string(text); }
std::optional<std::string> TextToUtf8(std::string_view text) { return std::string(text); }

FormEntryEnd ShowForm(CommandLine::Display display, const std::string& descriptor, FormArrays& arrays,
                      std::chrono::milliseconds timeout) {
  FormDisplay shown = FormDisplay::Standard;
  switch (display) {
    case CommandLine::Display::Standard: break;
    case CommandLine::Display::Plain: shown = FormDisplay::Plain; break;
    case CommandLine::Display::Unattended: shown = FormDisplay::Unattended; break;
    case CommandLine::Display::Window: shown = FormDisplay::Window; break;
    case CommandLine::Display::Terminal: shown = FormDisplay::Terminal; break;
  }
  // Its NUL counted, so that the form reads no further than the descriptor.
  FormEntry(descriptor.data(), static_cast<std::int32_t>(descriptor.size() + 1), arrays.selections, arrays.values,
            shown, FormRules{arrays.checks, timeout});
  return LastFormEntryEnd();
}

void EndAsInterrupted() {
  // As the terminal's interrupt character does: SIGINT to the job, this
  // process included, so that a shell running formentry in a script stops
  // (bash goes on after a child that raised SIGINT on itself alone). The
  // job is formentry's own process group, not the terminal's foreground
  // group: the two are one while formentry reads the terminal, and no other
  // job is ever signalled.
  std::signal(SIGINT, SIG_DFL);
  sigset_t interrupt;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  sigprocmask(SIG_UNBLOCK, &interrupt, nullptr);
  kill(0, SIGINT);
}

}  // namespace formreel::formentry
