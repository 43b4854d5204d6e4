#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "player/resources/mesh_loading.h"
#include "player/resources/texture_cache.h"
#include "player/support/body_writer.h"
#include "player/support/document_fixture.h"
#include "player/support/pe_module_writer.h"

namespace document_test {
namespace {

// A unit square in the xy plane, two triangles, scaled by `size`.
std::vector<uint8_t> SquareX(float size = 1.0f) {
  const std::string s = std::to_string(size);
  const std::string text = "xof 0303txt 0032\nMesh Square {\n 4;\n 0.0;0.0;0.0;,\n 0.0;" + s +
                           ";0.0;,\n " + s + ";" + s + ";0.0;,\n " + s +
                           ";0.0;0.0;;\n 2;\n 3;0,1,2;,\n 3;0,2,3;;\n MeshTextureCoords {\n  4;\n"
                           "  0.0;1.0;, 0.0;0.0;, 1.0;0.0;, 1.0;1.0;;\n }\n}\n";
  return std::vector<uint8_t>(text.begin(), text.end());
}

// The vertex buffer's contents.
std::vector<float> Floats(const MeshBuffers& mesh) {
  void* data = nullptr;
  gfx::VertexBufferDesc desc;
  EXPECT_EQ(mesh.vertexBuffer->GetDesc(&desc), gfx::kOk);
  EXPECT_EQ(mesh.vertexBuffer->Lock(0, 0, &data, 0), gfx::kOk);
  std::vector<float> out(desc.size / sizeof(float));
  std::memcpy(out.data(), data, desc.size);
  mesh.vertexBuffer->Unlock();
  return out;
}

using Meshes = DocumentTest;

TEST_F(Meshes, LoadedWithNormalsIndicesAndBoundingSphere) {
  MeshBuffers mesh;
  LoadMeshFromMemory(SquareX(), 32, mesh);
  ASSERT_TRUE(mesh.vertexBuffer && mesh.indexBuffer);
  EXPECT_EQ(mesh.vertexCount, 4u);
  EXPECT_EQ(mesh.faceCount, 2u);
  EXPECT_FLOAT_EQ(mesh.center.x, 0.5f);
  EXPECT_FLOAT_EQ(mesh.center.y, 0.5f);
  EXPECT_NEAR(mesh.radius, std::sqrt(0.5f), 1e-5f);
  gfx::IndexBufferDesc indices;
  EXPECT_EQ(mesh.indexBuffer->GetDesc(&indices), gfx::kOk);
  EXPECT_EQ(indices.size, 12u) << "16-bit indices, three per face";
  const std::vector<float> v = Floats(mesh);
  ASSERT_EQ(v.size(), 4u * 8u) << "32 bytes a vertex";
  EXPECT_NEAR(std::abs(v[5]), 1.0f, 1e-5f) << "a computed normal along z";

  MeshBuffers wide;
  LoadMeshFromMemory(SquareX(), 40, wide);
  const std::vector<float> w = Floats(wide);
  ASSERT_EQ(w.size(), 4u * 10u);
  EXPECT_EQ(w[8], 0.0f) << "bytes past a vertex are zero";
  EXPECT_EQ(w[10], v[8]);

  LoadMeshFromMemory(std::vector<uint8_t>{'x', 'o', 'f'}, 32, mesh);
  EXPECT_FALSE(mesh.vertexBuffer || mesh.indexBuffer);
  EXPECT_EQ(mesh.vertexCount, 0u);

  MeshBuffers file;
  LoadMeshFromFile(WriteFile("square.x", SquareX(2.0f)), 32, file);
  EXPECT_NEAR(file.radius, std::sqrt(2.0f), 1e-5f);
}

TEST_F(Meshes, ModuleMeshesAreCachedByModuleAndId) {
  const std::string nameA = UniqueModuleName("meshes"), nameB = UniqueModuleName("meshes");
  PeModuleWriter().AddDds(68, SquareX(1.0f)).AddDds(69, {1, 2}).WriteTo(folder_ / nameA);
  PeModuleWriter().AddDds(68, SquareX(4.0f)).WriteTo(folder_ / nameB);
  const zkw_string a = FromUtf8((folder_ / nameA).string());
  const zkw_string b = FromUtf8((folder_ / nameB).string());
  TextureCache& cache = Doc().Cache();

  const MeshBuffers first = cache.LoadModelForLink(Record(68, a), 32);
  ASSERT_TRUE(first.vertexBuffer);
  EXPECT_EQ(cache.LoadModelForLink(Record(68, a), 32).vertexBuffer.Get(), first.vertexBuffer.Get());
  const MeshBuffers other = cache.LoadModelForLink(Record(68, b), 32);
  EXPECT_NEAR(other.radius, 4.0f * std::sqrt(0.5f), 1e-4f) << "another module's mesh 68";
  EXPECT_FALSE(cache.LoadModelForLink(Record(69, a), 32).vertexBuffer);

  // A module that cannot be read: the stored bytes, loaded at every call.
  const ResourceDataRecord stored = Record(68, u"glimres.dll", SquareX(2.0f));
  const MeshBuffers once = cache.LoadModelForLink(stored, 32);
  ASSERT_TRUE(once.vertexBuffer);
  EXPECT_NE(cache.LoadModelForLink(stored, 32).vertexBuffer.Get(), once.vertexBuffer.Get());
  const MeshBuffers fromFile =
      cache.LoadModelForLink(Record(68, u"glimres.dll", {}, WriteFile("m.x", SquareX())), 32);
  EXPECT_EQ(fromFile.faceCount, 2u);
}

// A mesh stored in the project with its file's path (as drifting instances store theirs) is
// its bytes, whatever module and id the record names; a readable module without the mesh falls
// back on the record's bytes too.
TEST_F(Meshes, StoredFilesAreTheirBytes) {
  TextureCache& cache = Doc().Cache();
  const MeshBuffers stored =
      cache.LoadModelForLink(Record(0, u"", SquareX(3.0f), u"c:\\leaf.x"), 32);
  EXPECT_NEAR(stored.radius, 3.0f * std::sqrt(0.5f), 1e-4f);
  EXPECT_FALSE(cache.LoadModelForLink(Record(0, u"", {1, 2, 3}, u"c:\\broken.x"), 32).vertexBuffer);

  const std::string name = UniqueModuleName("meshes");
  PeModuleWriter().AddRcData(5, {1}).WriteTo(folder_ / name);
  const zkw_string module = FromUtf8((folder_ / name).string());
  EXPECT_FALSE(cache.LoadModelForLink(Record(5, module), 32).vertexBuffer);
  EXPECT_EQ(cache.LoadModelForLink(Record(5, module, SquareX()), 32).faceCount, 2u);
}

// With the library absent, the player's own meshes stand in for its butterfly and clock meshes
// (its "DDS" resources of those ids are pictures); other ids have no stand-in.
TEST_F(Meshes, TheLibraryMeshesHaveStandIns) {
  TextureCache& cache = Doc().Cache();
  for (uint32_t id : {68u, 69u, 70u}) {
    const MeshBuffers mesh = cache.LoadModelForLink(Record(id, u"glimres.dll"), 32);
    EXPECT_TRUE(mesh.vertexBuffer) << id;
    EXPECT_EQ(cache.LoadModelForLink(Record(id, u"glimres.dll"), 32).vertexBuffer.Get(),
              mesh.vertexBuffer.Get())
        << "kept by the cache";
  }
  EXPECT_FALSE(cache.LoadModelForLink(Record(71, u"glimres.dll"), 32).vertexBuffer);
  // Bytes stored for the library's mesh come first.
  EXPECT_EQ(cache.LoadModelForLink(Record(68, u"glimres.dll", SquareX()), 32).faceCount, 2u);
}

// Without a device there is nothing to fill, and nothing is read.
TEST_F(Meshes, NothingLoadsWithoutADevice) {
  GetDeviceValues().device = nullptr;
  MeshBuffers mesh;
  mesh.vertexCount = 9;
  LoadMeshFromMemory(SquareX(), 32, mesh);
  EXPECT_EQ(mesh.vertexCount, 0u);
  EXPECT_FALSE(mesh.vertexBuffer);
  GetDeviceValues().device = device_.Get();
}

}  // namespace
}  // namespace document_test
