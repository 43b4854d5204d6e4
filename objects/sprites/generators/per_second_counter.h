#pragma once

#include "core/param/scaled_param.h"

// The emission rate of a generator: the stored rate, its scaled value in particles per second
// (the owner sets factor and offset) and the time of the last emission.
class PerSecondCounter : public UINTSclaleTo<float> {
 public:
  PerSecondCounter() = default;
  PerSecondCounter(const PerSecondCounter& other) = default;
  virtual ~PerSecondCounter() = default;

  // The particles due at time t: scaled rate x (t - last emission), truncated towards zero and
  // held within the int range. When it is not 0 the last emission becomes t (the fraction left
  // over is dropped); between counts of 0 the time keeps adding up.
  virtual int TakeCount(float t);

  float lastEmission = 0.0f;
};

// The same rate with a random count: n = 2 x the count above, and a draw of rand() % (n + 1),
// from 0 to n and n / 2 on average. A count of 0 draws nothing and keeps the time; a negative
// one (time went back) takes the time and gives 0.
class PerSecondCounterRnd : public PerSecondCounter {
 public:
  int TakeCount(float t) override;
};
