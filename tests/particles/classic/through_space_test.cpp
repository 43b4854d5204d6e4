#include <gtest/gtest.h>

#include <cmath>

#include "particles/classic/kinds/through_space_ctrl.h"
#include "platform/math/d3dx_math.h"
#include "systems_fixture.h"

namespace classic_test {
namespace {

class ThroughSpaceTest : public ClassicRenderTest {
 protected:
  // A flight of 10-unit white squares about (32, 32) that makes no particles of its own.
  std::unique_ptr<AttachedKind<ZKW_ThroughSpaceCtrl>> Flight() {
    WhiteLook(description_.appearance, DS_ImageFileLink(u"white.png", 1), 10);
    description_.counter.rate.SetValue(0);
    description_.centre.SetValue(D3DXVECTOR3(32, 32, 0));
    description_.flightSpeed.SetValue(100);
    return std::make_unique<AttachedKind<ZKW_ThroughSpaceCtrl>>(description_);
  }

  ZKW_ThroughSpaceCtrl description_;
};

TEST_F(ThroughSpaceTest, QuadsScaleByTheInverseDepthAboutTheCentre) {
  auto a = Flight();
  ZKW_ThroughSpaceCtrl& flight = *a->kind;
  auto p = NewParticle({42, 32, 1});
  flight.particles = {p};
  struct Case {
    float depth, middleX, halfWidth;
  } cases[] = {{1.0f, 42, 5}, {0.5f, 52, 10}, {2.0f, 37, 2.5f}};
  for (const Case& c : cases) {
    p->position.z = c.depth;
    flight.FillQuads();
    ASSERT_EQ(a->mech->quadCounts[0], 1u);
    const DX_V::PCT* v = BatchVertices(a->mech->batches[0]);
    EXPECT_NEAR(QuadMiddle(v).x, c.middleX, 1e-4f) << c.depth;
    EXPECT_NEAR(QuadMiddle(v).y, 32.0f, 1e-4f);
    EXPECT_NEAR(v[2].x - v[0].x, 2 * c.halfWidth, 1e-4f) << "scaled width at " << c.depth;
    EXPECT_NEAR(v[0].y - v[1].y, 2 * c.halfWidth, 1e-4f) << "scaled height at " << c.depth;
  }

  // At no depth or behind the viewer the factor has no bound: the quad collapses, never inf.
  for (float depth : {0.0f, -1.0f, 1e-45f, std::nanf("")}) {
    p->position.z = depth;
    flight.FillQuads();
    const DX_V::PCT* v = BatchVertices(a->mech->batches[0]);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(Corner(v[i]), D3DXVECTOR3(32, 32, 0)) << depth;
    }
  }
}

TEST_F(ThroughSpaceTest, TheFieldTurnsAboutItsCentre) {
  description_.rotationDirection.SetValue(1);
  description_.rotationSpeed.SetValue(10);  // 4 degrees a second
  auto a = Flight();
  for (int i = 0; i <= 10; ++i)
    a->kind->Update(0.1f * float(i));
  EXPECT_NEAR(a->kind->angle, -4.0f, 1e-4f);
  const D3DXVECTOR3 east(42, 32, 0);
  D3DXVECTOR3 turned;
  D3DXVec3TransformCoord(&turned, &east, &a->mech->batches[0].node.world);
  const float radians = -4.0f * 3.1415927f / 180.0f;
  EXPECT_NEAR(turned.x, 32 + 10 * std::cos(radians), 1e-4f);
  EXPECT_NEAR(turned.y, 32 + 10 * std::sin(radians), 1e-4f);
}

TEST_F(ThroughSpaceTest, NewcomersComeNearerFromTheFrontOrMoveAwayAtTheBack) {
  for (uint8_t away : {uint8_t{0}, uint8_t{1}}) {
    ZKW_ThroughSpaceCtrl flight;
    flight.away = away;
    flight.area.rect.SetRect(100, 100, D3DXVECTOR3(50, 50, 0));
    FixedTimeline& timeline = UseFixedTimeline(flight);
    auto old = NewParticle({0, 0, 0.5f});
    flight.particles = {old};
    flight.Emit(0.5f);  // 20 a second
    ASSERT_EQ(flight.particles.size(), 11u);
    EXPECT_EQ(away ? flight.particles.front() : flight.particles.back(), old);
    const RoutineParticle& born = away ? *flight.particles.back() : *flight.particles.front();
    EXPECT_EQ(born.position.z, away ? 0.0f : 1.0f);
    EXPECT_FLOAT_EQ(born.velocity.z, away ? 0.2f : -0.2f);
    EXPECT_EQ(born.LifeLimit(), 5.0f);

    timeline.Set(TimingState::FadingOut, 0.0f);
    flight.Emit(0.5f);
    EXPECT_EQ(flight.particles.size(), 11u) << "faded out: nothing born";
  }
}

TEST_F(ThroughSpaceTest, LiveParticlesStepTwiceAFrame) {
  auto a = Flight();
  ZKW_ThroughSpaceCtrl& flight = *a->kind;
  flight.counter.rate.SetValue(100);
  UseFixedTimeline(flight).Set(TimingState::Shown, 1.0f);
  flight.Update(0.0f);
  flight.Update(0.05f);  // one newcomer
  ASSERT_EQ(flight.particles.size(), 1u);
  const float born = flight.particles.front()->position.z;
  flight.counter.rate.SetValue(0);
  flight.Update(0.15f);
  EXPECT_NEAR(flight.particles.front()->position.z, born - 2 * 0.1f * 0.2f, 1e-6f);
}

}  // namespace
}  // namespace classic_test
