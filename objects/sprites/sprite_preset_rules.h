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
