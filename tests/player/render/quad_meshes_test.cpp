#include <gtest/gtest.h>

#include <cstring>

#include "player/render/color_quad_mesh.h"
#include "player/render/textured_screen_quad.h"
#include "player/render/warp_grid_mesh.h"
#include "render_fixture.h"

namespace render_test {
namespace {

struct ScreenV {
  float x, y, z, rhw;
  uint32_t colour;
};
struct WorldV {
  float x, y, z;
  uint32_t colour;
};
struct TexturedV {
  float x, y, z, rhw;
  uint32_t colour;
  float u, v;
};

template <class V>
const V* Vertices(const VertexBufferHolder& holder) {
  return reinterpret_cast<const V*>(holder.buffer->Data().data());
}

using QuadMeshTest = RenderTest;

TEST_F(QuadMeshTest, ScreenQuadTakesTheCornersAndAlphas) {
  QuadCorners quad;
  quad.SetRect(10, 20, 110, 70);
  ColorQuadMesh overlay;
  overlay.InitScreen(quad, 0x80FF0000);
  ASSERT_TRUE(overlay.vertices.buffer);
  EXPECT_EQ(overlay.vertices.count, 4u);
  EXPECT_EQ(overlay.primitiveCount, 2u);
  EXPECT_EQ(overlay.vertices.buffer->Data().size(), 80u);
  const ScreenV* v = Vertices<ScreenV>(overlay.vertices);
  EXPECT_FLOAT_EQ(v[0].x, 10);
  EXPECT_FLOAT_EQ(v[0].y, 70);
  EXPECT_FLOAT_EQ(v[3].x, 110);
  EXPECT_FLOAT_EQ(v[3].y, 20);
  EXPECT_FLOAT_EQ(v[2].z, 0);
  EXPECT_FLOAT_EQ(v[2].rhw, 1);  // the corner's z
  EXPECT_EQ(v[1].colour, 0x80FF0000u);

  // Opaque along the bottom edge, transparent along the top.
  overlay.SetCornerAlphas(1, 1, 0, 0);
  EXPECT_EQ(v[0].colour, 0xFFFF0000u);
  EXPECT_EQ(v[2].colour, 0xFFFF0000u);
  EXPECT_EQ(v[1].colour, 0x00FF0000u);
  EXPECT_EQ(v[3].colour, 0x00FF0000u);
  // Values outside [0, 1] saturate instead of wrapping the byte.
  overlay.SetCornerAlphas(1.5f, -0.25f, 0.5f, NAN);
  EXPECT_EQ(v[0].colour >> 24, 255u);
  EXPECT_EQ(v[2].colour >> 24, 0u);
  EXPECT_EQ(v[1].colour >> 24, 127u);
  EXPECT_EQ(v[3].colour >> 24, 0u);
}

TEST_F(QuadMeshTest, WorldQuadSettersKeepWhatTheyDoNotSet) {
  ColorQuadMesh quad;
  quad.InitWorld({1, 2, 10, 20}, 0x80000000);
  EXPECT_EQ(quad.vertices.buffer->Data().size(), 64u);
  const WorldV* v = Vertices<WorldV>(quad.vertices);
  EXPECT_FLOAT_EQ(v[0].x, 1);
  EXPECT_FLOAT_EQ(v[0].y, 22);
  EXPECT_FLOAT_EQ(v[3].x, 11);
  EXPECT_FLOAT_EQ(v[3].y, 2);

  quad.SetColor(0x00FF0000);
  EXPECT_EQ(v[2].colour, 0x80FF0000u);
  quad.SetColor(0xFF00FF00);  // the alpha of the argument is not taken
  EXPECT_EQ(v[2].colour, 0x8000FF00u);
  quad.SetWorldCornerAlphas(0, 0, 1, 1);
  EXPECT_EQ(v[0].colour, 0x0000FF00u);
  EXPECT_EQ(v[1].colour, 0xFF00FF00u);

  quad.SetCornersRaw({1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12});
  EXPECT_FLOAT_EQ(v[3].z, 12);
  EXPECT_EQ(v[3].colour, 0xFF00FF00u);
}

TEST(QuadMeshWithoutDevice, SettersDoNothingWithoutABuffer) {
  ColorQuadMesh quad;
  quad.InitWorld({0, 0, 1, 1}, 0xFF000000);
  EXPECT_FALSE(quad.vertices.buffer);
  quad.SetColor(0xFFFFFF);
  quad.SetCornerAlphas(1, 1, 1, 1);
  EXPECT_EQ(quad.vertices.locked, nullptr);
}

TEST_F(QuadMeshTest, TexturedQuadHoldsItsTexture) {
  auto texture = MakeTexture(1, 1, {0xFFFFFFFF});
  QuadCorners corners;
  corners.SetRect(0, 0, 32, 16);
  corners.corners[3].u = 0.5f;
  {
    TexturedScreenQuad quad;
    quad.SetTexture(texture.Get(), corners);
    EXPECT_EQ(RefCount(texture.Get()), 2u);
    EXPECT_EQ(quad.vertices.buffer->Data().size(), 112u);
    const TexturedV* v = Vertices<TexturedV>(quad.vertices);
    EXPECT_FLOAT_EQ(v[3].x, 32);
    EXPECT_FLOAT_EQ(v[3].u, 0.5f);
    EXPECT_FLOAT_EQ(v[0].v, 1.0f);
    EXPECT_EQ(v[1].colour, 0xFFFFFFFFu);
    quad.SetTexture(texture.Get(), corners);
    EXPECT_EQ(RefCount(texture.Get()), 2u);
    quad.ClearTexture(corners);
    EXPECT_EQ(RefCount(texture.Get()), 1u);
    EXPECT_TRUE(quad.vertices.buffer);
    quad.SetTexture(texture.Get(), corners);
  }
  EXPECT_EQ(RefCount(texture.Get()), 1u);
}

TEST_F(QuadMeshTest, WarpGridSizesAndFill) {
  struct Case {
    uint32_t columns, rows, vertices, triangles;
  } cases[] = {{1, 1, 4, 2}, {2, 3, 12, 12}, {2, 1, 6, 4}};
  for (const Case& c : cases) {
    WarpGridMesh grid;
    grid.Resize(c.columns, c.rows);
    EXPECT_EQ(grid.vertices.count, c.vertices);
    EXPECT_EQ(grid.vertices.buffer->Data().size(), c.vertices * 20u);
    EXPECT_EQ(grid.primitiveCount, c.triangles);
    EXPECT_EQ(grid.primitiveType, gfx::PrimitiveType::TriangleList);
  }

  WarpGridMesh grid;
  grid.Resize(2, 1);
  grid.Fill({0, 0, 0, 0, 0}, {2, 0, 0, 1, 0}, {0, 1, 0, 0, 1}, {2, 1, 0, 1, 1});
  const TexVertex* v = Vertices<TexVertex>(grid.vertices);
  const float xs[6] = {0, 1, 2, 0, 1, 2};
  for (int i = 0; i < 6; ++i) {
    EXPECT_FLOAT_EQ(v[i].x, xs[i]) << i;
    EXPECT_FLOAT_EQ(v[i].y, i < 3 ? 0 : 1) << i;
    EXPECT_FLOAT_EQ(v[i].u, xs[i] / 2) << i;
  }
  const auto* indices = reinterpret_cast<const uint16_t*>(grid.indices->Data().data());
  EXPECT_EQ(indices[0], 0);
  EXPECT_EQ(indices[2], 3);
  EXPECT_EQ(indices[11], 5);

  // A grid whose vertex count passes 32 bits has no vertices to fill; the count must not wrap
  // to a buffer smaller than the grid.
  for (const auto [columns, rows] : {std::pair{65535u, 65537u}, std::pair{0xFFFFFFFFu, 0u}}) {
    WarpGridMesh huge;
    huge.Resize(columns, rows);
    EXPECT_EQ(huge.vertices.count, 0u) << columns << " x " << rows;
    EXPECT_FALSE(huge.vertices.buffer);
    huge.Fill({0, 0, 0, 0, 0}, {1, 0, 0, 1, 0}, {0, 1, 0, 0, 1}, {1, 1, 0, 1, 1});
  }
  VertexBufferHolder holder;
  holder.CreateGrid(0x10000000);  // x 20 bytes passes 32 bits
  EXPECT_EQ(holder.count, 0u);
  EXPECT_FALSE(holder.buffer);

  // A copy shares the buffers: refilling it changes what the source draws.
  WarpGridMesh copy = grid;
  EXPECT_EQ(copy.vertices.buffer.Get(), grid.vertices.buffer.Get());
  EXPECT_EQ(copy.indices.Get(), grid.indices.Get());
  copy.Fill({5, 5, 0, 0, 0}, {5, 5, 0, 0, 0}, {5, 5, 0, 0, 0}, {5, 5, 0, 0, 0});
  EXPECT_FLOAT_EQ(v[4].x, 5);
}

}  // namespace
}  // namespace render_test
