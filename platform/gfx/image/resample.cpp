#include "platform/gfx/image/resample.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

// The source pixels that make one target pixel along an axis, with their weights.
struct Tap {
  uint32_t index;
  float weight;
};

// Weights of a separable filter from `in` to `out` pixels: a tent one source pixel wide, or as
// wide as a target pixel covers when shrinking (TRIANGLE), or the share of each source pixel
// in the target pixel's span (BOX). Taps past the edge read the edge pixel.
std::vector<std::vector<Tap>> Weights(uint32_t in, uint32_t out, bool box) {
  const double scale = double(out) / double(in);
  std::vector<std::vector<Tap>> taps(out);
  for (uint32_t x = 0; x < out; ++x) {
    std::vector<Tap>& t = taps[x];
    auto add = [&](int64_t i, double w) {
      if (w > 0) t.push_back({uint32_t(std::clamp<int64_t>(i, 0, int64_t(in) - 1)), float(w)});
    };
    if (box) {
      const double lo = x / scale, hi = (x + 1) / scale;
      for (int64_t i = int64_t(std::floor(lo)); double(i) < hi; ++i)
        add(i, std::min(hi, double(i + 1)) - std::max(lo, double(i)));
    } else {
      const double center = (x + 0.5) / scale - 0.5, radius = std::max(1.0, 1.0 / scale);
      for (int64_t i = int64_t(std::ceil(center - radius)); double(i) <= center + radius; ++i)
        add(i, 1.0 - std::abs(double(i) - center) / radius);
    }
    float total = 0;
    for (const Tap& tap : t)
      total += tap.weight;
    if (total <= 0) {
      t = {{std::min(uint32_t(x / scale), in - 1), 1.0f}};
      continue;
    }
    for (Tap& tap : t)
      tap.weight /= total;
  }
  return taps;
}

FloatImage Filtered(const FloatImage& source, uint32_t width, uint32_t height, bool box) {
  // Rows first, then columns.
  const auto across = Weights(source.width, width, box);
  FloatImage wide(width, source.height);
  for (uint32_t y = 0; y < source.height; ++y)
    for (uint32_t x = 0; x < width; ++x) {
      Color4 sum;
      for (const Tap& t : across[x]) {
        const Color4& c = source.At(t.index, y);
        sum.r += c.r * t.weight, sum.g += c.g * t.weight, sum.b += c.b * t.weight;
        sum.a += c.a * t.weight;
      }
      wide.At(x, y) = sum;
    }
  const auto down = Weights(source.height, height, box);
  FloatImage out(width, height);
  for (uint32_t y = 0; y < height; ++y)
    for (const Tap& t : down[y])
      for (uint32_t x = 0; x < width; ++x) {
        const Color4& c = wide.At(x, t.index);
        Color4& o = out.At(x, y);
        o.r += c.r * t.weight, o.g += c.g * t.weight, o.b += c.b * t.weight;
        o.a += c.a * t.weight;
      }
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
      return Filtered(source, width, height, (filter & 0xFF) == D3DX_FILTER_BOX);
  }
}

FloatImage NextMipLevel(const FloatImage& level, uint32_t mipFilter) {
  const uint32_t w = std::max(1u, level.width / 2), h = std::max(1u, level.height / 2);
  if ((mipFilter & 0xFF) == D3DX_FILTER_NONE) return FloatImage(w, h);
  return Resample(level, w, h, mipFilter == D3DX_DEFAULT ? D3DX_FILTER_BOX : mipFilter);
}

}  // namespace gfx::image
