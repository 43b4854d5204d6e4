#include "player/render/color_quad_mesh.h"

#include <cstring>

#include "core/float_to_int.h"

namespace {

struct ScreenVertex {
  float x, y, z, rhw;
  uint32_t colour;
};
struct WorldVertex {
  float x, y, z;
  uint32_t colour;
};
static_assert(sizeof(ScreenVertex) == 20 && sizeof(WorldVertex) == 16);

template <class V>
V* At(void* data, int i) {
  return static_cast<V*>(data) + i;
}

}  // namespace

uint8_t AlphaByte(float value) {
  const int scaled = SaturatingTruncate<int>(static_cast<double>(value) * 255.0);
  return static_cast<uint8_t>(scaled < 0 ? 0 : (scaled > 255 ? 255 : scaled));
}

void ColorQuadMesh::CreateQuad(uint32_t stride, uint32_t fvf) {
  stride_ = stride;
  vertices.Create(4 * stride, fvf);
  vertices.count = 4;
  primitiveType = gfx::PrimitiveType::TriangleStrip;
  primitiveCount = 2;
}

void ColorQuadMesh::InitScreen(const QuadCorners& quad, uint32_t colour) {
  CreateQuad(sizeof(ScreenVertex), kScreenFvf);
  if (!vertices.Lock()) return;
  SetScreenPositions(quad);
  for (int i = 0; i < 4; ++i)
    At<ScreenVertex>(vertices.locked, i)->colour = colour;
  vertices.Unlock();
}

void ColorQuadMesh::SetScreenPositions(const QuadCorners& quad) {
  if (vertices.locked == nullptr) return;
  for (int i = 0; i < 4; ++i) {
    // The stride may be that of a textured quad: the position leads every screen form.
    auto* v = reinterpret_cast<ScreenVertex*>(static_cast<uint8_t*>(vertices.locked) + i * stride_);
    v->x = quad.corners[i].x;
    v->y = quad.corners[i].y;
    v->z = 0.0f;
    v->rhw = quad.corners[i].z;
  }
}

void ColorQuadMesh::SetAlphas(uint32_t colourOffset, const float alphas[4]) {
  if (!vertices.Lock()) return;
  for (int i = 0; i < 4; ++i) {
    uint8_t* colour = static_cast<uint8_t*>(vertices.locked) + i * stride_ + colourOffset;
    colour[3] = AlphaByte(alphas[i]);  // 0xAARRGGBB in memory: B, G, R, A
  }
  vertices.Unlock();
}

void ColorQuadMesh::SetCornerAlphas(float bottomLeft, float bottomRight, float topLeft,
                                    float topRight) {
  const float alphas[4] = {bottomLeft, topLeft, bottomRight, topRight};
  SetAlphas(16, alphas);
}

void ColorQuadMesh::InitWorld(const ScreenRect& rect, uint32_t colour) {
  CreateQuad(sizeof(WorldVertex), kWorldFvf);
  if (!vertices.Lock()) return;
  SetRect(rect);
  for (int i = 0; i < 4; ++i)
    At<WorldVertex>(vertices.locked, i)->colour = colour;
  vertices.Unlock();
}

void ColorQuadMesh::SetRect(const ScreenRect& rect) {
  if (vertices.locked == nullptr) return;
  const float xs[4] = {rect.x, rect.x, rect.x + rect.width, rect.x + rect.width};
  const float ys[4] = {rect.y + rect.height, rect.y, rect.y + rect.height, rect.y};
  for (int i = 0; i < 4; ++i) {
    WorldVertex* v = At<WorldVertex>(vertices.locked, i);
    v->x = xs[i];
    v->y = ys[i];
    v->z = 0.0f;
  }
}

void ColorQuadMesh::SetColor(uint32_t rgb) {
  if (!vertices.Lock()) return;
  for (int i = 0; i < 4; ++i) {
    WorldVertex* v = At<WorldVertex>(vertices.locked, i);
    v->colour = (v->colour & 0xFF000000u) | (rgb & 0x00FFFFFFu);
  }
  vertices.Unlock();
}

void ColorQuadMesh::SetWorldCornerAlphas(float bottomLeft, float bottomRight, float topLeft,
                                         float topRight) {
  const float alphas[4] = {bottomLeft, topLeft, bottomRight, topRight};
  SetAlphas(12, alphas);
}

void ColorQuadMesh::SetCornersRaw(const Point& p0, const Point& p1, const Point& p2,
                                  const Point& p3) {
  if (!vertices.Lock()) return;
  const Point* points[4] = {&p0, &p1, &p2, &p3};
  for (int i = 0; i < 4; ++i) {
    WorldVertex* v = At<WorldVertex>(vertices.locked, i);
    v->x = points[i]->x;
    v->y = points[i]->y;
    v->z = points[i]->z;
  }
  vertices.Unlock();
}
