#include "fx/bases/wave_band.h"

#include <limits>

#include "core/scene/scene_services.h"

float BandFrequency(unsigned width) {
  return width != 0 ? 3.1415927f / static_cast<float>(width)
                    : std::numeric_limits<float>::infinity();
}

void BindWaveBand(gfx::Effect& effect, float dx, float dy, float x, float y, unsigned width) {
  float w = 0.0f, h = 0.0f;
  CurrentTargetSize(w, h);
  const float size[2] = {w, h};
  const float direction[2] = {dx, dy};
  const float position[2] = {x, y};
  effect.SetFloatArray("BgSize", size, 2);
  effect.SetFloatArray("WaveDir", direction, 2);
  effect.SetFloatArray("WavePos", position, 2);
  effect.SetFloat("WaveFreq", BandFrequency(width));
}
