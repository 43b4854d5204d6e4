#include <gtest/gtest.h>

#include <cmath>

#include "core/crt_rand.h"
#include "particles/classic/kinds/rain_on_glass.h"
#include "particles/classic/routines/color_routine.h"
#include "particles/classic/routines/rain_routines.h"
#include "platform/math/d3dx_math.h"
#include "systems_fixture.h"

namespace classic_test {
namespace {

class RainOnGlassTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterClassicTestClasses(); }

  // Rain on a 100 x 100 pane at the origin, drops of 20 units (R = 9), no drops of its own.
  RainOnGlassTest() {
    description_.pane.rect.SetRect(100, 100, D3DXVECTOR3(50, 50, 0));
    description_.appearance.size.SetValue(20);
    description_.counter.rate.SetValue(0);
    description_.flow.SetValue(270);  // down the picture
    description_.slideForce.SetValue(50);
    rain_ = std::make_unique<AttachedKind<DS_RainOnGlass>>(description_);
  }

  DS_RainOnGlass& Rain() { return *rain_->kind; }

  // A still drop (neither landing nor sliding) of own size `size` at `at`.
  DS_SafePtr<RoutineParticle> StillDrop(const D3DXVECTOR3& at, float size) {
    auto drop = NewParticle(at);
    drop->ownSize = size;
    drop->AddRoutine(Rain().interaction, false);
    Rain().particles.push_back(drop);
    return drop;
  }

  DS_RainOnGlass description_;
  std::unique_ptr<AttachedKind<DS_RainOnGlass>> rain_;
};

TEST_F(RainOnGlassTest, TouchingDropsMergeIntoOneSlidingDrop) {
  auto a = StillDrop({50, 50, 0}, 0.5f);
  auto b = StillDrop({50 + 0.2f * 9, 50, 0}, 0.5f);
  b->atlasCell = {0.5f, 0.5f, 0.5f, 0.5f};
  D3DXMatrixRotationZ(&b->matrix, 0.3f);
  Rain().MergeTouchingDrops();
  const int merging = (a->spare & kRainMerging) + (b->spare & kRainMerging);
  EXPECT_EQ(merging, kRainMerging) << "one drop merges into the other";
  DS_SafePtr<RoutineParticle> into = (a->spare & kRainMerging) ? b : a;
  UpdateRoutineParticles(Rain().particles, 0.05f);
  EXPECT_EQ(Rain().particles.size(), 2u) << "still fading into it";
  UpdateRoutineParticles(Rain().particles, 0.06f);
  ASSERT_EQ(Rain().particles.size(), 1u);
  EXPECT_EQ(Rain().particles.front(), into);
  EXPECT_NEAR(into->ownSize, std::cbrt(0.25f), 1e-6f);
  EXPECT_TRUE(into->spare & kRainSliding);
  EXPECT_EQ(into->atlasCell, kSlidingDropCell);
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  EXPECT_EQ(into->matrix, identity);

  // Drops apart stay apart.
  Rain().particles.clear();
  auto left = StillDrop({10, 50, 0}, 0.5f);
  auto right = StillDrop({30, 50, 0}, 0.5f);
  Rain().MergeTouchingDrops();
  EXPECT_EQ(left->spare | right->spare, 0);
}

TEST_F(RainOnGlassTest, MergedDropsNeverGrowPastTheirLimit) {
  RoutineParticle a({0, 0, 0});
  auto b = NewParticle({0, 0, 0});
  a.ownSize = 1.2f;
  b->ownSize = 1.2f;
  b->spare = kRainSliding;
  IPR_RainMerge merge(b);
  EXPECT_FALSE(merge.Apply(0.2f, a));
  EXPECT_FLOAT_EQ(b->ownSize, 1.3f);

  // A merge that has run its time exactly and then steps no time stays finite.
  RoutineParticle c({4, 4, 0});
  IPR_RainMerge exact(b);
  EXPECT_TRUE(exact.Apply(0.1f, c));
  EXPECT_TRUE(exact.Apply(0.0f, c));
  EXPECT_TRUE(std::isfinite(c.ownOpacity));
  EXPECT_TRUE(std::isfinite(c.position.x));
}

TEST_F(RainOnGlassTest, MergesLeaveLandingAndMergingDropsAlone) {
  PRA_RainMerge& merge = PRA_RainMerge::Instance();
  for (int flag : {kRainLanding, kRainMerging}) {
    RoutineParticle a({0, 0, 0});
    auto b = NewParticle({0, 0, 0});
    a.spare = flag;
    EXPECT_FALSE(merge.Execute(a, b)) << "a busy drop merges into nothing";
    EXPECT_TRUE(a.routines.empty());
    RoutineParticle c({0, 0, 0});
    b->spare = flag;
    EXPECT_TRUE(merge.Execute(c, b)) << "a busy drop is passed over";
    EXPECT_EQ(c.spare, 0);
  }
}

TEST_F(RainOnGlassTest, ADropLandingOutsideThePaneLivesUntilItLands) {
  auto drop = NewParticle({150, 50, 0});
  Rain().InitDrop(drop);
  Rain().particles = {drop};
  EXPECT_TRUE(drop->spare & kRainLanding);
  UpdateRoutineParticles(Rain().particles, 0.1f);
  EXPECT_EQ(Rain().particles.size(), 1u) << "still landing";
  UpdateRoutineParticles(Rain().particles, 0.1f);
  EXPECT_TRUE(Rain().particles.empty()) << "landed outside: gone";

  auto inside = NewParticle({50, 50, 0});
  Rain().InitDrop(inside);
  Rain().particles = {inside};
  for (int step = 0; step < 4; ++step)
    UpdateRoutineParticles(Rain().particles, 0.05f);
  ASSERT_EQ(Rain().particles.size(), 1u);
  EXPECT_FALSE(inside->spare & kRainLanding);
  EXPECT_EQ(inside->ownOpacity, 1.0f) << "fully shown once landed";
}

TEST_F(RainOnGlassTest, InitDropDrawsInItsOrder) {
  Rain().appearance.startAngle.SetValue(10);
  Rain().appearance.angleSpread.SetValue(5);
  bool sliding = false, still = false;
  for (unsigned seed = 1; seed <= 12; ++seed) {
    auto drop = NewParticle({40, 60, 0});
    crt_srand(seed);
    Rain().InitDrop(drop);

    crt_srand(seed);
    const int type = crt_rand() % 4;
    const float k = crt_rand_unit() * 19.0f + 1.0f;
    const float interval = crt_rand_unit() * 0.9f + 0.1f;
    const float phase = crt_rand_unit();
    ASSERT_EQ(drop->routines.size(), 5u) << "landing, sliding, motion, colour, interaction";
    auto it = drop->routines.begin();
    const auto& fall = dynamic_cast<const IPR_RainFall&>(**it++);
    EXPECT_EQ(fall.landing, D3DXVECTOR3(40, 60, 0));
    EXPECT_FLOAT_EQ(fall.remaining, 0.15f);
    const auto& dynamic = dynamic_cast<const IPR_RainDynamic&>(**it++);
    EXPECT_FLOAT_EQ(dynamic.drag, k);
    EXPECT_FLOAT_EQ(dynamic.interval, interval);
    EXPECT_NEAR(Distance(dynamic.slide, D3DXVECTOR3(0, 50, 0)), 0.0f, 1e-4f);
    ++it;
    EXPECT_FLOAT_EQ(dynamic_cast<const IPR_Color&>(**it++).phase, phase);
    EXPECT_EQ(it->Get(), Rain().interaction.Get()) << "one interaction for every drop";
    EXPECT_NEAR(Distance(drop->position, D3DXVECTOR3(40, 60 - 200, 0)), 0.0f, 1e-3f)
        << "moved back against the flow by size x 10";
    EXPECT_EQ(drop->ownOpacity, 0.0f);
    if (type == 0) {
      sliding = true;
      EXPECT_EQ(drop->spare, kRainLanding | kRainSliding);
      EXPECT_EQ(drop->atlasCell, kSlidingDropCell);
      EXPECT_EQ(drop->ownSize, 1.0f);
    } else {
      still = true;
      EXPECT_EQ(drop->spare, kRainLanding);
      EXPECT_FLOAT_EQ(drop->ownSize, crt_rand_unit() * 0.3f + 0.5f);
      const float angle = float(10 + crt_rand() % 11 - 5);
      D3DXMATRIX turn;
      D3DXMatrixRotationZ(&turn, angle * 3.1415927f / 180.0f);
      EXPECT_EQ(drop->matrix, turn) << seed;
      const std::array<float, 4> cells[3] = {
          {0.5f, 0.5f, 0.5f, 0.0f}, {0.5f, 0.5f, 0.0f, 0.5f}, {0.5f, 0.5f, 0.5f, 0.5f}};
      EXPECT_EQ(drop->atlasCell, cells[type - 1]);
    }
  }
  EXPECT_TRUE(sliding && still) << "both kinds of drop among the seeds";
}

TEST_F(RainOnGlassTest, SlidingDropsRunStickAndThin) {
  IPR_RainDynamic slide(D3DXVECTOR3(0, 10, 0));
  slide.drag = 2.0f;
  slide.interval = 100.0f;
  RoutineParticle big({0, 0, 0});
  big.spare = kRainSliding;
  big.ownSize = 1.2f;
  big.velocity = {0, 100, 0};
  slide.Apply(0.1f, big);
  EXPECT_EQ(big.acceleration, D3DXVECTOR3(0, 10, 0)) << "large drops run free";
  EXPECT_FLOAT_EQ(big.ownSize, 1.2f - 100 * 0.1f * 0.001f) << "and thin as they move";

  RoutineParticle small({0, 0, 0});
  small.spare = kRainSliding;
  small.ownSize = 0.5f;
  small.velocity = {0, 1, 0};
  slide.Apply(0.1f, small);
  EXPECT_NEAR(small.acceleration.y, 10 - 1 * 2 / 0.125f, 1e-4f) << "drag k / size^3";

  RoutineParticle against({0, 0, 0});
  against.spare = kRainSliding;
  against.ownSize = 0.5f;
  against.velocity = {0, -3, 0};
  slide.Apply(0.1f, against);
  EXPECT_EQ(against.velocity, D3DXVECTOR3(0, 0, 0)) << "against the slide it sticks";
  EXPECT_EQ(against.acceleration, D3DXVECTOR3(0, 0, 0));

  RoutineParticle landing({0, 0, 0});
  landing.spare = kRainSliding | kRainLanding;
  landing.velocity = {0, -3, 0};
  slide.Apply(0.1f, landing);
  EXPECT_EQ(landing.velocity, D3DXVECTOR3(0, -3, 0)) << "a landing drop does not slide yet";
}

TEST_F(RainOnGlassTest, RainFallsAtItsRateWhateverTheVisibilityAndPrewarms15Seconds) {
  for (float visibility : {1.0f, 0.25f}) {
    DS_RainOnGlass rain;
    rain.pane.rect.SetRect(100000, 100000, D3DXVECTOR3(0, 0, 0));
    rain.appearance.size.SetValue(0);  // drops that never touch
    UseFixedTimeline(rain).Set(TimingState::Shown, visibility);
    for (int i = 0; i < 20; ++i)
      rain.Advance(0.05f);
    EXPECT_EQ(rain.particles.size(), 20u) << visibility;
  }
  DS_RainOnGlass warm;
  warm.pane.rect.SetRect(100000, 100000, D3DXVECTOR3(0, 0, 0));
  warm.appearance.size.SetValue(0);
  warm.Restart();
  EXPECT_NEAR(double(warm.particles.size()), 20 * 15.0, 2.0) << "15 s before the first frame";
}

TEST_F(RainOnGlassTest, AttachTakesSizeAndOpacityFromTheDrops) {
  EXPECT_TRUE(Rain().appearance.flags & ParticleAppearance::kOwnSize);
  EXPECT_TRUE(Rain().appearance.flags & ParticleAppearance::kOwnOpacity);
  ASSERT_TRUE(Rain().interaction);
  EXPECT_NE(dynamic_cast<IPR_RainInteractionRoutine*>(Rain().interaction.Get()), nullptr);
  EXPECT_FALSE(description_.interaction) << "the description has none";
}

}  // namespace
}  // namespace classic_test
