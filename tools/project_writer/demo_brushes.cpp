#include "tools/project_writer/demo_brushes.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/timing/manual_timeline.h"
#include "fx/colour/ds_color_shift_fx.h"
#include "fx/colour/ds_day_to_night.h"
#include "fx/copy/ds_background_copy.h"
#include "fx/direction/ds_move_fx.h"
#include "fx/direction/ds_waterfall_fx.h"
#include "fx/distortion/ds_expand_fx.h"
#include "fx/distortion/ds_quorbel_vortical.h"
#include "fx/distortion/ds_rotation_fx.h"
#include "fx/layer/ds_blure_fx.h"
#include "fx/layer/ds_erase_layer_fx.h"
#include "fx/layer/ds_pattern_brush.h"
#include "fx/light/ds_light_fx.h"
#include "fx/light/ds_light_wave_fx.h"
#include "fx/lines/ds_perspective_fx.h"
#include "fx/lines/ds_stretch_fx.h"
#include "fx/relief/ds_bump_fx.h"
#include "fx/relief/ds_heat_distortion.h"
#include "fx/sky/ds_cloud_fx.h"
#include "fx/water/ds_water_fx.h"
#include "fx/waves/ds_radial_wave_fx.h"
#include "fx/waves/ds_waves_fx.h"
#include "platform/gfx/image/dds_writer.h"
#include "player/scene/ds_slide_container.h"
#include "renderers/brush/ds_fire_fx.h"
#include "tools/project_writer/project_builder.h"

namespace {

// The effects of ours that brush records link without an id of their own.
constexpr int64_t kRotationEffect = 2101;
constexpr int64_t kSwirlEffect = 2104;
constexpr int64_t kPerspectiveEffect = 2105;
constexpr int64_t kStretchEffect = 2106;
constexpr int64_t kColorShiftEffect = 2111;
constexpr int64_t kDayToNightEffect = 2113;
constexpr int64_t kEraseEffect = 2114;
constexpr int64_t kBlurEffect = 2115;
constexpr int64_t kBumpEffect = 2116;
constexpr int64_t kHeatEffect = 63;
constexpr int64_t kBlendedLightEffect = 190;
// The player's relief bump picture.
constexpr int64_t kReliefPicture = 89;
constexpr int64_t kWaterfallEffect = 2151;
constexpr int64_t kCloudEffect = 2152;

// Built-in pictures: a soft noise and a cloudy one.
constexpr int64_t kNoisePicture = 86;
constexpr int64_t kCloudPicture = 87;

// The sea picture's horizon, as a fraction of its height.
constexpr float kSeaHorizon = 0.52f;

// The cloud layer's GUID, through which its mirror image finds it; the same on every run.
constexpr char16_t kCloudLayerGuid[] = u"{434C4F55-4453-4B59-0000-000000000087}";

// Brush modes: 0 draws over the slide from its picture, 1 redraws all that is drawn below it, 2
// works on a copy of it.
constexpr int kOverPicture = 0;
constexpr int kOverBelow = 1;
constexpr int kOnCopy = 2;

// A sine swing between a brush's two strengths; the wave types of the pulses (type + 1).
constexpr int kSineSwing = 3;
constexpr int kSinePulse = 2;
// The timeline kind that repeats its intervals.
constexpr int kManualTimeline = 2;

// Directions on screen, counter-clockwise from the right.
constexpr unsigned kRightwards = 0;
constexpr unsigned kDownwards = 270;

// A mask picture (a 4 x 64 A8R8G8B8 DDS, stretched over the slide) of grey `level` below the
// horizon at `horizon` of the height and black above it, with an edge two rows soft.
std::vector<uint8_t> BelowHorizonMask(float horizon, float level) {
  constexpr uint32_t kWide = 4, kHigh = 64;
  gfx::image::DdsImage mask{gfx::Format::A8R8G8B8, kWide, kHigh, {{}}};
  for (uint32_t y = 0; y < kHigh; ++y) {
    const float below = std::clamp((float(y) + 0.5f - horizon * kHigh) / 2.0f + 0.5f, 0.0f, 1.0f);
    const auto grey = static_cast<uint8_t>(std::lround(255.0f * level * below));
    for (uint32_t x = 0; x < kWide; ++x)
      mask.levels[0].insert(mask.levels[0].end(), {grey, grey, grey, 0xFF});  // B, G, R, A
  }
  return gfx::image::WriteDds(mask);
}

// Appends a brush of kind Brush to the slide. The slide draws its objects from the last to the
// first, so each brush added is drawn before those added earlier.
template <class Brush>
Brush& Add(DS_SlideContainer& slide, const char16_t* name, int mode) {
  auto brush = std::make_unique<Brush>();
  Brush& added = *brush;
  added.name = name;
  added.mode.SetValueSilently(mode);
  slide.savedObjects.push_back(std::move(brush));
  return added;
}

// A width x height A8R8G8B8 DDS picture of the colours `texel` gives for (x, y).
template <class Texel>
std::vector<uint8_t> DdsPicture(uint32_t width, uint32_t height, Texel texel) {
  gfx::image::DdsImage image{gfx::Format::A8R8G8B8, width, height, {{}}};
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const uint32_t argb = texel(x, y);
      for (int shift : {0, 8, 16, 24})
        image.levels[0].push_back(static_cast<uint8_t>(argb >> shift));
    }
  }
  return gfx::image::WriteDds(image);
}

// A 64 x 64 tile of a few soft white stars on nothing, which the pattern brush repeats.
std::vector<uint8_t> StarTile() {
  struct Star {
    float x, y, radius;
  };
  const Star stars[] = {
      {12, 10, 2.5f}, {44, 22, 1.5f}, {26, 40, 2.0f}, {54, 54, 1.2f}, {6, 52, 1.0f}};
  return DdsPicture(64, 64, [&](uint32_t x, uint32_t y) {
    float light = 0.0f;
    for (const Star& s : stars) {
      const float d = std::hypot(float(x) + 0.5f - s.x, float(y) + 0.5f - s.y);
      light = std::max(light, std::clamp(1.0f - d / (s.radius * 2.0f), 0.0f, 1.0f));
    }
    return static_cast<uint32_t>(std::lround(light * light * 255.0f)) << 24 | 0xFFFFFF;
  });
}

// White, clear at the top and whole from a quarter of the way down: what the erase brush keeps
// of its layer when it erases outside its mask.
std::vector<uint8_t> TopFade() {
  return DdsPicture(4, 64, [](uint32_t, uint32_t y) {
    const float kept = std::clamp(float(y) / 16.0f, 0.0f, 1.0f);
    return static_cast<uint32_t>(std::lround(kept * 255.0f)) << 24 | 0xFFFFFF;
  });
}

// A manual timeline that shows its object over `key` of a period of `seconds`.
void ShowOver(DS_FX_Constructor& brush, float seconds, const TimeKey& key) {
  brush.timing.SetValue(kManualTimeline);
  if (auto* timeline = dynamic_cast<ZKW_ManualTimeLine*>(brush.timing.Current())) {
    timeline->period.SetValue(static_cast<unsigned>(std::lround(seconds * 100.0f)));
    timeline->keys.insert(key);
  }
}

}  // namespace

void AddSeaWaves(ProjectBuilder& project, DS_SlideContainer& slide, float width, float height,
                 const std::vector<uint8_t>& radialMask) {
  auto& rings = Add<DS_RadialWaveFX>(slide, u"Rings", kOverBelow);
  rings.centre.SetValueSilently(D3DXVECTOR3(width * 0.5f, height * 0.75f, 0.0f));
  rings.amplitude.SetValue(60);
  rings.wavelength.SetValue(150);
  if (!radialMask.empty()) project.StoreGuidPicture(rings.maskId, radialMask);
  auto& waves = Add<DS_WavesFX>(slide, u"Waves", kOverPicture);
  waves.amplitude.SetValue(15);
  waves.wavelength.SetValue(60);
  waves.directionAngle.SetValue(90);
}

void AddDistortions(ProjectBuilder& project, DS_SlideContainer& slide, float width, float height,
                    const std::vector<uint8_t>& radialMask) {
  const D3DXVECTOR3 middle(width * 0.5f, height * 0.5f, 0.0f);
  const D3DXVECTOR3 sun(width * 0.66f, height * 0.54f, 0.0f);

  // The whole picture tilts to and fro about an upright line through the sun ...
  auto& tilt = Add<DS_PerspectiveFX>(slide, u"Tilt", kOverBelow);
  tilt.effectLink = DS_HLSLEffectFile(u"glimres.dll", kPerspectiveEffect);
  tilt.centre.SetValueSilently(sun);
  tilt.lineDirection.SetValue(90);
  tilt.strengthA.SetValue(100);
  tilt.strengthB.SetValue(100);
  tilt.swingMode.SetValueSilently(kSineSwing);
  tilt.speed.SetValue(40);

  // ... and breathes up and down from the horizon, ...
  auto& stretch = Add<DS_StretchFX>(slide, u"Breath", kOverBelow);
  stretch.effectLink = DS_HLSLEffectFile(u"glimres.dll", kStretchEffect);
  stretch.centre.SetValueSilently(D3DXVECTOR3(width * 0.5f, height * 0.6f, 0.0f));
  stretch.strengthA.SetValue(12);
  stretch.strengthB.SetValue(8);
  stretch.swingMode.SetValueSilently(kSineSwing);
  stretch.speed.SetValue(15);

  // ... over a swirl in the middle, under the radial mask, ...
  auto& swirl = Add<DS_QuorbelVortical>(slide, u"Swirl", kOverBelow);
  swirl.effectLink = DS_HLSLEffectFile(u"glimres.dll", kSwirlEffect);
  swirl.centre.SetValueSilently(middle);
  swirl.amplitude.SetValue(16);
  swirl.ellipseDeformation.SetValue(400);
  swirl.ellipseTilt.SetValue(20);
  swirl.speed.SetValue(2);
  swirl.scale.SetValue(15);
  if (!radialMask.empty()) project.StoreGuidPicture(swirl.maskId, radialMask);

  // ... over the picture rocking about the sun by up to 5 degrees every 6 seconds, ...
  auto& rocking = Add<DS_RotationFX>(slide, u"Rocking", kOverBelow);
  rocking.effectLink = DS_HLSLEffectFile(u"glimres.dll", kRotationEffect);
  rocking.centre.SetValueSilently(sun);
  rocking.ellipseRatio.SetValue(1000);
  rocking.timelineDriven.SetValue(1);
  rocking.angleOffset.SetValue(5);
  ShowOver(rocking, 6.0f, TimeKey{0.5f, 5.5f, 2.5f, 3.5f});

  // ... over a lens on the hills that swells and shrinks.
  auto& lens = Add<DS_ExpandFX>(slide, u"Lens", kOverPicture);
  lens.centre.SetValueSilently(D3DXVECTOR3(width * 0.2f, height * 0.7f, 0.0f));
  lens.expansion.SetValue(60);
  lens.contraction.SetValue(30);
  lens.swingMode.SetValueSilently(kSineSwing);
  lens.scale.SetValue(15);
}

void AddColourBrushes(ProjectBuilder& project, DS_SlideContainer& slide, float width, float height,
                      const std::vector<uint8_t>& radialMask) {
  const D3DXVECTOR3 middle(width * 0.5f, height * 0.5f, 0.0f);

  // Night falls over all that is drawn and lifts again, ...
  auto& night = Add<DS_DayToNight>(slide, u"Night", kOverBelow);
  night.effectLink = DS_HLSLEffectFile(u"glimres.dll", kDayToNightEffect);
  night.maskQuad.SetRect(width, height, middle);
  night.multiplyColor.SetValue(0x00D0A080);  // a cool blue
  night.softLight.SetHSB(225, 60, 35);
  night.desaturation.SetValue(45);
  ShowOver(night, 11.0f, TimeKey{0.5f, 10.5f, 6.0f, 8.5f});

  // ... over a glow pulsing in the middle, ...
  auto& glow = Add<DS_LightFX>(slide, u"Glow", kOverBelow);
  glow.strength.SetValue(45);
  glow.speed.SetValue(10);  // a pulse of about 3 seconds
  if (!radialMask.empty()) project.StoreGuidPicture(glow.maskId, radialMask);

  // ... a band of warm light sweeping from left to right, ...
  auto& band = Add<DS_LightWaveFX>(slide, u"Band", kOverPicture);
  band.effectLink = DS_HLSLEffectFile(u"glimres.dll", kBlendedLightEffect);
  band.startPoint.SetValue(D3DXVECTOR3(-width * 0.1f, height * 0.5f, 0.0f));
  band.endPoint.SetValue(D3DXVECTOR3(width * 1.1f, height * 0.5f, 0.0f));
  band.bandWidth.SetValue(static_cast<unsigned>(width * 0.15f));
  band.strength.SetValue(35);
  band.lightColor.SetValue(0x0060C0FF);  // orange
  band.pulseMode.SetValue(1);
  band.oneWay.SetValue(1);
  band.speed.SetValue(25);

  // ... and a hue that swings a little.
  auto& hue = Add<DS_ColorShiftFX>(slide, u"Hue", kOverPicture);
  hue.effectLink = DS_HLSLEffectFile(u"glimres.dll", kColorShiftEffect);
  hue.hueMode.SetValue(kSineSwing);
  hue.hueSwing.SetValue(12);  // 6 % of a turn either way
  hue.saturationShift.SetValue(115);
}

void AddLayerBrushes(ProjectBuilder& project, DS_SlideContainer& slide, float width, float height,
                     const std::vector<uint8_t>& radialMask) {
  const D3DXVECTOR3 middle(width * 0.5f, height * 0.5f, 0.0f);

  // The middle is blurred, deeper and shallower, under the radial mask, ...
  auto& blur = Add<DS_BlureFX>(slide, u"Blur", kOverBelow);
  blur.effectLink = DS_HLSLEffectFile(u"glimres.dll", kBlurEffect);
  blur.radius.SetValue(14);
  blur.pulseMode.SetValue(kSinePulse);
  blur.speed.SetValue(40);
  if (!radialMask.empty()) project.StoreGuidPicture(blur.maskId, radialMask);

  // ... the stars drawn over the picture are erased towards its top, ...
  auto& erase = Add<DS_EraseLayerFX>(slide, u"Erase", kOnCopy);
  erase.effectLink = DS_HLSLEffectFile(u"glimres.dll", kEraseEffect);
  erase.maskSense.SetValue(5);  // keeps what the mask covers
  project.StoreGuidPicture(erase.maskId, TopFade());

  // ... stars are laid over the sky, ...
  auto& stars = Add<DS_PatternBrush>(slide, u"Stars", kOverPicture);
  stars.patternLink = project.StorePicture(u"stars.dds", StarTile());
  stars.patternScale.SetValue(150);
  stars.patternAngle.SetValue(15);

  // ... a haze shimmers over the hills' skyline, ...
  auto& heat = Add<DS_HeatDistortion>(slide, u"Haze", kOverPicture);
  heat.effectLink = DS_HLSLEffectFile(u"glimres.dll", kHeatEffect);
  heat.maskQuad.SetRect(width, height / 4.0f, D3DXVECTOR3(middle.x, height * 0.62f, 0.0f));
  heat.strength.SetValue(80);
  heat.heatSpeed.SetValue(120);
  heat.bumpScale.SetValue(40);

  // ... and the sky on the left stands out in relief.
  auto& relief = Add<DS_BumpFX>(slide, u"Relief", kOverPicture);
  relief.effectLink = DS_HLSLEffectFile(u"glimres.dll", kBumpEffect);
  relief.bumpPicture = DS_ImageFileLink(u"glimres.dll", kReliefPicture);
  relief.maskQuad.SetRect(width * 0.5f, height * 0.5f,
                          D3DXVECTOR3(width * 0.25f, height * 0.25f, 0.0f));
  relief.bumpStrength.SetValue(300);
  relief.pulseMode.SetValue(0);  // steady, as deep as the timeline has come
  relief.lightAzimuth.SetValue(30);
}

void AddSkyAndWater(ProjectBuilder& project, DS_SlideContainer& slide, float width, float height) {
  const float horizon = height * kSeaHorizon;
  const std::vector<uint8_t> sea = BelowHorizonMask(kSeaHorizon, 1.0f);

  // Drawn last: the sea, and all drawn on it, sways gently to and fro ...
  auto& sway = Add<DS_MoveFX>(slide, u"Sway", kOverBelow);
  sway.moveMode.SetValueSilently(kSineSwing);
  sway.baseStrength.SetValue(15);
  sway.secondStrength.SetValue(15);
  sway.directionAngle.SetValue(kRightwards);
  project.StoreGuidPicture(sway.maskId, sea);

  // ... under a rippling, lit water surface ...
  auto& water = Add<DS_WaterFX>(slide, u"Water", kOverBelow);
  water.surface.SetValue(2500);
  water.bumpScale.SetValue(40);
  water.shadows.SetValue(30);
  water.lightHeight.SetValue(5);
  project.StoreGuidPicture(water.maskId, sea);

  // ... with the sun's glitter streaming down the water below it ...
  auto& glitter = Add<DS_WaterfallFX>(slide, u"Glitter", kOverPicture);
  glitter.effectLink = DS_HLSLEffectFile(u"glimres.dll", kWaterfallEffect);
  glitter.noiseLink = DS_ImageFileLink(u"glimres.dll", kNoisePicture);
  glitter.directionAngle.SetValue(kDownwards);
  glitter.baseStrength.SetValue(8);
  glitter.threshold.SetValue(350);
  glitter.translucency.SetValue(40);
  glitter.noiseAmplitude.SetValue(80);
  glitter.layerCount.SetValue(4);
  // Just below the horizon, so that its shimmer draws nothing of the sky.
  const float top = horizon + height * 0.02f;
  glitter.maskQuad.SetRect(width * 0.16f, height - top,
                           D3DXVECTOR3(width * 0.30f, (top + height) * 0.5f, 0.0f));

  // ... and the clouds mirrored into the sea, upside down about the horizon, faintly ...
  auto& reflection = Add<DS_BackgroundCopy>(slide, u"Reflection", kOverPicture);
  reflection.source.SetValue(GUID::Parse(kCloudLayerGuid));
  reflection.verticalFlag.SetValue(1);
  reflection.rectangle.extra2.SetValue(static_cast<int>(std::lround(height - 2.0f * horizon)));
  project.StoreGuidPicture(reflection.maskId, BelowHorizonMask(kSeaHorizon, 0.45f));

  // ... of the clouds drifting over the sky, which lie flat towards the horizon.
  auto& clouds = Add<DS_CloudFX>(slide, u"Clouds", kOverPicture);
  clouds.guid = GUID::Parse(kCloudLayerGuid);
  clouds.effectLink = DS_HLSLEffectFile(u"glimres.dll", kCloudEffect);
  clouds.cloudLink = DS_ImageFileLink(u"glimres.dll", kCloudPicture);
  clouds.color1.SetValue(0xC0B0B0);
  clouds.color2.SetValue(0xFFFFFF);
  clouds.threshold.SetValue(20);
  clouds.density.SetValue(120);
  clouds.perspective.depthB.SetValue(100);
  clouds.perspective.flipFlag.SetValueSilently(1);
  clouds.directionAngle.SetValue(kRightwards);
  clouds.speed.SetValue(25);
  clouds.maskQuad.SetRect(width, horizon, D3DXVECTOR3(width * 0.5f, horizon * 0.5f, 0.0f));
}

void AddFireAlongTheFoot(DS_SlideContainer& slide, float width, float height) {
  auto& fire = Add<DS_FireFX>(slide, u"Fire", kOverPicture);
  fire.maskQuad.SetRect(width, height * 0.35f, D3DXVECTOR3(width * 0.5f, height * 0.725f, 0.0f));
  // The pattern three times across the picture.
  fire.stretch.SetValue(33);
}
