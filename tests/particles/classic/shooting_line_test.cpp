#include <gtest/gtest.h>

#include <cmath>

#include "core/crt_rand.h"
#include "lines_fixture.h"
#include "particles/classic/lines/shooting_line.h"
#include "particles/classic/routines/value_routines.h"

namespace classic_test {
namespace {

class ShootingLineTest : public ClassicRenderTest {
 protected:
  // Shots along y = 100 from x = 0 to x = 400 at `speed` units a second, the first on the first
  // step with time in it, the next not for 100 s; an object that does not pre-warm.
  void Aim(ZKW_ShootingLine& line, unsigned speed, unsigned trail) {
    StraightPath(line.path, {{0, 100, 0}, {400, 100, 0}});
    line.shotSpeed.SetValue(speed);
    line.trailLength.SetValue(trail);
    line.width.SetValue(6);
    line.shotCounter.minimum.SetValue(100.0f);
    line.shotCounter.maximum.SetValue(100.0f);
    WhiteLook(line.lineAppearance, DS_ImageFileLink(u"streak.png", 1), 6);
    WhiteLook(line.appearance, DS_ImageFileLink(u"spark.png", 1), 4);
    UsePhaseTimeline(line).Set(TimingState::Shown, 1.0f);
    line.timing.RawValue() = 1;
  }
};

TEST_F(ShootingLineTest, AShotCrossesThePathAndEndsOnceItsTrailHasLeftIt) {
  ZKW_ShootingLine description;
  Aim(description, 200, 100);
  Running<ZKW_ShootingLine> run(description);
  EXPECT_NEAR(run.control.PrewarmTime(), 2.0f, 1e-4) << "400 units at 200 a second";
  run.control.Update(0.0f);
  EXPECT_TRUE(run.control.shots.empty()) << "no time, no shot";

  float leaderDiedAt = -1.0f, shotEndedAt = -1.0f;
  float t = 0.0f;
  for (int frame = 0; frame < 40 && shotEndedAt < 0.0f; ++frame) {
    run.control.Update(t += 0.1f);
    if (frame == 0) ASSERT_EQ(run.control.shots.size(), 1u);
    if (leaderDiedAt < 0.0f && run.control.particles.empty()) leaderDiedAt = t;
    if (shotEndedAt < 0.0f && run.control.shots.empty()) shotEndedAt = t;
    if (frame == 19) {
      EXPECT_EQ(run.control.particles.size(), 1u);
      EXPECT_NEAR(run.control.shots.front().head->age, 400.0f, 0.05);
    }
    if (frame == 9) {
      // The head 200 units on: the trail from 100 to 200, 25 path segments and the last quad.
      const ShotRecord& shot = run.control.shots.front();
      EXPECT_NEAR(shot.head->age, 200.0f, 1e-2);
      EXPECT_NEAR(shot.tail->age, 100.0f, 1e-2);
      const std::vector<DX_V::PCT> quads = run.Quads(1);
      ASSERT_EQ(quads.size(), 4u * 26);
      EXPECT_NEAR(TrailingMiddle(quads.data()).x, 100.0f, 0.05);
      EXPECT_NEAR(LeadingMiddle(quads.data() + quads.size() - 4).x, 200.0f, 0.05);
      EXPECT_NEAR(quads[1].v, 100.0f / 6, 0.05) << "v is the arc length / repeat";
      EXPECT_NEAR(quads[quads.size() - 4].v, 200.0f / 6, 0.05);
      EXPECT_EQ(run.mech.quadCounts[0], 1u) << "the leading particle";
    }
  }
  // Born in the step to 0.1 and advanced by it, the shot is at 400 after 2 s, at t = 2.0.
  EXPECT_NEAR(leaderDiedAt, 2.1f, 0.01) << "its age passes 400";
  EXPECT_NEAR(shotEndedAt, 2.6f, 0.01) << "the tail passes 400 with the head at 520";
}

TEST_F(ShootingLineTest, WithoutWobbleEveryPointOfAShotKeepsItsSidewaysDistance) {
  ZKW_ShootingLine description;
  Aim(description, 100, 80);
  description.lateralOffset.SetValue(20);
  Running<ZKW_ShootingLine> run(description);
  float t = 0.0f;
  run.control.Update(t);
  for (int frame = 0; frame < 15; ++frame)
    run.control.Update(t += 0.1f);
  ASSERT_EQ(run.control.shots.size(), 1u);
  const ShotRecord& shot = run.control.shots.front();
  const RoutineParticle& leader = *run.control.particles.front();
  const float side = 20.0f * leader.lateralUnit * std::cos(shot.phase);
  // To the right of the direction of travel (+x): towards -y.
  EXPECT_NEAR(leader.position.y, 100.0f - side, 1e-3);
  EXPECT_NEAR(shot.head->position.y, 100.0f - side, 1e-3);
  const std::vector<DX_V::PCT> quads = run.Quads(1);
  ASSERT_GT(quads.size(), 8u);
  for (size_t q = 0; q < quads.size(); q += 4)
    EXPECT_NEAR(LeadingMiddle(&quads[q]).y, 100.0f - side, 1e-3) << q / 4;
}

TEST_F(ShootingLineTest, ShotPhasesAndSidesComeFromRandInTheirOrder) {
  ZKW_ShootingLine description;
  Aim(description, 100, 50);
  Running<ZKW_ShootingLine> run(description);
  crt_srand(7);
  const int interval = crt_rand(), phase = crt_rand(), side = crt_rand();
  (void)interval;
  crt_srand(7);
  run.control.Emit(0.1f);
  ASSERT_EQ(run.control.shots.size(), 1u);
  const ShotRecord& shot = run.control.shots.back();
  EXPECT_FLOAT_EQ(shot.phase, float(phase) / 32767 * 6.2831855f);
  const RoutineParticle& leader = *run.control.particles.back();
  EXPECT_FLOAT_EQ(leader.lateralUnit, float(side) / 32767 * 2 - 1);
  EXPECT_EQ(shot.head->lateralUnit, leader.lateralUnit);
  EXPECT_EQ(shot.tail->lateralUnit, leader.lateralUnit);
  int waves = 0;
  const std::vector<const RoutineParticle*> dressed = {&leader, shot.head.Get(), shot.tail.Get()};
  for (const RoutineParticle* p : dressed) {
    for (const auto& routine : p->routines) {
      if (auto* wave = dynamic_cast<const IPR_Harmonic*>(routine.Get())) {
        EXPECT_EQ(wave->phase, shot.phase);
        EXPECT_EQ(wave->index, RoutineParticle::kPathOffset);
        ++waves;
      }
    }
  }
  EXPECT_EQ(waves, 3);
}

TEST_F(ShootingLineTest, ATrailOfNoLengthAndAShotOfNoSpeedStayBounded) {
  // A trail of length 0: the whole trail is at its head's end of the envelope.
  ZKW_ShootingLine description;
  Aim(description, 100, 0);
  description.widthEnvelope.startFactor.SetValue(0);
  description.widthEnvelope.riseEnd.SetValue(50);
  Running<ZKW_ShootingLine> run(description);
  float t = 0.0f;
  run.control.Update(t);
  for (int frame = 0; frame < 5; ++frame)
    run.control.Update(t += 0.1f);
  ASSERT_EQ(run.control.shots.size(), 1u);
  const ShotRecord& shot = run.control.shots.front();
  EXPECT_EQ(run.control.TrailPosition(*shot.tail, *shot.head), 1.0f);
  for (const DX_V::PCT& v : run.Quads(1))
    EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.v));

  // Shots that never move, one a step, under a continuous timeline: the endless pre-warm would
  // never settle and warms nothing.
  ZKW_ShootingLine still;
  Aim(still, 0, 10);
  still.shotCounter.minimum.SetValue(0.0f);
  still.shotCounter.maximum.SetValue(0.0f);
  still.timing.RawValue() = 0;
  Running<ZKW_ShootingLine> warmed(still);
  EXPECT_TRUE(std::isinf(warmed.control.PrewarmTime()));
  EXPECT_TRUE(warmed.control.shots.empty());
}

}  // namespace
}  // namespace classic_test
