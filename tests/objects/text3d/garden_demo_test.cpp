// The demo project's garden: butterflies, a clock and drifting leaves over the dawn.
#include <gtest/gtest.h>

#include "objects/text3d/ds_3d_in_2d_array.h"
#include "objects/text3d/ds_3d_obj_array.h"
#include "objects/text3d/ds_butterfly_constructor.h"
#include "objects/text3d/ds_clock_constructor.h"
#include "platform/sys/file_paths.h"
#include "player/support/scene_fixture.h"
#include "tools/project_writer/demo_project.h"

namespace scene_test {
namespace {

using GardenDemo = SceneTest;

NamedFile DemoFile(const char* name) {
  auto bytes = sys::ReadWholeFile(std::filesystem::path(SCENE_SOURCE_DIR) / "assets/demo" / name);
  EXPECT_TRUE(bytes.has_value()) << name;
  return {FromUtf8(name), bytes ? std::move(*bytes) : std::vector<uint8_t>()};
}

TEST_F(GardenDemo, TheDawnHasAGardenOfModels) {
  DS_SlideShow_Light& scene = Play(WriteDemoProject({DemoFile("dawn.png")}, nullptr,
                                                    {DemoFile("leaf.png")}, {DemoFile("leaf.x")}));
  // The garden is the slide whose objects are 3D models.
  size_t index = scene.slides.size();
  for (size_t i = 0; i < scene.slides.size() && index == scene.slides.size(); ++i)
    for (const auto& object : scene.slides[i]->objects)
      if (dynamic_cast<DS_3DObjArray*>(object.Get()) != nullptr) index = i;
  ASSERT_LT(index, scene.slides.size()) << "a slide of 3D models";
  const RuntimeObjectList& objects = scene.slides[index]->objects;
  ASSERT_EQ(objects.size(), 3u);
  auto* leaves = dynamic_cast<DS_3D_in_2D_array*>(objects[0].Get());
  auto* butterflies = dynamic_cast<DS_3DObjArray*>(objects[1].Get());
  auto* clock = dynamic_cast<DS_3DObjArray*>(objects[2].Get());
  ASSERT_TRUE(leaves != nullptr && butterflies != nullptr && clock != nullptr);
  EXPECT_EQ(leaves->Mesh().node.children.size(), 14u);
  EXPECT_TRUE(leaves->Mesh().vertices.buffer) << "the stored leaf mesh";
  EXPECT_TRUE(leaves->Mesh().picture) << "the stored leaf picture";
  EXPECT_NE(dynamic_cast<DS_ButterflyConstructor*>(&butterflies->Description()), nullptr);
  EXPECT_EQ(butterflies->Instances().size(), 3u);
  EXPECT_NE(dynamic_cast<DS_ClockConstructor*>(&clock->Description()), nullptr);
  for (DS_3DObjArray* model : {butterflies, clock})
    for (const MeshPart& part : model->Parts())
      EXPECT_TRUE(part.vertices.buffer && part.picture) << "the library's stand-ins";

  // The models move over the picture: two frames a second apart differ.
  Frame(scene, 0.5);
  scene.JumpTo(unsigned(index));
  double t = 0.5;
  for (; t < 3.0; t += 0.1)
    Frame(scene, t);
  const std::vector<uint32_t> before = BackBufferPixels();
  for (const double end = t + 1.0; t < end; t += 0.1)
    Frame(scene, t);
  EXPECT_EQ(scene.currentSlide, scene.slides[index]);
  const std::vector<uint32_t> after = BackBufferPixels();
  size_t changed = 0;
  for (size_t i = 0; i < after.size(); ++i)
    changed += (after[i] & 0xFFFFFF) != (before[i] & 0xFFFFFF);
  EXPECT_GT(changed, 20u);
}

}  // namespace
}  // namespace scene_test
