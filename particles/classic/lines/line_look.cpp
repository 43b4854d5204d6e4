#include "particles/classic/lines/line_look.h"

#include "core/math/ratio.h"
#include "particles/classic/control/particle_system_mech.h"
#include "renderers/light/ds_2d_light.h"

void ExchangeLooks(ParticleAppearance& a, ParticleAppearance& b) {
  const ParticleAppearance copy(a);
  a.Assign(b);
  b.Assign(copy);
}

float LineRepeat(const ParticleAppearance& line, unsigned width) {
  const float aspect = line.frames.empty() ? 0.0f : line.frames.front().aspect;
  return static_cast<float>(width) * aspect;
}

float LineV(float distance, float repeat) {
  return RatioOr0(distance, repeat);
}

float LineOpacityByte(const ParticleAppearance& line) {
  return static_cast<float>(line.colorSet.opacity.Scaled());
}

void SetLineColour(LinePoint& point, const ParticleAppearance& line, float opacity) {
  const std::vector<uint32_t>& colours = line.colorSet.colors.Value();
  const uint32_t first = colours.empty() ? 0xFFFFFF : colours.front();
  point.colour = {static_cast<float>(first & 0xFF) / 255.0f,
                  static_cast<float>((first >> 8) & 0xFF) / 255.0f,
                  static_cast<float>((first >> 16) & 0xFF) / 255.0f, opacity / 255.0f};
}

int LineReaders(const ParticleAppearance& line, const ParticleAppearance& look, bool headsOn) {
  int readers = line.blend.Value() > 0 ? 1 : 0;
  if (line.glowMode.Value() == ParticleAppearance::kScreenGlow) ++readers;
  if (headsOn && look.glowMode.Value() == ParticleAppearance::kScreenGlow) ++readers;
  return readers;
}

void RenderLineAndHeads(ParticleAppearance& line, ZKW_PrerenderSurface& surface,
                        ParticleAppearance& look, bool headsOn, ZKW_ParticleSystemMech& mech,
                        uint8_t lineBatch, uint8_t headBatch, DS_2D_Light& renderer,
                        int* readerCount, bool clearForHeads) {
  line.DrawLine(surface, mech, lineBatch, renderer, readerCount);
  if (!headsOn) return;
  if (look.glowMode.Value() == ParticleAppearance::kScreenGlow)
    renderer.SwitchTarget(readerCount, clearForHeads);
  look.Draw(mech, headBatch, renderer);
}
