#include "core/noise/perlin_noise.h"

#include <cmath>
#include <cstdint>
#include <random>
#include <utility>

#include "core/float_to_int.h"

std::vector<int> BuildPerlinPermutation() {
  std::vector<int> p(512);
  for (int i = 0; i < 256; ++i)
    p[i] = i;
  std::random_device source;
  std::mt19937 generator(source());
  for (int i = 1; i < 256; ++i) {
    const int j = std::uniform_int_distribution<int>(0, i)(generator);
    if (i != j) std::swap(p[i], p[j]);
  }
  for (int i = 0; i < 256; ++i)
    p[256 + i] = p[i];
  return p;
}

namespace {

double Fade(double t) {
  return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

double Lerp(double t, double a, double b) {
  return a + t * (b - a);
}

double Grad(int hash, double x, double y, double z) {
  const int h = hash & 15;
  const double a = h < 8 ? x : y;
  const double b = h < 4 ? y : (h == 12 || h == 14 ? x : z);
  return ((h & 1) == 0 ? a : -a) + ((h & 2) == 0 ? b : -b);
}

// The lattice cell of v modulo 256; values far outside any cell saturate first.
int Cell(double v) {
  return static_cast<int>(SaturatingTruncate<int64_t>(std::floor(v)) & 255);
}

}  // namespace

double ImprovedPerlinNoise3D(const std::vector<int>& perm, double x, double y, double z) {
  if (perm.size() < 512) return 0.0;
  auto p = [&perm](int i) { return perm[static_cast<size_t>(i)] & 255; };
  const int X = Cell(x), Y = Cell(y), Z = Cell(z);
  x -= std::floor(x);
  y -= std::floor(y);
  z -= std::floor(z);
  const double u = Fade(x), v = Fade(y), w = Fade(z);
  const int A = p(X) + Y, AA = p(A) + Z, AB = p(A + 1) + Z;
  const int B = p(X + 1) + Y, BA = p(B) + Z, BB = p(B + 1) + Z;
  return Lerp(
      w,
      Lerp(v, Lerp(u, Grad(p(AA), x, y, z), Grad(p(BA), x - 1, y, z)),
           Lerp(u, Grad(p(AB), x, y - 1, z), Grad(p(BB), x - 1, y - 1, z))),
      Lerp(v, Lerp(u, Grad(p(AA + 1), x, y, z - 1), Grad(p(BA + 1), x - 1, y, z - 1)),
           Lerp(u, Grad(p(AB + 1), x, y - 1, z - 1), Grad(p(BB + 1), x - 1, y - 1, z - 1))));
}
