// The explosion: its size and colour by the timeline, its seeded noise shifts, the effect's
// values, its records (the legacy timeline included), and the burst its effect draws.
#include "objects/sprites/ds_explosion_constructor.h"

#include "core/crt_rand.h"
#include "core/timing/random_timeline.h"
#include "objects/sprites/ds_fx_obj.h"
#include "sprite_fixture.h"

namespace sprite_test {
namespace {

class Explosion : public SpriteTest {
 protected:
  Explosion() : SpriteTest(64, 64) {}

  static std::unique_ptr<DS_FXObj> Make(DS_ExplosionConstructor& preset) {
    auto obj = preset.CreateRuntimeObject();
    return std::unique_ptr<DS_FXObj>(dynamic_cast<DS_FXObj*>(obj.release()));
  }
  static DS_ExplosionConstructor& PresetOf(DS_FXObj& obj) {
    return dynamic_cast<DS_ExplosionConstructor&>(obj.FXPreset());
  }
  static void SetTimeline(DS_FXObj& obj, float value, TimingState state) {
    obj.FXPreset().timing.SetTiming(std::make_unique<FixedTimeline>(value, state));
  }
};

TEST_F(Explosion, DefaultsAndPlacement) {
  DS_ExplosionConstructor preset;
  EXPECT_EQ(preset.size.Value(), 250u);
  EXPECT_EQ(preset.motionRate.Value(), 100u);
  EXPECT_FLOAT_EQ(preset.noiseAmount.Scaled(), 0.79f);
  EXPECT_FLOAT_EQ(preset.noiseScale2.Scaled(), 0.42f);
  EXPECT_FLOAT_EQ(preset.driftSpeed.Scaled(), 0.25f);
  EXPECT_EQ(preset.position.Value(), D3DXVECTOR3(32, 32, 0)) << "the scene's centre";

  // Placed only when never placed before; one read from a project keeps its place.
  preset.position.SetValue(D3DXVECTOR3(5, 6, 7));
  auto kept = Make(preset);
  EXPECT_EQ(kept->FXPreset().position.Value(), D3DXVECTOR3(5, 6, 7));
  SetSceneSize(100, 40);
  preset.keepGuid = 0;
  auto moved = Make(preset);
  EXPECT_EQ(moved->FXPreset().position.Value(), D3DXVECTOR3(50, 20, 7));
  EXPECT_EQ(moved->FXPreset().keepGuid, 1);
}

// Hidden, the burst collapses and its noise starts over; fading in at value 0.1 it is half as
// opaque as it will be and 0.325 of its size; from 0.2 on wholly opaque.
TEST_F(Explosion, SizeAndOpacityFollowTheTimeline) {
  DS_ExplosionConstructor preset;
  preset.colour.SetValue(0x0000FF);
  auto obj = Make(preset);
  auto& clone = PresetOf(*obj);
  clone.explosionNumber = 5;
  clone.noiseShift = D3DXVECTOR2(0.3f, 0.4f);
  SetTimeline(*obj, 0.0f, TimingState::Hidden);
  obj->Update(0.1f);
  const SpriteRecord& s = obj->Sprites()[0];
  EXPECT_EQ(s.halfWidth, 0.0f);
  EXPECT_EQ(s.halfHeight, 0.0f);
  EXPECT_EQ(clone.explosionNumber, 1);
  EXPECT_EQ(clone.noiseShift, D3DXVECTOR2(0, 0));
  EXPECT_EQ(clone.driftSpeed.localTime, 0.0f);
  EXPECT_EQ(s.centre, clone.position.Value());

  SetTimeline(*obj, 0.1f, TimingState::FadingIn);
  obj->Update(0.2f);
  EXPECT_FLOAT_EQ(s.alphaFactor, 0.5f);
  EXPECT_EQ(s.colour, 0x7FFF0000u);
  EXPECT_FLOAT_EQ(s.halfWidth, 125.0f * 0.325f);
  SetTimeline(*obj, 0.2f, TimingState::FadingIn);
  obj->Update(0.3f);
  EXPECT_EQ(s.alphaFactor, 1.0f);
  SetTimeline(*obj, 1.0f, TimingState::Shown);
  obj->Update(0.4f);
  EXPECT_EQ(s.halfWidth, 125.0f);
  EXPECT_GT(clone.driftSpeed.localTime, 0.0f) << "the drift runs on the motion time";
}

// With seeded noise the n-th shift is the n-th pair after seeding, whatever else drew from the
// shared sequence in between; two explosions of one seed draw the same shifts.
TEST_F(Explosion, SeededNoiseShiftsRepeat) {
  DS_ExplosionConstructor preset;
  preset.seed.SetValue(7);
  std::vector<D3DXVECTOR2> pairs;
  crt_srand(7);
  for (int i = 0; i < 4; ++i) {
    const float x = crt_rand_unit();
    pairs.emplace_back(x, crt_rand_unit());
  }
  for (int run = 0; run < 2; ++run) {
    DS_ExplosionConstructor explosion;
    explosion.seed.SetValue(7);
    for (int i = 0; i < 4; ++i) {
      crt_srand(1234 + run * 99 + i);
      crt_rand();
      explosion.NextNoiseShift();
      EXPECT_EQ(explosion.noiseShift, pairs[size_t(i)]) << run << " " << i;
    }
    EXPECT_EQ(explosion.explosionNumber, 5);
  }

  // Fresh noise: two draws of the shared sequence.
  DS_ExplosionConstructor fresh;
  fresh.randomNoise.SetValue(1);
  CrtRandSequence next(crt_rand_state());
  fresh.NextNoiseShift();
  EXPECT_EQ(fresh.noiseShift.x, next.NextUnit());
  EXPECT_EQ(fresh.noiseShift.y, next.NextUnit());
  EXPECT_EQ(fresh.explosionNumber, 1);
}

// What the explosion sets in its effect: the colours, the shifts drifted against the drift
// direction, the noise values, the second's fraction and the phases of the fades; a new shift
// at every whole motion second.
TEST_F(Explosion, EffectValues) {
  DS_ExplosionConstructor preset;
  preset.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1803);
  preset.colour.SetValue(0x00FF00);
  preset.secondColour.SetValue(0x0000FF);
  preset.driftDirection.SetValue(90);
  auto obj = Make(preset);
  auto& clone = PresetOf(*obj);
  ASSERT_TRUE(clone.effect) << "the player's own effect 1803";
  SetTimeline(*obj, 0.25f, TimingState::FadingOut);
  DS_2D_Light renderer;
  for (int i = 1; i <= 9; ++i)
    obj->Update(0.1f * float(i));  // motion rate 100: 1.8 motion seconds
  const D3DXVECTOR2 first = clone.noiseShift;
  EXPECT_TRUE(clone.SetEffectParameters(renderer, *obj));
  EXPECT_EQ(clone.previousNoiseShift, first);
  EXPECT_NE(clone.noiseShift, first);
  EXPECT_EQ(clone.shiftSecond, 1.0f);
  const auto values = [&](const char* name, uint32_t n) {
    std::vector<float> out(n);
    EXPECT_EQ(clone.effect->GetFloatArray(name, out.data(), n), gfx::kOk) << name;
    return out;
  };
  EXPECT_EQ(values("color1", 3), (std::vector<float>{0, 1, 0}));
  EXPECT_EQ(values("color2", 3), (std::vector<float>{1, 0, 0}));
  const float drift = clone.driftSpeed.localTime;
  const std::vector<float> shift = values("noise_shift", 4);
  EXPECT_NEAR(shift[0], first.x, 1e-5f);
  EXPECT_NEAR(shift[1], first.y - drift, 1e-5f);
  EXPECT_NEAR(shift[3], clone.noiseShift.y - drift, 1e-5f);
  EXPECT_NEAR(values("time", 2)[0], 0.8f, 1e-4f);
  EXPECT_EQ(values("phase_3rd", 2), (std::vector<float>{0.75f, 0.25f}));
  EXPECT_EQ(values("phase_1st", 1)[0], 0.0f);
  EXPECT_FLOAT_EQ(values("noise_params", 3)[1], 0.15f);
}

// A legacy record (version 1) with 50, 300, 70, 100 and 20 plays on a random timeline of
// fade-in 5, shown 30, fade-out 7 and hidden 12 hundredths; versions 2 and 3 read alike.
TEST_F(Explosion, Records) {
  DS_ExplosionConstructor preset;
  preset.noiseAmount.SetValue(30);
  preset.driftDirection.SetValue(45);
  preset.driftSpeed.SetValue(80);
  preset.seed.SetValue(99);
  preset.secondColour.SetValue(0x123456);
  preset.position.SetValue(D3DXVECTOR3(1, 2, 3));
  preset.width.SetValue(40);
  preset.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1803);
  const std::vector<uint8_t> bytes = SavedBytes(preset);
  ReadResult read = ReadDescription(bytes);
  ASSERT_TRUE(ReadWhole(read));
  auto& back = dynamic_cast<DS_ExplosionConstructor&>(*read.object);
  EXPECT_FLOAT_EQ(back.noiseAmount.Scaled(), 0.7f) << "notified";
  EXPECT_FLOAT_EQ(back.driftSpeed.Scaled(), 0.4f);
  EXPECT_NEAR(back.driftDirection.Direction().y, 0.7071f, 1e-4f) << "recomputed";
  EXPECT_EQ(back.width.Value(), 40u);
  EXPECT_EQ(SavedBytes(back), bytes);

  const std::vector<uint8_t> legacy = Written([&](DS_IOF_Archive& archive) {
    DS_IOF_Virtual& io = archive.io();
    WriteRecordHeader(archive, u"DS_ExplosionConstructor", 1);
    for (uint32_t v : {21u, 15u, 42u, 0u, 50u, 50u, 300u, 70u, 100u, 20u, 5u})
      io.WriteUInt32(v);
    io.WriteInt32(0);
    io.WriteDword(0xFF);
    preset.DS_StatBaseFXCtrl::Save(archive);
  });
  ReadResult old = ReadDescription(legacy);
  ASSERT_TRUE(ReadWhole(old));
  auto& explosion = dynamic_cast<DS_ExplosionConstructor&>(*old.object);
  EXPECT_EQ(explosion.seed.Value(), 5u);
  EXPECT_EQ(explosion.timing.Kind(), 1);
  auto* random = dynamic_cast<ZKW_RandomTimeLine*>(explosion.timing.Current());
  ASSERT_NE(random, nullptr);
  const RandomTimeLineParams& p = random->params;
  EXPECT_EQ(p.fadeIn.Value(), 5u);
  EXPECT_EQ(p.shownMin.Value(), 30u);
  EXPECT_EQ(p.shownMax.Value(), 30u);
  EXPECT_EQ(p.fadeOut.Value(), 7u);
  EXPECT_EQ(p.hiddenMin.Value(), 12u);
  EXPECT_EQ(p.hiddenMax.Value(), 12u);
  EXPECT_FLOAT_EQ(p.fadeIn.Scaled(), 0.05f);
}

// The burst lights the quad's centre in color1 and leaves its corners clear.
TEST_F(Explosion, TheBurstLightsItsCentreAndLeavesItsCornersClear) {
  DS_2D_Light renderer;
  StartSlideOn(renderer, width_, height_, 0xFF000000);
  DS_ExplosionConstructor preset;
  preset.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1803);
  preset.picture = DS_ImageFileLink(u"glimres.dll", 66);
  preset.secondPicture = DS_ImageFileLink(u"glimres.dll", 74);
  preset.size.SetValue(48);
  preset.colour.SetValue(0x2040FF);        // color1: mostly red
  preset.secondColour.SetValue(0xFF0000);  // color2: blue
  auto obj = Make(preset);
  ASSERT_TRUE(PresetOf(*obj).gradientTexture);
  ASSERT_TRUE(PresetOf(*obj).noiseTexture);
  SetTimeline(*obj, 1.0f, TimingState::Shown);
  obj->Update(0.1f);
  ClearLog();
  RuntimeObjectList objects;
  objects.emplace_back(std::unique_ptr<ZKW_RenderObj>(std::move(obj)));
  Frame(renderer, objects);
  const std::vector<uint32_t> px = BackBufferPixels();
  const auto at = [&](int x, int y) { return px[size_t(y) * width_ + x]; };
  const uint32_t centre = at(32, 32);
  EXPECT_GT(Channel(centre, 16), 0xC0);
  EXPECT_NEAR(Channel(centre, 8), 0x40, 0x18);
  EXPECT_LT(Channel(centre, 0), 0x40);
  for (const auto& [x, y] : {std::pair{9, 9}, std::pair{54, 9}, std::pair{9, 54}, {54, 54}})
    EXPECT_EQ(at(x, y) & 0xFFFFFF, 0u) << x << ", " << y;
  EXPECT_GT(Channel(at(32, 20), 16), 0x10) << "lit between the centre and the rim";
}

}  // namespace
}  // namespace sprite_test
