#include "app/video.h"

#include <windows.h>
#include <mmsystem.h>

#include <array>
#include <cstdint>

namespace formreel::app {

Record mciCommand;
std::int32_t mciResult = 0;

namespace {

using MciSendString = MCIERROR(WINAPI*)(LPCSTR, LPSTR, UINT, HWND);

// The media library is loaded when the first command is sent, not at
// process start: most runs never play anything, and loading it up front
// delays the first form noticeably. Null when it cannot be loaded.
MciSendString MediaCommandEntry() {
  static const MciSendString entry = [] {
    HMODULE library = LoadLibraryA("winmm.dll");
    if (library == nullptr) return MciSendString{nullptr};
    return reinterpret_cast<MciSendString>(
        reinterpret_cast<void*>(GetProcAddress(library, "mciSendStringA")));
  }();
  return entry;
}

// Hands one command to the media layer as SentCommandText prepares it and
// stores the result. A text that cannot be prepared is not sent.
void SendCommand(TextView command, CommandPiece fileName) {
  std::array<char, SentCommandCapacity> text{};
  if (SentCommandText(command, fileName, text) != CommandTextStatus::Ok) return;
  const MciSendString send = MediaCommandEntry();
  mciResult = send != nullptr ? static_cast<std::int32_t>(send(text.data(), nullptr, 0, nullptr))
                              : static_cast<std::int32_t>(MCIERR_CANNOT_LOAD_DRIVER);
}

template <std::size_t K>
void SendCommand(const char (&command)[K]) {
  SendCommand(TextView(command, K), CommandPiece{0, 0});
}

// A window handle as the window command writes it: the signed 32-bit value
// that handles have on 32-bit and 64-bit Windows alike.
std::int32_t HandleValue(WindowHandle window) {
  return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(window));
}

}  // namespace

void PlayVideo(const VideoFileName& videoFileName, std::int32_t nameEnd, WindowHandle mainWindow) {
  if (ComposeOpenCommand(mciCommand, videoFileName, nameEnd) != RecordStatus::Ok) return;
  SendCommand(mciCommand.All(), OpenCommandNamePiece(nameEnd));
  if (ComposeWindowCommand(mciCommand, HandleValue(mainWindow)) != RecordStatus::Ok) return;
  SendCommand(mciCommand.All(), CommandPiece{0, 0});
  SendCommand(PlayCommand);
  SendCommand(CloseCommand);
}

}  // namespace formreel::app
