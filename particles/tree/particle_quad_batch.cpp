#include "particles/tree/particle_quad_batch.h"

#include <algorithm>

#include "core/list_limits.h"

uint32_t ParticleQuadBatch::Prepare(uint32_t quads) {
  quads_ = std::min(quads, kMaxParticlesPerList);
  if (QuadCapacity() < quads_ || !vertices.buffer) Reserve(std::max(quads_, 1u));
  return quads_;
}
