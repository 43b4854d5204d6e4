// The colour, light, layer, heat and bump brushes drawn for real on a 64 x 64 back buffer: each
// changes the picture as its effect says, inside its mask only.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "fx/colour/ds_color_shift_fx.h"
#include "fx/colour/ds_day_to_night.h"
#include "fx/colour/ds_saturation_wave_fx.h"
#include "fx/fx_fixture.h"
#include "fx/layer/ds_blure_fx.h"
#include "fx/layer/ds_erase_layer_fx.h"
#include "fx/layer/ds_pattern_brush.h"
#include "fx/light/ds_light_fx.h"
#include "fx/light/ds_light_fx_ii.h"
#include "fx/light/ds_light_wave_fx.h"
#include "fx/relief/ds_bump_fx.h"
#include "fx/relief/ds_heat_distortion.h"

namespace fx_test {
namespace {

using renderer_test::Channel;

constexpr uint32_t kBlack = 0xFF000000, kWhite = 0xFFFFFFFF;
constexpr int kRed = 16, kGreen = 8, kBlue = 0;

class ColourLayerPixelsTest : public FxTest {
 protected:
  void SetUp() override {
    FxTest::SetUp();
    std::vector<uint32_t> mask(64 * 64);
    for (uint32_t i = 0; i < mask.size(); ++i)
      mask[i] = i % 64 < 32 ? kWhite : kBlack;
    leftHalf_ = MakeTexture(64, 64, mask);
  }

  // The slide started on a 64 x 64 picture of those texels; answers its first frame.
  std::vector<uint32_t> StartOn(const std::vector<uint32_t>& texels) {
    ProvidePicture(DS_ImageFileLink(u"glimres.dll", 5), 64, 64, 64, 64, texels);
    StartSlide(renderer_);
    Frame(renderer_);
    return BackBufferPixels();
  }
  std::vector<uint32_t> StartOn(uint32_t colour) {
    return StartOn(std::vector<uint32_t>(64 * 64, colour));
  }

  // The frame with the brush (limited to the left half, seen whole through the timeline) after
  // its clock ran for `seconds`.
  std::vector<uint32_t> Shown(DS_FX_Constructor& brush, float seconds = 0.5f) {
    GiveMask(brush, leftHalf_);
    brush.timing.SetTiming(std::make_unique<FixedTimeline>(1.0f));
    DS_SafePtr<ZKW_RenderObj> object = MakeObject(brush);
    EXPECT_TRUE(Brushed(object).Brush().effect);
    Play(*object, 0.0f, seconds);
    Frame(renderer_, {object});
    return BackBufferPixels();
  }

  static uint32_t At(const std::vector<uint32_t>& frame, uint32_t x, uint32_t y) {
    return frame[size_t(y) * 64 + x];
  }

  // Whether `test` holds for every pixel of the left half, and for every one of the right half.
  template <class Test>
  static std::pair<bool, bool> Halves(const std::vector<uint32_t>& frame, Test test) {
    std::pair<bool, bool> all{true, true};
    for (uint32_t y = 0; y < 64; ++y)
      for (uint32_t x = 0; x < 64; ++x)
        (x < 32 ? all.first : all.second) &= test(At(frame, x, y), x, y);
    return all;
  }

  static bool Near(uint32_t colour, int shift, int value, int tolerance = 3) {
    return std::abs(int(Channel(colour, shift)) - value) <= tolerance;
  }

  DS_2D_Light renderer_;
  ComRef<gfx::Texture> leftHalf_;
};

TEST_F(ColourLayerPixelsTest, AThirdOfATurnMakesRedGreenInsideTheMask) {
  StartOn(0xFFFF0000);
  for (int mode : {0, 1}) {
    SCOPED_TRACE(mode);
    DS_ColorShiftFX brush;
    brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2111);
    brush.mode.SetValue(mode);
    brush.hueMode.SetValue(0);
    brush.hueShift.SetValue(33);
    const auto frame = Shown(brush);
    const auto [inside, outside] = Halves(frame, [](uint32_t c, uint32_t x, uint32_t) {
      return x < 32 ? Near(c, kGreen, 255) && Channel(c, kRed) < 12 && Near(c, kBlue, 0)
                    : c == 0xFFFF0000u;
    });
    EXPECT_TRUE(inside) << std::hex << At(frame, 10, 10);
    EXPECT_TRUE(outside) << std::hex << At(frame, 50, 10);
  }
}

TEST_F(ColourLayerPixelsTest, FullDesaturationGivesGrey) {
  StartOn(0xFFFF0000);
  DS_DayToNight night;
  night.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2113);
  night.maskQuad.SetRect(64, 64, D3DXVECTOR3(32, 32, 0));
  night.multiplyColor.SetValue(0x00FFFFFF);
  night.softLight.SetHSB(0, 0, 50);  // grey: no soft light
  night.desaturation.SetValue(100);
  // Red's brightness: 0.299.
  const auto [grey, red] = Halves(Shown(night), [](uint32_t c, uint32_t x, uint32_t) {
    return x < 32 ? Near(c, kRed, 76) && Near(c, kGreen, 76) && Near(c, kBlue, 76)
                  : c == 0xFFFF0000u;
  });
  EXPECT_TRUE(grey);
  EXPECT_TRUE(red);

  // The saturation band taking all saturation away: red goes to its value, white.
  DS_SaturationWaveFX band;
  band.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2112);
  band.maskQuad.SetRect(64, 64, D3DXVECTOR3(32, 32, 0));
  band.bandWidth.SetValue(0);
  band.speed.SetValue(100);  // 1 a second
  band.sweepMode.SetValue(1);
  // Sweep mode 1 in an odd whole phase desaturates behind the band's front: at phase 1.99 the
  // front has nearly crossed the quad.
  const auto frame = Shown(band, 1.99f);
  EXPECT_EQ(At(frame, 5, 32), kWhite);
  EXPECT_EQ(At(frame, 40, 32), 0xFFFF0000u) << "outside the mask";
}

TEST_F(ColourLayerPixelsTest, LightLiftsGreyByItsStrength) {
  StartOn(0xFF808080);
  DS_LightFX light;
  light.pulseMode.SetValue(1);  // on at phase 8 (0.2 s)
  const auto [lifted, kept] = Halves(Shown(light, 0.2f), [](uint32_t c, uint32_t x, uint32_t) {
    return x < 32 ? Near(c, kRed, 179, 2) && Near(c, kBlue, 179, 2) : c == 0xFF808080u;
  });
  EXPECT_TRUE(lifted);
  EXPECT_TRUE(kept);
}

TEST_F(ColourLayerPixelsTest, BlendedLightNormalGivesItsColourAndScreenNeverDarkens) {
  const auto picture = StartOn(renderer_test::Stripes(64, 64, 8, kBlack, 0xFF406080));
  DS_LightFX_II light;
  light.effectLink = DS_HLSLEffectFile(u"glimres.dll", 190);
  light.strength.SetValue(100);
  light.lightColor.SetValue(0x00336699);  // red 0x99, green 0x66, blue 0x33
  const auto normal = Shown(light);
  const auto [coloured, kept] = Halves(normal, [&](uint32_t c, uint32_t x, uint32_t y) {
    return MaxDifference({c}, {x < 32 ? 0xFF996633u : At(picture, x, y)}) <= 2;
  });
  EXPECT_TRUE(coloured) << std::hex << At(normal, 4, 4);
  EXPECT_TRUE(kept);

  light.blendMode.SetValue(1);
  light.lightColor.SetValue(0x00808080);
  const auto screen = Shown(light);
  for (size_t i = 0; i < screen.size(); ++i) {
    for (int shift : {kRed, kGreen, kBlue})
      ASSERT_GE(int(Channel(screen[i], shift)) + 1, int(Channel(picture[i], shift))) << i;
  }
  EXPECT_TRUE(Near(At(screen, 2, 2), kRed, 128, 2)) << "black lit to the colour";
  EXPECT_LE(MaxDifference({At(screen, 34, 2)}, {kBlack}), 2) << "outside the mask";
}

TEST_F(ColourLayerPixelsTest, TheLightBandIsOneBandOfItsWidth) {
  StartOn(kBlack);
  DS_LightWaveFX band;
  band.effectLink = DS_HLSLEffectFile(u"glimres.dll", 190);
  band.strength.SetValue(100);
  band.lightColor.SetValue(0x00FFFFFF);
  band.startPoint.SetValue(D3DXVECTOR3(64, 32, 0));
  band.endPoint.SetValue(D3DXVECTOR3(32, 32, 0));  // reached at timeline value 1
  band.bandWidth.SetValue(16);
  leftHalf_.Reset();
  const auto frame = Shown(band);
  EXPECT_GT(Channel(At(frame, 32, 10), kGreen), 245) << "its middle";
  EXPECT_LT(Channel(At(frame, 23, 10), kGreen), 3) << "half its width away";
  EXPECT_GT(Channel(At(frame, 28, 10), kGreen), Channel(At(frame, 26, 10), kGreen));
  for (uint32_t x : {0u, 4u, 12u, 52u, 60u})
    EXPECT_EQ(At(frame, x, 10), kBlack) << x << ": no band beyond";
}

// Over the picture (mode 0) and on the fresh target a switch gives it (mode 1) the erase brush
// clears alpha; the colour stays.
TEST_F(ColourLayerPixelsTest, EraseClearsAlphaInsideOrOutsideTheMask) {
  StartOn(0xFF3366CC);
  for (int mode : {0, 1}) {
    for (int sense : {0, 5}) {
      SCOPED_TRACE(::testing::Message() << "sense " << sense << " in mode " << mode);
      DS_EraseLayerFX erase;
      erase.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2114);
      erase.mode.SetValue(mode);
      erase.maskSense.SetValue(sense);
      const auto [left, right] = Halves(Shown(erase), [&](uint32_t c, uint32_t x, uint32_t) {
        const bool erased = (x < 32) == (sense == 0);
        return MaxDifference({c}, {erased ? 0x003366CCu : 0xFF3366CCu}) <= 1;
      });
      EXPECT_TRUE(left);
      EXPECT_TRUE(right);
    }
  }
}

// On a copy (mode 2, its default) it erases the layer of the objects drawn since the picture
// below was set aside: the picture shows again where it erases.
TEST_F(ColourLayerPixelsTest, EraseOnACopyErasesTheLayerDrawnOverThePicture) {
  StartOn(0xFFFF0000);
  DS_ColorShiftFX green;
  green.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2111);
  green.hueMode.SetValue(0);
  green.hueShift.SetValue(33);
  green.timing.SetTiming(std::make_unique<FixedTimeline>(1.0f));
  DS_SafePtr<ZKW_RenderObj> layer = MakeObject(green);
  DS_EraseLayerFX erase;
  erase.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2114);
  GiveMask(erase, leftHalf_);
  DS_SafePtr<ZKW_RenderObj> eraser = MakeObject(erase);
  Play(*layer, 0.0f, 0.3f);
  Play(*eraser, 0.0f, 0.3f);
  // The slide draws its objects from the last to the first: the green layer, then the erase.
  Frame(renderer_, {eraser, layer});
  const auto [picture, shifted] = Halves(BackBufferPixels(), [](uint32_t c, uint32_t x, uint32_t) {
    return x < 32 ? MaxDifference({c}, {0xFFFF0000u}) <= 2
                  : Near(c, kGreen, 255) && Channel(c, kRed) < 12;
  });
  EXPECT_TRUE(picture);
  EXPECT_TRUE(shifted);
}

TEST_F(ColourLayerPixelsTest, BlurRampsAHardEdgeOverAboutItsRadiusInsideTheMask) {
  std::vector<uint32_t> texels(64 * 64);
  for (uint32_t i = 0; i < texels.size(); ++i)
    texels[i] = i % 64 < 32 ? kBlack : kWhite;
  const auto picture = StartOn(texels);
  // Masked over the top half; the edge runs down the middle.
  std::vector<uint32_t> topHalf(64 * 64);
  for (uint32_t i = 0; i < topHalf.size(); ++i)
    topHalf[i] = i / 64 < 32 ? kWhite : kBlack;
  const ComRef<gfx::Texture> top = MakeTexture(64, 64, topHalf);
  for (int mode : {0, 1, 2}) {
    SCOPED_TRACE(mode);
    DS_BlureFX blur;
    blur.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2115);
    blur.mode.SetValue(mode);
    blur.radius.SetValue(16);  // 8 pixels with pulse mode 0
    leftHalf_ = top;
    const auto frame = Shown(blur);
    for (uint32_t y : {4u, 20u}) {
      SCOPED_TRACE(y);
      int previous = -1;
      for (uint32_t x = 20; x < 44; ++x) {
        const int v = int(Channel(At(frame, x, y), kGreen));
        EXPECT_GE(v, previous) << x << ": the ramp rises";
        previous = v;
        if (x >= 27 && x < 37) {
          EXPECT_GT(v, 4) << x;
          EXPECT_LT(v, 251) << x;
        }
      }
      for (uint32_t x : {0u, 20u, 22u, 42u, 44u, 63u})
        EXPECT_LE(MaxDifference({At(frame, x, y)}, {At(picture, x, y)}), 2) << x;
    }
    for (uint32_t y : {44u, 60u}) {
      for (uint32_t x = 0; x < 64; ++x)
        EXPECT_LE(MaxDifference({At(frame, x, y)}, {At(picture, x, y)}), 2) << "outside " << x;
    }
  }
}

TEST_F(ColourLayerPixelsTest, APatternRepeatsAtItsPeriod) {
  StartOn(kBlack);
  std::vector<uint32_t> tile(16 * 8);
  for (uint32_t y = 0; y < 8; ++y)
    for (uint32_t x = 0; x < 16; ++x)
      tile[y * 16 + x] = 0xFF000000u | (x * 16) << 16 | (y * 32) << 8;
  DS_PatternBrush pattern;
  pattern.patternLink = DS_ImageFileLink(u"tile.png", 1);
  ProvidePicture(pattern.patternLink, 16, 8, 16, 8, tile);
  leftHalf_.Reset();  // no mask: the whole picture
  for (int mode : {0, 1}) {
    SCOPED_TRACE(mode);
    pattern.mode.SetValue(mode);
    const auto frame = Shown(pattern);
    int most = 0;
    for (uint32_t y = 0; y < 56; ++y) {
      for (uint32_t x = 0; x < 48; ++x) {
        ASSERT_LE(MaxDifference({At(frame, x, y)}, {At(frame, x + 16, y)}), 2) << x << ", " << y;
        ASSERT_LE(MaxDifference({At(frame, x, y)}, {At(frame, x, y + 8)}), 2) << x << ", " << y;
        most = std::max(most, MaxDifference({At(frame, x, y)}, {At(frame, 0, 0)}));
      }
    }
    EXPECT_GT(most, 150) << "the tile shows";
    EXPECT_TRUE(Near(At(frame, 8, 0), kRed, 128, 4)) << std::hex << At(frame, 8, 0);
  }
}

TEST_F(ColourLayerPixelsTest, HeatOfNoStrengthIsThePictureAndShimmersOtherwise) {
  const auto picture = StartOn(renderer_test::Stripes(64, 64, 4, kBlack, kWhite));
  DS_HeatDistortion heat;
  heat.effectLink = DS_HLSLEffectFile(u"glimres.dll", 63);
  heat.maskQuad.SetRect(64, 32, D3DXVECTOR3(32, 16, 0));  // the top half
  EXPECT_LE(MaxDifference(Shown(heat), picture), 2);
  heat.strength.SetValue(500);
  const auto frame = Shown(heat);
  // Inside: the masked left half of the quad over the top half.
  int inside = 0, outside = 0;
  for (uint32_t y = 0; y < 64; ++y) {
    for (uint32_t x = 0; x < 64; ++x) {
      int& most = x < 32 && y < 32 ? inside : outside;
      most = std::max(most, MaxDifference({At(frame, x, y)}, {At(picture, x, y)}));
    }
  }
  EXPECT_GT(inside, 100);
  EXPECT_LE(outside, 2);
}

TEST_F(ColourLayerPixelsTest, TheSunFacingSlopeOfABumpRidgeIsBrighter) {
  StartOn(0xFF808080);
  // A ridge down the middle: heights rising from x = 16 to 32 and falling to x = 48.
  std::vector<uint32_t> ridge(64 * 64);
  for (uint32_t i = 0; i < ridge.size(); ++i) {
    const int x = int(i % 64);
    const uint32_t h = uint32_t(std::max(0, 255 - std::abs(x - 32) * 16));
    ridge[i] = 0xFF000000u | h << 16 | h << 8 | h;
  }
  DS_BumpFX bump;
  bump.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2116);
  bump.bumpPicture = DS_ImageFileLink(u"ridge.png", 1);
  LinkTextureSet& frames = Doc().linkTextureSets[bump.bumpPicture.Key()];
  frames.textures = {MakeTexture(64, 64, ridge)};
  frames.sourceWidth = frames.sourceHeight = 64;
  bump.maskQuad.SetRect(64, 64, D3DXVECTOR3(32, 32, 0));
  bump.pulseMode.SetValue(0);  // the light comes from the left (azimuth 0), 45 degrees up
  leftHalf_.Reset();
  const auto frame = Shown(bump);
  auto mean = [&](uint32_t from, uint32_t to) {
    int sum = 0;
    for (uint32_t x = from; x < to; ++x)
      sum += int(Channel(At(frame, x, 32), kGreen));
    return sum / int(to - from);
  };
  EXPECT_GT(mean(20, 30), mean(35, 45) + 60);
  EXPECT_GT(mean(20, 30), 140);
  EXPECT_LT(mean(35, 45), 110);
  EXPECT_NEAR(mean(0, 12), 128, 2) << "flat: as it was";
  EXPECT_NEAR(mean(52, 64), 128, 2);
}

}  // namespace
}  // namespace fx_test
