// The brushes that work along a direction: the move, the linear ripple and the waterfall. Their
// records, what they set on their effects, what the waterfall draws, and their pixels.
#include <gtest/gtest.h>

#include <memory>

#include "fx/direction/ds_move_fx.h"
#include "fx/direction/ds_quorbel_linear.h"
#include "fx/direction/ds_waterfall_fx.h"
#include "fx/fx_fixture.h"
#include "fx/record_layout.h"

namespace fx_test {
namespace {

constexpr int64_t kLinearEffect = 2150;
constexpr int64_t kWaterfallEffect = 2151;

using DirectionRecordsTest = FxTest;

TEST_F(DirectionRecordsTest, KindsStoreTheirFieldsAheadOfTheDirectionBase) {
  DS_MoveFX move;
  move.moveMode.SetValue(5);
  move.secondStrength.SetValue(7);
  move.baseStrength.SetValue(9);
  move.directionAngle.SetValue(30);
  ExpectLayout(Written([&](DS_IOF_Archive& a) { move.Save(a); }), u"DS_MoveFX", 3,
               {Word(5), Word(7)}, u"DS_DirectionBased");
  ExpectRoundTrip(move);

  DS_QuorbelLinear linear;
  linear.baseStrength.SetValue(9);
  linear.effectLink = DS_HLSLEffectFile(u"glimres.dll", kLinearEffect);
  ExpectLayout(Written([&](DS_IOF_Archive& a) { linear.Save(a); }), u"DS_QuorbelLinear", 1, {},
               u"DS_DirectionBased");
  ExpectRoundTrip(linear);

  DS_WaterfallFX fall;
  fall.translucency.SetValue(1);
  fall.layerCount.SetValue(2);
  fall.noiseAmplitude.SetValue(3);
  fall.extraStrength.SetValue(4);
  fall.threshold.SetValue(5);
  fall.noiseLink = DS_ImageFileLink(u"glimres.dll", 86);
  fall.baseColor.SetValue(0x123456);
  fall.disabled.SetValue(1);
  fall.baseStrength.SetValue(8);
  ExpectLayout(Written([&](DS_IOF_Archive& a) { fall.Save(a); }), u"DS_WaterfallFX", 1,
               {Word(1), Word(2), Word(3), Word(4), Word(5), Link(u"glimres.dll", 86),
                Word(0x123456), Word(1)},
               u"DS_DirectionBased");
  ExpectRoundTrip(fall);
}

TEST_F(DirectionRecordsTest, OlderMoveRecordsCountTheirSwingsFromTheSine) {
  DS_MoveFX base;
  base.baseStrength.SetValue(40);
  auto old = [&](uint32_t version, std::vector<uint32_t> fields) {
    return Written([&](DS_IOF_Archive& a) {
      a.io().WriteWideString(u"DS_MoveFX");
      a.io().WriteDword(version);
      for (uint32_t v : fields)
        a.io().WriteUInt32(v);
      base.DS_DirectionBased::Save(a);
    });
  };
  auto second = ReadBrush<DS_MoveFX>(old(2, {0, 7}));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->moveMode.Value(), 3) << "mode 0 of version 2 is the sine swing";
  EXPECT_EQ(second->secondStrength.Value(), 7u);

  auto first = ReadBrush<DS_MoveFX>(old(1, {2}));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->moveMode.Value(), 5);
  EXPECT_EQ(first->secondStrength.Value(), 40u) << "the base strength's";
  EXPECT_FLOAT_EQ(first->secondStrength.Scaled(), first->baseStrength.Scaled());

  auto current = ReadBrush<DS_MoveFX>(old(3, {1, 7}));
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(current->moveMode.Value(), 1);
}

TEST_F(BrushValuesTest, MoveShiftsAgainstItsDirectionBySignedStrength) {
  DS_MoveFX brush;
  brush.directionAngle.SetValue(90);  // (0, -1) on screen
  brush.baseStrength.SetValue(500);   // 0.1
  EXPECT_TRUE(brush.KindFlag());
  ExpectNear(Values(Drawn(brush, 0.5f), "Direction", 2), {0, 0.1f}, 1e-6f, "mode 0");
  brush.moveMode.SetValue(1);
  ExpectNear(Values(Drawn(brush, 0.5f), "Direction", 2), {0, -0.1f}, 1e-6f, "mode 1 opposite");

  brush.timing.SetTiming(std::make_unique<FixedTimeline>(0.0f));
  for (int mode : {0, 1, 3}) {
    brush.moveMode.SetValue(mode);
    ExpectNear(Values(Drawn(brush, 0.5f), "Direction", 2), {0, 0}, 1e-7f, "hidden");
  }

  // A sine swing at phase pi / 2 (angle 0) reaches the base strength, at 3 pi / 2 minus the
  // second one.
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(1.0f));
  brush.moveMode.SetValue(3);
  brush.secondStrength.SetValue(250);
  brush.speed.SetValue(0);  // the phase is set by hand
  auto& swing = static_cast<DS_MoveFX&>(Drawn(brush));
  swing.speed.localTime = 3.1415927f / 2;
  swing.Tick(0.0f);
  EXPECT_NEAR(swing.shift[1], 0.1f, 1e-6f);
  swing.speed.localTime = 3 * 3.1415927f / 2;
  swing.Tick(0.0f);
  EXPECT_NEAR(swing.shift[1], -0.05f, 1e-6f);
}

TEST_F(BrushValuesTest, LinearRippleShiftsByTheFractionOfATurn) {
  DS_QuorbelLinear brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", kLinearEffect);
  brush.baseStrength.SetValue(50);  // 0.1
  brush.directionAngle.SetValue(180);
  DS_FX_Constructor& drawn = Drawn(brush);
  ExpectNear(Values(drawn, "Direction", 2), {-0.1f, 0});
  ExpectNear(Values(drawn, "Shift", 1), {0});
  ExpectNear(Values(drawn, "Scale", 4), {800.0f / 600.0f, 1, 0.75f, 1});
  for (float phase : {2 * 3.1415927f, 3.1415927f / 2}) {
    drawn.speed.localTime = phase;
    drawn.Draw(canvas_);
    ExpectNear(Values(drawn, "Shift", 1), {phase > 5 ? 0.0f : 0.25f}, 1e-6f);
  }
}

TEST_F(BrushValuesTest, WaterfallLayersAreStaggeredOverOneTurn) {
  DS_WaterfallFX brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", kWaterfallEffect);
  brush.layerCount.SetValue(4);
  brush.translucency.SetValue(40);   // 0.6
  brush.baseStrength.SetValue(100);  // 0.4
  brush.directionAngle.SetValue(90);
  auto& drawn = static_cast<DS_WaterfallFX&>(Drawn(brush));
  ASSERT_EQ(drawn.layers.size(), 4u);
  const float translucencies[] = {0, 0.5f, 1, 0.5f};
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(drawn.layers[i].translucency, translucencies[i] * 0.6f, 1e-6f);
    EXPECT_NEAR(drawn.layers[i].shift[0], 0.0f, 1e-6f);
    EXPECT_NEAR(drawn.layers[i].shift[1], 0.4f * 0.25f * float(i), 1e-6f) << "up the screen";
  }
  ExpectNear(Values(drawn, "transluency", 1), {0.5f * 0.6f}, 1e-6f, "the last layer drawn");
  ExpectNear(Values(drawn, "treshold", 1), {1});

  // The noise scrolls against the direction by a tenth of the phase per unit of scale.
  drawn.speed.localTime = 2.0f;
  drawn.Tick(0.0f);
  EXPECT_NEAR(drawn.noiseShift[1], 0.2f, 1e-6f);

  // A count from a file is kept as it was read, the layers at most 256.
  brush.layerCount.SetValue(0xFFFFFFFFu);
  auto& many = static_cast<DS_WaterfallFX&>(Drawn(brush));
  EXPECT_EQ(many.layers.size(), DS_WaterfallFX::kMaxLayers);
  EXPECT_EQ(many.layerCount.Value(), 0xFFFFFFFFu);
}

// The waterfall's draws through the frame log: the noise pass only with noise, one colour pass
// per layer, nothing when disabled; all through the 2 x 2-cell grid.
TEST_F(BrushValuesTest, WaterfallDrawsItsPassesThroughTheGrid) {
  DS_WaterfallFX brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", kWaterfallEffect);
  brush.maskQuad.SetRect(200, 100, D3DXVECTOR3(400, 300, 0));
  struct Case {
    unsigned layers, noise;
    int disabled;
    std::vector<std::string> techniques;
  };
  const Case cases[] = {
      {3, 50, 0, {"Noise", "ColorWaves", "ColorWaves", "ColorWaves"}},
      {2, 0, 0, {"ColorWaves", "ColorWaves"}},
      {0, 50, 0, {"Noise"}},
      {3, 50, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.layers << " layers, noise " << c.noise);
    brush.layerCount.SetValue(c.layers);
    brush.noiseAmplitude.SetValue(c.noise);
    brush.disabled.SetValue(c.disabled);
    for (int mode : {0, 1}) {
      brush.mode.SetValue(mode);
      object_ = MakeObject(brush);
      EXPECT_EQ(object_->NeedsPictureBelow(), 0) << "it reads through its grid only";
      ClearLog();
      object_->Draw(canvas_);
      ASSERT_EQ(Log().size(), c.techniques.size());
      for (size_t i = 0; i < Log().size(); ++i) {
        EXPECT_EQ(Log()[i].technique, c.techniques[i]);
        EXPECT_TRUE(Log()[i].indexed);
        EXPECT_EQ(Log()[i].primitiveCount, 8u);
      }
    }
  }
}

using DirectionPixelsTest = BrushFrameTest;

TEST_F(DirectionPixelsTest, MoveShiftsTheBarByItsStrength) {
  const float plain = BarCentre(StartBarSlide(renderer_));
  ASSERT_GT(plain, 0);
  for (int mode : {0, 1, 2}) {
    SCOPED_TRACE(mode);
    DS_MoveFX brush;
    brush.mode.SetValue(mode);
    brush.baseStrength.SetValue(1250);  // a quarter of the picture
    brush.moveMode.SetValue(0);
    auto object = MakeObject(brush);
    EXPECT_NEAR(BarCentre(FrameAfter(object, 0.0f, 0.5f)), plain + 16, 0.6f) << "to the right";

    brush.moveMode.SetValue(1);
    auto back = MakeObject(brush);
    EXPECT_NEAR(BarCentre(FrameAfter(back, 0.0f, 0.5f)), plain - 16, 0.6f) << "to the left";
  }
}

TEST_F(DirectionPixelsTest, LinearRippleMovesEdgesInsideItsQuadAndTravels) {
  const std::vector<uint32_t> picture = StartStripedSlide(renderer_);
  DS_QuorbelLinear brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", kLinearEffect);
  brush.baseStrength.SetValue(20);  // 0.04 of the picture
  brush.speed.SetValue(10);
  brush.maskQuad.SetRect(64, 32, D3DXVECTOR3(32, 16, 0));
  auto object = MakeObject(brush);
  const auto first = FrameAfter(object, 0.0f, 1.0f);
  const auto [inside, outside] =
      RegionDifferences(first, picture, [](uint32_t, uint32_t y) { return y < 32; });
  EXPECT_GT(inside, 100);
  EXPECT_LE(outside, 2) << "mode 0 draws the mask quad only";
  EXPECT_GT(MaxDifference(first, FrameAfter(object, 1.1f, 1.5f)), 60) << "it travels";

  brush.baseStrength.SetValue(0);
  auto still = MakeObject(brush);
  EXPECT_LE(MaxDifference(FrameAfter(still, 0.0f, 1.0f), picture), 2) << "no strength";
}

TEST_F(DirectionPixelsTest, WaterfallStreaksBrightPartsAlongItsDirectionWithThePhase) {
  const std::vector<uint32_t> picture = StartStripedSlide(renderer_);
  DS_WaterfallFX brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", kWaterfallEffect);
  brush.layerCount.SetValue(3);
  brush.baseStrength.SetValue(20);  // 0.08: half a stripe period over a turn
  brush.threshold.SetValue(500);    // brightness above 0.5
  brush.speed.SetValue(20);
  brush.maskQuad.SetRect(64, 32, D3DXVECTOR3(32, 16, 0));
  auto object = MakeObject(brush);
  const auto first = FrameAfter(object, 0.0f, 1.0f);
  const auto [inside, outside] =
      RegionDifferences(first, picture, [](uint32_t, uint32_t y) { return y < 32; });
  EXPECT_GT(inside, 60) << "white streaks over the black stripes";
  EXPECT_LE(outside, 2);
  EXPECT_GT(MaxDifference(first, FrameAfter(object, 1.1f, 1.6f)), 40) << "they stream on";

  brush.threshold.SetValue(0);  // nothing is brighter than 1
  brush.noiseAmplitude.SetValue(0);
  auto none = MakeObject(brush);
  EXPECT_LE(MaxDifference(FrameAfter(none, 0.0f, 1.0f), picture), 2);
}

}  // namespace
}  // namespace fx_test
