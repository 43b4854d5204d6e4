#include "tools/project_writer/demo_project.h"

#include <gtest/gtest.h>

#include "core/scene/runtime_object_map.h"
#include "objects/sprites/generators/ds_animated_font.h"
#include "objects/sprites/generators/ds_particles_obj.h"
#include "platform/sys/file_paths.h"
#include "player/support/scene_fixture.h"
#include "renderers/glass_ball/ds_glass_ball_light.h"
#include "renderers/lake/fake_lake_2d.h"
#include "renderers/matrix_code/ds_matrix_code_light.h"
#include "renderers/water_ring/ds_water_ring_light.h"

namespace scene_test {
namespace {

int Channel8(uint32_t pixel, int shift) {
  return int((pixel >> shift) & 0xFF);
}

class DemoProjectTest : public SceneTest {
 protected:
  // The demo as the build writes it, from the backgrounds in assets/demo.
  std::vector<uint8_t> WriteDemo() {
    std::vector<NamedFile> backgrounds;
    for (const char* name : {"dawn.png", "night.png", "sea.png"}) {
      auto bytes =
          sys::ReadWholeFile(std::filesystem::path(SCENE_SOURCE_DIR) / "assets/demo" / name);
      EXPECT_TRUE(bytes.has_value()) << name;
      if (bytes) backgrounds.push_back({FromUtf8(name), std::move(*bytes)});
    }
    return WriteDemoProject(backgrounds);
  }

  template <class Kind>
  Kind* RendererOfKind(DS_SlideShow_Light& scene, unsigned* index) {
    for (unsigned i = 0; i < scene.slides.size(); ++i) {
      if (auto* kind = dynamic_cast<Kind*>(scene.slides[i]->renderer.Get())) {
        *index = i;
        return kind;
      }
    }
    return nullptr;
  }

  // Jumps to slide `index` after a frame at t and plays it for `seconds` in steps of `step`;
  // answers the time of the last frame.
  double ShowSlide(DS_SlideShow_Light& scene, unsigned index, double t, double seconds,
                   double step) {
    Frame(scene, t);
    scene.JumpTo(index);
    const double start = t;
    for (t += step; t < start + seconds; t += step)
      Frame(scene, t);
    EXPECT_EQ(scene.currentSlide, scene.slides[index]);
    return t - step;
  }
};

TEST_F(DemoProjectTest, TheLakeKeepsItsRipplesAndTheDropsSlideShows) {
  DS_SlideShow_Light& scene = Play(WriteDemo());
  unsigned lakeSlide = 0, dropsSlide = 0;
  FakeLake2D* lake = RendererOfKind<FakeLake2D>(scene, &lakeSlide);
  DS_WaterRingLight* drops = RendererOfKind<DS_WaterRingLight>(scene, &dropsSlide);
  ASSERT_NE(lake, nullptr);
  ASSERT_NE(drops, nullptr);
  EXPECT_EQ(drops->mode.Value(), 1);

  // The ripple map was stored under the lake's GUID and comes back as its bump map.
  ASSERT_TRUE(lake->bumpMap);
  EXPECT_EQ(lake->bumpMap->GetFormat(), gfx::Format::V8U8);
  EXPECT_EQ(lake->bumpMap->Width(), 128u);

  // Both slides show their pictures.
  double t = 0.0;
  for (unsigned slide : {lakeSlide, dropsSlide}) {
    SCOPED_TRACE(slide);
    t = ShowSlide(scene, slide, t, 3.0, 0.25) + 0.25;
    const auto shown = BackBufferPixels();
    int lit = 0;
    for (uint32_t pixel : shown)
      lit += (pixel & 0xFFFFFF) != 0;
    EXPECT_GT(lit, int(shown.size()) / 2);
  }
}

TEST_F(DemoProjectTest, TheGlassBallSwingsAndTheGlyphsFallOverTheNight) {
  DS_SlideShow_Light& scene = Play(WriteDemo());
  unsigned ballSlide = 0, glyphSlide = 0;
  DS_GlassBallLight* ball = RendererOfKind<DS_GlassBallLight>(scene, &ballSlide);
  DS_MatrixCodeLight* glyphs = RendererOfKind<DS_MatrixCodeLight>(scene, &glyphSlide);
  ASSERT_NE(ball, nullptr);
  ASSERT_NE(glyphs, nullptr);
  EXPECT_EQ(ball->motion.Value(), 3);
  EXPECT_EQ(glyphs->layer.Value(), 1);
  EXPECT_GT(glyphs->settings.glyphCount, 1) << "the player's own glyph strip";

  // The ball swings: the picture in it moves from frame to frame.
  double t = ShowSlide(scene, ballSlide, 0.0, 3.0, 0.25);
  const auto before = BackBufferPixels();
  Frame(scene, t + 1.0);
  const auto after = BackBufferPixels();
  int moved = 0;
  for (size_t i = 0; i < before.size(); ++i)
    moved += (before[i] & 0xFFFFFF) != (after[i] & 0xFFFFFF);
  EXPECT_GT(moved, 40);
  // Around the ball the gradient: deep blue above, rose below.
  EXPECT_GT(Channel8(after[0], 0), Channel8(after[0], 16));
  EXPECT_GT(Channel8(after[31 * 64], 16), Channel8(after[31 * 64], 0));

  // Green glyphs over the dark blue night.
  ShowSlide(scene, glyphSlide, t + 3.0, 4.0, 0.1);
  int green = 0;
  for (uint32_t pixel : BackBufferPixels())
    green += Channel8(pixel, 8) > Channel8(pixel, 16) + 60 &&
             Channel8(pixel, 8) > Channel8(pixel, 0) + 60;
  EXPECT_GT(green, 20);
}

// The festival's glyph line finds its picture packs among the player's own resources: four
// glyphs, each with its tinted frames, one quad each.
TEST_F(DemoProjectTest, TheFestivalGlyphsComeFromThePlayersOwnPicturePacks) {
  Play(WriteDemo());
  const DS_AnimatedFont* font = nullptr;
  const DS_ParticlesObj* holder = nullptr;
  ASSERT_NE(GetRuntimeObjectMap(), nullptr);
  for (const auto& [guid, object] : *GetRuntimeObjectMap()) {
    auto* particles = dynamic_cast<DS_ParticlesObj*>(object);
    if (particles == nullptr) continue;
    if (auto* found = dynamic_cast<DS_AnimatedFont*>(particles->Generator())) {
      font = found;
      holder = particles;
    }
  }
  ASSERT_NE(font, nullptr);
  ASSERT_EQ(font->glyphTextures.size(), 4u);
  for (const TextureFrameSet& glyph : font->glyphTextures) {
    EXPECT_EQ(glyph.textures.size(), 3u);
    EXPECT_EQ(glyph.delays.size(), 3u);
    EXPECT_GT(glyph.width, 10u);
  }
  EXPECT_EQ(holder->QuadCount(0), 4u);
}

}  // namespace
}  // namespace scene_test
