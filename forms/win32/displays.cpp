// The entry call without window handles, and its public companions: the
// form as a window of no owner, as plain lines in the program's console, or
// confirmed unshown. Apart from the window's own entry call, so that a
// program that uses only that one links no line mode.
#include <windows.h>

#include "formreel/forms.h"
#include "forms/core/code_page.h"
#include "forms/core/descriptor_check.h"
#include "forms/core/descriptor_fields.h"
#include "forms/core/unattended.h"
#include "forms/plain/plain_front_end.h"
#include "forms/plain/stream_lines.h"
#include "forms/win32/console_line_channel.h"
#include "forms/win32/entry.h"

namespace formreel {

namespace {

// The plain line mode in the program's console.
class ConsoleFrontEnd final : public FormFrontEnd {
 public:
  Showing Show(FormState& state) override {
    ConsoleLineChannel console;
    if (!console.IsOpen()) {
      problem_ = console.Problem();
      return Showing::NotShown;
    }
    PlainFrontEnd plain(console);
    return plain.Show(state);
  }
  std::string WhyNotShown() const override { return problem_; }

 private:
  std::string problem_;
};

}  // namespace

bool FormEntry(const char* descriptor, std::int32_t length, std::span<std::int8_t> selections,
               std::span<ValueSlot> values, std::istream& answers, std::ostream& said, const FormRules& rules) {
  return EnterFromLines(descriptor, length, selections, values, answers, said, rules, ActiveCodePage());
}

// The calls on a descriptor, in the active code page.
std::string DescriptorProblem(const char* text, std::int32_t length) {
  return DescriptorProblem(text, length, ActiveCodePage());
}
std::vector<DescriptorField> DescriptorFields(const char* text, std::int32_t length) {
  return DescriptorFields(text, length, ActiveCodePage());
}

bool FormEntry(const char* descriptor, std::int32_t length, std::span<std::int8_t> selections,
               std::span<ValueSlot> values, FormDisplay display) {
  return FormEntry(descriptor, length, selections, values, display, FormRules{});
}

bool FormEntry(const char* descriptor, std::int32_t length, std::span<std::int8_t> selections,
               std::span<ValueSlot> values, FormDisplay display, const FormRules& rules) {
  const WindowHandle noOwner = nullptr;
  WindowFrontEnd window(noOwner);
  ConsoleFrontEnd console;
  UnattendedFrontEnd unattended;
  // A console has no full-screen form: Terminal is its plain lines.
  const bool lines = display == FormDisplay::Plain || display == FormDisplay::Terminal;
  FormFrontEnd& frontEnd = lines                                ? static_cast<FormFrontEnd&>(console)
                           : display == FormDisplay::Unattended ? static_cast<FormFrontEnd&>(unattended)
                                                                : static_cast<FormFrontEnd&>(window);
  return EnterForm(descriptor, length, selections, values, ActiveCodePage(), frontEnd, rules) ==
         FormEntryEnd::Confirmed;
}

}  // namespace formreel
