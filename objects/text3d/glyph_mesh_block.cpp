#include "objects/text3d/glyph_mesh_block.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/gfx/formats.h"
#include "platform/gfx/fvf.h"

namespace {

constexpr uint32_t kFloatsPerQuad = 12;

// Byte blocks of no length touch no memory.
void ReadBlock(DS_IOF_Virtual& io, uint64_t size, void* data) {
  if (size > 0) io.ReadBytes(static_cast<uint32_t>(size), data);
}
void WriteBlock(DS_IOF_Virtual& io, uint64_t size, const void* data) {
  if (size > 0) io.WriteBytes(static_cast<uint32_t>(size), data);
}

// Fills one buffer of the mesh through its lock, as the record's bytes stand.
template <class Lock, class Unlock>
bool Fill(Lock lock, Unlock unlock, const void* bytes, size_t size) {
  void* data = nullptr;
  if (gfx::Failed(lock(&data)) || data == nullptr) return false;
  std::memcpy(data, bytes, size);
  unlock();
  return true;
}

}  // namespace

bool GlyphMeshBlock::Drawable() const {
  const gfx::FvfLayout layout = gfx::FvfLayout::Decode(fvf);
  if (faceCount == 0 || vertexCount == 0 || vertexCount > 0xFFFF || !layout.valid ||
      layout.positionComponents == 0 || stride != uint32_t(layout.size))
    return false;
  if (vertices.size() != uint64_t{stride} * vertexCount ||
      indices.size() != uint64_t{faceCount} * 3 || attributes.size() != faceCount)
    return false;
  return std::all_of(indices.begin(), indices.end(),
                     [&](uint16_t index) { return index < vertexCount; });
}

ComRef<gfx::FvfMesh> GlyphMeshBlock::MakeMesh(gfx::Device* device) const {
  if (device == nullptr || !Drawable()) return {};
  gfx::FvfMesh* made = nullptr;
  if (gfx::Failed(D3DXCreateMeshFVF(faceCount, vertexCount, options & ~gfx::MeshOption::Use32Bit,
                                    fvf, device, &made)))
    return {};
  ComRef<gfx::FvfMesh> mesh(made);
  const uint32_t discard = gfx::LockFlags::Discard;
  const bool filled =
      Fill([&](void** data) { return mesh->LockVertexBuffer(discard, data); },
           [&] { mesh->UnlockVertexBuffer(); }, vertices.data(), vertices.size()) &&
      Fill([&](void** data) { return mesh->LockIndexBuffer(discard, data); },
           [&] { mesh->UnlockIndexBuffer(); }, indices.data(), indices.size() * 2) &&
      Fill(
          [&](void** data) {
            uint32_t* words = nullptr;
            const gfx::HResult hr = mesh->LockAttributeBuffer(discard, &words);
            *data = words;
            return hr;
          },
          [&] { mesh->UnlockAttributeBuffer(); }, attributes.data(), attributes.size() * 4);
  return filled ? mesh : ComRef<gfx::FvfMesh>();
}

void ReadGlyphMeshBlock(DS_IOF_Archive& archive, GlyphMeshBlock& block) {
  DS_IOF_Virtual& io = archive.io();
  block = GlyphMeshBlock{};
  io.ReadDword(block.faceCount);
  io.ReadDword(block.vertexCount);
  io.ReadDword(block.options);
  io.ReadDword(block.fvf);
  io.ReadDword(block.stride);
  if (io.Failed()) return;
  const uint64_t vertexBytes = uint64_t{block.stride} * block.vertexCount;
  const uint64_t faceBytes = uint64_t{block.faceCount} * 10;
  // Each size fits in 64 bits; their sum need not, so they are compared one at a time.
  const uint64_t remaining = io.Remaining();
  if (vertexBytes > remaining || faceBytes > remaining - vertexBytes) {
    io.Fail("a glyph mesh of " + std::to_string(block.vertexCount) + " vertices of " +
            std::to_string(block.stride) + " bytes and " + std::to_string(block.faceCount) +
            " faces needs more than the " + std::to_string(remaining) + " bytes that remain");
    return;
  }
  block.vertices.resize(vertexBytes);
  block.indices.resize(size_t{block.faceCount} * 3);
  block.attributes.resize(block.faceCount);
  // Each block fits in what remains of the project, so in 32 bits.
  ReadBlock(io, vertexBytes, block.vertices.data());
  ReadBlock(io, block.indices.size() * 2, block.indices.data());
  ReadBlock(io, block.attributes.size() * 4, block.attributes.data());
}

void WriteGlyphMeshBlock(DS_IOF_Archive& archive, const GlyphMeshBlock& block) {
  DS_IOF_Virtual& io = archive.io();
  io.WriteDword(block.faceCount);
  io.WriteDword(block.vertexCount);
  io.WriteDword(block.options);
  io.WriteDword(block.fvf);
  io.WriteDword(block.stride);
  WriteBlock(io, block.vertices.size(), block.vertices.data());
  WriteBlock(io, block.indices.size() * 2, block.indices.data());
  WriteBlock(io, block.attributes.size() * 4, block.attributes.data());
}

GlyphSet& GlyphSet::operator=(const GlyphSet& other) {
  if (this == &other) return *this;
  mesh = other.mesh;
  for (size_t i = 0; i < textBounds.corners.size(); ++i)
    textBounds.corners[i].RawValue() = other.textBounds.corners[i].Value();
  glyphBounds.clear();
  glyphBounds.reserve(other.glyphBounds.size());
  for (const MediaQuad& bounds : other.glyphBounds)
    glyphBounds.emplace_back(bounds);
  return *this;
}

void ReadGlyphSet(DS_IOF_Archive& archive, GlyphSet& glyphs) {
  DS_IOF_Virtual& io = archive.io();
  ReadGlyphMeshBlock(archive, glyphs.mesh);
  ReadMediaQuad(archive, glyphs.textBounds);
  uint32_t count = 0;
  io.ReadDword(count);
  glyphs.glyphBounds.clear();
  if (io.Failed() || !io.CountFits(count, kFloatsPerQuad * 4)) return;
  glyphs.glyphBounds.reserve(count);
  for (uint32_t i = 0; i < count; ++i)
    ReadMediaQuad(archive, glyphs.glyphBounds.emplace_back());
}

void WriteGlyphSet(DS_IOF_Archive& archive, const GlyphSet& glyphs) {
  WriteGlyphMeshBlock(archive, glyphs.mesh);
  WriteMediaQuad(archive, glyphs.textBounds);
  archive.io().WriteDword(static_cast<uint32_t>(glyphs.glyphBounds.size()));
  for (const MediaQuad& bounds : glyphs.glyphBounds)
    WriteMediaQuad(archive, bounds);
}
