#pragma once

#include <string>
#include <string_view>

#include "objects/text3d/glyph_mesh_block.h"
#include "tools/text_art/text_font.h"

// The glyph mesh of a 3D text as its record stores it (objects/text3d/zkw_3d_tex.h): every
// drawn glyph of the shaped text extruded from z = 0 (its front cap, facing +z) back to
// z = -depth (its back cap), with walls along its outline, in ems with y up. Vertices are
// XYZ | NORMAL (FVF 0x012, 24 bytes), flat on the caps and smooth along the walls where the
// outline bends gently; the faces of glyph i carry attribute i + 1. Glyphs without an outline
// (spaces) only move the pen. The text bounds and each glyph's bounds are the extents of their
// outlines. Every face runs counter-clockwise seen from outside, and the walls meet the caps
// edge to edge.
//
// False, with the reason in `error`, when a glyph cannot be cut into triangles or the mesh
// passes the 65,535 vertices that 16-bit indices reach.
bool BuildTextMesh(const TextFont& font, std::u16string_view text, float depth, GlyphSet& out,
                   std::string* error = nullptr, bool kerning = true);

// The depth of a 3D text record's stored depth value, as the record derives it.
inline float TextMeshDepth(unsigned storedDepth) {
  return static_cast<float>(storedDepth) * 0.004f + 0.001f;
}
