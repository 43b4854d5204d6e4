#include "particles/classic/routines/brownian_routine.h"

#include <cmath>

#include "core/crt_rand.h"
#include "core/math/random_direction.h"
#include "core/math/ratio.h"

namespace {

// A walking velocity: 75 to 100 units a second (the length drawn first) in a random direction.
D3DXVECTOR3 RandomWalk() {
  D3DXVECTOR3 v;
  const float length = crt_rand_unit() * 25.0f + 75.0f;
  RandomDirection2D(&v, length, 0.0f, 360.0f);
  return v;
}

}  // namespace

IPR_Brownian::IPR_Brownian(const MediaQuad* region, const UINTSclaleTo<float>* walkSpeed,
                           const UINTSclaleTo<float>* changeRate,
                           const UINTSclaleTo<float>* accelerationTime)
    : region(region),
      walkSpeed(walkSpeed),
      changeRate(changeRate),
      accelerationTime(accelerationTime),
      velocity(RandomWalk()) {
  timeToChange = NextChangeTime();
}

float IPR_Brownian::NextChangeTime() const {
  const float r = changeRate->Scaled();
  const float low = RatioOr0(0.5f, r), high = RatioOr0(1.5f, r);
  return crt_rand_unit() * (high - low) + low;
}

bool IPR_Brownian::Apply(float dt, RoutineParticle& p) {
  const float t = accelerationTime->Scaled();
  const D3DXVECTOR3& first = region->corners[0].Value();
  const D3DXVECTOR3& last = region->corners[3].Value();
  const bool in = first.x <= p.position.x && p.position.x <= last.x && first.y <= p.position.y &&
                  p.position.y <= last.y;
  const bool still = acceleration == D3DXVECTOR3(0, 0, 0);
  if (!in && (inside != 0 || still)) {
    const float dx = (first.x + last.x) * 0.5f - p.position.x;
    const float dy = (first.y + last.y) * 0.5f - p.position.y;
    const float dz = -p.position.z;
    const float length = std::sqrt(dx * dx + dy * dy + dz * dz);
    const float unit = RatioOr0(1.0f, length);
    const D3DXVECTOR3 home(dx * unit, dy * unit, dz * unit);
    acceleration = (home * 100.0f - velocity) * RatioOr0(1.0f, t);
    accelerationLeft = t;
  }
  inside = in ? 1 : 0;

  timeToChange -= dt;
  if (timeToChange < 0.0f) {
    timeToChange = NextChangeTime();
    if (in) {
      acceleration = (RandomWalk() - velocity) * RatioOr0(1.0f, t);
      accelerationLeft = t;
    }
  }
  accelerationLeft -= dt;
  if (accelerationLeft < 0.0f) {
    acceleration = {0, 0, 0};
    accelerationLeft = 0.0f;
  }
  p.position += (acceleration * (dt * dt / 2.0f) + velocity * dt) * walkSpeed->Scaled();
  velocity += acceleration * dt;
  return true;
}
