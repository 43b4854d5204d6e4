#include "objects/sprites/sprite_preset_rules.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "core/float_to_int.h"
#include "core/math/ratio.h"
#include "core/timing/random_timeline.h"
#include "core/timing/timing_registry.h"
#include "objects/sprites/ds_sprite_array_obj.h"

void ApplyPulse(DS_ParticleSystemCtrl& preset, SpriteRecord& sprite, bool respawn) {
  sprite.alphaFactor += sprite.alphaRate * preset.motionStep;
  if (sprite.alphaFactor < preset.pulseMin) {
    if (respawn) preset.SpawnParticle(sprite);
    sprite.alphaFactor = preset.pulseMin;
    sprite.alphaRate = -sprite.alphaRate;
  } else if (sprite.alphaFactor > preset.pulseMax) {
    sprite.alphaFactor = preset.pulseMax;
    sprite.alphaRate = -sprite.alphaRate;
  }
  sprite.colour = preset.SpriteColour(sprite.alphaFactor);
}

std::unique_ptr<ZKW_RenderObj> MakeSpriteArrayObject(DS_ParticleSystemCtrl& preset) {
  preset.ResolveEmbeddedPictures();
  return std::make_unique<DS_SpriteArrayObj>(preset.Clone());
}

int FadingParticleCount(const DS_BaseSpriteProp& preset) {
  const unsigned n = preset.count.Value();
  const unsigned shown =
      preset.timing.timeMode.Value() == 0 && n > 1
          ? SaturatingTruncate<unsigned>(static_cast<double>(n) * preset.TimelineValue())
          : n;
  return static_cast<int>(std::min<unsigned>(shown, std::numeric_limits<int>::max()));
}

uint32_t FadingOpacity(const DS_BaseSpriteProp& preset, uint32_t colour) {
  if (preset.timing.timeMode.Value() != 1) return colour;
  return ColourWithAlpha(colour, static_cast<float>(colour >> 24) * preset.TimelineValue());
}

void UseFixedRandomTimeline(ZKW_SmartTiming& timing, unsigned hidden, unsigned shown,
                            unsigned fadeIn, unsigned fadeOut) {
  std::unique_ptr<ZKW_Timing> created = CreateTimingByName(u"ZKW_RandomTimeLine");
  auto* random = dynamic_cast<ZKW_RandomTimeLine*>(created.get());
  if (random == nullptr) return;
  RandomTimeLineParams& p = random->params;
  p.hiddenMin.SetValue(hidden);
  p.hiddenMax.SetValue(hidden);
  p.shownMin.SetValue(shown);
  p.shownMax.SetValue(shown);
  p.fadeOut.SetValue(fadeOut);
  p.fadeIn.SetValue(fadeIn);
  // Equal limits draw nothing: the reset only takes the shown time of these limits.
  random->Reset();
  timing.RawValue() = 1;
  timing.SetTiming(std::move(created));
}

float SwayLean(float s, float amplitude) {
  const float degrees = 180.0f - (s * amplitude + 90.0f);
  return RatioOr0(1.0f, std::tan(degrees * 2.0f * 3.1415927f / 360.0f));
}
