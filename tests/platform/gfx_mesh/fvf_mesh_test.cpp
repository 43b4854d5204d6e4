#include "platform/gfx/mesh/fvf_mesh.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/gfx/gfx_fixture.h"

namespace gfx_test {
namespace {

class FvfMeshTest : public GfxTest {
 protected:
  // Three faces with the given attributes. Vertices are XYZ with identity transforms, so x and
  // y are clip coordinates: face f is a thin upright triangle about the middle of band f of
  // three column bands, covering that middle at every height and no other band's.
  ComPtr<FvfMesh> ThreeFaces(const std::vector<uint32_t>& attributes) {
    ComPtr<FvfMesh> mesh;
    EXPECT_EQ(D3DXCreateMeshFVF(3, 9, MeshOption::Managed, kColorFvf, device_.Get(), mesh.Put()),
              kOk);
    std::vector<ColorVertex> vertices;
    for (int f = 0; f < 3; ++f) {
      const float x = BandMiddle(f);
      vertices.push_back({x - 0.3f, -3, 0.5f, 0xFF00FF00});
      vertices.push_back({x - 0.3f, 3, 0.5f, 0xFF00FF00});
      vertices.push_back({x + 0.3f, 0, 0.5f, 0xFF00FF00});
    }
    void* data = nullptr;
    EXPECT_EQ(mesh->LockVertexBuffer(LockFlags::Discard, &data), kOk);
    std::memcpy(data, vertices.data(), vertices.size() * sizeof(ColorVertex));
    mesh->UnlockVertexBuffer();
    EXPECT_EQ(mesh->LockIndexBuffer(LockFlags::Discard, &data), kOk);
    const uint16_t indices[9] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    std::memcpy(data, indices, sizeof indices);
    mesh->UnlockIndexBuffer();
    uint32_t* words = nullptr;
    EXPECT_EQ(mesh->LockAttributeBuffer(LockFlags::Discard, &words), kOk);
    std::memcpy(words, attributes.data(), attributes.size() * 4);
    EXPECT_EQ(mesh->UnlockAttributeBuffer(), kOk);
    return mesh;
  }

  // The pixel column of band f's middle, and its x in clip coordinates.
  static int BandColumn(int f) { return (f * 8 + 4) / 3; }
  static float BandMiddle(int f) { return (float(BandColumn(f)) + 0.5f) / (kSize / 2) - 1.0f; }

  // Which of the three bands show green, in rows 1 and 6.
  std::vector<bool> GreenBands() {
    const auto pixels = BackBufferPixels();
    std::vector<bool> green;
    for (int band = 0; band < 3; ++band) {
      bool all = true;
      for (int y : {1, 6})
        all = all && (pixels[y * kSize + BandColumn(band)] & 0xFFFFFF) == 0x00FF00;
      green.push_back(all);
    }
    return green;
  }
};

TEST_F(FvfMeshTest, UnlockingGroupsTheFacesByAttributeInTheirOrder) {
  ComPtr<FvfMesh> mesh = ThreeFaces({2, 1, 2});
  const auto& table = mesh->AttributeTable();
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0].attribute, 1u);
  EXPECT_EQ(table[0].faceStart, 0u);
  EXPECT_EQ(table[0].faceCount, 1u);
  EXPECT_EQ(table[0].vertexStart, 3u);
  EXPECT_EQ(table[0].vertexCount, 3u);
  EXPECT_EQ(table[1].attribute, 2u);
  EXPECT_EQ(table[1].faceStart, 1u);
  EXPECT_EQ(table[1].faceCount, 2u);
  EXPECT_EQ(table[1].vertexStart, 0u);
  EXPECT_EQ(table[1].vertexCount, 9u);
  EXPECT_EQ(mesh->GetNumFaces(), 3u);
  EXPECT_EQ(mesh->GetNumVertices(), 9u);
  EXPECT_EQ(mesh->GetNumBytesPerVertex(), sizeof(ColorVertex));
  EXPECT_EQ(mesh->GetOptions(), MeshOption::Managed);
}

TEST_F(FvfMeshTest, DrawSubsetDrawsTheFacesOfItsAttributeOnly) {
  ComPtr<FvfMesh> mesh = ThreeFaces({2, 1, 2});
  device_->Clear(0, nullptr, ClearFlags::Target, 0xFF000000, 1, 0);
  ASSERT_EQ(mesh->DrawSubset(2), kOk);
  EXPECT_EQ(GreenBands(), (std::vector<bool>{true, false, true}));
  device_->Clear(0, nullptr, ClearFlags::Target, 0xFF000000, 1, 0);
  ASSERT_EQ(mesh->DrawSubset(1), kOk);
  EXPECT_EQ(GreenBands(), (std::vector<bool>{false, true, false}));
  device_->Clear(0, nullptr, ClearFlags::Target, 0xFF000000, 1, 0);
  EXPECT_EQ(mesh->DrawSubset(7), kOk) << "no face has it: nothing to draw";
  EXPECT_EQ(GreenBands(), (std::vector<bool>{false, false, false}));

  // Regrouped when the attributes change.
  uint32_t* words = nullptr;
  ASSERT_EQ(mesh->LockAttributeBuffer(0, &words), kOk);
  EXPECT_EQ(mesh->LockAttributeBuffer(0, &words), kInvalidCall) << "locked already";
  words[0] = 1;
  mesh->UnlockAttributeBuffer();
  device_->Clear(0, nullptr, ClearFlags::Target, 0xFF000000, 1, 0);
  ASSERT_EQ(mesh->DrawSubset(1), kOk);
  EXPECT_EQ(GreenBands(), (std::vector<bool>{true, true, false}));
}

TEST_F(FvfMeshTest, CreationRefusesWhatItCannotHold) {
  struct Case {
    const char* what;
    uint32_t faces, vertices, options, fvf;
  };
  const Case cases[] = {
      {"no faces", 0, 3, 0, kColorFvf},
      {"no vertices", 1, 0, 0, kColorFvf},
      {"32-bit indices", 1, 3, MeshOption::Use32Bit, kColorFvf},
      {"more vertices than 16-bit indices reach", 1, 0x10000, 0, kColorFvf},
      {"no position", 1, 3, 0, Fvf::Normal | Fvf::Diffuse},
      {"an FVF that does not decode", 1, 3, 0, 0x80000000 | Fvf::Xyz},
      {"an index buffer past 32 bits", 0x40000000, 3, 0, kColorFvf},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FvfMesh* mesh = reinterpret_cast<FvfMesh*>(uintptr_t{1});
    EXPECT_EQ(D3DXCreateMeshFVF(c.faces, c.vertices, c.options, c.fvf, device_.Get(), &mesh),
              kInvalidCall);
    EXPECT_EQ(mesh, nullptr);
  }
  FvfMesh* mesh = nullptr;
  EXPECT_EQ(D3DXCreateMeshFVF(1, 3, 0, kColorFvf, nullptr, &mesh), kInvalidCall);
  EXPECT_EQ(D3DXCreateMeshFVF(1, 3, 0, kColorFvf, device_.Get(), nullptr), kInvalidCall);
}

}  // namespace
}  // namespace gfx_test
