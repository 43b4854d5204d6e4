#include "objects/sprites/generators/generator_quads.h"

#include "core/math/ratio.h"
#include "player/render/sprite_array.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

DX_V::PCT Vertex(const D3DXVECTOR3& p, float u, float v) {
  return DX_V::PCT{p.x, p.y, p.z, kWhite, u, v};
}

}  // namespace

void MakeSpriteQuad(QuadVertices& out, float x, float y, float z, float w, float h) {
  const float hw = w * 0.5f, hh = h * 0.5f;
  out[0] = DX_V::PCT{x - hw, y + hh, z, kWhite, 0.0f, 1.0f};
  out[1] = DX_V::PCT{x - hw, y - hh, z, kWhite, 0.0f, 0.0f};
  out[2] = DX_V::PCT{x + hw, y + hh, z, kWhite, 1.0f, 1.0f};
  out[3] = DX_V::PCT{x + hw, y - hh, z, kWhite, 1.0f, 0.0f};
}

void MakeOrientedQuad(QuadVertices& out, const D3DXVECTOR3& c, const D3DXVECTOR3& u,
                      const D3DXVECTOR3& v, float s) {
  const float k = s * 0.5f;
  const D3DXVECTOR3 ku = u * k, kv = v * k;
  out[0] = Vertex(c - ku + kv, 0.0f, 1.0f);
  out[1] = Vertex(c - ku - kv, 0.0f, 0.0f);
  out[2] = Vertex(c + ku + kv, 1.0f, 1.0f);
  out[3] = Vertex(c + ku - kv, 1.0f, 0.0f);
}

void MakeSegmentQuad(float length, QuadVertices& out, const D3DXVECTOR3& start,
                     const D3DXVECTOR3& delta, float w0, float w1) {
  const D3DXVECTOR3 across(-RatioOr0(delta.y, length), RatioOr0(delta.x, length), 0.0f);
  const D3DXVECTOR3 points[4] = {start + across * (w0 * 0.5f), start - across * (w0 * 0.5f),
                                 start + delta + across * (w1 * 0.5f),
                                 start + delta - across * (w1 * 0.5f)};
  for (int i = 0; i < 4; ++i) {
    out[i].x = points[i].x;
    out[i].y = points[i].y;
    out[i].z = points[i].z;
    out[i].diffuse = kWhite;
  }
}

void ColourQuad(QuadVertices& quad, const ColorAlphaParam& colour, float alpha) {
  SetQuadVertexColors(colour.Value(), static_cast<float>(colour.alpha.Scaled()) * alpha,
                      quad.data());
}
