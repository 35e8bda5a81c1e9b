// What formentry does differently on each system: its standard streams,
// the code page of the form's texts, and how it shows a form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "command_line.h"
#include "formreel/forms.h"

namespace formreel::formentry {

// Standard output and error as scripts read them (lines end with LF alone),
// and the texts' character set from the environment.
void PrepareStandardStreams();
// The whole of standard input, as bytes; false when it cannot be read.
bool ReadStandardInput(std::string& contents);

// Whether the form's texts are UTF-8 here, and what formentry prints is
// them as they are: everywhere but a Windows whose code page is a legacy one,
// where the edges convert.
bool TextsAreUtf8();
// UTF-8 (descriptor files, standard input) in the form's code page, and back
// (what formentry prints); nothing for a text the other side cannot hold.
std::optional<std::string> FromUtf8(std::string_view text);
std::optional<std::string> TextToUtf8(std::string_view text);

// Shows the form as `display` asks, and tells how it ended.
FormEntryEnd ShowForm(CommandLine::Display display, const std::string& descriptor, FormArrays& arrays);

}  // namespace formreel::formentry
