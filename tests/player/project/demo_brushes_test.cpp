// The demo project's brushes, played as the player plays its own project.
#include <gtest/gtest.h>

#include <map>

#include "platform/sys/file_paths.h"
#include "player/support/scene_fixture.h"
#include "renderers/brush/ds_brush_obj.h"
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

TEST_F(DemoBrushesTest, TheSeaWavesAndTheDawnIsDistorted) {
  DS_SlideShow_Light& scene = Play(Demo());
  // The sea's slide is the first with brushes, the distorted dawn's the last.
  std::vector<size_t> brushed;
  for (size_t i = 0; i < scene.slides.size(); ++i)
    if (!Brushes(scene, i).empty()) brushed.push_back(i);
  ASSERT_EQ(brushed.size(), 2u);
  const size_t seaIndex = brushed.front(), dawnIndex = brushed.back();

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

  // Both slides play (every reader of the picture below switching as it announced: the debug
  // check aborts otherwise), and what they show is the brushes' work.
  for (const auto& [index, brushes] : {std::pair{seaIndex, &sea}, std::pair{dawnIndex, &dawn}}) {
    SCOPED_TRACE(index);
    const double start = 100.0 * index;
    Frame(start);
    scene.JumpTo(index);
    double t = start;
    for (; t < start + 4.0; t += 0.1)
      Frame(t);
    EXPECT_EQ(CurrentIndex(), int(index));
    Frame(t);
    const auto brushed = BackBufferPixels();
    for (const auto& [name, brush] : *brushes)
      brush->SetActive(false);
    Frame(t);
    int most = 0;
    const auto plain = BackBufferPixels();
    for (size_t i = 0; i < plain.size(); ++i)
      most = std::max(most, std::abs(int(plain[i] & 0xFF) - int(brushed[i] & 0xFF)));
    EXPECT_GT(most, 20);
  }
}

}  // namespace
}  // namespace scene_test
