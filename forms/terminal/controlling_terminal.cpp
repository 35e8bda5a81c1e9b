#include "forms/terminal/controlling_terminal.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <limits>

namespace formreel {

namespace {

constexpr std::array<int, 5> WatchedSignals{SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGWINCH};

// Where the handler notes a signal: a handler is handed nothing else.
volatile std::sig_atomic_t noteDescriptor = -1;

void Note(int signal) {
  const int saved = errno;
  const auto byte = static_cast<unsigned char>(signal);
  if (noteDescriptor >= 0) static_cast<void>(write(noteDescriptor, &byte, 1));
  errno = saved;
}

}  // namespace

int MillisecondsUntil(std::chrono::steady_clock::time_point deadline) {
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
  return static_cast<int>(std::clamp<decltype(left)>(left, 0, std::numeric_limits<int>::max()));
}

ControllingTerminal::ControllingTerminal() {
  descriptor_ = open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY);
  if (descriptor_ < 0) problem_ = std::string("no terminal to draw on: /dev/tty: ") + std::strerror(errno);
}

ControllingTerminal::~ControllingTerminal() {
  if (descriptor_ >= 0) close(descriptor_);
}

void ControllingTerminal::Write(std::string_view bytes) const {
  while (!bytes.empty()) {
    const ssize_t written = write(descriptor_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

SignalWatch::SignalWatch() {
  if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) pipe_[0] = pipe_[1] = -1;
  noteDescriptor = pipe_[1];
  struct sigaction noting {};
  noting.sa_handler = Note;
  sigemptyset(&noting.sa_mask);
  noting.sa_flags = SA_RESTART;
  for (std::size_t k = 0; k < WatchedSignals.size(); ++k) sigaction(WatchedSignals[k], &noting, &previous_[k]);
}

SignalWatch::~SignalWatch() {
  Restore();
  for (const int end : pipe_)
    if (end >= 0) close(end);
}

std::optional<int> SignalWatch::Take() {
  unsigned char byte = 0;
  if (pipe_[0] < 0 || read(pipe_[0], &byte, 1) != 1) return std::nullopt;
  return static_cast<int>(byte);
}

void SignalWatch::Restore() {
  if (restored_) return;
  restored_ = true;
  for (std::size_t k = 0; k < WatchedSignals.size(); ++k) sigaction(WatchedSignals[k], &previous_[k], nullptr);
  noteDescriptor = -1;
}

void SignalWatch::Resend(int signal) {
  Restore();
  raise(signal);
}

}  // namespace formreel
