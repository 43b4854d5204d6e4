#pragma once

#include "platform/gfx/effect/effect.h"

// The band of light or saturation that the saturation and light waves sweep: the effects weigh
// a pixel at p (its target position in pixels) by cos(((p - "WavePos") . "WaveDir") x
// "WaveFreq") over the one lobe where that is positive: a band of the given width about the wave
// position.

// pi / width; +inf for a band of no width, which the effects draw as a hard edge.
float BandFrequency(unsigned width);

// "BgSize" = the current target's size, "WaveDir" = (dx, dy), "WavePos" = (x, y) and
// "WaveFreq" = BandFrequency(width).
void BindWaveBand(gfx::Effect& effect, float dx, float dy, float x, float y, unsigned width);
