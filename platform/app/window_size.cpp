#include "platform/app/window_size.h"

#include <cmath>

namespace app {
namespace {

// float to int truncating toward zero, saturating instead of overflowing.
int Truncate(float v) {
  if (!(v == v)) return 0;
  if (v >= 2147483520.0f) return 2147483647;
  if (v <= -2147483648.0f) return -2147483647 - 1;
  return int(std::trunc(v));
}

}  // namespace

WindowSize FitWindowSize(WindowSize wanted, WindowSize area) {
  WindowSize s = wanted;
  if (area.width < s.width && s.width != 0) {
    s.height = Truncate(float(area.width) * float(s.height) / float(s.width));
    s.width = area.width;
  }
  if (area.height < s.height && s.height != 0) {
    s.width = Truncate(float(area.height) * float(s.width) / float(s.height));
    s.height = area.height;
  }
  return s;
}

WindowSize CentredOrigin(WindowSize size, WindowSize area) {
  return {(area.width - size.width) / 2, (area.height - size.height) / 2};
}

}  // namespace app
