// The native formentry where no person is: with --no-input it answers with
// the form as it stands; without, and with no terminal to draw on, it says
// so with status 4 rather than take the missing answer for a cancel.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "tests/driver/child_process.h"
#include "tests/driver/tmux_session.h"

namespace {

constexpr Milliseconds RunLimit{10000};

// Runs formentry in a session of its own: it has no controlling terminal,
// and no desktop either.
CommandResult RunWithoutTerminal(const std::vector<std::string>& arguments, const std::string& errors = "") {
  std::vector<std::string> argv = {"setsid", "-w", FORMREEL_NATIVE_FORMENTRY};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return RunCommand(argv, RunLimit, {.environment = {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, .errorPath = errors});
}

TEST(FormentryUnattended, NoInputConfirmsTheFormAsItStands) {
  const CommandResult lines = RunWithoutTerminal(
      {"--no-input", "--value", "1=ANN", "--value", "2=16#2A", "--select", "3=2", "--select", "4=2",
       "CNAME^|IAGE^|SCOLOUR^RED^GREEN^BLUE^|BSAVE^DISCARD^|BGO^|"});
  EXPECT_EQ(lines.status, 0);
  EXPECT_EQ(lines.output, "ANN\n42\nGREEN\nDISCARD\n\n");  // the button chosen is pressed; the other row answers 0
  const CommandResult json = RunWithoutTerminal({"--json", "--no-input", "--value", "1=3.141592653589793", "DPI^|"});
  EXPECT_EQ(json.status, 0);
  EXPECT_EQ(json.output,
            "{\"fields\":[{\"letter\":\"D\",\"prompt\":\"PI\",\"selection\":0,\"entry\":null,"
            "\"value\":3.141592653589793}]}\n");
}

TEST(FormentryUnattended, NoTerminalOrDesktopToShowOnIsStatusFour) {
  char errors[] = "/tmp/formentry-errors-XXXXXX";
  const int file = mkstemp(errors);
  ASSERT_GE(file, 0);
  close(file);
  const std::string noTerminal = "no terminal to draw on: /dev/tty: No such device or address";
  const std::string noDesktop = "no desktop to show a window on: neither WAYLAND_DISPLAY nor DISPLAY is set";
  const std::pair<std::string, std::string> cases[] = {
      {"", noTerminal + "; no desktop either: neither WAYLAND_DISPLAY nor DISPLAY is set"},
      {"--plain", noTerminal},
      {"--terminal", noTerminal},
      {"--window", noDesktop},
  };
  for (const auto& [option, why] : cases) {
    std::vector<std::string> arguments = {"CNAME^|"};
    if (!option.empty()) arguments.insert(arguments.begin(), option);
    const CommandResult result = RunWithoutTerminal(arguments, errors);
    EXPECT_EQ(result.status, 4) << option;
    EXPECT_EQ(result.output, "");
    std::ifstream file(errors);
    const std::string message((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(message, "formentry: the form could not be shown (" + why + ")\n") << option;
  }
  std::remove(errors);
}

// What a refusal says and ends with: one line naming the cause (and, for a
// wrong command line, one pointing to --help), whatever the descriptor's
// source, read only as far as a descriptor can reach.
TEST(FormentryUnattended, RefusalsSayWhyAndEndWithTheirStatus) {
  const std::string formentry = ShellQuoted(FORMREEL_NATIVE_FORMENTRY);
  const std::string help = "Try 'formentry --help' for more information.\n";
  char fifo[] = "/tmp/formentry-fifo-XXXXXX";
  ASSERT_NE(mkdtemp(fifo), nullptr);
  const std::string pipe = std::string(fifo) + "/pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  struct Row {
    std::string script;  // formentry is $F
    int status;
    std::string output, errors;
  };
  const Row rows[] = {
      {"$F --colour 'CA^|'", 64, "", "formentry: unknown option \"--colour\"\n" + help},
      {"$F --no-input --value 2=70000 'CNAME^|IYEAR^|'", 64, "",
       "formentry: --value 2: YEAR: not a 16-bit integer (-32768 to 32767): 70000\n" + help},
      {"$F --no-input --value 1=x \"$(printf 'I\\033]2;T^|')\"", 64, "",
       "formentry: --value 1: \u241b]2;T: not a 16-bit integer (-32768 to 32767): x\n" + help},
      {"$F --file /nonexistent/form", 2, "",
       "formentry: cannot read the descriptor file \"/nonexistent/form\": No such file or directory\n"},
      {"$F --file /", 2, "", "formentry: cannot read the descriptor file \"/\": Is a directory\n"},
      {"$F --no-input --file /dev/zero", 2, "",
       "formentry: the descriptor file \"/dev/zero\" has more than 64000 bytes (the most a descriptor file may "
       "have)\n"},
      {"yes | $F --no-input --file -", 2, "",
       "formentry: standard input has more than 64000 bytes (the most a descriptor file may have)\n"},
      {"$F --no-input \"T$(head -c 2001 /dev/zero | tr '\\0' x)\\|\"", 2, "",
       "formentry: the descriptor has 2004 bytes (at most 2000)\n"},
      {"printf '# a clip\\nCNAME^|  \\n\\nIYEAR^|\\n' | $F --no-input --value 2=1994 --file -", 0, "\n1994\n", ""},
      // The checks apply to the values given: nobody can mend one that fails.
      {"$F --no-input --range 1=1..65535 --value 1=70000 'LPORT^|'", 2, "", "formentry: PORT: 1 to 65535: 70000\n"},
      {"$F --no-input --required 2 --value 1=s3cr3t 'PPASS^|PPIN^|'", 2, "", "formentry: PIN: required\n"},
      // A pipe that never closes: formentry is a writer of its own input.
      {"exec 3<>" + pipe + "; exec $F --no-input --file - <&3", 2, "",
       "formentry: standard input did not end within 10 seconds\n"},
  };
  char errors[] = "/tmp/formentry-errors-XXXXXX";
  const int file = mkstemp(errors);
  ASSERT_GE(file, 0);
  close(file);
  for (const Row& row : rows) {
    const CommandResult result = RunCommand({"setsid", "-w", "sh", "-c", "F=" + formentry + "; " + row.script},
                                            Milliseconds(20000), {.errorPath = errors});
    EXPECT_EQ(result.status, row.status) << row.script;
    EXPECT_EQ(result.output, row.output) << row.script;
    std::ifstream file(errors);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()), row.errors)
        << row.script;
  }
  std::remove(errors);
  std::remove(pipe.c_str());
  std::remove(fifo);
}

}  // namespace
