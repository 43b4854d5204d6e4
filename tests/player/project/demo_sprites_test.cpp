// The demo project's sprite preset families, played as the player plays its own project.
#include <gtest/gtest.h>

#include <set>
#include <typeindex>

#include "objects/sprites/ds_bird_constructor.h"
#include "objects/sprites/ds_discharge_constructor.h"
#include "objects/sprites/ds_explosion_constructor.h"
#include "objects/sprites/ds_fish_constructor.h"
#include "objects/sprites/ds_flower_constructor.h"
#include "objects/sprites/ds_fog_constructor.h"
#include "objects/sprites/ds_fx_obj.h"
#include "objects/sprites/ds_ghost_constructor.h"
#include "objects/sprites/ds_grass_constructor.h"
#include "objects/sprites/ds_lighting_constructor.h"
#include "objects/sprites/ds_rain_constructor.h"
#include "objects/sprites/ds_sprite_array_obj.h"
#include "platform/sys/file_paths.h"
#include "player/support/scene_fixture.h"
#include "tools/project_writer/demo_project.h"

namespace scene_test {
namespace {

class DemoSpritesTest : public SceneTest {
 protected:
  static NamedFile Asset(const std::string& path) {
    auto bytes = sys::ReadWholeFile(std::string(SCENE_SOURCE_DIR) + "/assets/" + path);
    EXPECT_TRUE(bytes) << path;
    return NamedFile{FromUtf8(std::filesystem::path(path).filename().string()),
                     bytes ? *bytes : std::vector<uint8_t>()};
  }

  // The demo as the build writes it.
  std::vector<uint8_t> Demo() {
    std::vector<NamedFile> pictures{Asset("pictures/66.png")};
    for (const char* name : {"bird", "blade", "crackle", "drop", "fish", "flower", "ghost", "tree"})
      pictures.push_back(Asset(std::string("demo/") + name + ".png"));
    return WriteDemoProject(
        {Asset("demo/dawn.png"), Asset("demo/night.png"), Asset("demo/sea.png")}, nullptr,
        pictures);
  }

  // The kinds of the descriptions of slide `index`'s objects.
  static std::set<std::type_index> Kinds(DS_SlideShow_Light& scene, size_t index) {
    std::set<std::type_index> kinds;
    for (const auto& object : scene.slides[index]->objects)
      if (auto* obj = dynamic_cast<DS_ABObj*>(object.Get())) {
        const auto& description = *obj->Description();
        kinds.insert(typeid(description));
      }
    return kinds;
  }
  // The first slide holding an object of each kind of `kinds`; -1 when none.
  static int SlideWith(DS_SlideShow_Light& scene, const std::set<std::type_index>& kinds) {
    for (size_t i = 0; i < scene.slides.size(); ++i) {
      const std::set<std::type_index> held = Kinds(scene, i);
      if (std::includes(held.begin(), held.end(), kinds.begin(), kinds.end())) return int(i);
    }
    return -1;
  }
};

TEST_F(DemoSpritesTest, TheFamiliesShowOverTheSeaAndTheDawn) {
  DS_SlideShow_Light& scene = Play(Demo());
  const int sea = SlideWith(
      scene, {typeid(DS_FishConstructor), typeid(DS_GhostConstructor), typeid(DS_FogConstructor)});
  const int weather = SlideWith(scene, {typeid(DS_BirdConstructor), typeid(DS_RainConstructor),
                                        typeid(DS_LightingConstructor)});
  const int meadow =
      SlideWith(scene, {typeid(DS_GrassConstructor), typeid(DS_FlowerConstructor),
                        typeid(DS_StatObjConstructor), typeid(DS_DischargeConstructor),
                        typeid(DS_ExplosionConstructor)});
  ASSERT_GE(sea, 0);
  ASSERT_GE(weather, 0);
  ASSERT_GE(meadow, 0);

  // Every preset found its picture (the creatures' from the project, the rest the player's
  // own), and the explosion its effect and pictures and a random timeline.
  for (int index : {sea, weather, meadow}) {
    for (const auto& object : scene.slides[size_t(index)]->objects) {
      if (auto* array = dynamic_cast<DS_SpriteArrayObj*>(object.Get())) {
        EXPECT_NE(array->FrameTexture(), nullptr) << ToUtf8(array->Description()->name);
      } else if (auto* fx = dynamic_cast<DS_FXObj*>(object.Get())) {
        auto& explosion = dynamic_cast<DS_ExplosionConstructor&>(fx->FXPreset());
        EXPECT_TRUE(explosion.effect);
        EXPECT_TRUE(explosion.gradientTexture);
        EXPECT_TRUE(explosion.noiseTexture);
        EXPECT_EQ(explosion.timing.Kind(), 1);
      } else {
        ADD_FAILURE() << "an object of another kind on slide " << index;
      }
    }
  }

  // Each slide plays, and what it shows is more than its picture.
  for (int index : {sea, weather, meadow}) {
    SCOPED_TRACE(index);
    const double start = 100.0 * index;
    Frame(start);
    scene.JumpTo(unsigned(index));
    double t = start;
    for (; t < start + 4.0; t += 0.1)
      Frame(t);
    EXPECT_EQ(CurrentIndex(), index);
    const auto shown = BackBufferPixels();
    for (const auto& object : scene.slides[size_t(index)]->objects)
      object->SetActive(false);
    Frame(t);
    const auto plain = BackBufferPixels();
    int changed = 0;
    for (size_t i = 0; i < plain.size(); ++i)
      changed += (plain[i] & 0xFFFFFF) != (shown[i] & 0xFFFFFF);
    EXPECT_GT(changed, int(plain.size()) / 20);
  }
}

}  // namespace
}  // namespace scene_test
