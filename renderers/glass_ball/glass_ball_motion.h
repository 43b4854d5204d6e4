#pragma once

// How the picture in a glass ball moves: one phase that every glass ball of the thread shares,
// turned into a swing from side to side or a scroll in either direction.

// The shared phase: it advances by the time passed since the last call times a rate, and the
// first call only starts the clock. It is never reset, and a time that runs backwards runs it
// back.
struct GlassBallPhase {
  void Advance(float t, float rate);

  float phase = 0.0f;
  float lastTime = 0.0f;
  bool started = false;
};

// The phase of the calling thread's glass balls.
GlassBallPhase& SharedGlassBallPhase();

// Motion 3: a triangle wave between -1 and 1 with a period of 2 units of phase: 1 at phase 0,
// -1 at phase 1.
float SwingAt(float phase);

// Motions 1 and 2: how far, as a fraction of the target's width in [0, 1), the picture has
// scrolled: -phase / 2 (motion 1) or phase / 2 (motion 2), wrapped.
float ScrollFraction(float phase, int motion);
