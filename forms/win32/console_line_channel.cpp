#include "forms/win32/console_line_channel.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>

namespace formreel {

namespace {

constexpr wchar_t EndOfInput = L'\x1a';  // CTRL-Z

std::wstring Wide(std::string_view text, UINT page) {
  const int length = static_cast<int>(text.size());
  const int wide = MultiByteToWideChar(page, 0, text.data(), length, nullptr, 0);
  std::wstring converted(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(page, 0, text.data(), length, converted.data(), wide);
  return converted;
}

std::string Narrow(std::wstring_view text, UINT page) {
  const int length = static_cast<int>(text.size());
  const int narrow = WideCharToMultiByte(page, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string converted(static_cast<std::size_t>(narrow), '\0');
  WideCharToMultiByte(page, 0, text.data(), length, converted.data(), narrow, nullptr, nullptr);
  return converted;
}

HANDLE Open(const wchar_t* name) {
  const HANDLE handle = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

// CTRL-C while a line is read: the read is cut short, and this says why.
std::atomic<bool> interrupted{false};

BOOL WINAPI NoteInterrupt(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  interrupted = true;
  return TRUE;
}

// How long a line read that an ENTER was given to end may take to end.
constexpr DWORD ReadEndMilliseconds = 1000;

// A line being read from the console.
struct ConsoleRead {
  HANDLE input;
  std::wstring typed;
};

// Reads up to the line end: the console hands a long line over in parts.
DWORD WINAPI ReadTyped(void* parameter) {
  ConsoleRead& read = *static_cast<ConsoleRead*>(parameter);
  for (;;) {
    wchar_t buffer[256];
    DWORD got = 0;
    if (!ReadConsoleW(read.input, buffer, 256, &got, nullptr) || got == 0) break;
    read.typed.append(buffer, got);
    if (read.typed.find(L'\n') != std::wstring::npos) break;
  }
  return 0;
}

// The console takes an ENTER, pressed and let go, as if typed.
void PressEnter(HANDLE input) {
  INPUT_RECORD keys[2]{};
  for (int k = 0; k < 2; ++k) {
    keys[k].EventType = KEY_EVENT;
    KEY_EVENT_RECORD& key = keys[k].Event.KeyEvent;
    key.bKeyDown = k == 0;
    key.wRepeatCount = 1;
    key.wVirtualKeyCode = VK_RETURN;
    key.wVirtualScanCode = static_cast<WORD>(MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC));
    key.uChar.UnicodeChar = L'\r';
  }
  DWORD written = 0;
  WriteConsoleInputW(input, keys, 2, &written);
}

// While it lives, the console echoes nothing typed; its mode as before after.
class EchoOff {
 public:
  EchoOff(HANDLE input, bool wanted) : input_(input) {
    if (!wanted || !GetConsoleMode(input, &saved_)) return;
    active_ = SetConsoleMode(input, saved_ & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) != 0;
  }
  ~EchoOff() {
    if (active_) SetConsoleMode(input_, saved_);
  }
  EchoOff(const EchoOff&) = delete;
  EchoOff& operator=(const EchoOff&) = delete;

 private:
  HANDLE input_;
  DWORD saved_ = 0;
  bool active_ = false;
};

}  // namespace

ConsoleLineChannel::ConsoleLineChannel() : input_(Open(L"CONIN$")), output_(Open(L"CONOUT$")) {
  if (!IsOpen()) problem_ = "no console to ask in";
  interrupted = false;
  SetConsoleCtrlHandler(NoteInterrupt, TRUE);
}

ConsoleLineChannel::~ConsoleLineChannel() {
  SetConsoleCtrlHandler(NoteInterrupt, FALSE);
  if (input_ != nullptr) CloseHandle(input_);
  if (output_ != nullptr) CloseHandle(output_);
}

void ConsoleLineChannel::Write(std::string_view text) {
  const std::wstring wide = Wide(text, CP_UTF8);
  DWORD written = 0;
  WriteConsoleW(output_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

LineChannel::Line ConsoleLineChannel::ReadLine(Echo echo, std::chrono::milliseconds limit) {
  EchoOff echoOff(input_, echo == Echo::Hidden);
  bool timedOut = false;
  std::wstring typed;
  if (limit.count() <= 0) {
    ConsoleRead read{input_, {}};
    ReadTyped(&read);
    typed = std::move(read.typed);
  } else {
    // On a thread of its own, since a console line read cannot be given a
    // time: when the time is up an ENTER ends it, and what it read is
    // dropped.
    auto* read = new ConsoleRead{input_, {}};
    const HANDLE thread = CreateThread(nullptr, 0, ReadTyped, read, 0, nullptr);
    if (thread == nullptr) {
      ReadTyped(read);
    } else {
      const auto wait = static_cast<DWORD>(std::min<std::chrono::milliseconds::rep>(limit.count(), INFINITE - 1));
      if (WaitForSingleObject(thread, wait) == WAIT_TIMEOUT) {
        timedOut = true;
        PressEnter(input_);
        if (WaitForSingleObject(thread, ReadEndMilliseconds) != WAIT_OBJECT_0) {
          CloseHandle(thread);  // the thread keeps `read`, which outlives this call
          return {Line::End::TimedOut, {}};
        }
      }
      CloseHandle(thread);
    }
    const std::unique_ptr<ConsoleRead> done(read);
    typed = std::move(done->typed);
  }
  // The console echoed no line end either (nor, out of time, was there one).
  if (echo == Echo::Hidden && !timedOut) Write("\n");
  Line line;
  if (interrupted.exchange(false)) {
    line.end = Line::End::Interrupted;
    return line;
  }
  if (timedOut) {
    line.end = Line::End::TimedOut;
    return line;
  }
  const std::size_t end = typed.find_first_of(L"\r\n");
  typed = typed.substr(0, end);
  if (typed.find(EndOfInput) != std::wstring::npos || (end == std::wstring::npos && typed.empty())) {
    line.end = Line::End::EndOfInput;
    return line;
  }
  line.text = Narrow(typed, CP_ACP);
  return line;
}

}  // namespace formreel
