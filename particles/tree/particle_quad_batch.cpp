#include "particles/tree/particle_quad_batch.h"

#include <algorithm>

#include "core/list_limits.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"

uint32_t ParticleQuadBatch::Prepare(uint32_t quads) {
  quads_ = std::min(quads, kMaxParticlesPerList);
  // Buffers a mesh left behind hold no quad pattern.
  if (mesh_ || QuadCapacity() < quads_ || !vertices.buffer) Reserve(std::max(quads_, 1u));
  mesh_ = false;
  return quads_;
}

uint32_t ParticleQuadBatch::VertexRoom() const {
  gfx::VertexBufferDesc desc{};
  if (!vertices.buffer || gfx::Failed(vertices.buffer->GetDesc(&desc))) return 0;
  return desc.size / kStride;
}

uint32_t ParticleQuadBatch::TriangleRoom() const {
  gfx::IndexBufferDesc desc{};
  if (!indices || gfx::Failed(indices->GetDesc(&desc))) return 0;
  return desc.size / (3 * sizeof(uint16_t));
}

void ParticleQuadBatch::EnsureCapacity(uint32_t vertexCount, uint32_t triangles) {
  vertexCount = std::min(vertexCount, kMaxMeshVertices);
  // Three times the vertex limit is more than any ribbon of that many vertices has triangles.
  triangles = std::min(triangles, 3 * kMaxMeshVertices);
  if (TriangleRoom() < triangles || !indices) {
    indices.Reset();
    gfx::Device* device = CurrentDevice();
    gfx::IndexBuffer* created = nullptr;
    if (device != nullptr && gfx::Succeeded(device->CreateIndexBuffer(
                                 std::max(triangles, 1u) * 6, gfx::Usage::WriteOnly,
                                 gfx::Format::Index16, gfx::Pool::Managed, &created)))
      indices.Reset(created);
  }
  if (VertexRoom() < vertexCount || !vertices.buffer)
    vertices.Create(std::max(vertexCount, 1u) * kStride, DX_V::PCT2::kFvf);
  vertices.count = vertexCount;
  primitiveType = gfx::PrimitiveType::TriangleList;
  extra = 0;
  primitiveCount = triangles;
  quads_ = 0;
  mesh_ = true;
}

void ParticleQuadBatch::Draw(gfx::Effect* effect, gfx::EffectHandle technique, bool wrap) const {
  if (mesh_) {
    DrawMesh(effect, technique, primitiveCount, wrap);
  } else {
    PCT2SpriteArray::Draw(effect, technique, quads_, wrap);
  }
}
