// The native formentry's form in a GTK window, as a person with a keyboard,
// a mouse or a screen reader meets it: a private Xvfb, X key and mouse
// events from xdotool, and the AT-SPI tree and events read as a screen
// reader reads them (atspi_probe.py). ctest runs the suite inside a D-Bus
// session of its own (dbus-run-session), whose accessibility bus it starts.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/driver/child_process.h"
#include "tests/support/poll.h"

namespace {

constexpr Milliseconds Limit{15000};
constexpr char Form[] = "HNew clip|TPlease describe the clip.\\|CNAME^|IYEAR^|SKIND^film^series^|CTAG^red^green^|"
                        "PTOKEN^|XURL^|MFORMATS^DVD^Stream^|BDEPLOY^STAGING^|";

std::string Contents(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The suite's X display and accessibility bus, for all its tests.
struct Desktop {
  std::filesystem::path folder;
  ChildProcess xvfb;
  ChildProcess bus;
  std::string display;
};
Desktop* desktop = nullptr;

class WindowForm : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    desktop = new Desktop;
    desktop->folder = std::filesystem::temp_directory_path() / ("formreel-window-" + std::to_string(getpid()));
    std::filesystem::create_directories(desktop->folder);
    // Xvfb picks a free display and writes its number once it takes connections.
    const auto number = desktop->folder / "display";
    if (!desktop->xvfb.Start({"Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-r"},
                             {.outputPath = number}))
      return;
    if (!PollUntil(Limit, [&] { return Contents(number).find('\n') != std::string::npos; })) return;
    const std::string given = Contents(number);
    desktop->display = ":" + given.substr(0, given.find('\n'));
    desktop->bus.Start({"/usr/libexec/at-spi-bus-launcher", "--launch-immediately"}, {});
    PollUntil(Limit, [] {
      return RunCommand({"dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                         "org.a11y.Bus.GetAddress"},
                        Limit)
                 .status == 0;
    });
  }
  static void TearDownTestSuite() {
    // The launcher takes its bus with it when it is asked to end.
    if (desktop->bus.Running()) kill(desktop->bus.pid(), SIGTERM);
    desktop->bus.Wait(Limit);
    desktop->xvfb.Kill();
    std::filesystem::remove_all(desktop->folder);
    delete desktop;
  }

  void SetUp() override {
    if (desktop->display.empty()) GTEST_SKIP() << "needs Xvfb";
    if (access("/usr/bin/xdotool", X_OK) != 0) GTEST_SKIP() << "needs xdotool";
  }

  std::vector<std::pair<std::string, std::string>> Environment() const {
    return {{"DISPLAY", desktop->display}, {"WAYLAND_DISPLAY", ""}, {"GDK_BACKEND", "x11"},
            {"GSK_RENDERER", "cairo"},
            // GTK's caches live as long as the process, on purpose.
            {"ASAN_OPTIONS", "detect_leaks=0"}};
  }

  // Starts `argv` and waits until its window has the focus on `first`.
  void Start(std::vector<std::string> argv, const std::string& first = "text \"NAME\"") {
    output_ = desktop->folder / "output";
    errors_ = desktop->folder / "errors";
    ASSERT_TRUE(form_.Start(argv, {.environment = Environment(), .outputPath = output_, .errorPath = errors_}));
    ASSERT_TRUE(FocusOn(first)) << Tree() << Contents(errors_);
  }
  void Start(const std::string& descriptor) { Start({FORMREEL_NATIVE_FORMENTRY, "--window", descriptor}); }

  std::string Probe(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv = {"/usr/bin/python3", FORMREEL_ATSPI_PROBE};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return RunCommand(argv, Limit).output;
  }
  std::string Tree() { return Probe({"tree", std::to_string(form_.pid())}); }

  // Whether the focus comes to the object whose line starts `line` (role
  // and name) within the time limit.
  bool FocusOn(const std::string& line) {
    return PollUntil(Limit, [&] { return Tree().find("  " + line + " [focused") != std::string::npos; });
  }

  // Whether `text` comes into the tree within the time limit.
  bool Shows(const std::string& text) {
    return PollUntil(Limit, [&] { return Tree().find(text) != std::string::npos; });
  }

  // xdotool with `arguments` on the suite's display; what it printed.
  std::string Xdotool(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "xdotool");
    const CommandResult result = RunCommand(arguments, Limit, {.environment = Environment()});
    EXPECT_EQ(result.status, 0) << arguments[1];
    return result.output;
  }
  void Keys(std::vector<std::string> keys) {
    keys.insert(keys.begin(), {"key", "--delay", "40"});
    Xdotool(keys);
  }
  void Type(const std::string& text) { Xdotool({"type", "--delay", "40", text}); }
  // A click on the middle of the object of `role` and `name`.
  void Click(const std::string& role, const std::string& name) {
    std::istringstream where(Probe({"where", std::to_string(form_.pid()), role, name}));
    std::string x, y;
    ASSERT_TRUE(where >> x >> y) << role << " " << name;
    const std::string window = Xdotool({"search", "--onlyvisible", "--pid", std::to_string(form_.pid())});
    Xdotool({"mousemove", "--window", window.substr(0, window.find('\n')), x, y, "click", "1"});
  }

  struct Outcome {
    int status = -1;
    std::string output;
  };
  Outcome Finish() {
    const std::optional<int> status = form_.Wait(Limit);
    return {status.value_or(-1), Contents(output_)};
  }

  ChildProcess form_;
  std::filesystem::path output_;
  std::filesystem::path errors_;
};

TEST_F(WindowForm, EveryControlIsNamedByItsPromptWithItsRole) {
  Start(Form);
  const std::string tree = Tree();
  // In this order, each at its depth; GTK's own inner objects between them.
  std::size_t at = 0;
  for (const char* line : {"  frame \"New clip\"", "        label \"Please describe the clip.\"",
                           "        text \"NAME\" [focused,editable]", "        text \"YEAR\" [editable] text=\"0\"",
                           "        combo box \"KIND\"", "            push button \"KIND\"",
                           "        combo box \"TAG\"", "            text \"TAG\" [editable]",
                           "            push button \"TAG\"", "        password text \"TOKEN\" [editable]",
                           "        text \"URL\" [editable]", "        panel \"FORMATS\"",
                           "          check box \"DVD\" []", "          check box \"Stream\" []",
                           "        panel \"DEPLOY\"", "          push button \"DEPLOY\"",
                           "          push button \"STAGING\"", "      alert \"\"", "        push button \"O.K.\"",
                           "        push button \"CANCEL\"",
                           "      label \"ENTER or TAB: next.   SHIFT-TAB or CTRL-BACKSPACE: previous.   ESCAPE: cancel.\"",
                           "      label \"SPACE or ENTER presses a button, SPACE checks a box.   F4 shows a list.   "
                           "CTRL-ENTER confirms.\""}) {
    at = tree.find(std::string("\n") + line, at);
    ASSERT_NE(at, std::string::npos) << line << "\n" << tree;
  }
  Keys({"Escape"});
  EXPECT_EQ(Finish().status, 1);
}

TEST_F(WindowForm, KeysMoveBetweenFieldsAndBoxesAndConfirm) {
  Start(Form);
  Type("Moon");
  Keys({"Tab"});
  ASSERT_TRUE(FocusOn("text \"YEAR\""));
  Type("1984");
  Keys({"Return"});
  ASSERT_TRUE(FocusOn("push button \"KIND\""));
  Keys({"Down", "Down"});
  Keys({"shift+Tab"});
  ASSERT_TRUE(FocusOn("text \"YEAR\""));
  Keys({"ctrl+BackSpace"});
  ASSERT_TRUE(FocusOn("text \"NAME\""));
  Keys({"Tab", "Tab", "Tab"});
  ASSERT_TRUE(FocusOn("text \"TAG\""));
  Type("blue");
  Keys({"Tab"});
  ASSERT_TRUE(FocusOn("password text \"TOKEN\""));
  Type("s3cret");
  Keys({"Tab"});
  ASSERT_TRUE(FocusOn("text \"URL\""));
  Type("http://example.org/a");
  Keys({"Return", "space"});
  ASSERT_TRUE(Shows("check box \"DVD\" [focused,checked]"));
  Keys({"Return"});
  ASSERT_TRUE(FocusOn("check box \"Stream\""));
  Keys({"Tab"});
  ASSERT_TRUE(FocusOn("push button \"DEPLOY\""));
  Keys({"ctrl+Return"});
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output, "Moon\n1984\nseries\nblue\ns3cret\nhttp://example.org/a\n'DVD'\n\n");
}

TEST_F(WindowForm, AFocusedButtonIsPressedBySpaceOrEnter) {
  struct Case {
    std::vector<std::string> keys;  // from NAME, typed X
    int status;
    const char* output;
  } cases[] = {
      {{"Tab", "Tab", "space"}, 0, "X\nSTAGING\n"},
      {{"Tab", "Return"}, 0, "X\nDEPLOY\n"},
      {{"Tab", "Tab", "Tab", "Return"}, 0, "X\n\n"},  // O.K.
      {{"Tab", "Tab", "Tab", "Tab", "space"}, 1, ""},  // CANCEL
      {{"Escape"}, 1, ""},
  };
  for (const Case& c : cases) {
    Start("CNAME^|BDEPLOY^STAGING^|");
    Type("X");
    Keys(c.keys);
    const Outcome outcome = Finish();
    EXPECT_EQ(outcome.status, c.status) << c.keys.back();
    EXPECT_EQ(outcome.output, c.output) << c.keys.back();
  }
}

TEST_F(WindowForm, ARefusalIsSaidAnnouncedAndKeepsItsFieldSelected) {
  Start(Form);
  Keys({"Tab"});
  Type("19x4");
  ChildProcess watch;
  const auto events = desktop->folder / "events";
  ASSERT_TRUE(watch.Start({"/usr/bin/python3", FORMREEL_ATSPI_PROBE, "watch", std::to_string(form_.pid()), "30"},
                          {.outputPath = events}));
  ASSERT_TRUE(PollUntil(Limit, [&] { return Contents(events).starts_with("ready\n"); }));
  Keys({"ctrl+Return"});
  const std::string line = "YEAR: not a 16-bit integer (-32768 to 32767): 19x4";
  for (const std::string& event : {"object:property-change:accessible-name alert \"" + line + "\"",
                                   std::string("object:state-changed:invalid text \"YEAR\" 1"),
                                   "object:property-change:accessible-description text \"YEAR\" 0 " + line})
    EXPECT_TRUE(PollUntil(Limit, [&] { return Contents(events).find(event) != std::string::npos; }))
        << event << "\n" << Contents(events);
  watch.Kill();
  EXPECT_TRUE(Shows("text \"YEAR\" [focused,editable,invalid] description=\"" + line + "\" text=\"19x4\" selected=0-4"))
      << Tree();
  // Typed over, the refusal goes.
  Type("1984");
  ASSERT_TRUE(Shows("alert \"\""));
  Keys({"ctrl+Return"});
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output, "\n1984\n\n\n\n\n\n\n");
}

// Bounds and requirements stop a confirmation as a text that does not
// convert does, the focus on the field (an M field's first box).
TEST_F(WindowForm, ACheckThatFailsIsRefusedAsAConversionIs) {
  struct Case {
    std::string option, field;
    std::string focused, line;  // the focused object's role, name and states; the refusal
  } cases[] = {
      {"--range", "1=1..65535", "text \"PORT\" [focused,editable,invalid]", "PORT: 1 to 65535: 70000"},
      {"--required", "2", "text \"NAME\" [focused,editable,invalid]", "NAME: required"},
      {"--required", "3", "password text \"TOKEN\" [focused,editable,invalid]", "TOKEN: required"},
      {"--required", "4", "check box \"DVD\" [focused,invalid]", "FORMATS: required"},
  };
  for (const Case& c : cases) {
    Start({FORMREEL_NATIVE_FORMENTRY, "--window", c.option, c.field, "LPORT^|CNAME^|PTOKEN^|MFORMATS^DVD^Stream^|"},
          "text \"PORT\"");
    Type("70000");
    Keys({"ctrl+Return"});
    EXPECT_TRUE(Shows("alert \"" + c.line + "\"")) << c.line;
    EXPECT_TRUE(Shows(c.focused + " description=\"" + c.line + "\"")) << Tree();
    Keys({"Escape"});
    EXPECT_EQ(Finish().status, 1);
  }
}

TEST_F(WindowForm, TypingPastAFieldsLimitIsSaid) {
  const std::string longest(255, 'a');
  struct Case {
    std::string descriptor, value;
    std::string typed, line, kept;
  } cases[] = {
      {"CNAME^|", "1=", std::string(31, 'a'), "NAME: at most 30 bytes", std::string(30, 'a')},
      {"DPRICE^|", "1=1", std::string(30, '1'), "PRICE: at most 30 columns", "1." + std::string(28, '1')},
      {"XURL^|", "1=" + longest, "b", "URL: at most 255 bytes", longest},
  };
  for (const Case& c : cases) {
    const std::string field = "text \"" + c.line.substr(0, c.line.find(':')) + "\"";
    Start({FORMREEL_NATIVE_FORMENTRY, "--window", "--value", c.value, c.descriptor}, field);
    Keys({"End"});
    Type(c.typed);
    EXPECT_TRUE(Shows("alert \"" + c.line + "\"")) << c.line;
    EXPECT_TRUE(Shows(field + " [focused,editable,invalid] description=\"" + c.line + "\" text=\"" + c.kept + "\""))
        << Tree();
    Keys({"Escape"});
    EXPECT_EQ(Finish().status, 1);
  }
}

TEST_F(WindowForm, AHiddenTextIsNeverInTheTree) {
  Start({FORMREEL_NATIVE_FORMENTRY, "--window", "--value", "1=topsecret", "PTOKEN^|CNAME^|"},
        "password text \"TOKEN\"");
  Keys({"End"});
  Type("42");
  std::string masks;
  for (int k = 0; k < 11; ++k) masks += "\u25CF";
  ASSERT_TRUE(Shows("password text \"TOKEN\" [focused,editable] text=\"" + masks + "\"")) << Tree();
  Keys({"ctrl+Return"});
  EXPECT_EQ(Finish().output, "topsecret42\n\n");
}

TEST_F(WindowForm, ATimeLimitEndsTheFormAfterThatLongWithoutAKey) {
  Start({FORMREEL_NATIVE_FORMENTRY, "--window", "--timeout", "1", "CNAME^|"});
  Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 124);
  EXPECT_EQ(outcome.output, "");
  // Each key gives the whole time again: 3 seconds of keys outlast a limit of 2.
  Start({FORMREEL_NATIVE_FORMENTRY, "--window", "--timeout", "2", "CNAME^|"});
  Xdotool({"type", "--delay", "500", "abcdef"});
  Keys({"ctrl+Return"});
  outcome = Finish();
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output, "abcdef\n");
}

TEST_F(WindowForm, TheKeysGoOnFromAClickedField) {
  Start(Form);
  Click("text", "TAG");
  ASSERT_TRUE(FocusOn("text \"TAG\""));
  Keys({"Tab"});
  ASSERT_TRUE(FocusOn("password text \"TOKEN\""));
  Click("push button", "O.K.");
  EXPECT_EQ(Finish().status, 0);
}

TEST_F(WindowForm, WithoutTheModuleFormentrySaysHowToGetIt) {
  // formentry alone in a folder: no module beside it.
  const auto alone = desktop->folder / "bin" / "formentry";
  std::filesystem::create_directories(alone.parent_path());
  std::filesystem::copy_file(FORMREEL_NATIVE_FORMENTRY, alone, std::filesystem::copy_options::overwrite_existing);
  if (std::filesystem::exists(FORMREEL_INSTALLED_WINDOW_MODULE)) GTEST_SKIP() << "the module is installed";
  const auto errors = desktop->folder / "errors";
  const CommandResult result =
      RunCommand({alone, "--window", "CNAME^|"}, Limit, {.environment = Environment(), .errorPath = errors});
  EXPECT_EQ(result.status, 4);
  EXPECT_NE(Contents(errors).find("the window module is not installed"), std::string::npos) << Contents(errors);
  EXPECT_NE(Contents(errors).find("install the package formreel-window"), std::string::npos) << Contents(errors);
}

TEST_F(WindowForm, WithoutATerminalADesktopGetsTheWindow) {
  Start({"setsid", "-w", FORMREEL_NATIVE_FORMENTRY, "CNAME^|"});
  Keys({"Escape"});
  EXPECT_EQ(Finish().status, 1);
}

}  // namespace
