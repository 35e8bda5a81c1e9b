// The form as it stands on the screen: window and control rectangles, texts,
// lists, the caption, and the pixels the form paints itself.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "driver/form_driver.h"
#include "forms/core/layout.h"
#include "forms/core/painting.h"

namespace formreel {

namespace {

using namespace std::string_literals;

const std::string NameForm = "CAVI FILE NAME LESS EXTENSION^Quit NOW ^|\0"s;
const std::string NextActionForm =
    "SNEXT ACTION     ^EXIT PROGRAM^BACKUP ONE FORM^RETURN TO CURRENT FORM^|hOOPS! Chose Next Action|\0"s;

// Rectangles as "x,y widthxheight", whether the window system's or the layout's.
std::string BoxText(const Box& b) {
  return std::to_string(b.x) + "," + std::to_string(b.y) + " " + std::to_string(b.width) + "x" +
         std::to_string(b.height);
}
std::string BoxText(const RECT& r) { return BoxText(Box{r.left, r.top, r.right - r.left, r.bottom - r.top}); }

std::string Control(int id) { return BoxText(ClientBox(FormControl(id))); }

// The window and its controls stand where the layout puts them for the
// metrics the form measured (the layout's numbers: layout_test.cpp).
void ExpectLaidOut(const FormMetrics& m) {
  RECT window{};
  GetWindowRect(OpenFormWindow(), &window);
  EXPECT_EQ(BoxText(window), BoxText(Box{0, 0, FormWindowWidth(m), FormWindowHeight(m)}));
  EXPECT_EQ(Control(200), BoxText(OkButtonBox(m)));
  EXPECT_EQ(Control(201), BoxText(CancelButtonBox(m)));
}

std::vector<std::string> ListEntries(int id) {
  std::vector<std::string> entries;
  const auto count = SendMessageA(FormControl(id), CB_GETCOUNT, 0, 0);
  for (LRESULT k = 0; k < count; ++k) {
    char text[100] = {};
    SendMessageA(FormControl(id), CB_GETLBTEXT, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(text));
    entries.push_back(text);
  }
  return entries;
}

void Screenshot(const std::string& name) {
  RECT area{};
  GetWindowRect(OpenFormWindow(), &area);
  EXPECT_TRUE(SaveScreenshot(area, name));
}

using Lines = std::vector<std::string>;

// Runs `checks` on a live form built from `descriptor`, then cancels it;
// returns the log of the windows it made and the messages sent to them.
Lines Inspect(const std::string& descriptor, std::vector<std::int8_t> selections,
              std::vector<ValueSlot> values, std::function<void()> checks) {
  selections.resize(20);
  values.resize(20);
  FormScript script;
  script.Idle().Do(std::move(checks)).Escape();
  WindowCallLog log;
  EXPECT_FALSE(RunForm(script, descriptor, selections, values));
  EXPECT_FALSE(script.stuck());
  // The form window comes first. Its position and size are placeholders that
  // the form replaces, and which the window system may already have
  // replaced with its defaults before the log sees them.
  EXPECT_EQ(log.lines.at(0).substr(0, 34), "create FORM_ENTRY 'FORM' 00cc4000 ");
  return Lines(log.lines.begin() + 1, log.lines.end());
}

TEST(FormWindowNameForm, GeometryTextsAndList) {
  char name[31] = "CLIP";
  FormMetrics m{};
  const Lines log = Inspect(NameForm, {0}, {Slot(&name[0])}, [&m] {
    m = formState.metrics;
    // The metrics are the system font's cell, measured by the form.
    EXPECT_EQ(m.charWidth, 8);
    EXPECT_EQ(m.lineHeight, 16);
    ExpectLaidOut(m);
    EXPECT_EQ(WindowText(OpenFormWindow()), "FORM");
    EXPECT_EQ(WindowText(FormControl(202)), "CLIP");
    EXPECT_EQ(SendMessageA(FormControl(202), CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(ListEntries(202), (std::vector<std::string>{"Quit NOW "}));
    EXPECT_EQ(WindowText(FormControl(200)), "O.K.");
    EXPECT_EQ(WindowText(FormControl(201)), "CANCEL");
    EXPECT_EQ(FocusedControl(), FormControl(202));
    Screenshot("name-form");
  });
  // What the form asked of the window system. (A combo box keeps only the
  // closed height and moves its border and scroll bar to its list, so the
  // creation arguments are the place to see them.)
  const std::string row = std::to_string(ControlRowHeight(m));
  EXPECT_EQ(log, (Lines{
                     "create combobox '' 50a00002 " + BoxText(ComboBoxBox(m, 1)) + " id 202",
                     "202 WM_SETTEXT 'CLIP'",
                     "202 CB_ADDSTRING 'Quit NOW '",
                     "202 CB_SETITEMHEIGHT 0 " + row,
                     "202 CB_SETITEMHEIGHT -1 " + row,
                     "create button 'O.K.' 50000000 " + BoxText(OkButtonBox(m)) + " id 200",
                     "create button 'CANCEL' 50000000 " + BoxText(CancelButtonBox(m)) + " id 201",
                 }));
}

TEST(FormWindowNextActionForm, SelectedEntryAndHeading) {
  const Lines log = Inspect(NextActionForm, {1}, {}, [] {
    EXPECT_EQ(WindowText(OpenFormWindow()), "OOPS! Chose Next Action");
    EXPECT_EQ(WindowText(FormControl(202)), "EXIT PROGRAM");
    EXPECT_EQ(ListEntries(202),
              (std::vector<std::string>{"EXIT PROGRAM", "BACKUP ONE FORM", "RETURN TO CURRENT FORM"}));
    Screenshot("next-action-form");
  });
  // A selection list is the combo box without an edit field (style 3).
  ASSERT_GT(log.size(), 5u);
  EXPECT_EQ(log[0].rfind("create combobox '' 50a00003 ", 0), 0u) << log[0];
  EXPECT_EQ(Lines(log.begin() + 1, log.begin() + 6), (Lines{
                                                       "202 CB_ADDSTRING 'EXIT PROGRAM'",
                                                       "202 CB_ADDSTRING 'BACKUP ONE FORM'",
                                                       "202 CB_ADDSTRING 'RETURN TO CURRENT FORM'",
                                                       "form WM_SETTEXT 'OOPS! Chose Next Action'",
                                                       "202 CB_SETCURSEL 0",
                                                   }));
}

TEST(FormWindowNameForm, ReturningWithTheEntryChosenShowsIt) {
  char name[31] = "";
  Inspect(NameForm, {1}, {Slot(&name[0])}, [] {
    EXPECT_EQ(WindowText(FormControl(202)), "Quit NOW ");
    EXPECT_EQ(SendMessageA(FormControl(202), CB_GETCURSEL, 0, 0), 0);
  });
}

TEST(FormWindowButtonGroups, ARowOfButtonsNumberedAcrossTheForm) {
  Inspect("BONE^TWO^THREE^|BFOUR^|CTEXT^|\0"s, {}, {}, [] {
    const FormMetrics& m = formState.metrics;
    EXPECT_EQ(Control(305), BoxText(GroupButtonBox(m, 1, 1, 3)));
    EXPECT_EQ(Control(306), BoxText(GroupButtonBox(m, 1, 2, 3)));
    EXPECT_EQ(Control(307), BoxText(GroupButtonBox(m, 1, 3, 3)));
    EXPECT_EQ(Control(308), BoxText(GroupButtonBox(m, 2, 1, 1)));
    EXPECT_EQ(WindowText(FormControl(305)), "ONE");
    EXPECT_EQ(WindowText(FormControl(307)), "THREE");
    EXPECT_EQ(WindowText(FormControl(308)), "FOUR");
    EXPECT_EQ(FormControl(309), nullptr);
    // A closed combo box keeps a height of its own.
    const RECT combo = ClientBox(FormControl(204));
    const Box laid = ComboBoxBox(m, 3);
    EXPECT_EQ(BoxText(Box{combo.left, combo.top, combo.right - combo.left, laid.height}), BoxText(laid));
    EXPECT_EQ(FocusedControl(), FormControl(305));  // a leading group starts on its first button
    Screenshot("button-groups");
  });
}

TEST(FormWindowInitialTexts, NumbersShownAsTheirDisplayTexts) {
  Inspect("IA^|LB^|RC^|RD^|DE^|RF^|RG^|DH^|DJ^|\0"s, {},
          {Slot<std::int16_t>(42), Slot<std::int32_t>(-7), Slot(0.5f), Slot(-0.25f), Slot(0.0), Slot(5.0f),
           Slot(123.456f), Slot(1.5e13), Slot(-1e300)},
          [] {
            const char* expected[] = {"42", "-7", ".5", "-.25", "0.0", "5.", "123.456", "15000000000000."};
            for (int k = 0; k < 8; ++k) EXPECT_EQ(WindowText(FormControl(202 + k)), expected[k]) << k;
            EXPECT_EQ(WindowText(FormControl(210)), std::string(29, '*'));
          });
}

// The form's own text, compared pixel for pixel with the same text drawn
// in the same font on a blank bitmap of exactly the text's cells.
class TextPixels {
 public:
  explicit TextPixels(HWND window) : dc_(GetDC(window)), window_(window) {}
  ~TextPixels() { ReleaseDC(window_, dc_); }

  // Counts the pixels of the cells of `text` at (x, y) where the window
  // differs from `text` drawn in the stock fixed font on the window colour.
  int Differences(int x, int y, const std::string& text) const {
    return Differences(x, y, std::wstring(text.begin(), text.end()));
  }
  int Differences(int x, int y, const std::wstring& text) const {
    HDC memory = CreateCompatibleDC(dc_);
    SelectObject(memory, GetStockObject(SYSTEM_FIXED_FONT));
    SIZE cells{};
    GetTextExtentPoint32W(memory, text.data(), static_cast<int>(text.size()), &cells);
    HBITMAP bitmap = CreateCompatibleBitmap(dc_, cells.cx, cells.cy);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all{0, 0, cells.cx, cells.cy};
    HBRUSH background = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
    FillRect(memory, &all, background);
    DeleteObject(background);
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, GetSysColor(COLOR_WINDOWTEXT));
    TextOutW(memory, 0, 0, text.data(), static_cast<int>(text.size()));
    int differences = 0;
    for (int dy = 0; dy < cells.cy; ++dy)
      for (int dx = 0; dx < cells.cx; ++dx)
        if (GetPixel(memory, dx, dy) != GetPixel(dc_, x + dx, y + dy)) ++differences;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return differences;
  }

 private:
  HDC dc_;
  HWND window_;
};

TEST(FormWindowPainting, PromptsMarksTextLinesAndKeyHelpAtTheirPixels) {
  Inspect("THELLO\\|CAVI FILE NAME LESS EXTENSION^Quit NOW ^|\0"s, {}, {}, [] {
    const TextPixels pixels(OpenFormWindow());
    // Line 1: a text line, centred in 60 columns: 27 blanks, HELLO, 28 blanks.
    EXPECT_EQ(pixels.Differences(8, 16, std::string(27, ' ') + "HELLO" + std::string(28, ' ')), 0);
    EXPECT_GT(pixels.Differences(16, 16, std::string(27, ' ') + "HELLO"), 0);
    // Line 2: the prompt at (8, 48) and its mark at (485, 52).
    EXPECT_EQ(pixels.Differences(8, 48, "AVI FILE NAME LESS EXTENSION"), 0);
    EXPECT_EQ(pixels.Differences(485, 52, "~"), 0);
    EXPECT_GT(pixels.Differences(486, 52, "~"), 0);  // one pixel off is seen
    // Key help: lineCount 2, so rows 2 x 2 + 4 = 8 and 9 line heights down.
    EXPECT_EQ(pixels.Differences(8, 128, std::string(WindowKeyHelp.first)), 0);
    EXPECT_EQ(pixels.Differences(8, 144, std::string(WindowKeyHelp.second)), 0);
    EXPECT_GT(pixels.Differences(8, 145, std::string(WindowKeyHelp.second)), 0);
    Screenshot("text-line-and-field");
  });
}

// A hidden text is painted as masks: two texts of one length leave the
// same pixels, where a C field's show which is which.
TEST(FormWindowPainting, AHiddenTextLeavesNoTraceOfItsCharacters) {
  for (const char letter : {'P', 'C'}) {
    std::string shots[2];
    for (const int k : {0, 1}) {
      const std::string name = letter + "-field-"s + std::to_string(k);
      FormScript script;  // the screenshot once the caret has left the field
      script.Type(k == 0 ? "SECRET" : "PUBLIC").Tab().Do([name] { Screenshot(name); }).Escape();
      std::int8_t selections[1] = {};
      ValueSlot values[1] = {};
      EXPECT_FALSE(RunForm(script, letter + "KEY^|\0"s, selections, values));
      std::ifstream file("screenshots\\" + name + ".bmp", std::ios::binary);
      shots[k].assign(std::istreambuf_iterator<char>(file), {});
    }
    EXPECT_EQ(shots[0] == shots[1], letter == 'P') << letter;
  }
}

// The program's code page is UTF-8 (its manifest): a text line is centred
// by its columns, and Cyrillic and CJK are painted as characters.
TEST(FormWindowPainting, TextInAnyScriptIsPaintedAsCharacters) {
  Inspect("TЗаявка на клип\\|CИМЯ^|C名前^|HФорма / フォーム|\0"s, {}, {}, [] {
    const TextPixels pixels(OpenFormWindow());
    EXPECT_EQ(pixels.Differences(8, 16, std::wstring(23, L' ') + L"Заявка на клип" + std::wstring(23, L' ')), 0);
    EXPECT_EQ(pixels.Differences(8, 48, L"ИМЯ"), 0);
    EXPECT_EQ(pixels.Differences(8, 80, L"名前"), 0);
    Screenshot("any-script");
  });
}

}  // namespace

}  // namespace formreel
