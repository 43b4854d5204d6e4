#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "classic_fixture.h"
#include "core/crt_rand.h"
#include "particles/classic/appearance/particle_appearance.h"
#include "particles/classic/routines/age_routines.h"
#include "particles/classic/routines/color_routine.h"
#include "particles/classic/routines/motion_routines.h"
#include "particles/classic/routines/value_routines.h"
#include "platform/math/d3dx_math.h"

namespace classic_test {
namespace {

class AppearanceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterClassicTestClasses(); }
};

std::vector<uint8_t> Saved(const ParticleAppearance& look) {
  return Bytes([&](DS_IOF_Archive& a) { look.Save(a); });
}

// An appearance read from `bytes` as version `version`; `left` gets the unread byte count.
std::unique_ptr<ParticleAppearance> Read(std::vector<uint8_t> bytes, int32_t version,
                                         uint64_t* left = nullptr) {
  auto look = std::make_unique<ParticleAppearance>();
  ReadArchive source(std::move(bytes));
  look->Read(source.archive(), version);
  if (left != nullptr) *left = source.Remaining();
  return look;
}

void SetOscillation(OscillationParams& o, int mode, unsigned frequency, unsigned amplitude) {
  o.mode.SetValue(mode);
  o.frequency.SetValue(frequency);
  o.amplitude.SetValue(amplitude);
}

// Every stored field away from its default, each to a value of its own.
void SetEveryField(ParticleAppearance& a) {
  DS_NamedFileLinkData picture({DS_ImageFileLink(u"spark.png", 41), DS_ImageFileLink(u"b", 2)});
  picture.valueA = 4;
  picture.valueB = 2;
  picture.currentName = u"spark.png";
  picture.currentId = 41;
  a.picture.SetValue(picture);
  a.effectLink = DS_HLSLEffectFile(u"glimres.dll", 202);
  a.frameSpeed.SetValue(7);
  a.framesBackwards.SetValue(1);
  a.flipVertical.SetValue(2);
  a.flipHorizontal.SetValue(3);
  a.size.SetValue(31);
  a.colorSet.colors.RawValue() = {0x112233, 0x445566, 0x778899};
  a.colorSet.mode1.SetValue(2);
  a.colorSet.mode2.SetValue(5);
  a.colorSet.opacity.SetValue(20);
  a.sizeEnvelope.riseEnd.SetValue(11);
  a.sizeEnvelope.fallStart.SetValue(12);
  a.sizeEnvelope.startFactor.SetValue(13);
  a.sizeEnvelope.endFactor.SetValue(14);
  a.opacityEnvelope.riseEnd.SetValue(15);
  a.opacityEnvelope.fallStart.SetValue(16);
  a.opacityEnvelope.startFactor.SetValue(17);
  a.opacityEnvelope.endFactor.SetValue(18);
  a.sizeSpread.SetValue(19);
  a.opacitySpread.SetValue(21);
  a.spinDirection.SetValue(2);
  a.spinSpeed.SetValue(22);
  a.spinSpread.SetValue(23);
  a.blend.SetValue(1);
  a.orientation.SetValue(1);
  a.startAngle.SetValue(24);
  a.angleSpread.SetValue(25);
  a.glowMode.SetValue(2);
  a.glowSurface.reduction.SetValue(26);
  a.glowColour.SetValue(0x123456);
  a.glowBrightness.SetValue(27);
  a.glowPasses.SetValue(3);
  SetOscillation(a.opacityOscillation, 1, 28, 29);
  SetOscillation(a.sizeOscillation, 2, 30, 32);
  a.flags = 0x1F;
  a.gravityDirection.SetValue(2);
  a.gravity.SetValue(33);
  a.airResistance.SetValue(34);
  SetOscillation(a.alongOscillation, 1, 35, 36);
  SetOscillation(a.acrossOscillation, 2, 37, 38);
}

TEST_F(AppearanceTest, DefaultsAreTheDocumentedOnes) {
  ParticleAppearance a;
  EXPECT_EQ(a.frameSpeed.Value(), 1u);
  EXPECT_FLOAT_EQ(a.frameSpeed.Scaled(), 0.01f);
  EXPECT_EQ(a.colorSet.colors.Value(), (std::vector<uint32_t>{0xFFFFFF, 0}));
  EXPECT_EQ(a.colorSet.mode2.Value(), -1) << "random phase";
  EXPECT_EQ(a.colorSet.opacity.Scaled(), 255);
  EXPECT_EQ(a.sizeEnvelope.fallStart.Scaled(), 1.0f);
  EXPECT_EQ(a.spinSpread.Scaled(), 1.0f);
  EXPECT_EQ(a.glowSurface.reduction.Value(), 50u);
  EXPECT_EQ(a.glowColour.Value(), 0x0000FFFFu);
  EXPECT_FLOAT_EQ(a.glowBrightness.Scaled(), 2.0f);
  EXPECT_EQ(a.glowPasses.Value(), 2);
  EXPECT_FLOAT_EQ(a.opacityOscillation.amplitude.Scaled(), 0.5f);
  EXPECT_EQ(a.alongOscillation.amplitude.Value(), 50u);
  EXPECT_FLOAT_EQ(a.alongOscillation.amplitude.Scaled(), 50.0f);
  EXPECT_EQ(a.size.Value(), 0u);
  EXPECT_EQ(a.flipHorizontal.Value(), 0);
}

TEST_F(AppearanceTest, EveryFieldRoundTrips) {
  ParticleAppearance source;
  SetEveryField(source);
  const std::vector<uint8_t> bytes = Saved(source);
  uint64_t left = 1;
  auto read = Read(bytes, ParticleAppearance::kVersion, &left);
  EXPECT_EQ(left, 0u);
  EXPECT_EQ(Saved(*read), bytes);

  // And field by field, where a reader could mix up neighbours.
  EXPECT_EQ(read->picture.Value().links.size(), 2u);
  EXPECT_EQ(read->picture.Value().valueA, 4u);
  EXPECT_EQ(read->effectLink.id, 202);
  EXPECT_EQ(read->flipVertical.Value(), 2);
  EXPECT_EQ(read->flipHorizontal.Value(), 3);
  EXPECT_EQ(read->colorSet.mode2.Value(), 5);
  EXPECT_EQ(read->sizeEnvelope.endFactor.Value(), 14u);
  EXPECT_EQ(read->opacityEnvelope.startFactor.Value(), 17u);
  EXPECT_EQ(read->opacityEnvelope.endFactor.Value(), 0u)
      << "the start factor is stored twice, the end factor not at all";
  EXPECT_EQ(read->spinSpread.Value(), 23u);
  EXPECT_EQ(read->glowSurface.reduction.Value(), 26u);
  EXPECT_EQ(read->glowColour.Value(), 0x123456u);
  EXPECT_EQ(read->sizeOscillation.mode.Value(), 2);
  EXPECT_EQ(read->acrossOscillation.amplitude.Value(), 38u);
  EXPECT_EQ(read->flags, 0x1Fu);
  EXPECT_EQ(read->airResistance.Value(), 34u);
}

TEST_F(AppearanceTest, CopyAndAssignCarryEveryValue) {
  ParticleAppearance source;
  SetEveryField(source);
  const std::vector<uint8_t> bytes = Saved(source);
  ParticleAppearance copy(source);
  EXPECT_EQ(Saved(copy), bytes);
  ParticleAppearance assigned;
  assigned.Assign(source);
  EXPECT_EQ(Saved(assigned), bytes);
  EXPECT_FLOAT_EQ(copy.spinSpread.Scaled(), 0.77f) << "the copy derives scaled values afresh";
}

// The start of every record: picture, effect link, frame speed, three flags, size.
void WriteCommon(DS_IOF_Archive& a, int32_t version) {
  DS_IOF_Virtual& io = a.io();
  if (version >= 7) {
    WriteNamedFileLinkData(a, DS_NamedFileLinkData({DS_ImageFileLink(u"p.png", 3)}));
  } else {
    io.WriteDword(1);
    io.WriteWideString(u"p.png");
    io.WriteInt64(3);
  }
  io.WriteWideString(u"glimres.dll");
  io.WriteInt64(202);
  io.WriteUInt32(9);
  io.WriteInt32(1);
  io.WriteInt32(0);
  io.WriteInt32(1);
  io.WriteUInt32(12);
  io.WriteDword(0x0000FF);
  io.WriteUInt32(40);
}

TEST_F(AppearanceTest, OlderRecordsKeepTheLaterFieldsAtTheirDefaults) {
  // Version 1: the common fields only.
  uint64_t left = 1;
  auto v1 = Read(Bytes([](DS_IOF_Archive& a) { WriteCommon(a, 1); }), 1, &left);
  EXPECT_EQ(left, 0u);
  EXPECT_EQ(v1->picture.Value().currentName, u"p.png");
  EXPECT_EQ(v1->picture.Value().currentId, 3);
  EXPECT_EQ(v1->frameSpeed.Value(), 9u);
  EXPECT_EQ(v1->flipHorizontal.Value(), 1);
  EXPECT_EQ(v1->size.Value(), 12u);
  EXPECT_EQ(v1->colorSet.colors.Value(), (std::vector<uint32_t>{0x0000FF, 0}));
  EXPECT_EQ(v1->colorSet.opacity.Value(), 40u);
  EXPECT_EQ(v1->sizeEnvelope.fallStart.Value(), 100u);
  EXPECT_EQ(v1->orientation.Value(), 0);
  EXPECT_EQ(v1->glowPasses.Value(), 2);

  // Version 3: envelopes, spreads and spin, then the four factors; a spinning picture turns.
  const auto v3bytes = Bytes([](DS_IOF_Archive& a) {
    WriteCommon(a, 3);
    DS_IOF_Virtual& io = a.io();
    for (uint32_t v : {10u, 90u, 20u, 80u, 5u, 6u})
      io.WriteUInt32(v);
    io.WriteInt32(1);    // spin direction
    io.WriteUInt32(4);   // spin speed
    io.WriteUInt32(30);  // spin spread
    io.WriteInt32(1);    // blend
    for (uint32_t v : {1u, 2u, 3u, 4u})
      io.WriteUInt32(v);
  });
  auto v3 = Read(v3bytes, 3, &left);
  EXPECT_EQ(left, 0u);
  EXPECT_EQ(v3->opacityEnvelope.fallStart.Value(), 80u);
  EXPECT_EQ(v3->spinSpeed.Value(), 4u);
  EXPECT_EQ(v3->spinSpread.Value(), 30u);
  EXPECT_EQ(v3->blend.Value(), 1);
  EXPECT_EQ(v3->opacityEnvelope.startFactor.Value(), 4u) << "the fourth factor wins";
  EXPECT_EQ(v3->opacityEnvelope.endFactor.Value(), 0u);
  EXPECT_EQ(v3->orientation.Value(), ParticleAppearance::kSpinning);
  EXPECT_EQ(v3->glowMode.Value(), 0);

  // Version 4 stores the orientation and angles itself.
  const auto v4bytes = Bytes([](DS_IOF_Archive& a) {
    WriteCommon(a, 4);
    DS_IOF_Virtual& io = a.io();
    for (int i = 0; i < 6; ++i)
      io.WriteUInt32(0);
    io.WriteInt32(0);
    io.WriteUInt32(4);
    io.WriteUInt32(0);
    io.WriteInt32(0);
    for (int i = 0; i < 4; ++i)
      io.WriteUInt32(0);
    io.WriteInt32(1);
    io.WriteUInt32(45);
    io.WriteUInt32(15);
  });
  auto v4 = Read(v4bytes, 4, &left);
  EXPECT_EQ(left, 0u);
  EXPECT_EQ(v4->orientation.Value(), ParticleAppearance::kAlongVelocity);
  EXPECT_EQ(v4->startAngle.Value(), 45u);
  EXPECT_EQ(v4->angleSpread.Value(), 15u);
}

TEST_F(AppearanceTest, InitParticleDrawsInItsOrder) {
  ParticleAppearance look;
  look.picture.RawValue().valueA = 4;  // columns
  look.picture.RawValue().valueB = 2;  // rows
  look.spinDirection.SetValue(2);
  look.spinSpread.SetValue(40);  // spins between 0.6 and 1
  look.startAngle.SetValue(30);
  look.angleSpread.SetValue(10);
  look.opacityOscillation.mode.SetValue(OscillationParams::kHarmonic);
  look.flags = ParticleAppearance::kGravity;
  look.gravityDirection.SetValue(1);
  look.gravity.SetValue(2);  // 10
  look.airResistance.SetValue(50);

  for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
    crt_srand(seed);
    auto p = DS_SafePtr<RoutineParticle>(std::make_unique<RoutineParticle>(D3DXVECTOR3{}));
    look.InitParticle(p, MakeRoutine<IPR_ConstantAge>(2.0f));

    crt_srand(seed);
    const int column = crt_rand() % 4, row = crt_rand() % 2;
    const float phase = crt_rand_unit();
    const float r = crt_rand_unit() * (1.0f - 0.6f) + 0.6f;
    const float ownSize = crt_rand_unit(), ownOpacity = crt_rand_unit();
    const float spin = crt_rand() % 2 == 0 ? r : -r;
    const float angle = 30.0f + crt_rand_unit() * 20.0f - 10.0f;
    const float harmonicPhase = crt_rand_unit() * 6.2831855f;

    EXPECT_EQ(p->atlasCell, (std::array<float, 4>{0.25f, 0.5f, column * 0.25f, row * 0.5f}));
    EXPECT_FLOAT_EQ(p->ownSize, ownSize);
    EXPECT_FLOAT_EQ(p->ownOpacity, ownOpacity);
    EXPECT_FLOAT_EQ(p->spinFactor, spin);
    D3DXMATRIX turn;
    D3DXMatrixRotationZ(&turn, -angle * 3.1415927f / 180.0f);
    EXPECT_EQ(p->matrix, turn);
    EXPECT_EQ(p->acceleration, D3DXVECTOR3(0, 10, 0));
    ASSERT_EQ(p->routines.size(), 3u) << "colour, harmonic, air";
    auto it = p->routines.begin();
    EXPECT_FLOAT_EQ(dynamic_cast<IPR_Color&>(**it++).phase, phase);
    EXPECT_FLOAT_EQ(dynamic_cast<IPR_Harmonic&>(**it++).phase, harmonicPhase);
    EXPECT_FLOAT_EQ(dynamic_cast<IPR_AirResist&>(**it).coefficient, 0.5f);
    EXPECT_EQ(p->LifeLimit(), 2.0f);
    EXPECT_EQ(p->colour, 0xFFFFFFu) << "the first colour, applied at once";
  }
}

TEST_F(AppearanceTest, AnAtlasOfNoColumnsOrRowsIsOneCell) {
  ParticleAppearance look;
  look.picture.RawValue().valueA = 0;
  look.picture.RawValue().valueB = 0;
  auto p = DS_SafePtr<RoutineParticle>(std::make_unique<RoutineParticle>(D3DXVECTOR3{}));
  look.PickAtlasCell(*p);
  EXPECT_EQ(p->atlasCell, (std::array<float, 4>{1, 1, 0, 0}));
}

TEST_F(AppearanceTest, EnvelopesFollowTheLifeFraction) {
  ParticleAppearance look;
  look.opacityEnvelope.riseEnd.SetValue(20);
  look.opacityEnvelope.fallStart.SetValue(80);
  auto p = DS_SafePtr<RoutineParticle>(std::make_unique<RoutineParticle>(D3DXVECTOR3{}));
  p->SetLifeRoutine(MakeRoutine<IPR_ConstantAge>(10.0f));
  struct Case {
    float age, opacity;
  } cases[] = {{1.0f, 0.5f}, {5.0f, 1.0f}, {9.0f, 0.5f}, {10.0f, 0.0f}, {25.0f, 0.0f}};
  for (const Case& c : cases) {
    p->age = c.age;
    EXPECT_NEAR(look.ParticleOpacity(*p), c.opacity, 1e-6f) << c.age;
  }

  // Rise end 0 and fall start 1: nothing changes with age, even far past the life's end, where
  // the fall would divide by 1 - 1.
  for (float age : {0.0f, 5.0f, 10.0f, 100.0f}) {
    p->age = age;
    EXPECT_EQ(look.ParticleSize(*p), 1.0f) << age;
  }
  // A life that never ends: no envelope.
  p->SetLifeRoutine(MakeRoutine<IPR_ConstantAge>(0.0f));
  p->age = 1.0f;
  EXPECT_EQ(look.ParticleOpacity(*p), 1.0f);

  // Spreads lower the value by the particle's own draw; the flags take the own value alone.
  look.opacitySpread.SetValue(50);
  p->ownOpacity = 0.5f;
  p->multipliers[RoutineParticle::kOpacity] = 0.8f;
  EXPECT_FLOAT_EQ(look.ParticleOpacity(*p), 0.75f * 0.8f);
  look.flags = ParticleAppearance::kOwnOpacity;
  EXPECT_EQ(look.ParticleOpacity(*p), 0.5f);
}

}  // namespace
}  // namespace classic_test
