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

}  // namespace DX_V
