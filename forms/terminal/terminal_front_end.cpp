#include "forms/terminal/terminal_front_end.h"

#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "forms/core/form_model.h"
#include "forms/plain/plain_front_end.h"
#include "forms/terminal/curses_screen.h"
#include "forms/terminal/terminal_form.h"
#include "forms/terminal/tty_line_channel.h"

namespace formreel {

namespace {

// How long the bytes of one key may take to arrive: an ESCAPE with nothing
// after it within this time is the ESCAPE key, not the start of a sequence.
constexpr int EscapeWaitMilliseconds = 25;

Showing RunFullScreen(FormState& state, const ControllingTerminal& terminal, SignalWatch& signals,
                      CursesScreen& curses) {
  FormModel model(state);
  BuildForm(state, model);
  TerminalForm form(state, model);
  FormView view(state, model, form);
  std::string pending;
  for (;;) {
    curses.Draw(view.Compose(curses.Rows(), curses.Columns()));
    std::array<pollfd, 2> ready{{{terminal.Descriptor(), POLLIN, 0}, {signals.Descriptor(), POLLIN, 0}}};
    const int count = poll(ready.data(), ready.size(), pending.empty() ? -1 : EscapeWaitMilliseconds);
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
