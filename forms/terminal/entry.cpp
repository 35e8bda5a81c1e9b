// The entry call on POSIX systems (the form in the controlling terminal, as
// plain lines, in a desktop window, or confirmed unshown) and its public
// companions.
#include "formreel/forms.h"
#include "forms/core/code_page.h"
#include "forms/core/descriptor_check.h"
#include "forms/core/descriptor_fields.h"
#include "forms/core/display_rule.h"
#include "forms/core/unattended.h"
#include "forms/gtk/window_front_end.h"
#include "forms/plain/plain_front_end.h"
#include "forms/plain/stream_lines.h"
#include "forms/terminal/controlling_terminal.h"
#include "forms/terminal/terminal_front_end.h"

namespace formreel {

namespace {

// Neither a terminal nor a desktop: the form is not shown, and says why.
class NowhereFrontEnd final : public FormFrontEnd {
 public:
  explicit NowhereFrontEnd(std::string problem) : problem_(std::move(problem)) {}
  Showing Show(FormState&) override { return Showing::NotShown; }
  std::string WhyNotShown() const override { return problem_; }

 private:
  std::string problem_;
};

}  // namespace

bool FormEntry(const char* descriptor, std::int32_t length, std::span<std::int8_t> selections,
               std::span<ValueSlot> values, FormDisplay display) {
  return FormEntry(descriptor, length, selections, values, display, FormRules{});
}

bool FormEntry(const char* descriptor, std::int32_t length, std::span<std::int8_t> selections,
               std::span<ValueSlot> values, FormDisplay display, const FormRules& rules) {
  // Only the standard display asks whether there is a terminal.
  std::string noTerminal;
  const bool hasTerminal = display == FormDisplay::Standard && [&] {
    const ControllingTerminal terminal;
    noTerminal = terminal.Problem();
    return terminal.IsOpen();
  }();
  const FormPlace place = PlaceFor(display, hasTerminal, DesktopNamed());
  TerminalFrontEnd fullScreen(TerminalFrontEnd::Mode::FullScreen);
  TerminalFrontEnd plain(TerminalFrontEnd::Mode::Plain);
  WindowFrontEnd window;
  UnattendedFrontEnd unattended;
  NowhereFrontEnd nowhere(noTerminal + "; no desktop either: neither WAYLAND_DISPLAY nor DISPLAY is set");
  FormFrontEnd* frontEnd = &nowhere;
  switch (place) {
    case FormPlace::Window: frontEnd = &window; break;
    case FormPlace::Terminal: frontEnd = &fullScreen; break;
    case FormPlace::PlainLines: frontEnd = &plain; break;
    case FormPlace::Unattended: frontEnd = &unattended; break;
    case FormPlace::Nowhere: break;
  }
  return EnterForm(descriptor, length, selections, values, ActiveCodePage(), *frontEnd, rules) ==
         FormEntryEnd::Confirmed;
}

bool FormEntry(const char* descriptor, std::int32_t length, std::span<std::int8_t> selections,
               std::span<ValueSlot> values, std::istream& answers, std::ostream& said, const FormRules& rules) {
  return EnterFromLines(descriptor, length, selections, values, answers, said, rules, ActiveCodePage());
}

// The calls on a descriptor, in the locale's character set.
std::string DescriptorProblem(const char* text, std::int32_t length) {
  return DescriptorProblem(text, length, ActiveCodePage());
}
std::vector<DescriptorField> DescriptorFields(const char* text, std::int32_t length) {
  return DescriptorFields(text, length, ActiveCodePage());
}

}  // namespace formreel
