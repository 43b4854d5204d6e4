#pragma once

#include <memory>

#include "core/param/media_quad.h"
#include "core/param/scaled_param.h"
#include "objects/sprites/generators/generator_particle.h"

// The behaviours of generator particles. Each answers true while its particle may live; all
// randomness comes from crt_rand, in the order stated.

// Life: channel 0 grows by rate x dt; alive while it stays below 1.
class PLifeConst : public PProcess {
 public:
  explicit PLifeConst(float rate) : rate_(rate) {}
  bool Process(float dt, GeneratorParticle& p) override;
  std::unique_ptr<PProcess> Clone() const override { return std::make_unique<PLifeConst>(*this); }

 private:
  float rate_;
};

// Age: channel 3 grows by dt; alive while it stays below the limit (seconds).
class PAgeConst : public PProcess {
 public:
  explicit PAgeConst(float limit) : limit_(limit) {}
  bool Process(float dt, GeneratorParticle& p) override;
  std::unique_ptr<PProcess> Clone() const override { return std::make_unique<PAgeConst>(*this); }

 private:
  float limit_;
};

// A channel changed by `amount` linearly in the age (channel 3) between the ages `start` and
// `end`, exactly whatever the step sizes: each step adds the part of the remaining amount that
// the age has covered of the remaining window; at or past `end` the whole remaining amount.
class PFade : public PProcess {
 public:
  PFade(int channel, float start, float end, float amount);
  bool Process(float dt, GeneratorParticle& p) override;
  std::unique_ptr<PProcess> Clone() const override { return std::make_unique<PFade>(*this); }

 private:
  int channel_;
  float start_, end_, amount_;
};

// A channel changed by rate x dt while the life fraction (channel 0) lies strictly between
// `from` and `to`.
class PSteady : public PProcess {
 public:
  PSteady(int channel, float from, float to, float rate);
  bool Process(float dt, GeneratorParticle& p) override;
  std::unique_ptr<PProcess> Clone() const override { return std::make_unique<PSteady>(*this); }

 private:
  int channel_;
  float from_, to_, rate_;
};

// A twinkle of a channel around its base value: once more than `wait` seconds have passed, two
// times in three the channel returns to its base for 0.2 to 2.5 s, otherwise it flashes up to
// 1.5 times the base for 0.2 s. A new twinkle (elapsed 0, wait 0) decides on its first step.
class PTwinkle : public PProcess {
 public:
  PTwinkle(int channel, float elapsed, float base, float wait);
  bool Process(float dt, GeneratorParticle& p) override;
  std::unique_ptr<PProcess> Clone() const override { return std::make_unique<PTwinkle>(*this); }

  float Wait() const { return wait_; }

 private:
  int channel_;
  float elapsed_, base_, wait_;
};

// Straight flight: position += v dt + a dt² / 2, then v += a dt.
class PKinetic : public PProcess {
 public:
  PKinetic(const D3DXVECTOR3& velocity, const D3DXVECTOR3& acceleration)
      : velocity_(velocity), acceleration_(acceleration) {}
  bool Process(float dt, GeneratorParticle& p) override;
  std::unique_ptr<PProcess> Clone() const override { return std::make_unique<PKinetic>(*this); }

  const D3DXVECTOR3& Velocity() const { return velocity_; }

 private:
  D3DXVECTOR3 velocity_, acceleration_;
};

// Spin: channel 4 grows by rate x dt (radians).
class PSpin : public PProcess {
 public:
  explicit PSpin(float rate) : rate_(rate) {}
  bool Process(float dt, GeneratorParticle& p) override;
  std::unique_ptr<PProcess> Clone() const override { return std::make_unique<PSpin>(*this); }

 private:
  float rate_;
};

// What a wandering particle reads of the generator that made it, at each step: the region it
// keeps to (x from corner 0 to corner 3, y likewise) and the scaled motion scale, mean wait and
// impulse time. The generator owns the block and the parameters.
struct BrownianOwner {
  const MediaQuad* region = nullptr;
  const UINTSclaleTo<float>* motionScale = nullptr;
  const UINTSclaleTo<float>* meanWait = nullptr;
  const UINTSclaleTo<float>* impulseTime = nullptr;
};

// A random wander: inside the region the particle changes its drift towards a random target
// speed (up to 100 units a second in x and y) at random intervals; when it leaves the region it
// is accelerated home towards the region's centre at speed 100. Accelerations are spread over
// the impulse time; an impulse time of 0 gives no acceleration. Without an owner block nothing
// moves.
class PBrownian : public PProcess {
 public:
  explicit PBrownian(const BrownianOwner* owner) : owner_(owner) {}
  // A new wanderer: inside its region, drifting at `velocity`, its first change after `wait`.
  PBrownian(const BrownianOwner* owner, const D3DXVECTOR3& velocity, float wait)
      : owner_(owner), velocity_(velocity), acceleration_(0, 0, 0), wait_(wait), inside_(1) {}
  bool Process(float dt, GeneratorParticle& p) override;
  std::unique_ptr<PProcess> Clone() const override { return std::make_unique<PBrownian>(*this); }

  const D3DXVECTOR3& Velocity() const { return velocity_; }
  const D3DXVECTOR3& Acceleration() const { return acceleration_; }
  bool Inside() const { return inside_ != 0; }

 private:
  const BrownianOwner* owner_;
  D3DXVECTOR3 velocity_, acceleration_;
  float impulseTime_ = 0.0f;
  float wait_ = 0.0f;
  uint8_t inside_ = 0;
};
