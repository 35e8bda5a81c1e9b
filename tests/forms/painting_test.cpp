#include "forms/core/painting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace formreel {

namespace {

using namespace std::string_literals;

// What one paint draws, one text per line: "x,y 'text'".
struct Painted {
  explicit Painted(const FormState& state) {
    const FormPaint paint = PaintFormText(state);
    for (const PaintedText& piece : paint.Texts())
      drawn.push_back(std::to_string(piece.origin.x) + "," + std::to_string(piece.origin.y) + " '" +
                      std::string(piece.text.data(), piece.text.size()) + "'");
  }
  std::vector<std::string> drawn;
};

void Lines(std::int32_t count) {
  formState = FormState{};
  formState.metrics = MetricsFor(8, 16, count);
  for (int n = 1; n <= count; ++n) formState.lineMarks[n] = ' ';
}

const std::string Help1 = "ENTER or TAB=down   CTRL-BACKSPACE=up   ESCAPE = Cancel";
const std::string Help2 = "SPACE BAR presses button       CNTR-ENTER=confirms form";

TEST(PaintingLines, PromptsThirtyWideTextLinesSixtyMarksAlways) {
  Lines(3);
  const std::string prompt = "AVI FILE NAME" + std::string(17, ' ') + "\0tail"s;
  formState.lines[1] = FixedText<LineBytes>(prompt);
  formState.lineMarks[1] = '~';
  const std::string centred = std::string(28, ' ') + "ABCD";
  formState.lines[2] = FixedText<LineBytes>(centred);
  formState.lines[3] = FixedText<LineBytes>("\0BUTTONS"s);
  const Painted canvas(formState);
  EXPECT_EQ(canvas.drawn, (std::vector<std::string>{
                              "8,16 'AVI FILE NAME" + std::string(17, ' ') + "'",
                              "485,20 '~'",
                              "8,48 '" + std::string(28, ' ') + "ABCD" + std::string(28, ' ') + "'",
                              "485,52 ' '",
                              "485,84 ' '",  // a group's line: no text, the mark all the same
                              "8,160 '" + Help1 + "'",
                              "8,176 '" + Help2 + "'",
                          }));
}

TEST(PaintingLines, NoLinesDrawOnlyTheKeyHelp) {
  Lines(0);
  const Painted canvas(formState);
  EXPECT_EQ(canvas.drawn, (std::vector<std::string>{"8,64 '" + Help1 + "'", "8,80 '" + Help2 + "'"}));
}

TEST(PaintingLines, ElevenLinesStartAtTheTop) {
  Lines(11);
  for (int n = 1; n <= 11; ++n) formState.lines[n] = FixedText<LineBytes>("L" + std::to_string(n));
  const Painted canvas(formState);
  ASSERT_EQ(canvas.drawn.size(), 24u);
  EXPECT_EQ(canvas.drawn[0].substr(0, 8), "8,0 'L1 ");
  EXPECT_EQ(canvas.drawn[1], "485,4 ' '");
  EXPECT_EQ(canvas.drawn[2].substr(0, 9), "8,19 'L2 ");
  EXPECT_EQ(canvas.drawn[22].substr(0, 6), "8,233 ");
  EXPECT_EQ(canvas.drawn[23].substr(0, 6), "8,249 ");
}

}  // namespace

}  // namespace formreel
