// What formentry does differently on each system: its standard streams,
// the code page of the form's texts, and how it shows a form.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "formentry/command_line.h"
#include "formreel/forms.h"

namespace formreel::formentry {

// Standard output and error as scripts read them (lines end with LF alone),
// and the texts' character set from the environment.
void PrepareStandardStreams();
// The whole of standard input, as bytes; false when it cannot be read.
bool ReadStandardInput(std::string& contents);

// UTF-8 (descriptor files, standard input) in the form's code page, and back
// (what formentry prints).
std::string FromUtf8(std::string_view text);
std::string TextToUtf8(std::string_view text);

// Shows the form as `display` asks, through FormEntry's steps. On NotShown,
// `problem` says why, for the message after "the form could not be shown".
FormEntryEnd ShowForm(CommandLine::Display display, const std::string& descriptor, FormArrays& arrays,
                      std::string& problem);

}  // namespace formreel::formentry
