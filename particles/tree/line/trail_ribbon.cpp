#include "particles/tree/line/trail_ribbon.h"

#include <algorithm>

#include "particles/tree/vertex_math.h"
#include "platform/math/d3dx_math.h"

std::vector<ProfilePoint> BuildTrailFrames(std::span<const ParticleHandle> points) {
  std::vector<ProfilePoint> frames;
  if (points.size() < 2) return frames;
  frames.resize(points.size());
  const D3DXVECTOR3 none(0, 0, 0);
  for (size_t i = 0; i < points.size(); ++i) {
    frames[i].position = points[i]->WorldPosition();
    frames[i].sideA = frames[i].sideB = none;
  }
  for (size_t i = 0; i + 1 < frames.size(); ++i) {
    const D3DXVECTOR3 d = frames[i + 1].position - frames[i].position;
    const float length = D3DXVec3Length(&d);
    frames[i + 1].sideA =
        length != 0.0f ? D3DXVECTOR3(d.y / length, -d.x / length, 0) : frames[i].sideA;
    frames[i].sideB = frames[i + 1].sideA;
  }
  frames.front().sideA = frames.front().sideB;
  frames.back().sideB = frames.back().sideA;
  for (ProfilePoint& frame : frames)
    frame.sideC = -frame.sideA;
  return frames;
}

float TrailHalfWidth(const ParticleRecord& point) {
  return point.floats[ParticleRecord::kScale] * 0.5f;
}

uint32_t TrailVertexColour(uint32_t rgb, const ParticleRecord& point) {
  float alpha = point.floats[ParticleRecord::kAlpha];
  if (const ParticleRecord* parent = point.Parent()) alpha *= parent->WorldAlpha();
  const auto channel = [rgb](int shift) {
    return UnitChannelByte(static_cast<float>((rgb >> shift) & 0xFF) / 255.0f);
  };
  return UnitChannelByte(std::min(1.0f, alpha)) << 24 | channel(0) << 16 | channel(8) << 8 |
         channel(16);
}

uint32_t BevelledTrailVertices(size_t points) {
  return points >= 2 ? static_cast<uint32_t>(4 * points) : 0;
}

uint32_t BevelledTrailTriangles(size_t points) {
  return points >= 2 ? static_cast<uint32_t>(5 * (points - 1)) : 0;
}

std::vector<size_t> FitBevelledTrails(std::span<const size_t> pointCounts, uint32_t maxVertices) {
  std::vector<size_t> fitted(pointCounts.size(), 0);
  size_t room = maxVertices / 4;  // points
  for (size_t k = 0; k < pointCounts.size(); ++k) {
    const size_t n = pointCounts[k];
    if (n < 2) continue;
    if (n > room) {
      fitted[k] = room >= 2 ? room : 0;
      break;
    }
    fitted[k] = n;
    room -= n;
  }
  return fitted;
}

void FillTrail(std::span<const ParticleHandle> points, uint32_t rgb, DX_V::PCT2* vertices,
               uint16_t* indices, uint16_t vertexBase) {
  const std::vector<ProfilePoint> frames = BuildTrailFrames(points);
  for (size_t i = 0; i < frames.size(); ++i) {
    const ProfilePoint& f = frames[i];
    const float h = TrailHalfWidth(*points[i]);
    const uint32_t colour = TrailVertexColour(rgb, *points[i]);
    const auto vertex = [colour](const D3DXVECTOR3& at, float u) {
      return DX_V::PCT2{at.x, at.y, at.z, colour, u, 0.0f, u, 0.0f};
    };
    DX_V::PCT2* v = vertices + 4 * i;
    v[0] = vertex(f.position + f.sideC * h, 0.0f);
    v[1] = vertex(f.position, 0.5f);
    v[2] = vertex(f.position + f.sideA * h, 1.0f);
    v[3] = vertex(f.position + f.sideB * h, 1.0f);
  }
  // Offsets from the segment's first vertex: the side-C strip, the side-A/B strip, the bevel.
  static constexpr uint16_t kPattern[15] = {0, 4, 5, 0, 1, 5, 1, 5, 6, 1, 3, 6, 6, 5, 7};
  for (size_t k = 0; k + 1 < frames.size(); ++k) {
    const size_t b = vertexBase + 4 * k;
    for (int j = 0; j < 15; ++j)
      indices[15 * k + j] = static_cast<uint16_t>(b + kPattern[j]);
  }
}
