// What formentry does differently on each system: its standard streams,
// the code page of the form's texts, and how it shows a form.
#pragma once

#include <chrono>
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
// How reading a descriptor file went.
enum class FileReading : std::uint8_t {
  Read,      // `contents` holds the whole of it
  Terminal,  // it is a terminal, where a person types, not a file
  Failed,    // it cannot be read; `reason` is the system's word for why
  TooLong,   // it holds more than DescriptorFileCapacity bytes
  TooSlow,   // it did not end within DescriptorFileSeconds
};
// Reads the file `path` ("-": standard input) as bytes, never more than one
// byte beyond DescriptorFileCapacity, so that an endless source (/dev/zero,
// a pipe fed for ever) is refused at once with bounded memory.
FileReading ReadDescriptorFile(const std::string& path, std::string& contents, std::string& reason);

// Whether the form's texts are UTF-8 here, and what formentry prints is
// them as they are: everywhere but a Windows whose code page is a legacy one,
// where the edges convert.
bool TextsAreUtf8();
// UTF-8 (descriptor files, standard input) in the form's code page, and back
// (what formentry prints); nothing for a text the other side cannot hold.
std::optional<std::string> FromUtf8(std::string_view text);
std::optional<std::string> TextToUtf8(std::string_view text);

// Shows the form as `display` asks, with the checks in `arrays` and the
// time limit `timeout` (zero for none), and tells how it ended.
FormEntryEnd ShowForm(CommandLine::Display display, const std::string& descriptor, FormArrays& arrays,
                      std::chrono::milliseconds timeout);

// After a form that ended Interrupted, ends formentry as CTRL-C ends any
// command where the whole foreground job is sent the interrupt, so that a
// script that called formentry stops too; returns where nothing ends it.
void EndAsInterrupted();

}  // namespace formreel::formentry
