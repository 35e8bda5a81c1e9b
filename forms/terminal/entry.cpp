// The entry call on POSIX systems (the form in the controlling terminal, as
// plain lines, or confirmed unshown) and its public companions.
#include "formreel/forms.h"
#include "forms/core/code_page.h"
#include "forms/core/descriptor_check.h"
#include "forms/core/descriptor_fields.h"
#include "forms/core/unattended.h"
#include "forms/plain/plain_front_end.h"
#include "forms/plain/stream_lines.h"
#include "forms/terminal/terminal_front_end.h"

namespace formreel {

bool FormEntry(const char* descriptor, std::int32_t length, std::span<std::int8_t> selections,
               std::span<ValueSlot> values, FormDisplay display) {
  return FormEntry(descriptor, length, selections, values, display, FormRules{});
}

bool FormEntry(const char* descriptor, std::int32_t length, std::span<std::int8_t> selections,
               std::span<ValueSlot> values, FormDisplay display, const FormRules& rules) {
  TerminalFrontEnd terminal(display == FormDisplay::Plain ? TerminalFrontEnd::Mode::Plain
                                                          : TerminalFrontEnd::Mode::FullScreen);
  UnattendedFrontEnd unattended;
  FormFrontEnd& frontEnd = display == FormDisplay::Unattended ? static_cast<FormFrontEnd&>(unattended)
                                                              : static_cast<FormFrontEnd&>(terminal);
  return EnterForm(descriptor, length, selections, values, ActiveCodePage(), frontEnd, rules) ==
         FormEntryEnd::Confirmed;
}

bool FormEntry(const char* descriptor, std::int32_t length, std::span<std::int8_t> selections,
               std::span<ValueSlot> values, std::istream& answers, std::ostream& said, const FormRules& rules) {
  StreamLineChannel channel(answers, said);
  PlainFrontEnd plain(channel);
  return EnterForm(descriptor, length, selections, values, ActiveCodePage(), plain, rules) ==
         FormEntryEnd::Confirmed;
}

// The calls on a descriptor, in the locale's character set.
std::string DescriptorProblem(const char* text, std::int32_t length) {
  return DescriptorProblem(text, length, ActiveCodePage());
}
std::vector<DescriptorField> DescriptorFields(const char* text, std::int32_t length) {
  return DescriptorFields(text, length, ActiveCodePage());
}

}  // namespace formreel
