// The demo project's brushes, played as the player plays its own project.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fx/copy/ds_background_copy.h"
#include "fx/direction/ds_waterfall_fx.h"
#include "fx/layer/ds_pattern_brush.h"
#include "fx/relief/ds_bump_fx.h"
#include "fx/relief/ds_heat_distortion.h"
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
};

TEST_F(DemoBrushesTest, EveryBrushedSlidePlaysItsBrushes) {
  DS_SlideShow_Light& scene = Play(Demo());
  // The brushed slides, found by their brushes.
  const std::vector<std::vector<std::string>> kSlides = {
      {"Rings", "Waves"},
      {"Breath", "Lens", "Rocking", "Swirl", "Tilt"},
      {"Band", "Glow", "Hue", "Night"},
      {"Blur", "Erase", "Haze", "Relief", "Stars"},
      {"Clouds", "Glitter", "Reflection", "Sway", "Water"},
      {"Fire"}};
  std::vector<size_t> found;
  for (const auto& names : kSlides) {
    SCOPED_TRACE(names.front());
    std::optional<size_t> index;
    for (size_t i = 0; i < scene.slides.size(); ++i)
      if (Brushes(scene, i).count(names.front())) index = i;
    ASSERT_TRUE(index);
    const auto brushes = Brushes(scene, *index);
    std::vector<std::string> held;
    for (const auto& [name, brush] : brushes) {
      held.push_back(name);
      EXPECT_TRUE(brush->Brush().effect) << name << ": its effect is the player's own";
      EXPECT_TRUE(brush->Brush().ReadyToDraw()) << name;
    }
    EXPECT_EQ(held, names);
    found.push_back(*index);
  }
  size_t brushed = 0;
  for (size_t i = 0; i < scene.slides.size(); ++i)
    brushed += Brushes(scene, i).empty() ? 0 : 1;
  EXPECT_EQ(brushed, kSlides.size());

  // The masks and pictures they keep.
  const auto sea = Brushes(scene, found[0]), dawn = Brushes(scene, found[1]);
  const auto colour = Brushes(scene, found[2]), layer = Brushes(scene, found[3]);
  const auto sky = Brushes(scene, found[4]), night = Brushes(scene, found[5]);
  EXPECT_TRUE(dawn.at("Swirl")->Brush().maskTexture) << "the radial mask";
  EXPECT_TRUE(sea.at("Rings")->Brush().maskTexture);
  EXPECT_FALSE(dawn.at("Lens")->Brush().maskTexture);
  EXPECT_TRUE(colour.at("Glow")->Brush().maskTexture);
  for (const char* name : {"Blur", "Erase"})
    EXPECT_TRUE(layer.at(name)->Brush().maskTexture) << name;
  EXPECT_FALSE(
      static_cast<DS_PatternBrush&>(layer.at("Stars")->Brush()).patternFrames.textures.empty());
  EXPECT_TRUE(static_cast<DS_HeatDistortion&>(layer.at("Haze")->Brush()).bumpTexture);
  EXPECT_FALSE(static_cast<DS_BumpFX&>(layer.at("Relief")->Brush()).bumpFrames.textures.empty())
      << "picture 89";
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
  const auto& fire = dynamic_cast<const DS_FireFX&>(night.at("Fire")->Brush());
  EXPECT_TRUE(fire.patternTexture && fire.noiseTexture) << "pictures 93 and 8";

  // Every slide plays, in the order of the slides as the clock runs forwards (every reader of
  // the picture below switching as it announced: the debug check aborts otherwise), and what it
  // shows is the brushes' work.
  std::sort(found.begin(), found.end());
  for (const size_t index : found) {
    SCOPED_TRACE(index);
    const auto brushes = Brushes(scene, index);
    const double start = 100.0 * double(index);
    Frame(start);
    scene.JumpTo(index);
    double t = start;
    for (; t < start + 4.0; t += 0.1)
      Frame(t);
    EXPECT_EQ(CurrentIndex(), int(index));
    Frame(t);
    const auto shown = BackBufferPixels();
    for (const auto& [name, brush] : brushes)
      brush->SetActive(false);
    Frame(t);
    int most = 0;
    const auto plain = BackBufferPixels();
    for (size_t i = 0; i < plain.size(); ++i)
      for (int shift : {0, 8, 16})
        most = std::max(
            most, std::abs(int((plain[i] >> shift) & 0xFF) - int((shown[i] >> shift) & 0xFF)));
    EXPECT_GT(most, 20);
  }
}

}  // namespace
}  // namespace scene_test
