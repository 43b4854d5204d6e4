#pragma once

#include <algorithm>
#include <vector>

// The frames of one slide from its first (the slide change included) on, and how far its
// longest frame stands out: a viewer sees the picture freeze for the longest frame, and the
// median frame is the slide's own pace.
struct FrameStalls {
  // A slide whose longest frame passes this many medians shows a frozen picture.
  static constexpr double kLimit = 4.0;

  double first = 0, median = 0, longest = 0;

  // From frame seconds in the order they were drawn; all 0 for none.
  static FrameStalls Of(std::vector<double> frames) {
    FrameStalls s;
    if (frames.empty()) return s;
    s.first = frames.front();
    std::sort(frames.begin(), frames.end());
    const size_t n = frames.size();
    s.median = n % 2 ? frames[n / 2] : (frames[n / 2 - 1] + frames[n / 2]) / 2;
    s.longest = frames.back();
    return s;
  }
  // Longest / median; 0 without frames.
  double Ratio() const { return median > 0 ? longest / median : 0; }
  bool Stalls() const { return Ratio() > kLimit; }
};
