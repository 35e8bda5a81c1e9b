// Working a form from the keyboard and the mouse: moving between fields,
// confirming, cancelling, and the values read back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "driver/form_driver.h"

namespace formreel {

namespace {

using namespace std::string_literals;

// A step that checks which control has the focus, by identifier.
std::function<void()> FocusIs(int id) {
  return [id] { EXPECT_EQ(GetDlgCtrlID(FocusedControl()), id); };
}

// Walks `count` steps with `key` (ENTER, TAB or CTRL-BACKSPACE) and records
// the identifier of the focused control after each.
void Walk(FormScript& script, int count, WORD key, bool ctrl, std::vector<int>& stops) {
  for (int k = 0; k < count; ++k)
    script.Key(key, ctrl).Do([&stops] { stops.push_back(GetDlgCtrlID(FocusedControl())); });
}

struct Arrays {
  std::int8_t selections[20] = {};
  ValueSlot values[20] = {};
};

// Each key reaches the navigation step from every kind of control (an
// editable field, a group's button, a number field, CANCEL); the order of
// the stops is the navigation's own (navigation_test.cpp).
TEST(WorkingNavigation, EnterTabAndCtrlBackspaceStepFromEveryKindOfControl) {
  Arrays a;
  std::vector<int> stops;
  FormScript script;
  script.Do(FocusIs(202));
  Walk(script, 1, VK_RETURN, false, stops);  // field -> group
  Walk(script, 1, VK_TAB, false, stops);     // button -> button
  Walk(script, 1, VK_RETURN, false, stops);  // button -> number
  Walk(script, 3, VK_BACK, true, stops);     // number -> button -> button -> field
  Walk(script, 1, VK_BACK, true, stops);     // field -> CANCEL (round)
  Walk(script, 1, VK_RETURN, false, stops);  // CANCEL -> field (round)
  script.Escape();
  EXPECT_FALSE(RunForm(script, "CTEXT^|BONE^TWO^|INUMBER^|\0"s, a.selections, a.values));
  EXPECT_EQ(stops, (std::vector<int>{305, 306, 204, 306, 305, 202, 201, 202}));
}

TEST(WorkingNavigation, AClickElsewhereDoesNotMoveThePosition) {
  Arrays a;
  FormScript script;
  script.Click([] { return FormControl(204); })
      .Do([] { EXPECT_EQ(FocusedControl(), FormControl(204)); })
      .Enter()
      .Do(FocusIs(203))  // on from field 1, where navigation left it
      .Escape();
  EXPECT_FALSE(RunForm(script, "CA^|CB^|CC^|\0"s, a.selections, a.values));
  EXPECT_FALSE(script.stuck());
}

TEST(WorkingNavigation, TheFormWindowPassesTheFocusOn) {
  Arrays a;
  FormScript script;
  script.Enter()
      .Do([] { SetFocus(OpenFormWindow()); })
      .Do(FocusIs(203))
      .Escape();
  EXPECT_FALSE(RunForm(script, "CA^|CB^|\0"s, a.selections, a.values));
}

TEST(WorkingConfirm, EnterOnOkMovesToCancelAndSpaceOnOkConfirms) {
  Arrays a;
  FormScript script;
  script.Enter().Do(FocusIs(200)).Enter().Do(FocusIs(201)).CtrlBackspace().Do(FocusIs(200)).Space();
  EXPECT_TRUE(RunForm(script, "IN^|\0"s, a.selections, a.values));
  EXPECT_FALSE(script.stuck());
}

TEST(WorkingConfirm, SpaceOnCancelCancelsAndAClickOnOkConfirms) {
  Arrays a;
  FormScript cancel;
  cancel.CtrlBackspace().Do(FocusIs(201)).Space();
  EXPECT_FALSE(RunForm(cancel, "IN^|\0"s, a.selections, a.values));
  EXPECT_FALSE(cancel.stuck());
  FormScript ok;
  ok.Click([] { return FormControl(200); });
  EXPECT_TRUE(RunForm(ok, "IN^|\0"s, a.selections, a.values));
  EXPECT_FALSE(ok.stuck());
}

TEST(WorkingReadBack, EveryFieldTypeFromTypedText) {
  char text[31] = "OLD";
  Arrays a;
  a.values[0] = Slot(&text[0]);
  for (int k = 1; k < 5; ++k) a.values[k] = Slot<double>(99);  // non-zero bytes everywhere
  FormScript script;
  script.Type("NEW NAME").Tab().Type("12").Tab().Type("-70000").Tab().Type("1.5").Tab().Type("2.5D-3").CtrlEnter();
  EXPECT_TRUE(RunForm(script, "CNAME^|ISHORT^|LLONG^|RSINGLE^|DDOUBLE^|\0"s, a.selections, a.values));
  EXPECT_STREQ(text, "NEW NAME");
  EXPECT_EQ(a.values[1].Get<std::int16_t>(), 12);
  EXPECT_EQ(a.values[2].Get<std::int32_t>(), -70000);
  EXPECT_EQ(a.values[3].Get<float>(), 1.5f);
  EXPECT_EQ(a.values[4].Get<double>(), 2.5e-3);
  // The bytes beyond a value are zero.
  EXPECT_EQ(a.values[1].Get<std::uint64_t>() >> 16, 0u);
  EXPECT_EQ(a.values[2].Get<std::uint64_t>() >> 32, 0u);
  EXPECT_EQ(a.values[3].Get<std::uint64_t>() >> 32, 0u);
  for (int k = 0; k < 5; ++k) EXPECT_EQ(a.selections[k], 0) << k;
}

TEST(WorkingReadBack, EmptyNumberFieldsReadAsZero) {
  Arrays a;
  a.values[0] = Slot<std::int16_t>(5);
  a.values[1] = Slot<std::int32_t>(6);
  a.values[2] = Slot(7.0f);
  a.values[3] = Slot(8.0);
  FormScript script;
  for (int k = 0; k < 4; ++k) script.Key(VK_DELETE).Tab();
  script.CtrlEnter();
  EXPECT_TRUE(RunForm(script, "IA^|LB^|RC^|DD^|\0"s, a.selections, a.values));
  EXPECT_EQ(a.values[0].Get<std::int16_t>(), 0);
  EXPECT_EQ(a.values[1].Get<std::int32_t>(), 0);
  EXPECT_EQ(a.values[2].Get<float>(), 0.0f);
  EXPECT_EQ(a.values[3].Get<double>(), 0.0);
}

TEST(WorkingReadBack, LongNumbersAreReadFromTheirFirstThirtyColumns) {
  Arrays a;
  FormScript script;
  // Typed into the edit field directly: the field's width would stop typing.
  script.Do([] { SetWindowTextA(FormControl(202), (std::string(29, '0') + "1234").c_str()); })
      .Do([] { SetWindowTextA(FormControl(203), (std::string(28, ' ') + "2.5E1").c_str()); })
      .CtrlEnter();
  EXPECT_TRUE(RunForm(script, "LA^|DB^|\0"s, a.selections, a.values));
  EXPECT_EQ(a.values[0].Get<std::int32_t>(), 1);
  EXPECT_EQ(a.values[1].Get<double>(), 2.0);
}

TEST(WorkingReadBack, AChosenEntryReturnsOnlyItsNumber) {
  char text[31] = "KEEP";
  Arrays a;
  a.values[0] = Slot<std::int16_t>(7);
  a.values[1] = Slot(&text[0]);
  FormScript script;
  script.Key(VK_DOWN).Key(VK_DOWN)
      .Do([] { EXPECT_EQ(WindowText(FormControl(202)), "20"); })
      .Tab().Key(VK_DOWN)
      .Tab().Key(VK_DOWN).Key(VK_DOWN).Key(VK_DOWN)
      .CtrlEnter();
  EXPECT_TRUE(RunForm(script, "IN^10^20^|CT^Quit NOW ^|SS^A^B^C^|\0"s, a.selections, a.values));
  EXPECT_EQ(a.selections[0], 2);
  EXPECT_EQ(a.values[0].Get<std::int16_t>(), 7);
  EXPECT_EQ(a.selections[1], 1);
  EXPECT_STREQ(text, "KEEP");
  EXPECT_EQ(a.selections[2], 3);
}

// Long and hidden texts typed beyond their 30 columns arrive whole; check
// boxes are positions, toggled by SPACE and by a click, which ends nothing.
TEST(WorkingReadBack, LongAndHiddenTextsAndCheckBoxes) {
  const std::string host = "staging-db-01.eu-west-1.example.com";
  char server[256] = "OLD", token[256] = "OLD";
  Arrays a;
  a.values[0] = Slot(&server[0]);
  a.values[1] = Slot(&token[0]);
  a.values[2] = Slot(std::uint8_t{1});
  FormScript script;
  script.Type(host).Tab().Type(host + "!").Tab().Do(FocusIs(400)).Space()  // MP4 off
      .Enter().CtrlBackspace().Do(FocusIs(400)).Enter().Do(FocusIs(401)).Space()  // WEBM on
      .Click([] { return FormControl(402); }).Do([] { EXPECT_NE(OpenFormWindow(), nullptr); }).CtrlEnter();
  EXPECT_TRUE(RunForm(script, "XSERVER^|PTOKEN^|MFORMATS^MP4^WEBM^GIF^|\0"s, a.selections, a.values));
  EXPECT_EQ(server + " "s + token, host + " " + host + "!");
  EXPECT_EQ(a.values[2].Get<std::uint8_t>(), 6);  // WEBM and GIF
}

TEST(WorkingReadBack, APressedGroupButtonConfirmsWithItsNumber) {
  Arrays a;
  a.selections[0] = 3;
  a.selections[2] = 1;
  FormScript script;
  script.Type("41").Enter().Enter().Do(FocusIs(306)).Space();  // field 2's second button
  EXPECT_TRUE(RunForm(script, "IN^|BA^B^C^|BD^E^|\0"s, a.selections, a.values));
  EXPECT_EQ(a.values[0].Get<std::int16_t>(), 41);
  EXPECT_EQ(a.selections[1], 2);
  EXPECT_EQ(a.selections[2], 0);

  FormScript click;
  click.Click([] { return FormControl(309); });  // field 3's second button
  EXPECT_TRUE(RunForm(click, "IN^|BA^B^C^|BD^E^|\0"s, a.selections, a.values));
  EXPECT_EQ(a.selections[1], 0);
  EXPECT_EQ(a.selections[2], 2);

  FormScript ok;
  ok.CtrlEnter();
  EXPECT_TRUE(RunForm(ok, "IN^|BA^B^C^|BD^E^|\0"s, a.selections, a.values));
  EXPECT_EQ(a.selections[1], 0);
  EXPECT_EQ(a.selections[2], 0);
}

// A value that does not convert keeps the form open on its field; nothing of
// the caller's changes unless the form is confirmed in the end.
TEST(WorkingBadValue, KeepsTheFormOpenOnTheField) {
  char name[31] = "ORIGINAL";
  Arrays a;
  a.values[0] = Slot(&name[0]);
  a.values[1] = Slot<std::int16_t>(5);
  a.values[2] = Slot<std::int32_t>(6);
  FormScript script;
  script.Type("TYPED").Tab().Type("40000").Tab().Type("77").CtrlEnter()
      .Do([] {
        ASSERT_NE(OpenFormWindow(), nullptr);
        EXPECT_EQ(FocusedControl(), FormControl(203));
        EXPECT_EQ(formState.currentField, 2);
        EXPECT_TRUE(formState.confirmed);
        EXPECT_EQ(formState.values[3].Get<std::int32_t>(), 6);  // field 3 is not read
      })
      .Escape();
  EXPECT_FALSE(RunForm(script, "CNAME^|IAGE^|LCOUNT^|\0"s, a.selections, a.values));
  EXPECT_STREQ(name, "ORIGINAL");
  EXPECT_EQ(a.values[1].Get<std::int16_t>(), 5);
  EXPECT_EQ(a.values[2].Get<std::int32_t>(), 6);
}

// Back on the bad value's field, its whole text is selected: what is typed
// next replaces it, whether the form was confirmed from that field or from
// another.
TEST(WorkingBadValue, TheValueTypedNextReplacesIt) {
  for (const bool fromNextField : {false, true}) {
    char name[31] = "ORIGINAL";
    Arrays a;
    a.values[0] = Slot(&name[0]);
    FormScript script;
    script.Type("TYPED").Tab().Type("1.0");
    if (fromNextField) script.Tab().Type("2001");
    script.CtrlEnter().Do(FocusIs(203)).Type("42").CtrlEnter();
    EXPECT_TRUE(RunForm(script, "CNAME^|IAGE^|IYEAR^|\0"s, a.selections, a.values)) << fromNextField;
    EXPECT_STREQ(name, "TYPED");
    EXPECT_EQ(a.values[1].Get<std::int16_t>(), 42) << fromNextField;
    EXPECT_EQ(a.values[2].Get<std::int16_t>(), fromNextField ? 2001 : 0);
  }
}

// A check refuses a value as a conversion does, silently (no message box),
// its text selected: a bound on a number, a program's own check on a P text.
TEST(WorkingBadValue, ACheckRefusesItTooAndTheValueTypedNextReplacesIt) {
  FieldCheck checks[2];
  checks[0].bounded = true;
  checks[0].lowest = 1;
  checks[0].highest = 65535;
  checks[1].own = [](const FieldAnswer& a) { return a.text.size() < 6 ? "short" : ""; };
  char key[256] = "";
  Arrays a;
  a.values[1] = Slot(&key[0]);
  FormScript script;
  script.Type("70000").Tab().Type("abc").CtrlEnter().Do(FocusIs(202))
      .Do([] { EXPECT_EQ(FindWindowA("#32770", nullptr), nullptr); })
      .Type("8080").CtrlEnter().Do(FocusIs(203)).Type("abcdef").CtrlEnter();
  EXPECT_TRUE(RunForm(script, "LPORT^|PKEY^|\0"s, a.selections, a.values, {checks}));
  EXPECT_EQ(a.values[0].Get<std::int32_t>(), 8080);
  EXPECT_STREQ(key, "abcdef");
}

TEST(WorkingBadValue, ACloseFromTheFrameAfterwardsIsACancel) {
  Arrays a;
  a.values[0] = Slot<std::int16_t>(5);
  FormScript script;
  script.Type("1E3").CtrlEnter()
      .Do([] { EXPECT_NE(OpenFormWindow(), nullptr); })
      .Do([] { SendMessageA(OpenFormWindow(), WM_SYSCOMMAND, SC_CLOSE, 0); });
  EXPECT_FALSE(RunForm(script, "IAGE^|\0"s, a.selections, a.values));
  EXPECT_EQ(a.values[0].Get<std::int16_t>(), 5);
}

// WM_COMMAND is matched on its whole first parameter: a button notification
// other than a click, and a combo box's notifications, leave the form open
// and unchanged.
TEST(WorkingCommands, NotificationsOtherThanAClickDoNothing) {
  char name[31] = "OLD";
  Arrays a;
  a.values[0] = Slot(&name[0]);
  a.selections[1] = 5;
  struct Notification {
    int id;
    WORD code;
  };
  const Notification notifications[] = {
      {200, BN_DOUBLECLICKED}, {200, BN_SETFOCUS}, {201, BN_KILLFOCUS}, {201, BN_DOUBLECLICKED},
      {305, BN_SETFOCUS},      {306, BN_DOUBLECLICKED}, {202, CBN_SELCHANGE}, {202, CBN_EDITCHANGE},
  };
  FormScript script;
  script.Type("NEW");
  for (const Notification& n : notifications) {
    script.Do([n] {
      SendMessageA(OpenFormWindow(), WM_COMMAND, MAKEWPARAM(n.id, n.code), reinterpret_cast<LPARAM>(FormControl(n.id)));
    });
    script.Do([n] {
      ASSERT_NE(OpenFormWindow(), nullptr) << n.id << " code " << n.code;
      EXPECT_FALSE(formState.confirmed) << n.id << " code " << n.code;
      EXPECT_EQ(WindowText(FormControl(202)), "NEW");
      EXPECT_EQ(FocusedControl(), FormControl(202));
    });
  }
  script.Escape();
  EXPECT_FALSE(RunForm(script, "CNAME^A^|BYES^NO^|\0"s, a.selections, a.values));
  EXPECT_FALSE(script.stuck());
  EXPECT_STREQ(name, "OLD");
  EXPECT_EQ(a.selections[1], 5);
}

}  // namespace

}  // namespace formreel
