#include "player/render/mesh_geometry.h"

#include <gtest/gtest.h>

#include "player/render/matrix_values.h"
#include "player/support/document_fixture.h"
#include "player/support/pe_module_writer.h"
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

namespace document_test {
namespace {

// A unit square of two triangles in .x text.
std::vector<uint8_t> SquareX() {
  const std::string text =
      "xof 0303txt 0032\nMesh Square {\n 4;\n 0.0;0.0;0.0;,\n 0.0;1.0;0.0;,\n 1.0;1.0;0.0;,\n"
      " 1.0;0.0;0.0;;\n 2;\n 3;0,1,2;,\n 3;0,2,3;;\n MeshTextureCoords {\n  4;\n"
      "  0.0;1.0;, 0.0;0.0;, 1.0;0.0;, 1.0;1.0;;\n }\n}\n";
  return std::vector<uint8_t>(text.begin(), text.end());
}

using MeshLoading = DocumentTest;

TEST_F(MeshLoading, MeshesOfOneLinkShareTheBuffersLoadedOnce) {
  const DS_MeshFile link(u"nowhere.dll", 301);
  ResourceDataRecord record;
  record.module = u"nowhere.dll";
  record.resourceId = 301;
  record.bytes = SquareX();
  Doc().resourceRecords[link.Key()] = {record};

  MeshGeometry first, second;
  EXPECT_TRUE(first.LoadMesh(link));
  ASSERT_TRUE(first.vertices.buffer);
  EXPECT_EQ(first.vertices.count, 4u);
  EXPECT_EQ(first.primitiveCount, 2u);
  EXPECT_EQ(first.primitiveType, gfx::PrimitiveType::TriangleList);
  EXPECT_FLOAT_EQ(first.boundingCenter.x, 0.5f);

  Doc().resourceRecords[link.Key()].front().bytes.clear();  // nothing left to read
  EXPECT_TRUE(second.LoadMesh(link));
  EXPECT_EQ(second.vertices.buffer.Get(), first.vertices.buffer.Get());
  EXPECT_EQ(second.indices.Get(), first.indices.Get());

  // A picture link's current frame becomes the picture.
  gfx::Texture* texture = nullptr;
  ASSERT_EQ(device_->CreateTexture(1, 1, 1, 0, gfx::Format::A8R8G8B8, gfx::Pool::Managed, &texture),
            gfx::kOk);
  const DS_ImageFileLink pictureLink(u"skin.png", 2);
  Doc().imageTextureSets[pictureLink.Key()].textures = {ComRef<gfx::Texture>(texture)};
  MeshGeometry textured;
  EXPECT_TRUE(textured.LoadMeshWithPicture(link, pictureLink));
  EXPECT_EQ(textured.picture.Get(), texture);

  // A link without any mesh gives an empty mesh, not a failure.
  MeshGeometry missing;
  EXPECT_TRUE(missing.LoadMesh(DS_MeshFile(u"nowhere.dll", 999)));
  EXPECT_FALSE(missing.vertices.buffer);
}

// A link the project stores nothing for takes its module's resource into a record of its own:
// here the module's RT_RCDATA resource, as the module has no "DDS" one of the id.
TEST_F(MeshLoading, AnUnstoredLinkLoadsFromItsModule) {
  const std::string name = UniqueModuleName("mesh_module");
  PeModuleWriter().AddRcData(12, SquareX()).WriteTo(folder_ / name);
  const DS_MeshFile link(FromUtf8((folder_ / name).string()), 12);
  MeshGeometry mesh;
  EXPECT_TRUE(mesh.LoadMesh(link));
  EXPECT_EQ(mesh.primitiveCount, 2u);
  const std::vector<ResourceDataRecord>& records = Doc().resourceRecords[link.Key()];
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].bytes, SquareX()) << "the module's bytes";
  EXPECT_EQ(records[0].resourceId, 12u);
}

}  // namespace
}  // namespace document_test
