// A C++ program's one-field form in the full-screen terminal: prints how
// the call ended. SIGUSR1 while the form is open does what the argument
// names: "fatal" meets an impossible condition (a text position outside
// its storage); "poll" leaves fewer descriptors than the form waits on, so
// that its next wait fails.
#include <signal.h>
#include <sys/resource.h>

#include <cstdio>
#include <string_view>
#include <thread>

#include "formreel/forms.h"
#include "text/fixed_text.h"

int main(int argc, char** argv) {
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
  char name[31] = "";
  std::int8_t selections[1] = {};
  formreel::ValueSlot values[1];
  values[0].Put(static_cast<char*>(name));
  formreel::FormEntry("HProbe|CNAME^|", 14, selections, values);
  setrlimit(RLIMIT_NOFILE, &descriptors);
  const char* ends[] = {"confirmed", "cancelled", "refused", "not shown", "busy", "interrupted"};
  std::printf("%s\n", ends[static_cast<int>(formreel::LastFormEntryEnd())]);
}
