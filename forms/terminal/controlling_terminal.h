// The terminal a program was started from (/dev/tty), where a form is drawn
// and typed, so that standard input and output stay the script's; and the
// signals that arrive while a form owns it. POSIX.
#pragma once

#include <chrono>
#include <csignal>
#include <optional>
#include <string>

namespace formreel {

// How long poll() may wait for `deadline`: the milliseconds left, rounded
// up so that the wait never ends before it, 0 once it has passed.
int MillisecondsUntil(std::chrono::steady_clock::time_point deadline);

class ControllingTerminal {
 public:
  // Opens /dev/tty for reading and writing; Problem() says why not when it
  // could not (no controlling terminal: cron, a daemon, setsid).
  ControllingTerminal();
  ~ControllingTerminal();
  ControllingTerminal(const ControllingTerminal&) = delete;
  ControllingTerminal& operator=(const ControllingTerminal&) = delete;

  bool IsOpen() const { return descriptor_ >= 0; }
  int Descriptor() const { return descriptor_; }
  const std::string& Problem() const { return problem_; }
  // Writes all of `bytes`, as far as the terminal takes them.
  void Write(std::string_view bytes) const;

 private:
  int descriptor_ = -1;
  std::string problem_;
};

// While it lives: the signals that end a program (SIGINT, SIGTERM, SIGHUP,
// SIGQUIT) and SIGWINCH, a new terminal size, are noted instead of acted
// on, so that the form can put the terminal back first. Notes arrive
// through a descriptor that poll() can wait on with the terminal's.
class SignalWatch {
 public:
  SignalWatch();
  ~SignalWatch();  // the handlers that were there before
  SignalWatch(const SignalWatch&) = delete;
  SignalWatch& operator=(const SignalWatch&) = delete;

  // Readable while a noted signal waits.
  int Descriptor() const { return pipe_[0]; }
  // The next noted signal, if any.
  std::optional<int> Take();
  // Puts the earlier handlers back and sends `signal` again, so that the
  // program ends, or carries on, as it would have without the watch.
  void Resend(int signal);

 private:
  void Restore();

  int pipe_[2] = {-1, -1};
  struct sigaction previous_[5] = {};
  bool restored_ = false;
};

}  // namespace formreel
