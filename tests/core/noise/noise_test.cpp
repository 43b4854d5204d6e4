#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <vector>

#include "core/noise/perlin_noise.h"
#include "core/noise/value_noise.h"

namespace {

// The golden values below were computed from the defining formulas by an independent
// arbitrary-precision script (Python integers for the 32-bit hash, doubles for the rest), not
// by this code.

TEST(ValueNoise, LatticeHashGoldenValues) {
  struct Case {
    int32_t n;
    double value;
  };
  const Case cases[] = {{0, -0.2817909838631749},         {1, -0.2263730512931943},
                        {-1, 0.9001262886449695},         {57, 0.20434398483484983},
                        {123456789, 0.16682599764317274}, {INT32_MIN, -0.2817909838631749}};
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(LatticeHash(c.n), c.value) << c.n;
}

TEST(ValueNoise, OctaveNoise1D) {
  struct Case {
    int octaves;
    double x, scale, persistence, value;
  };
  const Case cases[] = {
      {3, 1.3, 2.0, 0.5, -0.3178209632934532},
      {1, 4.0, 2.0, 0.5, 0.29363288078457117},   // x a multiple of scale: exactly N(2)
      {2, -0.5, 1.0, 0.5, 0.19598112738728957},  // -0.5 lies in the cell of 0 with f = -0.5
      {4, 10.7, 3.0, 0.65, 0.3537640122182426},
      {0, 10.7, 3.0, 0.65, 0.0},
      {-2, 10.7, 3.0, 0.65, 0.0},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(OctaveValueNoise1D(c.octaves, c.x, c.scale, c.persistence), c.value, 1e-12)
        << c.octaves << " " << c.x;
  EXPECT_EQ(OctaveValueNoise1D(1, 4.0, 2.0, 0.5), LatticeHash(2));
  // Far outside the integer range the lattice saturates instead of overflowing.
  EXPECT_TRUE(std::isfinite(OctaveValueNoise1D(3, 1e300, 1.0, 0.5)));
}

TEST(ValueNoise, SmoothNoise2D) {
  struct Case {
    double x, y, value;
  };
  const Case cases[] = {{0.3, 0.7, 0.07083096784865854},
                        {2.0, 3.0, -0.28392058052122593},  // a lattice point: S(2, 3)
                        {-1.25, 4.5, -0.3630679055058863}};
  for (const Case& c : cases)
    EXPECT_NEAR(SmoothValueNoise2D(c.x, c.y), c.value, 1e-12) << c.x << ", " << c.y;
  EXPECT_TRUE(std::isnan(SmoothValueNoise2D(std::nan(""), 0.0)));
}

std::vector<int> TestPermutation() {
  std::vector<int> p(512);
  for (int i = 0; i < 512; ++i)
    p[i] = ((i % 256) * 151 + 7) % 256;
  return p;
}

TEST(PerlinNoise, GoldenValuesOverAFixedPermutation) {
  const std::vector<int> p = TestPermutation();
  struct Case {
    double x, y, z, value;
  };
  const Case cases[] = {{0.5, 0.5, 0.5, -0.25},
                        {1.25, -2.75, 3.5, 0.3889026641845703},
                        {100.3, 7.9, -0.1, -0.16777804082826125}};
  for (const Case& c : cases)
    EXPECT_NEAR(ImprovedPerlinNoise3D(p, c.x, c.y, c.z), c.value, 1e-12) << c.x;
  for (double x : {0.0, 3.0, -7.0, 255.0, 1000.0})
    EXPECT_EQ(ImprovedPerlinNoise3D(p, x, 4.0, -5.0), 0.0) << "lattice point " << x;
  EXPECT_EQ(ImprovedPerlinNoise3D(std::vector<int>(10), 0.5, 0.5, 0.5), 0.0) << "too short";
  EXPECT_TRUE(std::isfinite(ImprovedPerlinNoise3D(p, 1e300, -1e300, 0.5)));
}

TEST(PerlinNoise, PermutationsAreShuffledAndRepeated) {
  const std::vector<int> a = BuildPerlinPermutation();
  const std::vector<int> b = BuildPerlinPermutation();
  ASSERT_EQ(a.size(), 512u);
  ASSERT_EQ(b.size(), 512u);
  std::vector<int> seen(256, 0);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(a[i + 256], a[i]);
    EXPECT_EQ(b[i + 256], b[i]);
    ASSERT_GE(a[i], 0);
    ASSERT_LT(a[i], 256);
    ++seen[a[i]];
  }
  EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), 256) << "every value once";
  EXPECT_NE(a, b);
}

}  // namespace
