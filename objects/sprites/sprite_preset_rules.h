#pragma once

#include <cstdint>
#include <memory>

#include "core/scene/zkw_render_obj.h"
#include "objects/sprites/ds_base_sprite_prop.h"
#include "objects/sprites/sprite_record.h"

// Rules that several sprite preset kinds share.

// The pulse: the alpha factor moves by its rate x the motion step and turns at the pulse
// bounds; below the minimum the sprite is first spawned again when `respawn` is set. The colour
// word then follows the alpha factor.
void ApplyPulse(DS_ParticleSystemCtrl& preset, SpriteRecord& sprite, bool respawn);

// The run-time object of the plain presets: the embedded pictures resolved, then a
// DS_SpriteArrayObj on a clone.
std::unique_ptr<ZKW_RenderObj> MakeSpriteArrayObject(DS_ParticleSystemCtrl& preset);

// Export blocks of the kinds whose sprites turn or wait: a new block after a frame in which the
// frame event flag was set.
inline bool SplitOnFrameEvent(const DS_BaseSpriteProp& preset) {
  return preset.frameEvent;
}

// The count of a swarm that thins out while it fades: with time mode 0 and more than one
// sprite, the count x the timeline value, truncated; otherwise the count.
int FadingParticleCount(const DS_BaseSpriteProp& preset);
// A colour word faded only with time mode 1: the alpha x the timeline value, truncated; any
// other time mode leaves the colour as it is.
uint32_t FadingOpacity(const DS_BaseSpriteProp& preset, uint32_t colour);

// Old records of some kinds stand for a random timeline of fixed phases: makes one by class
// name with hidden and shown phases of `hidden` and `shown` hundredths of a second (minimum and
// maximum alike), fades of `fadeIn` and `fadeOut` hundredths, and makes it the description's
// current timeline under kind 1 (the kind stored without notification). Nothing without a
// registered random timeline class.
void UseFixedRandomTimeline(ZKW_SmartTiming& timing, unsigned hidden, unsigned shown,
                            unsigned fadeIn, unsigned fadeOut);

// The lean of a blade or stem swaying by s x `amplitude` degrees from upright (s in [-1, 1]):
// 1 / tan(180 - (s x amplitude + 90)) degrees, in floats, so that upright gives about -4.4e-8;
// 0 where the tangent is 0.
float SwayLean(float s, float amplitude);
