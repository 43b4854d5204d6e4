#include <gtest/gtest.h>

#include <cmath>

#include "core/crt_rand.h"
#include "particles/classic/kinds/splash_ptcl_sys.h"
#include "particles/classic/kinds/spray_presets.h"
#include "particles/classic/kinds/stream_ptcl_sys.h"
#include "particles/classic/kinds/vortex_ptcl_sys.h"
#include "particles/classic/routines/vortex_routine.h"
#include "platform/math/d3dx_math.h"
#include "systems_fixture.h"

namespace classic_test {
namespace {

class SpraysStreamsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterClassicTestClasses(); }
};

// The appearance's draws for a default look: cell column and row, colour phase, spin, own
// size, own opacity, start angle.
void SkipDefaultLookDraws() {
  for (int i = 0; i < 7; ++i)
    crt_rand();
}

TEST_F(SpraysStreamsTest, ASplashThrowsItsCountFromItsSource) {
  for (int source : {0, 1}) {
    ZKW_SplashPtclSys splash;
    splash.rectEmitter.rect.SetRect(100, 50, D3DXVECTOR3(50, 25, 0));
    splash.sectorEmitter.point.RawValue() = {200, 200, 0};
    splash.sectorEmitter.radius = 30;
    splash.sectorEmitter.opening = 360;
    splash.source.SetValue(source);
    splash.count.SetValue(40);
    splash.lifetime.SetValue(150);
    splash.flight.SetValue(90);
    splash.flightSpeed.SetValue(10);
    UseFixedTimeline(splash).Set(TimingState::Shown, 1.0f);
    ZKW_SplashPtclSys placed(splash);
    for (const auto& p : placed.EmitFromSource(40)) {
      if (source == 0) {
        EXPECT_TRUE(p->position.x >= 0 && p->position.x <= 100 && p->position.y >= 0 &&
                    p->position.y <= 50)
            << "in the rectangle";
      } else {
        EXPECT_LE(Distance(p->position, D3DXVECTOR3(200, 200, 0)), 30.0f + 1e-3f);
      }
      EXPECT_NEAR(p->velocity.x, 0.0f, 1e-4f);
      EXPECT_NEAR(p->velocity.y, -10.0f, 1e-4f) << "flight 90 degrees: up the picture";
      EXPECT_FLOAT_EQ(p->LifeLimit(), 1.5f);
    }
    splash.Advance(0.1f);
    ASSERT_EQ(splash.particles.size(), 40u);
    int steps = 0;
    while (!splash.particles.empty() && steps < 100) {
      splash.Advance(0.1f);
      ++steps;
    }
    EXPECT_EQ(steps, 15) << "1.5 s of age";
    EXPECT_EQ(splash.emitted, 40) << "one splash a visible phase";
    splash.Restart();
    EXPECT_EQ(splash.emitted, 0);
  }
}

TEST_F(SpraysStreamsTest, SpraysFollowTheirRateAndTheFogItsOwnScales) {
  struct Case {
    unsigned rate;
    float visibility;
    size_t perSecond;
  } cases[] = {{100, 1.0f, 20}, {100, 0.5f, 10}, {0, 1.0f, 0}};
  for (const Case& c : cases) {
    ZKW_SprayPtclSys spray;
    spray.lifetime.SetValue(10000);
    spray.counter.rate.SetValue(c.rate);
    UseFixedTimeline(spray).Set(TimingState::Shown, c.visibility);
    for (int i = 0; i < 20; ++i)
      spray.Advance(0.05f);
    EXPECT_NEAR(double(spray.particles.size()), double(c.perSecond), 1.0) << c.rate;
  }
  DS_PtclFog fog;
  fog.lifetime.SetValue(10000);
  fog.counter.rate.SetValue(100);
  fog.Restart();
  EXPECT_NEAR(double(fog.particles.size()), 8.0, 1.0) << "one a second, 8 s pre-warmed";
  EXPECT_NE(dynamic_cast<ZKW_SprayPtclSys*>(&fog), nullptr);
}

TEST_F(SpraysStreamsTest, StreamParticlesCrossFromEdgeToEdge) {
  for (unsigned seed : {3u, 4u, 5u}) {
    DS_StreamPtclSys stream;
    stream.area.SetRect(200, 100, D3DXVECTOR3(100, 50, 0));
    stream.lifetime.SetValue(500);
    stream.speed.value.SetValue(10);   // 20 units a second
    stream.speed.jitter.SetValue(50);  // reduced by up to half
    stream.scatter.SetValue(25);       // 0.05 of the far edge
    UseFixedTimeline(stream).Set(TimingState::Shown, 1.0f);
    crt_srand(seed);
    EXPECT_TRUE(stream.Emit(0.05f).empty()) << "nothing left to pre-advance";
    ASSERT_EQ(stream.particles.size(), 1u);

    crt_srand(seed);
    const float o = crt_rand_unit();
    const float d = o + (crt_rand_unit() * 0.1f - 0.05f);
    SkipDefaultLookDraws();
    const float speed = 20.0f * (crt_rand_unit() * 0.5f + 0.5f);
    const D3DXVECTOR3 start(200 - 200 * o, 0, 0), aim(200 - 200 * d, 100, 0);
    D3DXVECTOR3 u = aim - start;
    D3DXVec3Normalize(&u, &u);
    const RoutineParticle& p = *stream.particles.front();
    EXPECT_NEAR(Distance(p.position, start), 0.0f, 1e-3f) << seed;
    EXPECT_NEAR(Distance(p.velocity, u * speed), 0.0f, 1e-3f) << seed;
    EXPECT_FLOAT_EQ(p.LifeLimit(), 5.0f);
  }

  // The i-th of n newcomers has run i x step / n at once.
  DS_StreamPtclSys stream;
  stream.area.SetRect(200, 100, D3DXVECTOR3(100, 50, 0));
  stream.lifetime.SetValue(500);
  stream.speed.value.SetValue(10);
  stream.counter.rate.SetValue(500);  // 100 a second
  UseFixedTimeline(stream).Set(TimingState::Shown, 1.0f);
  stream.Emit(0.05f);
  ASSERT_EQ(stream.particles.size(), 5u);
  int i = 0;
  for (const auto& p : stream.particles) {
    EXPECT_NEAR(p->age, 0.01f * float(i), 1e-6f);
    EXPECT_NEAR(p->position.y, 20.0f * 0.01f * float(i), 1e-4f) << "straight down at 20";
    ++i;
  }

  // An area of no size gives no direction: the particles stay, nothing turns NaN.
  DS_StreamPtclSys point;
  point.lifetime.SetValue(500);
  point.speed.value.SetValue(10);
  UseFixedTimeline(point).Set(TimingState::Shown, 1.0f);
  point.Emit(0.05f);
  ASSERT_EQ(point.particles.size(), 1u);
  EXPECT_EQ(point.particles.front()->velocity, D3DXVECTOR3(0, 0, 0));
}

TEST_F(SpraysStreamsTest, VortexArmsSpreadEvenly) {
  struct Case {
    unsigned arms;
    std::vector<float> degrees;
  } cases[] = {{3, {0, 120, 240}}, {0, {0}}, {1, {0}}, {4, {0, 90, 180, 270}}};
  for (const Case& c : cases) {
    ZKW_VortexPtclSys vortex;
    vortex.radialSpeed.SetValue(10);  // 20
    vortex.distance.SetValue(100);
    vortex.arms.SetValue(c.arms);
    vortex.armRotation.SetValue(0);
    vortex.counter.rate.SetValue(5000);  // 1000 a second
    UseFixedTimeline(vortex).Set(TimingState::Shown, 1.0f);
    std::vector<int> seen(c.degrees.size());
    crt_srand(9);
    for (const auto& p : vortex.Emit(0.05f)) {
      EXPECT_FLOAT_EQ(p->LifeLimit(), 5.0f);
      bool matched = false;
      for (size_t k = 0; k < c.degrees.size(); ++k) {
        const float a = c.degrees[k] * 3.1415927f / 180.0f;
        if (Distance(p->velocity, D3DXVECTOR3(20 * std::cos(a), -20 * std::sin(a), 0)) < 1e-3f) {
          matched = true;
          ++seen[k];
        }
      }
      EXPECT_TRUE(matched) << c.arms << " arms";
    }
    for (int n : seen)
      EXPECT_GT(n, 0) << c.arms << " arms";
  }
}

TEST_F(SpraysStreamsTest, VortexEmissionDrawsItsArmAndTurnsWithItsArms) {
  for (unsigned seed : {1u, 2u, 3u}) {
    for (int armDirection : {0, 1}) {
      ZKW_VortexPtclSys vortex;
      vortex.emitter.point.RawValue() = {10, 20, 0};
      vortex.radialSpeed.SetValue(5);  // 10
      vortex.arms.SetValue(3);
      vortex.sector.SetValue(30);
      vortex.sector.spread.SetValue(20);
      vortex.armRotation.SetValue(5);  // 10 degrees a second
      vortex.armDirection.SetValue(armDirection);
      vortex.counter.rate.SetValue(20);  // 4 a second: one in 0.25 s
      UseFixedTimeline(vortex).Set(TimingState::Shown, 1.0f);
      crt_srand(seed);
      RoutineParticleList born = vortex.Emit(0.25f);
      ASSERT_EQ(born.size(), 1u);
      EXPECT_FLOAT_EQ(vortex.armRotation.localTime, 2.5f);

      crt_srand(seed);
      SkipDefaultLookDraws();
      const float arm = float(crt_rand() % 3) * 120.0f;
      const float turn = armDirection != 0 ? 2.5f : -2.5f;
      const float degrees = 20.0f + turn + arm + crt_rand_unit() * 20.0f;
      const float a = degrees * 3.1415927f / 180.0f;
      const RoutineParticle& p = *born.front();
      EXPECT_EQ(p.position, D3DXVECTOR3(10, 20, 0));
      EXPECT_NEAR(p.velocity.x, 10 * std::cos(a), 1e-4f) << seed;
      EXPECT_NEAR(p.velocity.y, -10 * std::sin(a), 1e-4f) << seed;
    }
  }
}

TEST_F(SpraysStreamsTest, VortexParticlesAreSteeredOutAndAround) {
  ZKW_VortexPtclSys vortex;
  vortex.emitter.point.RawValue() = {0, 0, 0};
  struct Case {
    unsigned speed, swirl;
    int direction;
    D3DXVECTOR3 velocity;
  } cases[] = {{5, 0, 0, {10, 0, 0}}, {0, 100, 0, {0, 2, 0}}, {0, 100, 1, {0, -2, 0}}};
  for (const Case& c : cases) {
    vortex.radialSpeed.SetValue(c.speed);
    vortex.swirl.SetValue(c.swirl);
    vortex.swirlDirection.SetValue(c.direction);
    IPR_VortexVel steer(&vortex.emitter.point, &vortex.radialSpeed, &vortex.swirl,
                        &vortex.swirlDirection);
    RoutineParticle p({2, 0, 0});
    steer.Apply(0.1f, p);
    EXPECT_NEAR(Distance(p.velocity, c.velocity), 0.0f, 1e-5f) << c.speed << " " << c.swirl;
    RoutineParticle centre({0, 0, 0});
    centre.velocity = {3, 4, 0};
    steer.Apply(0.1f, centre);
    EXPECT_EQ(centre.velocity, D3DXVECTOR3(3, 4, 0)) << "at the centre it is left alone";
  }
}

}  // namespace
}  // namespace classic_test
