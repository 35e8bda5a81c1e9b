// A C++ program's form in the full-screen terminal, a field of each kind
// that takes typing or checking, NAME required and PORT from 1 to 65535:
// prints the answers of a confirmed form and how the call ended. The
// second argument is a time limit in milliseconds. SIGUSR1 while the form
// is open does what the first names: "fatal" meets an impossible condition
// (a text position outside its storage); "poll" leaves fewer descriptors
// than the form waits on, so that its next wait fails.
#include <signal.h>
#include <sys/resource.h>

#include <array>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <thread>

#include "formreel/forms.h"
#include "text/fixed_text.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");  // the terminal's UTF-8
  const std::string_view mode = argc > 1 ? argv[1] : "";
  sigset_t usr1;
  sigemptyset(&usr1);
  sigaddset(&usr1, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &usr1, nullptr);  // every thread's: only sigwait takes it
  rlimit descriptors{};
  getrlimit(RLIMIT_NOFILE, &descriptors);
  std::thread([&] {
    int signal = 0;
    sigwait(&usr1, &signal);
    if (mode == "fatal") std::printf("%c", formreel::FixedText<1>()(2));
    const rlimit one{1, descriptors.rlim_max};
    if (mode == "poll" && setrlimit(RLIMIT_NOFILE, &one) == 0) std::printf("waits fail\n");
    std::fflush(stdout);
  }).detach();
  const std::string_view descriptor = "HProbe|CNAME^|LPORT^|PPASSWORD^|XHOST^|MGENRES^FILM^NEWS^DOCUMENTARY^|";
  std::array<char, 256> name{}, password{"QZ#%"}, host{};
  std::int8_t selections[5] = {};
  formreel::ValueSlot values[5];
  values[0].Put(name.data());
  values[1].Put(std::int32_t{8080});
  values[2].Put(password.data());
  values[3].Put(host.data());
  values[4].Put(std::uint8_t{0b010});
  const formreel::FieldCheck checks[] = {{.required = true}, {.bounded = true, .lowest = 1, .highest = 65535}};
  const formreel::FormRules rules{checks, std::chrono::milliseconds(argc > 2 ? std::atoi(argv[2]) : 0)};
  if (formreel::FormEntry(descriptor.data(), static_cast<std::int32_t>(descriptor.size()), selections, values,
                          formreel::FormDisplay::Standard, rules))
    std::printf("%s\n%d\n%s\n%s\n%d\n", name.data(), values[1].Get<std::int32_t>(), password.data(), host.data(),
                values[4].Get<std::uint8_t>());
  setrlimit(RLIMIT_NOFILE, &descriptors);
  std::printf("%s\n", formreel::FormEntryEndName(formreel::LastFormEntryEnd()).data());
}
