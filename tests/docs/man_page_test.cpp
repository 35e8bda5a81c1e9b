// The manual page (docs/formentry.1) against formentry --help: rendered as
// a reader sees it, it lists the options --help lists, each with the words
// --help gives it, no other option, and the same exit statuses.
#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "formentry/command_line.h"

namespace formreel::formentry {

namespace {

// What `command` printed on standard output.
std::string Output(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  pclose(pipe);
  return output;
}

bool HaveGroff() { return Output("command -v groff").find("groff") != std::string::npos; }

// The page as text, each paragraph on one line (no hyphenation).
std::string Rendered() {
  return Output("groff -man -Tascii -P-cbou -rLL=400n -rHY=0 " FORMREEL_MAN_PAGE " 2>/dev/null");
}

std::string Words(const std::string& text) {
  return std::regex_replace(std::regex_replace(text, std::regex("\\s+"), " "), std::regex("^ +|[ ;]+$"), "");
}

// The lines of `text` after the heading `name`, up to the next heading.
std::string Section(const std::string& text, const std::string& name) {
  const std::size_t start = text.find("\n" + name + "\n");
  if (start == std::string::npos) return {};
  const std::string rest = text.substr(start + 1 + name.size());
  std::smatch heading;
  if (!std::regex_search(rest, heading, std::regex("\n[A-Z]"))) return rest;
  return rest.substr(0, static_cast<std::size_t>(heading.position()));
}

// Option and argument -> description: "--name ARG" then two blanks or more,
// the description running on over indented lines up to a blank line or
// the next option.
std::map<std::string, std::string> Options(const std::string& text) {
  static const std::regex option("(--[a-z-]+(?: [A-Z][A-Z=.]*)?) {2,}");
  std::map<std::string, std::string> options;
  std::string* open = nullptr;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    const std::sregex_iterator end;
    std::sregex_iterator it(line.begin(), line.end(), option);
    if (it == end) {
      const bool indented = line.starts_with("   ") && line.find_first_not_of(' ') != std::string::npos;
      if (open != nullptr && indented) *open += " " + line;
      else open = nullptr;
      continue;
    }
    for (; it != end; ++it) {
      const auto next = std::next(it);
      const std::size_t from = static_cast<std::size_t>(it->position() + it->length());
      const std::size_t to = next == end ? line.size() : static_cast<std::size_t>(next->position());
      open = &options[(*it)[1]];
      *open = line.substr(from, to - from);
    }
  }
  for (auto& [name, description] : options) description = Words(description);
  return options;
}

TEST(ManPage, RendersWithoutWarnings) {
  if (!HaveGroff()) GTEST_SKIP() << "needs groff";
  for (const char* device : {"ascii", "utf8"})
    EXPECT_EQ(Output(std::string("groff -man -ww -z -T") + device + " " FORMREEL_MAN_PAGE " 2>&1"), "") << device;
}

TEST(ManPage, DescribesTheOptionsOfHelpInItsWords) {
  if (!HaveGroff()) GTEST_SKIP() << "needs groff";
  const std::string page = Rendered();
  const std::map<std::string, std::string> help = Options(UsageText());
  ASSERT_GE(help.size(), 8u);
  EXPECT_EQ(Options(Section(page, "OPTIONS")), help);
  // Nor does any other part of the page name an option --help lacks.
  const std::string usage = UsageText();
  const std::regex name("--[a-z][a-z-]*");
  std::set<std::string> known;
  for (auto it = std::sregex_iterator(usage.begin(), usage.end(), name); it != std::sregex_iterator(); ++it)
    known.insert(it->str());
  for (auto it = std::sregex_iterator(page.begin(), page.end(), name); it != std::sregex_iterator(); ++it)
    EXPECT_TRUE(known.contains(it->str())) << it->str();
}

TEST(ManPage, GivesTheExitStatusesOfHelp) {
  if (!HaveGroff()) GTEST_SKIP() << "needs groff";
  const std::string usage = UsageText();
  const std::string statuses = Words(usage.substr(usage.find("Exit status:")));
  std::map<std::string, std::string> help;
  const std::regex pair("(\\d+) ([^,]+?)[,.]?(?= \\d|$)");
  for (auto it = std::sregex_iterator(statuses.begin(), statuses.end(), pair); it != std::sregex_iterator(); ++it)
    help[(*it)[1]] = (*it)[2];
  ASSERT_EQ(help.size(), 8u) << statuses;
  std::map<std::string, std::string> page;
  const std::string section = Section(Rendered(), "EXIT STATUS");
  const std::regex entry("\n {7}(\\d+) +([^\n]*)");
  for (auto it = std::sregex_iterator(section.begin(), section.end(), entry); it != std::sregex_iterator(); ++it) {
    const std::string meaning = Words((*it)[2]);  // justified lines hold runs of blanks
    const auto known = help.find((*it)[1]);
    page[(*it)[1]] = known != help.end() && meaning.starts_with(known->second) ? known->second : meaning;
  }
  EXPECT_EQ(page, help);
}

}  // namespace

}  // namespace formreel::formentry
