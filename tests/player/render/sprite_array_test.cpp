#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "core/list_limits.h"
#include "player/render/quad_blocks.h"
#include "player/render/sprite_array.h"
#include "render_fixture.h"

namespace render_test {
namespace {

std::vector<uint16_t> Indices(const PCTSpriteArray& batch) {
  std::vector<uint16_t> out;
  if (!batch.indices) return out;
  const auto bytes = batch.indices->Data();
  out.resize(bytes.size() / 2);
  std::memcpy(out.data(), bytes.data(), out.size() * 2);
  return out;
}

const DX_V::PCT* Vertices(const PCTSpriteArray& batch) {
  return reinterpret_cast<const DX_V::PCT*>(batch.vertices.buffer->Data().data());
}

// The quad pattern of `quads` quads, each counted within its block of 16,384.
void ExpectPattern(const PCTSpriteArray& batch, uint32_t quads) {
  const std::vector<uint16_t> indices = Indices(batch);
  ASSERT_EQ(indices.size(), 6u * quads);
  for (uint32_t q = 0; q < quads; ++q) {
    const uint32_t b = 4 * (q % kQuadsPerBlock);
    const uint32_t six[6] = {b, b + 1, b + 2, b + 2, b + 1, b + 3};
    for (int k = 0; k < 6; ++k)
      ASSERT_EQ(indices[6 * q + k], six[k]) << "quad " << q << " index " << k;
  }
}

using SpriteArrayTest = RenderTest;

TEST_F(SpriteArrayTest, ReserveWritesTheQuadPatternAndRemakesBothBuffers) {
  PCTSpriteArray batch;
  EXPECT_EQ(batch.primitiveType, gfx::PrimitiveType::TriangleStrip) << "until it has buffers";
  batch.Reserve(0);
  EXPECT_EQ(batch.primitiveType, gfx::PrimitiveType::TriangleList);
  EXPECT_EQ(batch.QuadCapacity(), 0u);
  EXPECT_EQ(batch.vertices.count, 0u);
  EXPECT_FALSE(batch.indices) << "no quads, nothing to index";

  batch.Reserve(3);
  EXPECT_EQ(Indices(batch),
            (std::vector<uint16_t>{0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7, 8, 9, 10, 10, 9, 11}));
  EXPECT_EQ(batch.vertices.buffer->Data().size(), 12u * 24);

  // 10, 11, then 5 quads: new buffers each time, the pattern always whole.
  uint64_t vertexIds = 0, indexIds = 0;
  for (uint32_t quads : {10u, 11u, 5u}) {
    batch.Reserve(quads);
    ExpectPattern(batch, quads);
    EXPECT_EQ(batch.primitiveCount, 2 * quads);
    EXPECT_EQ(batch.vertices.count, 4 * quads);
    EXPECT_NE(batch.vertices.buffer->Id(), vertexIds) << quads;
    EXPECT_NE(batch.indices->Id(), indexIds) << quads;
    vertexIds = batch.vertices.buffer->Id();
    indexIds = batch.indices->Id();
  }

  // Past one block the indices count from the block's first vertex again.
  batch.Reserve(kQuadsPerBlock + 2);
  ExpectPattern(batch, kQuadsPerBlock + 2);
}

TEST_F(SpriteArrayTest, CountsAreCappedAtTheListLimit) {
  PCTSpriteArray batch;
  batch.Reserve(UINT32_MAX);
  EXPECT_EQ(batch.QuadCapacity(), kMaxParticlesPerList);
  EXPECT_EQ(batch.vertices.count, 4 * kMaxParticlesPerList);
  ASSERT_TRUE(batch.vertices.buffer);
  EXPECT_EQ(batch.vertices.buffer->Data().size(), 24u * 4 * kMaxParticlesPerList);
  ExpectPattern(batch, kMaxParticlesPerList);

  batch.CreateBuffers(UINT32_MAX, UINT32_MAX);
  EXPECT_EQ(batch.vertices.count, 4 * kMaxParticlesPerList);
  EXPECT_EQ(batch.primitiveCount, 2 * kMaxParticlesPerList);
  EXPECT_EQ(batch.indices->Data().size(), 12u * kMaxParticlesPerList);
}

TEST_F(SpriteArrayTest, InitQuadsClearsEveryQuadWithTheUnitCorners) {
  PCTSpriteArray batch;
  batch.Reserve(2);
  DX_V::PCT* v = batch.LockVertices();
  ASSERT_NE(v, nullptr);
  for (int i = 0; i < 8; ++i)
    v[i] = {9, 9, 9, 0xFFFFFFFF, 9, 9};
  batch.UnlockVertices();

  batch.InitQuads(2);
  ExpectPattern(batch, 2);
  const DX_V::PCT* w = Vertices(batch);
  const float uv[4][2] = {{0, 1}, {0, 0}, {1, 1}, {1, 0}};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(w[i].x, 0.0f);
    EXPECT_EQ(w[i].y, 0.0f);
    EXPECT_EQ(w[i].z, 0.0f);
    EXPECT_EQ(w[i].diffuse, 0u);
    EXPECT_EQ(w[i].u, uv[i % 4][0]) << i;
    EXPECT_EQ(w[i].v, uv[i % 4][1]) << i;
  }
}

TEST(SetQuadVertexColors, PacksTheColourWithARoundedClampedAlpha) {
  struct Case {
    uint32_t rgb;
    float alpha;
    uint32_t argb;
  } cases[] = {
      {0x336699, 127.6f, 0x80996633},  // red is the low byte of the COLORREF
      {0xFFFFFF, 255.0f, 0xFFFFFFFF}, {0x000080, 1000.0f, 0xFF800000},
      {0x010203, -3.0f, 0x00030201},  {0x010203, NAN, 0x00030201},
      {0x010203, 0.4f, 0x00030201},   {0x010203, 0.6f, 0x01030201},
  };
  for (const Case& c : cases) {
    DX_V::PCT quad[4] = {};
    SetQuadVertexColors(c.rgb, c.alpha, quad);
    for (const DX_V::PCT& v : quad)
      EXPECT_EQ(v.diffuse, c.argb) << std::hex << c.rgb << " " << c.alpha;
  }
}

// The blocks a quad draw is split into, as the device's frame log shows them.
TEST_F(SpriteArrayTest, QuadDrawsSplitAtBlocksWithTheirBaseVertex) {
  PCTSpriteArray batch;
  batch.Reserve(2 * kQuadsPerBlock + 10);
  device_->SetIndices(batch.indices.Get());
  device_->SetFVF(DX_V::PCT::kFvf);
  device_->SetStreamSource(0, batch.vertices.buffer.Get(), 0, 24);
  struct Draw {
    uint32_t first;
    int32_t base;
    uint32_t triangles;
  };
  struct Case {
    uint32_t firstQuad, quads;
    std::vector<Draw> draws;
  } cases[] = {
      {0, 3, {{0, 0, 6}}},
      {3, 2, {{18, 0, 4}}},
      {kQuadsPerBlock - 1, 2, {{6 * (kQuadsPerBlock - 1), 0, 2}, {6 * kQuadsPerBlock, 65536, 2}}},
      {kQuadsPerBlock + 5, 1, {{6 * (kQuadsPerBlock + 5), 65536, 2}}},
      {0,
       2 * kQuadsPerBlock + 10,
       {{0, 0, 2 * kQuadsPerBlock},
        {6 * kQuadsPerBlock, 65536, 2 * kQuadsPerBlock},
        {12 * kQuadsPerBlock, 131072, 20}}},
  };
  for (const Case& c : cases) {
    device_->EnableFrameLog(false);
    device_->EnableFrameLog(true);
    EXPECT_EQ(DrawIndexedQuads(*device_, batch.primitiveType, batch.vertices.count, 6 * c.firstQuad,
                               2 * c.quads),
              gfx::kOk);
    const auto& log = device_->CurrentFrameLog();
    ASSERT_EQ(log.size(), c.draws.size()) << c.firstQuad << "+" << c.quads;
    for (size_t i = 0; i < log.size(); ++i) {
      EXPECT_EQ(log[i].first, c.draws[i].first) << c.firstQuad << " draw " << i;
      EXPECT_EQ(log[i].baseVertex, c.draws[i].base) << c.firstQuad << " draw " << i;
      EXPECT_EQ(log[i].primitiveCount, c.draws[i].triangles) << c.firstQuad << " draw " << i;
    }
  }
}

}  // namespace
}  // namespace render_test
