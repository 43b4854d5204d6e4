#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "lines_fixture.h"
#include "particles/classic/paths/particle_path.h"
#include "particles/classic/paths/particle_trace.h"
#include "particles/classic/routines/path_routines.h"
#include "particles/classic/routines/value_routines.h"
#include "platform/math/d3dx_math.h"

namespace classic_test {
namespace {

class PathsTest : public ClassicRenderTest {
 protected:
  // Particles along y = 100 from x = 0 to x = 500 at 100 units a second, 20 a second; the
  // object does not pre-warm.
  void Lay(ZKW_ParticlePath& path) {
    StraightPath(path.path, {{0, 100, 0}, {500, 100, 0}});
    path.pathSpeed.SetValue(100);
    path.lateralOffset.SetValue(30);
    WhiteLook(path.appearance, DS_ImageFileLink(u"spot.png", 1), 4);
    UsePhaseTimeline(path).Set(TimingState::Shown, 1.0f);
    path.timing.RawValue() = 1;
  }

  static IPR_PathTracker& TrackerOf(RoutineParticle& p) {
    return dynamic_cast<IPR_PathTracker&>(*p.lifeRoutine);
  }
  static IPR_Harmonic* WaveOf(RoutineParticle& p) {
    for (const auto& routine : p.routines)
      if (auto* wave = dynamic_cast<IPR_Harmonic*>(routine.Get())) return wave;
    return nullptr;
  }
};

TEST_F(PathsTest, APathPrewarmsForTheCrossingAndSpreadsTheSpeeds) {
  ZKW_ParticlePath description;
  Lay(description);
  description.speedSpread.SetValue(50);
  Running<ZKW_ParticlePath> run(description);
  EXPECT_NEAR(run.control.PathLength(), 500.0f, 0.01);
  EXPECT_NEAR(run.control.PrewarmTime(), 5.0f, 1e-4);
  EXPECT_EQ(run.mech.batches.size(), 1u);
  float slowest = 1e9f, fastest = 0.0f;
  for (int i = 0; i < 200; ++i) {
    DS_SafePtr<RoutineParticle> p(std::make_unique<RoutineParticle>(D3DXVECTOR3(0, 100, 0)));
    run.control.InitParticle(p);
    const IPR_PathTracker& tracker = TrackerOf(*p);
    const float unitsPerSecond = tracker.factor * tracker.speed->Scaled();
    slowest = std::min(slowest, unitsPerSecond);
    fastest = std::max(fastest, unitsPerSecond);
  }
  EXPECT_GE(slowest, 100.0f);
  EXPECT_LT(slowest, 102.0f);
  EXPECT_LE(fastest, 150.0f);
  EXPECT_GT(fastest, 148.0f);
}

TEST_F(PathsTest, AHarmonicWobbleWithoutFrequencyKeepsEachParticlesSidewaysDistance) {
  ZKW_ParticlePath description;
  Lay(description);
  // Full width from the start to the end: no ramp.
  description.startWidth.SetValue(100);
  description.rampOutStart.SetValue(100);
  description.endWidth.SetValue(100);
  Running<ZKW_ParticlePath> run(description);
  run.control.Update(0.0f);
  run.control.Update(0.1f);  // two particles
  ASSERT_EQ(run.control.particles.size(), 2u);
  std::vector<float> expected;
  for (const auto& handle : run.control.particles) {
    RoutineParticle& p = *handle;
    const IPR_Harmonic* wave = WaveOf(p);
    ASSERT_NE(wave, nullptr);
    EXPECT_EQ(wave->frequency, 0.0f);
    expected.push_back(30.0f * p.lateralUnit * std::cos(wave->phase));
  }
  for (float t = 0.2f; t < 3.0f; t += 0.4f) {
    run.control.Update(t);
    auto it = run.control.particles.begin();
    for (float side : expected) {
      // To the right of +x: towards -y.
      EXPECT_NEAR((*it)->position.y, 100.0f - side, 1e-3) << t;
      ++it;
    }
  }
}

TEST_F(PathsTest, TheWobbleRampsInAndOutAlongThePath) {
  ZKW_ParticlePath description;
  Lay(description);
  description.rampInEnd.SetValue(20);
  description.rampOutStart.SetValue(80);
  Running<ZKW_ParticlePath> run(description);
  DS_SafePtr<RoutineParticle> handle(std::make_unique<RoutineParticle>(D3DXVECTOR3(0, 100, 0)));
  run.control.InitParticle(handle);
  RoutineParticle& p = *handle;
  const float wave = std::cos(WaveOf(p)->phase);
  struct Case {
    float age, width;
  } cases[] = {{50, 0.5f}, {100, 1.0f}, {250, 1.0f}, {400, 1.0f}, {450, 0.5f}};
  float travelled = 0.0f;
  for (const Case& c : cases) {
    ASSERT_TRUE(p.Update((c.age - travelled) / 100.0f)) << c.age;
    travelled = c.age;
    EXPECT_NEAR(p.age, c.age, 1e-2);
    EXPECT_NEAR(p.multipliers[RoutineParticle::kPathOffset], wave * c.width, 1e-3) << c.age;
  }
  EXPECT_FALSE(p.Update(1.0f)) << "past the end";
}

TEST_F(PathsTest, WobblesDrawTheirSideSignPhaseAndSpeedFromRandInOrder) {
  ZKW_ParticlePath description;
  Lay(description);
  description.wobbleFrequency.SetValue(1000);  // 0.4 radians a unit
  description.speedSpread.SetValue(100);
  Running<ZKW_ParticlePath> run(description);
  crt_srand(11);
  const int side = crt_rand(), sign = crt_rand(), phase = crt_rand(), speed = crt_rand();
  crt_srand(11);
  DS_SafePtr<RoutineParticle> handle(std::make_unique<RoutineParticle>(D3DXVECTOR3(0, 100, 0)));
  run.control.InitParticle(handle);
  RoutineParticle& p = *handle;
  EXPECT_FLOAT_EQ(p.lateralUnit, float(side) / 32767 - 0.5f);
  const IPR_Harmonic* wave = WaveOf(p);
  ASSERT_NE(wave, nullptr);
  EXPECT_FLOAT_EQ(wave->frequency, sign % 2 != 0 ? -0.4f : 0.4f);
  EXPECT_FLOAT_EQ(wave->phase, float(phase) / 32767 * 6.2831855f);
  EXPECT_FLOAT_EQ(TrackerOf(p).factor, 2.0f - float(speed) / 32767);

  run.control.wobbleMode.SetValue(1);
  DS_SafePtr<RoutineParticle> perlin(std::make_unique<RoutineParticle>(D3DXVECTOR3(0, 100, 0)));
  run.control.InitParticle(perlin);
  EXPECT_EQ(perlin->lateralUnit, 1.0f);
  EXPECT_EQ(WaveOf(*perlin), nullptr);
  ASSERT_FALSE(perlin->routines.empty());
  auto* noise = dynamic_cast<IPR_Perlin*>(perlin->routines.front().Get());
  ASSERT_NE(noise, nullptr);
  EXPECT_EQ(noise->index, RoutineParticle::kPathOffset);
  EXPECT_FLOAT_EQ(noise->noise->amplitude, 0.25f);
}

TEST_F(PathsTest, APathOfOnePointEmitsNothing) {
  ZKW_ParticlePath description;
  Lay(description);
  StraightPath(description.path, {{10, 10, 0}});
  Running<ZKW_ParticlePath> run(description);
  for (float t = 0.0f; t < 1.0f; t += 0.1f)
    run.control.Update(t);
  EXPECT_TRUE(run.control.particles.empty());
}

class TraceTest : public PathsTest {
 protected:
  // A trace of 11 points over y = 50 from x = 0 to x = 100, shown for 2 s.
  PhaseTimeline& Lay(ZKW_ParticleTrace& trace) {
    StraightPath(trace.path, {{0, 50, 0}, {100, 50, 0}});
    trace.points.SetValue(11);
    trace.lifetime.SetValue(1000);
    WhiteLook(trace.appearance, DS_ImageFileLink(u"spot.png", 1), 4);
    PhaseTimeline& timeline = UsePhaseTimeline(trace);
    timeline.Set(TimingState::Shown, 1.0f, 2.0f);
    return timeline;
  }
  static float Farthest(const ZKW_ParticleTrace& trace) {
    float x = -1.0f;
    for (const auto& p : trace.particles)
      x = std::max(x, p->position.x);
    return x;
  }
};

TEST_F(TraceTest, ATraceLaysItsPointsEvenlyOverTheShownPhase) {
  ZKW_ParticleTrace description;
  Lay(description);
  description.drift.SetValue(6);
  Running<ZKW_ParticleTrace> run(description);
  EXPECT_EQ(run.control.PrewarmTime(), 0.0f);
  float t = 0.0f;
  run.control.Update(t);
  ASSERT_EQ(run.control.particles.size(), 1u) << "the first at the start";
  while (t < 1.85f)
    run.control.Update(t += 0.1f);
  EXPECT_LT(Farthest(run.control), 99.0f) << "not at the end before 2 s";
  while (t < 2.15f)
    run.control.Update(t += 0.1f);
  EXPECT_NEAR(Farthest(run.control), 100.0f, 0.01) << "at the end after 2 s";
  for (const auto& p : run.control.particles) {
    const float x = p->position.x;
    EXPECT_NEAR(x / 10.0f, std::round(x / 10.0f), 1e-3) << x;
    EXPECT_NEAR(p->velocity.x, 0.0f, 1e-5) << "drifting at right angles to the path";
    EXPECT_NEAR(D3DXVec3Length(&p->velocity), 6.0f, 1e-4);
  }
}

TEST_F(TraceTest, ATraceThatStopsBeingShownStartsAgainFromThePathStart) {
  ZKW_ParticleTrace description;
  PhaseTimeline& timeline = Lay(description);
  Running<ZKW_ParticleTrace> run(description);
  float t = 0.0f;
  run.control.Update(t);
  for (int i = 0; i < 10; ++i)
    run.control.Update(t += 0.1f);
  const size_t laid = run.control.particles.size();
  EXPECT_GT(run.control.pending, 0.0f);
  timeline.Set(TimingState::FadingOut, 0.5f, 2.0f);
  run.control.Update(t += 0.1f);
  EXPECT_EQ(run.control.particles.size(), laid) << "fading out lays nothing";
  EXPECT_EQ(run.control.pending, 0.0f);
  EXPECT_EQ(run.control.cursor->segment, 0);
  timeline.Set(TimingState::Shown, 1.0f, 2.0f);
  run.control.Update(t += 0.1f);
  ASSERT_EQ(run.control.particles.size(), laid + 1);
  EXPECT_NEAR(run.control.particles.back()->position.x, 0.0f, 1e-4);
}

TEST_F(TraceTest, AStoredPointCountLaysNoMoreThanTheListHolds) {
  ZKW_ParticleTrace description;
  Lay(description);
  description.points.SetValue(0xFFFFFFFFu);
  Running<ZKW_ParticleTrace> run(description);
  run.control.Update(0.0f);
  run.control.Update(0.2f);
  EXPECT_EQ(run.control.particles.size(), size_t(kMaxParticlesPerList));
}

}  // namespace
}  // namespace classic_test
