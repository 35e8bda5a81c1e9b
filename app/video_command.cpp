#include "app/video_command.h"

#include <algorithm>
#include <array>

#include "text/fatal_error.h"

namespace formreel::app {

namespace {

constexpr std::size_t OpenNameColumn = 5;  // 0-based: the field after "open "
constexpr auto OpenNameWidth = static_cast<std::size_t>(VideoNameLength);

}  // namespace

void MakeVideoFileName(TextView name, VideoFileName& fileName, std::int32_t& nameEnd) {
  if (name.size() < static_cast<std::size_t>(VideoNameLength))
    FatalRunTimeError("video name shorter than 30 characters");
  std::int32_t end = 1;
  while (end <= VideoNameLength && name[static_cast<std::size_t>(end - 1)] != Nul) ++end;
  const std::int32_t n = end - 1;
  for (int k = 1; k <= VideoNameLength; ++k) {
    char c = Blank;
    if (k <= n)
      c = name[static_cast<std::size_t>(k - 1)];
    else if (k == n + 1)
      c = ExtensionDot;
    else if (k == n + 2)
      c = ExtensionA;
    else if (k == n + 3)
      c = ExtensionV;
    else if (k == n + 4)
      c = ExtensionI;
    fileName.Set(k, c);
  }
  nameEnd = end;
}

CommandPiece OpenCommandNamePiece(std::int32_t nameEnd) {
  // nameEnd is 0 (never set) to 31; anything else is held to the field.
  const std::int64_t wanted = static_cast<std::int64_t>(nameEnd) + 3;
  const auto length =
      static_cast<std::size_t>(std::clamp<std::int64_t>(wanted, 0, OpenNameWidth));
  return {OpenNameColumn + OpenNameWidth - length, length};
}

RecordStatus ComposeOpenCommand(Record& mciCommand, const VideoFileName& fileName,
                                std::int32_t nameEnd) {
  const CommandPiece piece = OpenCommandNamePiece(nameEnd);
  const TextView item = fileName.All().first(piece.length);
  return ComposeRecord(mciCommand, OpenCommandFormat,
                       {OpenPiece, item, TextView(AliasPiece, sizeof AliasPiece)});
}

RecordStatus ComposeWindowCommand(Record& mciCommand, std::int32_t windowHandle) {
  return ComposeRecord(mciCommand, WindowCommandFormat,
                       {WindowPiece, windowHandle, TextView(TwoNuls, sizeof TwoNuls)});
}

CommandTextStatus SentCommandText(TextView command, CommandPiece fileName, std::span<char> text) {
  if (fileName.first > command.size() || fileName.length > command.size() - fileName.first)
    return CommandTextStatus::PieceOutside;
  const auto nul = std::find(command.begin(), command.end(), Nul);
  const auto used = static_cast<std::size_t>(nul - command.begin());
  const std::size_t nameFirst = std::min(fileName.first, used);
  const std::size_t nameLast = std::min(fileName.first + fileName.length, used);
  const TextView name = command.subspan(nameFirst, nameLast - nameFirst);
  const bool quoted = std::find(name.begin(), name.end(), Blank) != name.end();

  // Built in a scratch buffer first, so that the caller's buffer is written
  // only when the whole text fits.
  std::array<char, SentCommandCapacity> built{};
  std::size_t size = 0;
  bool overflow = false;
  char last = Nul;
  const auto put = [&](char c) {
    if (size < built.size())
      built[size++] = c;
    else
      overflow = true;
    last = c;
  };
  for (std::size_t k = 0; k < used;) {
    if (k == nameFirst && !name.empty()) {
      if (quoted) put('"');
      for (char c : name) put(c);
      if (quoted) put('"');
      k = nameLast;
      continue;
    }
    if (command[k] == Blank && last == Blank) {
      ++k;
      continue;
    }
    put(command[k++]);
  }
  put(Nul);
  if (overflow || size > text.size()) return CommandTextStatus::BufferTooSmall;
  std::copy_n(built.begin(), size, text.begin());
  return CommandTextStatus::Ok;
}

CommandTextStatus SentCommandText(TextView command, std::span<char> text) {
  return SentCommandText(command, CommandPiece{0, 0}, text);
}

}  // namespace formreel::app
