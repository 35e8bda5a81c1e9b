// The file name made from the typed name, the composed open and window
// commands (all 80 characters), and the text handed to the media layer.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>

#include "app/video_command.h"
#include "text/fatal_error.h"

namespace formreel::app {

namespace {

using namespace std::string_literals;

std::string Blanks(std::size_t n) { return std::string(n, ' '); }
const std::string Letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";  // 30 characters

// The name buffer as the form leaves it: `name`, a NUL, and whatever the
// buffer held before (blanks here) up to its 31 bytes.
FixedText<31> TypedName(const std::string& name) {
  FixedText<31> buffer;
  for (std::size_t k = 0; k < name.size(); ++k) buffer.Set(static_cast<int>(k + 1), name[k]);
  buffer.Set(static_cast<int>(name.size() + 1), '\0');
  return buffer;
}


std::string Str(const Record& record) { return std::string(record.View()); }

TEST(MakeVideoFileName, NameThenExtensionThenBlanksCutAtThirty) {
  const struct {
    std::string name;
    std::string fileName;
    std::int32_t nameEnd;
  } rows[] = {
      {"", ".AVI" + Blanks(26), 1},
      {"CLIP", "CLIP.AVI" + Blanks(22), 5},
      {"my clip", "my clip.AVI" + Blanks(19), 8},
      {Letters.substr(0, 26), Letters.substr(0, 26) + ".AVI", 27},
      {Letters.substr(0, 27), Letters.substr(0, 27) + ".AV", 28},
      {Letters.substr(0, 28), Letters.substr(0, 28) + ".A", 29},
      {Letters.substr(0, 29), Letters.substr(0, 29) + ".", 30},
      {Letters, Letters, 31},
  };
  for (const auto& row : rows) {
    VideoFileName fileName("untouched positions would show");
    std::int32_t nameEnd = -7;
    MakeVideoFileName(TypedName(row.name).All(), fileName, nameEnd);
    EXPECT_EQ(std::string(fileName.View()), row.fileName) << row.name;
    EXPECT_EQ(nameEnd, row.nameEnd) << row.name;
  }
}

TEST(MakeVideoFileName, StopsAtTheFirstNulAndReadsOnlyThirtyCharacters) {
  VideoFileName fileName;
  std::int32_t nameEnd = 0;
  MakeVideoFileName(TextView("AB\0CDEFG"s + Blanks(22)), fileName, nameEnd);
  EXPECT_EQ(std::string(fileName.View()), "AB.AVI" + Blanks(24));
  EXPECT_EQ(nameEnd, 3);
  // No NUL among the first 30: the 31st character is never looked at.
  MakeVideoFileName(TextView(Letters + "XYZ"), fileName, nameEnd);
  EXPECT_EQ(std::string(fileName.View()), Letters);
  EXPECT_EQ(nameEnd, 31);
  MakeVideoFileName(EmptyText<31>().All(), fileName, nameEnd);
  EXPECT_EQ(std::string(fileName.View()), ".AVI" + Blanks(26));
  EXPECT_EQ(nameEnd, 1);
}

TEST(MakeVideoFileName, NameShorterThanThirtyIsFatal) {
  VideoFileName fileName;
  std::int32_t nameEnd = 0;
  EXPECT_EXIT(MakeVideoFileName(TextView("CLIP"s), fileName, nameEnd),
              testing::ExitedWithCode(FatalExitStatus), "shorter than 30");
}

const std::string AliasTail = " alias test\0"s + Blanks(33);

TEST(OpenCommand, FileNameRightAlignedInThirtyColumnsThenOneNulAndBlanks) {
  const struct {
    std::string name;
    std::string command;
  } rows[] = {
      {"", "open " + Blanks(26) + ".AVI" + AliasTail},
      {"CLIP", "open " + Blanks(22) + "CLIP.AVI" + AliasTail},
      {Letters.substr(0, 26), "open " + Letters.substr(0, 26) + ".AVI" + AliasTail},
      {Letters.substr(0, 27), "open " + Letters.substr(0, 27) + ".AV" + AliasTail},
      {Letters.substr(0, 29), "open " + Letters.substr(0, 29) + "." + AliasTail},
      {Letters, "open " + Letters + AliasTail},
  };
  for (const auto& row : rows) {
    VideoFileName fileName;
    std::int32_t nameEnd = 0;
    MakeVideoFileName(TypedName(row.name).All(), fileName, nameEnd);
    Record command(std::string(80, 'x'));
    ASSERT_EQ(ComposeOpenCommand(command, fileName, nameEnd), RecordStatus::Ok) << row.name;
    EXPECT_EQ(Str(command), row.command) << row.name;
  }
}

TEST(OpenCommand, NeverSetFileNameGivesOpenAndBlanksBeforeItsNuls) {
  // A cancelled name form: the file name still holds two NULs and blanks,
  // and nameEnd is 0, so the item is its first three characters.
  Record command;
  ASSERT_EQ(ComposeOpenCommand(command, EmptyText<30>(), 0), RecordStatus::Ok);
  EXPECT_EQ(Str(command), "open " + Blanks(27) + "\0\0 "s + AliasTail);
}

TEST(OpenCommand, FileNamePieceLiesWhereTheNameWasWritten) {
  const struct {
    std::int32_t nameEnd;
    std::size_t first;
    std::size_t length;
  } rows[] = {
      {0, 32, 3}, {1, 31, 4}, {5, 27, 8}, {27, 5, 30}, {31, 5, 30}, {-10, 35, 0}, {INT_MAX, 5, 30},
  };
  for (const auto& row : rows) {
    const CommandPiece piece = OpenCommandNamePiece(row.nameEnd);
    EXPECT_EQ(piece.first, row.first) << row.nameEnd;
    EXPECT_EQ(piece.length, row.length) << row.nameEnd;
  }
}

TEST(WindowCommand, HandleRightAlignedInTwelveColumnsThenOneNulAndBlanks) {
  const struct {
    std::int32_t handle;
    std::string command;
  } rows[] = {
      {1234, "window test handle" + Blanks(8) + "1234\0"s + Blanks(49)},
      {-1, "window test handle" + Blanks(10) + "-1\0"s + Blanks(49)},
      {0, "window test handle" + Blanks(11) + "0\0"s + Blanks(49)},
      {INT32_MAX, "window test handle  2147483647\0"s + Blanks(49)},
      {INT32_MIN, "window test handle -2147483648\0"s + Blanks(49)},
  };
  for (const auto& row : rows) {
    Record command(std::string(80, 'x'));
    ASSERT_EQ(ComposeWindowCommand(command, row.handle), RecordStatus::Ok);
    EXPECT_EQ(Str(command), row.command) << row.handle;
  }
}

// What the media layer receives for the open command of a typed name.
std::string SentOpenCommand(const std::string& name) {
  VideoFileName fileName;
  std::int32_t nameEnd = 0;
  MakeVideoFileName(TypedName(name).All(), fileName, nameEnd);
  Record command;
  EXPECT_EQ(ComposeOpenCommand(command, fileName, nameEnd), RecordStatus::Ok);
  std::array<char, SentCommandCapacity> text{};
  EXPECT_EQ(SentCommandText(command.All(), OpenCommandNamePiece(nameEnd), text),
            CommandTextStatus::Ok);
  return text.data();
}

TEST(SentCommandText, OpenCommandLosesItsPaddingAndQuotesANameWithBlanks) {
  const struct {
    std::string name;
    std::string sent;
  } rows[] = {
      {"CLIP", "open CLIP.AVI alias test"},
      {"", "open .AVI alias test"},
      {Letters.substr(0, 26), "open " + Letters.substr(0, 26) + ".AVI alias test"},
      {Letters, "open " + Letters + " alias test"},
      {"my clip", "open \"my clip.AVI\" alias test"},
      {"A  B", "open \"A  B.AVI\" alias test"},
      {" LEAD", "open \" LEAD.AVI\" alias test"},
      {"TRAIL ", "open \"TRAIL .AVI\" alias test"},
      {Letters.substr(0, 25) + " XYZ", "open \"" + Letters.substr(0, 25) + " XYZ.\" alias test"},
  };
  for (const auto& row : rows) EXPECT_EQ(SentOpenCommand(row.name), row.sent) << row.name;
}

TEST(SentCommandText, OtherCommandsEndAtTheirNulWithBlankRunsReduced) {
  const struct {
    std::string command;
    std::string sent;
  } rows[] = {
      {"window test handle" + Blanks(8) + "1234\0"s + Blanks(49), "window test handle 1234"},
      {"window test handle -2147483648\0"s + Blanks(49), "window test handle -2147483648"},
      {"play test wait\0"s, "play test wait"},
      {"close test\0"s, "close test"},
      {"open" + Blanks(28) + "\0\0 alias test\0"s, "open "},
      {"  a   b  ", " a b "},
      {"", ""},
  };
  for (const auto& row : rows) {
    std::array<char, SentCommandCapacity> text{};
    ASSERT_EQ(SentCommandText(TextView(row.command), text), CommandTextStatus::Ok) << row.command;
    EXPECT_EQ(std::string(text.data()), row.sent) << row.command;
  }
  // The cancelled form's open command: its file-name piece starts after the
  // NUL, so nothing is quoted.
  Record command;
  ASSERT_EQ(ComposeOpenCommand(command, EmptyText<30>(), 0), RecordStatus::Ok);
  std::array<char, SentCommandCapacity> text{};
  ASSERT_EQ(SentCommandText(command.All(), OpenCommandNamePiece(0), text), CommandTextStatus::Ok);
  EXPECT_EQ(std::string(text.data()), "open ");
}

TEST(SentCommandText, RefusesWithoutWritingWhenTheTextOrThePieceDoesNotFit) {
  std::array<char, 14> small;
  small.fill('#');
  EXPECT_EQ(SentCommandText(TextView("play test wait"s), small), CommandTextStatus::BufferTooSmall);
  EXPECT_EQ(std::string(small.data(), small.size()), std::string(14, '#'));
  std::array<char, 15> exact{};
  EXPECT_EQ(SentCommandText(TextView("play test wait"s), exact), CommandTextStatus::Ok);
  EXPECT_EQ(std::string(exact.data()), "play test wait");

  std::array<char, SentCommandCapacity> text;
  text.fill('#');
  const std::string command = "open CLIP.AVI alias test";
  EXPECT_EQ(SentCommandText(TextView(command), CommandPiece{20, 10}, text),
            CommandTextStatus::PieceOutside);
  EXPECT_EQ(SentCommandText(TextView(command), CommandPiece{25, 0}, text),
            CommandTextStatus::PieceOutside);
  EXPECT_EQ(text[0], '#');
  // A command longer than a record still fits when its blanks shrink.
  const std::string padded = "play" + Blanks(200) + "test wait";
  EXPECT_EQ(SentCommandText(TextView(padded), text), CommandTextStatus::Ok);
  EXPECT_EQ(std::string(text.data()), "play test wait");
  const std::string longer(SentCommandCapacity, 'z');
  EXPECT_EQ(SentCommandText(TextView(longer), text), CommandTextStatus::BufferTooSmall);
}

}  // namespace

}  // namespace formreel::app
