#include "platform/gfx/image/resample.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/gfx/image/color_lanes.h"

namespace gfx::image {

namespace {

using Row = std::vector<Color4>;

bool CopyToCorner(uint32_t sourceWidth, uint32_t sourceHeight, const RowReader& read,
                  uint32_t width, uint32_t height, const RowWriter& write) {
  Row in(sourceWidth), out(width);
  const uint32_t w = std::min(width, sourceWidth), h = std::min(height, sourceHeight);
  for (uint32_t y = 0; y < height; ++y) {
    if (y < h) {
      if (!read(in.data())) return false;
      std::copy_n(in.begin(), w, out.begin());
    } else if (y == h) {
      std::fill(out.begin(), out.end(), Color4{});
    }
    write(y, out.data());
  }
  return true;
}

bool Nearest(uint32_t sourceWidth, uint32_t sourceHeight, const RowReader& read, uint32_t width,
             uint32_t height, const RowWriter& write) {
  Row in(sourceWidth), out(width);
  int64_t have = -1;  // the source row in `in`
  for (uint32_t y = 0; y < height; ++y) {
    const uint32_t sy = uint32_t((uint64_t(y) * 2 + 1) * sourceHeight / (uint64_t(height) * 2));
    for (; have < int64_t(sy); ++have)
      if (!read(in.data())) return false;
    for (uint32_t x = 0; x < width; ++x) {
      const uint32_t sx = uint32_t((uint64_t(x) * 2 + 1) * sourceWidth / (uint64_t(width) * 2));
      out[x] = in[sx];
    }
    write(y, out.data());
  }
  return true;
}

// The source pixels that make one target pixel along an axis, with their weights.
struct Tap {
  uint32_t index;
  float weight;
};

// Weights of a separable filter from `in` to `out` pixels: a tent one source pixel wide, or as
// wide as a target pixel covers when shrinking (TRIANGLE), or the share of each source pixel
// in the target pixel's span (BOX). Taps past the edge read the edge pixel. Each target pixel's
// taps come in the order of their source pixels.
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

// The taps of every target pixel in one block: pixel x uses index/weight[first[x] ..
// first[x + 1]). Walking flat arrays keeps the inner loop free of pointer chasing.
struct FlatTaps {
  std::vector<uint32_t> first, index;
  std::vector<float> weight;
  explicit FlatTaps(const std::vector<std::vector<Tap>>& taps) {
    first.reserve(taps.size() + 1);
    for (const std::vector<Tap>& t : taps) {
      first.push_back(uint32_t(index.size()));
      for (const Tap& tap : t)
        index.push_back(tap.index), weight.push_back(tap.weight);
    }
    first.push_back(uint32_t(index.size()));
  }
};

// One source row filtered across; each channel sums its taps in order. Pixels of two taps,
// nearly all of them when enlarging, take a path without the loop.
void FilterAcross(const Color4* in, const FlatTaps& taps, uint32_t width, Color4* out) {
  const uint32_t* index = taps.index.data();
  const float* weight = taps.weight.data();
  for (uint32_t x = 0; x < width; ++x) {
    const uint32_t begin = taps.first[x], end = taps.first[x + 1];
    Lanes sum = Zero();
    if (end - begin == 2) {
      sum = AddScaled(sum, Load(in[index[begin]]), weight[begin]);
      sum = AddScaled(sum, Load(in[index[begin + 1]]), weight[begin + 1]);
    } else {
      for (uint32_t i = begin; i < end; ++i)
        sum = AddScaled(sum, Load(in[index[i]]), weight[i]);
    }
    Store(sum, out[x]);
  }
}

// Rows filtered down into one: each channel sums its taps in order.
void FilterDown(const std::vector<const Color4*>& rows, const std::vector<Tap>& taps,
                uint32_t width, Color4* out) {
  if (taps.size() == 2) {
    const Color4 *a = rows[0], *b = rows[1];
    const float wa = taps[0].weight, wb = taps[1].weight;
    for (uint32_t x = 0; x < width; ++x)
      Store(AddScaled(AddScaled(Zero(), Load(a[x]), wa), Load(b[x]), wb), out[x]);
    return;
  }
  for (uint32_t x = 0; x < width; ++x) {
    Lanes sum = Zero();
    for (size_t i = 0; i < taps.size(); ++i)
      sum = AddScaled(sum, Load(rows[i][x]), taps[i].weight);
    Store(sum, out[x]);
  }
}

// Rows first, then columns: each source row is filtered across as it is read, and kept while
// a target row still draws on it. The kept rows live in a ring as long as the widest span of
// source rows that one target row draws on, made once.
bool Filtered(uint32_t sourceWidth, uint32_t sourceHeight, const RowReader& read, uint32_t width,
              uint32_t height, bool box, const RowWriter& write) {
  const FlatTaps across(Weights(sourceWidth, width, box));
  const auto down = Weights(sourceHeight, height, box);
  // Every target row's span of source rows [lo, hi]; both only grow from row to row.
  std::vector<std::pair<uint32_t, uint32_t>> spans(height);
  size_t ringSize = 1;
  for (uint32_t y = 0; y < height; ++y) {
    uint32_t lo = down[y].front().index, hi = lo;
    for (const Tap& t : down[y])
      lo = std::min(lo, t.index), hi = std::max(hi, t.index);
    spans[y] = {lo, hi};
    ringSize = std::max<size_t>(ringSize, hi - lo + 1);
  }
  Row in(sourceWidth), out(width);
  std::vector<Color4> ring(ringSize * width);
  auto wide = [&](uint32_t sourceRow) { return &ring[(sourceRow % ringSize) * width]; };
  std::vector<const Color4*> rows;
  uint32_t next = 0;  // the next source row to read
  for (uint32_t y = 0; y < height; ++y) {
    for (; next <= spans[y].second; ++next) {
      if (!read(in.data())) return false;
      FilterAcross(in.data(), across, width, wide(next));
    }
    rows.clear();
    for (const Tap& tap : down[y])
      rows.push_back(wide(tap.index));
    FilterDown(rows, down[y], width, out.data());
    write(y, out.data());
  }
  return true;
}

bool Unchanged(uint32_t width, uint32_t height, const RowReader& read, const RowWriter& write) {
  Row row(width);
  for (uint32_t y = 0; y < height; ++y) {
    if (!read(row.data())) return false;
    write(y, row.data());
  }
  return true;
}

}  // namespace

bool ResampleRows(uint32_t sourceWidth, uint32_t sourceHeight, const RowReader& read,
                  uint32_t width, uint32_t height, uint32_t filter, const RowWriter& write) {
  if (width == 0 || height == 0) return true;
  if (sourceWidth == 0 || sourceHeight == 0) {
    const Row empty(width);
    for (uint32_t y = 0; y < height; ++y)
      write(y, empty.data());
    return true;
  }
  switch (filter & 0xFF) {
    case D3DX_FILTER_NONE:
      return CopyToCorner(sourceWidth, sourceHeight, read, width, height, write);
    case D3DX_FILTER_POINT:
      return Nearest(sourceWidth, sourceHeight, read, width, height, write);
    default:
      if (width == sourceWidth && height == sourceHeight)
        return Unchanged(width, height, read, write);
      return Filtered(sourceWidth, sourceHeight, read, width, height,
                      (filter & 0xFF) == D3DX_FILTER_BOX, write);
  }
}

FloatImage Resample(const FloatImage& source, uint32_t width, uint32_t height, uint32_t filter) {
  FloatImage out(width, height);
  const Color4* in = source.pixels.data();
  ResampleRows(
      source.width, source.height,
      [&](Color4* row) {
        std::copy_n(in, source.width, row);
        in += source.width;
        return true;
      },
      width, height, filter,
      [&](uint32_t y, const Color4* row) {
        std::copy_n(row, width, out.pixels.data() + size_t(y) * width);
      });
  return out;
}

uint32_t MipLevelFilter(uint32_t mipFilter) {
  return mipFilter == D3DX_DEFAULT ? D3DX_FILTER_BOX : mipFilter;
}

FloatImage NextMipLevel(const FloatImage& level, uint32_t mipFilter) {
  const uint32_t w = std::max(1u, level.width / 2), h = std::max(1u, level.height / 2);
  if ((mipFilter & 0xFF) == D3DX_FILTER_NONE) return FloatImage(w, h);
  return Resample(level, w, h, MipLevelFilter(mipFilter));
}

}  // namespace gfx::image
