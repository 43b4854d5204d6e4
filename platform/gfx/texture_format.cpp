#include "platform/gfx/texture_format.h"

#include <algorithm>
#include <cstring>

namespace gfx {

TextureFormatInfo TextureFormatInfo::Of(Format format) {
  TextureFormatInfo f;
  f.valid = true;
  switch (format) {
    case Format::A8R8G8B8:
    case Format::X8R8G8B8:
      f.bytesPerUnit = 4;
      f.internalFormat = GL_RGBA8;
      f.sampledFormat = GL_RGBA;
      f.uploadFormat = GL_BGRA;
      f.uploadType = GL_UNSIGNED_BYTE;
      f.renderTarget = true;
      if (format == Format::X8R8G8B8) f.swizzle[3] = GL_ONE;
      break;
    case Format::A8:
      f.bytesPerUnit = 1;
      f.internalFormat = GL_R8;
      f.uploadFormat = GL_RED;
      f.uploadType = GL_UNSIGNED_BYTE;
      f.swizzle = {GL_ZERO, GL_ZERO, GL_ZERO, GL_RED};
      break;
    case Format::V8U8:
      f.bytesPerUnit = 2;
      f.internalFormat = GL_RG8_SNORM;
      f.uploadFormat = GL_RG;
      f.uploadType = GL_BYTE;
      f.swizzle = {GL_RED, GL_GREEN, GL_ONE, GL_ONE};
      f.signedUv = true;
      break;
    case Format::V16U16:
      f.bytesPerUnit = 4;
      f.internalFormat = GL_RG16_SNORM;
      f.uploadFormat = GL_RG;
      f.uploadType = GL_SHORT;
      f.swizzle = {GL_RED, GL_GREEN, GL_ONE, GL_ONE};
      f.signedUv = true;
      break;
    case Format::Dxt1:
    case Format::Dxt3:
    case Format::Dxt5:
      f.compressed = true;
      f.bytesPerUnit = format == Format::Dxt1 ? 8 : 16;
      f.internalFormat = GL_RGBA8;
      f.sampledFormat = GL_RGBA;
      f.uploadFormat = GL_BGRA;
      f.uploadType = GL_UNSIGNED_BYTE;
      break;
    default:
      return {};
  }
  if (!f.sampledFormat) f.sampledFormat = f.internalFormat;
  return f;
}

uint32_t TextureFormatInfo::Pitch(uint32_t width) const {
  return compressed ? std::max(1u, (width + 3) / 4) * bytesPerUnit : width * bytesPerUnit;
}

uint32_t TextureFormatInfo::Rows(uint32_t height) const {
  return compressed ? std::max(1u, (height + 3) / 4) : height;
}

namespace {

struct Rgb {
  uint8_t r, g, b;
};

Rgb Expand565(uint16_t c) {
  const uint8_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
  return {uint8_t(r << 3 | r >> 2), uint8_t(g << 2 | g >> 4), uint8_t(b << 3 | b >> 2)};
}

// The colour part of a block: two 5:6:5 end points and 2-bit indices. In DXT1 a first end point
// not above the second selects three colours and transparent black.
void DecodeColorBlock(const uint8_t* block, bool dxt1, uint8_t out[16][4]) {
  const uint16_t c0 = uint16_t(block[0] | block[1] << 8), c1 = uint16_t(block[2] | block[3] << 8);
  const Rgb e0 = Expand565(c0), e1 = Expand565(c1);
  uint8_t palette[4][4] = {{e0.b, e0.g, e0.r, 255}, {e1.b, e1.g, e1.r, 255}, {}, {}};
  if (!dxt1 || c0 > c1) {
    for (int k = 0; k < 3; ++k) {
      palette[2][k] = uint8_t((2 * palette[0][k] + palette[1][k] + 1) / 3);
      palette[3][k] = uint8_t((palette[0][k] + 2 * palette[1][k] + 1) / 3);
    }
    palette[2][3] = palette[3][3] = 255;
  } else {
    for (int k = 0; k < 3; ++k)
      palette[2][k] = uint8_t((palette[0][k] + palette[1][k]) / 2);
    palette[2][3] = 255;
    std::memset(palette[3], 0, 4);
  }
  const uint32_t indices = uint32_t(block[4] | block[5] << 8 | block[6] << 16) | uint32_t(block[7])
                                                                                     << 24;
  for (int i = 0; i < 16; ++i)
    std::memcpy(out[i], palette[(indices >> (2 * i)) & 3], 4);
}

void DecodeExplicitAlpha(const uint8_t* block, uint8_t out[16][4]) {
  for (int i = 0; i < 16; ++i) {
    const uint8_t nibble = (block[i / 2] >> (4 * (i % 2))) & 15;
    out[i][3] = uint8_t(nibble * 17);
  }
}

void DecodeInterpolatedAlpha(const uint8_t* block, uint8_t out[16][4]) {
  const uint8_t a0 = block[0], a1 = block[1];
  uint8_t palette[8] = {a0, a1};
  if (a0 > a1) {
    for (int k = 1; k < 7; ++k)
      palette[k + 1] = uint8_t(((7 - k) * a0 + k * a1 + 3) / 7);
  } else {
    for (int k = 1; k < 5; ++k)
      palette[k + 1] = uint8_t(((5 - k) * a0 + k * a1 + 2) / 5);
    palette[6] = 0;
    palette[7] = 255;
  }
  uint64_t bits = 0;
  for (int k = 0; k < 6; ++k)
    bits |= uint64_t(block[2 + k]) << (8 * k);
  for (int i = 0; i < 16; ++i)
    out[i][3] = palette[(bits >> (3 * i)) & 7];
}

}  // namespace

void DecodeDxt(Format format, const uint8_t* blocks, uint32_t width, uint32_t height,
               uint8_t* bgra) {
  const uint32_t blockBytes = format == Format::Dxt1 ? 8 : 16;
  const uint32_t blocksX = std::max(1u, (width + 3) / 4), blocksY = std::max(1u, (height + 3) / 4);
  for (uint32_t by = 0; by < blocksY; ++by) {
    for (uint32_t bx = 0; bx < blocksX; ++bx) {
      const uint8_t* block = blocks + (by * blocksX + bx) * blockBytes;
      uint8_t texels[16][4];
      if (format == Format::Dxt1) {
        DecodeColorBlock(block, true, texels);
      } else {
        DecodeColorBlock(block + 8, false, texels);
        if (format == Format::Dxt3)
          DecodeExplicitAlpha(block, texels);
        else
          DecodeInterpolatedAlpha(block, texels);
      }
      for (uint32_t y = 0; y < 4; ++y) {
        for (uint32_t x = 0; x < 4; ++x) {
          const uint32_t px = bx * 4 + x, py = by * 4 + y;
          if (px < width && py < height)
            std::memcpy(bgra + (size_t(py) * width + px) * 4, texels[y * 4 + x], 4);
        }
      }
    }
  }
}

}  // namespace gfx
