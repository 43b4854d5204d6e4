// The generator base: its clock, emission along its sources and the behaviour it gives new
// particles. No device: the test kind draws nothing.
#include <list>

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "generator_fixture.h"
#include "platform/math/d3dx_math.h"

namespace generator_test {
namespace {

// Emission on, 30 a second, lifetime 2 s, start speed 10.
TestGenerator Emitter(std::vector<D3DXVECTOR3> sources) {
  TestGenerator g;
  g.emissionSwitch.SetValue(1);
  g.emissionRate.SetValue(30);
  g.lifetime.SetValue(2);
  g.startSpeed.SetValue(10);
  for (const D3DXVECTOR3& at : sources)
    g.sources.emplace_back(at);
  return g;
}

TEST(GeneratorBase, TheClockStartsStillFollowsTimeBackAndCapsLongGaps) {
  TestGenerator g;
  g.speed.SetValue(100);  // x 0.02: twice real time
  auto run = StartRuntime(g);
  TestGenerator& clone = run.Clone();
  struct Step {
    float t, step, local;
  };
  const Step steps[] = {{3.0f, 0.0f, 0.0f},  // the first call advances nothing
                        {3.1f, 0.2f, 0.2f},
                        {2.0f, 0.0f, 0.2f},   // back in time: nothing
                        {2.1f, 0.2f, 0.4f},   // from the time it went back to
                        {7.1f, 0.4f, 0.8f}};  // a 5 s gap counts as 0.2 s
  for (const Step& s : steps) {
    SCOPED_TRACE(s.t);
    run.obj->Update(s.t);
    EXPECT_NEAR(clone.speed.step, s.step, 1e-5f);
    EXPECT_NEAR(clone.speed.localTime, s.local, 1e-5f);
  }
}

TEST(GeneratorBase, EmitsOneParticlePerSourceEverySecondStepAtThirtyASecond) {
  TestGenerator g = Emitter({{0, 0, 0}, {5, 5, 0}});
  float t = 0.0f;
  std::vector<size_t> sizes;
  for (int i = 0; i < 4; ++i) {
    g.EmitAlongSources(t += 0.025f);
    sizes.push_back(g.particles.size());
  }
  EXPECT_EQ(sizes, (std::vector<size_t>{0, 2, 2, 4}));
  // Sources that have not moved emit at their positions.
  EXPECT_EQ(g.particles.front().position, D3DXVECTOR3(0, 0, 0));
  EXPECT_EQ(std::next(g.particles.begin())->position, D3DXVECTOR3(5, 5, 0));
}

// Particles due at once lie evenly between where the source was and where it is, both ends
// left out; then the source's previous position follows it.
TEST(GeneratorBase, EmitsEvenlyAlongAMovedSource) {
  TestGenerator g = Emitter({{0, 0, 0}});
  g.sources.front().position = D3DXVECTOR3(30, 60, 0);
  g.EmitAlongSources(0.1f);  // 3 due
  ASSERT_EQ(g.particles.size(), 3u);
  float x = 0.0f;
  for (const GeneratorParticle& p : g.particles) {
    x += 7.5f;
    EXPECT_FLOAT_EQ(p.position.x, x);
    EXPECT_FLOAT_EQ(p.position.y, 2 * x);
  }
  EXPECT_EQ(g.sources.front().previous, D3DXVECTOR3(30, 60, 0));
}

TEST(GeneratorBase, EmitsNothingSwitchedOffAtRateZeroOrWithoutSources) {
  TestGenerator off = Emitter({{0, 0, 0}});
  off.emissionSwitch.SetValue(0);
  off.EmitAlongSources(1.0f);
  EXPECT_TRUE(off.particles.empty());
  EXPECT_EQ(off.emissionRate.lastEmission, 1.0f) << "the count is taken all the same";

  TestGenerator still = Emitter({{0, 0, 0}});
  still.emissionRate.SetValue(0);
  for (float t : {1.0f, 100.0f})
    still.EmitAlongSources(t);
  EXPECT_TRUE(still.particles.empty());

  TestGenerator none = Emitter({});
  none.EmitAlongSources(1.0f);
  EXPECT_TRUE(none.particles.empty());
}

TEST(GeneratorBase, ASingleStepEmitsAtMostTheListLimit) {
  TestGenerator g = Emitter({{0, 0, 0}});
  g.emissionRate.SetValue(4000000000u);
  g.EmitAlongSources(1000.0f);
  EXPECT_EQ(g.particles.size(), kMaxParticlesPerList);
  g.EmitAlongSources(2000.0f);
  EXPECT_EQ(g.particles.size(), kMaxParticlesPerList) << "the list stays at its limit";
}

// A new particle takes its source's opacity, fades by one over its lifetime, flies straight at
// up to the start speed and dies at the lifetime.
TEST(GeneratorBase, NewParticlesFadeFlyAndDieByTheLifetime) {
  crt_srand(2);
  TestGenerator g = Emitter({{50, 50, 0}});
  g.sources.front().channels[GeneratorParticle::kOpacity] = 0.8f;
  g.EmitAlongSources(0.05f);
  ASSERT_EQ(g.particles.size(), 1u);
  auto run = StartRuntime(g);
  TestGenerator& clone = run.Clone();
  ASSERT_EQ(clone.particles.size(), 1u);
  const GeneratorParticle& p = clone.particles.front();
  EXPECT_FLOAT_EQ(p.channels[GeneratorParticle::kOpacity], 0.8f);
  EXPECT_EQ(p.processes.size(), 3u);

  float t = 0.0f;
  run.obj->Update(t);
  for (int i = 0; i < 10; ++i)
    run.obj->Update(t += 0.1f);  // age 1 s
  ASSERT_EQ(clone.particles.size(), 1u);
  EXPECT_NEAR(p.channels[GeneratorParticle::kOpacity], 0.3f, 1e-4f);
  const D3DXVECTOR3 moved = p.position - D3DXVECTOR3(50, 50, 0);
  EXPECT_LE(D3DXVec3Length(&moved), 10.0f + 1e-3f);
  for (int i = 0; i < 11; ++i)
    run.obj->Update(t += 0.1f);
  EXPECT_TRUE(clone.particles.empty()) << "dead by age 2";
  EXPECT_EQ(clone.sources.size(), 1u);
}

}  // namespace
}  // namespace generator_test
