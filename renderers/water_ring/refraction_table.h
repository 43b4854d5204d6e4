#pragma once

#include <array>
#include <cstdint>

// How the water surface refracts a view ray, by how steeply the ray meets it. Entry i stands for
// the cosine i / 256 between the surface normal and the direction to the eye: the refracted
// direction is b (e + a n) for the eye direction e and the normal n, and the colour is black whose
// alpha falls from 253 at a grazing view to 0 at a straight one.
struct RefractionEntry {
  float a = 0.0f, b = 0.0f;
  uint32_t colour = 0;  // 0xAARRGGBB
};
using RefractionTable = std::array<RefractionEntry, 256>;

// The table for water (index 1.333 against air).
RefractionTable MakeRefractionTable();

// The one table every water surface shares, made on first use.
const RefractionTable& SharedRefractionTable();
