#pragma once

#include "platform/math/d3dx_types.h"

// The arithmetic of the flat textured text that needs no device: where its text picture lies on
// its quad and how it fades.

// The text picture on the quad, in texture units: the quad spans a (u) by c (v) of the
// picture's texture, and the alignment offsets e (u) and f (v) place the used part of the
// picture on it.
struct FlatTextPlacement {
  float a = 0.0f, c = 0.0f;
  float e = 0.0f, f = 0.0f;
};

// The quad from `first` (x min, y min) to `last` (x max, y max) on a texture of `textureWidth`
// x `textureHeight` texels whose used fractions are `usedU` and `usedV`: a = quad width /
// texture width, c likewise, e = (usedU - a) x horizontal x 0.5, f = (usedV - c) x vertical x
// 0.5 (alignment 0 start, 1 centre, 2 end). A texture without size gives a = c = 0.
FlatTextPlacement PlaceFlatText(const D3DXVECTOR3& first, const D3DXVECTOR3& last,
                                float textureWidth, float textureHeight, float usedU, float usedV,
                                int horizontal, int vertical);

// One end of a fade: the text's alpha, the shift of the picture in texture units and the wipe
// position (how much of each half of the quad, from its edges, is wiped away).
struct FadeEnd {
  float alpha = 1.0f;
  D3DXVECTOR2 shift;
  D3DXVECTOR2 wipe;
};

// A fade from the hidden end to the shown end.
struct FadeTable {
  FadeEnd hidden;
  FadeEnd shown;

  // hidden + (shown - hidden) x v for each value.
  FadeEnd At(float v) const;
};

// The fade tables of fade kinds 0 to 8 (any other kind does not fade): 1 alpha, 2 to 5 slides
// (left, right, down, up for the fade-in, the mirror for the fade-out), 6 to 8 wipes (vertical,
// horizontal, both). `usedU` and `usedV` are the used fractions of the text picture.
FadeTable FadeInTable(int kind, const FlatTextPlacement& p, float usedU, float usedV);
FadeTable FadeOutTable(int kind, const FlatTextPlacement& p, float usedU, float usedV);
