#pragma once

#include <cstdint>
#include <vector>

#include "platform/math/d3dx_types.h"
#include "tools/text_art/text_font.h"

// A glyph's outline as closed polygons, in ems with y up: FreeType's outline with its curves
// flattened into short lines.
struct GlyphOutline {
  // Each contour once around, its last point not repeating its first.
  std::vector<std::vector<D3DXVECTOR2>> contours;
  // The fill rule of the outline's flags: even-odd, else non-zero.
  bool evenOdd = false;
  // Whether the filled side of each edge lies to its right (TrueType's orientation), else to
  // its left.
  bool fillsRight = true;
  // Extent of the points; all 0 for a glyph without contours (a space).
  float minX = 0.0f, minY = 0.0f, maxX = 0.0f, maxY = 0.0f;
};

// The outline of glyph `index`, unhinted at the face's design size, slanted for an oblique
// font. Curves are cut into lines no longer than about `step` ems. False when the glyph cannot
// be loaded or has no outline.
bool LoadGlyphOutline(const TextFont& font, uint32_t index, GlyphOutline& out, float step = 0.02f);
