#pragma once

#include <cstdint>
#include <cstring>

#include "platform/gfx/device.h"
#include "platform/gfx/effect/effect.h"

namespace gfx_test {

// Draws a quad of pre-transformed vertices over (0, 0)-(size, size) of the current target
// through every pass of the effect's current technique, with vertex colour `colour` (0xAARRGGBB)
// and texture coordinates 0 to 1 from the top left. Answers the number of passes; 0, drawing
// nothing, when the vertices cannot be made.
inline uint32_t DrawEffectQuad(gfx::Device* device, gfx::Effect* effect, float size,
                               uint32_t colour = 0xFFFFFFFF) {
  struct ScreenVertex {
    float x, y, z, rhw;
    uint32_t colour;
    float u, v;
  };
  constexpr uint32_t kFvf = gfx::Fvf::XyzRhw | gfx::Fvf::Diffuse | gfx::Fvf::Tex1;
  const ScreenVertex quad[4] = {{0, size, 0, 1, colour, 0, 1},
                                {0, 0, 0, 1, colour, 0, 0},
                                {size, size, 0, 1, colour, 1, 1},
                                {size, 0, 0, 1, colour, 1, 0}};
  gfx::ComPtr<gfx::VertexBuffer> vb;
  if (gfx::Failed(device->CreateVertexBuffer(sizeof(quad), 0, kFvf, gfx::Pool::Managed, vb.Put())))
    return 0;
  void* p = nullptr;
  if (gfx::Failed(vb->Lock(0, 0, &p, 0)) || p == nullptr) return 0;
  std::memcpy(p, quad, sizeof(quad));
  vb->Unlock();
  device->SetFVF(kFvf);
  device->SetStreamSource(0, vb.Get(), 0, sizeof(ScreenVertex));
  uint32_t passes = 0;
  effect->Begin(&passes, 0);
  for (uint32_t i = 0; i < passes; ++i) {
    effect->BeginPass(i);
    device->DrawPrimitive(gfx::PrimitiveType::TriangleStrip, 0, 2);
    effect->EndPass();
  }
  effect->End();
  return passes;
}

}  // namespace gfx_test
