// The shell examples of README.md and the programmer's guide, run as a
// person runs them: a cmd block by Wine's own cmd, an sh block by this
// machine's sh calling formentry.exe under Wine, the keys typed by xdotool.
// The blocks are read from the documents, so what runs is what they show.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/driver/program_test.h"
#include "tests/support/markdown.h"

using formreel::FencedBlock;
using formreel::FencedBlocks;
using formreel::ReadWhole;

namespace {

// A script starts a shell, and Wine's cmd, before its form: more time to end.
constexpr Milliseconds ScriptLimit{60000};

bool WriteWhole(const std::string& path, const std::string& contents) {
  std::ofstream file(path, std::ios::binary);
  file << contents;
  return static_cast<bool>(file.flush());
}

struct Document {
  const char* name;
  const char* path;
};
const Document Readme{"README.md", FORMREEL_README};
const Document Guide{"docs/forms.md", FORMREEL_GUIDE};

// Where a shell example is: its document and the start of its first line.
struct Place {
  const Document* document;
  std::string start;
};

// The index of the first block of `blocks` that starts with `start`, or -1.
int FindBlock(const std::vector<FencedBlock>& blocks, const std::string& start) {
  for (std::size_t k = 0; k < blocks.size(); ++k)
    if (blocks[k].body.starts_with(start)) return static_cast<int>(k);
  return -1;
}

bool IsShellLanguage(const std::string& language) {
  for (const char* shell : {"sh", "bash", "shell", "console", "bat", "cmd", "powershell"})
    if (language == shell) return true;
  return false;
}

// A keystroke as a person makes it: text typed, or one xdotool chord.
struct Keystroke {
  bool chord;
  std::string what;
};
Keystroke Typed(std::string text) { return {false, std::move(text)}; }
Keystroke Pressed(std::string chord) { return {true, std::move(chord)}; }

enum class Shell : bool { Cmd, Sh };

// The path Wine's Z: drive gives a folder of this machine.
std::string WindowsPath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return "Z:" + path;
}

// Starts `script` by `shell` in `run`'s own folder. Both shells find
// formentry as the documents call it: Wine's cmd and "wine formentry.exe"
// through WINEPATH, sh's "formentry.exe" through a wrapper of that name on
// PATH that runs it under Wine.
bool StartScript(ConsoleRun& run, Shell shell, const std::string& script) {
  const std::string& folder = run.Folder();
  if (folder.empty()) return false;
  const std::string programs = ProgramDirectory();
  const std::string bin = folder + "/bin";
  const std::string wrapper = bin + "/formentry.exe";
  std::filesystem::create_directory(bin);
  if (!WriteWhole(wrapper, "#!/bin/sh\nexec wine '" + programs + "/formentry.exe' \"$@\"\n") ||
      chmod(wrapper.c_str(), 0755) != 0)
    return false;
  const char* path = std::getenv("PATH");
  const std::vector<std::pair<std::string, std::string>> environment = {
      {"WINEPATH", WindowsPath(programs)}, {"PATH", bin + ":" + (path != nullptr ? path : "/usr/bin:/bin")}};
  if (shell == Shell::Sh)
    return WriteWhole(folder + "/example.sh", script) &&
           run.StartCommand(folder, {"sh", "example.sh"}, "", environment);
  // A batch file as Windows keeps it, with CR LF line ends.
  std::string crlf;
  for (const char c : script) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return WriteWhole(folder + "/example.cmd", crlf) &&
         run.StartCommand(folder, {"wine", "cmd", "/c", "example.cmd"}, "", environment);
}

class ShellExample : public ProgramTest {
 protected:
  void SetUp() override {
    SkipWithout("formentry.exe");
  }

  // Runs `script` by `shell`, types `keys` into the form it shows and gives
  // what the script printed and its status (which the examples promise
  // nothing of, but that the script ended).
  static ConsoleRun::Outcome Run(Shell shell, const std::string& script, const std::vector<Keystroke>& keys) {
    ConsoleRun run;
    EXPECT_TRUE(StartScript(run, shell, script));
    const auto window = WaitForWindow("^FORM$", WindowLimit);
    EXPECT_TRUE(window) << "no form";
    if (window) {
      EXPECT_TRUE(FocusWindow(*window));
      for (const Keystroke& key : keys)
        EXPECT_TRUE(key.chord ? PressKeys({key.what}) : TypeText(key.what)) << key.what;
    }
    const ConsoleRun::Outcome outcome = run.Finish(ScriptLimit);
    EXPECT_NE(outcome.status, -1) << "the script did not end";
    return outcome;
  }

  // The block of `document` that starts with `start`, and the `next` blocks
  // after it.
  static std::vector<std::string> Blocks(const Document& document, const std::string& start, int next = 0) {
    const std::vector<FencedBlock> blocks = FencedBlocks(ReadWhole(document.path));
    const int at = FindBlock(blocks, start);
    std::vector<std::string> bodies;
    for (int k = at; at >= 0 && k <= at + next && k < static_cast<int>(blocks.size()); ++k)
      bodies.push_back(blocks[static_cast<std::size_t>(k)].body);
    EXPECT_EQ(bodies.size(), static_cast<std::size_t>(next + 1))
        << document.name << " has no block starting with \"" << start << "\" and " << next << " after it";
    return bodies;
  }
};

// The examples that run here, as a person answers them.
struct RunExample {
  Place place;
  Shell shell;
  std::vector<Keystroke> keys;
  std::string printed;
};

const std::vector<RunExample>& RunExamples() {
  static const std::vector<RunExample> examples = {
      {{&Readme, "@echo off\n"},
       Shell::Cmd,
       {Typed("Ann"), Pressed("Tab"), Typed("7"), Pressed("ctrl+Return")},
       "Ann is 7\r\n"},
      {{&Readme, "@echo off\n"}, Shell::Cmd, {Pressed("Escape")}, ""},
      {{&Readme, "if answers=$(wine formentry.exe"},
       Shell::Sh,
       {Typed("Ann"), Pressed("ctrl+Return")},
       "Ann is 30\n"},
      {{&Readme, "if answers=$(wine formentry.exe"}, Shell::Sh, {Pressed("Escape")}, "no answers (status 1)\n"},
      {{&Guide, "formentry.exe 'CNAME^|IAGE^|SCOLOUR^RED^GREEN^BLUE^|'"},
       Shell::Sh,
       {Typed("ANN"), Pressed("Tab"), Typed("42"), Pressed("Tab"), Pressed("Down"), Pressed("Down"),
        Pressed("ctrl+Return")},
       "ANN\n42\nGREEN\n"},
  };
  return examples;
}

// The guide's example whose answers it prints, as lines and as JSON.
const Place PrintedAnswers{&Guide, "formentry.exe --value 1=ANN"};

// The shell examples that do not run here, and why.
const std::vector<std::pair<Place, std::string>>& OtherExamples() {
  static const std::vector<std::pair<Place, std::string>> examples = {
      {{&Readme, "sudo apt-get install"}, "run by scripts/package-test.sh"},
      {{&Readme, "ffmpeg "}, "makes the sample clip with this machine's ffmpeg"},
      {{&Readme, "cmake --install build/win64"}, "run by tests/examples/examples_test.cpp"},
      {{&Readme, "cmake --preset win32"}, "builds this tree"},
      {{&Readme, "cmake -S . -B build -G Ninja"}, "runs in MSYS2 on Windows itself"},
      {{&Readme, "$name, $age = formentry"}, "PowerShell, which Wine does not have"},
      {{&Guide, "formentry --window"}, "the native window, as tests/forms/gtk/window_test.cpp types into it"},
  };
  return examples;
}

TEST(ShellExamples, EachIsRunHereOrSaysWhyNot) {
  std::vector<Place> known = {PrintedAnswers};
  for (const RunExample& example : RunExamples()) known.push_back(example.place);
  for (const auto& [place, why] : OtherExamples()) known.push_back(place);
  for (const Document* document : {&Readme, &Guide}) {
    for (const FencedBlock& block : FencedBlocks(ReadWhole(document->path))) {
      if (!IsShellLanguage(block.language)) continue;
      const bool listed = std::any_of(known.begin(), known.end(), [&](const Place& place) {
        return place.document == document && block.body.starts_with(place.start);
      });
      EXPECT_TRUE(listed) << document->name << " has a " << block.language
                          << " example this test neither runs nor excuses:\n"
                          << block.body;
    }
  }
  for (const Place& place : known)
    EXPECT_GE(FindBlock(FencedBlocks(ReadWhole(place.document->path)), place.start), 0)
        << place.document->name << " has no block starting with \"" << place.start << "\"";
}

TEST_F(ShellExample, EachPrintsTheAnswersTyped) {
  for (const RunExample& example : RunExamples()) {
    const std::vector<std::string> block = Blocks(*example.place.document, example.place.start);
    if (block.empty()) continue;
    SCOPED_TRACE(block[0]);
    const ConsoleRun::Outcome outcome = Run(example.shell, block[0], example.keys);
    EXPECT_EQ(outcome.output, example.printed) << "status " << outcome.status << "; errors: " << outcome.errors;
  }
}

// The guide shows what its example prints when confirmed at once, and with
// --json in front of the other options.
TEST_F(ShellExample, TheGuidePrintsWhatItsExamplePrints) {
  const std::vector<std::string> blocks = Blocks(*PrintedAnswers.document, PrintedAnswers.start, 2);
  ASSERT_EQ(blocks.size(), 3u);
  const std::string command = "formentry.exe ";
  ASSERT_TRUE(blocks[0].starts_with(command));
  const std::string json = command + "--json " + blocks[0].substr(command.size());
  for (const auto& [script, printed] : {std::pair{blocks[0], blocks[1]}, std::pair{json, blocks[2]}}) {
    const ConsoleRun::Outcome outcome = Run(Shell::Sh, script, {Pressed("ctrl+Return")});
    EXPECT_EQ(outcome.status, 0) << outcome.errors;
    EXPECT_EQ(outcome.output, printed);
  }
}

}  // namespace
