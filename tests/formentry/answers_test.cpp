#include "formentry/answers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace formreel::formentry {

namespace {

using namespace std::string_literals;

// Latin-1 as UTF-8, standing in for the ANSI code page.
std::optional<std::string> Latin1ToUtf8(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

// A confirmed form: the fields of `descriptor`, then what the person left.
struct Answered {
  explicit Answered(const std::string& descriptor) {
    fields = DescriptorFields(descriptor.data(), static_cast<std::int32_t>(descriptor.size()));
    CommandLine line;
    std::string message;
    EXPECT_EQ(SetUpForm(fields, line, arrays, message), CommandLineStatus::Ok) << message;
  }
  std::vector<FieldInfo> fields;
  FormArrays arrays;
};

const std::string EveryField = "CNAME^|ISHORT^|LLONG^|RSINGLE^|DDOUBLE^|SPICK^A^B^|BGO^STOP^|"s;

TEST(FormentryAnswers, TypedValuesOneLinePerField) {
  Answered form(EveryField);
  std::strcpy(form.arrays.texts[0].data(), "CLIP \"x\"");
  form.arrays.values[1].Put(std::int16_t{-7});
  form.arrays.values[2].Put(std::int32_t{2147483647});
  form.arrays.values[3].Put(0.1f);
  form.arrays.values[4].Put(0.1);
  EXPECT_EQ(AnswerLines(form.fields, form.arrays), "CLIP \"x\"\n-7\n2147483647\n0.1\n0.1\n\n\n");
  EXPECT_EQ(AnswerJson(form.fields, form.arrays, Latin1ToUtf8),
            "{\"fields\":["
            "{\"letter\":\"C\",\"prompt\":\"NAME\",\"selection\":0,\"entry\":null,\"value\":\"CLIP \\\"x\\\"\"},"
            "{\"letter\":\"I\",\"prompt\":\"SHORT\",\"selection\":0,\"entry\":null,\"value\":-7},"
            "{\"letter\":\"L\",\"prompt\":\"LONG\",\"selection\":0,\"entry\":null,\"value\":2147483647},"
            "{\"letter\":\"R\",\"prompt\":\"SINGLE\",\"selection\":0,\"entry\":null,\"value\":0.1},"
            "{\"letter\":\"D\",\"prompt\":\"DOUBLE\",\"selection\":0,\"entry\":null,\"value\":0.1},"
            "{\"letter\":\"S\",\"prompt\":\"PICK\",\"selection\":0,\"entry\":null,\"value\":null},"
            "{\"letter\":\"B\",\"prompt\":\"GO\",\"selection\":0,\"entry\":null,\"value\":null}]}\n");
}

TEST(FormentryAnswers, ChosenEntriesAndThePressedButtonByTheirText) {
  Answered form("CNAME^Quit NOW ^|IN^10^20^|SPICK^A^B^|BGO^STOP^|"s);
  std::strcpy(form.arrays.texts[0].data(), "KEPT");
  form.arrays.values[1].Put(std::int16_t{5});
  form.arrays.selections = {1, 2, 2, 2};
  EXPECT_EQ(AnswerLines(form.fields, form.arrays), "Quit NOW \n20\nB\nSTOP\n");
  const std::string json = AnswerJson(form.fields, form.arrays, Latin1ToUtf8).value_or("");
  EXPECT_NE(json.find("{\"letter\":\"C\",\"prompt\":\"NAME\",\"selection\":1,\"entry\":\"Quit NOW \",\"value\":\"KEPT\"}"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"selection\":2,\"entry\":\"20\",\"value\":5}"), std::string::npos) << json;
  EXPECT_NE(json.find("{\"letter\":\"B\",\"prompt\":\"GO\",\"selection\":2,\"entry\":\"STOP\",\"value\":null}"),
            std::string::npos)
      << json;
}

TEST(FormentryAnswers, JsonStringsAreEscapedAndUtf8) {
  Answered form("C\xE9t\xE9^|"s);
  // Every control character below 0x20 is escaped, the last (0x1F) too; 0x20 is not.
  std::strcpy(form.arrays.texts[0].data(), "a\\b\t\x01\x1F \xFF");
  EXPECT_EQ(AnswerJson(form.fields, form.arrays, Latin1ToUtf8),
            "{\"fields\":[{\"letter\":\"C\",\"prompt\":\"\xC3\xA9t\xC3\xA9\",\"selection\":0,\"entry\":null,"
            "\"value\":\"a\\\\b\\t\\u0001\\u001f \xC3\xBF\"}]}\n");
}

TEST(FormentryAnswers, RealsAreTheShortestTextThatReadsBack) {
  Answered form("RA^|DB^|RC^|DD^|"s);
  form.arrays.values[0].Put(16777217.0f);  // rounds to 16777216 as a single
  form.arrays.values[1].Put(1e300);
  form.arrays.values[2].Put(-0.0f);
  form.arrays.values[3].Put(5e-324);
  EXPECT_EQ(AnswerLines(form.fields, form.arrays), "16777216\n1e+300\n-0\n5e-324\n");
}

// An M field's line is its checked boxes' captions as words of a shell, a
// quote in one too; in JSON they are an array. A P field answers its text.
TEST(FormentryAnswers, CheckedBoxesAsShellWordsAndAnArrayHiddenTextAsIs) {
  Answered form("MBOX^RED^it's^a b^|PPASS^|MNONE^X^|"s);
  form.arrays.values[0].Put(std::uint8_t{6});
  std::strcpy(form.arrays.texts[1].data(), "s3cr3t");
  EXPECT_EQ(AnswerLines(form.fields, form.arrays), "'it'\\''s' 'a b'\ns3cr3t\n\n");
  EXPECT_EQ(AnswerJson(form.fields, form.arrays, Latin1ToUtf8),
            "{\"fields\":[{\"letter\":\"M\",\"prompt\":\"BOX\",\"selection\":0,\"entry\":null,"
            "\"value\":[\"it's\",\"a b\"]},"
            "{\"letter\":\"P\",\"prompt\":\"PASS\",\"selection\":0,\"entry\":null,\"value\":\"s3cr3t\"},"
            "{\"letter\":\"M\",\"prompt\":\"NONE\",\"selection\":0,\"entry\":null,\"value\":[]}]}\n");
}

}  // namespace

}  // namespace formreel::formentry
