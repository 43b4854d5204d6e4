#pragma once

#include <array>
#include <cstdint>

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

  // Init, then the corners of the rectangle (x0, y0)-(x1, y1).
  void SetRect(float x0, float y0, float x1, float y1);
  // Init, then the whole back buffer: (0, H), (0, 0), (W, H), (W, 0); all zero without one.
  void FromBackBuffer();
  // Scales every corner from a w x h area to the back buffer's size; unchanged when w or h is
  // not positive or there is no back buffer.
  void ScaleToBackBuffer(int w, int h);

  float Left() const { return corners[0].x; }
  float Top() const { return corners[1].y; }
  float Right() const { return corners[3].x; }
  float Bottom() const { return corners[2].y; }

  std::array<Corner, 4> corners{};
};

// A picture's size in pixels.
struct Size {
  uint32_t width = 0;
  uint32_t height = 0;
};

// `out` becomes the picture fitted inside a targetW x targetH target, keeping its aspect and
// centred. A picture or target without area fills the whole target.
void FitQuadToTarget(QuadCorners& out, const Size& picture, int targetW, int targetH);
