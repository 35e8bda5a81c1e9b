// Waiting for something that another process does: ask again and again,
// with a pause between, until it holds or the time is up. The one way the
// drivers and tests wait; none sleeps a fixed time, and none keeps a
// deadline loop of its own. What a try saw (a window's id, the last
// answer) stays in the variables `done` writes.
#pragma once

#include <chrono>
#include <thread>

// Calls `done` until it returns true, for at most `limit`; true when it did.
template <typename Done>
bool PollUntil(std::chrono::milliseconds limit, Done done,
               std::chrono::milliseconds interval = std::chrono::milliseconds(20)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(interval);
  }
}
