#pragma once

#include <cstdint>

#include "platform/gfx/fvf.h"

// Vertex layouts of the scene's own meshes.
namespace DX_V {

// Position, diffuse colour (0xAARRGGBB) and one texture coordinate pair: 24 bytes, XYZ |
// DIFFUSE | TEX1 (0x142). The vertex of quad batches.
struct PCT {
  static constexpr uint32_t kFvf = gfx::Fvf::Xyz | gfx::Fvf::Diffuse | gfx::Fvf::Tex1;

  float x, y, z;
  uint32_t diffuse;
  float u, v;
};
static_assert(sizeof(PCT) == 24 && PCT::kFvf == 0x142);

// Position, diffuse colour and two texture coordinate pairs: 32 bytes, XYZ | DIFFUSE | TEX2
// (0x242). The vertex of the node tree's picture quads (the second pair samples the picture
// below).
struct PCT2 {
  static constexpr uint32_t kFvf = gfx::Fvf::Xyz | gfx::Fvf::Diffuse | gfx::Fvf::Tex2;

  float x, y, z;
  uint32_t diffuse;
  float u, v;
  float u1, v1;
};
static_assert(sizeof(PCT2) == 32 && PCT2::kFvf == 0x242);

}  // namespace DX_V
