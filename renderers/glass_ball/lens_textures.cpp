#include "renderers/glass_ball/lens_textures.h"

#include <cmath>

namespace {

// Height of the hemisphere of radius 128 over texel (r, c).
double HemisphereHeight(int r, int c) {
  const int d = (r - 128) * (r - 128) + (c - 128) * (c - 128);
  return d <= 16384 ? std::sqrt(16384.0 - d) : 0.0;
}

int16_t Slope(double difference) {
  return static_cast<int16_t>(std::trunc(std::atan(difference) * 16297.466));
}

}  // namespace

std::vector<int16_t> LensBumpTexels() {
  constexpr int n = int(kLensMapSize);
  std::vector<int16_t> texels(size_t(2) * n * n);
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) {
      const int right = c + 1 < n ? c + 1 : c, below = r + 1 < n ? r + 1 : r;
      const double h = HemisphereHeight(r, c);
      texels[2 * (size_t(r) * n + c)] = Slope(h - HemisphereHeight(r, right));
      texels[2 * (size_t(r) * n + c) + 1] = Slope(h - HemisphereHeight(below, c));
    }
  }
  return texels;
}

std::vector<uint8_t> DiscMaskTexels() {
  constexpr int n = int(kDiscMaskSize), half = n / 2;
  std::vector<uint8_t> texels(size_t(n) * n);
  for (int r = 0; r < n; ++r)
    for (int c = 0; c < n; ++c) {
      const int y = r - half, x = c - half;
      texels[size_t(r) * n + c] = x * x + y * y <= 508 * 508 ? 0 : 255;
    }
  return texels;
}

std::vector<uint32_t> GradientTexels(uint32_t top, uint32_t bottom) {
  std::vector<uint32_t> texels(size_t(kGradientSize) * kGradientSize);
  for (uint32_t i = 0; i < kGradientSize; ++i) {
    // COLORREF bytes: red first; the texel's are blue first.
    uint32_t colour = 0;
    for (int shift : {0, 8, 16}) {
      const double t = double(top >> shift & 0xFF), b = double(bottom >> shift & 0xFF);
      const uint32_t value = uint32_t(std::trunc((b - t) * i / 255.0 + t));
      colour |= value << (16 - shift);
    }
    for (uint32_t x = 0; x < kGradientSize; ++x)
      texels[size_t(i) * kGradientSize + x] = colour;
  }
  return texels;
}
