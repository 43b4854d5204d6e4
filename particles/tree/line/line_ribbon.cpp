#include "particles/tree/line/line_ribbon.h"

#include <algorithm>

#include "particles/tree/vertex_math.h"

uint32_t RibbonVertexColour(const RibbonColour& colour, float r, float g, float b, float opacity) {
  return VertexChannel(colour.a * opacity * 255.0f) << 24 |
         VertexChannel(colour.r * r * 255.0f) << 16 | VertexChannel(colour.g * g * 255.0f) << 8 |
         VertexChannel(colour.b * b * 255.0f);
}

void LineRibbonWriter::Vertex(const D3DXVECTOR3& at, uint32_t argb, float u, float v,
                              const D3DXMATRIX& m) {
  const D3DXVECTOR3 p = TransformedPoint(at, m);
  vertices_[vertexCount_++] = DX_V::PCT2{p.x, p.y, p.z, argb, u, v, u, v};
}

bool LineRibbonWriter::Write(std::span<const ProfilePoint> points, const D3DXMATRIX& m,
                             const RibbonColour& colour, float uvScale) {
  if (stopped_) return false;
  if (points.size() < 2) return true;
  const uint64_t n = points.size();
  const uint64_t vertexEnd = vertexCount_ + 3 * n - 1;
  const uint64_t indexEnd = indexCount_ + 12 * (n - 1);
  if (vertexEnd > std::min<uint64_t>(kMaxVertices, vertices_.size()) ||
      indexEnd > indices_.size()) {
    stopped_ = true;
    return false;
  }
  const auto edges = [&](const ProfilePoint& p) {
    const float h = p.width / 2.0f;
    const uint32_t argb = RibbonVertexColour(colour, p.r, p.g, p.b, p.opacity);
    const float v = p.distance * uvScale;
    Vertex(p.position + p.sideC * h, argb, 0.0f, v, m);
    Vertex(p.position + p.sideA * h, argb, 1.0f, v, m);
  };
  edges(points[0]);
  for (size_t k = 1; k < n; ++k) {
    const ProfilePoint& a = points[k - 1];
    const ProfilePoint& b = points[k];
    const uint32_t j = vertexCount_ - 2;  // Lk-1; then Rk-1, Ck, Lk, Rk
    const uint32_t argb = RibbonVertexColour(colour, (a.r + b.r) / 2, (a.g + b.g) / 2,
                                             (a.b + b.b) / 2, (a.opacity + b.opacity) / 2);
    Vertex((a.position + b.position) * 0.5f, argb, 0.5f, (a.distance + b.distance) / 2 * uvScale,
           m);
    edges(b);
    const uint32_t cell[12] = {j,     j + 3, j + 2, j,     j + 2, j + 1,
                               j + 1, j + 2, j + 4, j + 2, j + 3, j + 4};
    for (const uint32_t index : cell)
      indices_[indexCount_++] = static_cast<uint16_t>(index);
  }
  return true;
}
