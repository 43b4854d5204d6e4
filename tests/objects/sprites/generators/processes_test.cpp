// The generator particles' behaviours, the list walk and the emission counters: logic alone,
// no device.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "core/crt_rand.h"
#include "core/param/media_quad.h"
#include "objects/sprites/generators/generator_particle.h"
#include "objects/sprites/generators/particle_processes.h"
#include "objects/sprites/generators/per_second_counter.h"

namespace {

using P = GeneratorParticle;

// The results of `steps` steps of `process` on `particle`.
std::vector<bool> Steps(PProcess& process, GeneratorParticle& particle,
                        const std::vector<float>& steps) {
  std::vector<bool> results;
  for (float dt : steps)
    results.push_back(process.Process(dt, particle));
  return results;
}

TEST(GeneratorProcesses, AgeDiesOnTheStepThatReachesItsLimit) {
  struct Case {
    float limit;
    std::vector<float> steps;
    std::vector<bool> alive;
  };
  const Case cases[] = {
      {2.0f, {0.5f, 0.5f, 0.5f, 0.5f}, {true, true, true, false}},  // age 2.0 is not below 2
      {0.0f, {0.1f}, {false}},
      {1.0f, {0.25f, 5.0f}, {true, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limit);
    PAgeConst age(c.limit);
    P particle;
    EXPECT_EQ(Steps(age, particle, c.steps), c.alive);
  }
}

TEST(GeneratorProcesses, LifeDiesOnTheStepThatBringsItToOne) {
  PLifeConst life(0.5f);
  P particle;
  EXPECT_EQ(Steps(life, particle, {0.5f, 0.5f, 0.5f, 0.5f}),
            (std::vector<bool>{true, true, true, false}));
  EXPECT_FLOAT_EQ(particle.channels[P::kLife], 1.0f);
}

// A fade from age 0 to age 2 by -1 takes the opacity from 1 to exactly 0 at age 2 whatever the
// steps; a step past the end adds all that remains.
TEST(GeneratorProcesses, FadeAddsItsWholeAmountOverItsWindowWhateverTheSteps) {
  const std::vector<std::vector<float>> stepLists = {{0.5f, 0.5f, 0.5f, 0.5f},
                                                     {0.3f, 0.7f, 1.0f},
                                                     {3.0f},
                                                     std::vector<float>(20, 0.1f),
                                                     {0.01f, 1.5f, 0.2f, 0.29f, 0.5f}};
  for (const auto& steps : stepLists) {
    SCOPED_TRACE(steps.size());
    P particle;
    PAgeConst age(100.0f);
    PFade fade(P::kOpacity, 0.0f, 2.0f, -1.0f);
    for (float dt : steps) {
      age.Process(dt, particle);
      fade.Process(dt, particle);
    }
    EXPECT_NEAR(particle.channels[P::kOpacity], 0.0f, 1e-5f);
    // Nothing more after the window.
    age.Process(1.0f, particle);
    fade.Process(1.0f, particle);
    EXPECT_NEAR(particle.channels[P::kOpacity], 0.0f, 1e-5f);
  }
  // Half-way it has done half.
  P particle;
  particle.channels[P::kAge] = 1.0f;
  PFade fade(P::kOpacity, 0.0f, 2.0f, -1.0f);
  fade.Process(0.0f, particle);
  EXPECT_FLOAT_EQ(particle.channels[P::kOpacity], 0.5f);
}

TEST(GeneratorProcesses, FadeOfNoLengthAppliesItsAmountAtOnceAtItsAge) {
  PFade fade(P::kScale, 1.0f, 1.0f, 2.0f);
  P particle;
  particle.channels[P::kAge] = 0.5f;
  EXPECT_TRUE(fade.Process(0.1f, particle));
  EXPECT_FLOAT_EQ(particle.channels[P::kScale], 1.0f) << "before its age";
  particle.channels[P::kAge] = 1.0f;
  EXPECT_TRUE(fade.Process(0.1f, particle));
  EXPECT_FLOAT_EQ(particle.channels[P::kScale], 3.0f);
  EXPECT_TRUE(fade.Process(0.1f, particle));
  EXPECT_FLOAT_EQ(particle.channels[P::kScale], 3.0f) << "only once";
}

TEST(GeneratorProcesses, SteadyActsOnlyStrictlyInsideItsWindow) {
  for (const auto& [life, changes] :
       {std::pair{0.25f, false}, {0.5f, false}, {0.3f, true}, {0.1f, false}, {0.7f, false}}) {
    SCOPED_TRACE(life);
    PSteady steady(P::kScale, 0.25f, 0.5f, 2.0f);
    P particle;
    particle.channels[P::kLife] = life;
    EXPECT_TRUE(steady.Process(0.5f, particle));
    EXPECT_FLOAT_EQ(particle.channels[P::kScale], changes ? 2.0f : 1.0f);
  }
}

TEST(GeneratorProcesses, SpinAndFlightMoveTheirChannels) {
  P particle(D3DXVECTOR3(1, 2, 3));
  PSpin spin(2.0f);
  spin.Process(0.5f, particle);
  EXPECT_FLOAT_EQ(particle.channels[P::kAngle], 1.0f);
  PKinetic flight(D3DXVECTOR3(10, 0, 0), D3DXVECTOR3(0, 4, 0));
  flight.Process(0.5f, particle);
  EXPECT_FLOAT_EQ(particle.position.x, 6.0f);
  EXPECT_FLOAT_EQ(particle.position.y, 2.5f);  // 2 + 4 x 0.25 / 2
  EXPECT_FLOAT_EQ(flight.Velocity().y, 2.0f);
  EXPECT_EQ(particle.previous, D3DXVECTOR3(1, 2, 3));
}

// Every process runs even after one has said the particle dies.
TEST(GeneratorProcesses, AFalseResultStillRunsTheLaterProcesses) {
  P particle;
  particle.AddProcess<PAgeConst>(0.0f);
  particle.AddProcess<PSpin>(1.0f);
  EXPECT_FALSE(particle.RunProcesses(0.5f));
  EXPECT_FLOAT_EQ(particle.channels[P::kAngle], 0.5f);
}

TEST(GeneratorProcesses, TheListLosesTheParticlesThatDieAndKeepsThoseWithoutProcesses) {
  std::list<P> particles;
  ProcessParticleList(0.1f, particles);
  EXPECT_TRUE(particles.empty());

  for (float limit : {0.05f, 1.0f, 0.0f, -1.0f}) {
    particles.emplace_back(D3DXVECTOR3(limit, 0, 0));
    particles.back().AddProcess<PAgeConst>(limit);
  }
  particles.emplace_back(D3DXVECTOR3(9, 0, 0));  // no processes
  ProcessParticleList(0.1f, particles);
  ASSERT_EQ(particles.size(), 2u);
  EXPECT_EQ(particles.front().position.x, 1.0f);
  EXPECT_EQ(particles.back().position.x, 9.0f);

  particles.pop_back();
  ProcessParticleList(5.0f, particles);
  EXPECT_TRUE(particles.empty());
}

TEST(GeneratorProcesses, CopiesCloneTheProcessesWithTheirState) {
  P particle;
  particle.AddProcess<PAgeConst>(1.0f);
  particle.AddProcess<PFade>(P::kOpacity, 0.0f, 1.0f, -1.0f);
  particle.RunProcesses(0.5f);
  P copy = particle;
  ASSERT_EQ(copy.processes.size(), 2u);
  EXPECT_NE(copy.processes.front().get(), particle.processes.front().get());
  EXPECT_FLOAT_EQ(copy.channels[P::kOpacity], 0.5f);
  // The copy's fade goes on from where the original's was.
  EXPECT_FALSE(copy.RunProcesses(0.5f));
  EXPECT_NEAR(copy.channels[P::kOpacity], 0.0f, 1e-6f);
  EXPECT_FLOAT_EQ(particle.channels[P::kOpacity], 0.5f);
}

// Seed 1 gives 41, 18467, 6334, 26500, 19169, 15724, 11478, 29358: three returns to the base
// (41, 6334 and 19169 are not multiples of 3) with waits from the next draw, then a flash (11478
// is) by the next draw for 0.2 s. A step that does not pass the wait draws nothing.
TEST(GeneratorProcesses, TwinkleFollowsTheRandomSequence) {
  crt_srand(1);
  P particle;
  particle.channels[P::kScale] = 5.0f;
  PTwinkle twinkle(P::kScale, 0.0f, 2.0f, 0.0f);
  const float expectedScale[] = {2.0f, 2.0f, 2.0f, 2.0f * (1.0f + 29358.0f / 32767.0f * 0.5f)};
  const float expectedWait[] = {18467.0f / 32767.0f * 2.3f + 0.2f,
                                26500.0f / 32767.0f * 2.3f + 0.2f,
                                15724.0f / 32767.0f * 2.3f + 0.2f, 0.2f};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(twinkle.Process(3.0f, particle));
    EXPECT_FLOAT_EQ(particle.channels[P::kScale], expectedScale[i]);
    EXPECT_FLOAT_EQ(twinkle.Wait(), expectedWait[i]);
  }
  const uint32_t state = crt_rand_state();
  particle.channels[P::kScale] = 7.0f;
  twinkle.Process(0.2f, particle);  // elapsed 0.2 is not past the wait of 0.2
  EXPECT_EQ(crt_rand_state(), state);
  EXPECT_FLOAT_EQ(particle.channels[P::kScale], 7.0f);
}

// The wander's generator block: the region (0, 0)-(100, 100), motion scale 1, mean wait 1 s,
// impulse time 0.5 s.
struct WanderBlock {
  MediaQuad region;
  UINTSclaleTo<float> scale{1, 1.0f, 0.0f};
  UINTSclaleTo<float> wait{100, 0.01f, 0.0f};
  UINTSclaleTo<float> impulse{50, 0.01f, 0.0f};
  BrownianOwner owner{&region, &scale, &wait, &impulse};
  WanderBlock() { region.SetRect(100, 100, D3DXVECTOR3(50, 50, 0)); }
};

// Outside the region a particle is accelerated towards its centre at speed 100 over the
// impulse time, and comes home.
TEST(GeneratorProcesses, BrownianSteersAParticleHomeFromOutside) {
  crt_srand(7);
  WanderBlock block;
  PBrownian wander(&block.owner);
  P particle(D3DXVECTOR3(200, 50, 0));
  EXPECT_TRUE(wander.Process(0.1f, particle));
  EXPECT_FALSE(wander.Inside());
  EXPECT_FLOAT_EQ(wander.Acceleration().x, -200.0f);  // (-100 - 0) / 0.5
  EXPECT_FLOAT_EQ(wander.Acceleration().y, 0.0f);
  EXPECT_FLOAT_EQ(particle.position.x, 199.0f);  // -200 x 0.01 / 2
  EXPECT_FLOAT_EQ(wander.Velocity().x, -20.0f);

  int steps = 1;
  while (!wander.Inside() && steps < 100) {
    wander.Process(0.1f, particle);
    ++steps;
  }
  EXPECT_TRUE(wander.Inside()) << "still at " << particle.position.x;
  EXPECT_LT(particle.position.x, 100.0f);
  EXPECT_NEAR(particle.position.y, 50.0f, 1e-3f);
}

// Inside, the drift changes towards random targets of at most 100 units a second (an impulse
// may overshoot by a step); without an impulse time there is no acceleration rather than a
// division by zero.
TEST(GeneratorProcesses, BrownianWandersInsideAndNeedsAnImpulseTime) {
  crt_srand(3);
  WanderBlock block;
  PBrownian wander(&block.owner);
  P particle(D3DXVECTOR3(50, 50, 0));
  for (int i = 0; i < 200; ++i) {
    wander.Process(0.05f, particle);
    EXPECT_LE(std::abs(wander.Velocity().x), 130.0f);
    EXPECT_LE(std::abs(wander.Velocity().y), 130.0f);
  }
  EXPECT_NE(particle.position, D3DXVECTOR3(50, 50, 0));

  block.impulse.SetValue(0);
  PBrownian still(&block.owner);
  P outside(D3DXVECTOR3(-50, 50, 0));
  for (int i = 0; i < 5; ++i)
    still.Process(0.1f, outside);
  EXPECT_EQ(still.Acceleration(), D3DXVECTOR3());
  EXPECT_EQ(outside.position, D3DXVECTOR3(-50, 50, 0));
}

TEST(EmissionCounters, ThirtyASecondAtFortyStepsASecondGivesTwenty) {
  PerSecondCounter rate;
  rate.SetValue(30);
  std::vector<int> counts;
  float t = 0.0f;
  int total = 0;
  for (int i = 0; i < 40; ++i) {
    const int n = rate.TakeCount(t += 0.025f);
    counts.push_back(n);
    total += n;
  }
  EXPECT_EQ(total, 20);
  EXPECT_EQ(counts[0], 0);  // 0.75
  EXPECT_EQ(counts[1], 1);  // 1.5, the half dropped
  EXPECT_EQ(counts[2], 0);
  EXPECT_EQ(counts[3], 1);
}

TEST(EmissionCounters, ARateOfZeroNeverCountsAndHugeCountsSaturate) {
  PerSecondCounter none;
  for (float t : {0.5f, 10.0f, 1e6f})
    EXPECT_EQ(none.TakeCount(t), 0);
  EXPECT_EQ(none.lastEmission, 0.0f);

  PerSecondCounter flood;
  flood.SetValue(UINT_MAX);
  EXPECT_EQ(flood.TakeCount(1e30f), INT_MAX);
  EXPECT_EQ(flood.lastEmission, 1e30f);
}

TEST(EmissionCounters, RandomCountsAverageTheRateAndZeroKeepsItsTime) {
  PerSecondCounterRnd rate;
  rate.SetValue(30);
  crt_srand(11);
  const uint32_t state = crt_rand_state();
  EXPECT_EQ(rate.TakeCount(0.02f), 0);  // 0.6: no count, no draw
  EXPECT_EQ(rate.lastEmission, 0.0f);
  EXPECT_EQ(crt_rand_state(), state);

  // Steps of 0.125 s are due 3.75 each, 3 whole: counts from 0 to 6, 3 on average.
  int total = 0;
  float t = 0.0f;
  for (int i = 0; i < 1000; ++i) {
    const int n = rate.TakeCount(t += 0.125f);
    EXPECT_GE(n, 0);
    EXPECT_LE(n, 6);
    total += n;
  }
  EXPECT_NEAR(total / 1000.0, 3.0, 0.25);
}

}  // namespace
