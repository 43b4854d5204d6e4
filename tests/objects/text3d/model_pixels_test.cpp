// What the 3D models draw: the library's meshes standing in for the absent library, the clock's
// hands at the time, the butterfly's wings from both sides and the drifting leaves.
#include "model_fixture.h"
#include "objects/text3d/ds_3d_in_2d_array.h"
#include "objects/text3d/ds_butterfly_constructor.h"
#include "objects/text3d/ds_clock_constructor.h"
#include "player/support/document_fixture.h"

namespace model_test {
namespace {

class ModelPixels : public ModelTest {
 protected:
  ModelPixels() : ModelTest(256, 256) {}
  void SetUp() override {
    ModelTest::SetUp();
    StartSlideOn(renderer_, width_, height_, 0xFF000000);
  }

  // Pixels of the rectangle [x0, x1) x [y0, y1) brighter than mid grey.
  int Lit(const std::vector<uint32_t>& pixels, int x0, int y0, int x1, int y1) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        n += sprite_test::Channel(At(pixels, x, y), 8) > 0x80;
    return n;
  }
};

TEST_F(ModelPixels, TheLibraryMeshesLoadWithoutTheLibrary) {
  for (const auto& [id, faces] : {std::pair{68, 240u}, {69, 2u}, {70, 2u}}) {
    MeshGeometry mesh;
    ASSERT_TRUE(mesh.LoadMesh(DS_MeshFile(u"glimres.dll", id)));
    EXPECT_TRUE(mesh.vertices.buffer) << id;
    EXPECT_EQ(mesh.primitiveCount, faces) << id;
  }
  MeshGeometry plate;
  ASSERT_TRUE(plate.LoadMesh(DS_MeshFile(u"glimres.dll", 70)));
  EXPECT_NEAR(plate.boundingRadius, 70.71f, 0.01f) << "a 100 x 100 square";
}

// A clock of 200 pixels in the middle, on a clear dial with white hands: at 3:00 the hour hand
// points right and the minute hand up; at 9:00 the hour hand points left.
TEST_F(ModelPixels, TheHandsShowTheTime) {
  const DS_ImageFileLink clear(u"pictures.dll", 21), white(u"pictures.dll", 22);
  ProvidePicture(clear, 2, 2, 0x00000000);
  ProvidePicture(white, 2, 2, 0xFFFFFFFF);
  for (const auto& [hour, rightLit] : {std::pair{3, true}, {9, false}}) {
    SetTime(hour, 0, 0);
    DS_ClockConstructor clock;
    clock.picture = clear;
    clock.handsPicture = white;
    clock.size.SetValue(200);
    clock.clockRect.extra1.SetValue(128);
    clock.clockRect.extra2.SetValue(128);
    auto model = MakeModel(clock);
    model->Update(0.0f);
    const std::vector<uint32_t> px = DrawOnly(std::move(model));
    EXPECT_GT(Lit(px, 124, 70, 132, 110), 20) << hour << ": the minute hand above the centre";
    EXPECT_EQ(Lit(px, 124, 150, 132, 190), 0) << hour << ": nothing below";
    EXPECT_EQ(Lit(px, 148, 124, 170, 132) > 20, rightLit) << hour << ": right of the centre";
    EXPECT_EQ(Lit(px, 86, 124, 108, 132) > 20, !rightLit) << hour << ": left of the centre";
  }
}

// The wings are two-sided: every wing is drawn once culling each winding.
TEST_F(ModelPixels, ButterflyWingsShowFromBothSides) {
  const DS_ImageFileLink white(u"pictures.dll", 22);
  ProvidePicture(white, 2, 2, 0xFFFFFFFF);
  DS_ButterflyConstructor butterfly;
  butterfly.picture = white;
  butterfly.size.SetValue(300);
  auto model = MakeModel(butterfly);
  for (float t = 0.05f; t < 0.3f; t += 0.05f)
    model->Update(t);
  const std::vector<uint32_t> px = DrawOnly(std::move(model));
  std::vector<uint32_t> wingCulls;
  for (const gfx::FrameLogEntry& entry : Log())
    if (entry.indexed && entry.primitiveCount == 2)
      wingCulls.push_back(entry.state.Get(gfx::RenderState::CullMode));
  ASSERT_EQ(wingCulls.size(), 4u) << "two wings, two passes";
  EXPECT_NE(wingCulls[0], wingCulls[2]) << "the first wing's passes";
  EXPECT_NE(wingCulls[1], wingCulls[3]) << "the second wing's passes";
  EXPECT_GT(Lit(px, 0, 0, width_, height_), 50) << "white wings show";
}

// Drifting leaves of a mesh and a picture stored in their record.
TEST_F(ModelPixels, DriftingCopiesShow) {
  const std::string square =
      "xof 0303txt 0032\nMesh Square {\n 4;\n -1.0;-1.0;0.0;,\n -1.0;1.0;0.0;,\n 1.0;1.0;0.0;,\n"
      " 1.0;-1.0;0.0;;\n 2;\n 3;0,1,2;,\n 3;0,2,3;;\n MeshTextureCoords {\n  4;\n"
      "  0.0;1.0;, 0.0;0.0;, 1.0;0.0;, 1.0;1.0;;\n }\n}\n";
  DS_3D_in_2D_array_Constructor leaves;
  leaves.mesh.path = u"square.x";
  leaves.mesh.bytes.assign(square.begin(), square.end());
  leaves.picture.path = u"white.png";
  leaves.picture.bytes = document_test::Png(4, 4, 0xFFFFFFFF);
  leaves.count.SetValue(20);
  leaves.drift.size.SetValue(30);
  DS_3D_in_2D_array made(std::make_unique<DS_3D_in_2D_array_Constructor>(leaves));
  ASSERT_TRUE(made.Mesh().vertices.buffer);
  ASSERT_TRUE(made.Mesh().picture);
  auto object =
      std::make_unique<DS_3D_in_2D_array>(std::make_unique<DS_3D_in_2D_array_Constructor>(leaves));
  object->Update(0.1f);
  const std::vector<uint32_t> px = DrawOnly(std::move(object));
  size_t draws = 0;
  for (const gfx::FrameLogEntry& entry : Log())
    draws += entry.indexed && entry.primitiveCount == 2;
  EXPECT_EQ(draws, 40u) << "every copy twice";
  EXPECT_GT(Lit(px, 0, 0, width_, height_), 200) << "white leaves show";
}

}  // namespace
}  // namespace model_test
