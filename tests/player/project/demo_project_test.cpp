#include "tools/project_writer/demo_project.h"

#include <gtest/gtest.h>

#include "platform/sys/file_paths.h"
#include "player/support/scene_fixture.h"
#include "renderers/lake/fake_lake_2d.h"
#include "renderers/water_ring/ds_water_ring_light.h"

namespace scene_test {
namespace {

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
    Frame(scene, t);
    scene.JumpTo(slide);
    const double start = t;
    for (t += 0.25; t < start + 3.0; t += 0.25)
      Frame(scene, t);
    const auto shown = BackBufferPixels();
    EXPECT_EQ(scene.currentSlide, scene.slides[slide]);
    int lit = 0;
    for (uint32_t pixel : shown)
      lit += (pixel & 0xFFFFFF) != 0;
    EXPECT_GT(lit, int(shown.size()) / 2);
  }
}

}  // namespace
}  // namespace scene_test
