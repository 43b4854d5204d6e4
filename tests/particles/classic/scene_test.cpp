#include <gtest/gtest.h>

#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/kinds/fontain_ptcl_sys.h"
#include "particles/classic/kinds/fountain_presets.h"
#include "player/support/scene_fixture.h"
#include "tools/project_writer/demo_project.h"

namespace scene_test {
namespace {

using ClassicSceneTest = SceneTest;

// A fountain of white particles of `size` units that stay where they are born, at the centre
// of a 64 x 32 picture.
std::unique_ptr<ZKW_FontainPtclSys> StillFountain(const DS_ImageFileLink& picture, unsigned size) {
  auto fountain = std::make_unique<ZKW_FontainPtclSys>();
  fountain->appearance.picture.SetValue(DS_NamedFileLinkData({picture}));
  fountain->appearance.effectLink = DS_HLSLEffectFile(u"glimres.dll", 202);
  fountain->appearance.size.SetValue(size);
  fountain->distance.SetValue(1);
  fountain->emitter.point.RawValue() = {32, 16, 0};
  return fountain;
}

TEST_F(ClassicSceneTest, AStoredFountainPlaysPrewarmedOnItsSlide) {
  std::vector<uint8_t> bytes;
  {
    ProjectBuilder project;
    DS_SlideContainer& slide = project.AddSlide(0.0f, 10.0f, 0.0f);
    ProjectBuilder::RendererOf(slide)->backgroundLink =
        project.StorePicture(u"black.png", SolidPng(0xFF000000, 64, 32));
    const DS_ImageFileLink white = project.StoreFramePicture(u"white.png", SolidPng(~0u, 4, 4));
    slide.savedObjects.push_back(StillFountain(white, 12));
    // A screen glow on the same slide reads the picture below through the slide's pass.
    auto beams = std::make_unique<DS_LightBeams>();
    beams->appearance.Assign(StillFountain(white, 4)->appearance);
    beams->appearance.glowMode.SetValue(ParticleAppearance::kScreenGlow);
    beams->emitter.point.RawValue() = {8, 8, 0};
    slide.savedObjects.push_back(std::move(beams));
    bytes = project.Write();
  }
  DS_SlideShow_Light& scene = Play(bytes);
  const RuntimeObjectList& objects = scene.slides[0]->objects;
  ASSERT_EQ(objects.size(), 2u);
  auto* mech = dynamic_cast<ZKW_ParticleSystemMech*>(objects[0].Get());
  ASSERT_NE(mech, nullptr);
  EXPECT_EQ(mech->ctrl->particles.size(), 102u) << "5.1 s at 20 a second before the first frame";
  ASSERT_EQ(mech->ctrl->appearance.frames.size(), 1u);
  EXPECT_FALSE(mech->ctrl->appearance.frames[0].textures.empty()) << "the stored frame";
  EXPECT_EQ(objects[1]->NeedsPictureBelow(), 1);

  EXPECT_EQ(Frame(scene, 1.0) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(Frame(scene, 1.1) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(BackBufferPixels()[30 * width_ + 60] & 0xFFFFFF, 0u) << "far from both";
}

TEST_F(ClassicSceneTest, TheDemoHasASlideOfTheSevenKinds) {
  const std::vector<NamedFile> backgrounds = {{u"night.png", SolidPng(0xFF101020, 575, 269)}};
  std::vector<NamedFile> pictures;
  for (const char16_t* name : {u"soft_spot.png", u"spark_atlas.png", u"smoke_puff.png"})
    pictures.push_back({name, SolidPng(0x80FFFFFF, 8, 8)});
  DS_SlideShow_Light& scene = Play(WriteDemoProject(backgrounds, nullptr, pictures));
  // The particles' slide is the one whose objects are bursts and fountains.
  size_t index = scene.slides.size();
  for (size_t i = 0; i < scene.slides.size() && index == scene.slides.size(); ++i)
    for (const auto& object : scene.slides[i]->objects)
      if (auto* mech = dynamic_cast<ZKW_ParticleSystemMech*>(object.Get());
          mech != nullptr && dynamic_cast<ZKW_BurstPtclSys*>(mech->ctrl) != nullptr)
        index = i;
  ASSERT_LT(index, scene.slides.size()) << "a slide of bursts and fountains";
  const RuntimeObjectList& objects = scene.slides[index]->objects;
  ASSERT_EQ(objects.size(), 7u);
  int readers = 0;
  for (const auto& object : objects) {
    ASSERT_NE(dynamic_cast<ZKW_ParticleSystemMech*>(object.Get()), nullptr);
    readers += object->NeedsPictureBelow();
  }
  EXPECT_EQ(readers, 1) << "the light beams' screen glow";
  Frame(scene, 0.5);
  scene.JumpTo(index);
  for (double t = 0.5; t < 3.0; t += 0.1)
    Frame(scene, t);
  EXPECT_GT(PixelsUnlikeTheFirst(), 50u) << "particles show over the picture";
}

}  // namespace
}  // namespace scene_test
