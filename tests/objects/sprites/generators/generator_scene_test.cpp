// Generators in written projects: read back, started with their slide and played, and the
// demo's night-sky slide.
#include <algorithm>
#include <cmath>

#include "objects/sprites/generators/ds_aurora.h"
#include "objects/sprites/generators/ds_bling.h"
#include "objects/sprites/generators/ds_custom_air_brush.h"
#include "objects/sprites/generators/ds_particles_obj.h"
#include "objects/sprites/generators/ds_twinkling_stars.h"
#include "platform/gfx/image/dds_writer.h"
#include "player/support/scene_fixture.h"
#include "tools/project_writer/demo_project.h"

namespace scene_test {
namespace {

using GeneratorScene = SceneTest;

// A 4 x 4 DDS picture of one colour (0xAARRGGBB).
std::vector<uint8_t> SolidDds(uint32_t colour) {
  gfx::image::DdsImage picture{gfx::Format::A8R8G8B8, 4, 4, {{}}};
  for (int i = 0; i < 16; ++i)
    for (int shift : {0, 8, 16, 24})
      picture.levels[0].push_back(uint8_t(colour >> shift));
  return gfx::image::WriteDds(picture);
}

// A custom air brush's animated picture is stored with the project, frames and times, and
// cycles when played: the dab at the centre of the black picture turns red, then blue.
TEST_F(GeneratorScene, ACustomAirBrushPlaysTheFramesItsProjectStores) {
  std::vector<uint8_t> bytes;
  {
    ProjectBuilder project;
    DS_SlideContainer& slide = project.AddSlide(0.0f, 10.0f, 0.0f);
    ProjectBuilder::RendererOf(slide)->backgroundLink =
        project.StorePicture(u"black.png", SolidPng(0xFF000000, 64, 32));
    auto brush = std::make_unique<DS_CustomAirBrush>();
    brush->ownPicture = project.StoreAnimatedPicture(
        u"red_blue.dds", {SolidDds(0xFFFF0000), SolidDds(0xFF0000FF)}, {0.5f, 0.5f});
    brush->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1801);
    brush->frameSpeed.SetValue(100);
    brush->size.SetValue(8);
    brush->AddParticle(D3DXVECTOR3(32, 16, 0), 0, 0, 0, 0);
    slide.savedObjects.push_back(std::move(brush));
    bytes = project.Write();
  }
  DS_SlideShow_Light& scene = Play(bytes);
  const RuntimeObjectList& objects = scene.slides[0]->objects;
  ASSERT_EQ(objects.size(), 1u);
  auto* obj = dynamic_cast<DS_ParticlesObj*>(objects[0].Get());
  ASSERT_NE(obj, nullptr);
  auto& brush = dynamic_cast<DS_CustomAirBrush&>(*obj->Generator());
  ASSERT_EQ(brush.ownFrames.textures.size(), 2u);
  EXPECT_EQ(brush.ownFrames.delays, (std::vector<float>{0.5f, 0.5f}));
  // The frame clock starts at the first frame and steps with the slide: the first frame shows
  // until the clock passes 0.5 s.
  EXPECT_EQ(Frame(scene, 0.2) & 0xFFFFFF, 0xFF0000u);
  for (double t = 0.3; t < 0.65; t += 0.1)
    Frame(scene, t);
  EXPECT_EQ(Frame(scene, 0.7) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(Frame(scene, 0.8) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(BackBufferPixels()[2 * width_ + 2] & 0xFFFFFF, 0u) << "far from the dab";
}

TEST_F(GeneratorScene, TheDemoHasANightSkyOfAirBrushes) {
  const std::vector<NamedFile> backgrounds = {{u"night.png", SolidPng(0xFF101020, 575, 269)}};
  DS_SlideShow_Light& scene = Play(WriteDemoProject(backgrounds));
  // The night sky is the slide whose objects are generators.
  size_t index = scene.slides.size();
  for (size_t i = 0; i < scene.slides.size() && index == scene.slides.size(); ++i)
    for (const auto& object : scene.slides[i]->objects)
      if (dynamic_cast<DS_ParticlesObj*>(object.Get()) != nullptr) index = i;
  ASSERT_LT(index, scene.slides.size()) << "a slide of generators";
  const RuntimeObjectList& objects = scene.slides[index]->objects;
  ASSERT_EQ(objects.size(), 4u);
  int readers = 0;
  std::vector<DS_ParticleGenerator*> generators;
  for (const auto& object : objects) {
    auto* obj = dynamic_cast<DS_ParticlesObj*>(object.Get());
    ASSERT_NE(obj, nullptr);
    generators.push_back(obj->Generator());
    readers += object->NeedsPictureBelow();
  }
  EXPECT_EQ(readers, 1) << "the aurora, screened";
  auto* fireflies = dynamic_cast<DS_CustomAirBrush*>(generators[0]);
  auto* bling = dynamic_cast<DS_Bling*>(generators[1]);
  auto* stars = dynamic_cast<DS_TwinklingStars*>(generators[2]);
  auto* aurora = dynamic_cast<DS_Aurora*>(generators[3]);
  ASSERT_TRUE(fireflies && bling && stars && aurora);
  EXPECT_EQ(fireflies->ownFrames.textures.size(), 6u) << "the animated picture";
  EXPECT_EQ(stars->dabs.size(), 70u);
  EXPECT_EQ(stars->blendMode.Value(), 3);
  EXPECT_EQ(bling->textures.size(), 2u);
  for (DS_ParticleGenerator* generator : generators) {
    auto& drawn = dynamic_cast<DS_TexParticleGenerator&>(*generator);
    EXPECT_TRUE(drawn.effect) << "the mask effect";
    EXPECT_TRUE(drawn.CanDrawMask());
  }

  // The curtain shows no edge however the waves stretch it: its picture is clear along its top
  // and bottom rows, and its dabs fade in and out over its ends.
  ASSERT_EQ(aurora->textures.size(), 1u);
  const TextureFrameSet& curtain = aurora->textures[0];
  ASSERT_TRUE(curtain.CurrentTexture());
  gfx::SurfaceDesc desc;
  ASSERT_EQ(curtain.CurrentTexture()->GetLevelDesc(0, &desc), gfx::kOk);
  const std::vector<uint32_t> texels = Pixels(curtain.CurrentTexture().Get());
  ASSERT_GE(curtain.height, 2u);
  for (uint32_t row : {0u, curtain.height - 1}) {
    uint32_t alpha = 0;
    for (uint32_t x = 0; x < curtain.width; ++x)
      alpha = std::max(alpha, texels[size_t(row) * desc.width + x] >> 24);
    EXPECT_LT(alpha, 0x20u) << "row " << row;
  }
  EXPECT_LE(aurora->dabs.front().channels[GeneratorParticle::kOpacity], 0.1f);
  EXPECT_LE(aurora->dabs.back().channels[GeneratorParticle::kOpacity], 0.1f);

  Frame(scene, 0.5);
  scene.JumpTo(unsigned(index));
  for (double t = 0.5; t < 3.0; t += 0.1)
    Frame(scene, t);
  const std::vector<uint32_t> shown = BackBufferPixels();
  size_t lit = 0;
  for (uint32_t pixel : shown)
    lit += ((pixel >> 8) & 0xFF) > 0x40;
  EXPECT_GT(lit, 30u) << "stars, sparkles, fireflies and the aurora over the dark picture";
}

}  // namespace
}  // namespace scene_test
