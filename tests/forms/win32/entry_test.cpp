// The entry call and its modal loop on real windows, driven by keystrokes.
#include "forms/win32/entry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "driver/form_driver.h"

namespace formreel {

namespace {

using namespace std::string_literals;

const std::string TwoNumbers = "IFIRST^|LSECOND^|\0"s;

TEST(FormEntryCancel, EscapeLeavesTheCallersArraysAsTheyWere) {
  std::int8_t selections[3] = {5, 6, 7};
  ValueSlot values[3] = {Slot<std::int16_t>(11), Slot<std::int32_t>(22), Slot<std::int32_t>(33)};
  FormScript script;
  script.Type("99").Enter().Type("98").Escape();
  EXPECT_FALSE(RunForm(script, TwoNumbers, selections, values));
  EXPECT_FALSE(script.stuck());
  EXPECT_EQ(LastFormEntryEnd(), FormEntryEnd::Cancelled);
  EXPECT_EQ(selections[0], 5);
  EXPECT_EQ(selections[1], 6);
  EXPECT_EQ(values[0].Get<std::int16_t>(), 11);
  EXPECT_EQ(values[1].Get<std::int32_t>(), 22);
  EXPECT_EQ(values[2].Get<std::int32_t>(), 33);
}

TEST(FormEntryConfirm, WritesBackExactlyFieldCountEntries) {
  std::int8_t selections[3] = {0, 0, 7};
  ValueSlot values[3] = {Slot<std::int16_t>(11), Slot<std::int32_t>(22), Slot<std::int32_t>(33)};
  FormScript script;
  script.Type("12").Tab().Type("-34").CtrlEnter();
  EXPECT_TRUE(RunForm(script, TwoNumbers, selections, values));
  EXPECT_FALSE(script.stuck());
  EXPECT_EQ(LastFormEntryEnd(), FormEntryEnd::Confirmed);
  EXPECT_EQ(values[0].Get<std::int16_t>(), 12);
  EXPECT_EQ(values[1].Get<std::int32_t>(), -34);
  EXPECT_EQ(selections[2], 7);
  EXPECT_EQ(values[2].Get<std::int32_t>(), 33);
}

// The form keys become commands before any control sees them: a field's
// text never holds their characters, while BACKSPACE and CTRL-H edit.
TEST(FormEntryKeys, NeverReachAFieldsText) {
  char first[31] = "";
  char second[31] = "";
  std::int8_t selections[2] = {};
  ValueSlot values[2] = {Slot(&first[0]), Slot(&second[0])};
  auto focusIs = [](int id) { return [id] { EXPECT_EQ(FocusedControl(), FormControl(id)); }; };
  FormScript script;
  script.Type("ab").Enter().Do(focusIs(203))
      .Type("xyz").CtrlBackspace().Do(focusIs(202))
      .Tab().Do(focusIs(203))
      .Key(VK_END).Key(VK_BACK).Do(focusIs(203))
      .Key('H', true).Do(focusIs(203))
      .Escape();
  EXPECT_FALSE(RunForm(script, "CONE^|CTWO^|\0"s, selections, values));
  EXPECT_FALSE(script.stuck());
  EXPECT_STREQ(first, "");
  EXPECT_STREQ(second, "");

  // The same keys again, confirmed with CTRL-ENTER, show the texts.
  FormScript again;
  again.Type("ab").Enter().Type("xyz").CtrlBackspace().Tab().Key(VK_END).Key(VK_BACK).Key('H', true).CtrlEnter();
  EXPECT_TRUE(RunForm(again, "CONE^|CTWO^|\0"s, selections, values));
  EXPECT_STREQ(first, "ab");
  // BACKSPACE erased the "z"; whether CTRL-H erases too is the edit
  // control's affair (some edit controls ignore it with CTRL held).
  EXPECT_TRUE(std::strcmp(second, "xy") == 0 || std::strcmp(second, "x") == 0) << second;
}

// The characters as a keyboard layer that makes 127 for CTRL-BACKSPACE and
// 10 for CTRL-ENTER delivers them, posted to the focused edit field.
TEST(FormEntryKeys, CharactersPostedToAFieldBecomeCommands) {
  char first[31] = "", second[31] = "";
  std::int8_t selections[2] = {};
  ValueSlot values[2] = {Slot(&first[0]), Slot(&second[0])};
  auto post = [](WPARAM character) { return [character] { PostMessageA(GetFocus(), WM_CHAR, character, 0); }; };
  auto focusIs = [](int id) { return [id] { EXPECT_EQ(FocusedControl(), FormControl(id)); }; };
  FormScript script;
  script.Type("a").Do(post(13)).Do(focusIs(203))
      .Type("b").Do(post(127)).Do(focusIs(202))
      .Do(post(9)).Do(focusIs(203))
      .Do(post(8)).Do(focusIs(203))  // a plain BACKSPACE character edits
      .Do(post(10));
  EXPECT_TRUE(RunForm(script, "CONE^|CTWO^|\0"s, selections, values));
  EXPECT_FALSE(script.stuck());
  EXPECT_STREQ(first, "a");
  EXPECT_STREQ(second, "");

  FormScript escape;
  escape.Type("x").Do(post(27));
  EXPECT_FALSE(RunForm(escape, "CONE^|CTWO^|\0"s, selections, values));
  EXPECT_FALSE(escape.stuck());
  EXPECT_STREQ(first, "a");
}

TEST(FormEntryClose, FromTheFrameCountsAsCancel) {
  std::int8_t selections[1] = {3};
  ValueSlot values[1] = {Slot<std::int16_t>(4)};
  FormScript script;
  script.Type("5").Do([] { SendMessageA(OpenFormWindow(), WM_SYSCOMMAND, SC_CLOSE, 0); });
  EXPECT_FALSE(RunForm(script, "IN^|\0"s, selections, values));
  EXPECT_EQ(values[0].Get<std::int16_t>(), 4);
  EXPECT_EQ(selections[0], 3);

  // Also right after a confirmed form: the flag does not carry over.
  FormScript confirm;
  confirm.CtrlEnter();
  EXPECT_TRUE(RunForm(confirm, "IN^|\0"s, selections, values));
  FormScript close;
  close.Do([] { SendMessageA(OpenFormWindow(), WM_CLOSE, 0, 0); });
  EXPECT_FALSE(RunForm(close, "IN^|\0"s, selections, values));
}

TEST(FormEntryRegistration, TheClassIsRegisteredOnce) {
  std::int8_t selections[1] = {};
  ValueSlot values[1] = {};
  for (int k = 0; k < 3; ++k) {
    FormScript script;
    script.Escape();
    EXPECT_FALSE(RunForm(script, "\0"s, selections, values));
  }
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA info{};
  ASSERT_NE(GetClassInfoA(instance, FormClassName, &info), 0);
  // Without the class a form cannot be made, and a further call does not
  // register it again: it returns false at once and the class stays away.
  ASSERT_NE(UnregisterClassA(FormClassName, instance), 0);
  FormScript script;
  script.Escape();
  EXPECT_FALSE(RunForm(script, "\0"s, selections, values));
  EXPECT_FALSE(script.finished());
  WNDCLASSA after{};
  EXPECT_EQ(GetClassInfoA(instance, FormClassName, &after), 0);
  // Back for the tests that follow.
  info.lpszClassName = FormClassName;
  info.lpszMenuName = nullptr;
  ASSERT_NE(RegisterClassA(&info), 0);
}

// A time limit counts from the last key or click: keys alone and clicks
// alone, each for longer than the limit, keep the form open; idle, it ends
// unconfirmed as TimedOut.
TEST(FormEntryTimeLimit, EndsTheFormThatLongAfterTheLastKeyOrClick) {
  FormRules rules;
  rules.timeLimit = std::chrono::milliseconds(400);
  std::int8_t selections[1] = {};
  ValueSlot values[1] = {};
  FormScript busy, idle;
  for (int k = 0; k < 30; ++k) busy.Space();
  for (int k = 0; k < 30; ++k) busy.Click([] { return FormControl(400); });
  EXPECT_TRUE(RunForm(busy.CtrlEnter(), "MBOX^A^|\0"s, selections, values, rules));
  EXPECT_FALSE(RunForm(idle.Space(), "MBOX^A^|\0"s, selections, values, rules));
  EXPECT_EQ(LastFormEntryEnd(), FormEntryEnd::TimedOut);
  EXPECT_FALSE(idle.stuck());
  EXPECT_EQ(values[0], ValueSlot{});
}

TEST(FormEntryNoFields, ConfirmsAndCancels) {
  std::int8_t selections[1] = {9};
  ValueSlot values[1] = {};
  FormScript ok;
  ok.Do([] { EXPECT_EQ(WindowText(FocusedControl()), "O.K."); }).Space();
  EXPECT_TRUE(RunForm(ok, "\0"s, selections, values));
  EXPECT_EQ(selections[0], 9);
  FormScript cancel;
  cancel.Click([] { return FormControl(201); });
  EXPECT_FALSE(RunForm(cancel, "THEADLESS\\|\0"s, selections, values));
  EXPECT_FALSE(cancel.stuck());
}

TEST(FormEntryRefusal, ShowsNothingForABadDescriptor) {
  std::int8_t selections[21] = {1};
  ValueSlot values[21] = {Slot<std::int16_t>(2)};
  std::string tooMany;
  for (int k = 0; k < 21; ++k) tooMany += "CF^|";
  for (const std::string& bad : {tooMany + "\0"s, "ZWHAT^|\0"s, "CNO CLOSE^\0"s}) {
    FormScript script;
    script.Escape();
    WindowCallLog log;
    EXPECT_FALSE(RunForm(script, bad, selections, values)) << bad;
    EXPECT_EQ(LastFormEntryEnd(), FormEntryEnd::Refused) << bad;
    EXPECT_EQ(log.lines, std::vector<std::string>{}) << "a form was made for " << bad;
  }
  EXPECT_EQ(selections[0], 1);
  EXPECT_EQ(values[0], Slot<std::int16_t>(2));
}

TEST(FormEntryWindow, NoFormWindowMeansFalseAtOnce) {
  std::int8_t selections[1] = {4};
  ValueSlot values[1] = {Slot<std::int16_t>(5)};
  InstanceHandle instance = GetModuleHandleA(nullptr);
  WindowHandle notAWindow = reinterpret_cast<WindowHandle>(static_cast<UINT_PTR>(0x7FFF0));
  EXPECT_EQ(IsWindow(notAWindow), FALSE);
  const std::string descriptor = "IN^|\0"s;
  EXPECT_FALSE(FormEntry(instance, notAWindow, descriptor.data(), 5, selections, values));
  EXPECT_EQ(LastFormEntryEnd(), FormEntryEnd::NotShown);
  EXPECT_EQ(selections[0], 4);
  EXPECT_EQ(values[0].Get<std::int16_t>(), 5);
}

TEST(FormEntryArrays, ShorterThanTheFieldCountAreRefused) {
  std::int8_t selections[1] = {};
  ValueSlot values[1] = {};
  FormScript script;
  script.Escape();
  EXPECT_FALSE(RunForm(script, TwoNumbers, selections, values));
  EXPECT_FALSE(script.finished());
  EXPECT_EQ(LastFormEntryEnd(), FormEntryEnd::Refused);
}

// A second FormEntry while a form is open is refused and disturbs nothing:
// the open form, confirmed afterwards, hands back exactly its own fields.
class FormEntryWhileOpen : public testing::Test {
 protected:
  // The open form's caller.
  char name[31] = "FIRST";
  std::int8_t selections[2] = {0, 9};
  ValueSlot values[2] = {Slot(&name[0]), Slot<std::int32_t>(5)};
  // The second caller.
  char otherName[31] = "OTHER";
  std::int8_t otherSelections[2] = {3, 4};
  ValueSlot otherValues[2] = {Slot(&otherName[0]), Slot<std::int32_t>(6)};

  // The second call: its result, and whether it made any form window.
  bool SecondCall() {
    WindowCallLog log;
    InstanceHandle instance = GetModuleHandleA(nullptr);
    WindowHandle owner = nullptr;
    const std::string descriptor = "CSECOND^|LNUMBER^|\0"s;
    const bool result = FormEntry(instance, owner, descriptor.data(), static_cast<std::int32_t>(descriptor.size()),
                                  otherSelections, otherValues);
    madeWindows = !log.lines.empty();
    secondEnd = LastFormEntryEnd();
    return result;
  }

  void ExpectEachCallerHasItsOwn() {
    char expectedName[31] = "TYPED";
    EXPECT_EQ(std::memcmp(name, expectedName, sizeof name), 0) << name;
    const std::int8_t expectedSelections[2] = {0, 0};
    EXPECT_EQ(std::memcmp(selections, expectedSelections, sizeof selections), 0);
    const ValueSlot expectedValues[2] = {Slot(&name[0]), Slot<std::int32_t>(42)};
    EXPECT_EQ(std::memcmp(values, expectedValues, sizeof values), 0);

    char expectedOtherName[31] = "OTHER";
    EXPECT_EQ(std::memcmp(otherName, expectedOtherName, sizeof otherName), 0) << otherName;
    const std::int8_t expectedOtherSelections[2] = {3, 4};
    EXPECT_EQ(std::memcmp(otherSelections, expectedOtherSelections, sizeof otherSelections), 0);
    const ValueSlot expectedOtherValues[2] = {Slot(&otherName[0]), Slot<std::int32_t>(6)};
    EXPECT_EQ(std::memcmp(otherValues, expectedOtherValues, sizeof otherValues), 0);
  }

  bool madeWindows = true;
  FormEntryEnd secondEnd = FormEntryEnd::Confirmed;
};

TEST_F(FormEntryWhileOpen, ACallFromATimerIsRefused) {
  bool second = true;
  FormScript script;
  script.Type("TYPED").Tab().Type("42")
      .Do([&] { second = SecondCall(); })
      .Do([] { EXPECT_EQ(FocusedControl(), FormControl(203)); })
      .CtrlEnter();
  EXPECT_TRUE(RunForm(script, "CNAME^|LCOUNT^|\0"s, selections, values));
  EXPECT_FALSE(script.stuck());
  EXPECT_FALSE(second);
  EXPECT_FALSE(madeWindows);
  EXPECT_EQ(secondEnd, FormEntryEnd::Busy);
  // The second call's end is its own: the open form's caller sees its own.
  EXPECT_EQ(LastFormEntryEnd(), FormEntryEnd::Confirmed);
  ExpectEachCallerHasItsOwn();
}

TEST_F(FormEntryWhileOpen, ACallFromAnotherThreadIsRefused) {
  bool second = true;
  FormScript script;
  script.Type("TYPED").Tab().Type("42")
      .Do([&] { std::thread([&] { second = SecondCall(); }).join(); })
      .CtrlEnter();
  EXPECT_TRUE(RunForm(script, "CNAME^|LCOUNT^|\0"s, selections, values));
  EXPECT_FALSE(script.stuck());
  EXPECT_FALSE(second);
  EXPECT_FALSE(madeWindows);
  EXPECT_EQ(secondEnd, FormEntryEnd::Busy);
  // The second call's end is its own: the open form's caller sees its own.
  EXPECT_EQ(LastFormEntryEnd(), FormEntryEnd::Confirmed);
  ExpectEachCallerHasItsOwn();
}

// The loop turns the form keys into commands whatever window has the focus,
// the owner's included.
TEST(FormEntryKeys, WorkWhileTheFocusIsInTheOwner) {
  WNDCLASSA ownerClass{};
  ownerClass.lpfnWndProc = DefWindowProcA;
  ownerClass.hInstance = GetModuleHandleA(nullptr);
  ownerClass.lpszClassName = "FormEntryKeysOwner";
  RegisterClassA(&ownerClass);
  HWND owner = CreateWindowExA(0, "FormEntryKeysOwner", "OWNER", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 300, 200,
                               100, nullptr, nullptr, ownerClass.hInstance, nullptr);
  ASSERT_NE(owner, nullptr);
  auto toOwner = [owner] {
    SetFocus(owner);
    EXPECT_EQ(GetFocus(), owner);
  };
  auto focusIs = [](int id) { return [id] { EXPECT_EQ(FocusedControl(), FormControl(id)); }; };
  std::int8_t selections[2] = {};
  ValueSlot values[2] = {Slot<std::int16_t>(1), Slot<std::int16_t>(2)};
  const std::string descriptor = "IONE^|ITWO^|\0"s;
  auto run = [&](FormScript& script) {
    InstanceHandle instance = GetModuleHandleA(nullptr);
    WindowHandle formOwner = owner;
    script.Start();
    const bool confirmed = FormEntry(instance, formOwner, descriptor.data(),
                                     static_cast<std::int32_t>(descriptor.size()), selections, values);
    script.Stop();
    return confirmed;
  };

  FormScript moves;
  moves.Do(toOwner).Enter().Do(focusIs(203))
      .Do(toOwner).CtrlBackspace().Do(focusIs(202))
      .Do(toOwner).Tab().Do(focusIs(203))
      .Type("7").Do(toOwner).CtrlEnter();
  EXPECT_TRUE(run(moves));
  EXPECT_FALSE(moves.stuck());
  EXPECT_EQ(values[1].Get<std::int16_t>(), 7);

  FormScript cancel;
  cancel.Type("8").Do(toOwner).Escape();
  EXPECT_FALSE(run(cancel));
  EXPECT_FALSE(cancel.stuck());
  EXPECT_EQ(values[0].Get<std::int16_t>(), 1);
  DestroyWindow(owner);
}

// A quit message the form did not post ends it unconfirmed, also after a
// confirmation that stopped at a bad value, and goes on to the caller's loop;
// so does a form window destroyed from outside after such a confirmation.
TEST(FormEntryForeignEnd, EndsTheFormUnconfirmedAndPassesTheQuitOn) {
  struct Case {
    const char* name;
    bool badValueFirst;
    bool destroy;  // destroy the window instead of posting a quit
  };
  const Case cases[] = {{"quit", false, false}, {"quit after a bad value", true, false},
                        {"destroyed after a bad value", true, true}};
  for (const Case& c : cases) {
    char name[31] = "KEEP";
    std::int8_t selections[2] = {4, 5};
    ValueSlot values[2] = {Slot(&name[0]), Slot<std::int16_t>(6)};
    FormScript script;
    script.Type("NEW").Tab().Type("70000");
    if (c.badValueFirst) script.CtrlEnter().Do([] { ASSERT_NE(OpenFormWindow(), nullptr); });
    script.Do([c] {
      if (c.destroy)
        DestroyWindow(OpenFormWindow());
      else
        PostQuitMessage(7);
    });
    EXPECT_FALSE(RunForm(script, "CNAME^|IAGE^|\0"s, selections, values)) << c.name;
    EXPECT_FALSE(script.stuck()) << c.name;
    EXPECT_EQ(OpenFormWindow(), nullptr) << c.name;
    EXPECT_STREQ(name, "KEEP") << c.name;
    EXPECT_EQ(selections[0], 4) << c.name;
    EXPECT_EQ(selections[1], 5) << c.name;
    EXPECT_EQ(values[1], Slot<std::int16_t>(6)) << c.name;
    MSG quit{};
    const bool quitPending = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    if (c.destroy) {
      EXPECT_FALSE(quitPending) << c.name;  // the form's own quit ended its loop
    } else {
      ASSERT_TRUE(quitPending) << c.name;
      EXPECT_EQ(quit.wParam, 7u) << c.name;
      EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "a second quit for " << c.name;
    }
  }
}

}  // namespace

}  // namespace formreel
