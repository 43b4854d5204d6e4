// The demo project's brushes, played as the player plays its own project.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "fx/copy/ds_background_copy.h"
#include "fx/direction/ds_waterfall_fx.h"
#include "fx/sky/ds_cloud_fx.h"
#include "platform/sys/file_paths.h"
#include "player/support/scene_fixture.h"
#include "renderers/brush/ds_brush_obj.h"
#include "renderers/brush/ds_fire_fx.h"
#include "tools/project_writer/demo_project.h"

namespace scene_test {
namespace {

class DemoBrushesTest : public SceneTest {
 protected:
  static NamedFile Asset(const std::string& path, const char16_t* name) {
    auto bytes = sys::ReadWholeFile(std::string(SCENE_SOURCE_DIR) + "/assets/" + path);
    EXPECT_TRUE(bytes) << path;
    return NamedFile{name, bytes ? *bytes : std::vector<uint8_t>()};
  }

  std::vector<uint8_t> Demo() {
    return WriteDemoProject(
        {Asset("demo/dawn.png", u"dawn.png"), Asset("demo/night.png", u"night.png"),
         Asset("demo/sea.png", u"sea.png")},
        nullptr, {Asset("pictures/66.png", u"66.png")});
  }

  // The brushes of slide `index` by name.
  std::map<std::string, DS_BrushObj*> Brushes(DS_SlideShow_Light& scene, size_t index) {
    std::map<std::string, DS_BrushObj*> found;
    for (const auto& object : scene.slides[index]->objects)
      if (auto* brush = dynamic_cast<DS_BrushObj*>(object.Get()))
        found[ToUtf8(brush->Brush().name)] = brush;
    return found;
  }

  // The index of the slide that has a brush named `name`; the slide count when none has.
  size_t SlideWith(DS_SlideShow_Light& scene, const std::string& name) {
    for (size_t i = 0; i < scene.slides.size(); ++i)
      if (Brushes(scene, i).count(name) != 0) return i;
    return scene.slides.size();
  }

  // Plays slide `index` for 4 seconds and answers the largest difference of a colour channel
  // between the last frame and that frame drawn again without its brushes. Every reader of the
  // picture below switches as it announced, or the debug check aborts.
  int BrushedDifference(DS_SlideShow_Light& scene, size_t index) {
    const double start = 100.0 * double(index);
    Frame(start);
    scene.JumpTo(index);
    double t = start;
    for (; t < start + 4.0; t += 0.1)
      Frame(t);
    EXPECT_EQ(CurrentIndex(), int(index));
    Frame(t);
    const auto brushed = BackBufferPixels();
    for (const auto& [name, brush] : Brushes(scene, index))
      brush->SetActive(false);
    Frame(t);
    int most = 0;
    const auto plain = BackBufferPixels();
    for (size_t i = 0; i < plain.size(); ++i)
      for (int shift : {0, 8, 16})
        most = std::max(
            most, std::abs(int((plain[i] >> shift) & 0xFF) - int((brushed[i] >> shift) & 0xFF)));
    return most;
  }
};

TEST_F(DemoBrushesTest, TheSeaWavesAndTheDawnIsDistorted) {
  DS_SlideShow_Light& scene = Play(Demo());
  const size_t seaIndex = SlideWith(scene, "Waves"), dawnIndex = SlideWith(scene, "Lens");
  ASSERT_LT(seaIndex, scene.slides.size());
  ASSERT_LT(dawnIndex, scene.slides.size());

  const auto sea = Brushes(scene, seaIndex);
  ASSERT_EQ(sea.size(), 2u);
  EXPECT_TRUE(sea.count("Waves") && sea.count("Rings"));
  const auto dawn = Brushes(scene, dawnIndex);
  ASSERT_EQ(dawn.size(), 5u);
  for (const char* name : {"Lens", "Rocking", "Swirl", "Breath", "Tilt"})
    EXPECT_TRUE(dawn.count(name)) << name;
  for (const auto* slide : {&sea, &dawn}) {
    for (const auto& [name, brush] : *slide) {
      SCOPED_TRACE(name);
      EXPECT_TRUE(brush->Brush().effect) << "its effect is the player's own";
    }
  }
  EXPECT_TRUE(dawn.at("Swirl")->Brush().maskTexture) << "the radial mask";
  EXPECT_TRUE(sea.at("Rings")->Brush().maskTexture);
  EXPECT_FALSE(dawn.at("Lens")->Brush().maskTexture);

  // Both slides play, and what they show is the brushes' work.
  for (size_t index : {std::min(seaIndex, dawnIndex), std::max(seaIndex, dawnIndex)})
    EXPECT_GT(BrushedDifference(scene, index), 20) << index;
}

TEST_F(DemoBrushesTest, TheSkyAndTheSeaAreAliveAndTheNightBurns) {
  DS_SlideShow_Light& scene = Play(Demo());
  const size_t skyIndex = SlideWith(scene, "Clouds"), nightIndex = SlideWith(scene, "Fire");
  ASSERT_LT(skyIndex, scene.slides.size());
  ASSERT_LT(nightIndex, scene.slides.size());

  const auto sky = Brushes(scene, skyIndex);
  ASSERT_EQ(sky.size(), 5u);
  for (const char* name : {"Clouds", "Reflection", "Glitter", "Water", "Sway"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(sky.count(name));
    EXPECT_TRUE(sky.at(name)->Brush().effect) << "its effect is the player's own";
  }
  // The water, the sway and the reflection keep to the sea under their masks; the reflection
  // copies the cloud layer.
  for (const char* name : {"Water", "Sway", "Reflection"})
    EXPECT_TRUE(sky.at(name)->Brush().maskTexture) << name;
  const auto& reflection = dynamic_cast<const DS_BackgroundCopy&>(sky.at("Reflection")->Brush());
  EXPECT_EQ(reflection.source.Value(), sky.at("Clouds")->Brush().guid);
  EXPECT_TRUE(reflection.targets.current);
  const auto& clouds = dynamic_cast<const DS_CloudFX&>(sky.at("Clouds")->Brush());
  EXPECT_TRUE(clouds.cloudTextures.CurrentTexture()) << "picture 87";
  const auto& glitter = dynamic_cast<const DS_WaterfallFX&>(sky.at("Glitter")->Brush());
  EXPECT_TRUE(glitter.noiseTexture) << "picture 86";

  const auto night = Brushes(scene, nightIndex);
  ASSERT_EQ(night.size(), 1u);
  const auto& fire = dynamic_cast<const DS_FireFX&>(night.at("Fire")->Brush());
  EXPECT_TRUE(fire.effect);
  EXPECT_TRUE(fire.patternTexture && fire.noiseTexture) << "pictures 93 and 8";

  // Played in the order of the slides, as the clock runs forwards.
  for (size_t index : {std::min(skyIndex, nightIndex), std::max(skyIndex, nightIndex)})
    EXPECT_GT(BrushedDifference(scene, index), 20) << index;
}

}  // namespace
}  // namespace scene_test
