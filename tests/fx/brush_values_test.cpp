// What each brush kind sets on its effect, read back with the effect's getters, on an 800 x 600
// picture.
#include <gtest/gtest.h>

#include <cmath>

#include "core/scene/scene_services.h"
#include "fx/distortion/ds_bend_fx.h"
#include "fx/distortion/ds_expand_fx.h"
#include "fx/distortion/ds_quorbel_radial.h"
#include "fx/distortion/ds_quorbel_vortical.h"
#include "fx/distortion/ds_rotation_fx.h"
#include "fx/fx_fixture.h"
#include "fx/lines/ds_perspective_fx.h"
#include "fx/lines/ds_stretch_fx.h"
#include "fx/waves/ds_radial_wave_fx.h"
#include "fx/waves/ds_waves_fx.h"
#include "platform/math/d3dx_math.h"

namespace fx_test {
namespace {

constexpr float kPi = 3.1415927f;
const D3DXVECTOR3 kMiddle(400, 300, 0);

TEST_F(BrushValuesTest, TheCanvasIsThePictureAndTheTarget) {
  float w = 0, h = 0;
  CurrentTargetSize(w, h);
  EXPECT_EQ(w, 800.0f);
  EXPECT_EQ(h, 600.0f);
  EXPECT_EQ(GetSceneView()->pictureWidth, 800u);
}

TEST_F(BrushValuesTest, WavesRunAlongTheirAngleWithTheirCopy) {
  // Read from a record: the read brush keeps the default vectors, its run-time copy turns them.
  DS_WavesFX written;
  written.directionAngle.SetValue(90);
  auto read = ReadBrush<DS_WavesFX>(Written([&](DS_IOF_Archive& a) { written.Save(a); }));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->direction, DS_WavesFX().direction);
  DS_FX_Constructor& brush = Drawn(*read);
  ExpectNear(Values(brush, "direction", 2), {0, 1});
  ExpectNear(Values(brush, "direction_n", 2), {1, 0});

  read->parallelFlag.SetValue(1);
  ExpectNear(Values(Drawn(*read), "direction_n", 2), {0, 1}, 1e-5f, "along the direction");

  DS_WavesFX plain;
  plain.wavelength.SetValue(0);
  plain.timing.SetTiming(std::make_unique<FixedTimeline>(0.5f));
  DS_FX_Constructor& drawn = Drawn(plain, 1.0f);
  ExpectNear(Values(drawn, "direction", 2), {-1, 0});
  ExpectNear(Values(drawn, "direction_n", 2), {0, 1});
  ExpectNear(Values(drawn, "frequency", 1), {1000}, 1e-3f);
  ExpectNear(Values(drawn, "amplitude", 1), {0.0125f * 0.5f});
  ExpectNear(Values(drawn, "time", 1), {drawn.Phase() * 0.08f});
  EXPECT_NEAR(drawn.Phase(), 25.0f, 1e-3f) << "speed 25";
  ExpectNear(Values(drawn, "Scale", 2), {800.0f / 600.0f, 1});
  EXPECT_EQ(drawn.effect->GetCurrentTechnique(), std::string("Main"));
}

TEST_F(BrushValuesTest, RadialWavesAreRoundAboutTheirCentre) {
  DS_RadialWaveFX brush;
  brush.centre.SetValue(D3DXVECTOR3(200, 450, 0));
  brush.SetTargetPoint(200, -150, 0);
  DS_FX_Constructor& drawn = Drawn(brush, 1.0f);
  ExpectNear(Values(drawn, "bg_scale_factor", 2), {1, 0.75f});
  ExpectNear(Values(drawn, "center", 2), {0.5f, 0.5f}, 1e-5f, "moved by the target point");
  drawn.SetTargetPoint(0, 0, 0);
  drawn.Draw(canvas_);
  ExpectNear(Values(drawn, "center", 2), {0.25f, 0.75f});
  ExpectNear(Values(drawn, "frequency", 1), {1.0f / 0.006f}, 1e-2f);
  ExpectNear(Values(drawn, "time", 1), {-drawn.Phase() * 0.08f}, 1e-5f, "rings run out");

  brush.timeSignFlag.SetValue(1);
  brush.ringStretch.SetValue(0);
  brush.wavelength.SetValue(0);
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(0.0f));
  DS_FX_Constructor& inwards = Drawn(brush, 1.0f);
  ExpectNear(Values(inwards, "time", 1), {inwards.Phase() * 0.08f});
  ExpectNear(Values(inwards, "bg_scale_factor", 2), {1, 3 * 0.75f});
  ExpectNear(Values(inwards, "frequency", 1), {1000}, 1e-3f);
  ExpectNear(Values(inwards, "amplitude", 1), {0});
}

TEST_F(BrushValuesTest, ExpandMagnifiesOrShrinksWithTheTimeline) {
  DS_ExpandFX brush;
  brush.centre.SetValue(kMiddle);
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(0.5f));
  DS_FX_Constructor& expanding = Drawn(brush, 0.5f);
  ExpectNear(Values(expanding, "amplitude", 2), {0.25f * 0.5f, 0});
  ExpectNear(Values(expanding, "Center", 2), {0.5f, 0.5f});
  ExpectNear(Values(expanding, "Scale", 4), {800.0f / 600.0f, 1, 0.75f, 1});

  brush.swingMode.SetValue(1);
  brush.contraction.SetValue(40);
  ExpectNear(Values(Drawn(brush, 0.5f), "amplitude", 2), {0, 0.2f * 0.5f});

  // Swinging: at phase pi / 2 the sine swing is at full expansion.
  brush.swingMode.SetValue(3);
  brush.speed.SetValue(50);
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(1.0f));
  auto& swing = static_cast<DS_ExpandFX&>(Drawn(brush, 0.0f));
  swing.speed.localTime = kPi / 2;
  swing.speed.lastTime = 1.0;
  swing.Tick(1.0f);
  EXPECT_NEAR(swing.amount, 0.25f, 1e-5f);
}

TEST_F(BrushValuesTest, RotationTurnsOnItsEllipse) {
  DS_RotationFX brush;
  EXPECT_TRUE(brush.effectLink.name.empty()) << "no link of its own";
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2101);
  brush.centre.SetValue(kMiddle);
  brush.ellipseRatio.SetValue(1000);
  brush.speed.SetValue(200);  // x 0.005: 1 radian a second
  auto& turning = static_cast<DS_RotationFX&>(Drawn(brush, 0.5f));
  const float a = turning.turn;
  EXPECT_NEAR(a, 0.5f, 1e-4f) << "turns with the phase";
  ExpectNear(Values(turning, "coord_transf", 4),
             {std::cos(a), std::sin(a), -std::sin(a), std::cos(a)});
  ExpectNear(Values(turning, "offset", 2), {-0.5f, -0.5f});
  ExpectNear(Values(turning, "mix_color", 4), {1, 1, 1, 1});

  // A ratio of 0 (the default) is a circle too, not a division by zero.
  brush.ellipseRatio.SetValue(0);
  const Floats circle = Values(Drawn(brush, 0.5f), "coord_transf", 4);
  ExpectNear(circle, {std::cos(a), std::sin(a), -std::sin(a), std::cos(a)});

  // An ellipse of ratio 2 tilted by 90 degrees: T' R T with R's corners scaled.
  brush.ellipseRatio.SetValue(2000);
  brush.ellipseTilt.SetValue(90);
  D3DXMATRIX r, t, u, m;
  D3DXMatrixRotationZ(&r, a);
  r._12 *= 2;
  r._21 /= 2;
  D3DXMatrixRotationZ(&t, 90 * kPi / 180);
  D3DXMatrixRotationZ(&u, -90 * kPi / 180);
  D3DXMatrixMultiply(&m, &u, &r);
  D3DXMatrixMultiply(&m, &m, &t);
  ExpectNear(Values(Drawn(brush, 0.5f), "coord_transf", 4), {m._11, m._12, m._21, m._22});

  // Timeline-driven: the turn follows the fade; time mode 1 fades the colour.
  brush.timelineDriven.SetValue(1);
  brush.reverseFlag.SetValue(2);
  brush.angleOffset.SetValue(90);
  brush.timing.timeMode.SetValue(1);
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(0.5f));
  auto& fading = static_cast<DS_RotationFX&>(Drawn(brush, 0.5f));
  EXPECT_NEAR(fading.turn, -0.5f * kPi / 2, 1e-5f);
  ExpectNear(Values(fading, "mix_color", 4), {1, 1, 1, 0.5f});
}

TEST_F(BrushValuesTest, BendSwingsBetweenItsAngles) {
  DS_BendFX brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2102);
  brush.centre.SetValue(kMiddle);
  brush.bendAngleA.SetValue(500);  // 1 radian
  brush.bendAngleB.SetValue(250);
  brush.bendStrength.SetValue(50);
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(0.5f));
  struct Case {
    int mode;
    float turn;
  };
  // At phase 0 a sine swing sits halfway: (A - B) / 2.
  for (const Case c : {Case{0, -1}, Case{1, 1}, Case{3, 0.25f}, Case{-1, 0.25f}}) {
    SCOPED_TRACE(c.mode);
    brush.swingMode.SetValue(c.mode);
    DS_FX_Constructor& drawn = Drawn(brush);
    ExpectNear(Values(drawn, "Angle", 1), {c.turn * 0.5f});
    ExpectNear(Values(drawn, "Bend", 1), {1});
  }
}

TEST_F(BrushValuesTest, GridKindsDrawTheirQuadInModeZeroAndFollowTheTargetPoint) {
  DS_BendFX brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2102);
  brush.centre.SetValue(kMiddle);
  brush.maskQuad.SetRect(200, 100, kMiddle);
  object_ = MakeObject(brush);
  DS_FX_Constructor& drawn = Brushed(object_).Brush();
  object_->SetTargetPoint(40, -20, 0);
  ClearLog();
  object_->Draw(canvas_);
  ExpectNear(Values(drawn, "Center", 2), {0.55f, 0.4666667f});
  EXPECT_EQ(drawn.grid.node.world._41, 40.0f);
  EXPECT_EQ(drawn.grid.node.world._42, -20.0f);
  ASSERT_FALSE(Log().empty());
  EXPECT_TRUE(Log().back().indexed);
  EXPECT_EQ(Log().back().technique, "Main");
  EXPECT_EQ(Log().back().primitiveCount, 8u) << "2 x 2 cells";

  drawn.mode.SetValue(1);
  ClearLog();
  object_->Draw(canvas_);
  ASSERT_FALSE(Log().empty());
  EXPECT_FALSE(Log().back().indexed) << "the whole picture";
  EXPECT_EQ(Log().back().technique, "MainFX");
}

TEST_F(BrushValuesTest, RipplesShiftByTheFractionOfATurn) {
  DS_QuorbelRadial ripple;
  ripple.amplitude.SetValue(10);
  DS_QuorbelVortical swirl;
  swirl.amplitude.SetValue(10);
  for (DS_FX_Constructor* description :
       {static_cast<DS_FX_Constructor*>(&ripple), static_cast<DS_FX_Constructor*>(&swirl)}) {
    description->effectLink = DS_HLSLEffectFile(u"glimres.dll", 2103);
    DS_FX_Constructor& drawn = Drawn(*description);
    for (float phase : {0.0f, 2 * kPi, 4 * kPi, kPi}) {
      SCOPED_TRACE(phase);
      drawn.speed.localTime = phase;
      EXPECT_NEAR(drawn.FractionalTurn(), phase == kPi ? 0.5f : 0.0f, 1e-6f);
    }
  }
  ExpectNear(Values(Drawn(ripple), "Amplitude", 2), {0, 0.05f}, 1e-5f, "inwards");
  ripple.directionFlag.SetValue(1);
  ExpectNear(Values(Drawn(ripple), "Amplitude", 2), {0.05f, 0}, 1e-5f, "outwards");
  EXPECT_TRUE(ripple.KindFlag());
  EXPECT_FALSE(swirl.KindFlag());
}

TEST_F(BrushValuesTest, SwirlTurnsItsEllipseAndReversesOnlyForOne) {
  DS_QuorbelVortical swirl;
  swirl.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2104);
  swirl.centre.SetValue(kMiddle);
  swirl.amplitude.SetValue(20);
  swirl.ellipseTilt.SetValue(30);
  swirl.ellipseDeformation.SetValue(250);
  swirl.SetTargetPoint(100, 100, 0);
  object_ = MakeObject(swirl);
  Brushed(object_).SetTargetPoint(100, 100, 0);
  object_->Draw(canvas_);
  DS_FX_Constructor& drawn = Brushed(object_).Brush();
  ExpectNear(Values(drawn, "Center", 2), {0.5f, 0.5f}, 1e-5f, "it does not follow the target");
  ExpectNear(Values(drawn, "ElipsDeform", 1), {0.25f});
  ExpectNear(Values(drawn, "Amplitude", 1), {0.1f});
  D3DXMATRIX turn, back, expected;
  drawn.effect->GetMatrix("r_matrix2", &turn);
  drawn.effect->GetMatrix("r_matrix3", &back);
  D3DXMatrixRotationZ(&expected, 30 * kPi / 180);
  EXPECT_NEAR(turn._12, expected._12, 1e-6f);
  EXPECT_NEAR(back._12, -expected._12, 1e-6f);
  for (const auto& [flag, sign] : {std::pair{1, -1.0f}, std::pair{2, 1.0f}}) {
    swirl.reverseFlag.SetValue(flag);
    ExpectNear(Values(Drawn(swirl), "Amplitude", 1), {sign * 0.1f});
  }
}

TEST_F(BrushValuesTest, LinesThroughTheCentreInTextureCoordinates) {
  DS_StretchFX stretch;
  stretch.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2106);
  stretch.centre.SetValue(kMiddle);
  DS_PerspectiveFX perspective;
  perspective.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2105);
  perspective.centre.SetValue(kMiddle);

  auto& lines = static_cast<DS_LineBased&>(Drawn(stretch));
  ExpectNear({lines.ln.begin(), lines.ln.end()}, {0, 1, -0.5f});
  ExpectNear({lines.lt.begin(), lines.lt.end()}, {1, 0, -0.5f});
  ExpectNear(Values(lines, "Ln", 3), {0, 1, -0.5f});
  ExpectNear(Values(lines, "t", 2), {0, -1});
  ExpectNear(Values(lines, "n", 2), {1, 0});

  auto& tilted = static_cast<DS_LineBased&>(Drawn(perspective));
  ExpectNear({tilted.ln.begin(), tilted.ln.end()}, {0, 1, -0.5f});
  ExpectNear({tilted.lt.begin(), tilted.lt.end()}, {1.0f / 600, 0, -1.0f / 1200}, 1e-7f);

  // Outside mode 0 the lines go through the centre moved by the target point.
  tilted.mode.SetValue(1);
  tilted.SetTargetPoint(0, 150, 0);
  tilted.ComputeLines();
  ExpectNear({tilted.ln.begin(), tilted.ln.end()}, {0, 1, -0.75f});
  tilted.mode.SetValue(0);
  tilted.ComputeLines();
  ExpectNear({tilted.ln.begin(), tilted.ln.end()}, {0, 1, -0.5f});
}

TEST_F(BrushValuesTest, PerspectiveTiltsByItsLargerStrength) {
  DS_PerspectiveFX brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2105);
  brush.centre.SetValue(kMiddle);
  brush.tilt.SetValue(3);
  for (int mode : {0, 1, 3}) {
    SCOPED_TRACE(mode);
    brush.swingMode.SetValue(mode);
    DS_FX_Constructor& drawn = Drawn(brush, 0.5f);
    ExpectNear(Values(drawn, "amplitude", 1), {0});
    ExpectNear(Values(drawn, "p_amplitude", 1), {0});
  }
  brush.swingMode.SetValue(0);
  brush.strengthA.SetValue(500);
  DS_FX_Constructor& drawn = Drawn(brush);
  ExpectNear(Values(drawn, "amplitude", 1), {std::fabs(std::cos(1.0f)) - 1});
  ExpectNear(Values(drawn, "p_amplitude", 1), {std::sin(1.0f) * 30 * 10}, 1e-3f);

  // The larger strength scales the tilt to 1 radian: B of 1000 turns the other way by 1, x 2.
  brush.swingMode.SetValue(1);
  brush.strengthB.SetValue(1000);
  DS_FX_Constructor& other = Drawn(brush);
  ExpectNear(Values(other, "amplitude", 1), {(std::fabs(std::cos(1.0f)) - 1) * 2});
  ExpectNear(Values(other, "p_amplitude", 1), {-std::sin(1.0f) * 30 * 2 * 10}, 1e-3f);
}

TEST_F(BrushValuesTest, StretchAmountFollowsItsSideAndTheTimeline) {
  DS_StretchFX brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2106);
  brush.centre.SetValue(kMiddle);
  brush.strengthA.SetValue(100);
  brush.strengthB.SetValue(100);
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(0.5f));
  brush.swingMode.SetValue(0);
  ExpectNear(Values(Drawn(brush), "amplitude", 1), {-0.5f});
  brush.swingMode.SetValue(1);
  ExpectNear(Values(Drawn(brush), "amplitude", 1), {0.5f});
}

TEST_F(BrushValuesTest, ANeverPlacedBrushMovesToTheMiddleOfTheScene) {
  DS_ExpandFX brush;
  brush.centre.SetValue(D3DXVECTOR3(10, 20, 0));
  auto& kept = static_cast<DS_CentralBased&>(Drawn(brush));
  EXPECT_EQ(kept.centre.Value(), D3DXVECTOR3(10, 20, 0)) << "placed: it stays";

  brush.keepGuid = 0;
  int told = 0;
  std::unique_ptr<DS_FX_Constructor> copy = brush.Clone();
  auto& central = static_cast<DS_CentralBased&>(*copy);
  struct Counter : MediaControl {
    explicit Counter(int& n) : n(n) {}
    void OnParamChanged(MediaControl*) override { ++n; }
    int& n;
  } counter(told);
  central.centre.AddControl(&counter);
  central.Prepare(nullptr);
  central.centre.RemoveControl(&counter);
  EXPECT_EQ(central.centre.Value(), kMiddle);
  EXPECT_EQ(central.keepGuid, 1);
  EXPECT_EQ(told, 1);
  EXPECT_EQ(DS_ExpandFX().centre.Value(), D3DXVECTOR3(0, 0, 0)) << "a new brush starts at 0";
}

// On a canvas without a picture, in a scene and a target of no size, with a scale of 0 and the
// zero defaults, every kind sets finite values.
TEST_F(BrushValuesTest, EmptySizesGiveFiniteValues) {
  DS_2D_Light empty;
  DocumentTlsSlot::Install(std::make_unique<DS_DocResManager>());
  RenderContext bare;
  RenderContextTlsSlot::Set(&bare);

  struct Case {
    std::function<std::unique_ptr<DS_FX_Constructor>()> make;
    std::vector<std::pair<const char*, int>> values;
  };
  auto link = [](auto brush, int64_t id) {
    brush->effectLink = DS_HLSLEffectFile(u"glimres.dll", id);
    return brush;
  };
  const std::pair<const char*, int> kCommon[] = {{"Scale", 2}, {"mask_position", 2}};
  const Case cases[] = {
      {[] { return std::make_unique<DS_WavesFX>(); }, {{"frequency", 1}, {"amplitude", 1}}},
      {[] { return std::make_unique<DS_RadialWaveFX>(); },
       {{"bg_scale_factor", 2}, {"center", 2}, {"frequency", 1}}},
      {[] { return std::make_unique<DS_ExpandFX>(); }, {{"Scale", 4}, {"Center", 2}}},
      {[&] { return link(std::make_unique<DS_RotationFX>(), 2101); },
       {{"coord_transf", 4}, {"offset", 2}}},
      {[&] { return link(std::make_unique<DS_BendFX>(), 2102); }, {{"Scale", 4}, {"Center", 2}}},
      {[&] { return link(std::make_unique<DS_QuorbelRadial>(), 2103); }, {{"Amplitude", 2}}},
      {[&] { return link(std::make_unique<DS_QuorbelVortical>(), 2104); }, {{"ElipsDeform", 1}}},
      {[&] { return link(std::make_unique<DS_PerspectiveFX>(), 2105); },
       {{"Ln", 3}, {"Lt", 3}, {"t", 2}, {"n", 2}, {"amplitude", 1}, {"p_amplitude", 1}}},
      {[&] { return link(std::make_unique<DS_StretchFX>(), 2106); },
       {{"Ln", 3}, {"Lt", 3}, {"t", 2}, {"n", 2}, {"amplitude", 1}}},
  };
  for (const Case& c : cases) {
    std::unique_ptr<DS_FX_Constructor> brush = c.make();
    const DS_FX_Constructor& kind = *brush;
    SCOPED_TRACE(typeid(kind).name());
    brush->scale.SetValue(0);
    brush->keepGuid = 0;
    brush->SetTargetPoint(3, 4, 0);
    std::unique_ptr<DS_FX_Constructor> copy = brush->Clone();
    copy->Prepare(nullptr);
    copy->Tick(0.0f);
    copy->Tick(0.1f);
    ASSERT_TRUE(copy->effect);
    copy->Draw(empty);
    std::vector<std::pair<const char*, int>> names(std::begin(kCommon), std::end(kCommon));
    names.insert(names.end(), c.values.begin(), c.values.end());
    for (const auto& [name, count] : names) {
      for (float v : Values(*copy, name, count))
        EXPECT_TRUE(std::isfinite(v)) << name;
    }
  }
  RenderContextTlsSlot::Set(&Context());
}

}  // namespace
}  // namespace fx_test
