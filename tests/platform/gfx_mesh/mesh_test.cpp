#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>

#include "platform/gfx/mesh/mesh.h"
#include "platform/math/d3dx_math.h"
#include "platform/sys/file_paths.h"

namespace gfx {
namespace {

const std::filesystem::path kData =
    std::filesystem::path(SCENE_SOURCE_DIR) / "tests/platform/gfx_mesh/data";
const std::filesystem::path kModels = "/usr/share/assimp/models/X";

MeshVertex V(float x, float y, float z, float u = 0, float v = 0) {
  MeshVertex m;
  m.position = {x, y, z};
  m.uv = {u, v};
  return m;
}

void ExpectNear(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float eps = 1e-5f) {
  EXPECT_NEAR(a.x, b.x, eps);
  EXPECT_NEAR(a.y, b.y, eps);
  EXPECT_NEAR(a.z, b.z, eps);
}

TEST(XMesh, HandMadeFileFlattensFramesInFileOrder) {
  Mesh mesh;
  std::string error;
  ASSERT_EQ(LoadMeshFromXFile(kData / "two_frames.x", &mesh, &error), kOk) << error;
  // "Left" (moved 10 along x): its material-0 triangle first, then the quad as a fan and the
  // last triangle; corners with equal position and coordinates share a vertex. Then "Right"
  // (moved 5 along z).
  const MeshVertex expected[] = {V(11, 0, 0, 1, 1), V(11, 1, 0, 1, 0), V(12, 0, 0, 0.5f, 0.25f),
                                 V(10, 0, 0, 0, 1), V(10, 1, 0, 0, 0), V(0, 0, 5),
                                 V(0, 2, 5),        V(2, 0, 5)};
  ASSERT_EQ(mesh.VertexCount(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    ExpectNear(mesh.vertices[i].position, expected[i].position);
    EXPECT_EQ(mesh.vertices[i].uv, expected[i].uv);
  }
  EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2, 3, 4, 1, 3, 1, 0, 3, 4, 0, 5, 6, 7}));
  EXPECT_EQ(mesh.attributes, (std::vector<uint32_t>{0, 1, 1, 1, 2}));
  EXPECT_TRUE(mesh.Fits16BitIndices());
  EXPECT_EQ(mesh.Indices16().size(), 15u);

  // The steps the mesh loading of the texture cache takes.
  ComputeNormals(mesh);
  OptimizeInplace(mesh, MeshOptimize::Compact | MeshOptimize::AttrSort | MeshOptimize::VertexCache);
  EXPECT_EQ(mesh.VertexCount(), 8u);
  EXPECT_EQ(mesh.attributes, (std::vector<uint32_t>{0, 1, 1, 1, 2}));
  // Every face lies in a z plane and runs clockwise seen from -z: normals point to -z.
  for (const MeshVertex& v : mesh.vertices)
    ExpectNear(v.normal, {0, 0, -1});
  D3DXVECTOR3 center;
  float radius = 0;
  ASSERT_EQ(D3DXComputeBoundingSphere(&mesh.vertices[0].position, mesh.VertexCount(),
                                      sizeof(MeshVertex), &center, &radius),
            kOk);
  ExpectNear(center, {7, 0.5f, 15.0f / 8});
  EXPECT_NEAR(radius, std::sqrt(61.015625f), 1e-4f);  // to (0, 2, 5)
}

TEST(XMesh, NormalsWeighFacesByTheirAngleAtTheVertex) {
  // Vertex 0 is shared by a face in the z = 0 plane with a right angle there and a face in
  // the x = 0 plane with a 45 degree angle there.
  Mesh mesh;
  mesh.vertices = {V(0, 0, 0), V(0, 1, 0), V(1, 0, 0), V(0, 0, 1), V(0, 1, 1)};
  mesh.indices = {0, 1, 2, 0, 4, 1};
  mesh.attributes = {0, 0};
  ComputeNormals(mesh);
  const D3DXVECTOR3 a(0, 0, -1), b(-1, 0, 0);  // the two face normals
  D3DXVECTOR3 expected = a * (std::numbers::pi_v<float> / 2) + b * (std::numbers::pi_v<float> / 4);
  D3DXVec3Normalize(&expected, &expected);
  ExpectNear(mesh.vertices[0].normal, expected);
  ExpectNear(mesh.vertices[2].normal, a);
  ExpectNear(mesh.vertices[4].normal, b);
  ExpectNear(mesh.vertices[3].normal, {0, 0, 0});  // used by no face
}

TEST(XMesh, OptimizeSortsFacesByAttributeAndCompactsVertices) {
  Mesh mesh;
  mesh.vertices = {V(0, 0, 0), V(1, 0, 0), V(2, 0, 0), V(3, 0, 0), V(4, 0, 0)};
  mesh.indices = {4, 3, 2, 0, 1, 3, 2, 3, 4};
  mesh.attributes = {1, 0, 1};
  Mesh kept = mesh;
  OptimizeInplace(mesh, MeshOptimize::Compact | MeshOptimize::AttrSort);
  EXPECT_EQ(mesh.attributes, (std::vector<uint32_t>{0, 1, 1}));
  EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2, 3, 2, 4, 4, 2, 3}));
  ASSERT_EQ(mesh.VertexCount(), 5u);
  EXPECT_EQ(mesh.vertices[0].position.x, 0);
  EXPECT_EQ(mesh.vertices[2].position.x, 3);
  EXPECT_EQ(mesh.vertices[3].position.x, 4);

  // An unused vertex is dropped by Compact, else it goes to the end.
  kept.vertices.push_back(V(9, 9, 9));
  kept.vertices.insert(kept.vertices.begin(), V(8, 8, 8));
  for (uint32_t& i : kept.indices)
    ++i;
  Mesh compact = kept;
  OptimizeInplace(compact, MeshOptimize::Compact);
  EXPECT_EQ(compact.VertexCount(), 5u);
  OptimizeInplace(kept, 0);
  ASSERT_EQ(kept.VertexCount(), 7u);
  EXPECT_EQ(kept.vertices[5].position.x, 8);
  EXPECT_EQ(kept.vertices[6].position.x, 9);
  EXPECT_EQ(kept.attributes, (std::vector<uint32_t>{1, 0, 1}));  // no sort asked for
}

TEST(XMesh, BoundingSphereIsCentredOnTheAverage) {
  const MeshVertex v[] = {V(0, 0, 0), V(2, 0, 0), V(0, 4, 0)};
  D3DXVECTOR3 center;
  float radius = 0;
  ASSERT_EQ(D3DXComputeBoundingSphere(&v[0].position, 3, sizeof(MeshVertex), &center, &radius),
            kOk);
  ExpectNear(center, {2.0f / 3, 4.0f / 3, 0});
  EXPECT_NEAR(radius, std::sqrt(68.0f / 9), 1e-5f);
  ASSERT_EQ(D3DXComputeBoundingSphere(&v[0].position, 0, sizeof(MeshVertex), &center, &radius),
            kOk);
  ExpectNear(center, {0, 0, 0});
  EXPECT_EQ(radius, 0.0f);
  EXPECT_EQ(D3DXComputeBoundingSphere(nullptr, 3, 32, &center, &radius), kInvalidCall);
}

TEST(XMesh, TextBinaryAndCompressedFilesGiveTheSameCube) {
  const char* files[] = {"test_cube_text.x", "test_cube_binary.x", "test_cube_compressed.x"};
  std::vector<Mesh> meshes;
  for (const char* name : files) {
    if (!std::filesystem::exists(kModels / name))
      GTEST_SKIP() << kModels / name << " is absent (assimp-testmodels)";
    Mesh mesh;
    std::string error;
    ASSERT_EQ(LoadMeshFromXFile(kModels / name, &mesh, &error), kOk) << name << ": " << error;
    meshes.push_back(std::move(mesh));
  }
  for (const Mesh& m : meshes) {
    EXPECT_EQ(m.FaceCount(), 12u);
    EXPECT_EQ(m.indices, meshes[0].indices);
    ASSERT_EQ(m.VertexCount(), meshes[0].VertexCount());
    for (size_t i = 0; i < m.vertices.size(); ++i)
      ExpectNear(m.vertices[i].position, meshes[0].vertices[i].position, 1e-4f);
    D3DXVECTOR3 center;
    float radius = 0;
    D3DXComputeBoundingSphere(&m.vertices[0].position, m.VertexCount(), sizeof(MeshVertex), &center,
                              &radius);
    ExpectNear(center, {0, 0, 0}, 1e-4f);
    EXPECT_NEAR(radius, std::sqrt(3.0f), 1e-4f);
  }
}

TEST(XMesh, RealModelsLoadIntoConsistentMeshes) {
  const char* files[] = {"test.x",      "Testwuson.X",           "BCN_Epileptic.X",
                         "anim_test.x", "fromtruespace_bin32.x", "kwxport_test_cubewithvcolors.x"};
  for (const char* name : files) {
    const auto path = kModels / name;
    if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is absent (assimp-testmodels)";
    SCOPED_TRACE(name);
    Mesh mesh;
    std::string error;
    ASSERT_EQ(LoadMeshFromXFile(path, &mesh, &error), kOk) << error;
    EXPECT_GT(mesh.FaceCount(), 0u);
    EXPECT_EQ(mesh.indices.size(), 3u * mesh.FaceCount());
    ComputeNormals(mesh);
    OptimizeInplace(mesh, MeshOptimize::Compact | MeshOptimize::AttrSort);
    EXPECT_TRUE(std::is_sorted(mesh.attributes.begin(), mesh.attributes.end()));
    for (uint32_t i : mesh.indices)
      ASSERT_LT(i, mesh.VertexCount());
    // After compaction every vertex belongs to a face; its normal is a unit vector unless
    // all its faces are degenerate.
    size_t unit = 0;
    for (const MeshVertex& v : mesh.vertices)
      unit += std::abs(D3DXVec3Length(&v.normal) - 1) < 1e-3f;
    EXPECT_GT(unit, mesh.vertices.size() * 9 / 10);
  }
}

TEST(XMesh, DamagedDataFailsCleanly) {
  Mesh mesh;
  std::string error;
  const std::string notX = "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }";
  EXPECT_EQ(LoadMeshFromXInMemory({reinterpret_cast<const uint8_t*>(notX.data()), notX.size()},
                                  &mesh, &error),
            kFail);
  EXPECT_EQ(error, "not .x data");

  const std::string truncated = "xof 0303txt 0032\nMesh { 3; 0.0;0.0;";
  EXPECT_EQ(
      LoadMeshFromXInMemory({reinterpret_cast<const uint8_t*>(truncated.data()), truncated.size()},
                            &mesh, &error),
      kFail);
  EXPECT_EQ(mesh.VertexCount(), 0u);

  // Data on which the .x reader itself crashes.
  EXPECT_EQ(LoadMeshFromXFile(kData / "breaks_assimp.x", &mesh, &error), kFail);
  EXPECT_EQ(mesh.FaceCount(), 0u);
  EXPECT_EQ(LoadMeshFromXFile(kData / "missing.x", &mesh, &error), kFail);
}

}  // namespace
}  // namespace gfx
