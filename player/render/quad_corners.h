#pragma once

#include <array>

// Four corners of a rectangle in triangle-strip order: bottom-left, top-left, bottom-right,
// top-right (y grows downwards, so the bottom has the larger y), each {x, y, z, u, v}.
struct QuadCorners {
  struct Corner {
    float x = 0.0f, y = 0.0f, z = 0.0f, u = 0.0f, v = 0.0f;
  };

  // Every position (0, 0) at z 1, with the texture corners (0, 1), (0, 0), (1, 1), (1, 0).
  void Init() {
    corners = {Corner{0.0f, 0.0f, 1.0f, 0.0f, 1.0f}, Corner{0.0f, 0.0f, 1.0f, 0.0f, 0.0f},
               Corner{0.0f, 0.0f, 1.0f, 1.0f, 1.0f}, Corner{0.0f, 0.0f, 1.0f, 1.0f, 0.0f}};
  }

  std::array<Corner, 4> corners{};
};
