// Driving Windows programs from outside, as a user would: they run under
// Wine on the test's X display, keystrokes come from xdotool, the command
// strings formreel.exe sends are read from Wine's media trace, pictures are taken with
// xwd, and window_probe.exe reads what a form shows.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/driver/child_process.h"

// The Windows build tree that holds formreel.exe, SAMPLE.AVI and
// tests/app/window_probe.exe: FORMREEL_PROGRAM_DIR when set (./test sets the
// build this machine can run), otherwise build/win32.
std::string ProgramDirectory();

// Why the end-to-end tests cannot run here, or "" when they can.
std::string MissingPrerequisite();

// One command string handed to the media layer, as the trace shows it, and
// whether the trace reports it carried out with result 0.
struct SentCommand {
  std::string text;
  bool succeeded = false;
  friend bool operator==(const SentCommand&, const SentCommand&) = default;
  friend void PrintTo(const SentCommand& command, std::ostream* out) {
    *out << '"' << command.text << "\" " << (command.succeeded ? "succeeded" : "failed");
  }
};

// The program's own commands in a trace (those sent with no return buffer;
// the media layer's internal calls carry one), in order.
std::vector<SentCommand> SentCommands(const std::string& trace);

// A Windows program run under Wine as a script runs it: standard input
// from a given text, standard output and error kept in a private folder,
// which goes with the run. (formreel.exe writes Wine's media trace to its
// standard error when started with WINEDEBUG=+mci.)
class ConsoleRun {
 public:
  struct Outcome {
    int status = -1;  // -1 when it did not end in time (it is then killed)
    std::string output;
    std::string errors;
  };

  ConsoleRun();
  ~ConsoleRun();
  ConsoleRun(const ConsoleRun&) = delete;
  ConsoleRun& operator=(const ConsoleRun&) = delete;

  // Starts `program` (relative to `directory`) with `arguments` and
  // `environment` added to the test's own; once the last run has finished,
  // the same object starts the next.
  bool Start(const std::string& directory, const std::string& program,
             const std::vector<std::string>& arguments = {}, const std::string& input = "",
             const std::vector<std::pair<std::string, std::string>>& environment = {});
  // Starts `command` as it stands (its first word found on PATH), with the
  // same folder, files and environment as Start.
  bool StartCommand(const std::string& directory, const std::vector<std::string>& command,
                    const std::string& input = "",
                    const std::vector<std::pair<std::string, std::string>>& environment = {});
  // The run's own folder, which goes with it: a place for files a command needs.
  const std::string& Folder() const { return folder_; }
  bool Running() { return process_.Running(); }
  std::string Errors() const;
  // Waits up to `limit` until the standard error holds `text`.
  bool WaitForErrors(const std::string& text, Milliseconds limit) const;
  // Waits up to `limit` for the end and collects what it wrote.
  Outcome Finish(Milliseconds limit);

 private:
  std::string folder_;
  ChildProcess process_;
};

// The id of a visible X window whose name matches the regular expression
// `name` and which is not `other`, waiting up to `limit` for it.
std::optional<std::string> WaitForWindow(const std::string& name, Milliseconds limit,
                                         const std::string& other = "");
// True when no visible window matches `name` at the moment.
bool NoWindow(const std::string& name);
// Gives `window` the keyboard focus (no window manager does it here).
bool FocusWindow(const std::string& window);
// Presses the xdotool key chords in order, e.g. "ctrl+Return", "Down".
bool PressKeys(const std::vector<std::string>& chords);
bool TypeText(const std::string& text);
// Before typing characters that the keyboard map lacks into an empty field:
// the first key xdotool maps for one can be lost while Wine rereads the map,
// so one such character and a BackSpace go first (the field stays empty
// whether the character arrived or not).
bool PrimeNonAsciiTyping();
// Types `text` into the open form's first field, which has the focus, until
// window_probe reads it back there: on a slow machine a character typed
// through a key xdotool maps for it can still be lost, so the field is
// cleared and the text typed again (three times at most). False when the
// field never held it.
bool TypeIntoFirstField(const std::string& text, Milliseconds limit);

// Takes a picture of `window` and saves it as PNG at `pngPath`.
bool CaptureWindow(const std::string& window, const std::string& pngPath);

// Runs window_probe.exe with `question` ("field", "main", "focus") and gives
// its one line of answer.
std::optional<std::string> ProbeWindows(const std::string& question);
// Asks window_probe.exe `question` until its answer is `expected`, for at
// most `limit`: a program that was just sent keys may not have handled them
// yet. Gives the last answer, nothing when there never was one.
std::optional<std::string> ProbeWindowsUntil(const std::string& question,
                                             const std::string& expected, Milliseconds limit);
