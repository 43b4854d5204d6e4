#pragma once

#include <cstddef>

#include "particles/behaviour/particle/particle_record.h"

namespace scene_test {

// How many of `particles` stand on a demo slide's 575 x 269 picture.
inline size_t CountOnPicture(const ParticleList& particles) {
  size_t inside = 0;
  for (const ParticleHandle& p : particles) {
    const D3DXVECTOR3 at = p->WorldOrigin();
    inside += at.x >= 0 && at.x <= 575 && at.y >= 0 && at.y <= 269;
  }
  return inside;
}

}  // namespace scene_test
