#include "forms/terminal/terminal_front_end.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "forms/core/form_model.h"
#include "forms/plain/plain_front_end.h"
#include "forms/terminal/curses_screen.h"
#include "forms/terminal/terminal_form.h"
#include "forms/terminal/tty_line_channel.h"

namespace formreel {

namespace {

using Clock = std::chrono::steady_clock;

// How long the bytes of one key may take to arrive: an ESCAPE with nothing
// after it within this time is the ESCAPE key, not the start of a sequence.
constexpr int EscapeWaitMilliseconds = 25;

// How long poll may wait: for the rest of a key's bytes, and for no longer
// than the time limit leaves (for ever without one), in whole milliseconds
// rounded up so that the wait never ends before the limit.
int PollWait(bool keyUnfinished, const std::optional<Clock::time_point>& deadline) {
  const int wait = keyUnfinished ? EscapeWaitMilliseconds : -1;
  if (!deadline) return wait;
  const int limit = MillisecondsUntil(*deadline);
  return wait < 0 ? limit : std::min(wait, limit);
}

Showing RunFullScreen(FormState& state, const ControllingTerminal& terminal, SignalWatch& signals,
                      CursesScreen& curses) {
  FormModel model(state);
  BuildForm(state, model);
  TerminalForm form(state, model);
  FormView view(state, model, form);
  std::string pending;
  // Without a time limit there is no deadline, and poll waits for ever. A
  // century is as good as for ever, and the clock adds it without overflow.
  const std::chrono::milliseconds limit =
      std::min<std::chrono::milliseconds>(state.rules.timeLimit, std::chrono::years(100));
  std::optional<Clock::time_point> deadline;
  if (limit.count() > 0) deadline = Clock::now() + limit;
  for (;;) {
    curses.Draw(view.Compose(curses.Rows(), curses.Columns()));
    std::array<pollfd, 2> ready{{{terminal.Descriptor(), POLLIN, 0}, {signals.Descriptor(), POLLIN, 0}}};
    const int count = poll(ready.data(), ready.size(), PollWait(!pending.empty(), deadline));
    if (count == 0 && pending.empty() && deadline && Clock::now() >= *deadline) {
      curses.Close();
      return Showing::TimedOut;
    }
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) {  // no key can come any more: the form ends as when the terminal goes
      curses.Close();
      return Showing::Interrupted;
    }
    while (const std::optional<int> signal = signals.Take()) {
      if (*signal == SIGWINCH) {
        curses.Resize();
        continue;
      }
      curses.Close();
      signals.Resend(*signal);
      return Showing::Interrupted;  // the handler before the form let the program go on
    }
    const bool complete = count == 0;  // nothing more came in time
    if ((ready[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
      std::array<char, 256> bytes{};
      const ssize_t got = read(terminal.Descriptor(), bytes.data(), bytes.size());
      if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN)) {  // the terminal has gone
        curses.Close();
        return Showing::Interrupted;
      }
      if (got > 0) pending.append(bytes.data(), static_cast<std::size_t>(got));
    }
    const bool fits = view.Fits(curses.Rows(), curses.Columns());
    for (;;) {
      const DecodedKey decoded = DecodeKey(pending, state.codePage, complete);
      if (decoded.length == 0) break;
      pending.erase(0, decoded.length);
      if (deadline) deadline = Clock::now() + limit;  // each key gives the whole time again
      // A form too small to be seen takes only its ways out.
      if (!fits && decoded.press.key != Key::Escape && decoded.press.key != Key::CtrlC) continue;
      switch (form.Press(decoded.press)) {
        case TerminalForm::Progress::Open: break;
        case TerminalForm::Progress::Ended: curses.Close(); return Showing::Ended;
        case TerminalForm::Progress::Interrupted: curses.Close(); return Showing::Interrupted;
      }
    }
  }
}

}  // namespace

bool TermAddressesCells() {
  const char* term = std::getenv("TERM");
  return term != nullptr && *term != '\0' && std::string_view(term) != "dumb";
}

Showing TerminalFrontEnd::Show(FormState& state) {
  const ControllingTerminal terminal;
  if (!terminal.IsOpen()) {
    problem_ = terminal.Problem();
    return Showing::NotShown;
  }
  if (mode_ == Mode::FullScreen && TermAddressesCells()) {
    SignalWatch signals;  // before the screen, so that ncurses keeps its hands off these signals
    CursesScreen curses(terminal, state.codePage);
    if (curses.IsOpen()) return RunFullScreen(state, terminal, signals, curses);
    // TERM names no terminal description here: the lines still work.
  }
  SignalWatch signals;
  TtyLineChannel channel(terminal, signals);
  PlainFrontEnd plain(channel);
  return plain.Show(state);
}

}  // namespace formreel
