// The native formentry in real terminal emulators on an X display, typed
// into with X key events: each terminal sends the bytes it sends for a
// person's keys (xterm, asked for modified keys, reports shifted printable
// keys and CTRL-letters in its own form), and every typed character and key
// must arrive.
#include <gtest/gtest.h>

#include <memory>

#include "tests/driver/x_terminal.h"

namespace {

struct Terminal {
  std::string name;
  std::vector<std::string> command;  // up to -e
  // The keys that confirm the form here, first the one a person would use:
  // CTRL-ENTER where the terminal reports it, CTRL-J where it does not.
  std::vector<std::string> confirmKeys;
  friend void PrintTo(const Terminal& terminal, std::ostream* out) { *out << terminal.name; }
};

const Terminal Terminals[] = {
    {"xterm", {"xterm", "-fa", "Monospace", "-fs", "11", "-geometry", "80x24"}, {"ctrl+Return", "ctrl+j"}},
    {"urxvt", {"urxvt", "-geometry", "80x24"}, {"ctrl+j"}},
    {"st", {"st", "-g", "80x24"}, {"ctrl+j"}},
};

class FormentryInXTerminal : public testing::TestWithParam<Terminal> {
 protected:
  static void SetUpTestSuite() { display_ = std::make_unique<XDisplay>(); }
  static void TearDownTestSuite() { display_.reset(); }

  // Without a display or the terminal the suite fails: ./test installs both.
  void SetUp() override {
    ASSERT_FALSE(display_->Name().empty()) << display_->Problem();
    const std::string missing = MissingXTerminal(GetParam().command.front());
    ASSERT_TRUE(missing.empty()) << missing << " (./test installs it)";
  }

  // Starts formentry with `descriptor` in a terminal of its own: "", or
  // what went wrong.
  std::string Start(XTerminal& terminal, const std::string& descriptor) {
    return terminal.Start(GetParam().command, FORMREEL_NATIVE_FORMENTRY, {descriptor});
  }

  static std::unique_ptr<XDisplay> display_;
};

std::unique_ptr<XDisplay> FormentryInXTerminal::display_;

TEST_P(FormentryInXTerminal, TypedTextArrivesWhole) {
  XTerminal terminal(*display_);
  ASSERT_EQ(Start(terminal, "CNAME^|CCODE^|SKIND^FILM^CARTOON^NEWS^|"), "");
  // Capitals, shifted symbols and a non-ASCII letter; BACKSPACE takes the q.
  ASSERT_TRUE(terminal.Type("Mx é@bq"));
  ASSERT_TRUE(terminal.Press({"BackSpace", "Tab"}));
  ASSERT_TRUE(terminal.Type("zzz"));
  // DOWN steps the list; SHIFT-TAB comes back to CODE, whose text is
  // selected and typed over.
  ASSERT_TRUE(terminal.Press({"Tab", "Down", "Down", "shift+Tab"}));
  ASSERT_TRUE(terminal.Type("A~!{"));
  ASSERT_TRUE(terminal.Press({GetParam().confirmKeys.front()}));
  const XTerminal::Outcome outcome = terminal.Finish();
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  EXPECT_EQ(outcome.output, "Mx é@b\nA~!{\nCARTOON\n");
}

TEST_P(FormentryInXTerminal, EveryOtherWayOutEndsTheForm) {
  struct Ending {
    std::string key;
    int status;
    std::string output;
  };
  std::vector<Ending> endings;
  for (std::size_t k = 1; k < GetParam().confirmKeys.size(); ++k)
    endings.push_back({GetParam().confirmKeys[k], 0, "ok\n"});
  endings.push_back({"Escape", 1, ""});
  for (const Ending& ending : endings) {
    XTerminal terminal(*display_);
    ASSERT_EQ(Start(terminal, "CNAME^|"), "");
    ASSERT_TRUE(terminal.Type("ok"));
    ASSERT_TRUE(terminal.Press({ending.key}));
    const XTerminal::Outcome outcome = terminal.Finish();
    EXPECT_EQ(outcome.status, ending.status) << ending.key << ": " << outcome.errors;
    EXPECT_EQ(outcome.output, ending.output) << ending.key;
  }
}

INSTANTIATE_TEST_SUITE_P(Terminals, FormentryInXTerminal, testing::ValuesIn(Terminals),
                         [](const testing::TestParamInfo<Terminal>& info) { return info.param.name; });

}  // namespace
