#pragma once

#include <GL/glcorearb.h>

#include <array>
#include <cstdint>

#include "platform/gfx/formats.h"

namespace gfx {

// How a texture format is stored in memory and in GL. DXT levels are kept as blocks in memory
// and decoded to BGRA bytes when uploaded, so no compression extension is needed.
struct TextureFormatInfo {
  bool valid = false;
  bool compressed = false;    // 4 x 4 blocks
  uint32_t bytesPerUnit = 0;  // per pixel, or per block when compressed
  GLenum internalFormat = 0;  // of render targets
  // Of the other textures, which are uploaded and sampled: for BGRA bytes the base format, in
  // which Mesa keeps the layout of the upload, so that uploads and read-backs are copies (the
  // sized GL_RGBA8 stores RGBA and swaps the bytes of every pixel, four times the time of a
  // copy); internalFormat for the other formats.
  GLenum sampledFormat = 0;
  GLenum uploadFormat = 0;
  GLenum uploadType = 0;
  std::array<GLint, 4> swizzle{GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA};
  bool renderTarget = false;
  bool signedUv = false;  // V8U8, V16U16: bump maps

  static TextureFormatInfo Of(Format format);

  // Bytes of one row (of pixels, or of blocks) and the number of such rows.
  uint32_t Pitch(uint32_t width) const;
  uint32_t Rows(uint32_t height) const;
};

// Decodes DXT1/3/5 blocks of a width x height level into BGRA bytes (4 per pixel, rows of
// width x 4 bytes, top row first).
void DecodeDxt(Format format, const uint8_t* blocks, uint32_t width, uint32_t height,
               uint8_t* bgra);

}  // namespace gfx
