// The discharge: its bolt, the morph between bolts, the flicker of the picture rows, its
// record and its glow object's life without an effect.
#include "objects/sprites/ds_discharge_fx_constructor.h"

#include <cmath>

#include "core/crt_rand.h"
#include "objects/sprites/ds_glowing_obj.h"
#include "platform/math/d3dx_math.h"
#include "sprite_fixture.h"

namespace sprite_test {
namespace {

class Discharge : public SpriteTest {
 protected:
  Discharge() : SpriteTest(200, 100) {}

  // A discharge from (20, 50) to (180, 50) with `count` segments and the jitter percent.
  static DS_DischargeFXConstructor Bolt(unsigned count, unsigned jitter) {
    DS_DischargeFXConstructor preset;
    preset.startPoint.SetValue(D3DXVECTOR3(20, 50, 0));
    preset.endPoint.SetValue(D3DXVECTOR3(180, 50, 0));
    preset.count.SetValue(count);
    preset.jitter.SetValue(jitter);
    return preset;
  }

  static std::unique_ptr<DS_GlowingObj> Glow(DS_DischargeFXConstructor& preset) {
    auto obj = preset.CreateRuntimeObject();
    return std::unique_ptr<DS_GlowingObj>(dynamic_cast<DS_GlowingObj*>(obj.release()));
  }
  static DS_DischargeFXConstructor& PresetOf(DS_GlowingObj& obj) {
    return dynamic_cast<DS_DischargeFXConstructor&>(obj.GlowPreset());
  }
};

bool Finite(const D3DXVECTOR3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

TEST_F(Discharge, CountOneIsOneStraightSegmentShowingTheWholePicture) {
  DS_DischargeFXConstructor preset = Bolt(1, 50);
  auto obj = Glow(preset);
  obj->Update(0.0f);
  const SpriteRecord& s = obj->Sprites()[0];
  EXPECT_EQ(s.centre, D3DXVECTOR3(100, 50, 0));
  EXPECT_EQ(s.axis1, D3DXVECTOR3(1, 0, 0));
  EXPECT_EQ(s.axis2, D3DXVECTOR3(0, -1, 0));
  EXPECT_EQ(s.halfWidth, 80.0f);
  EXPECT_EQ(s.halfHeight, 25.0f) << "half the size 50";
  EXPECT_EQ(s.leftU, 0.0f);
  EXPECT_EQ(s.rightU, 1.0f);
}

TEST_F(Discharge, CountFourWithoutJitterIsFourEqualSegments) {
  DS_DischargeFXConstructor preset = Bolt(4, 0);
  auto obj = Glow(preset);
  obj->Update(0.0f);
  const std::pair<float, float> edges[] = {
      {0.0f, 0.805f}, {0.195f, 0.805f}, {0.195f, 0.805f}, {0.195f, 1.0f}};
  for (int i = 0; i < 4; ++i) {
    const SpriteRecord& s = obj->Sprites()[i];
    EXPECT_FLOAT_EQ(s.centre.x, 40.0f + 40.0f * float(i)) << i;
    EXPECT_FLOAT_EQ(s.centre.y, 50.0f);
    EXPECT_FLOAT_EQ(s.halfWidth, 20.0f);
    EXPECT_EQ(s.leftU, edges[i].first) << i;
    EXPECT_EQ(s.rightU, edges[i].second) << i;
  }
}

// A discharge whose two points coincide has nothing to normalise: it stays put without NaN.
TEST_F(Discharge, CoincidingPointsGiveNoNaN) {
  DS_DischargeFXConstructor preset = Bolt(3, 50);
  preset.endPoint.SetValue(preset.startPoint.Value());
  auto obj = Glow(preset);
  for (int i = 0; i < 5; ++i)
    obj->Update(0.15f * float(i));
  for (const SpriteRecord& s : obj->Sprites()) {
    EXPECT_TRUE(Finite(s.centre) && Finite(s.axis1) && Finite(s.axis2));
    EXPECT_TRUE(std::isfinite(s.halfWidth));
  }
  for (const DX_V::PCT& v : Vertices(*obj))
    EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y));
}

// The bolts that sprite creation builds are what building them at every spawn gives, and the
// shared sequence moves on by the same draws: a reference walk of the same steps, from the
// same seed.
TEST_F(Discharge, CreationBuildsTheBoltsOfTheLastSpawn) {
  constexpr unsigned kCount = 5;
  DS_DischargeFXConstructor preset = Bolt(kCount, 60);
  const float jitter = preset.jitter.Scaled();
  auto reference = [&](std::vector<BoltSegment>& bolt) {
    const D3DXVECTOR3 s(20, 50, 0), e(180, 50, 0);
    D3DXVECTOR3 c = s;
    for (unsigned i = 0; i < kCount; ++i) {
      const D3DXVECTOR3 d = e - c;
      const float step = D3DXVec3Length(&d) / float(kCount - i);
      D3DXVECTOR3 v = d;
      if (i + 1 != kCount) {
        const float r1 = -jitter + crt_rand_unit() * 2.0f * jitter;
        const float r2 = -jitter + crt_rand_unit() * 2.0f * jitter;
        v = D3DXVECTOR3(d.x + r1 * d.y, d.y + r2 * d.x, 2.0f * d.z);
      }
      D3DXVec3Normalize(&v, &v);
      const D3DXVECTOR3 next = c + v * step;
      bolt[i].midpoint = (c + next) * 0.5f;
      bolt[i].direction = v;
      bolt[i].length = step;
      c = next;
    }
  };
  crt_srand(5);
  std::vector<BoltSegment> previous(kCount), current(kCount);
  for (unsigned sprite = 0; sprite < kCount; ++sprite) {
    crt_rand();
    crt_rand();
    reference(previous);
    reference(current);
  }
  const int nextDraw = crt_rand();

  crt_srand(5);
  auto obj = Glow(preset);
  EXPECT_EQ(crt_rand(), nextDraw);
  DS_DischargeFXConstructor& clone = PresetOf(*obj);
  for (auto [made, expected] :
       {std::pair{&clone.PreviousBolt(), &previous}, std::pair{&clone.NewBolt(), &current}}) {
    ASSERT_EQ(made->size(), kCount);
    for (unsigned i = 0; i < kCount; ++i) {
      EXPECT_EQ((*made)[i].midpoint, (*expected)[i].midpoint) << i;
      EXPECT_EQ((*made)[i].direction, (*expected)[i].direction) << i;
      EXPECT_EQ((*made)[i].length, (*expected)[i].length) << i;
    }
  }
}

// The bolt re-forms (before the clocks advance) once more than 0.1 s of motion time has passed
// since the last re-forming, and the sprites move from the old shape to the new at the morph
// rate: halfway after 0.1 s at the default 5.
TEST_F(Discharge, ReformsAndMorphs) {
  DS_DischargeFXConstructor preset = Bolt(3, 80);
  auto obj = Glow(preset);
  DS_DischargeFXConstructor& clone = PresetOf(*obj);
  obj->Update(0.0f);
  obj->Update(0.15f);
  EXPECT_FALSE(clone.reformed) << "the clock stood at 0 when the frame began";
  obj->Update(0.25f);
  EXPECT_TRUE(clone.reformed);
  EXPECT_FLOAT_EQ(clone.reformTime, 0.15f);
  const BoltSegment& p = clone.PreviousBolt()[1];
  const BoltSegment& q = clone.NewBolt()[1];
  const SpriteRecord& s = obj->Sprites()[1];
  EXPECT_NEAR(s.centre.x, (p.midpoint.x + q.midpoint.x) * 0.5f, 1e-3f);
  EXPECT_NEAR(s.centre.y, (p.midpoint.y + q.midpoint.y) * 0.5f, 1e-3f);
  EXPECT_NEAR(s.halfWidth, (p.length + q.length) * 0.25f, 1e-3f);
  obj->Update(0.3f);
  EXPECT_FALSE(clone.reformed) << "only 0.1 s since the last re-forming";
}

// The default flicker period (value 100: 0 s) picks a picture row in every update that moves
// the local time on; value 0 (0.1 s) at most every 0.1 s. A row is the upper or lower half.
TEST_F(Discharge, FlickerPeriod) {
  for (const auto& [value, expectedChanges] : {std::pair{100u, 10}, std::pair{0u, 5}}) {
    DS_DischargeFXConstructor preset = Bolt(1, 0);
    preset.flickerPeriod.SetValue(value);
    auto obj = Glow(preset);
    int changes = 0;
    float last = 0.0f;
    for (int i = 1; i <= 10; ++i) {
      obj->Update(0.06f * float(i));
      const SpriteRecord& s = obj->Sprites()[0];
      if (s.eventTime == last) continue;
      ++changes;
      last = s.eventTime;
      const float low = std::min(s.topV, s.bottomV), high = std::max(s.topV, s.bottomV);
      EXPECT_TRUE((low == 0.0f && high == 0.5f) || (low == 0.5f && high == 1.0f));
    }
    EXPECT_EQ(changes, expectedChanges) << value;
  }
}

TEST_F(Discharge, RecordRoundTripAndDefaults) {
  DS_DischargeFXConstructor fresh;
  EXPECT_EQ(fresh.size.Value(), 50u);
  EXPECT_EQ(fresh.blendMode.Value(), 1);
  EXPECT_EQ(fresh.colour.Value(), 0xFFFFCCu);
  EXPECT_EQ(fresh.glowColour.Value(), 0xFF9900u);
  EXPECT_EQ(fresh.effectLink.Key(), (LinkKey{u"glimres.dll", 97}));
  EXPECT_FLOAT_EQ(fresh.flickerPeriod.Scaled(), 0.0f);
  EXPECT_FLOAT_EQ(fresh.morphRate.Scaled(), 5.0f);
  EXPECT_FLOAT_EQ(fresh.jitter.Scaled(), 0.5f);

  DS_DischargeFXConstructor preset = Bolt(6, 30);
  preset.pictureChoice.SetValue(0);
  preset.flickerPeriod.SetValue(40);
  preset.morphRate.SetValue(20);
  preset.glowStrength.SetValue(70);
  preset.glowColour.SetValue(0x00FF00);
  const std::vector<uint8_t> bytes = SavedBytes(preset);
  ReadResult read = ReadDescription(bytes);
  ASSERT_TRUE(ReadWhole(read));
  auto& back = dynamic_cast<DS_DischargeFXConstructor&>(*read.object);
  EXPECT_EQ(back.endPoint.Value(), D3DXVECTOR3(180, 50, 0));
  EXPECT_FLOAT_EQ(back.jitter.Scaled(), 0.3f);
  EXPECT_FLOAT_EQ(back.flickerPeriod.Scaled(), 0.06f);
  EXPECT_FLOAT_EQ(back.morphRate.Scaled(), 2.0f);
  EXPECT_FLOAT_EQ(back.glowStrength.Scaled(), 0.7f);
  EXPECT_EQ(back.pictureChoice.Value(), 0);
  EXPECT_EQ(SavedBytes(back), bytes);

  // The run-time copy shows the bolt picture the choice names, whatever was stored.
  auto obj = Glow(back);
  EXPECT_EQ(PresetOf(*obj).picture.Key(), (LinkKey{u"glimres.dll", 98}));
  EXPECT_TRUE(PresetOf(*obj).spriteTexture) << "the player's own picture 98";
  EXPECT_TRUE(PresetOf(*obj).effect) << "the player's own effect 97";
}

// Without an effect the glow object reads no picture below and draws nothing: no target is
// begun and no view pushed.
TEST_F(Discharge, WithoutAnEffectNothingIsDrawn) {
  DS_DischargeFXConstructor preset = Bolt(2, 0);
  preset.effectLink = DS_HLSLEffectFile(u"missing.fx", 3);
  auto obj = Glow(preset);
  EXPECT_FALSE(PresetOf(*obj).effect);
  obj->Update(0.0f);
  EXPECT_EQ(obj->NeedsPictureBelow(), 0);
  DS_2D_Light renderer;
  StartSlideOn(renderer, 200, 100, 0xFF808080);
  ClearLog();
  obj->Draw(renderer);
  EXPECT_TRUE(Log().empty());
  EXPECT_TRUE(renderer.savedViews.empty());
  EXPECT_FALSE(obj->GlowTarget() != nullptr && obj->GlowTarget()->Begun());

  // With its effect it reads the picture below while active, and no longer when inactive.
  DS_DischargeFXConstructor drawn = Bolt(2, 0);
  auto glowing = Glow(drawn);
  glowing->Update(0.0f);
  EXPECT_EQ(glowing->NeedsPictureBelow(), 1);
  glowing->SetActive(false);
  EXPECT_EQ(glowing->NeedsPictureBelow(), 0);
}

}  // namespace
}  // namespace sprite_test
