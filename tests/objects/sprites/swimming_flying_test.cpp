// Fish, birds and ghosts: facing, turning at the edges, re-aiming, the birds' pace, the ghosts'
// timeline and reappearance, and their records.
#include <cmath>

#include "core/crt_rand.h"
#include "core/timing/random_timeline.h"
#include "objects/sprites/ds_bird_constructor.h"
#include "objects/sprites/ds_fish_constructor.h"
#include "objects/sprites/ds_ghost_constructor.h"
#include "sprite_fixture.h"

namespace sprite_test {
namespace {

class SwimmingFlying : public SpriteTest {
 protected:
  SwimmingFlying() : SpriteTest(200, 100) {}

  // A sprite of half size 10 at (x, y) with velocity (vx, vy), not due for a re-aim.
  static SpriteRecord Sprite(float x, float y, float vx, float vy) {
    SpriteRecord s;
    s.centre = D3DXVECTOR3(x, y, 0);
    s.velocity = D3DXVECTOR3(vx, vy, 0);
    s.halfWidth = vx < 0.0f ? -10.0f : 10.0f;
    s.halfHeight = 10.0f;
    return s;
  }
};

// A fish faces the way it swims from its spawn on.
TEST_F(SwimmingFlying, FishFacesTheWayItSwims) {
  DS_FishConstructor fish;
  fish.size.SetValue(20);
  fish.count.SetValue(40);
  auto obj = MakeArray(fish);
  int left = 0;
  for (const SpriteRecord& s : obj->Sprites()) {
    EXPECT_EQ(s.halfWidth < 0.0f, s.velocity.x < 0.0f);
    EXPECT_LE(std::fabs(s.velocity.x), 80.0f);
    EXPECT_LE(std::fabs(s.velocity.y), 50.0f);
    left += s.velocity.x < 0.0f;
  }
  EXPECT_GT(left, 5);
  EXPECT_LT(left, 35);
}

// At the sides a fish turns only once it is wholly beyond them, and then faces back in; at the
// top and bottom it turns as soon as its edge passes.
TEST_F(SwimmingFlying, FishTurnsAtTheEdges) {
  DS_FishConstructor fish;
  struct Case {
    SpriteRecord sprite;
    float vx, vy, halfWidth;
    bool event;
  };
  const Case cases[] = {
      {Sprite(-9, 50, -20, 0), -20, 0, -10, false},  // its right edge still inside
      {Sprite(-11, 50, -20, 0), 20, 0, 10, true},    // wholly beyond the left side
      {Sprite(211, 50, 20, 0), -20, 0, -10, true},   // wholly beyond the right side
      {Sprite(100, 9, 20, -30), 20, 30, 10, true},   // its top edge above the top
      {Sprite(100, 11, 20, -30), 20, -30, 10, false},
      {Sprite(100, 91, 20, 30), 20, -30, 10, true},  // its bottom edge below the bottom
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.sprite.centre.x << ", " << c.sprite.centre.y);
    SpriteRecord s = c.sprite;
    fish.frameEvent = false;
    fish.UpdateParticle(s);
    EXPECT_EQ(s.velocity.x, c.vx);
    EXPECT_EQ(s.velocity.y, c.vy);
    EXPECT_EQ(s.halfWidth, c.halfWidth);
    EXPECT_EQ(fish.frameEvent, c.event);
  }
}

// The re-aim runs on the local time: with a motion rate of 0 fish stand still, yet take new
// speeds about every other second, always keeping their heading.
TEST_F(SwimmingFlying, FishReAimsOnTheLocalTimeKeepingItsHeading) {
  DS_FishConstructor fish;
  fish.count.SetValue(10);
  fish.motionRate.SetValue(0);
  auto obj = MakeArray(fish);
  std::vector<SpriteRecord> start = obj->Sprites();
  for (int i = 1; i <= 30; ++i)
    obj->Update(0.1f * float(i));
  int reaimed = 0;
  for (size_t k = 0; k < start.size(); ++k) {
    const SpriteRecord& s = obj->Sprites()[k];
    EXPECT_EQ(s.centre, start[k].centre);
    EXPECT_EQ(std::signbit(s.velocity.x), std::signbit(start[k].velocity.x));
    EXPECT_EQ(std::signbit(s.halfWidth), std::signbit(start[k].halfWidth));
    reaimed += s.velocity.x != start[k].velocity.x;
  }
  EXPECT_GT(reaimed, 0);
}

// A bird whose vertical speed is -0.5 B is turned down to about 0.486 B in the same frame; a
// slow horizontal speed is drawn again between 0.7 A and A in the same direction.
TEST_F(SwimmingFlying, BirdsKeepABriskPace) {
  DS_BirdConstructor bird;
  SpriteRecord s = Sprite(100, 50, 70, -25);
  bird.UpdateParticle(s);
  EXPECT_NEAR(s.velocity.y, 0.4857f * 50.0f, 0.01f);
  EXPECT_EQ(s.velocity.x, 70.0f) << "fast enough";

  SpriteRecord slow = Sprite(100, 50, -10, 45);
  CrtRandSequence next(crt_rand_state());
  bird.UpdateParticle(slow);
  EXPECT_FLOAT_EQ(slow.velocity.x, -(56.0f + next.NextUnit() * 24.0f));
  EXPECT_EQ(slow.velocity.y, 45.0f);
}

TEST_F(SwimmingFlying, GhostDefaults) {
  DS_GhostConstructor ghost;
  EXPECT_EQ(ghost.horizontalSpeed, 50.0f);
  EXPECT_EQ(ghost.verticalSpeed, 50.0f);
  EXPECT_EQ(ghost.pulseRate, 0.66f);
  EXPECT_EQ(ghost.transparency.Scaled(), 127);
  EXPECT_EQ(ghost.tag, 2);
  EXPECT_EQ(ghost.timing.timeMode.Value(), 1);
  EXPECT_EQ(ghost.timing.flags & 1u, 1u);
  EXPECT_EQ(DS_BirdConstructor().horizontalSpeed, 80.0f);
}

// A ghost's timeline value counts twice: as its alpha factor and in the opacity rule, so at 0.5
// it shows a quarter of its alpha byte.
TEST_F(SwimmingFlying, AGhostAtHalfShowsAQuarter) {
  DS_GhostConstructor ghost;
  SetTimelineValue(ghost, 0.5f);
  SpriteRecord s = Sprite(100, 50, 10, 10);
  ghost.UpdateParticle(s);
  EXPECT_EQ(s.alphaFactor, 0.5f);
  EXPECT_EQ(ghost.ApplyOpacity(s.colour) >> 24, 31u) << "127 x 0.5 x 0.5";
}

// After a hidden phase only the first ghost updated jumps to a new place; the others fade where
// they are.
TEST_F(SwimmingFlying, OneGhostJumpsPerHiddenPhase) {
  DS_GhostConstructor ghost;
  ghost.count.SetValue(3);
  ghost.motionRate.SetValue(0);
  auto obj = MakeArray(ghost);
  auto& clone = PresetOf<DS_GhostConstructor>(*obj);
  clone.timing.SetTiming(std::make_unique<FixedTimeline>(0.0f, TimingState::Hidden));
  obj->Update(0.1f);
  EXPECT_EQ(clone.reappear, 1);
  const std::vector<SpriteRecord> hidden = obj->Sprites();
  clone.timing.SetTiming(std::make_unique<FixedTimeline>(0.3f, TimingState::FadingIn));
  obj->Update(0.2f);
  EXPECT_NE(obj->Sprites()[0].centre, hidden[0].centre);
  EXPECT_EQ(obj->Sprites()[1].centre, hidden[1].centre);
  EXPECT_EQ(obj->Sprites()[2].centre, hidden[2].centre);
  EXPECT_EQ(clone.reappear, 0);
  EXPECT_TRUE(clone.frameEvent);
  int frames = 0;
  EXPECT_TRUE(clone.SplitExportBlock(frames));
  for (const SpriteRecord& s : obj->Sprites())
    EXPECT_EQ(s.alphaFactor, 0.3f);
}

// A version-1 ghost plays on a random timeline of 1.5-second fades and no hidden or shown time;
// version 2 keeps the timeline it stores.
TEST_F(SwimmingFlying, GhostVersionOneGetsItsRandomTimeline) {
  DS_GhostConstructor ghost;
  ghost.horizontalSpeed = 33.0f;
  const std::vector<uint8_t> bytes = Written([&](DS_IOF_Archive& archive) {
    WriteRecordHeader(archive, u"DS_GhostConstructor", 1);
    ghost.DS_FishConstructor::Save(archive);
  });
  ReadResult read = ReadDescription(bytes);
  ASSERT_TRUE(ReadWhole(read));
  auto& old = dynamic_cast<DS_GhostConstructor&>(*read.object);
  EXPECT_EQ(old.horizontalSpeed, 33.0f);
  EXPECT_EQ(old.timing.Kind(), 1);
  auto* random = dynamic_cast<ZKW_RandomTimeLine*>(old.timing.Current());
  ASSERT_NE(random, nullptr);
  EXPECT_EQ(old.timing.Kept(1).Get(), random);
  const RandomTimeLineParams& p = random->params;
  EXPECT_EQ(p.hiddenMin.Value(), 0u);
  EXPECT_EQ(p.hiddenMax.Value(), 0u);
  EXPECT_EQ(p.shownMin.Value(), 0u);
  EXPECT_EQ(p.shownMax.Value(), 0u);
  EXPECT_EQ(p.fadeIn.Value(), 150u);
  EXPECT_EQ(p.fadeOut.Value(), 150u);
  EXPECT_FLOAT_EQ(p.fadeOut.Scaled(), 1.5f) << "notified, so the seconds follow";
  EXPECT_FLOAT_EQ(random->GetCycleLength(), 3.0f);

  ReadResult current = ReadDescription(SavedBytes(ghost));
  ASSERT_TRUE(ReadWhole(current));
  EXPECT_EQ(dynamic_cast<DS_GhostConstructor&>(*current.object).timing.Kind(), 0);
}

}  // namespace
}  // namespace sprite_test
