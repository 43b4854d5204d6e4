#pragma once

#include "platform/math/d3dx_types.h"

// The arithmetic of the 3D text that needs no device: its matrices, the glyphs' phases and the
// direction of its light. Mesh units have y up; the base matrix turns them into scene units.

// A rectangle of mesh units: the text bounds or a glyph's.
struct TextBox {
  float x0 = 0.0f, y0 = 0.0f;  // minimum corner
  float x1 = 0.0f, y1 = 0.0f;  // maximum corner

  float CentreX() const { return (x0 + x1) * 0.5f; }
  float CentreY() const { return (y0 + y1) * 0.5f; }
};

// Scaling(s) x RotationX(pi) x Translation(position.x - cx s, position.y + cy s, position.z):
// the centre (cx, cy) of the text bounds lands on the position, y turned downwards.
D3DXMATRIX TextBaseMatrix(float size, const D3DXVECTOR3& position, float cx, float cy);

// The whole text's motion about `pivot` (scene units) at `phase` degrees: kind 1 turns by the
// phase about the axis (0 x, 1 y, 2 z), 2 turns back, 3 swings by sin(0.1 phase) x amplitude
// degrees, 4 scales by sin(0.1 phase) x amplitude x 0.01 + 1. Any other kind, and an axis outside
// 0..2 for the turning kinds, gives the identity.
D3DXMATRIX ObjectMotionMatrix(int kind, int axis, float phase, float amplitude,
                              const D3DXVECTOR3& pivot);

// The phase q of glyph i, from 1 (at rest) down to -1, at glyph time T: f = T - i x delay; with
// `loop` 1, f is taken modulo period x glyph speed and is 0 outside 0..1 (0 for a period of 0);
// q = 1 - 2 x the fractional part of f, the fractional part counted from the floor so that glyphs
// still waiting for their start cycle as they do afterwards.
float GlyphPhase(float glyphTime, int index, float delay, int loop, float period, float glyphSpeed);

// A glyph's own motion at phase q about its centre `centre` (mesh units): 1 lift by
// H (1 - q^2), 2 flip about y by (q - 1) x 180 degrees, 3 wave by sin(q pi) H, 4 swing about y by
// sin(q pi) x amplitude x 0.9 degrees, 5 and 6 pulse out and in by (cos(q pi) + 1) x amplitude
// x +-0.0025 + 1; H = text height x 0.01 x amplitude (percent). Any other kind: the identity.
D3DXMATRIX GlyphMotionMatrix(int kind, float q, float amplitude, float textHeight,
                             const D3DXVECTOR3& centre);

// The bend of a glyph centred at x = gx along an arc of `degrees` over the text's width, about
// the text's top (side not 0) or bottom (side 0). No arc (the identity) for 0 degrees or a text
// without width.
D3DXMATRIX ArcMatrix(float degrees, int side, const TextBox& text, float gx);

// The direction of the text's light from its angles in degrees: (cos A, cos B sin A,
// sqrt(max(0, 1 - x^2 - y^2))).
D3DXVECTOR3 TextLightDirection(float angleA, float angleB);
