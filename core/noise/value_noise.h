#pragma once

#include <cstdint>

// Value noise over integer lattices, in double precision. Pure functions: no state, no
// allocation, safe on any thread.

// The lattice value of n, in (-1, 1]: with m = n ^ (n << 13) in wrapping 32-bit arithmetic,
// 1 - ((m (m m 15731 + 789221) - 771171059) & 0x7fffffff) / 1073741824.
double LatticeHash(int32_t n);

// A sum of `octaves` octaves of cosine-interpolated value noise along x: octave i has frequency
// 2^i and amplitude persistence^i, and samples the lattice at 2^i x / scale, truncated towards
// zero (so -0.5 lies in the cell of 0). 0 for octaves <= 0.
double OctaveValueNoise1D(int octaves, double x, double scale, double persistence);

// Smoothed two-dimensional value noise: the lattice value of (i, j) is LatticeHash(i + 57 j),
// smoothed over its eight neighbours (corners 1/16, sides 1/8, itself 1/4), and blended between
// the four cells around (x, y) with the weight 3t^2 - 2t^3. Cells are found by truncation
// towards zero.
double SmoothValueNoise2D(double x, double y);
