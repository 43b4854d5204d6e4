#include "particles/tree/particle_quad_batch.h"

#include <algorithm>

#include "core/list_limits.h"

uint32_t ParticleQuadBatch::Prepare(uint32_t quads) {
  quads_ = std::min(quads, kMaxParticlesPerList);
  // A mesh's indices are not the quad pattern: they are written again.
  if (mesh_ || QuadCapacity() < quads_ || !vertices.buffer) Reserve(std::max(quads_, 1u));
  mesh_ = false;
  return quads_;
}

uint32_t ParticleQuadBatch::PrepareMesh(uint32_t vertexCount, uint32_t triangles) {
  vertexCount = std::min(vertexCount, kMaxMeshVertices);
  triangles = std::min(triangles, 2 * kMaxParticlesPerList);  // the index room a batch may have
  if (!mesh_ || vertices.count < vertexCount || primitiveCount < triangles || !vertices.buffer ||
      !indices)
    CreateBuffers(std::max(vertexCount, 1u), 3 * std::max(triangles, 1u));
  mesh_ = true;
  quads_ = 0;
  SetMeshCounts(0, 0);
  return std::min(vertexCount, vertices.count);
}

uint16_t* ParticleQuadBatch::LockIndices() {
  void* data = nullptr;
  if (!indices || gfx::Failed(indices->Lock(0, 0, &data, 0))) return nullptr;
  return static_cast<uint16_t*>(data);
}

void ParticleQuadBatch::UnlockIndices() {
  if (indices) indices->Unlock();
}
