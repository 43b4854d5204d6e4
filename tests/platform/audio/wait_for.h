#pragma once

#include <chrono>
#include <thread>

namespace audio_test {

// Waits up to five seconds for a condition that the audio thread brings about.
template <typename Fn>
bool WaitFor(Fn&& done) {
  using namespace std::chrono_literals;
  const auto until = std::chrono::steady_clock::now() + 5s;
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

}  // namespace audio_test
