// Every brush kind over a striped picture, drawn for real: neutral values give the picture back,
// the brush moves stripe edges inside its mask (and, drawn through its grid in mode 0, inside its
// mask quad) and nothing outside, and it changes with its phase.
#include <gtest/gtest.h>

#include <functional>

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

namespace fx_test {
namespace {

constexpr uint32_t kBlack = 0xFF000000, kWhite = 0xFFFFFFFF;
const D3DXVECTOR3 kMiddle(32, 32, 0);

struct PixelCase {
  const char* name;
  // The brush with values that show it, phase-driven.
  std::function<std::unique_ptr<DS_FX_Constructor>()> make;
  // Makes it neutral: its strengths 0.
  std::function<void(DS_FX_Constructor&)> neutral;
  // Drawn through its grid over the mask quad in mode 0.
  bool grid;
  // Its strength follows the timeline value.
  bool fades;
};

template <class X>
X& As(DS_FX_Constructor& brush) {
  return dynamic_cast<X&>(brush);
}

const PixelCase kCases[] = {
    {"waves",
     [] {
       auto b = std::make_unique<DS_WavesFX>();
       b->amplitude.SetValue(200);
       return b;
     },
     [](DS_FX_Constructor& b) { As<DS_WavesFX>(b).amplitude.SetValue(0); }, false, true},
    {"radial wave",
     [] {
       auto b = std::make_unique<DS_RadialWaveFX>();
       b->centre.SetValue(kMiddle);
       b->amplitude.SetValue(200);
       b->wavelength.SetValue(500);
       return b;
     },
     [](DS_FX_Constructor& b) { As<DS_RadialWaveFX>(b).amplitude.SetValue(0); }, false, true},
    {"expand",
     [] {
       auto b = std::make_unique<DS_ExpandFX>();
       b->centre.SetValue(kMiddle);
       b->contraction.SetValue(40);
       b->swingMode.SetValue(3);
       return b;
     },
     [](DS_FX_Constructor& b) {
       As<DS_ExpandFX>(b).expansion.SetValue(0);
       As<DS_ExpandFX>(b).contraction.SetValue(0);
     },
     false, true},
    {"rotation",
     [] {
       auto b = std::make_unique<DS_RotationFX>();
       b->effectLink = DS_HLSLEffectFile(u"glimres.dll", 2101);
       b->centre.SetValue(kMiddle);
       b->ellipseRatio.SetValue(1000);
       b->angleOffset.SetValue(30);
       b->speed.SetValue(100);
       return b;
     },
     [](DS_FX_Constructor& b) {
       As<DS_RotationFX>(b).timelineDriven.SetValue(1);
       As<DS_RotationFX>(b).angleOffset.SetValue(0);
     },
     false, false},
    {"bend",
     [] {
       auto b = std::make_unique<DS_BendFX>();
       b->effectLink = DS_HLSLEffectFile(u"glimres.dll", 2102);
       b->centre.SetValue(kMiddle);
       b->bendAngleA.SetValue(300);
       b->bendAngleB.SetValue(100);
       b->bendStrength.SetValue(50);
       b->swingMode.SetValue(3);
       b->speed.SetValue(50);
       return b;
     },
     [](DS_FX_Constructor& b) {
       As<DS_BendFX>(b).bendAngleA.SetValue(0);
       As<DS_BendFX>(b).bendAngleB.SetValue(0);
     },
     true, true},
    {"radial ripple",
     [] {
       auto b = std::make_unique<DS_QuorbelRadial>();
       b->effectLink = DS_HLSLEffectFile(u"glimres.dll", 2103);
       b->centre.SetValue(kMiddle);
       b->amplitude.SetValue(10);
       b->directionFlag.SetValue(1);
       b->speed.SetValue(20);
       return b;
     },
     [](DS_FX_Constructor& b) { As<DS_QuorbelRadial>(b).amplitude.SetValue(0); }, true, false},
    {"swirl",
     [] {
       auto b = std::make_unique<DS_QuorbelVortical>();
       b->effectLink = DS_HLSLEffectFile(u"glimres.dll", 2104);
       b->centre.SetValue(kMiddle);
       b->amplitude.SetValue(20);
       b->ellipseDeformation.SetValue(500);
       b->ellipseTilt.SetValue(30);
       b->speed.SetValue(20);
       return b;
     },
     [](DS_FX_Constructor& b) { As<DS_QuorbelVortical>(b).amplitude.SetValue(0); }, true, false},
    {"perspective",
     [] {
       auto b = std::make_unique<DS_PerspectiveFX>();
       b->effectLink = DS_HLSLEffectFile(u"glimres.dll", 2105);
       b->centre.SetValue(kMiddle);
       b->lineDirection.SetValue(90);
       b->strengthA.SetValue(400);
       b->strengthB.SetValue(200);
       b->tilt.SetValue(5);
       b->swingMode.SetValue(3);
       b->speed.SetValue(50);
       return b;
     },
     [](DS_FX_Constructor& b) {
       As<DS_PerspectiveFX>(b).strengthA.SetValue(0);
       As<DS_PerspectiveFX>(b).strengthB.SetValue(0);
     },
     true, true},
    {"stretch",
     [] {
       auto b = std::make_unique<DS_StretchFX>();
       b->effectLink = DS_HLSLEffectFile(u"glimres.dll", 2106);
       b->centre.SetValue(kMiddle);
       b->lineDirection.SetValue(90);
       b->strengthA.SetValue(100);
       b->strengthB.SetValue(50);
       b->swingMode.SetValue(3);
       b->speed.SetValue(20);
       return b;
     },
     [](DS_FX_Constructor& b) {
       As<DS_StretchFX>(b).strengthA.SetValue(0);
       As<DS_StretchFX>(b).strengthB.SetValue(0);
     },
     true, true},
};

class BrushPixelsTest : public FxTest {
 protected:
  void SetUp() override {
    FxTest::SetUp();
    picture_ = StartStripedSlide(renderer_);
    // White over the left half, black over the right.
    std::vector<uint32_t> mask(64 * 64);
    for (uint32_t i = 0; i < mask.size(); ++i)
      mask[i] = i % 64 < 32 ? kWhite : kBlack;
    leftHalf_ = MakeTexture(64, 64, mask);
  }

  // The frame with the object drawn after its clock ran from `from` to `to` seconds.
  std::vector<uint32_t> FrameAfter(const DS_SafePtr<ZKW_RenderObj>& object, float from, float to) {
    Play(*object, from, to);
    Frame(renderer_, {object});
    return BackBufferPixels();
  }

  // The brush of the case in `mode`, with the left-half mask and, for grid kinds, a mask quad
  // over the top half.
  std::unique_ptr<DS_FX_Constructor> Configured(const PixelCase& c, int mode) {
    std::unique_ptr<DS_FX_Constructor> brush = c.make();
    brush->mode.SetValue(mode);
    brush->maskQuad.SetRect(64, 32, D3DXVECTOR3(32, 16, 0));
    GiveMask(*brush, leftHalf_);
    return brush;
  }

  // The largest difference from the picture inside and outside a region.
  template <class Inside>
  std::pair<int, int> Differences(const std::vector<uint32_t>& frame, Inside inside) {
    std::pair<int, int> most{0, 0};
    for (uint32_t y = 0; y < 64; ++y) {
      for (uint32_t x = 0; x < 64; ++x) {
        const size_t i = y * 64 + x;
        const int d = MaxDifference({frame[i]}, {picture_[i]});
        int& slot = inside(x, y) ? most.first : most.second;
        slot = std::max(slot, d);
      }
    }
    return most;
  }

  DS_2D_Light renderer_;
  std::vector<uint32_t> picture_;
  ComRef<gfx::Texture> leftHalf_;
};

TEST_F(BrushPixelsTest, NeutralValuesGiveThePictureBack) {
  for (const PixelCase& c : kCases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<DS_FX_Constructor> brush = Configured(c, 0);
    c.neutral(*brush);
    auto object = MakeObject(*brush);
    ASSERT_TRUE(Brushed(object).Brush().effect);
    EXPECT_LE(MaxDifference(FrameAfter(object, 0.0f, 1.0f), picture_), 2);

    if (!c.fades) continue;
    std::unique_ptr<DS_FX_Constructor> hidden = Configured(c, 0);
    hidden->timing.SetTiming(std::make_unique<FixedTimeline>(0.0f));
    auto hiddenObject = MakeObject(*hidden);
    EXPECT_LE(MaxDifference(FrameAfter(hiddenObject, 0.0f, 1.0f), picture_), 2)
        << "timeline value 0";
  }
}

TEST_F(BrushPixelsTest, TheBrushMovesStripeEdgesInsideItsMaskOnly) {
  for (const PixelCase& c : kCases) {
    for (int mode : {0, 1, 2}) {
      SCOPED_TRACE(std::string(c.name) + " in mode " + std::to_string(mode));
      std::unique_ptr<DS_FX_Constructor> brush = Configured(c, mode);
      auto object = MakeObject(*brush);
      const auto frame = FrameAfter(object, 0.0f, 1.5f);
      // Through the grid only the mask quad is drawn; otherwise the mask alone limits it.
      const bool quadOnly = c.grid && mode == 0;
      const auto [inside, outside] = Differences(
          frame, [&](uint32_t x, uint32_t y) { return x < 32 && (!quadOnly || y < 32); });
      EXPECT_GT(inside, 100);
      EXPECT_LE(outside, 2);
    }
  }
}

TEST_F(BrushPixelsTest, TheBrushChangesWithItsPhase) {
  for (const PixelCase& c : kCases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<DS_FX_Constructor> brush = Configured(c, 0);
    auto object = MakeObject(*brush);
    const auto first = FrameAfter(object, 0.0f, 1.0f);
    const auto later = FrameAfter(object, 1.1f, 2.0f);
    EXPECT_GT(MaxDifference(first, later), 60);
  }
}

}  // namespace
}  // namespace fx_test
