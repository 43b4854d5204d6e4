#pragma once

#include <array>
#include <cstring>

#include "objects/text3d/glyph_mesh_block.h"
#include "platform/gfx/fvf.h"
#include "platform/gfx/mesh/fvf_mesh.h"

namespace text3d_test {

// A glyph set of boxes, one glyph each: box i spans x from 2i to 2i + 1, y from 0 to 1 and z
// from -depth to 0 in mesh units, XYZ | NORMAL vertices, faces counter-clockwise seen from
// outside, attribute i + 1. The text bounds span all boxes.
inline GlyphSet Boxes(int count, float depth = 0.5f) {
  struct Vertex {
    D3DXVECTOR3 position, normal;
  };
  std::vector<Vertex> vertices;
  std::vector<uint16_t> indices;
  std::vector<uint32_t> attributes;
  GlyphSet set;
  for (int box = 0; box < count; ++box) {
    const float x0 = 2.0f * box, x1 = x0 + 1, y0 = 0, y1 = 1, z0 = -depth, z1 = 0;
    // Each side's corners counter-clockwise about its outward normal.
    const std::array<std::pair<D3DXVECTOR3, std::array<D3DXVECTOR3, 4>>, 6> sides = {{
        {{0, 0, 1}, {{{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}}}},
        {{0, 0, -1}, {{{x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}, {x1, y0, z0}}}},
        {{1, 0, 0}, {{{x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}}}},
        {{-1, 0, 0}, {{{x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, {x0, y1, z0}}}},
        {{0, 1, 0}, {{{x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}}}},
        {{0, -1, 0}, {{{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}}}},
    }};
    for (const auto& [normal, corners] : sides) {
      const uint16_t first = static_cast<uint16_t>(vertices.size());
      for (const D3DXVECTOR3& corner : corners)
        vertices.push_back({corner, normal});
      for (int k : {0, 1, 2, 0, 2, 3})
        indices.push_back(static_cast<uint16_t>(first + k));
      attributes.insert(attributes.end(), 2, uint32_t(box + 1));
    }
    set.glyphBounds.emplace_back().SetRect(1, 1, D3DXVECTOR3(x0 + 0.5f, 0.5f, 0));
  }
  set.textBounds.SetRect(2.0f * count - 1, 1, D3DXVECTOR3((2.0f * count - 1) / 2, 0.5f, 0));
  GlyphMeshBlock& block = set.mesh;
  block.faceCount = static_cast<uint32_t>(attributes.size());
  block.vertexCount = static_cast<uint32_t>(vertices.size());
  block.options = gfx::MeshOption::Managed;
  block.fvf = gfx::Fvf::Xyz | gfx::Fvf::Normal;
  block.stride = sizeof(Vertex);
  block.vertices.resize(vertices.size() * sizeof(Vertex));
  std::memcpy(block.vertices.data(), vertices.data(), block.vertices.size());
  block.indices = indices;
  block.attributes = attributes;
  return set;
}

}  // namespace text3d_test
