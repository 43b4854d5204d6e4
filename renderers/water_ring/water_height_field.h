#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/com_ref.h"
#include "platform/gfx/buffers.h"
#include "platform/gfx/fvf.h"
#include "platform/gfx/hresult.h"
#include "platform/math/d3dx_types.h"
#include "renderers/water_ring/refraction_table.h"

// The rippling water surface of the water-ring renderer: a grid of nodes, each with a height and
// a vertical velocity, excited by random drops and relaxed every frame by a damped averaging of
// its neighbours, and turned into a lit mesh whose texture coordinates look up the picture where
// the refracted view ray meets a bowl below the surface.
//
// The surface lies in the x-z plane, extentX wide and extentZ deep around the origin, heights
// along y. Node (row r, column c) is nodes[r x columns + c]; row 0 is the far edge (z = -15).
class WaterHeightField {
 public:
  struct Node {
    float height = 0.0f;
    float velocity = 0.0f;
  };
  // XYZ | NORMAL | DIFFUSE | TEX1.
  struct Vertex {
    float x, y, z;
    float nx, ny, nz;
    uint32_t diffuse;
    float u, v;
  };
  static constexpr uint32_t kFvf =
      gfx::Fvf::Xyz | gfx::Fvf::Normal | gfx::Fvf::Diffuse | gfx::Fvf::Tex1;  // 0x152
  static constexpr uint32_t kStride = 36;
  static constexpr uint32_t kMaxNodes = 65536;  // every index fits 16 bits
  static constexpr uint32_t kMaxRows = kMaxNodes / 4;
  static constexpr uint32_t kMinSide = 4;
  static constexpr float kDepth = 30.0f;  // extentZ, and 30 / aspect is extentX

  struct Grid {
    uint32_t columns = 0, rows = 0;
  };
  // The grid for a picture of `aspect` (height / width): 128 x (1 + resolution raw / 100)
  // columns and aspect x as many x (1 + rows raw / 100) rows, both even; fewer columns when the
  // nodes would pass kMaxNodes. Sides stay between kMinSide and kMaxRows rows (and the columns
  // that leave), and a size that passes the integer range saturates, so that every drop lands
  // inside and every index fits.
  static Grid GridFor(float aspect, unsigned resolutionRaw, unsigned rowsRaw);

  // The triangle strip over a columns x rows grid (both even): pairs of an outer node and its
  // inner neighbour, ring by ring from the outside in; `out` takes 2 x columns x rows indices.
  static void FillSpiralStrip(uint32_t columns, uint32_t rows, std::span<uint16_t> out);

  // Sizes the surface for the picture (see GridFor): zeroed nodes, new buffers, one drop.
  void SizeGrid(float aspect, unsigned resolutionRaw, unsigned rowsRaw);
  // The index buffer (filled with the strip) and the vertex buffer, each when missing; the
  // device's failure stops there.
  gfx::HResult CreateBuffers();
  void ReleaseBuffers();
  // One drop on a random node off the border (column drawn first): its velocity falls by a
  // quarter of the drop strength, its edge neighbours' by an eighth, its diagonal ones' by a
  // sixteenth.
  void Drop();
  // Four simulation sub-steps, then the vertices for a viewer at `eye`.
  gfx::HResult Step(const D3DXVECTOR3& eye);

  // One sub-step: RelaxVelocities, then AdvanceHeights with its sum.
  void SubStep();
  // The first pass of a sub-step, in row-major order: border nodes become still and flat; every
  // other node's velocity takes damping and the pull towards the weighted mean of its eight
  // neighbours. Answers the sum of the interior heights and velocities.
  float RelaxVelocities();
  // Every height moves by wave speed x velocity, less the mean (`sum` / node count) so that the
  // surface keeps its level.
  void AdvanceHeights(float sum);
  // Writes every node's vertex into the vertex buffer; the lock's failure is answered.
  gfx::HResult WriteVertices(const D3DXVECTOR3& eye);
  // The vertex of one node seen from `eye`: position, normal, the refraction entry's colour and
  // where the refracted ray meets the bowl of radius 35 around (0, 20, 0), in texture
  // coordinates. A ray that misses the bowl is taken as not refracted.
  Vertex VertexAt(uint32_t row, uint32_t column, const D3DXVECTOR3& eye) const;

  Node& At(uint32_t row, uint32_t column) { return nodes[size_t(row) * columns + column]; }
  const Node& At(uint32_t row, uint32_t column) const {
    return nodes[size_t(row) * columns + column];
  }
  bool HasNodes() const { return !nodes.empty() && nodes.size() == nodeCount; }

  float extentX = kDepth;
  float extentZ = kDepth;
  float inverseExtentX = 1.0f;
  float inverseExtentZ = 1.0f;
  float level = 0.0f;
  uint32_t indexCount = 0;
  uint32_t nodeCount = kMinSide * kMinSide;
  std::vector<Node> nodes;                   // none until SizeGrid
  const RefractionTable* profile = nullptr;  // the shared table when null
  uint32_t columns = kMinSide;
  uint32_t rows = kMinSide;
  ComRef<gfx::IndexBuffer> indices;
  ComRef<gfx::VertexBuffer> vertices;
  float waveSpeed = 1.0f;     // k
  float dropStrength = 0.5f;  // s
  float damping = 0.99f;      // d
  float refraction = 0.2f;    // f
};
