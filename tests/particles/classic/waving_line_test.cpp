#include <gtest/gtest.h>

#include <cmath>

#include "lines_fixture.h"
#include "particles/classic/lines/waving_line.h"
#include "platform/math/d3dx_math.h"

namespace classic_test {
namespace {

class WavingLineTest : public ClassicRenderTest {
 protected:
  // A string from (20, 50) to (220, 50), 8 wide, its strip drawn with a white square picture
  // (repeat 8).
  void String(ZKW_WavingLine& line, unsigned amplitude, unsigned ripple) {
    line.start.SetValue({20, 50, 0});
    line.end.SetValue({220, 50, 0});
    line.width.SetValue(8);
    line.amplitude.SetValue(amplitude);
    line.ripple.SetValue(ripple);
    WhiteLook(line.lineAppearance, DS_ImageFileLink(u"streak.png", 1), 8);
    WhiteLook(line.appearance, DS_ImageFileLink(u"spark.png", 1), 4);
  }

  static float StripLength(const std::vector<DX_V::PCT>& quads) {
    float sum = 0.0f;
    for (size_t q = 0; q < quads.size(); q += 4) {
      const D3DXVECTOR3 d = LeadingMiddle(&quads[q]) - TrailingMiddle(&quads[q]);
      sum += D3DXVec3Length(&d);
    }
    return sum;
  }
};

TEST_F(WavingLineTest, WithoutAmplitudeTheStringIsTheStraightCourse) {
  ZKW_WavingLine description;
  String(description, 0, 50);
  description.offsetAlong.SetValue(3.0f);
  Running<ZKW_WavingLine> run(description);
  EXPECT_FLOAT_EQ(run.control.length, 200.0f);
  EXPECT_EQ(run.control.normal, D3DXVECTOR3(0, 1, 0));
  run.control.Update(0.0f);
  run.control.Update(0.7f);
  const std::vector<DX_V::PCT> quads = run.Quads(0);
  ASSERT_GE(quads.size(), 4u * 99);
  for (const DX_V::PCT& v : quads)
    EXPECT_NEAR(std::fabs(v.y - 50.0f), 4.0f, 1e-3);
  EXPECT_NEAR(StripLength(quads), 200.0f, 0.05);
  EXPECT_NEAR(quads[1].v, 0.0f, 1e-6) << "the texture starts at the start point";
  EXPECT_NEAR(quads[quads.size() - 4].v, 25.0f, 0.01) << "length / repeat at the far end";
  const RoutineParticle& head = *run.control.particles.front();
  EXPECT_NEAR(head.position.x, 223.0f, 0.01) << "at the end and 3 on along the course";
  EXPECT_NEAR(head.position.y, 50.0f, 1e-3);
  EXPECT_EQ(run.mech.quadCounts[1], 1u);
}

TEST_F(WavingLineTest, TheWavesFarEndFollowsItsTwoTerms) {
  ZKW_WavingLine description;
  String(description, 30, 40);
  Running<ZKW_WavingLine> run(description);
  run.control.speed.localTime = 0.0f;
  // At T = 0 only the second term: 0.5 (cos pi - cos 2 pi) A K = -A K.
  D3DXVECTOR3 far = run.control.WavePoint(100);
  EXPECT_NEAR(far.x, 220.0f, 1e-3);
  EXPECT_NEAR(far.y, 50.0f - 12.0f, 1e-3);
  const D3DXVECTOR3 near = run.control.WavePoint(0);
  EXPECT_NEAR(near.y, 50.0f, 1e-4) << "both terms are 0 at the start";

  run.control.ripple.SetValue(0);
  run.control.speed.localTime = 1.0f;
  far = run.control.WavePoint(100);
  EXPECT_NEAR(far.y, 50.0f + 30.0f * std::sin(1.0f), 1e-3) << "A sin(T) along the normal";
  const D3DXVECTOR3 t = run.control.WaveTangent(50);
  EXPECT_NEAR(D3DXVec3Length(&t), 1.0f, 1e-5);
}

TEST_F(WavingLineTest, ASwingingStringIsCutAtTheStraightLengthWithItsHeadOnTheCut) {
  ZKW_WavingLine description;
  String(description, 150, 0);
  Running<ZKW_WavingLine> run(description);
  for (float t = 0.0f; t < 1.3f; t += 0.2f)
    run.control.Update(t);
  EXPECT_NEAR(run.control.speed.localTime, 1.2f, 1e-4);
  const std::vector<DX_V::PCT> quads = run.Quads(0);
  ASSERT_FALSE(quads.empty());
  EXPECT_LT(quads.size(), 4u * 100) << "cut short of the far end";
  EXPECT_NEAR(StripLength(quads), 200.0f, 0.05);
  const D3DXVECTOR3 cut = LeadingMiddle(&quads[quads.size() - 4]);
  const RoutineParticle& head = *run.control.particles.front();
  EXPECT_NEAR(head.position.x, cut.x, 1e-3);
  EXPECT_NEAR(head.position.y, cut.y, 1e-3);
  EXPECT_NEAR(quads[quads.size() - 4].v, 25.0f, 1e-3);
}

TEST_F(WavingLineTest, ACourseOfNoLengthDrawsNoStripAndKeepsTheHeadAtItsEnd) {
  ZKW_WavingLine description;
  String(description, 30, 40);
  description.start.SetValue({220, 50, 0});
  Running<ZKW_WavingLine> run(description);
  run.control.Update(0.0f);
  run.control.Update(0.1f);
  EXPECT_EQ(run.mech.quadCounts[0], 0u);
  const RoutineParticle& head = *run.control.particles.front();
  EXPECT_EQ(head.position, D3DXVECTOR3(220, 50, 0));
  EXPECT_EQ(run.mech.quadCounts[1], 1u);
}

TEST_F(WavingLineTest, ARestartThatClearsTheParticlesMakesTheHeadAgain) {
  ZKW_WavingLine description;
  String(description, 10, 0);
  description.timing.SetValue(1);  // a random timeline: the restart clears the particles
  Running<ZKW_WavingLine> run(description);
  ASSERT_EQ(run.control.particles.size(), 1u);
  const RoutineParticle* head = run.control.particles.front().Get();
  EXPECT_EQ(head->position, D3DXVECTOR3(220, 50, 0));
  run.control.Update(0.0f);
  run.control.Update(0.1f);
  EXPECT_EQ(run.mech.quadCounts[1], 1u);
  EXPECT_NE(head->position, D3DXVECTOR3(220, 50, 0)) << "the head rides the strip's end";
}

}  // namespace
}  // namespace classic_test
