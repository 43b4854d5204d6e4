#pragma once

#include <cstdint>

#include "core/com_ref.h"
#include "platform/gfx/texture.h"
#include "player/render/color_quad_mesh.h"

// A screen-space quad that shows a texture: vertices x, y, z, rhw, colour, u, v (28 bytes, FVF
// XYZRHW|DIFFUSE|TEX1), opaque white, with the texture it shows (referenced).
class TexturedScreenQuad : public ColorQuadMesh {
 public:
  static constexpr uint32_t kFvf = gfx::Fvf::XyzRhw | gfx::Fvf::Diffuse | gfx::Fvf::Tex1;

  // Keeps `texture` (the previous one released) and rebuilds the quad on `quad`'s positions and
  // texture coordinates.
  void SetTexture(gfx::Texture* texture, const QuadCorners& quad);
  // The same without a texture.
  void ClearTexture(const QuadCorners& quad) { SetTexture(nullptr, quad); }
  // Writes positions (as InitScreen) and texture coordinates into the locked buffer.
  void SetVertices(const QuadCorners& quad);

  ComRef<gfx::Texture> texture;
  uint8_t flag = 0;
};
