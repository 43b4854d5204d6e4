#include "player/render/mesh_geometry.h"

#include <gtest/gtest.h>

#include "player/render/matrix_values.h"
#include "render_fixture.h"

namespace render_test {
namespace {

using MeshGeometryTest = RenderTest;

struct FixedModifier : TransformModifier {
  void Compute(TransformNode*) override {}
};

TEST_F(MeshGeometryTest, SetBuffersTakesTheMeshAndCopiesShareIt) {
  MeshBuffers buffers;
  gfx::VertexBuffer* vb = nullptr;
  gfx::IndexBuffer* ib = nullptr;
  ASSERT_EQ(device_->CreateVertexBuffer(3 * 32, 0, 0x112, gfx::Pool::Managed, &vb), gfx::kOk);
  ASSERT_EQ(device_->CreateIndexBuffer(6, 0, gfx::Format::Index16, gfx::Pool::Managed, &ib),
            gfx::kOk);
  buffers.vertexBuffer.Reset(vb);
  buffers.indexBuffer.Reset(ib);
  buffers.vertexCount = 3;
  buffers.faceCount = 1;
  buffers.radius = 2.5f;
  buffers.center = D3DXVECTOR3(1, 2, 3);

  MeshGeometry mesh;
  EXPECT_EQ(mesh.primitiveType, gfx::PrimitiveType::TriangleStrip);
  EXPECT_TRUE(mesh.SetBuffers(buffers));
  EXPECT_EQ(mesh.primitiveType, gfx::PrimitiveType::TriangleList);
  EXPECT_EQ(mesh.vertices.count, 3u);
  EXPECT_EQ(mesh.primitiveCount, 1u);
  EXPECT_EQ(mesh.UnindexedPrimitiveCount(), 1u);
  EXPECT_FLOAT_EQ(mesh.boundingRadius, 2.5f);
  EXPECT_EQ(RefCount(vb), 2u);  // the record and the mesh
  buffers = MeshBuffers{};
  EXPECT_EQ(RefCount(vb), 1u);

  auto texture = MakeTexture(1, 1, {0});
  mesh.picture = ComRef<gfx::Texture>(texture.Get());
  texture->AddRef();
  mesh.node.local = TranslationMatrix(1, 0, 0);
  TransformNode child;
  mesh.node.children.push_back(&child);
  mesh.node.modifier = std::make_unique<FixedModifier>();
  {
    MeshGeometry copy = mesh;
    EXPECT_EQ(RefCount(vb), 2u);
    EXPECT_EQ(RefCount(ib), 2u);
    EXPECT_EQ(RefCount(texture.Get()), 3u);
    EXPECT_EQ(copy.node.local, mesh.node.local);
    EXPECT_EQ(copy.node.children.front(), &child);
    // The modifier stays with the node that owns it.
    EXPECT_EQ(copy.node.modifier, nullptr);
  }
  EXPECT_EQ(RefCount(vb), 1u);
  mesh.node.children.clear();
}

}  // namespace
}  // namespace render_test
