#include "formentry/command_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace formreel::formentry {

namespace {

using namespace std::string_literals;

CommandLineStatus Parse(std::vector<std::string_view> arguments, CommandLine& line, std::string& message) {
  return ParseCommandLine(arguments, line, message);
}

TEST(FormentryCommandLine, OptionsInAnyOrderBeforeAndAfterTheDescriptor) {
  CommandLine line;
  std::string message;
  ASSERT_EQ(Parse({"--select", "2=1", "--json", "--value", "1=a=b", "CA^|", "--value", "3="}, line, message),
            CommandLineStatus::Ok)
      << message;
  EXPECT_EQ(line.action, CommandLine::Action::ShowForm);
  EXPECT_EQ(line.descriptor, "CA^|");
  EXPECT_FALSE(line.file);
  EXPECT_TRUE(line.json);
  ASSERT_EQ(line.values.size(), 2u);
  EXPECT_EQ(line.values[0].field, 1);
  EXPECT_EQ(line.values[0].text, "a=b");  // only the first "=" separates
  EXPECT_EQ(line.values[1].text, "");
  ASSERT_EQ(line.choices.size(), 1u);
  EXPECT_EQ(line.choices[0].field, 2);
  EXPECT_EQ(line.choices[0].choice, 1);

  CommandLine fromFile;
  ASSERT_EQ(Parse({"--file", "-"}, fromFile, message), CommandLineStatus::Ok);
  EXPECT_EQ(fromFile.file, "-");
  // After "--" nothing is an option.
  for (const std::string_view dashed : {"-X^|", "--json"}) {
    CommandLine ended;
    ASSERT_EQ(Parse({"--", dashed}, ended, message), CommandLineStatus::Ok);
    EXPECT_EQ(ended.descriptor, dashed);
    EXPECT_FALSE(ended.json);
  }
  CommandLine help;
  ASSERT_EQ(Parse({"--bogus", "--help"}, help, message), CommandLineStatus::UsageError);
  ASSERT_EQ(Parse({"--version", "--help"}, help, message), CommandLineStatus::Ok);
  EXPECT_EQ(help.action, CommandLine::Action::Help);
}

TEST(FormentryCommandLine, BadArgumentsAreUsageErrorsThatSayWhy) {
  const std::pair<std::vector<std::string_view>, std::string> cases[] = {
      {{"--colour", "CA^|"}, "unknown option \"--colour\""},
      {{}, "no descriptor given"},
      {{"--json"}, "no descriptor given"},
      {{"CA^|", "IB^|"}, "more than one descriptor given (\"IB^|\"): quote the descriptor as one argument"},
      {{"CA^|", "--", "--json"}, "more than one descriptor given (\"--json\"): quote the descriptor as one argument"},
      {{"CA^|", "--bogus"}, "unknown option \"--bogus\""},
      {{"--file", "f", "CA^|"}, "a descriptor and --file cannot both be given"},
      {{"--file"}, "--file needs an argument"},
      {{"--value", "1", "CA^|"}, "--value needs N=..., got \"1\""},
      {{"--value", "0=x", "CA^|"}, "--value: the field number \"0\" is not a number from 1 up"},
      {{"--value", "x=1", "CA^|"}, "--value: the field number \"x\" is not a number from 1 up"},
      {{"--value", "99999999999=1", "CA^|"}, "--value: the field number \"99999999999\" is not a number from 1 up"},
      {{"--value", "+1=1", "CA^|"}, "--value: the field number \"+1\" is not a number from 1 up"},
      {{"--select", "1=1234567890", "CA^|"}, "--select 1: \"1234567890\" is not a choice number (0 for none)"},
      {{"--select", "1=-1", "CA^|"}, "--select 1: \"-1\" is not a choice number (0 for none)"},
      {{"--range", "1=5", "IA^|"}, "--range needs N=LOW..HIGH, got \"1=5\""},
      {{"--range", "1..5", "IA^|"}, "--range needs N=LOW..HIGH, got \"1..5\""},
      {{"--required", "0", "CA^|"}, "--required: the field number \"0\" is not a number from 1 up"},
      {{"--timeout", "0", "CA^|"}, "--timeout: \"0\" is not a number of seconds above 0 (at most 2000000)"},
      {{"--timeout", "nan", "CA^|"}, "--timeout: \"nan\" is not a number of seconds above 0 (at most 2000000)"},
      {{"--timeout", "1s", "CA^|"}, "--timeout: \"1s\" is not a number of seconds above 0 (at most 2000000)"},
      {{"--timeout", "3e6", "CA^|"}, "--timeout: \"3e6\" is not a number of seconds above 0 (at most 2000000)"},
      {{"--terminal", "CA^|", "--window"}, "--window and --terminal cannot both be given"},
      {{"--no-input", "--plain", "CA^|"}, "--plain and --no-input cannot both be given"},
  };
  for (const auto& [arguments, expected] : cases) {
    CommandLine line;
    line.json = true;  // untouched on failure
    std::string message;
    EXPECT_EQ(Parse(arguments, line, message), CommandLineStatus::UsageError) << expected;
    EXPECT_EQ(message, expected);
    EXPECT_TRUE(line.json);
  }
}

TEST(FormentryCommandLine, ADescriptorFileMayPutItsItemsOnLinesOfTheirOwn) {
  const std::vector<std::pair<std::string, std::string>> accepted = {
      {"CA^|", "CA^|"},
      {"CA^|\n", "CA^|"},
      {"CA^|\r\n", "CA^|"},
      {"CA^\n", "CA^"},  // the last line end, whatever comes before it
      {"HForm|\nCA^|\r\nIB^|\n", "HForm|CA^|IB^|"},
      {"CA^|\n\r\n\nIB^|\n\n", "CA^|IB^|"},
      {"CA^\r|", "CA^\r|"},  // a CR alone is no line end
      {"CA^|\0x\ny"s, "CA^|\0x\ny"s},
      {"# a form\nCA^|  \n\t\n  \r\n#IB^\r\nIB^|\t \r\n# end", "CA^|IB^|"},  // comments, blanks, blank lines
      {"CA^| IB^|", "CA^| IB^|"},  // a blank before an item on the same line is the item's
      {"CA^|\n#x\0\n#"s, "CA^|\0\n#"s},  // a NUL ends the descriptor even in a comment
  };
  for (const auto& [contents, expected] : accepted) {
    std::string descriptor;
    std::string message;
    EXPECT_EQ(DescriptorInFile(contents, descriptor, message), CommandLineStatus::Ok) << contents;
    EXPECT_EQ(descriptor, expected);
  }
  const std::vector<std::pair<std::string, int>> refused = {
      {"CNAME^\nIAGE^|", 1},
      {"CA^|\nTtwo\\\r\nlines\\|", 2},
      {"CA^|\n\nCB\n^|\n", 3},
      {"CA^|IB^\n\n", 1},
      {"CA^|\n\n #x\nIB^|", 3},  // a comment starts in the first column
      {"CA^| x\nIB^|", 1},
  };
  for (const auto& [contents, line] : refused) {
    std::string descriptor = "untouched";
    std::string message;
    EXPECT_EQ(DescriptorInFile(contents, descriptor, message), CommandLineStatus::Refused) << contents;
    EXPECT_EQ(message, "line " + std::to_string(line) +
                           " of the descriptor ends inside an item (in a file, a line may end only after \"|\")");
    EXPECT_EQ(descriptor, "untouched");
  }
}

// The form set up from the descriptor's fields and the options.
struct PreparedForm {
  explicit PreparedForm(const std::string& descriptor, std::vector<std::string_view> options) {
    fields = DescriptorFields(descriptor.data(), static_cast<std::int32_t>(descriptor.size()));
    options.push_back(descriptor);
    CommandLine line;
    EXPECT_EQ(ParseCommandLine(options, line, message), CommandLineStatus::Ok) << message;
    status = SetUpForm(fields, line, arrays, message);
  }
  std::vector<FieldInfo> fields;
  FormArrays arrays;
  std::string message;
  CommandLineStatus status;
};

TEST(FormentrySetUp, ValuesAreReadByTheFieldsOwnRules) {
  const PreparedForm form("CNAME^|ISHORT^|LLONG^|RSINGLE^|DDOUBLE^|SPICK^A^B^|BYES^NO^|CEMPTY^x^|"s,
                   {"--value", "1=CLIP", "--value", "2=16#FF", "--value",
                    "3=12,5", "--value", "4=1.5D3", "--value", "5=-.25", "--select", "6=2", "--select", "7=2",
                    "--select", "8=1"});
  ASSERT_EQ(form.status, CommandLineStatus::Ok) << form.message;
  EXPECT_STREQ(form.arrays.texts[0].data(), "CLIP");
  EXPECT_EQ(form.arrays.values[0].TextAddress(), form.arrays.texts[0].data());
  EXPECT_EQ(form.arrays.values[1].Get<std::int16_t>(), 255);
  EXPECT_EQ(form.arrays.values[2].Get<std::int32_t>(), 12);
  EXPECT_EQ(form.arrays.values[3].Get<float>(), 1500.0f);
  EXPECT_EQ(form.arrays.values[4].Get<double>(), -0.25);
  EXPECT_EQ(form.arrays.values[5].TextAddress(), nullptr);  // S: no buffer
  // An untouched C field points to its own empty buffer.
  EXPECT_EQ(form.arrays.values[7].TextAddress(), form.arrays.texts[7].data());
  EXPECT_STREQ(form.arrays.texts[7].data(), "");
  const std::int8_t selections[8] = {0, 0, 0, 0, 0, 2, 2, 1};
  EXPECT_EQ(std::memcmp(form.arrays.selections.data(), selections, sizeof selections), 0);
}

TEST(FormentrySetUp, OptionsThatDoNotFitTheFormNameTheField) {
  const std::string descriptor = "CNAME^|IAGE^|SPICK^A^B^|BYES^NO^|L ^|R SPEED ^|BGO^|"s;
  const std::pair<std::vector<std::string_view>, std::string> cases[] = {
      {{"--value", "8=x"}, "--value 8: the form has 7 fields"},
      {{"--select", "9=0"}, "--select 9: the form has 7 fields"},
      {{"--value", "1=1234567890123456789012345678901"},
       "--value 1: NAME: at most 30 bytes: 1234567890123456789012345678901"},
      {{"--value", "1=ПриветПриветПривет"}, "--value 1: NAME: at most 30 bytes: ПриветПриветПривет"},
      {{"--value", "2=40000"}, "--value 2: AGE: not a 16-bit integer (-32768 to 32767): 40000"},
      {{"--value", "2=1.0"}, "--value 2: AGE: not a 16-bit integer (-32768 to 32767): 1.0"},
      {{"--value", "5=x"}, "--value 5: field 5: not a 32-bit integer (-2147483648 to 2147483647): x"},
      {{"--value", "6=1e99"}, "--value 6: SPEED: not a single-precision real number: 1e99"},
      {{"--select", "4=1", "--select", "7=1"},
       "--select 7=1: a button of field 4 (B \"YES\") is chosen already, and one button ends the form"},
      {{"--value", "3=A"}, "--value is not for field 3 (S \"PICK\"): give its choice with --select"},
      {{"--value", "4=YES"}, "--value is not for field 4 (B \"YES\"): give its choice with --select"},
      {{"--select", "3=3"}, "--select 3=3: field 3 (S \"PICK\") has 2 entries"},
      {{"--select", "4=3"}, "--select 4=3: field 4 (B \"YES\") has 2 buttons"},
      {{"--select", "7=2"}, "--select 7=2: field 7 (B \"GO\") has 1 button"},
      {{"--value", "2=1", "--value", "2=2"}, "--value given twice for field 2 (I \"AGE\")"},
      {{"--select", "3=1", "--select", "3=2"}, "--select given twice for field 3 (S \"PICK\")"},
      {{"--range", "1=1..2"}, "--range 1: field 1 (C \"NAME\") takes no range: only I, L, R and D fields do"},
      {{"--range", "2=9..-9"}, "--range 2=9..-9: the lowest value is above the highest"},
      {{"--range", "2=1..99999"}, "--range 2: AGE: not a 16-bit integer (-32768 to 32767): 99999"},
      {{"--required", "2"}, "--required 2: field 2 (I \"AGE\") cannot be required: only C, X, P, S and M fields can"},
  };
  for (const auto& [options, expected] : cases) {
    const PreparedForm form(descriptor, options);
    EXPECT_EQ(form.status, CommandLineStatus::UsageError) << expected;
    EXPECT_EQ(form.message, expected);
  }
}

// What formentry prints is UTF-8: the first byte of a text that is not.
TEST(FirstNonUtf8Byte, NamesTheFirstByteOfNoWholeCharacter) {
  const std::pair<std::string_view, std::size_t> rows[] = {
      {"", 0},           {"plain", 0},          {"Ж名\xf0\x9f\x98\x80", 0}, {"CP\xff^|", 3},
      {"a\xc3", 2},      {"\xc3\x41", 1},       {"\xc0\x80", 1},               // overlong
      {"\xed\xa0\x80", 1}, {"\xf4\x90\x80\x80", 1}, {"ok\x80", 3},            // surrogate, beyond U+10FFFF, a stray
  };
  for (const auto& [text, at] : rows) EXPECT_EQ(FirstNonUtf8Byte(text), at) << testing::PrintToString(text);
}

// The newer kinds and the checks: X and P take 255 bytes (a refused P
// value is never repeated), M its boxes as a number or box by box.
TEST(FormentrySetUp, LongAndHiddenTextsBoxesRangesAndRequiredFields) {
  const std::string descriptor = "XHOST^|PPASS^|MBOX^A^B^C^|LPORT^|RS^|"s;
  const std::string longest(255, 'x');
  const std::string value = "1=" + longest, pass = "2=" + longest;
  const PreparedForm form(descriptor, {"--value", value, "--value", pass, "--value", "3=1", "--select", "3=3",
                                       "--select", "3=3", "--range", "4=1..16#FFFF", "--range", "5=-.5..2.5",
                                       "--required", "2", "--required", "3"});
  ASSERT_EQ(form.status, CommandLineStatus::Ok) << form.message;
  EXPECT_EQ(form.arrays.texts[0].data(), longest);
  EXPECT_EQ(form.arrays.values[2].Get<std::uint8_t>(), 5);
  const FieldCheck& port = form.arrays.checks[3];
  EXPECT_TRUE(port.bounded && port.lowest == 1 && port.highest == 65535 && !port.required);
  EXPECT_TRUE(form.arrays.checks[4].lowest == -0.5 && form.arrays.checks[4].highest == 2.5);
  EXPECT_TRUE(form.arrays.checks[1].required && form.arrays.checks[2].required && !form.arrays.checks[0].required);
  CommandLine line;
  std::string message;
  ASSERT_EQ(Parse({"--timeout", "1.0001", "CA^|"}, line, message), CommandLineStatus::Ok);
  EXPECT_EQ(line.timeout, std::chrono::milliseconds(1001));  // a part of a millisecond waits a whole one

  const std::string tooLong = "1=" + longest + "x", passTooLong = "2=" + longest + "x";
  const std::pair<std::vector<std::string_view>, std::string> refused[] = {
      {{"--value", tooLong}, "--value 1: HOST: at most 255 bytes: " + longest + "x"},
      {{"--value", passTooLong}, "--value 2: PASS: at most 255 bytes"},
      {{"--value", "3=8"}, "--value 3: BOX: not its boxes as a number (0 to 7): 8"},
      {{"--select", "3=4"}, "--select 3=4: field 3 (M \"BOX\") has 3 boxes"},
  };
  for (const auto& [options, expected] : refused) {
    const PreparedForm bad(descriptor, options);
    EXPECT_EQ(bad.status, CommandLineStatus::UsageError) << expected;
    EXPECT_EQ(bad.message, expected);
  }
}

}  // namespace

}  // namespace formreel::formentry
