#include "forms/win32/console_line_channel.h"

#include <windows.h>

#include <atomic>

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

LineChannel::Line ConsoleLineChannel::ReadLine() {
  std::wstring typed;
  for (;;) {
    wchar_t buffer[256];
    DWORD got = 0;
    if (!ReadConsoleW(input_, buffer, 256, &got, nullptr) || got == 0) break;
    typed.append(buffer, got);
    if (typed.find(L'\n') != std::wstring::npos) break;
  }
  Line line;
  if (interrupted.exchange(false)) {
    line.end = Line::End::Interrupted;
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
