#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

#include "classic_fixture.h"
#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "particles/classic/kinds/burst_ptcl_sys.h"
#include "particles/classic/kinds/fontain_ptcl_sys.h"
#include "particles/classic/kinds/fountain_presets.h"
#include "particles/classic/routines/age_routines.h"
#include "particles/classic/routines/motion_routines.h"

namespace classic_test {
namespace {

class BurstTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterClassicTestClasses(); }
};

// A burst that lives long enough for counting: 100 units at 4 units a second.
void LongLived(ZKW_BurstPtclSys& burst) {
  burst.startSpeed.SetValue(1);
  burst.distance.SetValue(100);
}

TEST_F(BurstTest, BurstsItsCountOncePerVisiblePhase) {
  ZKW_BurstPtclSys burst;
  LongLived(burst);
  burst.count.SetValue(10);
  FixedTimeline& timeline = UseFixedTimeline(burst);
  burst.Advance(0.1f);
  EXPECT_EQ(burst.particles.size(), 10u) << "no fade-in: all at once";
  burst.Advance(0.1f);
  EXPECT_EQ(burst.particles.size(), 10u) << "nothing more while it stays visible";

  // Hidden: a new phase, nothing due at the value 0 a hidden phase has once stepped.
  timeline.Set(TimingState::Hidden, 0.0f);
  burst.Advance(0.1f);
  EXPECT_EQ(burst.emitted, 0);
  EXPECT_EQ(burst.particles.size(), 10u);
  std::vector<size_t> sizes;
  for (float value : {0.25f, 0.5f, 0.59f, 1.0f, 1.0f}) {
    timeline.Set(TimingState::FadingIn, value);
    burst.Advance(0.1f);
    sizes.push_back(burst.particles.size());
  }
  EXPECT_EQ(sizes, (std::vector<size_t>{12, 15, 15, 20, 20}))
      << "in proportion to the visibility, rounded down, never past the count";

  // The value counts as it stands, also while hidden: a timeline just made or reset keeps its
  // value (a new random one 1.0) until it steps, and bursts the whole count at once.
  timeline.Set(TimingState::Hidden, 1.0f);
  burst.Advance(0.1f);
  EXPECT_EQ(burst.emitted, 10);
  EXPECT_EQ(burst.particles.size(), 30u);
  timeline.Set(TimingState::FadingIn, 0.25f);
  burst.Advance(0.1f);
  EXPECT_EQ(burst.particles.size(), 30u) << "nothing more in that phase";

  burst.Restart();
  EXPECT_TRUE(burst.particles.empty());
  EXPECT_EQ(burst.emitted, 0);

  // A count from a file fills the list to its limit and no further.
  ZKW_BurstPtclSys flood;
  LongLived(flood);
  flood.count.SetValue(std::numeric_limits<uint32_t>::max());
  auto one = DS_SafePtr<RoutineParticle>(std::make_unique<RoutineParticle>(D3DXVECTOR3{}));
  flood.particles.assign(kMaxParticlesPerList - 5, one);
  flood.Advance(0.1f);
  EXPECT_EQ(flood.particles.size(), kMaxParticlesPerList);
  EXPECT_EQ(flood.emitted, 5);
}

TEST_F(BurstTest, FountainsFollowTheirRateAndTheVisibility) {
  struct Case {
    unsigned rate;
    float visibility;
    size_t perSecond;
  } cases[] = {{100, 1.0f, 20}, {100, 0.5f, 10}, {0, 1.0f, 0}, {50, 1.0f, 10}};
  for (const Case& c : cases) {
    ZKW_FontainPtclSys fountain;
    LongLived(fountain);
    fountain.counter.rate.SetValue(c.rate);
    UseFixedTimeline(fountain).Set(TimingState::Shown, c.visibility);
    for (int i = 0; i < 20; ++i)
      fountain.Advance(0.05f);
    EXPECT_NEAR(double(fountain.particles.size()), double(c.perSecond), 1.0)
        << c.rate << " at " << c.visibility;
  }
  // While hidden the rate follows the value too: none at 0, all at a value a timeline keeps
  // until it steps.
  for (const auto& [value, born] : {std::pair{0.0f, 0u}, {1.0f, 4u}}) {
    ZKW_FontainPtclSys hidden;
    LongLived(hidden);
    hidden.counter.rate.SetValue(100);
    UseFixedTimeline(hidden).Set(TimingState::Hidden, value);
    hidden.Advance(0.2f);
    EXPECT_EQ(hidden.particles.size(), born) << value;
  }
  ZKW_FontainPtclSys warm;
  LongLived(warm);
  warm.Restart();
  EXPECT_NEAR(double(warm.particles.size()), 102.0, 1.0) << "a fountain pre-warms 5.1 s";
}

TEST_F(BurstTest, SetUpGivesLifetimeMotionAndDirection) {
  ZKW_BurstPtclSys burst;
  burst.startSpeed.SetValue(5);  // 20 units a second
  burst.distance.SetValue(60);
  burst.sector.SetValue(90);
  burst.sector.spread.SetValue(0);
  burst.emitter.point.RawValue() = {50, 50, 0};
  RoutineParticleList born = burst.EmitAtPoint(1);
  ASSERT_EQ(born.size(), 1u);
  RoutineParticle& p = *born.front();
  EXPECT_EQ(p.LifeLimit(), 3.0f);
  EXPECT_EQ(p.ownOpacity, 0.0f);
  EXPECT_NE(dynamic_cast<IPR_Kinematic*>(p.routines.back().Get()), nullptr);
  EXPECT_NEAR(p.velocity.x, 0.0f, 1e-4f);
  EXPECT_NEAR(p.velocity.y, -20.0f, 1e-4f) << "90 degrees point up the picture";
  EXPECT_EQ(burst.particles.size(), 1u);

  // No distance at no speed lives no time instead of a NaN.
  ZKW_BurstPtclSys still;
  still.EmitAtPoint(1);
  EXPECT_EQ(still.particles.front()->LifeLimit(), 0.0f);
}

TEST_F(BurstTest, FocusedParticlesStartScatteredAndFlyToTheFocus) {
  ZKW_BurstPtclSys parallel;
  parallel.startSpeed.SetValue(1);
  parallel.focus.SetValue(1);
  parallel.scatterRadius.SetValue(10);
  parallel.sector.SetValue(0);
  for (const auto& p : parallel.EmitAtPoint(20)) {
    EXPECT_NEAR(p->velocity.x, 4.0f, 1e-5f);
    EXPECT_NEAR(p->velocity.y, 0.0f, 1e-5f) << "spread 0: all along the direction";
    EXPECT_LE(std::hypot(p->position.x, p->position.y), 10.0f + 1e-4f);
  }

  ZKW_BurstPtclSys focused;
  focused.startSpeed.SetValue(1);
  focused.focus.SetValue(1);
  focused.scatterRadius.SetValue(10);
  focused.sector.SetValue(0);
  focused.sector.spread.SetValue(60);  // the focus lies 10 / sin 30 = 20 along +x
  for (const auto& p : focused.EmitAtPoint(20)) {
    const D3DXVECTOR3 towards = D3DXVECTOR3(20, 0, 0) - p->position;
    const float length = std::hypot(towards.x, towards.y);
    EXPECT_NEAR(p->velocity.x, towards.x / length * 4, 1e-3f);
    EXPECT_NEAR(p->velocity.y, towards.y / length * 4, 1e-3f);
  }
}

TEST_F(BurstTest, FireAcceleratesAlongItsDirectionAndSmokeDriftsWithoutGravity) {
  DS_PtclFire fire;
  fire.sector.SetValue(90);
  fire.appearance.gravity.SetValue(4);  // 20
  fire.EmitAtPoint(1);
  EXPECT_NEAR(fire.particles.front()->acceleration.y, -20.0f, 1e-4f);

  DS_PtclSmoke smoke;
  smoke.wind.SetValue(50);  // 50 x 10 - 500 = 0
  smoke.appearance.airResistance.SetValue(30);
  smoke.appearance.flags = ParticleAppearance::kGravity;
  smoke.appearance.gravityDirection.SetValue(1);
  smoke.appearance.gravity.SetValue(10);
  smoke.EmitAtPoint(1);
  RoutineParticle& p = *smoke.particles.front();
  auto* wind = dynamic_cast<IPR_Wind*>(p.routines.front().Get());
  ASSERT_NE(wind, nullptr) << "the wind comes first";
  EXPECT_EQ(wind->wind, D3DXVECTOR3(0, 0, 0));
  EXPECT_FLOAT_EQ(wind->coefficient, 0.3f);
  EXPECT_EQ(p.acceleration, D3DXVECTOR3(0, 0, 0));
  EXPECT_EQ(smoke.appearance.flags & ParticleAppearance::kGravity, 0u);
  for (const auto& routine : p.routines)
    EXPECT_EQ(dynamic_cast<IPR_AirResist*>(routine.Get()), nullptr);
}

TEST_F(BurstTest, AttachTurnsOffsetOscillationsOnAndMakesOneBatch) {
  DS_WaterJet jet;
  std::unique_ptr<ZKW_RenderObj> object = jet.CreateRuntimeObject();
  auto& mech = dynamic_cast<ZKW_ParticleSystemMech&>(*object);
  EXPECT_EQ(mech.batches.size(), 1u);
  EXPECT_EQ(mech.quadCounts, std::vector<uint32_t>{0});
  EXPECT_TRUE(mech.ctrl->appearance.flags & ParticleAppearance::kOffsetOscillation);
  EXPECT_FALSE(jet.appearance.flags & ParticleAppearance::kOffsetOscillation);
}

std::vector<uint8_t> Saved(const DS_IOF_Item& item) {
  return Bytes([&](DS_IOF_Archive& a) { item.Save(a); });
}

void SetBurstFields(ZKW_BurstPtclSys& b) {
  b.emitter.point.RawValue() = {1.5f, -2.5f, 3.0f};
  b.count.SetValue(12);
  b.startSpeed.SetValue(7);
  b.distance.SetValue(90);
  b.spatial.SetValue(1);
  b.sector.SetValue(45);
  b.sector.spread.SetValue(30);
  b.focus.SetValue(1);
  b.scatterRadius.SetValue(6);
  b.appearance.size.SetValue(14);
  b.speed.SetValue(150);
}

TEST_F(BurstTest, EverySevenKindRoundTripsThroughItsClassName) {
  std::vector<std::unique_ptr<ZKW_BurstPtclSys>> kinds;
  kinds.push_back(std::make_unique<ZKW_BurstPtclSys>());
  kinds.push_back(std::make_unique<ZKW_FontainPtclSys>());
  auto fire = std::make_unique<DS_PtclFire>();
  fire->keptInt = -3;
  fire->kept1.SetValue(1);
  fire->kept2.SetValue(2);
  fire->kept3.SetValue(3);
  kinds.push_back(std::move(fire));
  auto stream = std::make_unique<DS_PtclFireStream>();
  stream->kept.SetValue(8);
  kinds.push_back(std::move(stream));
  auto smoke = std::make_unique<DS_PtclSmoke>();
  smoke->kept.SetValue(5);
  smoke->wind.SetValue(61);
  kinds.push_back(std::move(smoke));
  kinds.push_back(std::make_unique<DS_WaterJet>());
  kinds.push_back(std::make_unique<DS_LightBeams>());
  for (auto& kind : kinds) {
    SetBurstFields(*kind);
    if (auto* fountain = dynamic_cast<ZKW_FontainPtclSys*>(kind.get()))
      fountain->counter.rate.SetValue(33);
    const std::vector<uint8_t> bytes = Saved(*kind);
    uint64_t left = 1;
    bool failed = true;
    auto read = ReadObject(bytes, &left, &failed);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(typeid(*read), typeid(*kind));
    EXPECT_EQ(left, 0u);
    EXPECT_FALSE(failed);
    EXPECT_EQ(Saved(*read), bytes) << typeid(*kind).name();
    const auto& burst = dynamic_cast<const ZKW_BurstPtclSys&>(*read);
    EXPECT_EQ(burst.emitter.point.Value(), D3DXVECTOR3(1.5f, -2.5f, 3.0f));
    EXPECT_FLOAT_EQ(burst.startSpeed.Scaled(), 28.0f);
    EXPECT_NEAR(burst.SectorDirection().y, -std::sin(3.1415927f / 4), 1e-6f);
  }
  const auto smokeBytes = Saved(*kinds[4]);
  EXPECT_FLOAT_EQ(dynamic_cast<DS_PtclSmoke&>(*ReadObject(smokeBytes)).wind.Scaled(), 110.0f);
  const auto jetBytes = Saved(*kinds[5]);
  ReadArchive jet(jetBytes);
  zkw_string name;
  uint32_t version = 9;
  jet.archive().io().ReadWideString(name);
  jet.archive().io().ReadDword(version);
  EXPECT_EQ(name, u"DS_WaterJet");
  EXPECT_EQ(version, 0u);
  EXPECT_EQ(ReadBaseHeader(jet.archive()), 2u) << "the fountain's record follows at once";
}

// The motion fields of a burst body, as versions 1 to 4 store them.
void WriteMotion(DS_IOF_Virtual& io, bool withCount) {
  for (float v : {4.0f, 5.0f, 0.0f})
    io.WriteFloat(v);
  if (withCount) io.WriteUInt32(9);
  io.WriteUInt32(3);   // speed
  io.WriteUInt32(40);  // distance
  io.WriteInt32(0);
  io.WriteUInt32(270);
  io.WriteUInt32(20);
}

// Older bursts nest an older control record, which stores neither gravity nor envelopes.
std::vector<uint8_t> LegacyBurst(uint32_t version) {
  const std::vector<uint8_t> nested = LegacyControl(4, {1}, true);
  return Bytes([&](DS_IOF_Archive& a) {
    DS_IOF_Virtual& io = a.io();
    io.WriteWideString(u"ZKW_BurstPtclSys");
    io.WriteDword(version);
    WriteMotion(io, true);
    io.WriteUInt32(6);  // gravity
    io.WriteInt32(1);   // upwards
    if (version >= 2) {
      io.WriteInt32(1);
      io.WriteUInt32(15);
    }
    io.WriteBytes(uint32_t(nested.size()), nested.data());
  });
}

TEST_F(BurstTest, OlderBurstAndFountainRecords) {
  for (uint32_t version : {1u, 3u}) {
    uint64_t left = 1;
    auto read = ReadObject(LegacyBurst(version), &left);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(left, 0u) << version;
    const auto& burst = dynamic_cast<const ZKW_BurstPtclSys&>(*read);
    EXPECT_EQ(burst.count.Value(), 9u);
    EXPECT_EQ(burst.sector.Value(), 270u);
    EXPECT_EQ(burst.appearance.gravity.Value(), 6u);
    EXPECT_EQ(burst.appearance.gravityDirection.Value(), 2);
    EXPECT_TRUE(burst.appearance.flags & ParticleAppearance::kGravity);
    EXPECT_EQ(burst.focus.Value(), version == 1 ? 0 : 1);
    EXPECT_EQ(burst.scatterRadius.Value(), version == 1 ? 0u : 15u);
    EXPECT_EQ(burst.appearance.opacityEnvelope.riseEnd.Value(), version < 3 ? 10u : 0u);
    EXPECT_EQ(burst.appearance.opacityEnvelope.fallStart.Value(), version < 3 ? 60u : 100u);
  }

  const std::vector<uint8_t> nested = LegacyControl(4, {1}, true);
  const auto flat = Bytes([&](DS_IOF_Archive& a) {
    DS_IOF_Virtual& io = a.io();
    io.WriteWideString(u"ZKW_FontainPtclSys");
    io.WriteDword(1);
    io.WriteUInt32(60);
    WriteMotion(io, false);
    io.WriteUInt32(2);
    io.WriteInt32(0);  // downwards
    io.WriteBytes(uint32_t(nested.size()), nested.data());
  });
  uint64_t left = 1;
  auto read = ReadObject(flat, &left);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(left, 0u);
  const auto& fountain = dynamic_cast<const ZKW_FontainPtclSys&>(*read);
  EXPECT_EQ(fountain.counter.rate.Value(), 60u);
  EXPECT_EQ(fountain.emitter.point.Value(), D3DXVECTOR3(4, 5, 0));
  EXPECT_EQ(fountain.count.Value(), 0u);
  EXPECT_EQ(fountain.distance.Value(), 40u);
  EXPECT_EQ(fountain.appearance.gravityDirection.Value(), 1);
  EXPECT_EQ(fountain.focus.Value(), 0);
  EXPECT_EQ(fountain.appearance.opacityEnvelope.fallStart.Value(), 60u);
}

}  // namespace
}  // namespace classic_test
