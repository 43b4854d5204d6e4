// The 3D text's matrices, glyph phases and light without a device.
#include "objects/text3d/text_motion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "objects/text3d/zkw_3d_tex.h"
#include "platform/math/d3dx_math.h"

namespace {

D3DXVECTOR3 Apply(const D3DXMATRIX& m, const D3DXVECTOR3& p) {
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &p, &m);
  return out;
}

void ExpectNear(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  EXPECT_NEAR(a.x, b.x, 1e-4f);
  EXPECT_NEAR(a.y, b.y, 1e-4f);
  EXPECT_NEAR(a.z, b.z, 1e-4f);
}

TEST(TextMotion, ALiftOfAHundredPercentAtPhaseZeroIsTheTextHeight) {
  const D3DXVECTOR3 centre(5, 20, -0.1f);
  ExpectNear(Apply(GlyphMotionMatrix(1, 0.0f, 100, 40, centre), centre),
             centre + D3DXVECTOR3(0, 40, 0));
  ExpectNear(Apply(GlyphMotionMatrix(3, 0.5f, 50, 40, centre), centre),
             centre + D3DXVECTOR3(0, 20, 0));
  // At rest (q = 1) every kind leaves the glyph where it is.
  for (int kind = 0; kind <= 7; ++kind) {
    SCOPED_TRACE(kind);
    const D3DXVECTOR3 corner(7, 25, 0);
    ExpectNear(Apply(GlyphMotionMatrix(kind, 1.0f, 80, 40, centre), corner), corner);
  }
  // The flip turns half way about the glyph's centre at q = 0.
  ExpectNear(Apply(GlyphMotionMatrix(2, 0.0f, 100, 40, centre), centre + D3DXVECTOR3(1, 0, 0)),
             centre + D3DXVECTOR3(-1, 0, 0));
}

TEST(TextMotion, GlyphPhasesRunFromRestAcrossEachUnitOfTime) {
  EXPECT_FLOAT_EQ(GlyphPhase(0.25f, 0, 0.1f, 0, 0, 1), 0.5f);
  EXPECT_FLOAT_EQ(GlyphPhase(0.35f, 1, 0.1f, 0, 0, 1), 0.5f) << "delayed by one glyph";
  // A glyph still waiting for its start cycles as it does afterwards, within -1..1.
  for (float t : {0.0f, 0.05f, 0.15f}) {
    const float q = GlyphPhase(t, 3, 0.1f, 0, 0, 1);
    EXPECT_GE(q, -1.0f);
    EXPECT_LE(q, 1.0f);
  }
  // Looping with a period of 0 rests, whatever the time.
  for (float t : {0.0f, 0.3f, 2.7f, 100.0f})
    EXPECT_EQ(GlyphPhase(t, 2, 0.1f, 1, 0, 1), 1.0f) << t;
  // Looping with a period of 2: moving for one unit, resting for the next.
  EXPECT_FLOAT_EQ(GlyphPhase(2.5f, 0, 0, 1, 2, 1), 0.0f);
  EXPECT_EQ(GlyphPhase(3.5f, 0, 0, 1, 2, 1), 1.0f);
}

TEST(TextMotion, AnArcBendsGlyphsAwayFromTheCentre) {
  const TextBox text{0, 0, 100, 20};
  const D3DXMATRIX straight = ArcMatrix(0, 1, text, 80);
  EXPECT_TRUE(D3DXMatrixIsIdentity(&straight));
  const D3DXMATRIX centre = ArcMatrix(90, 1, text, 50);
  ExpectNear(Apply(centre, D3DXVECTOR3(50, 10, 0)), D3DXVECTOR3(50, 10, 0));
  ExpectNear(Apply(centre, D3DXVECTOR3(47, 3, 0)), D3DXVECTOR3(47, 3, 0));
  const D3DXMATRIX edge = ArcMatrix(90, 1, text, 100);
  EXPECT_NEAR(std::atan2(edge._12, edge._11) * 180 / 3.14159265f, -45.0f, 1e-3f);
  // A text without width has no arc to bend along.
  const D3DXMATRIX flat = ArcMatrix(90, 1, TextBox{5, 0, 5, 20}, 5);
  EXPECT_TRUE(D3DXMatrixIsIdentity(&flat));
}

TEST(TextMotion, TheLightFollowsItsAngles) {
  for (float b : {0.0f, 45.0f, 90.0f, 200.0f}) {
    SCOPED_TRACE(b);
    ExpectNear(TextLightDirection(0, b), D3DXVECTOR3(1, 0, 0));
  }
  ExpectNear(TextLightDirection(90, 90), D3DXVECTOR3(0, 0, 1));
  // Rounding may put x^2 + y^2 above 1: z is 0 then, not NaN.
  for (float a : {0.0f, 180.0f, 360.0f})
    EXPECT_FALSE(std::isnan(TextLightDirection(a, 0).z));
}

TEST(TextMotion, ObjectMotionsKeepThePivotInPlace) {
  const D3DXVECTOR3 pivot(100, 50, 2);
  for (int kind : {1, 2, 3, 4}) {
    SCOPED_TRACE(kind);
    ExpectNear(Apply(ObjectMotionMatrix(kind, 1, 30, 20, pivot), pivot), pivot);
  }
  ExpectNear(Apply(ObjectMotionMatrix(1, 2, 90, 0, pivot), pivot + D3DXVECTOR3(10, 0, 0)),
             pivot + D3DXVECTOR3(0, 10, 0));
  // sin(0.1 x phase) = 1: scaled by 1.5.
  ExpectNear(Apply(ObjectMotionMatrix(4, 0, 15.707963f, 50, pivot), pivot + D3DXVECTOR3(10, 0, 0)),
             pivot + D3DXVECTOR3(15, 0, 0));
  const D3DXMATRIX none = ObjectMotionMatrix(1, 7, 30, 0, pivot);
  EXPECT_TRUE(D3DXMatrixIsIdentity(&none)) << "no axis to turn about";
}

TEST(TextMotion, TickPlacesTheTextCentreOnThePositionAndBendsEachGlyph) {
  ZKW_3DTex text;
  text.glyphs.textBounds.SetRect(100, 20, D3DXVECTOR3(50, 10, 0));
  text.glyphs.glyphBounds.resize(2);
  text.glyphs.glyphBounds[0].SetRect(10, 20, D3DXVECTOR3(5, 10, 0));
  text.glyphs.glyphBounds[1].SetRect(10, 20, D3DXVECTOR3(95, 10, 0));
  text.glyphMatrices.resize(2);
  text.text.font.size.SetValue(2);
  text.position.SetValue(D3DXVECTOR3(300, 200, 5));
  text.objectSpeed.SetValue(0);
  text.glyphMotion.SetValue(1);
  text.glyphAmplitude.SetValue(100);
  text.Tick(0.25f);  // T = 0.2 after the first step's cut: q = 0.6
  ExpectNear(Apply(text.objectMatrix, D3DXVECTOR3(50, 10, 0)), D3DXVECTOR3(300, 200, 5));
  // Mesh y up is scene y down, scaled by the font size.
  ExpectNear(Apply(text.objectMatrix, D3DXVECTOR3(50, 20, 0)), D3DXVECTOR3(300, 180, 5));
  EXPECT_FLOAT_EQ(text.glyphTime, 0.2f);
  const float lift = 20 * (1 - 0.6f * 0.6f);
  ExpectNear(Apply(text.glyphMatrices[1], D3DXVECTOR3(95, 10, 0)), D3DXVECTOR3(95, 10 + lift, 0));
  text.Restart();
  EXPECT_EQ(text.glyphTime, 0.0f);
  EXPECT_EQ(text.glyphLast, 0.0f);
}

}  // namespace
