#pragma once

#include <cstdint>

#include "particles/classic/appearance/particle_appearance.h"
#include "particles/classic/lines/line_point.h"
#include "player/render/prerender_surface.h"

class DS_2D_Light;
class ZKW_ParticleSystemMech;

// What every line control does with its two looks: the line look draws its strips, the
// control's own look its head particles.

// The surface of a line control's multiply blend: a copy of the control gets a fresh surface.
class LineSurface : public ZKW_PrerenderSurface {
 public:
  LineSurface() = default;
  LineSurface(const LineSurface&) : ZKW_PrerenderSurface() {}
  LineSurface& operator=(const LineSurface&) = delete;
};

// Older records keep the line's look where the heads' look belongs and the other way round:
// each look takes the other's values (ParticleAppearance::Assign).
void ExchangeLooks(ParticleAppearance& a, ParticleAppearance& b);

// The envelope factor at u (the envelope applied to 1).
inline float EnvelopeAt(const PercentParamQuad& envelope, float u) {
  return envelope.Apply(u, 1.0f);
}

// The length along the line over which the strip texture repeats: the stored width times the
// aspect of the line look's first frame sequence (0 without one), so that a tile keeps the
// picture's proportions across the strip.
float LineRepeat(const ParticleAppearance& line, unsigned width);

// The texture coordinate of a point `distance` along the line: distance / repeat, 0 for a
// repeat of 0 (a strip of no width shows nothing to tile).
float LineV(float distance, float repeat);

// The line look's opacity byte O (0 to 255).
float LineOpacityByte(const ParticleAppearance& line);

// The point's colour: red, green and blue from the line look's first colour, alpha
// opacity / 255 (opacity 0 to 255).
void SetLineColour(LinePoint& point, const ParticleAppearance& line, float opacity);

// How often a line control reads the picture below in a frame: once for a multiply blend of the
// line, once for a screen glow of the line and once for a screen glow of drawn heads.
int LineReaders(const ParticleAppearance& line, const ParticleAppearance& look, bool headsOn);

// The strip of `lineBatch` (ParticleAppearance::DrawLine), then, when the heads are on, the
// heads' screen glow's switch of the target (cleared with `clearForHeads`) and the heads of
// `headBatch` drawn with their look.
void RenderLineAndHeads(ParticleAppearance& line, ZKW_PrerenderSurface& surface,
                        ParticleAppearance& look, bool headsOn, ZKW_ParticleSystemMech& mech,
                        uint8_t lineBatch, uint8_t headBatch, DS_2D_Light& renderer,
                        int* readerCount, bool clearForHeads);
