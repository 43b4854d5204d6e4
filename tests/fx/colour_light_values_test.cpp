// What the colour and light brushes set on their effects, read back with the effect's getters,
// on an 800 x 600 picture; and how the light brushes read the picture below.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fx/colour/ds_color_shift_fx.h"
#include "fx/colour/ds_day_to_night.h"
#include "fx/colour/ds_saturation_fx.h"
#include "fx/colour/ds_saturation_wave_fx.h"
#include "fx/fx_fixture.h"
#include "fx/layer/ds_erase_layer_fx.h"
#include "fx/light/ds_light_fx.h"
#include "fx/light/ds_light_fx_ii.h"
#include "fx/light/ds_light_wave_fx.h"
#include "renderers/light/picture_below_check.h"

namespace fx_test {
namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

using ColourValuesTest = BrushValuesTest;

template <class Brush>
void LinkOurs(Brush& brush, int64_t id) {
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", id);
}

TEST_F(ColourValuesTest, ValueAndSaturationShiftsScaleTowardsZeroOrOne) {
  DS_ColorShiftFX brush;
  LinkOurs(brush, 2111);
  brush.hueMode.SetValue(0);
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(1.0f));
  struct Case {
    unsigned value, saturation;
    Floats valuePair, saturationPair;
  };
  const Case cases[] = {{50, 150, {0.5f, 0}, {0.5f, 0.5f}},
                        {150, 50, {0.5f, 0.5f}, {0.5f, 0}},
                        {100, 100, {1, 0}, {1, 0}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    brush.valueShift.SetValue(c.value);
    brush.saturationShift.SetValue(c.saturation);
    DS_FX_Constructor& drawn = Drawn(brush, 0.2f);
    ExpectNear(Values(drawn, "val_shift", 2), c.valuePair);
    ExpectNear(Values(drawn, "sat_shift", 2), c.saturationPair);
  }

  // Hidden by its timeline: neutral, whatever the shifts.
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(0.0f));
  brush.hueShift.SetValue(30);
  DS_FX_Constructor& hidden = Drawn(brush, 0.2f);
  ExpectNear(Values(hidden, "color_shift", 1), {0});
  ExpectNear(Values(hidden, "val_shift", 2), {1, 0});
  ExpectNear(Values(hidden, "sat_shift", 2), {1, 0});
}

TEST_F(ColourValuesTest, FlashingIsOffInEvenWholePhasesAndOnInOddOnes) {
  DS_ColorShiftFX brush;
  LinkOurs(brush, 2111);
  brush.hueMode.SetValue(1);
  brush.valueShift.SetValue(50);
  brush.saturationShift.SetValue(150);
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(1.0f));
  // Speed 1 a second; each Tick works from the phase of the frame before.
  for (float seconds : {0.3f, 0.9f}) {
    SCOPED_TRACE(seconds);
    DS_FX_Constructor& off = Drawn(brush, seconds);
    ExpectNear(Values(off, "color_shift", 1), {0});
    ExpectNear(Values(off, "val_shift", 2), {1, 0});
    ExpectNear(Values(off, "sat_shift", 2), {1, 0});
  }
  for (float seconds : {1.2f, 1.9f}) {
    SCOPED_TRACE(seconds);
    DS_FX_Constructor& on = Drawn(brush, seconds);
    ExpectNear(Values(on, "color_shift", 1), {0.25f}, 1e-5f, "the hue swing");
    ExpectNear(Values(on, "val_shift", 2), {0.5f, 0});
    ExpectNear(Values(on, "sat_shift", 2), {0.5f, 0.5f});
  }
}

TEST_F(ColourValuesTest, HueModesTurnSwingOrHold) {
  DS_ColorShiftFX brush;
  LinkOurs(brush, 2111);
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(0.5f));
  brush.hueShift.SetValue(10);
  auto& drawn = static_cast<DS_ColorShiftFX&>(Drawn(brush, 0.0f));
  struct Case {
    int mode;
    float hue;  // at phase pi / 2, before the timeline
  };
  for (const Case c : {Case{0, 0.1f}, Case{5, 0.1f + 0.25f}, Case{3, 0.1f + 0.25f},
                       Case{2, 0.1f + 0.25f}, Case{7, 0.1f}}) {
    SCOPED_TRACE(c.mode);
    drawn.hueMode.SetValue(c.mode);
    drawn.speed.localTime = 3.1415927f / 2;
    drawn.Tick(drawn.speed.lastTime);
    EXPECT_NEAR(drawn.hue, c.hue * 0.5f, 1e-5f);
  }
}

TEST_F(ColourValuesTest, TheSaturationBandSweepsPastTheQuadsFarEdge) {
  DS_SaturationWaveFX brush;
  LinkOurs(brush, 2112);
  brush.maskQuad.SetRect(1, 1, D3DXVECTOR3(0.5f, 0.5f, 0));
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(1.0f));
  // Sweep mode 2 runs forth and back once per whole phase; speed 0.5 a second.
  ExpectNear(Values(Drawn(brush, 0.0f), "WavePos", 2), {0, 0}, 1e-5f, "from the near edge");
  DS_FX_Constructor& far = Drawn(brush, 1.0f);
  ExpectNear(Values(far, "WavePos", 2), {101, 0}, 1e-3f, "to a band beyond the far edge");
  ExpectNear(Values(far, "BgSize", 2), {800, 600});
  ExpectNear(Values(far, "WaveDir", 2), {1, 0});
  ExpectNear(Values(far, "WaveFreq", 1), {3.1415927f / 100});
  ExpectNear(Values(far, "SatMax", 1), {1});
  ExpectNear(Values(far, "SatMin", 1), {0});

  // Along 90 degrees the band runs up the screen; sweep mode 1 desaturates in odd phases.
  brush.waveDirection.SetValue(90);
  brush.sweepMode.SetValue(1);
  brush.speed.SetValue(100);  // 1 a second
  DS_FX_Constructor& odd = Drawn(brush, 1.5f);
  ExpectNear(Values(odd, "WaveDir", 2), {0, -1}, 1e-6f);
  ExpectNear(Values(odd, "WavePos", 2), {0, 1 - 101 * 0.5f}, 1e-3f);
  ExpectNear(Values(odd, "SatMax", 1), {0});
  ExpectNear(Values(odd, "SatMin", 1), {1});
}

TEST_F(ColourValuesTest, TheSaturationBrushHasAHardEdgeBeyondTheTarget) {
  DS_SaturationFX brush;
  LinkOurs(brush, 2112);
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(1.0f));
  DS_FX_Constructor& drawn = Drawn(brush, 0.0f);
  EXPECT_EQ(Values(drawn, "WaveFreq", 1)[0], kInfinity);
  ExpectNear(Values(drawn, "WavePos", 2), {800, 0});
  // Sweep mode 2 pulses by the sine: halfway at phase 0.
  ExpectNear(Values(drawn, "SatMax", 1), {0.5f});
  brush.sweepMode.SetValue(0);
  ExpectNear(Values(Drawn(brush, 0.0f), "SatMax", 1), {1});
}

TEST_F(ColourValuesTest, DayToNightSendsItsColoursAndFadesIn) {
  DS_DayToNight brush;
  LinkOurs(brush, 2113);
  brush.multiplyColor.SetValue(0x00FF8000);  // red 0, green 128, blue 255
  brush.softLight.SetHSB(240, 50, 100);
  brush.desaturation.SetValue(30);
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(1.0f));
  DS_FX_Constructor& drawn = Drawn(brush);
  ExpectNear(Values(drawn, "mul_color", 4), {0, 0.5019608f, 1, 1});
  ExpectNear(Values(drawn, "soft_light_color", 4), {0.5f, 0.5f, 1, 1});
  ExpectNear(Values(drawn, "Fade", 1), {1});
  ExpectNear(Values(drawn, "Disaturate", 1), {0.3f});
  ExpectNear(Values(drawn, "Scale", 4), {800.0f / 600.0f, 1, 0.75f, 1});
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(0.5f));
  ExpectNear(Values(Drawn(brush), "Fade", 1), {std::sin(0.5f * 1.5707964f)});
}

TEST_F(ColourValuesTest, TheLightPulsesOnAndOff) {
  DS_LightFX brush;
  brush.pulseMode.SetValue(1);
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(1.0f));
  // Speed 40: sin(phase x 0.2) turns at phase 5 pi, after 0.39 s.
  ExpectNear(Values(Drawn(brush, 0.0f), "multiplier", 1), {0}, 1e-6f, "at its middle: off");
  ExpectNear(Values(Drawn(brush, 0.2f), "multiplier", 1), {0.4f});
  ExpectNear(Values(Drawn(brush, 0.5f), "multiplier", 1), {0});
  brush.pulseMode.SetValue(0);
  const float smooth = (std::sin(40 * 0.2f * 0.2f) + 1) * 0.5f;
  ExpectNear(Values(Drawn(brush, 0.2f), "multiplier", 1), {0.4f * smooth});
}

TEST_F(ColourValuesTest, BlendModesChooseTheirTechniqueOrNone) {
  DS_LightFX_II brush;
  LinkOurs(brush, 190);
  brush.strength.SetValue(50);
  brush.lightColor.SetValue(0x000080FF);
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(1.0f));
  const char* kNames[] = {"Blend_Normal", "Blend_Screen", "Blend_ColorDodge", "Linear_Dodge"};
  for (int mode = 0; mode < 4; ++mode) {
    brush.blendMode.SetValue(mode);
    EXPECT_EQ(Drawn(brush).effect->GetCurrentTechnique(), std::string(kNames[mode]));
  }
  brush.blendMode.SetValue(5);
  DS_FX_Constructor& sum = Drawn(brush);
  EXPECT_EQ(sum.effect->GetCurrentTechnique(), std::string("Blend_Sum"));
  ExpectNear(Values(sum, "BlendColor", 4), {1, 0.5019608f, 0, 0.5f});
  for (int mode : {4, 6, -1}) {
    SCOPED_TRACE(mode);
    brush.blendMode.SetValue(mode);
    EXPECT_EQ(Drawn(brush).effect->GetCurrentTechnique(), std::string("Blend_Sum")) << "kept";
  }
}

TEST_F(ColourValuesTest, TheLightBandRunsFromTheStartToTheEnd) {
  DS_LightWaveFX brush;
  LinkOurs(brush, 190);
  brush.startPoint.SetValue(D3DXVECTOR3(100, 200, 0));
  brush.endPoint.SetValue(D3DXVECTOR3(400, 600, 0));
  brush.bandWidth.SetValue(50);
  brush.strength.SetValue(80);
  for (float v : {0.0f, 1.0f}) {
    SCOPED_TRACE(v);
    brush.timing.SetTiming(std::make_unique<FixedTimeline>(v));
    DS_FX_Constructor& drawn = Drawn(brush, 0.5f);
    ExpectNear(Values(drawn, "WavePos", 2), v == 0 ? Floats{100, 200} : Floats{400, 600});
    ExpectNear(Values(drawn, "WaveDir", 2), {-0.6f, -0.8f});
    ExpectNear(Values(drawn, "WaveFreq", 1), {3.1415927f / 50});
    ExpectNear(Values(drawn, "BlendColor", 4), {0, 0, 0, 0.8f}, 1e-5f, "pulse 0: no fade");
    EXPECT_EQ(drawn.effect->GetCurrentTechnique(), std::string("Blend_Normal"));
  }

  // One way: the sine swing is turned whenever it would run back. At phase pi the swing's cosine
  // is negative, so sin(pi + x) is mirrored to run on.
  brush.pulseMode.SetValue(2);
  brush.oneWay.SetValue(1);
  auto& oneWay = static_cast<DS_LightWaveFX&>(Drawn(brush, 0.0f));
  oneWay.speed.localTime = 3.1415927f + 0.5f;
  oneWay.speed.lastTime = 1.0;
  oneWay.Tick(1.0f);
  const float w = (-std::sin(3.1415927f + 0.5f) + 1) * 0.5f;
  EXPECT_NEAR(oneWay.wavePosition.x, 100 + 300 * w, 1e-3f);

  // Both ends at one point, a band of no width.
  brush.endPoint.SetValue(brush.startPoint.Value());
  brush.bandWidth.SetValue(0);
  DS_FX_Constructor& point = Drawn(brush);
  ExpectNear(Values(point, "WaveDir", 2), {0, 0});
  EXPECT_EQ(Values(point, "WaveFreq", 1)[0], kInfinity);
}

class PictureReadersTest : public FxTest {
 protected:
  void SetUp() override {
    FxTest::SetUp();
    picture_ = StartStripedSlide(canvas_);
    previous_ = SetPictureBelowBreachHandler(
        [this](const std::string& message) { breaches_.push_back(message); });
  }
  void TearDown() override {
    SetPictureBelowBreachHandler(previous_);
    FxTest::TearDown();
  }

  renderer_test::RecordingCanvas canvas_;
  std::vector<uint32_t> picture_;
  std::vector<std::string> breaches_;
  PictureBelowBreachHandler previous_;
};

// The light brushes read the picture below whatever their base mode: target mode 0 switches in
// the object's Render every frame, 1 has the pass switch for its copy, any other announces no
// reader and switches nowhere. The erase brush (mode 2) asks for a copy.
TEST_F(PictureReadersTest, TheTargetModeDecidesWhoSwitches) {
  struct Case {
    const char* name;
    std::function<std::unique_ptr<DS_FX_Constructor>()> make;
    int below;
    bool copy;
    std::vector<std::string> events;
  };
  auto light = [](int targetMode, int baseMode) {
    return [=] {
      auto b = std::make_unique<DS_LightFX_II>();
      LinkOurs(*b, 190);
      b->targetMode.SetValue(targetMode);
      b->mode.SetValue(baseMode);
      return b;
    };
  };
  auto wave = [] {
    auto b = std::make_unique<DS_LightWaveFX>();
    LinkOurs(*b, 190);
    return b;
  };
  const Case cases[] = {
      {"target mode 0", light(0, 2), 1, false, {"switch cleared", "draw"}},
      {"target mode 1", light(1, 0), 1, true, {"switch", "draw"}},
      {"target mode 2", light(2, 1), 0, false, {"draw"}},
      {"target mode -1", light(-1, 1), 0, false, {"draw"}},
      {"light wave", wave, 1, false, {"switch cleared", "draw"}},
      {"erase",
       [] {
         auto b = std::make_unique<DS_EraseLayerFX>();
         LinkOurs(*b, 2114);
         return b;
       },
       1,
       true,
       {"switch", "draw"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<DS_FX_Constructor> brush = c.make();
    DS_SafePtr<ZKW_RenderObj> object = MakeObject(*brush);
    EXPECT_EQ(object->NeedsPictureBelow(), c.below);
    EXPECT_EQ(object->NeedsTargetCopy(), c.copy);
    for (int frame = 0; frame < 3; ++frame) {
      object->AdvanceTime(0.1f * float(frame));
      canvas_.events.clear();
      Frame(canvas_, {object});
      EXPECT_EQ(canvas_.events, c.events) << "frame " << frame;
    }
  }
  EXPECT_TRUE(breaches_.empty()) << (breaches_.empty() ? "" : breaches_.front());
}

}  // namespace
}  // namespace fx_test
