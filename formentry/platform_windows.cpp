// formentry on Windows: a console program whose form is a window, or plain
// lines in its console.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform.h"
#include "recode_windows.h"

namespace formreel::formentry {

namespace {

// The form has no owner: bring it to the foreground once its window exists,
// so that the keyboard reaches it whichever window the script ran from.
void CALLBACK BringFormForward(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND form = FindWindowA(FormClassName, nullptr);
  if (form == nullptr || GetWindowThreadProcessId(form, nullptr) != GetCurrentThreadId()) return;
  KillTimer(nullptr, timer);
  SetForegroundWindow(form);
}

}  // namespace

void PrepareStandardStreams() {
  // Lines end with LF alone, as scripts read them.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

namespace {

// A descriptor file being read on a thread of its own, which the program
// stops waiting for once the time is up (and leaves to end with it).
struct Reading {
  int descriptor;
  std::string contents;
  int error = 0;  // errno of a failed read; 0 at the end, or past the limit
};

DWORD WINAPI ReadToTheEnd(void* parameter) {
  Reading& reading = *static_cast<Reading*>(parameter);
  std::array<char, 8192> bytes{};
  while (reading.contents.size() <= DescriptorFileCapacity) {
    const std::size_t room = std::min(bytes.size(), DescriptorFileCapacity + 1 - reading.contents.size());
    const int got = _read(reading.descriptor, bytes.data(), static_cast<unsigned>(room));
    if (got < 0) reading.error = errno;
    if (got <= 0) break;
    reading.contents.append(bytes.data(), static_cast<std::size_t>(got));
  }
  return 0;
}

}  // namespace

FileReading ReadDescriptorFile(const std::string& path, std::string& contents, std::string& reason) {
  const bool input = path == "-";
  const int descriptor = input ? _fileno(stdin) : _open(path.c_str(), _O_RDONLY | _O_BINARY);
  if (descriptor < 0) {
    reason = std::strerror(errno);
    return FileReading::Failed;
  }
  _setmode(descriptor, _O_BINARY);
  DWORD mode = 0;
  if (GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(descriptor)), &mode)) return FileReading::Terminal;
  auto* reading = new Reading{descriptor, {}};
  HANDLE thread = CreateThread(nullptr, 0, ReadToTheEnd, reading, 0, nullptr);
  if (thread == nullptr) {
    ReadToTheEnd(reading);
  } else {
    const bool ended = WaitForSingleObject(thread, DescriptorFileSeconds * 1000) == WAIT_OBJECT_0;
    CloseHandle(thread);
    if (!ended) return FileReading::TooSlow;  // the reading thread keeps `reading`
  }
  const std::unique_ptr<Reading> done(reading);
  if (!input) _close(descriptor);
  if (done->error != 0) {
    reason = std::strerror(done->error);
    return FileReading::Failed;
  }
  if (done->contents.size() > DescriptorFileCapacity) return FileReading::TooLong;
  contents = std::move(done->contents);
  return FileReading::Read;
}

bool TextsAreUtf8() { return GetACP() == CP_UTF8; }

// The programs' manifest makes the active page UTF-8, and then the bytes
// pass unchanged; in another page the edges convert.
std::optional<std::string> FromUtf8(std::string_view text) {
  return TextsAreUtf8() ? std::string(text) : Recode(text, CP_UTF8, GetACP());
}
std::optional<std::string> TextToUtf8(std::string_view text) {
  return TextsAreUtf8() ? std::string(text) : Recode(text, GetACP(), CP_UTF8);
}

FormEntryEnd ShowForm(CommandLine::Display display, const std::string& descriptor, FormArrays& arrays,
                      std::chrono::milliseconds timeout) {
  // Its NUL counted, so that the form reads no further than the descriptor.
  const auto length = static_cast<std::int32_t>(descriptor.size() + 1);
  const FormRules rules{arrays.checks, timeout};
  switch (display) {
    case CommandLine::Display::Unattended:
      FormEntry(descriptor.data(), length, arrays.selections, arrays.values, FormDisplay::Unattended, rules);
      break;
    case CommandLine::Display::Plain:
    case CommandLine::Display::Terminal:  // a console shows the plain lines
      FormEntry(descriptor.data(), length, arrays.selections, arrays.values, FormDisplay::Plain, rules);
      break;
    case CommandLine::Display::Standard:
    case CommandLine::Display::Window:
      SetTimer(nullptr, 0, 0, BringFormForward);
      FormEntry(descriptor.data(), length, arrays.selections, arrays.values, FormDisplay::Standard, rules);
      break;
  }
  return LastFormEntryEnd();
}

// The console sent CTRL-C to every program attached to it already.
void EndAsInterrupted() {}

}  // namespace formreel::formentry
