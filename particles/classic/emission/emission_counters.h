#pragma once

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"

// How many particles a classic control emits in a step.
class ZKW_ImetterCaunter {
 public:
  virtual ~ZKW_ImetterCaunter() = default;
  virtual int Count(float dt) = 0;

 protected:
  ZKW_ImetterCaunter() = default;
  ZKW_ImetterCaunter(const ZKW_ImetterCaunter&) = default;
  ZKW_ImetterCaunter& operator=(const ZKW_ImetterCaunter&) = default;
};

// An even rate (stored value x 0.2 particles per second, 100 by default): the accumulated time
// gives whole particles and keeps the fraction, so the long-run rate is exact. Nothing while
// the rate is not above 0. A count past the int range saturates; callers cap it further.
class ZKW_EvenImitter : public ZKW_ImetterCaunter {
 public:
  ZKW_EvenImitter() = default;
  ZKW_EvenImitter(const ZKW_EvenImitter&) = default;

  int Count(float dt) override;

  float accumulator = 0.0f;
  UINTSclaleTo<float> rate{100, 0.2f, 0.0f};
};

// Events at random intervals drawn between a minimum and a maximum (seconds): each due event
// counts one and draws the next interval. Both intervals 0 count one per call once the first
// positive step has passed. An interval that is negative or not finite counts as 0. One call
// counts at most kMaxParticlesPerList events; the rest stay due for later calls.
class ZKW_RndImitter : public ZKW_ImetterCaunter {
 public:
  ZKW_RndImitter() = default;
  ZKW_RndImitter(const ZKW_RndImitter&) = default;

  int Count(float dt) override;

  MediaParamT<float> minimum{0.0f};
  MediaParamT<float> maximum{0.0f};
  float elapsed = 0.0f;
  float next = 0.0f;
};
