// A real console screen reader as a test's listener: Debian's fenrir in its
// PTY mode, in a tmux pane of the test's own, speaking through a command
// that appends each utterance to a file as one line. A command runs in
// fenrir's shell; keys are typed through fenrir as a person types them, one
// at a time, and what fenrir said since a mark is read back.
//
// What is logged is what fenrir hands its synthesizer: the punctuation of
// its level in words ("-" as "dash", "~" as "tilde"), the pause marks
// (. , ; : ? ! ') kept, and other punctuation ("=", "|", "(") dropped.
// In this mode a bare ESCAPE stops speech and does not reach the program.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/driver/tmux_session.h"

// Why the tests cannot run here ("" when they can): fenrir or tmux missing.
std::string MissingFenrir();

// `utterance` as a listener hears it: the pause marks and runs of blanks as
// one blank, no blank at either end.
std::string Heard(const std::string& utterance);

class FenrirSession {
 public:
  FenrirSession();
  // Ends fenrir, its shell and what runs there (by their ids), the tmux
  // server, and the session's folder.
  ~FenrirSession();
  FenrirSession(const FenrirSession&) = delete;
  FenrirSession& operator=(const FenrirSession&) = delete;

  // Starts fenrir in a pane of `columns` x `rows`; true once its shell's
  // prompt has been spoken.
  bool Start(int columns = 100, int rows = 30);
  // Puts `command` on fenrir's shell's command line at once (as pasted),
  // waits until its echo has been spoken, and presses ENTER.
  bool Run(const std::string& command);
  // Types `text` one character at a time, each once fenrir has said
  // something for it, or has stayed silent a moment (it speaks no blank).
  bool Type(const std::string& text);
  // Presses a key by tmux's name ("Enter", "Tab", "C-j", "Down", ...).
  bool Press(const std::string& key);

  // The number of utterances spoken so far: a mark.
  std::size_t Mark();
  // The utterances spoken since `mark`, as logged.
  std::vector<std::string> SpokenSince(std::size_t mark);
  // Waits up to `limit` until an utterance since `mark` holds `text` as
  // heard (Heard of both).
  bool WaitFor(const std::string& text, std::size_t mark, Milliseconds limit);
  // Waits up to `limit` until nothing has been spoken for `quiet`.
  bool WaitForSilence(Milliseconds quiet, Milliseconds limit);
  // The screen as fenrir's pane shows it.
  std::string Screen() { return tmux_.Screen(); }

  // The prompt of fenrir's shell, which it speaks once a command ends.
  static constexpr const char* Prompt = "ready";

 private:
  std::vector<std::string> Utterances();
  std::filesystem::path folder_;
  TmuxSession tmux_;
  bool started_ = false;
};
