#pragma once

#include <cstdint>

#include "platform/gfx/buffers.h"
#include "platform/gfx/fvf.h"
#include "platform/gfx/unknown.h"

// The vertex of stripe meshes: position, diffuse colour (0xAARRGGBB) and two texture coordinate
// pairs, 32 bytes, XYZ | DIFFUSE | TEX2 (0x242).
struct StripeVertex {
  static constexpr uint32_t kFvf = gfx::Fvf::Xyz | gfx::Fvf::Diffuse | gfx::Fvf::Tex2;

  float x, y, z;
  uint32_t colour;
  float u, v;
  float u2, v2;
};
static_assert(sizeof(StripeVertex) == 32 && StripeVertex::kFvf == 0x242);

// A caller's managed vertex buffer of StripeVertex, the data of its current lock (null while
// unlocked) and its room in vertices. Builders that append to it may replace the buffer by a
// larger one.
struct StripeVertexBuffer {
  gfx::ComPtr<gfx::VertexBuffer> buffer;
  void* data = nullptr;
  int32_t capacity = 0;
};

// A caller's managed 16-bit index buffer of triangles, its room in triangles and the data of its
// current lock.
struct StripeIndexBuffer {
  gfx::ComPtr<gfx::IndexBuffer> buffer;
  int32_t capacity = 0;
  uint16_t* data = nullptr;
};

// Buffers grow by this many vertices or triangles at a time.
inline constexpr int kStripeBufferGrowth = 1024;

// Replace the locked buffer of a holder by a locked managed buffer on `device` with room for
// `count` + kStripeBufferGrowth elements that starts with what the old one held (the old buffer
// is unlocked and released). False, with the holder as it was, when the new buffer cannot be
// made or locked.
bool GrowVertexBuffer(gfx::Device* device, StripeVertexBuffer& holder, int count);
bool GrowIndexBuffer(gfx::Device* device, StripeIndexBuffer& holder, int count);
