#pragma once

#include <functional>
#include <optional>

namespace sys {

// A time of day on the computer's local clock.
struct LocalTimeOfDay {
  int hour = 0;  // 0 to 23
  int minute = 0;
  int second = 0;  // 0 to 60 (a leap second)
};

// Where the local time comes from: a function that answers it, or nothing when it cannot be
// read. The system clock unless replaced (tests fix the time).
using LocalTimeSource = std::function<std::optional<LocalTimeOfDay>()>;

// The computer's calendar time now, converted to local time; nothing when either step fails.
std::optional<LocalTimeOfDay> SystemLocalTime();

// The local time from the current source. Main thread only, as its replacement is.
std::optional<LocalTimeOfDay> CurrentLocalTime();
// Replaces the source; an empty function brings the system clock back.
void SetLocalTimeSource(LocalTimeSource source);

}  // namespace sys
