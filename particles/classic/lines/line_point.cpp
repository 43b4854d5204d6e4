#include "particles/classic/lines/line_point.h"

#include <cmath>

#include "platform/math/d3dx_math.h"

namespace {

void WriteQuad(DX_V::PCT* quad, const LinePoint& a, const LinePoint& b) {
  const uint32_t colourA = LineColourWord(a.colour), colourB = LineColourWord(b.colour);
  const D3DXVECTOR3* corners[4] = {&b.left, &a.left, &b.right, &a.right};
  const LinePoint* owners[4] = {&b, &a, &b, &a};
  for (int i = 0; i < 4; ++i) {
    quad[i].x = corners[i]->x;
    quad[i].y = corners[i]->y;
    quad[i].z = corners[i]->z;
    quad[i].diffuse = owners[i] == &a ? colourA : colourB;
    quad[i].u = i < 2 ? 1.0f : 0.0f;
    quad[i].v = owners[i]->v;
  }
}

}  // namespace

void LinePoint::SetEdges(const D3DXVECTOR3& t, float k) {
  const D3DXVECTOR3 n(-t.y * k, t.x * k, 0.0f);
  left = position + n;
  right = position - n;
  edgesSet = 1.0f;
}

uint32_t LineChannelByte(float c) {
  if (c >= 1.0f) return 255;
  if (!(c > 0.0f)) return 0;
  return static_cast<uint32_t>(c * 255.0f + 0.5f);
}

uint32_t LineColourWord(const std::array<float, 4>& c) {
  return LineChannelByte(c[3]) << 24 | LineChannelByte(c[0]) << 16 | LineChannelByte(c[1]) << 8 |
         LineChannelByte(c[2]);
}

void BuildJoinQuad(DX_V::PCT* quad, const LinePoint& a, float w, LinePoint& b) {
  const D3DXVECTOR3 d = b.position - a.position;
  const float length = D3DXVec3Length(&d);
  if (length > 0.0f) {
    const D3DXVECTOR3& t = b.direction;
    const float s = (d.y * t.x - d.x * t.y) / length;
    const float cosine = std::sqrt(1.0f - s * s);
    // At a right angle (or past it by rounding) the correction has no finite value.
    const float k = cosine > 0.0f ? w * 0.5f / cosine : w * 0.5f;
    b.SetEdges(t, k);
  } else {
    b = a;
  }
  WriteQuad(quad, a, b);
}

void BuildSquareQuad(DX_V::PCT* quad, const LinePoint& a, float w, LinePoint& b) {
  b.SetEdges(b.direction, w * 0.5f);
  WriteQuad(quad, a, b);
}

void BuildSegmentQuad(DX_V::PCT* quad, const LinePoint& a, float w, LinePoint& b) {
  const D3DXVECTOR3 d = b.position - a.position;
  const float length = D3DXVec3Length(&d);
  if (length > 0.0f) {
    b.direction = d / length;
    b.SetEdges(b.direction, w * 0.5f);
  } else {
    b = a;
  }
  WriteQuad(quad, a, b);
}
