#include "core/noise/value_noise.h"

#include <cmath>

#include "core/float_to_int.h"

namespace {

// Lattice coordinates wrap like 32-bit integers; values beyond that range saturate first.
int32_t Cell(double v) {
  return SaturatingTruncate<int32_t>(v);
}

int32_t Add(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

double Smoothed(int32_t i, int32_t j) {
  auto n = [](int32_t x, int32_t y) {
    return LatticeHash(Add(x, static_cast<int32_t>(static_cast<uint32_t>(y) * 57u)));
  };
  const double corners = n(Add(i, -1), Add(j, -1)) + n(Add(i, 1), Add(j, -1)) +
                         n(Add(i, -1), Add(j, 1)) + n(Add(i, 1), Add(j, 1));
  const double sides = n(Add(i, -1), j) + n(Add(i, 1), j) + n(i, Add(j, -1)) + n(i, Add(j, 1));
  return corners / 16.0 + sides / 8.0 + n(i, j) / 4.0;
}

double SmoothStep(double t) {
  return 3.0 * t * t - 2.0 * t * t * t;
}

}  // namespace

double LatticeHash(int32_t n) {
  const uint32_t u = static_cast<uint32_t>(n);
  const uint32_t m = u ^ (u << 13);
  const uint32_t bits = (m * (m * m * 15731u + 789221u) - 771171059u) & 0x7fffffffu;
  return 1.0 - static_cast<double>(bits) / 1073741824.0;
}

double OctaveValueNoise1D(int octaves, double x, double scale, double persistence) {
  double total = 0.0;
  for (int i = 0; i < octaves; ++i) {
    const double frequency = std::pow(2.0, i);
    const double amplitude = std::pow(persistence, i);
    const double g = frequency * x / scale;
    const int32_t k = Cell(g);
    const double f = g - k;
    const double w = (1.0 - std::cos(f * 3.1415927)) * 0.5;
    total += (LatticeHash(k) * (1.0 - w) + LatticeHash(Add(k, 1)) * w) * amplitude;
  }
  return total;
}

double SmoothValueNoise2D(double x, double y) {
  const int32_t ix = Cell(x);
  const int32_t iy = Cell(y);
  const double fx = x - ix;
  const double fy = y - iy;
  const double wx0 = SmoothStep(1.0 - fx), wx1 = SmoothStep(fx);
  const double wy0 = SmoothStep(1.0 - fy), wy1 = SmoothStep(fy);
  return wy0 * (wx0 * Smoothed(ix, iy) + wx1 * Smoothed(Add(ix, 1), iy)) +
         wy1 * (wx0 * Smoothed(ix, Add(iy, 1)) + wx1 * Smoothed(Add(ix, 1), Add(iy, 1)));
}
