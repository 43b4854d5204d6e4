#pragma once

#include <cstdint>
#include <span>

#include "particles/tree/line/profile_point.h"
#include "platform/math/d3dx_types.h"
#include "player/render/dx_vertex.h"

// The colour every point of a ribbon is multiplied by, each channel 0 to 1.
struct RibbonColour {
  float r = 1, g = 1, b = 1, a = 1;
};

// Appends line ribbons to a locked mesh: per profile point an edge pair, and between two points a
// centre vertex, four triangles per cell. Indices are 16-bit, so a ribbon whose vertices would
// pass index 65,535 (or the buffers' room) is not written, and neither is any later one.
class LineRibbonWriter {
 public:
  static constexpr uint32_t kMaxVertices = 65536;

  LineRibbonWriter(std::span<DX_V::PCT2> vertices, std::span<uint16_t> indices)
      : vertices_(vertices), indices_(indices) {}

  // Writes the ribbon of `points` (nothing for fewer than two), every vertex placed by `m` as a
  // point; v = distance x uvScale. Answers false when it did not fit (then nothing more is
  // written).
  bool Write(std::span<const ProfilePoint> points, const D3DXMATRIX& m, const RibbonColour& colour,
             float uvScale);

  uint32_t VertexCount() const { return vertexCount_; }
  uint32_t TriangleCount() const { return indexCount_ / 3; }
  bool Stopped() const { return stopped_; }

 private:
  void Vertex(const D3DXVECTOR3& at, uint32_t argb, float u, float v, const D3DXMATRIX& m);

  std::span<DX_V::PCT2> vertices_;
  std::span<uint16_t> indices_;
  uint32_t vertexCount_ = 0;
  uint32_t indexCount_ = 0;
  bool stopped_ = false;
};

// The vertex colour of a point: alpha a x opacity, red r x multiplier r (and so on), each x 255
// truncated to its low 8 bits, packed ARGB.
uint32_t RibbonVertexColour(const RibbonColour& colour, float r, float g, float b, float opacity);
