// The platform-free half of video playback: the file name built from the
// typed name, the open and window commands composed into the 80-character
// command record, and the text that is finally handed to the media layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "formreel/limits.h"
#include "text/fixed_text.h"
#include "text/record_format.h"

namespace formreel::app {

// The name typed in the name form, and the file name made from it.
// The name form's field: a text field's 30 characters.
inline constexpr int VideoNameLength = TextValueLength;
using VideoFileName = FixedText<VideoNameLength>;

// A name buffer before any form has written it: two NULs, then blanks, so
// that it reads as empty text.
template <std::size_t N>
constexpr FixedText<N> EmptyText() {
  FixedText<N> text;
  text.Set(1, Nul);
  text.Set(2, Nul);
  return text;
}

// The extension added to the typed name, one character at a time.
inline constexpr char ExtensionDot = '.';
inline constexpr char ExtensionA = 'A';
inline constexpr char ExtensionV = 'V';
inline constexpr char ExtensionI = 'I';

// The command pieces of the open and window commands, and the two fixed
// commands, each with its terminating NUL.
inline constexpr char OpenPiece[] = "open ";
inline constexpr char AliasPiece[] = " alias test\0";  // 11 characters, then two NULs
inline constexpr char WindowPiece[] = "window test handle";
inline constexpr char TwoNuls[] = "\0";                  // two NULs
inline constexpr char PlayCommand[] = "play test wait";
inline constexpr char CloseCommand[] = "close test";

// Sets `nameEnd` to the 1-based position of the first NUL among the first 30
// characters of `name` (31 when there is none) and writes into `fileName`
// the n = nameEnd - 1 characters of the name, then ".AVI", then blanks, cut
// at 30 characters. `name` holds at least 30 characters; fewer is fatal.
void MakeVideoFileName(TextView name, VideoFileName& fileName, std::int32_t& nameEnd);

// Where the file name lies in a composed open command: 0-based column of
// its first character and its length. For a name that ends at `nameEnd` the
// file name is nameEnd + 3 characters long, at most the 30 of its field,
// right-aligned in columns 6..35.
struct CommandPiece {
  std::size_t first;
  std::size_t length;
};
CommandPiece OpenCommandNamePiece(std::int32_t nameEnd);

// Composes "open ", the file name of OpenCommandNamePiece(nameEnd) taken from
// `fileName` right-aligned in 30 columns, " alias test" and a NUL into
// `mciCommand`, blanks after. The status of the composition; `mciCommand`
// is rewritten only on success.
RecordStatus ComposeOpenCommand(Record& mciCommand, const VideoFileName& fileName,
                                std::int32_t nameEnd);

// Composes "window test handle", `windowHandle` right-aligned in 12 columns
// and a NUL into `mciCommand`, blanks after; rewritten only on success.
RecordStatus ComposeWindowCommand(Record& mciCommand, std::int32_t windowHandle);

// Unread, a failure would send a stale or partial command.
enum class [[nodiscard]] CommandTextStatus : std::uint8_t {
  Ok = 0,
  BufferTooSmall = 1,  // the text and its NUL do not fit the caller's buffer
  PieceOutside = 2,    // the file-name piece does not lie inside the command
};

// The text handed to the media layer for `command`: its characters up to its
// first NUL (all of them when there is none), each run of blanks reduced to
// one blank, because the command-string parser refuses more than one blank
// after the verb. The characters of `fileName` (a piece of `command`, length
// 0 for none) are copied exactly instead, in double quotes when they hold a
// blank, so that the parser takes them as one word. Written to `text` with a
// closing NUL; `text` is untouched on failure.
CommandTextStatus SentCommandText(TextView command, CommandPiece fileName, std::span<char> text);
// The same for a command without a file name.
CommandTextStatus SentCommandText(TextView command, std::span<char> text);

// Room for any text SentCommandText makes of an 80-character record: its 80
// characters, two quotes and the NUL.
inline constexpr std::size_t SentCommandCapacity = RecordLength + 3;

}  // namespace formreel::app
