#include "platform/gfx/image/dxt_encoder.h"

#include <cstring>

#define STB_DXT_STATIC
#define STB_DXT_IMPLEMENTATION
#include <stb/stb_dxt.h>

namespace gfx::image {

namespace {

void Expand565(uint16_t c, int rgb[3]) {
  const int r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
  rgb[0] = r << 3 | r >> 2;
  rgb[1] = g << 2 | g >> 4;
  rgb[2] = b << 3 | b >> 2;
}

void Put16(uint8_t* out, uint16_t v) {
  out[0] = uint8_t(v), out[1] = uint8_t(v >> 8);
}

// DXT1 with transparent pixels: the three-colour mode (first end point not above the second),
// in which index 3 is transparent black.
void EncodeDxt1WithAlpha(const uint8_t rgba[16][4], uint8_t* out) {
  int firstOpaque = -1;
  for (int i = 0; i < 16 && firstOpaque < 0; ++i)
    if (rgba[i][3] >= 128) firstOpaque = i;
  if (firstOpaque < 0) {
    std::memset(out, 0, 4);
    std::memset(out + 4, 0xFF, 4);
    return;
  }
  // End points from the opaque pixels only: the transparent ones take an opaque colour.
  uint8_t opaque[16][4];
  for (int i = 0; i < 16; ++i)
    std::memcpy(opaque[i], rgba[i][3] >= 128 ? rgba[i] : rgba[firstOpaque], 4);
  uint8_t block[8];
  stb_compress_dxt_block(block, &opaque[0][0], 0, STB_DXT_HIGHQUAL);
  const uint16_t hi = uint16_t(block[0] | block[1] << 8), lo = uint16_t(block[2] | block[3] << 8);
  int p[3][3];
  Expand565(lo, p[0]);
  Expand565(hi, p[1]);
  for (int k = 0; k < 3; ++k)
    p[2][k] = (p[0][k] + p[1][k]) / 2;
  uint32_t indices = 0;
  for (int i = 0; i < 16; ++i) {
    uint32_t index = 3;
    if (rgba[i][3] >= 128) {
      int best = 1 << 30;
      for (uint32_t j = 0; j < 3; ++j) {
        int d = 0;
        for (int k = 0; k < 3; ++k)
          d += (rgba[i][k] - p[j][k]) * (rgba[i][k] - p[j][k]);
        if (d < best) best = d, index = j;
      }
    }
    indices |= index << (2 * i);
  }
  Put16(out, lo);
  Put16(out + 2, hi);
  for (int i = 0; i < 4; ++i)
    out[4 + i] = uint8_t(indices >> (8 * i));
}

}  // namespace

void EncodeDxtBlock(Format format, const uint8_t rgba[16][4], uint8_t* out) {
  const auto* src = &rgba[0][0];
  switch (format) {
    case Format::Dxt1: {
      bool transparent = false;
      for (int i = 0; i < 16; ++i)
        transparent |= rgba[i][3] < 128;
      if (transparent)
        EncodeDxt1WithAlpha(rgba, out);
      else
        stb_compress_dxt_block(out, src, 0, STB_DXT_HIGHQUAL);
      break;
    }
    case Format::Dxt3: {
      // Explicit 4-bit alpha, two pixels a byte, the first in the low half.
      for (int i = 0; i < 8; ++i) {
        const int a0 = (rgba[2 * i][3] * 15 + 127) / 255,
                  a1 = (rgba[2 * i + 1][3] * 15 + 127) / 255;
        out[i] = uint8_t(a0 | a1 << 4);
      }
      stb_compress_dxt_block(out + 8, src, 0, STB_DXT_HIGHQUAL);
      break;
    }
    case Format::Dxt5:
      stb_compress_dxt_block(out, src, 1, STB_DXT_HIGHQUAL);
      break;
    default:
      break;
  }
}

}  // namespace gfx::image
