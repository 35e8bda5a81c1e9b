// The typed layer over the entry call: the descriptor it writes, what it
// refuses before anything is shown, and the answers it writes back.
#include "formreel/form.h"

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <sstream>
#include <cmath>
#include <limits>

namespace formreel {

namespace {

// A variable of a type no field takes does not compile.
template <typename T>
concept Bindable = requires(Form form, T value) { form.Field("P", value); };
static_assert(Bindable<std::string> && Bindable<std::int16_t> && Bindable<std::int32_t> && Bindable<float> &&
              Bindable<double> && Bindable<std::uint8_t> && Bindable<std::uint16_t> && Bindable<std::uint32_t> &&
              Bindable<LongText> && Bindable<HiddenText> && Bindable<CheckedBoxes>);
static_assert(!Bindable<long long> && !Bindable<std::uint64_t> && !Bindable<char*> &&
              !Bindable<std::string_view> && !Bindable<long double>);
// A form binds its variables by address: it cannot be handed out of their scope.
static_assert(!std::is_copy_constructible_v<Form> && !std::is_move_constructible_v<Form>);

// A long text, a hidden one and check boxes, filled from lines as a person
// would answer them: each comes back in its own type.
TEST(TypedForm, TheNewKindsAnswerInTheirOwnTypes) {
  LongText host{std::string(40, 'h')};
  HiddenText token;
  CheckedBoxes genres("101");
  Form form;
  form.Field("HOST", host).Field("TOKEN", token).Required().Field("GENRES", genres, {"A", "B", "C"});
  EXPECT_EQ(form.Descriptor(), "XHOST^|PTOKEN^|MGENRES^A^B^C^|");
  std::istringstream answers("\ns3cr3t\n2\ny\n");
  std::ostringstream said;
  const FormResult result = form.Show(answers, said);
  ASSERT_TRUE(result) << result.Problem() << said.str();
  EXPECT_EQ(host.text, std::string(40, 'h'));
  EXPECT_EQ(token.text, "s3cr3t");
  EXPECT_EQ(genres, CheckedBoxes("010"));
  EXPECT_EQ(said.str().find("s3cr3t"), std::string::npos) << said.str();
}

TEST(TypedForm, WritesTheDescriptorItsFieldsMake) {
  std::string name;
  std::int16_t year = 0;
  std::int32_t frames = 0;
  float speed = 0;
  double seconds = 0;
  Choice kind, play;
  Form form;
  form.Heading("New clip")
      .Text("Describe the clip")
      .Field("NAME", name, {"Quit NOW "})
      .Field("KIND", kind, {"FILM", "NEWS"})
      .Field("YEAR", year)
      .Field("FRAMES", frames)
      .Field("SPEED", speed)
      .Field("SECONDS", seconds)
      .Buttons(play, {"SAVE", "SAVE AND PLAY"});
  EXPECT_EQ(form.Descriptor(),
            "HNew clip|TDescribe the clip\\|CNAME^Quit NOW ^|SKIND^FILM^NEWS^|IYEAR^|LFRAMES^|RSPEED^|DSECONDS^|"
            "BSAVE^SAVE AND PLAY^|");
  EXPECT_EQ(form.Problem(), "");
}

TEST(TypedForm, RefusesWhatADescriptorCannotHoldBeforeShowingAnything) {
  std::string text;
  Choice choice, far{4};
  std::string longText(31, 'x');
  struct Case {
    std::function<void(Form&)> build;
    std::string problem;
  };
  const Case cases[] = {
      {[&](Form& f) { f.Field("A|B", text); }, "item 1 (C): prompt holds \"|\", which a descriptor cannot hold"},
      {[&](Form& f) { f.Text("line").Field("P", choice, {"a", "b^c"}); },
       "item 2 (S): choice 2 holds \"^\", which a descriptor cannot hold"},
      {[&](Form& f) { f.Text("a\\b"); }, "item 1 (T): text line holds \"\\\", which a descriptor cannot hold"},
      {[&](Form& f) { f.Heading(std::string("a\0b", 3)); },
       "item 1 (H): heading holds a NUL, which a descriptor cannot hold"},
      {[&](Form& f) { f.Buttons(choice, {"OK", "NO|"}); },
       "item 1 (B): button 2 holds \"|\", which a descriptor cannot hold"},
      {[&](Form& f) { f.Field("NAME", longText); }, "item 1 (C): value has 31 bytes (at most 30)"},
      {[&](Form& f) { f.Field(std::string(61, 'p'), text); }, "item 1 (C): prompt is 61 columns wide (at most 60)"},
      {[&](Form& f) { f.Field("KIND", far, {"FILM", "NEWS", "CARTOON"}); },
       "item 1 (S): choice 4 is not one of its 3 entries"},
  };
  for (const Case& c : cases) {
    Form form;
    c.build(form);
    EXPECT_EQ(form.Problem(), c.problem);
    const FormResult result = form.Show(FormDisplay::Unattended);
    EXPECT_EQ(result.End(), FormEntryEnd::Refused) << c.problem;
    EXPECT_EQ(result.Problem(), c.problem);
  }
  EXPECT_EQ(longText, std::string(31, 'x'));  // refused, not cut
  EXPECT_EQ(far, Choice{4});
}

// A program's forms filled without a terminal, from lines: the rules are
// checked inside the form, which says why and asks again; an unsigned
// type keeps to its own range.
TEST(TypedForm, RulesAreCheckedInsideTheFormFilledFromLines) {
  std::string name;
  std::uint16_t port = 80;
  std::uint8_t level = 1;
  std::int32_t even = 2;
  Form form;
  form.Field("NAME", name).Required()
      .Field("PORT", port).Between(1, 65535)
      .Field("LEVEL", level)
      .Field("EVEN", even).Check([](const std::int32_t& v) { return v % 2 == 0 ? "" : "not even"; });
  // A bound and the own check refuse a typed value at once; "required" waits for the confirmation.
  std::istringstream answers("\n0\n8080\n300\n5\n3\n4\ny\nCLIP\ny\n");
  std::ostringstream said;
  const FormResult result = form.Show(answers, said);
  ASSERT_TRUE(result) << result.Problem() << said.str();
  EXPECT_EQ(name, "CLIP");
  EXPECT_EQ(port, 8080);
  EXPECT_EQ(level, 5);
  EXPECT_EQ(even, 4);
  for (const char* line : {"NAME: required", "PORT: 1 to 65535: 0", "LEVEL: 0 to 255: 300", "EVEN: not even: 3"})
    EXPECT_NE(said.str().find(line), std::string::npos) << line << "\n" << said.str();

  std::istringstream none("");
  const FormResult cancelled = form.Show(none, said);
  EXPECT_EQ(cancelled.End(), FormEntryEnd::Cancelled);
  EXPECT_EQ(cancelled.Problem(), "cancelled");
}

// Confirmed as it stands: every variable comes back as it went in, to the
// bit, values no one could type among them.
TEST(TypedForm, AnUntouchedFormGivesEveryVariableBackExactly) {
  std::string name = "Мой клип";
  std::int16_t year = -32768;
  std::int32_t frames = std::numeric_limits<std::int32_t>::min();
  float speed = std::bit_cast<float>(0x7fa00001u);  // a signalling NaN with a payload
  double seconds = -0.0;
  Choice kind{2}, play{1};
  Form form;
  form.Field("NAME", name).Field("YEAR", year).Field("FRAMES", frames).Field("SPEED", speed);
  form.Field("SECONDS", seconds).Field("KIND", kind, {"FILM", "NEWS"}).Buttons(play, {"SAVE"});
  const FormResult result = form.Show(FormDisplay::Unattended);
  ASSERT_TRUE(result) << result.Problem();
  EXPECT_EQ(name, "Мой клип");
  EXPECT_EQ(year, -32768);
  EXPECT_EQ(frames, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(std::bit_cast<std::uint32_t>(speed), 0x7fa00001u);
  EXPECT_TRUE(std::signbit(seconds));
  EXPECT_EQ(kind, Choice{2});
  EXPECT_EQ(play, Choice{0});  // no button pressed
}

}  // namespace

}  // namespace formreel
