#include "objects/sprites/generators/particle_processes.h"

#include <algorithm>

#include "core/crt_rand.h"
#include "core/math/ratio.h"
#include "platform/math/d3dx_math.h"

namespace {

int ValidChannel(int channel) {
  return std::clamp(channel, 0, GeneratorParticle::kChannels - 1);
}

// (v - w) / t, or no acceleration for an impulse time of 0.
D3DXVECTOR3 Towards(const D3DXVECTOR3& target, const D3DXVECTOR3& velocity, float t) {
  return {RatioOr0(target.x - velocity.x, t), RatioOr0(target.y - velocity.y, t),
          RatioOr0(target.z - velocity.z, t)};
}

}  // namespace

bool PLifeConst::Process(float dt, GeneratorParticle& p) {
  float& life = p.channels[GeneratorParticle::kLife];
  life += rate_ * dt;
  return life < 1.0f;
}

bool PAgeConst::Process(float dt, GeneratorParticle& p) {
  float& age = p.channels[GeneratorParticle::kAge];
  age += dt;
  return age < limit_;
}

PFade::PFade(int channel, float start, float end, float amount)
    : channel_(ValidChannel(channel)), start_(start), end_(end), amount_(amount) {}

bool PFade::Process(float /*dt*/, GeneratorParticle& p) {
  const float age = p.channels[GeneratorParticle::kAge];
  if (amount_ == 0.0f || start_ > age) return true;
  float& value = p.channels[channel_];
  if (age >= end_) {
    // Also a window of no length: the whole amount at once, never a division by 0.
    value += amount_;
    amount_ = 0.0f;
    return true;
  }
  const float part = (age - start_) / (end_ - start_) * amount_;
  value += part;
  amount_ -= part;
  start_ = age;
  return true;
}

PSteady::PSteady(int channel, float from, float to, float rate)
    : channel_(ValidChannel(channel)), from_(from), to_(to), rate_(rate) {}

bool PSteady::Process(float dt, GeneratorParticle& p) {
  const float life = p.channels[GeneratorParticle::kLife];
  if (from_ < life && life < to_) p.channels[channel_] += rate_ * dt;
  return true;
}

PTwinkle::PTwinkle(int channel, float elapsed, float base, float wait)
    : channel_(ValidChannel(channel)), elapsed_(elapsed), base_(base), wait_(wait) {}

bool PTwinkle::Process(float dt, GeneratorParticle& p) {
  elapsed_ += dt;
  if (!(elapsed_ > wait_)) return true;
  if (crt_rand() % 3 != 0) {
    p.channels[channel_] = base_;
    wait_ = crt_rand_unit() * 2.3f + 0.2f;
  } else {
    p.channels[channel_] = base_ * (1.0f + crt_rand_unit() * 0.5f);
    wait_ = 0.2f;
  }
  elapsed_ = 0.0f;
  return true;
}

bool PKinetic::Process(float dt, GeneratorParticle& p) {
  p.position += velocity_ * dt + acceleration_ * (dt * dt * 0.5f);
  velocity_ += acceleration_ * dt;
  return true;
}

bool PSpin::Process(float dt, GeneratorParticle& p) {
  p.channels[GeneratorParticle::kAngle] += rate_ * dt;
  return true;
}

bool PBrownian::Process(float dt, GeneratorParticle& p) {
  if (owner_ == nullptr || owner_->region == nullptr || owner_->motionScale == nullptr ||
      owner_->meanWait == nullptr || owner_->impulseTime == nullptr)
    return true;
  const D3DXVECTOR3 low = owner_->region->corners[0].Value();
  const D3DXVECTOR3 high = owner_->region->corners[3].Value();
  const float scale = owner_->motionScale->Scaled();
  const float meanWait = owner_->meanWait->Scaled();
  const float impulse = owner_->impulseTime->Scaled();
  D3DXVECTOR3& at = p.position;

  const bool outside = at.y > high.y || at.y < low.y || at.x < low.x || at.x > high.x;
  if (!outside) {
    inside_ = 1;
  } else {
    if (inside_ != 0 || acceleration_ == D3DXVECTOR3()) {
      const D3DXVECTOR3 home((low.x + high.x) * 0.5f - at.x, (low.y + high.y) * 0.5f - at.y,
                             0.0f - at.z);
      D3DXVECTOR3 direction;
      D3DXVec3Normalize(&direction, &home);
      acceleration_ = Towards(direction * 100.0f, velocity_, impulse);
      impulseTime_ = impulse;
    }
    inside_ = 0;
  }

  wait_ -= dt;
  if (wait_ < 0.0f) {
    wait_ = meanWait * 0.5f + crt_rand_unit() * meanWait;
    if (inside_ != 0) {
      const float y = crt_rand_unit() * 200.0f - 100.0f;
      const float x = crt_rand_unit() * 200.0f - 100.0f;
      acceleration_ = Towards(D3DXVECTOR3(x, y, 0.0f), velocity_, impulse);
      impulseTime_ = impulse;
    }
  }

  // The acceleration acts for what is left of the impulse time, also within a step longer than
  // that: dropping it there would lose the whole change of speed, and a wanderer would never
  // turn home at frame steps past the impulse time.
  const float active = std::clamp(impulseTime_, 0.0f, std::max(dt, 0.0f));
  at += (acceleration_ * (active * (dt - active * 0.5f)) + velocity_ * dt) * scale;
  velocity_ += acceleration_ * active;
  impulseTime_ -= dt;
  if (impulseTime_ <= 0.0f) {
    acceleration_ = D3DXVECTOR3();
    impulseTime_ = 0.0f;
  }
  return true;
}
