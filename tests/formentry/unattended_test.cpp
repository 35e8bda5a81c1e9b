// The native formentry where no person is: with --no-input it answers with
// the form as it stands; without, and with no terminal to draw on, it says
// so with status 4 rather than take the missing answer for a cancel.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "tests/driver/child_process.h"

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
      {"--no-input", "--value", "1=ANN", "--value", "2=16#2A", "--select", "3=2", "--select", "4=1",
       "CNAME^|IAGE^|SCOLOUR^RED^GREEN^BLUE^|BSAVE^DISCARD^|"});
  EXPECT_EQ(lines.status, 0);
  EXPECT_EQ(lines.output, "ANN\n42\nGREEN\n\n");  // a row of buttons answers 0 unless pressed
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

}  // namespace
