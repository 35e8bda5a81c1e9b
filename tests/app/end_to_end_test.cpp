// The real program under Wine on an X display, driven by real keystrokes:
// one test per path through the name form and the next-action form, each
// checking the command strings sent to the media layer and the exit code.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>

#include "tests/driver/program_test.h"
#include "tests/support/poll.h"

namespace {

constexpr Milliseconds FieldLimit{10000};
constexpr Milliseconds PictureLimit{10000};
constexpr Milliseconds PictureInterval{100};
constexpr Milliseconds CheckLimit{15000};
const std::string NameFormTitle = "^FORM$";
const std::string NextActionTitle = "^OOPS! Chose Next Action$";

// What the demo's check (shows_sample_bars in scripts/lib.sh) says of a
// picture of the main window: whether it holds the sample clip's colour
// bars, and how many pixels it found near each bar's colour.
struct SampleBars {
  bool shown = false;
  std::string counts;
};

SampleBars CheckSampleBars(const std::string& pngPath) {
  const CommandResult check = RunCommand(
      {"bash", "-c", "source \"$0\" && shows_sample_bars \"$1\"", FORMREEL_SCRIPT_LIB, pngPath},
      CheckLimit);
  return {check.status == 0, check.output};
}

class ProgramPaths : public ProgramTest {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "formreel-e2e-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    workDir_ = pattern;
  }
  void TearDown() override {
    if (HasFailure()) {
      std::cerr << "pictures and clips kept in " << workDir_ << "\n";
    } else if (!workDir_.empty()) {
      std::filesystem::remove_all(workDir_);
    }
  }

  // Starts the program in `directory`, its media trace on, and gives the
  // name form the focus.
  void StartAtNameForm(const std::string& directory) {
    ASSERT_TRUE(run_.Start(directory, ProgramDirectory() + "/formreel.exe", {}, "", {{"WINEDEBUG", "+mci"}}));
    ShowWindow(NameFormTitle);
  }
  void StartAtNameForm() { StartAtNameForm(ProgramDirectory()); }

  // What Wine's media trace says so far (the program's standard error).
  std::string Trace() const { return run_.Errors(); }

  // The open form's field shows `expected`, once the keys sent before have
  // been handled.
  void ExpectField(const std::string& expected) {
    EXPECT_EQ(ProbeWindowsUntil("field", expected, FieldLimit).value_or("(no form)"), expected);
  }

  void ExpectExitCodeZero() { EXPECT_EQ(Finish().status, 0); }

  // Picks "Quit NOW " in the name form and confirms it; the next-action
  // form then has the focus.
  void ChooseQuitNow() {
    ASSERT_TRUE(PressKeys({"Down"}));
    ExpectField("text=[Quit NOW ] selected=0");
    ASSERT_TRUE(PressKeys({"ctrl+Return"}));
    ShowWindow(NextActionTitle);
  }

  std::vector<SentCommand> Sent() const { return SentCommands(Trace()); }

  // The check of a picture of the main window that shows the clip, taken
  // by a capture that began while the clip was playing (before "close test"
  // was sent): on a slow machine a capture takes long enough for playback
  // to end meanwhile, and what it caught still counts. Nothing when no
  // picture could be taken.
  std::optional<SampleBars> PictureDuringPlayback() {
    if (!run_.WaitForErrors("L\"play test wait\"", WindowLimit)) return std::nullopt;
    const auto mainWindow = WaitForWindow("^MAIN$", WindowLimit);
    if (!mainWindow) return std::nullopt;
    const std::string path = workDir_ + "/playing.png";
    std::optional<SampleBars> bars;
    bool ended = false;
    PollUntil(PictureLimit, [&] {
      ended = Trace().find("L\"close test\"") != std::string::npos;
      if (ended) return true;
      bars.reset();
      if (CaptureWindow(*mainWindow, path)) bars = CheckSampleBars(path);
      return bars && bars->shown;
    }, PictureInterval);
    if (ended) ADD_FAILURE() << "playback ended before a picture showed the clip";
    return bars;
  }

  std::string workDir_;
};

TEST_F(ProgramPaths, TypedNamePlaysTheClipOnceInTheMainWindowAndEnds) {
  StartAtNameForm();
  EXPECT_EQ(ProbeWindows("focus"), "field");
  const auto mainHandle = ProbeWindows("main");
  ASSERT_TRUE(mainHandle);
  ASSERT_TRUE(TypeText("SAMPLE"));
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));

  const std::optional<SampleBars> bars = PictureDuringPlayback();
  ASSERT_TRUE(bars) << Trace();
  EXPECT_TRUE(bars->shown) << "not every bar shown; pixels near each bar's colour:\n" << bars->counts;

  ExpectExitCodeZero();
  const std::vector<SentCommand> expected = {
      {"open SAMPLE.AVI alias test", true},
      {"window test handle " + *mainHandle, true},
      {"play test wait", true},
      {"close test", true},
  };
  EXPECT_EQ(Sent(), expected) << Trace();
}

TEST_F(ProgramPaths, NameWithABlankIsSentInQuotesAndPlays) {
  std::filesystem::copy_file(ProgramDirectory() + "/SAMPLE.AVI", workDir_ + "/my clip.AVI");
  StartAtNameForm(workDir_);
  ASSERT_TRUE(TypeText("my clip"));
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));
  ExpectExitCodeZero();
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 4u) << Trace();
  EXPECT_EQ(sent[0], (SentCommand{"open \"my clip.AVI\" alias test", true}));
  EXPECT_EQ(sent[2], (SentCommand{"play test wait", true}));
}

TEST_F(ProgramPaths, ACyrillicNameOpensAndPlaysItsClip) {
  std::filesystem::copy_file(ProgramDirectory() + "/SAMPLE.AVI", workDir_ + "/Мой клип.AVI");
  StartAtNameForm(workDir_);
  ASSERT_TRUE(PrimeNonAsciiTyping());
  ASSERT_TRUE(TypeIntoFirstField("Мой клип", FieldLimit));
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));
  const std::optional<SampleBars> bars = PictureDuringPlayback();
  ASSERT_TRUE(bars) << Trace();
  EXPECT_TRUE(bars->shown) << "no frames of the clip on screen:\n" << bars->counts;
  ExpectExitCodeZero();
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 4u) << Trace();
  EXPECT_EQ(sent[0], (SentCommand{"open \"Мой клип.AVI\" alias test", true}));
}

TEST_F(ProgramPaths, QuitNowThenExitProgramEndsWithoutSendingAnything) {
  StartAtNameForm();
  ChooseQuitNow();
  ExpectField("text=[EXIT PROGRAM] selected=0");
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));
  ExpectExitCodeZero();
  EXPECT_TRUE(Sent().empty()) << Trace();
}

TEST_F(ProgramPaths, QuitNowThenBackupOneFormEndsLikeExitProgram) {
  StartAtNameForm();
  ChooseQuitNow();
  ASSERT_TRUE(PressKeys({"Down"}));
  ExpectField("text=[BACKUP ONE FORM] selected=1");
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));
  ExpectExitCodeZero();
  EXPECT_TRUE(Sent().empty()) << Trace();
}

TEST_F(ProgramPaths, ReturnToCurrentFormShowsTheNameFormWithQuitNowChosen) {
  StartAtNameForm();
  ChooseQuitNow();
  ASSERT_TRUE(PressKeys({"Down", "Down"}));
  ExpectField("text=[RETURN TO CURRENT FORM] selected=2");
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));

  ShowWindow(NameFormTitle);
  ExpectField("text=[Quit NOW ] selected=0");
  // Confirmed as it stands, it leads to the next-action form again.
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));
  ShowWindow(NextActionTitle);
  ExpectField("text=[EXIT PROGRAM] selected=0");
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));
  ExpectExitCodeZero();
  EXPECT_TRUE(Sent().empty()) << Trace();
}

TEST_F(ProgramPaths, CancelledNextActionFormEnds) {
  StartAtNameForm();
  ChooseQuitNow();
  ASSERT_TRUE(PressKeys({"Down", "Down"}));
  ASSERT_TRUE(PressKeys({"Escape"}));
  ExpectExitCodeZero();
  EXPECT_TRUE(Sent().empty()) << Trace();
}

TEST_F(ProgramPaths, CancelledNameFormSendsFourFailingCommandsAndEnds) {
  StartAtNameForm();
  const auto mainHandle = ProbeWindows("main");
  ASSERT_TRUE(mainHandle);
  ASSERT_TRUE(PressKeys({"Escape"}));
  ExpectExitCodeZero();
  const std::vector<SentCommand> expected = {
      {"open ", false},
      {"window test handle " + *mainHandle, false},
      {"play test wait", false},
      {"close test", false},
  };
  EXPECT_EQ(Sent(), expected) << Trace();
}

TEST_F(ProgramPaths, EmptyNameAsksForDotAvi) {
  StartAtNameForm();
  const auto mainHandle = ProbeWindows("main");
  ASSERT_TRUE(mainHandle);
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));
  ExpectExitCodeZero();
  const std::vector<SentCommand> expected = {
      {"open .AVI alias test", false},
      {"window test handle " + *mainHandle, false},
      {"play test wait", false},
      {"close test", false},
  };
  EXPECT_EQ(Sent(), expected) << Trace();
}

}  // namespace
