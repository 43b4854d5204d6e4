#include <gtest/gtest.h>

#include "lines_fixture.h"
#include "particles/classic/lines/groving_line.h"
#include "particles/classic/lines/head_age.h"
#include "particles/classic/lines/sliding_line.h"

namespace classic_test {
namespace {

class StaticLinesTest : public ClassicRenderTest {
 protected:
  // A line of width 10 along y = 100 from x = 0 to x = `length`, its strip drawn with a white
  // square picture (repeat 10).
  void Lay(ZKW_StaticLineCtrl& line, float length) {
    StraightPath(line.path, {{0, 100, 0}, {length, 100, 0}});
    line.width.SetValue(10);
    WhiteLook(line.lineAppearance, DS_ImageFileLink(u"streak.png", 1), 10);
    WhiteLook(line.appearance, DS_ImageFileLink(u"head.png", 1), 4);
  }

  // Where the strip starts (its tail) and where it ends (its leading end), along x.
  static std::pair<float, float> Window(const std::vector<DX_V::PCT>& quads) {
    if (quads.empty()) return {-1.0f, -1.0f};
    return {TrailingMiddle(quads.data()).x, LeadingMiddle(quads.data() + quads.size() - 4).x};
  }
};

TEST_F(StaticLinesTest, AGrowingLineShowsThePathUpToItsVisibilityAndRetractsToItsEnd) {
  ZKW_GrovingLine description;
  Lay(description, 400);
  PhaseTimeline& timeline = UsePhaseTimeline(description);
  timeline.Set(TimingState::Shown, 0.5f, 2.0f);
  Running<ZKW_GrovingLine> run(description);
  run.control.Update(0.0f);
  auto [tail, lead] = Window(run.Quads(0));
  EXPECT_NEAR(tail, 0.0f, 1e-3);
  EXPECT_NEAR(lead, 200.0f, 1e-2);
  EXPECT_NEAR(run.control.shownLength, 200.0f, 1e-2);

  // Fading out without retracting: still from the start.
  timeline.Set(TimingState::FadingOut, 0.25f, 2.0f);
  run.control.Update(0.1f);
  std::tie(tail, lead) = Window(run.Quads(0));
  EXPECT_NEAR(tail, 0.0f, 1e-3);
  EXPECT_NEAR(lead, 100.0f, 1e-2);

  run.control.retract.SetValue(1);
  run.control.Update(0.2f);
  std::tie(tail, lead) = Window(run.Quads(0));
  EXPECT_NEAR(tail, 300.0f, 1e-2);
  EXPECT_NEAR(lead, 400.0f, 1e-2);

  // Nothing shown: no quads, and the head stays where it was.
  const D3DXVECTOR3 head = run.control.heads.front()->position;
  timeline.Set(TimingState::Hidden, 0.0f, 2.0f);
  run.control.Update(0.3f);
  EXPECT_EQ(run.mech.quadCounts[0], 0u);
  EXPECT_EQ(run.control.heads.front()->position, head);
}

TEST_F(StaticLinesTest, TheStripsTextureStartsAtItsLeadingEnd) {
  ZKW_GrovingLine description;
  Lay(description, 200);
  UsePhaseTimeline(description).Set(TimingState::Shown, 1.0f, 2.0f);
  Running<ZKW_GrovingLine> run(description);
  run.control.Update(0.0f);
  const std::vector<DX_V::PCT> quads = run.Quads(0);
  ASSERT_FALSE(quads.empty());
  EXPECT_NEAR(quads[1].v, 20.0f, 1e-3) << "the tail: 200 units / a repeat of 10";
  EXPECT_NEAR(quads[quads.size() - 4].v, 0.0f, 1e-3) << "the leading end";
  for (size_t q = 0; q < quads.size(); q += 4)
    EXPECT_GE(quads[q + 1].v, quads[q].v) << "v grows backwards along the strip";
  EXPECT_EQ(quads[0].u, 1.0f);
  EXPECT_EQ(quads[2].u, 0.0f);
}

TEST_F(StaticLinesTest, AWidthEnvelopeThinsTheStripBehindItsLeadingEnd) {
  ZKW_GrovingLine description;
  Lay(description, 200);
  description.width.SetValue(40);
  description.widthEnvelope.fallStart.SetValue(50);
  UsePhaseTimeline(description).Set(TimingState::Shown, 1.0f, 2.0f);
  Running<ZKW_GrovingLine> run(description);
  run.control.Update(0.0f);
  struct Case {
    float behind, width;
  } cases[] = {{0, 40}, {60, 40}, {100, 40}, {150, 20}, {200, 0}};
  for (const Case& c : cases)
    EXPECT_NEAR(run.control.WidthAt(c.behind), c.width, 1e-3) << c.behind;
  const std::vector<DX_V::PCT> quads = run.Quads(0);
  ASSERT_FALSE(quads.empty());
  const DX_V::PCT* last = quads.data() + quads.size() - 4;
  EXPECT_NEAR(last[0].y - last[2].y, 40.0f, 1e-2) << "full width at the leading end";
  EXPECT_NEAR(quads[1].y - quads[3].y, 0.0f, 1e-2) << "nothing at the tail";
}

TEST_F(StaticLinesTest, TheHeadRidesTheLeadingEndWithItsOffsetsAndIsDressedWhenShown) {
  ZKW_GrovingLine description;
  Lay(description, 400);
  description.offsetAcross.SetValue(5.0f);
  description.offsetAlong.SetValue(10.0f);
  PhaseTimeline& timeline = UsePhaseTimeline(description);
  timeline.Set(TimingState::Hidden, 0.0f, 3.0f);
  Running<ZKW_GrovingLine> run(description);
  ASSERT_EQ(run.control.heads.size(), 1u);
  EXPECT_EQ(run.mech.batches.size(), 2u);
  run.control.Update(0.0f);
  EXPECT_FALSE(run.control.heads.front()->lifeRoutine) << "not dressed while hidden";

  timeline.Set(TimingState::FadingIn, 0.5f, 3.0f);
  run.control.Update(0.1f);
  const RoutineParticle& head = *run.control.heads.front();
  auto* life = dynamic_cast<IPR_HeadAge*>(head.lifeRoutine.Get());
  ASSERT_NE(life, nullptr);
  EXPECT_FLOAT_EQ(life->Limit(), 3.0f) << "the cycle";
  // Along (1, 0) by 10, across (-t.y, t.x) = (0, 1) by 5.
  EXPECT_NEAR(head.position.x, 210.0f, 1e-2);
  EXPECT_NEAR(head.position.y, 105.0f, 1e-3);
  EXPECT_NEAR(head.velocity.x, 1.0f, 1e-5);
  EXPECT_NEAR(head.velocity.y, 0.0f, 1e-5);
  EXPECT_EQ(run.mech.quadCounts[1], 1u);

  const float age = head.age;
  run.control.Update(0.2f);
  EXPECT_GT(head.age, age) << "it ages and is not dressed again while it stays shown";
}

TEST_F(StaticLinesTest, ASlidingPieceCrossesThePathOncePerShownPhase) {
  ZKW_SlidingLine description;
  Lay(description, 300);
  description.slideLength.SetValue(100);
  PhaseTimeline& timeline = UsePhaseTimeline(description);
  Running<ZKW_SlidingLine> run(description);
  timeline.Set(TimingState::Hidden, 0.0f, 4.0f, 0.0f);
  run.control.Update(0.0f);
  EXPECT_EQ(run.control.armed, 1);

  timeline.Set(TimingState::Shown, 1.0f, 4.0f, 0.5f);
  run.control.Update(0.1f);
  EXPECT_EQ(run.control.armed, 0);
  auto* life = dynamic_cast<IPR_HeadAge*>(run.control.heads.front()->lifeRoutine.Get());
  ASSERT_NE(life, nullptr);
  EXPECT_NEAR(life->Limit(), 3.0f, 1e-4) << "cycle x L / (S + L)";
  auto [tail, lead] = Window(run.Quads(0));
  EXPECT_NEAR(tail, 100.0f, 1e-2);
  EXPECT_NEAR(lead, 200.0f, 1e-2);
  EXPECT_NEAR(run.control.WidthAt(0), 10.0f, 1e-4);

  timeline.Set(TimingState::Shown, 1.0f, 4.0f, 0.9f);
  run.control.Update(0.2f);
  std::tie(tail, lead) = Window(run.Quads(0));
  EXPECT_NEAR(tail, 260.0f, 1e-2);
  EXPECT_NEAR(lead, 300.0f, 1e-2) << "the strip ends at the path's last sample";
  EXPECT_EQ(run.control.heads.front()->ownOpacity, 0.0f) << "past the end";
}

TEST_F(StaticLinesTest, AlternatingPassesRunEachWayInTurn) {
  for (int alternate : {0, 1}) {
    ZKW_SlidingLine description;
    Lay(description, 300);
    description.slideLength.SetValue(100);
    description.alternate.SetValue(alternate);
    PhaseTimeline& timeline = UsePhaseTimeline(description);
    Running<ZKW_SlidingLine> run(description);
    std::vector<float> leads;
    float t = 0.0f;
    for (int pass = 0; pass < 3; ++pass) {
      timeline.Set(TimingState::Hidden, 0.0f, 4.0f, 0.0f);
      run.control.Update(t += 0.1f);
      timeline.Set(TimingState::Shown, 1.0f, 4.0f, 0.5f);
      run.control.Update(t += 0.1f);
      leads.push_back(std::round(Window(run.Quads(0)).second));
    }
    const std::vector<float> expected =
        alternate != 0 ? std::vector<float>{100, 200, 100} : std::vector<float>{200, 200, 200};
    EXPECT_EQ(leads, expected) << "alternate " << alternate;
  }
}

TEST_F(StaticLinesTest, ReadersOfThePictureBelowAreCountedPerLook) {
  struct Case {
    int lineBlend, lineGlow, particlesOn, headGlow, readers;
  } cases[] = {{0, 0, 1, 2, 1}, {1, 0, 0, 2, 1}, {0, 2, 0, 0, 1},
               {1, 2, 1, 2, 3}, {1, 2, 0, 2, 2}, {0, 1, 1, 1, 0}};
  for (const Case& c : cases) {
    ZKW_GrovingLine line;
    line.lineAppearance.blend.SetValue(c.lineBlend);
    line.lineAppearance.glowMode.SetValue(c.lineGlow);
    line.particlesOn.SetValue(c.particlesOn);
    line.appearance.glowMode.SetValue(c.headGlow);
    EXPECT_EQ(line.NeedsTarget(), c.readers)
        << c.lineBlend << c.lineGlow << c.particlesOn << c.headGlow;
  }
}

}  // namespace
}  // namespace classic_test
