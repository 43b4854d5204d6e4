#include "particles/tree/particle_quad_batch.h"

#include <algorithm>

#include "core/list_limits.h"

uint32_t ParticleQuadBatch::Prepare(uint32_t quads) {
  quads_ = std::min(quads, kMaxParticlesPerList);
  // Buffers of a mesh hold no quad pattern: they are made again.
  if (mesh_ || QuadCapacity() < quads_ || !vertices.buffer) Reserve(std::max(quads_, 1u));
  mesh_ = false;
  return quads_;
}

void ParticleQuadBatch::EnsureCapacity(uint32_t vertexCount, uint32_t triangles) {
  vertexCount = std::min(vertexCount, 4 * kMaxParticlesPerList);
  triangles = std::min(triangles, 2 * kMaxParticlesPerList);
  quads_ = 0;
  meshVertices_ = 0;
  meshTriangles_ = 0;
  const bool fits =
      vertices.buffer && indices && vertices.count >= vertexCount && primitiveCount >= triangles;
  mesh_ = true;
  if (fits) return;
  // At least one element each, so that a mesh always has buffers to bind.
  CreateBuffers(std::max({vertexCount, vertices.count, 1u}),
                3 * std::max({triangles, primitiveCount, 1u}));
}

uint16_t* ParticleQuadBatch::LockIndices() {
  void* data = nullptr;
  if (!mesh_ || !indices || gfx::Failed(indices->Lock(0, 0, &data, 0))) return nullptr;
  if (data == nullptr) indices->Unlock();
  return static_cast<uint16_t*>(data);
}

void ParticleQuadBatch::UnlockIndices() {
  if (indices) indices->Unlock();
}

void ParticleQuadBatch::SetMeshCounts(uint32_t vertexCount, uint32_t triangles) {
  meshVertices_ = std::min(vertexCount, VertexCapacity());
  meshTriangles_ = std::min(triangles, TriangleCapacity());
}
