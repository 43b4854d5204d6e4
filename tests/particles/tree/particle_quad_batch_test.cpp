#include <gtest/gtest.h>

#include <vector>

#include "tree_fixture.h"

namespace tree_test {
namespace {

using QuadBatch = TreeRenderTest;

std::vector<uint16_t> Indices(const ParticleQuadBatch& batch, size_t count) {
  void* data = nullptr;
  if (!batch.indices || gfx::Failed(batch.indices->Lock(0, 0, &data, 0)) || data == nullptr)
    return {};
  const auto* first = static_cast<const uint16_t*>(data);
  std::vector<uint16_t> out(first, first + count);
  batch.indices->Unlock();
  return out;
}

TEST_F(QuadBatch, AMeshKeepsBuffersWithRoomAndQuadsRewriteTheirPattern) {
  ParticleQuadBatch batch;
  batch.EnsureCapacity(10, 5);
  EXPECT_TRUE(batch.IsMesh());
  EXPECT_GE(batch.VertexRoom(), 10u);
  EXPECT_GE(batch.TriangleRoom(), 5u);
  EXPECT_EQ(batch.vertices.count, 10u);
  EXPECT_EQ(batch.primitiveCount, 5u);

  gfx::VertexBuffer* vertices = batch.vertices.buffer.Get();
  gfx::IndexBuffer* indices = batch.indices.Get();
  batch.EnsureCapacity(4, 2);
  EXPECT_EQ(batch.vertices.buffer.Get(), vertices) << "room enough: kept";
  EXPECT_EQ(batch.indices.Get(), indices);
  EXPECT_EQ(batch.vertices.count, 4u);
  EXPECT_EQ(batch.primitiveCount, 2u);

  batch.EnsureCapacity(70000, 8);
  EXPECT_EQ(batch.vertices.count, ParticleQuadBatch::kMaxMeshVertices)
      << "16-bit indices name no more";

  // The same batch handed to a quad node (the batch order changed) holds quads again.
  ASSERT_EQ(batch.Prepare(2), 2u);
  EXPECT_FALSE(batch.IsMesh());
  EXPECT_EQ(Indices(batch, 12), (std::vector<uint16_t>{0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7}));
}

}  // namespace
}  // namespace tree_test
