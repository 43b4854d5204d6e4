#pragma once

#include <algorithm>
#include <cmath>

// The longest step a clock takes at once, in seconds: a long stall is not caught up.
inline constexpr float kMaxClockStep = 0.2f;

// The step rule shared by every clock of the scene (speed parameters, timelines, the chrono
// clock): a time earlier than the last one restarts from it, so the step is 0; otherwise the
// step is the time since the last one, cut to kMaxClockStep. `last` becomes `t`. A time that is
// not finite takes no step and leaves `last` alone. Clocks fed with absolute time keep it in
// double, so that steps stay exact however long the player has run.
template <class Time>
inline float ClockStep(Time& last, Time t) {
  if (!std::isfinite(t)) return 0.0f;
  if (t < last) last = t;
  const Time dt = t - last;
  last = t;
  return static_cast<float>(std::min<Time>(dt, kMaxClockStep));
}

// The step rule of the clocks that count a jump back in time as a step forwards (the motion
// clocks of view objects, the drift of 3D copies): |t - last|, cut to kMaxClockStep; `last`
// becomes `t`. A time that is not finite takes no step and leaves `last` alone.
inline float AbsoluteClockStep(float& last, float t) {
  if (!std::isfinite(t)) return 0.0f;
  const float dt = std::fabs(t - last);
  last = t;
  return std::isfinite(dt) ? std::min(dt, kMaxClockStep) : 0.0f;
}
