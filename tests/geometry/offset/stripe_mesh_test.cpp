#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "geometry/offset/offset_fixtures.h"
#include "geometry/offset/stripe_buffers.h"
#include "geometry/offset/zkw_point_stripe_mesh_builder.h"
#include "geometry/offset/zkw_straight_skeleton_offset.h"
#include "platform/gfx/device.h"
#include "platform/gfx/surface_pixels.h"
#include "platform/headless_sdl.h"
#include "platform/math/d3dx_math.h"

namespace {

using V = D3DXVECTOR3;
using Triangle = std::array<uint16_t, 3>;

// A device whose 256 x 256 back buffer shows the world square [0, 64] x [0, 64], y down, and
// stripe buffers on it.
class StripeMeshTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kSize = 256;
  static constexpr float kPixelsPerUnit = 4.0f;

  void SetUp() override {
    UseHeadlessSdl();
    ASSERT_EQ(gfx::Device::CreateHeadless(kSize, kSize, device_.Put(), gfx::Format::A8R8G8B8),
              gfx::kOk);
  }

  StripeVertexBuffer VertexHolder(int capacity) {
    StripeVertexBuffer holder;
    EXPECT_EQ(device_->CreateVertexBuffer(capacity * 32, 0, StripeVertex::kFvf, gfx::Pool::Managed,
                                          holder.buffer.Put()),
              gfx::kOk);
    holder.capacity = capacity;
    return holder;
  }
  StripeIndexBuffer IndexHolder(int capacity) {
    StripeIndexBuffer holder;
    EXPECT_EQ(device_->CreateIndexBuffer(capacity * 6, gfx::Usage::WriteOnly, gfx::Format::Index16,
                                         gfx::Pool::Managed, holder.buffer.Put()),
              gfx::kOk);
    holder.capacity = capacity;
    return holder;
  }

  static std::vector<StripeVertex> Vertices(const StripeVertexBuffer& holder, int count) {
    std::vector<StripeVertex> out(count);
    EXPECT_GE(holder.buffer->Data().size(), count * sizeof(StripeVertex));
    std::memcpy(out.data(), holder.buffer->Data().data(), count * sizeof(StripeVertex));
    return out;
  }
  static std::vector<Triangle> Triangles(const StripeIndexBuffer& holder, int count) {
    std::vector<Triangle> out(count);
    EXPECT_GE(holder.buffer->Data().size(), count * sizeof(Triangle));
    std::memcpy(out.data(), holder.buffer->Data().data(), count * sizeof(Triangle));
    return out;
  }

  gfx::ComPtr<gfx::Device> device_;
};

// Half width `w` everywhere; the colour names the point.
StripePointInfo Width(float w) {
  return [w](const unsigned& i, float& halfWidth, uint32_t& colour) {
    halfWidth = w;
    colour = 0xFF000000u | i;
  };
}

void Build(ZKW_StraightSkeletonOffset& skeleton, const std::vector<V>& line, float distance) {
  SetCentreLine(skeleton, line);
  skeleton.Build(distance);
}

TEST_F(StripeMeshTest, StraightLineGivesSixVerticesAndFourTriangles) {
  ZKW_StraightSkeletonOffset skeleton;
  Build(skeleton, {{0, 0, 0}, {10, 0, 0}}, 1.0f);
  StripeVertexBuffer vertices = VertexHolder(16);
  StripeIndexBuffer indices = IndexHolder(16);
  const DS_SafePtr<ZKW_StripeMeshBuilder> builder = skeleton.CreateMeshBuilder(&indices, &vertices);
  ASSERT_TRUE(builder);
  // Appended after what the counters already hold.
  uint16_t triangles = 1, count = 2;
  builder->BuildMesh(&triangles, &count, Width(1.0f));
  EXPECT_EQ(count, 8);
  EXPECT_EQ(triangles, 5);
  EXPECT_EQ(vertices.data, nullptr) << "unlocked";
  EXPECT_EQ(indices.data, nullptr);

  const std::vector<StripeVertex> v = Vertices(vertices, 8);
  struct Expected {
    float x, y, u;
    uint32_t colour;
  };
  const Expected expected[] = {{0, 0, 0.5f, 0xFF000000}, {10, 0, 0.5f, 0xFF000001},
                               {0, -1, 0, 0xFF000000},   {10, -1, 0, 0xFF000001},
                               {0, 1, 1, 0xFF000000},    {10, 1, 1, 0xFF000001}};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    const StripeVertex& s = v[2 + i];
    EXPECT_EQ(s.x, expected[i].x);
    EXPECT_EQ(s.y, expected[i].y);
    EXPECT_EQ(s.z, 0.0f);
    EXPECT_EQ(s.colour, expected[i].colour);
    EXPECT_EQ(s.u, expected[i].u);
    EXPECT_EQ(s.v, 0.0f);
    EXPECT_EQ(s.u2, s.u);
    EXPECT_EQ(s.v2, s.v);
  }
  EXPECT_EQ(Triangles(indices, 5),
            (std::vector<Triangle>{{0, 0, 0}, {2, 3, 4}, {3, 4, 5}, {2, 3, 6}, {3, 6, 7}}));
}

// A left turn's outer corner lies on the right: its vertices fan around the centre vertex, one
// fan triangle for each vertex after the first.
TEST_F(StripeMeshTest, OuterCornerAddsAFanTrianglePerFanVertex) {
  ZKW_StraightSkeletonOffset skeleton;
  Build(skeleton, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, 1.0f);
  StripeVertexBuffer vertices = VertexHolder(64);
  StripeIndexBuffer indices = IndexHolder(64);
  uint16_t triangles = 0, count = 0;
  skeleton.CreateMeshBuilder(&indices, &vertices)->BuildMesh(&triangles, &count, Width(1.0f));
  // 3 centre vertices; right 1 + 3 + 1; left 1 + 1 + 1.
  ASSERT_EQ(count, 11);
  ASSERT_EQ(triangles, 10);
  EXPECT_EQ(Triangles(indices, 10), (std::vector<Triangle>{{0, 1, 3},
                                                           {1, 3, 4},
                                                           {1, 4, 5},  // fan
                                                           {1, 5, 6},  // fan
                                                           {1, 2, 6},
                                                           {2, 6, 7},
                                                           {0, 1, 8},
                                                           {1, 8, 9},
                                                           {1, 2, 9},
                                                           {2, 9, 10}}));
  const std::vector<StripeVertex> v = Vertices(vertices, 11);
  EXPECT_NEAR(v[5].x, 10.70710678f, 1e-5f);
  EXPECT_NEAR(v[5].y, -0.70710678f, 1e-5f);
  EXPECT_NEAR(v[9].x, 9.0f, 1e-5f) << "the inner corner on its bisector";
  EXPECT_NEAR(v[9].y, 1.0f, 1e-5f);
}

TEST_F(StripeMeshTest, FullBuffersGrowAndKeepWhatTheyHeld) {
  ZKW_StraightSkeletonOffset skeleton;
  Build(skeleton, {{0, 0, 0}, {10, 0, 0}}, 1.0f);
  StripeVertexBuffer vertices = VertexHolder(3);
  StripeIndexBuffer indices = IndexHolder(2);
  {
    void* data = nullptr;
    ASSERT_EQ(vertices.buffer->Lock(0, 0, &data, 0), gfx::kOk);
    for (int i = 0; i < 3; ++i)
      static_cast<StripeVertex*>(data)[i] = {1, 2, 3, 0xABCDEF00u + i, 4, 5, 6, 7};
    vertices.buffer->Unlock();
    ASSERT_EQ(indices.buffer->Lock(0, 0, &data, 0), gfx::kOk);
    const Triangle earlier[2] = {{7, 8, 9}, {10, 11, 12}};
    std::memcpy(data, earlier, sizeof earlier);
    indices.buffer->Unlock();
  }
  gfx::VertexBuffer* oldVertices = vertices.buffer.Get();
  uint16_t triangles = 2, count = 3;  // both full on entry
  skeleton.CreateMeshBuilder(&indices, &vertices)->BuildMesh(&triangles, &count, Width(1.0f));
  EXPECT_EQ(count, 9);
  EXPECT_EQ(triangles, 6);
  EXPECT_NE(vertices.buffer.Get(), oldVertices);
  EXPECT_EQ(vertices.capacity, 3 + 1024);
  EXPECT_EQ(indices.capacity, 2 + 1024);
  gfx::VertexBufferDesc vertexDesc;
  ASSERT_EQ(vertices.buffer->GetDesc(&vertexDesc), gfx::kOk);
  EXPECT_EQ(vertexDesc.size, (3 + 1024) * 32u);
  EXPECT_EQ(vertexDesc.fvf, 0x242u);
  EXPECT_EQ(vertexDesc.pool, gfx::Pool::Managed);
  gfx::IndexBufferDesc indexDesc;
  ASSERT_EQ(indices.buffer->GetDesc(&indexDesc), gfx::kOk);
  EXPECT_EQ(indexDesc.size, (2 + 1024) * 6u);
  EXPECT_EQ(indexDesc.usage, gfx::Usage::WriteOnly);
  EXPECT_EQ(indexDesc.format, gfx::Format::Index16);

  const std::vector<StripeVertex> v = Vertices(vertices, 9);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(v[i].colour, 0xABCDEF00u + i);
  EXPECT_EQ(v[3].x, 0.0f);
  EXPECT_EQ(v[4].x, 10.0f);
  const std::vector<Triangle> t = Triangles(indices, 6);
  EXPECT_EQ(t[0], (Triangle{7, 8, 9}));
  EXPECT_EQ(t[1], (Triangle{10, 11, 12}));
  EXPECT_EQ(t[2], (Triangle{3, 4, 5}));
}

// The counters are 16-bit: what would pass 65,535 is not appended, nor is the rest of the stripe.
TEST_F(StripeMeshTest, CountersStopAt65535) {
  ZKW_StraightSkeletonOffset skeleton;
  Build(skeleton, {{0, 0, 0}, {10, 0, 0}}, 1.0f);
  StripeVertexBuffer vertices = VertexHolder(65535);
  StripeIndexBuffer indices = IndexHolder(65535);
  uint16_t triangles = 0, count = 65532;
  skeleton.CreateMeshBuilder(&indices, &vertices)->BuildMesh(&triangles, &count, Width(1.0f));
  EXPECT_EQ(count, 65535) << "two centre vertices and one side vertex";
  EXPECT_EQ(triangles, 1);
  EXPECT_EQ(Triangles(indices, 1)[0], (Triangle{65532, 65533, 65534}));

  triangles = 65534;
  count = 0;
  skeleton.CreateMeshBuilder(&indices, &vertices)->BuildMesh(&triangles, &count, Width(1.0f));
  EXPECT_EQ(triangles, 65535);
  EXPECT_EQ(count, 4) << "the side stops at the triangle that does not fit";
  EXPECT_EQ(vertices.capacity, 65535) << "no growth past the counters";
}

TEST_F(StripeMeshTest, NothingIsAppendedWithoutBuffers) {
  ZKW_StraightSkeletonOffset skeleton;
  Build(skeleton, {{0, 0, 0}, {10, 0, 0}}, 1.0f);
  StripeVertexBuffer vertices = VertexHolder(16);
  StripeIndexBuffer none;
  uint16_t triangles = 4, count = 5;
  DS_SafePtr<ZKW_StripeMeshBuilder> builder = skeleton.CreateMeshBuilder(&none, &vertices);
  builder->BuildMesh(&triangles, &count, Width(1.0f));
  EXPECT_EQ(count, 5);
  EXPECT_EQ(triangles, 4);
  EXPECT_EQ(static_cast<ZKW_PointStripeMeshBuilder&>(*builder).VertexBase(), 5);
  void* data = nullptr;
  EXPECT_EQ(vertices.buffer->Lock(0, 0, &data, 0), gfx::kOk) << "the vertex buffer was unlocked";
  vertices.buffer->Unlock();

  StripeVertexBuffer noVertices;
  StripeIndexBuffer indices = IndexHolder(16);
  skeleton.CreateMeshBuilder(&indices, &noVertices)->BuildMesh(&triangles, &count, Width(1.0f));
  EXPECT_EQ(count, 5);

  // An offsetter that was not built has no offset points: only the centre vertices.
  ZKW_StraightSkeletonOffset unbuilt;
  SetCentreLine(unbuilt, {{0, 0, 0}, {10, 0, 0}});
  triangles = count = 0;
  unbuilt.CreateMeshBuilder(&indices, &vertices)->BuildMesh(&triangles, &count, Width(1.0f));
  EXPECT_EQ(count, 2);
  EXPECT_EQ(triangles, 0);
}

TEST_F(StripeMeshTest, BufferThatCannotBeMadeLeavesTheHolder) {
  StripeVertexBuffer vertices = VertexHolder(4);
  void* data = nullptr;
  ASSERT_EQ(vertices.buffer->Lock(0, 0, &data, 0), gfx::kOk);
  vertices.data = data;
  gfx::VertexBuffer* before = vertices.buffer.Get();
  EXPECT_FALSE(GrowVertexBuffer(nullptr, vertices, 4));
  EXPECT_EQ(vertices.buffer.Get(), before);
  EXPECT_EQ(vertices.data, data);
  EXPECT_EQ(vertices.capacity, 4);
  vertices.buffer->Unlock();
}

// An L of half width 5: the band is lit, the rest dark, and the outer corner is round: lit 4.5
// from the corner point along the diagonal, dark at 5.5 (where a mitred corner would still be).
TEST_F(StripeMeshTest, LShapedStripeDrawsARoundOuterCorner) {
  ZKW_StraightSkeletonOffset skeleton;
  Build(skeleton, {{10, 10, 0}, {50, 10, 0}, {50, 50, 0}}, 5.0f);
  StripeVertexBuffer vertices = VertexHolder(8);
  StripeIndexBuffer indices = IndexHolder(8);
  uint16_t triangles = 0, count = 0;
  skeleton.CreateMeshBuilder(&indices, &vertices)
      ->BuildMesh(&triangles, &count, [](const unsigned&, float& w, uint32_t& colour) {
        w = 5.0f;
        colour = 0xFFFFFFFF;
      });

  D3DXMATRIX identity, projection;
  D3DXMatrixIdentity(&identity);
  D3DXMatrixOrthoOffCenterLH(&projection, 0, 64, 64, 0, 0, 1);
  device_->SetTransform(gfx::TransformState::World, &identity);
  device_->SetTransform(gfx::TransformState::View, &identity);
  device_->SetTransform(gfx::TransformState::Projection, &projection);
  device_->SetRenderState(gfx::RenderState::Lighting, 0);
  device_->SetRenderState(gfx::RenderState::CullMode, gfx::Cull::None);
  device_->SetRenderState(gfx::RenderState::ZEnable, 0);
  device_->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFF000000, 1.0f, 0);
  ASSERT_EQ(device_->SetFVF(StripeVertex::kFvf), gfx::kOk);
  ASSERT_EQ(device_->SetStreamSource(0, vertices.buffer.Get(), 0, sizeof(StripeVertex)), gfx::kOk);
  ASSERT_EQ(device_->SetIndices(indices.buffer.Get()), gfx::kOk);
  ASSERT_EQ(
      device_->DrawIndexedPrimitive(gfx::PrimitiveType::TriangleList, 0, 0, count, 0, triangles),
      gfx::kOk);

  const std::vector<uint32_t> pixels = gfx_test::BackBufferPixels(device_.Get());
  const auto lit = [&](float x, float y) {
    const int px = static_cast<int>(x * kPixelsPerUnit), py = static_cast<int>(y * kPixelsPerUnit);
    return (pixels[py * kSize + px] & 0xFF) > 0x80;
  };
  const float diagonal = std::sqrt(0.5f);
  struct Probe {
    float x, y;
    bool lit;
    const char* what;
  };
  const Probe probes[] = {
      {30, 10, true, "centre line"},
      {30, 13.5f, true, "inside the band"},
      {30, 6.5f, true, "inside the band, other side"},
      {52, 30, true, "inside the second leg"},
      {30, 16, false, "beyond the half width"},
      {30, 3.5f, false, "beyond the half width, other side"},
      {40, 30, false, "inside the L, off the band"},
      {57, 30, false, "outside the second leg"},
      {5, 10, false, "before the start"},
      {50 + 4.5f * diagonal, 10 - 4.5f * diagonal, true, "corner, 4.5 out"},
      {50 + 5.5f * diagonal, 10 - 5.5f * diagonal, false, "corner, 5.5 out"},
  };
  for (const Probe& p : probes)
    EXPECT_EQ(lit(p.x, p.y), p.lit) << p.what;
}

}  // namespace
