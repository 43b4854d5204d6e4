#include "player/render/sprite_array.h"

#include <algorithm>
#include <vector>

#include "core/list_limits.h"
#include "core/startup/thread_slots.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/render/quad_blocks.h"
#include "player/render/render_context.h"

template <class V>
void DS_SpriteArrayT<V>::CreateVertexBuffer(uint32_t count) {
  vertices.count = std::min(count, 4 * kMaxParticlesPerList);
  vertices.Create(vertices.count * kStride, V::kFvf);
}

template <class V>
void DS_SpriteArrayT<V>::CreateBuffers(uint32_t vertexCount, uint32_t indexCount) {
  CreateVertexBuffer(vertexCount);
  indexCount = std::min(indexCount, 6 * kMaxParticlesPerList);
  primitiveType = gfx::PrimitiveType::TriangleList;
  extra = 0;
  primitiveCount = indexCount / 3;
  indices.Reset();
  gfx::Device* device = CurrentDevice();
  gfx::IndexBuffer* created = nullptr;
  if (device != nullptr && indexCount > 0 &&
      gfx::Succeeded(device->CreateIndexBuffer(indexCount * 2, gfx::Usage::WriteOnly,
                                               gfx::Format::Index16, gfx::Pool::Managed, &created)))
    indices.Reset(created);
}

template <class V>
void DS_SpriteArrayT<V>::Reserve(uint32_t quads) {
  quads = std::min(quads, kMaxParticlesPerList);
  CreateBuffers(4 * quads, 6 * quads);
  void* data = nullptr;
  if (quads == 0 || !indices || gfx::Failed(indices->Lock(0, 0, &data, 0))) return;
  if (data != nullptr) WriteQuadIndices({static_cast<uint16_t*>(data), size_t{6} * quads});
  indices->Unlock();
}

template <class V>
void DS_SpriteArrayT<V>::InitQuads(uint32_t quads) {
  Reserve(quads);
  V* v = LockVertices();
  if (v == nullptr) return;
  static constexpr float kUV[4][2] = {{0, 1}, {0, 0}, {1, 1}, {1, 0}};
  for (uint32_t i = 0; i < vertices.count; ++i)
    v[i] = V{0.0f, 0.0f, 0.0f, 0, kUV[i % 4][0], kUV[i % 4][1]};
  UnlockVertices();
}

template <class V>
void DS_SpriteArrayT<V>::Draw(gfx::Effect* effect, gfx::EffectHandle technique, uint32_t quads,
                              bool wrap) const {
  DrawTriangles(effect, technique, 2 * std::min(quads, QuadCapacity()), wrap, true);
}

template <class V>
void DS_SpriteArrayT<V>::DrawMesh(gfx::Effect* effect, gfx::EffectHandle technique,
                                  uint32_t triangles, bool wrap) const {
  gfx::IndexBufferDesc desc{};
  if (!indices || gfx::Failed(indices->GetDesc(&desc))) return;
  DrawTriangles(effect, technique, std::min<uint32_t>(triangles, desc.size / 6), wrap, false);
}

template <class V>
void DS_SpriteArrayT<V>::DrawTriangles(gfx::Effect* effect, gfx::EffectHandle technique,
                                       uint32_t triangles, bool wrap, bool quadBlocks) const {
  gfx::Device* device = CurrentDevice();
  if (device == nullptr || effect == nullptr || !vertices.buffer || !indices) return;
  if (RenderContext* context = RenderContextTlsSlot::Get()) {
    context->ApplyViewProjection();
    context->SetWorldTransform(node.world);
  }
  effect->SetTechnique(technique);
  uint32_t passes = 0;
  effect->Begin(&passes, 0);
  for (uint32_t i = 0; i < passes; ++i) {
    effect->BeginPass(i);
    if (wrap) {
      for (uint32_t stage : {0u, 1u}) {
        device->SetSamplerState(stage, gfx::SamplerState::AddressU, gfx::TextureAddress::Wrap);
        device->SetSamplerState(stage, gfx::SamplerState::AddressV, gfx::TextureAddress::Wrap);
      }
    }
    device->SetIndices(indices.Get());
    device->SetFVF(V::kFvf);
    device->SetStreamSource(0, vertices.buffer.Get(), 0, kStride);
    if (triangles > 0 && quadBlocks) {
      DrawIndexedQuads(*device, primitiveType, vertices.count, 0, triangles);
    } else if (triangles > 0) {
      device->DrawIndexedPrimitive(primitiveType, 0, 0, vertices.count, 0, triangles);
    }
    effect->EndPass();
  }
  effect->End();
}

template class DS_SpriteArrayT<DX_V::PCT>;
template class DS_SpriteArrayT<DX_V::PCT2>;

void SetQuadVertexColors(uint32_t rgb, float alpha, DX_V::PCT* quad) {
  if (quad == nullptr) return;
  const float a = alpha / 255.0f;
  const uint32_t alphaByte = !(a > 0.0f) ? 0u
                             : a >= 1.0f ? 255u
                                         : static_cast<uint32_t>(a * 255.0f + 0.5f);
  const uint32_t r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
  const uint32_t argb = alphaByte << 24 | r << 16 | g << 8 | b;
  for (int i = 0; i < 4; ++i)
    quad[i].diffuse = argb;
}
