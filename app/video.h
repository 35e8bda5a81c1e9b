// Video playback through the media layer's command strings: the clip named
// by the file name is opened under the alias "test", bound to a window,
// played to its end and closed.
#pragma once

#include <cstdint>

#include "app/video_command.h"
#include "formreel/forms.h"
#include "text/record_format.h"

namespace formreel::app {

// The record the open and window commands are composed into; each
// composition rewrites all 80 characters.
extern Record mciCommand;
// What the latest command returned: stored after every command, never acted
// on.
extern std::int32_t mciResult;

// Sends the open command for the first nameEnd + 3 characters of
// `videoFileName` (at most 30), the window command with `mainWindow`'s
// handle value, "play test wait" (which returns when the clip has ended) and
// "close test", each whether or not the one before it succeeded. Stops
// before a command whose composition fails.
void PlayVideo(const VideoFileName& videoFileName, std::int32_t nameEnd, WindowHandle mainWindow);

}  // namespace formreel::app
