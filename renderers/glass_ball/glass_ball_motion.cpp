#include "renderers/glass_ball/glass_ball_motion.h"

#include <cmath>

void GlassBallPhase::Advance(float t, float rate) {
  if (!started) {
    lastTime = t;
    started = true;
  }
  phase += (t - lastTime) * rate;
  lastTime = t;
}

GlassBallPhase& SharedGlassBallPhase() {
  thread_local GlassBallPhase phase;
  return phase;
}

float SwingAt(float phase) {
  const float half = phase * 0.5f;
  return std::abs((half - std::floor(half)) * 2.0f - 1.0f) * 2.0f - 1.0f;
}

float ScrollFraction(float phase, int motion) {
  const float x = phase * (motion == 1 ? -0.5f : 0.5f);
  const float f = x - std::floor(x);
  // A tiny negative x rounds up to 1 in floats; that is the same place as 0.
  return f < 1.0f ? f : 0.0f;
}
