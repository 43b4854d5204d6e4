// The records of the colour, light, layer, heat and bump brushes through the writing stream,
// their older versions, and what their copies compute anew.
#include <gtest/gtest.h>

#include <bit>

#include "fx/colour/ds_color_shift_fx.h"
#include "fx/colour/ds_day_to_night.h"
#include "fx/colour/ds_saturation_fx.h"
#include "fx/colour/ds_saturation_wave_fx.h"
#include "fx/layer/ds_blure_fx.h"
#include "fx/layer/ds_erase_layer_fx.h"
#include "fx/layer/ds_pattern_brush.h"
#include "fx/light/ds_light_fx.h"
#include "fx/light/ds_light_fx_ii.h"
#include "fx/light/ds_light_wave_fx.h"
#include "fx/record_cases.h"
#include "fx/relief/ds_bump_fx.h"
#include "fx/relief/ds_heat_distortion.h"

namespace fx_test {
namespace {

using ColourLayerRecordsTest = FxTest;

uint32_t Bits(float f) {
  return std::bit_cast<uint32_t>(f);
}

const RecordCase kRecords[] = {
    {"DS_ColorShiftFX",
     1,
     [] {
       auto b = std::make_unique<DS_ColorShiftFX>();
       b->hueMode.SetValue(1);
       b->hueSwing.SetValue(2);
       b->hueShift.SetValue(3);
       b->saturationShift.SetValue(4);
       b->valueShift.SetValue(5);
       return b;
     },
     {1, 2, 3, 4, 5},
     u"DS_FX_Constructor"},
    {"DS_SaturationWaveFX",
     1,
     [] {
       auto b = std::make_unique<DS_SaturationWaveFX>();
       b->sweepMode.SetValue(1);
       b->spareLevel.SetValue(2);
       b->saturationLevel.SetValue(3);
       b->waveDirection.SetValue(4);
       b->bandWidth.SetValue(5);
       return b;
     },
     {1, 2, 3, 4, 5},
     u"DS_FX_Constructor"},
    {"DS_SaturationFX",
     1,
     [] { return std::make_unique<DS_SaturationFX>(); },
     {},
     u"DS_SaturationWaveFX"},
    {"DS_DayToNight",
     1,
     [] {
       auto b = std::make_unique<DS_DayToNight>();
       b->multiplyColor.SetValue(1);
       b->softLight.SetHSB(2, 3, 4);
       b->softLight.SetColorRaw(D3DXCOLOR(0.5f, 0.25f, 2.0f, 1.0f));
       b->desaturation.SetValue(5);
       return b;
     },
     {1, 2, 3, 4, Bits(0.5f), Bits(0.25f), Bits(2.0f), Bits(1.0f), 5},
     u"DS_FX_Constructor"},
    {"DS_LightFX",
     1,
     [] {
       auto b = std::make_unique<DS_LightFX>();
       b->strength.SetValue(1);
       b->pulseMode.SetValue(2);
       return b;
     },
     {1, 2},
     u"DS_FX_Constructor"},
    {"DS_LightFX_II",
     3,
     [] {
       auto b = std::make_unique<DS_LightFX_II>();
       b->strength.SetValue(1);
       b->pulseMode.SetValue(2);
       b->blendMode.SetValue(3);
       b->lightColor.SetValue(4);
       b->targetMode.SetValue(5);
       return b;
     },
     {1, 2, 3, 4, 5},
     u"DS_FX_Constructor"},
    {"DS_LightWaveFX",
     2,
     [] {
       auto b = std::make_unique<DS_LightWaveFX>();
       b->startPoint.SetValue(D3DXVECTOR3(1.5f, 2.5f, 3.5f));
       b->endPoint.SetValue(D3DXVECTOR3(-1, -2, -3));
       b->bandWidth.SetValue(7);
       b->oneWay.SetValue(8);
       return b;
     },
     {Bits(1.5f), Bits(2.5f), Bits(3.5f), Bits(-1), Bits(-2), Bits(-3), 7, 8},
     u"DS_LightFX_II"},
    {"DS_EraseLayerFX",
     1,
     [] {
       auto b = std::make_unique<DS_EraseLayerFX>();
       b->maskSense.SetValue(5);
       return b;
     },
     {5},
     u"DS_FX_Constructor"},
    {"DS_BlureFX",
     1,
     [] {
       auto b = std::make_unique<DS_BlureFX>();
       b->radius.SetValue(1);
       b->pulseMode.SetValue(2);
       return b;
     },
     {1, 2},
     u"DS_FX_Constructor"},
    {"DS_PatternBrush",
     1,
     [] {
       auto b = std::make_unique<DS_PatternBrush>();
       b->patternLink = DS_ImageFileLink(u"tile.png", 9);
       b->flipVertical.SetValue(1);
       b->flipHorizontal.SetValue(2);
       b->patternAngle.SetValue(3);
       b->patternScale.SetValue(4);
       b->offsetX.SetValue(5);
       b->offsetY.SetValue(6);
       return b;
     },
     {1, 2, 3, 4, 5, 6},
     u"DS_FX_Constructor",
     DS_FileLink3(u"tile.png", 9),
     0},
    {"DS_PatternBrushC",
     1,
     [] {
       auto b = std::make_unique<DS_PatternBrushC>();
       b->patternLink = DS_ImageFileLink(u"tile.png", 9);
       return b;
     },
     {},
     u"DS_PatternBrush"},
    {"DS_HeatDistortion",
     1,
     [] {
       auto b = std::make_unique<DS_HeatDistortion>();
       b->heatSpeed.SetValue(1);
       b->strength.SetValue(2);
       b->bumpScale.SetValue(3);
       return b;
     },
     {1, 2, 3},
     u"DS_FX_Constructor"},
    {"DS_BumpFX",
     1,
     [] {
       auto b = std::make_unique<DS_BumpFX>();
       b->animatorMode.SetValue(1);
       b->pulseMode.SetValue(2);
       b->bumpStrength.SetValue(3);
       b->bumpPicture = DS_ImageFileLink(u"glimres.dll", 89);
       b->lightElevation.SetValue(4);
       b->lightAzimuth.SetValue(5);
       b->animatorSpeed.SetValue(6);
       return b;
     },
     {1, 2, 3, 4, 5, 6},
     u"DS_FX_Constructor",
     DS_FileLink3(u"glimres.dll", 89),
     3},
};

TEST_F(ColourLayerRecordsTest, EveryKindStoresItsFieldsAheadOfItsBaseAndReadsBack) {
  for (const RecordCase& c : kRecords)
    ExpectStoredAheadOfBase(c);
}

TEST_F(ColourLayerRecordsTest, TruncatedRecordsFailTheStreamAndKeepDefaults) {
  for (const RecordCase& c : kRecords)
    ExpectTruncatedFails(c);
}

// The "DS_LightFX_II" record of `version` (fields strength 40, pulse 1, blend `blend`, colour
// 0x00FF8000, and target mode 1 from version 3 on) over a base that links effect 2113.
std::vector<uint8_t> LightRecord(uint32_t version, uint32_t blend) {
  DS_LightFX_II base;
  base.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2113);
  std::vector<uint32_t> fields{40, 1, blend, 0x00FF8000};
  if (version > 2) fields.push_back(1);
  return OldRecord(u"DS_LightFX_II", version, fields,
                   [&](DS_IOF_Archive& a) { base.DS_FX_Constructor::Save(a); });
}

TEST_F(ColourLayerRecordsTest, OldLightRecordsTakeTheBlendedLightAndItsBlendModes) {
  struct Case {
    uint32_t version, blend;
    int64_t effect;
    int blendRead, targetMode;
  };
  const Case cases[] = {
      {1, 3, 190, 4, 0},   // linear dodge became the blend that sets no technique
      {1, 2, 190, 2, 0},   // other modes stay
      {2, 3, 2113, 3, 0},  // the link and the mode as stored, no target mode
      {3, 3, 2113, 3, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "version " << c.version << ", blend " << c.blend);
    auto read = ReadBrush<DS_LightFX_II>(LightRecord(c.version, c.blend));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->effectLink.name, u"glimres.dll");
    EXPECT_EQ(read->effectLink.id, c.effect);
    EXPECT_EQ(read->blendMode.Value(), c.blendRead);
    EXPECT_EQ(read->targetMode.Value(), c.targetMode);
    EXPECT_FLOAT_EQ(read->strength.Scaled(), 0.4f);
    EXPECT_EQ(read->lightColor.Value(), 0x00FF8000u);
  }
}

TEST_F(ColourLayerRecordsTest, AVersionOneLightWaveHasNoOneWayFlag) {
  DS_LightFX_II base;
  const auto bytes = Written([&](DS_IOF_Archive& a) {
    a.io().WriteWideString(u"DS_LightWaveFX");
    a.io().WriteDword(1);
    for (float f : {1.0f, 2.0f, 0.0f, 5.0f, 6.0f, 0.0f})
      a.io().WriteFloat(f);
    a.io().WriteUInt32(30);
    base.Save(a);
  });
  auto read = ReadBrush<DS_LightWaveFX>(bytes);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->oneWay.Value(), 0);
  EXPECT_EQ(read->bandWidth.Value(), 30u);
  EXPECT_EQ(read->startPoint.Value(), D3DXVECTOR3(1, 2, 0));
  EXPECT_EQ(read->endPoint.Value(), D3DXVECTOR3(5, 6, 0));
  EXPECT_FLOAT_EQ(read->speed.Factor(), 0.02f);
}

TEST_F(ColourLayerRecordsTest, APatternBrushCIsStoredAsItselfAndPlaysAsAPatternBrush) {
  DS_PatternBrushC written;
  written.patternScale.SetValue(250);
  written.flipVertical.SetValue(1);
  auto read = ReadBrush<DS_PatternBrushC>(Written([&](DS_IOF_Archive& a) { written.Save(a); }));
  ASSERT_NE(read, nullptr);
  EXPECT_FLOAT_EQ(read->patternScale.Scaled(), 2.5f) << "told, so scaled";
  EXPECT_EQ(read->flipVertical.Value(), 1);
  std::unique_ptr<DS_FX_Constructor> copy = read->Clone();
  EXPECT_EQ(KindOf(*copy), KindOf(DS_PatternBrush()));
  EXPECT_EQ(static_cast<DS_PatternBrush&>(*copy).patternScale.Value(), 250u);
}

TEST_F(ColourLayerRecordsTest, CopiesKeepTheirClassOrRecomputeWhatTheyDrawWith) {
  // The saturation brush keeps its class, so that its own Tick runs.
  DS_SaturationFX saturation;
  EXPECT_EQ(KindOf(*saturation.Clone()), KindOf(saturation));
  EXPECT_EQ(saturation.bandWidth.Value(), 0u);
  EXPECT_FLOAT_EQ(saturation.speed.Scaled(), 5.0f);

  // Day to night: the read brush keeps the stored colour, its copy draws the colour of its
  // three numbers.
  DS_DayToNight written;
  written.softLight.SetHSB(0, 100, 100);
  written.softLight.SetColorRaw(D3DXCOLOR(0.1f, 0.2f, 0.3f, 0.4f));
  auto read = ReadBrush<DS_DayToNight>(Written([&](DS_IOF_Archive& a) { written.Save(a); }));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->softLight.Color().g, 0.2f);
  const std::unique_ptr<DS_FX_Constructor> copy = read->Clone();
  const D3DXCOLOR& red = static_cast<DS_DayToNight&>(*copy).softLight.Color();
  EXPECT_EQ(D3DXVECTOR4(red.r, red.g, red.b, red.a), D3DXVECTOR4(1, 0, 0, 1));
}

}  // namespace
}  // namespace fx_test
