#pragma once

namespace app {

struct WindowSize {
  int width = 0;
  int height = 0;
};

// Shrinks a window size to the usable area keeping its aspect ratio: first to the width, then
// the result to the height, in single-precision arithmetic truncated toward zero.
WindowSize FitWindowSize(WindowSize wanted, WindowSize area);

// The top-left corner that centres `size` in `area` (halves truncated toward zero).
WindowSize CentredOrigin(WindowSize size, WindowSize area);

}  // namespace app
