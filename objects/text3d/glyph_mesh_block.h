#pragma once

#include <cstdint>
#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/com_ref.h"
#include "core/param/media_quad.h"
#include "platform/gfx/mesh/fvf_mesh.h"

// The glyph mesh of a 3D text as its record stores it: F faces, V vertices, the mesh's creation
// options, its FVF, S bytes per vertex, then S x V bytes of vertices, F x 3 16-bit indices and
// F 32-bit attributes. The attribute of a face is its glyph: subset i holds glyph i, from 1.
struct GlyphMeshBlock {
  uint32_t faceCount = 0;
  uint32_t vertexCount = 0;
  uint32_t options = 0;
  uint32_t fvf = 0;
  uint32_t stride = 0;
  std::vector<uint8_t> vertices;
  std::vector<uint16_t> indices;
  std::vector<uint32_t> attributes;

  // Whether the block makes a mesh: it has faces and vertices, holds the bytes its counts give,
  // its FVF decodes with a position, S is the FVF's vertex size, 16-bit indices reach every
  // vertex and every index names one of the V vertices. Indices are 16-bit whatever the
  // options say.
  bool Drawable() const;
  // The mesh of a drawable block on `device`, its three buffers filled (locked with discard);
  // null for a block that is not drawable or a mesh that cannot be made.
  ComRef<gfx::FvfMesh> MakeMesh(gfx::Device* device) const;
};

// Reads the five Dwords, then the three byte blocks when S x V + 10 x F bytes (counted in 64
// bits) remain; otherwise the stream fails, as for a truncated file, and the block keeps no
// bytes.
void ReadGlyphMeshBlock(DS_IOF_Archive& archive, GlyphMeshBlock& block);
// Writes the five Dwords and the byte blocks as they are.
void WriteGlyphMeshBlock(DS_IOF_Archive& archive, const GlyphMeshBlock& block);

// What a 3D text's record stores of its glyphs: the mesh block, the text bounds and one bounds
// quad per glyph, each with corners (x min, y min), (x min, y max), (x max, y min), (x max, y
// max) in mesh units.
struct GlyphSet {
  GlyphSet() = default;
  GlyphSet(const GlyphSet& other) = default;
  // Takes the other's values; the quads keep their own observers.
  GlyphSet& operator=(const GlyphSet& other);

  GlyphMeshBlock mesh;
  MediaQuad textBounds;
  std::vector<MediaQuad> glyphBounds;
};

// The mesh block, 12 Float text bounds, a Dword glyph count N (checked against the bytes left:
// a count that cannot be there fails the stream and reads no bounds) and N x 12 Float glyph
// bounds.
void ReadGlyphSet(DS_IOF_Archive& archive, GlyphSet& glyphs);
void WriteGlyphSet(DS_IOF_Archive& archive, const GlyphSet& glyphs);
