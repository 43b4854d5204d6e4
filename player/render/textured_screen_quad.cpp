#include "player/render/textured_screen_quad.h"

namespace {

struct TexturedVertex {
  float x, y, z, rhw;
  uint32_t colour;
  float u, v;
};
static_assert(sizeof(TexturedVertex) == 28);

}  // namespace

void TexturedScreenQuad::SetTexture(gfx::Texture* newTexture, const QuadCorners& quad) {
  if (newTexture != nullptr) newTexture->AddRef();
  texture.Reset(newTexture);
  CreateQuad(sizeof(TexturedVertex), kFvf);
  if (!vertices.Lock()) return;
  SetVertices(quad);
  for (int i = 0; i < 4; ++i)
    static_cast<TexturedVertex*>(vertices.locked)[i].colour = 0xFFFFFFFF;
  vertices.Unlock();
}

void TexturedScreenQuad::SetVertices(const QuadCorners& quad) {
  if (vertices.locked == nullptr) return;
  SetScreenPositions(quad);
  for (int i = 0; i < 4; ++i) {
    TexturedVertex& v = static_cast<TexturedVertex*>(vertices.locked)[i];
    v.u = quad.corners[i].u;
    v.v = quad.corners[i].v;
  }
}
