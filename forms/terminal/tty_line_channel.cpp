#include "forms/terminal/tty_line_channel.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>

namespace formreel {

namespace {

// The terminal and its modes without the echo while a hidden line is read,
// for the handler of SIGCONT: a shell that stopped the program (CTRL-Z)
// gave the terminal its own modes, the echo on, and does not give the
// program's back when it continues it.
volatile std::sig_atomic_t hiddenDescriptor = -1;
termios hiddenModes{};

void HideAgain(int) {
  const int saved = errno;
  if (hiddenDescriptor >= 0) tcsetattr(hiddenDescriptor, TCSANOW, &hiddenModes);
  errno = saved;
}

// While it lives, the terminal echoes no typed character but the line end
// (ECHONL), so that what is said next starts a line of its own, and again
// after the program is stopped and continued.
class EchoOff {
 public:
  EchoOff(int descriptor, bool wanted) : descriptor_(descriptor) {
    if (!wanted || tcgetattr(descriptor, &saved_) != 0) return;
    hiddenModes = saved_;
    hiddenModes.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    hiddenModes.c_lflag |= ECHONL;
    struct sigaction hideAgain {};
    hideAgain.sa_handler = HideAgain;
    sigemptyset(&hideAgain.sa_mask);
    hideAgain.sa_flags = SA_RESTART;
    sigaction(SIGCONT, &hideAgain, &previousContinue_);
    hiddenDescriptor = descriptor;
    active_ = true;
    if (tcsetattr(descriptor, TCSANOW, &hiddenModes) != 0) Restore();
  }
  ~EchoOff() { Restore(); }
  EchoOff(const EchoOff&) = delete;
  EchoOff& operator=(const EchoOff&) = delete;

  void Restore() {
    if (!active_) return;
    active_ = false;
    hiddenDescriptor = -1;
    sigaction(SIGCONT, &previousContinue_, nullptr);
    tcsetattr(descriptor_, TCSANOW, &saved_);
  }

 private:
  int descriptor_;
  termios saved_{};
  struct sigaction previousContinue_ {};
  bool active_ = false;
};

}  // namespace

std::optional<int> TtyLineChannel::EndingSignal() {
  while (const std::optional<int> signal = signals_.Take())
    if (*signal != SIGWINCH) return signal;  // lines take any width
  return std::nullopt;
}

LineChannel::Line TtyLineChannel::ReadLine(Echo echo, std::chrono::milliseconds limit) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + limit;
  EchoOff echoOff(terminal_.Descriptor(), echo == Echo::Hidden);
  Line line;
  for (;;) {
    int wait = -1;
    // A line that has begun to come is whole already: it is read to its end.
    if (limit.count() > 0 && line.text.empty()) {
      wait = MillisecondsUntil(deadline);
      if (wait == 0) {
        tcflush(terminal_.Descriptor(), TCIFLUSH);
        return {Line::End::TimedOut, {}};
      }
    }
    std::array<pollfd, 2> ready{{{terminal_.Descriptor(), POLLIN, 0}, {signals_.Descriptor(), POLLIN, 0}}};
    const int count = poll(ready.data(), ready.size(), wait);
    const int pollError = errno;  // before the signal pipe's read sets it
    if (const std::optional<int> signal = EndingSignal()) {
      // Half a hidden line is for no one after the form: not the shell.
      if (echo == Echo::Hidden) tcflush(terminal_.Descriptor(), TCIFLUSH);
      echoOff.Restore();
      // The terminal sent SIGINT to the job already: the program acts on
      // the interruption. Another signal goes to the handler before the form.
      if (*signal != SIGINT) signals_.Resend(*signal);
      return {Line::End::Interrupted, {}};
    }
    // A signal that ends nothing (SIGWINCH, SIGCONT) cut the wait short.
    if (count == 0 || (count < 0 && pollError == EINTR)) continue;
    // In canonical mode the terminal is readable once a whole line (or the
    // end of input) is there: the bytes up to its line feed are read
    // without waiting.
    char byte = 0;
    const ssize_t got = count < 0 ? -1 : read(terminal_.Descriptor(), &byte, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      if (line.text.empty()) line.end = Line::End::EndOfInput;
      return line;
    }
    if (byte == '\n') break;
    line.text += byte;
  }
  if (line.text.ends_with('\r')) line.text.pop_back();
  return line;
}

}  // namespace formreel
