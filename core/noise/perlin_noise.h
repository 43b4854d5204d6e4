#pragma once

#include <vector>

// Three-dimensional gradient noise (the improved noise of 2002) over a permutation that each
// user shuffles anew.

// 512 entries: 0..255 shuffled forward (Fisher-Yates: for i = 1..255 swap i with a j drawn
// uniformly from [0, i]) by a Mersenne twister (MT19937) seeded from the system's
// non-deterministic random source, then repeated. Every call gives a new permutation.
std::vector<int> BuildPerlinPermutation();

// The noise at (x, y, z) over the permutation `p` (as BuildPerlinPermutation makes it); 0 at
// every lattice point. A permutation shorter than 512 entries gives 0; entries are used modulo
// 256, so no entry can index outside it.
double ImprovedPerlinNoise3D(const std::vector<int>& p, double x, double y, double z);
