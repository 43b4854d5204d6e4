#include <gtest/gtest.h>

#include <cmath>

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "particles/classic/kinds/brown_animation.h"
#include "particles/classic/kinds/field_ptcl_sys.h"
#include "particles/classic/kinds/firefly.h"
#include "particles/classic/routines/brownian_routine.h"
#include "platform/math/d3dx_math.h"
#include "systems_fixture.h"

namespace classic_test {
namespace {

class FieldSwarmTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterClassicTestClasses(); }
};

// A field of `places` places in a row, each particle living one second.
ZKW_FieldPtclSys Field(int places, unsigned fillPercent) {
  ZKW_FieldPtclSys field;
  std::vector<D3DXVECTOR3> row;
  for (int i = 0; i < places; ++i)
    row.push_back({float(i), 0, 0});
  field.slots.SetPositions(row);
  field.fill.SetValue(fillPercent);
  field.lifetime.SetValue(100);
  return field;
}

TEST_F(FieldSwarmTest, AFieldKeepsItsShareOfPlacesFilled) {
  ZKW_FieldPtclSys field = Field(100, 50);
  field.Restart();
  ASSERT_EQ(field.particles.size(), 50u) << "filled at once";
  float youngest = 1.0f, oldest = 0.0f;
  for (const auto& p : field.particles) {
    youngest = std::min(youngest, p->age);
    oldest = std::max(oldest, p->age);
  }
  EXPECT_LT(youngest, 0.2f) << "random ages";
  EXPECT_GT(oldest, 0.8f);
  for (int step = 0; step < 30; ++step) {
    field.Advance(0.1f);
    EXPECT_EQ(field.particles.size(), 50u) << "the dead are replaced in the same step";
    EXPECT_EQ(field.slots.FreeSlots().size(), 50u);
  }

  ZKW_FieldPtclSys timed = Field(100, 50);
  timed.timing.RawValue() = 1;
  timed.Restart();
  EXPECT_TRUE(timed.particles.empty()) << "not continuous: empty until its first step";
  timed.Advance(0.1f);
  EXPECT_EQ(timed.particles.size(), 50u);

  for (auto [places, fill] : {std::pair{0, 100u}, std::pair{10, 0u}}) {
    ZKW_FieldPtclSys none = Field(places, fill);
    none.Restart();
    none.Advance(0.1f);
    EXPECT_TRUE(none.particles.empty());
  }
  ZKW_FieldPtclSys over = Field(10, 300);
  over.Restart();
  EXPECT_EQ(over.particles.size(), 10u) << "never more than the places";
}

TEST_F(FieldSwarmTest, FieldFillsStopAtTheListLimit) {
  // More places than a list holds, nearly all taken by particles elsewhere: three more fit.
  ZKW_FieldPtclSys field = Field(int(kMaxParticlesPerList) + 10, 100);
  auto one = NewParticle({});
  field.particles.assign(kMaxParticlesPerList - 3, one);
  field.Advance(0.0f);
  EXPECT_EQ(field.particles.size(), kMaxParticlesPerList);
  EXPECT_EQ(field.slots.FreeSlots().size(), kMaxParticlesPerList + 7);
}

TEST_F(FieldSwarmTest, FieldParticlesDriftInTheSectorAndLeaveTheirPlaceBehind) {
  ZKW_FieldPtclSys field = Field(4, 100);
  field.direction.SetValue(90);
  field.startSpeed.SetValue(20);
  field.Restart();
  for (const auto& p : field.particles) {
    EXPECT_NEAR(p->velocity.x, 0.0f, 1e-4f);
    EXPECT_NEAR(p->velocity.y, -20.0f, 1e-4f) << "90 degrees: up the picture";
  }
  DS_SafePtr<RoutineParticle> kept;
  {
    ZKW_FieldPtclSys going = Field(4, 100);
    going.Restart();
    kept = going.particles.front();
    EXPECT_EQ(kept.Count(), 2);
  }
  EXPECT_EQ(kept.Count(), 1) << "the field let go of its particles before its places";
}

// Runs a routine on a particle for `seconds` in steps of `dt`.
void Walk(InnerParticleRoutine& routine, RoutineParticle& p, float seconds, float dt) {
  for (float t = 0; t < seconds; t += dt)
    routine.Apply(dt, p);
}

TEST_F(FieldSwarmTest, ABrownianParticleTurnsBackIntoItsRegion) {
  ZKW_BrownAnimation swarm;
  swarm.region.rect.SetRect(100, 100, D3DXVECTOR3(50, 50, 0));
  swarm.walkSpeed.SetValue(25);         // 1.0
  swarm.changeRate.SetValue(0);         // 0.1 a second: no change within 5 s
  swarm.accelerationTime.SetValue(10);  // 0.22 s
  IPR_Brownian walk(&swarm.region.rect, &swarm.walkSpeed, &swarm.changeRate,
                    &swarm.accelerationTime);
  EXPECT_GE(walk.timeToChange, 5.0f);
  const float speed = D3DXVec3Length(&walk.velocity);
  EXPECT_GE(speed, 75.0f);
  EXPECT_LE(speed, 100.0f);

  RoutineParticle p({400, 50, 0});
  walk.velocity = {80, 0, 0};
  Walk(walk, p, 0.25f, 0.01f);
  EXPECT_LT(walk.velocity.x, -90.0f) << "turned within the acceleration time";
  Walk(walk, p, 0.75f, 0.01f);
  EXPECT_NEAR(walk.velocity.x, -100.0f, 0.5f) << "home at 100 units a second";
  EXPECT_NEAR(walk.velocity.y, 0.0f, 1e-3f);
  EXPECT_LT(p.position.x, 350.0f);

  // Inside again, a change takes a new walking velocity.
  RoutineParticle q({50, 50, 0});
  walk.timeToChange = 0.0f;
  walk.velocity = {0, 0, 0};
  Walk(walk, q, 0.3f, 0.01f);
  const float walking = D3DXVec3Length(&walk.velocity);
  EXPECT_GE(walking, 75.0f - 1e-3f);
  EXPECT_LE(walking, 100.0f + 1e-3f);
}

TEST_F(FieldSwarmTest, SwarmsKeepTheirCountEvenWhenRestartedEmpty) {
  for (int kind : {0, 1}) {
    ZKW_BrownAnimation swarm;
    swarm.count.SetValue(7);
    swarm.region.rect.SetRect(100, 100, D3DXVECTOR3(50, 50, 0));
    swarm.timing.RawValue() = kind;
    AttachedKind<ZKW_BrownAnimation> a(swarm);
    EXPECT_EQ(a.kind->particles.size(), 7u) << "timeline kind " << kind;
    a.kind->Restart();
    EXPECT_EQ(a.kind->particles.size(), 7u) << "timeline kind " << kind;
  }
  ZKW_Firefly fireflies;
  fireflies.count.SetValue(3);
  fireflies.timing.RawValue() = 2;
  AttachedKind<ZKW_Firefly> a(fireflies);
  EXPECT_EQ(a.kind->particles.size(), 3u);
  EXPECT_EQ(a.mech->batches.size(), 2u);

  ZKW_BrownAnimation crowd;
  crowd.count.SetValue(5);
  crowd.FillCount();
  crowd.count.SetValue(2);
  const auto second = *std::next(crowd.particles.begin());
  crowd.FillCount();
  ASSERT_EQ(crowd.particles.size(), 2u) << "dropped from the end";
  EXPECT_EQ(crowd.particles.back(), second);
  crowd.count.SetValue(std::numeric_limits<unsigned>::max());
  crowd.FillCount();
  EXPECT_EQ(crowd.particles.size(), kMaxParticlesPerList);
}

TEST_F(FieldSwarmTest, TracesFollowTheirExpansion) {
  struct Case {
    unsigned expansion;
    float maxSpeed;
  } cases[] = {{50, 0.0f}, {100, 20.0f}};
  for (const Case& c : cases) {
    ZKW_ParticleTracer tracer;
    tracer.lifetime.SetValue(50);  // 0.5 s
    tracer.circleSize.SetValue(100);
    tracer.expansion.SetValue(c.expansion);
    tracer.counter.rate.SetValue(500);  // 100 a second
    RoutineParticleList fireflies = {NewParticle({10, 10, 0}), NewParticle({90, 10, 0})};
    fireflies.front()->ownSize = 0.5f;
    tracer.Update(10.0f, 0.1f, fireflies);
    ASSERT_EQ(tracer.traces.size(), 20u) << "one counter, asked for each firefly";
    for (const auto& trace : tracer.traces) {
      EXPECT_EQ(trace->ownOpacity, 0.0f);
      EXPECT_LE(D3DXVec3Length(&trace->velocity), c.maxSpeed + 1e-3f) << c.expansion;
      // Born within the circle (reach x size x own size across), then a step of 0.1 s.
      const float moved = c.maxSpeed * 0.1f + 1e-3f;
      const float first = std::hypot(trace->position.x - 10, trace->position.y - 10);
      const float second = std::hypot(trace->position.x - 90, trace->position.y - 10);
      EXPECT_TRUE(first <= 2.5f + moved || second <= 5.0f + moved) << c.expansion;
    }
  }
  ZKW_ParticleTracer none;
  none.counter.rate.SetValue(500);
  none.Update(10.0f, 0.1f, {NewParticle({})});
  EXPECT_TRUE(none.traces.empty()) << "a lifetime of 0 makes no traces";
}

TEST_F(FieldSwarmTest, FirefliesReadThePictureBelowOncePerScreenGlow) {
  for (int traces = 0; traces < 3; ++traces) {
    for (int flies = 0; flies < 3; ++flies) {
      ZKW_Firefly firefly;
      firefly.tracer.look.glowMode.SetValue(traces);
      firefly.appearance.glowMode.SetValue(flies);
      EXPECT_EQ(firefly.NeedsTarget(), (traces == 2) + (flies == 2)) << traces << flies;
    }
  }
}

class FireflyPixelsTest : public ClassicRenderTest {};

TEST_F(FireflyPixelsTest, TracesLieBeneathTheFireflies) {
  ZKW_Firefly firefly;
  WhiteLook(firefly.appearance, DS_ImageFileLink(u"fly.png", 1), 6);
  firefly.appearance.colorSet.colors.RawValue() = {0x00FF00};  // green
  WhiteLook(firefly.tracer.look, DS_ImageFileLink(u"trace.png", 2), 20);
  firefly.tracer.look.colorSet.colors.RawValue() = {0x0000FF};  // red
  firefly.tracer.lifetime.SetValue(100);
  firefly.tracer.expansion.SetValue(50);  // traces stay where they are born
  firefly.count.SetValue(1);
  firefly.region.rect.SetRect(4, 4, D3DXVECTOR3(32, 32, 0));
  firefly.timing.RawValue() = 1;  // no pre-warm: the firefly stays in the region
  StartSlideOn(renderer_, 64, 64, 0xFF000000);
  RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(firefly.CreateRuntimeObject())};
  auto& mech = static_cast<ZKW_ParticleSystemMech&>(*objects.front());
  auto& live = static_cast<ZKW_Firefly&>(*mech.ctrl);
  live.walkSpeed.SetValue(0);  // it stays where it is
  objects.front()->AdvanceTime(1.0f);
  objects.front()->AdvanceTime(1.1f);
  ASSERT_FALSE(live.tracer.traces.empty());
  Frame(renderer_, objects);
  const D3DXVECTOR3 at = live.particles.front()->position;
  const uint32_t middle = PixelAt(int(at.x), int(at.y));
  EXPECT_EQ(GreenOf(middle), 255) << "the firefly on top";
  EXPECT_EQ(RedOf(middle), 0);
  const uint32_t beside = PixelAt(int(at.x) + 7, int(at.y));
  EXPECT_EQ(RedOf(beside), 255) << "its trace around it";
}

}  // namespace
}  // namespace classic_test
