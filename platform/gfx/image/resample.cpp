#include "platform/gfx/image/resample.h"

#include <algorithm>

#define STB_IMAGE_RESIZE_STATIC
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>

namespace gfx::image {

namespace {

FloatImage CopyToCorner(const FloatImage& source, uint32_t width, uint32_t height) {
  FloatImage out(width, height);
  const uint32_t w = std::min(width, source.width), h = std::min(height, source.height);
  for (uint32_t y = 0; y < h; ++y)
    std::copy_n(&source.At(0, y), w, &out.At(0, y));
  return out;
}

FloatImage Nearest(const FloatImage& source, uint32_t width, uint32_t height) {
  FloatImage out(width, height);
  for (uint32_t y = 0; y < height; ++y) {
    const uint32_t sy = uint32_t((uint64_t(y) * 2 + 1) * source.height / (uint64_t(height) * 2));
    for (uint32_t x = 0; x < width; ++x) {
      const uint32_t sx = uint32_t((uint64_t(x) * 2 + 1) * source.width / (uint64_t(width) * 2));
      out.At(x, y) = source.At(sx, sy);
    }
  }
  return out;
}

FloatImage Filtered(const FloatImage& source, uint32_t width, uint32_t height,
                    stbir_filter filter) {
  FloatImage out(width, height);
  // Colour values are filtered as they are stored: no gamma, alpha an ordinary channel.
  const int ok = stbir_resize_float_generic(
      &source.pixels[0].r, int(source.width), int(source.height), int(source.width * 16),
      &out.pixels[0].r, int(width), int(height), int(width * 16), 4, STBIR_ALPHA_CHANNEL_NONE, 0,
      STBIR_EDGE_CLAMP, filter, STBIR_COLORSPACE_LINEAR, nullptr);
  if (!ok) return Nearest(source, width, height);
  return out;
}

}  // namespace

FloatImage Resample(const FloatImage& source, uint32_t width, uint32_t height, uint32_t filter) {
  if (width == 0 || height == 0) return FloatImage(width, height);
  if (source.width == 0 || source.height == 0) return FloatImage(width, height);
  switch (filter & 0xFF) {
    case D3DX_FILTER_NONE:
      return CopyToCorner(source, width, height);
    case D3DX_FILTER_POINT:
      return Nearest(source, width, height);
    default:
      if (width == source.width && height == source.height) return source;
      return Filtered(
          source, width, height,
          (filter & 0xFF) == D3DX_FILTER_BOX ? STBIR_FILTER_BOX : STBIR_FILTER_TRIANGLE);
  }
}

FloatImage NextMipLevel(const FloatImage& level, uint32_t mipFilter) {
  const uint32_t w = std::max(1u, level.width / 2), h = std::max(1u, level.height / 2);
  if ((mipFilter & 0xFF) == D3DX_FILTER_NONE) return FloatImage(w, h);
  return Resample(level, w, h, mipFilter == D3DX_DEFAULT ? D3DX_FILTER_BOX : mipFilter);
}

}  // namespace gfx::image
