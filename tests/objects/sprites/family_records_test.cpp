// Every preset kind of the families: its record read back into the same bytes, and any cut of
// it read without harm into an object that plays.
#include <functional>

#include "objects/sprites/ds_bird_constructor.h"
#include "objects/sprites/ds_discharge_constructor.h"
#include "objects/sprites/ds_explosion_constructor.h"
#include "objects/sprites/ds_fish_constructor.h"
#include "objects/sprites/ds_flow_constructor.h"
#include "objects/sprites/ds_flower_constructor.h"
#include "objects/sprites/ds_fog_constructor.h"
#include "objects/sprites/ds_ghost_constructor.h"
#include "objects/sprites/ds_grass_constructor.h"
#include "objects/sprites/ds_lighting_constructor.h"
#include "objects/sprites/ds_rain_constructor.h"
#include "objects/sprites/ds_stat_obj_constructor.h"
#include "sprite_fixture.h"

namespace sprite_test {
namespace {

class FamilyRecords : public SpriteTest {
 protected:
  // One of each kind, each with values of its own away from the defaults.
  static std::vector<std::unique_ptr<DS_ParticleSystemCtrl>> Kinds() {
    std::vector<std::unique_ptr<DS_ParticleSystemCtrl>> kinds;
    auto fish = std::make_unique<DS_FishConstructor>();
    fish->horizontalSpeed = 12.5f;
    kinds.push_back(std::move(fish));
    auto bird = std::make_unique<DS_BirdConstructor>();
    bird->verticalSpeed = 7.0f;
    kinds.push_back(std::move(bird));
    kinds.push_back(std::make_unique<DS_GhostConstructor>());
    auto flow = std::make_unique<DS_FlowConstructor>();
    flow->directionAngle.SetValue(33);
    flow->wobbleAmplitude.SetValue(4);
    flow->wobbleFrequency.SetValue(6);
    flow->speed = 77.0f;
    flow->orientationMode.SetValue(3);
    flow->controls[2].mode.SetValue(1);
    kinds.push_back(std::move(flow));
    kinds.push_back(std::make_unique<DS_RainConstructor>());
    auto fog = std::make_unique<DS_FogConstructor>();
    fog->verticalSpeed = 3.0f;
    kinds.push_back(std::move(fog));
    auto light = std::make_unique<DS_LightingConstructor>();
    light->pauseMax.SetValue(800);
    light->timing.SetValue(1);  // as every lighting description read plays
    kinds.push_back(std::move(light));
    auto grass = std::make_unique<DS_GrassConstructor>();
    grass->swayAmplitude = 9.0f;
    kinds.push_back(std::move(grass));
    auto still = std::make_unique<DS_StatObjConstructor>();
    still->placementRect.extra1.SetValue(20);
    still->rotationAngle.SetValue(15);
    kinds.push_back(std::move(still));
    auto crackle = std::make_unique<DS_DischargeConstructor>();
    crackle->frameStrip = true;
    crackle->frameCount = 4;
    crackle->frameRate = 20.0f;
    kinds.push_back(std::move(crackle));
    auto flower = std::make_unique<DS_FlowerConstructor>();
    flower->swayAmplitude = 2.5f;
    kinds.push_back(std::move(flower));
    auto explosion = std::make_unique<DS_ExplosionConstructor>();
    explosion->seed.SetValue(42);
    explosion->height.SetValue(30);
    kinds.push_back(std::move(explosion));
    for (auto& kind : kinds) {
      kind->count.SetValue(3);
      kind->size.SetValue(12);
    }
    return kinds;
  }
};

TEST_F(FamilyRecords, EveryKindReadsBackTheSameBytes) {
  for (const auto& kind : Kinds()) {
    const std::vector<uint8_t> bytes = SavedBytes(*kind);
    ReadResult read = ReadDescription(bytes);
    ASSERT_TRUE(ReadWhole(read)) << typeid(*kind).name();
    EXPECT_EQ(typeid(*read.object), typeid(*kind));
    EXPECT_EQ(SavedBytes(*read.object), bytes) << typeid(*kind).name();
  }
}

// A record cut anywhere fails the stream and reads as defaults where it ends; what it makes
// still plays.
TEST_F(FamilyRecords, CutRecordsReadAsDefaultsAndPlay) {
  for (const auto& kind : Kinds()) {
    SCOPED_TRACE(typeid(*kind).name());
    const std::vector<uint8_t> bytes = SavedBytes(*kind);
    for (size_t n = 0; n < bytes.size(); n += 5) {
      ReadResult read = ReadDescription({bytes.begin(), bytes.begin() + n});
      EXPECT_TRUE(read.failed || read.object == nullptr) << n;
      if (read.object == nullptr || n % 25 != 0) continue;
      auto obj = read.object->CreateRuntimeObject();
      ASSERT_NE(obj, nullptr);
      for (int i = 1; i <= 3; ++i)
        obj->Update(0.1f * float(i));
    }
  }
}

}  // namespace
}  // namespace sprite_test
