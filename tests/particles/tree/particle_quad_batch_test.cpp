#include <gtest/gtest.h>

#include <vector>

#include "tree_fixture.h"

namespace tree_test {
namespace {

using QuadBatchMesh = TreeRenderTest;

// The first `count` indices of the batch's index buffer.
std::vector<uint16_t> Indices(ParticleQuadBatch& batch, size_t count) {
  void* data = nullptr;
  if (!batch.indices || gfx::Failed(batch.indices->Lock(0, 0, &data, 0)) || data == nullptr)
    return {};
  const auto* words = static_cast<const uint16_t*>(data);
  std::vector<uint16_t> out(words, words + count);
  batch.indices->Unlock();
  return out;
}

TEST_F(QuadBatchMesh, ABatchChangesBetweenMeshAndQuads) {
  ParticleQuadBatch batch;
  batch.EnsureCapacity(5, 4);
  EXPECT_GE(batch.VertexCapacity(), 5u);
  EXPECT_GE(batch.TriangleCapacity(), 4u);
  EXPECT_EQ(batch.MeshTriangleCount(), 0u) << "nothing is drawn before the counts are set";
  uint16_t* indices = batch.LockIndices();
  ASSERT_NE(indices, nullptr);
  for (int i = 0; i < 12; ++i)
    indices[i] = 4;
  batch.UnlockIndices();
  batch.SetMeshCounts(5, 40);
  EXPECT_EQ(batch.MeshTriangleCount(), batch.TriangleCapacity()) << "kept within the room";

  // A smaller mesh keeps the buffers; a larger one grows them.
  const gfx::IndexBuffer* before = batch.indices.Get();
  batch.EnsureCapacity(3, 2);
  EXPECT_EQ(batch.indices.Get(), before);
  batch.EnsureCapacity(500, 400);
  EXPECT_GE(batch.TriangleCapacity(), 400u);

  // Quads again: the mesh's indices are not taken for the quad pattern.
  EXPECT_EQ(batch.Prepare(2), 2u);
  EXPECT_EQ(Indices(batch, 12), (std::vector<uint16_t>{0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7}));
  EXPECT_EQ(batch.LockIndices(), nullptr) << "a quad batch's indices are its own";
  EXPECT_EQ(batch.VertexCapacity(), 0u);
}

}  // namespace
}  // namespace tree_test
