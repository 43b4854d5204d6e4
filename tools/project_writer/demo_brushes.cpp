#include "tools/project_writer/demo_brushes.h"

#include <memory>

#include "core/timing/manual_timeline.h"
#include "fx/distortion/ds_expand_fx.h"
#include "fx/distortion/ds_quorbel_vortical.h"
#include "fx/distortion/ds_rotation_fx.h"
#include "fx/lines/ds_perspective_fx.h"
#include "fx/lines/ds_stretch_fx.h"
#include "fx/waves/ds_radial_wave_fx.h"
#include "fx/waves/ds_waves_fx.h"
#include "player/scene/ds_slide_container.h"
#include "tools/project_writer/project_builder.h"

namespace {

// The effects of ours that brush records link without an id of their own.
constexpr int64_t kRotationEffect = 2101;
constexpr int64_t kSwirlEffect = 2104;
constexpr int64_t kPerspectiveEffect = 2105;
constexpr int64_t kStretchEffect = 2106;

// Brush modes: 0 draws over the slide from its picture, 1 redraws all that is drawn below it.
constexpr int kOverPicture = 0;
constexpr int kOverBelow = 1;

// A sine swing between a brush's two strengths.
constexpr int kSineSwing = 3;
// The timeline kind that repeats its intervals.
constexpr int kManualTimeline = 2;

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
  rocking.timing.SetValue(kManualTimeline);
  if (auto* rock = dynamic_cast<ZKW_ManualTimeLine*>(rocking.timing.Current())) {
    rock->period.SetValue(600);
    rock->keys.insert(TimeKey{0.5f, 5.5f, 2.5f, 3.5f});
  }

  // ... over a lens on the hills that swells and shrinks.
  auto& lens = Add<DS_ExpandFX>(slide, u"Lens", kOverPicture);
  lens.centre.SetValueSilently(D3DXVECTOR3(width * 0.2f, height * 0.7f, 0.0f));
  lens.expansion.SetValue(60);
  lens.contraction.SetValue(30);
  lens.swingMode.SetValueSilently(kSineSwing);
  lens.scale.SetValue(15);
}
