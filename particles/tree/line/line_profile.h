#pragma once

#include <vector>

#include "particles/tree/line/profile_point.h"
#include "particles/tree/line/straight_wideht_line.h"

// A line's profile: the points of all its segments laid one after the other along x, with the
// width and opacity each segment's envelopes give them. Rebuilt from the segments at every fill.
struct LineProfile {
  // Appends the points of `segment` after the length so far: its start (no random factor), the
  // breakpoints of its width and opacity envelopes merged in order of x (breakpoint 0 and those
  // at x >= 1 are not used; an opacity breakpoint at a width breakpoint's x comes after it), then
  // its end. At a width breakpoint the opacity takes one random factor and the other way round;
  // the end takes one for the width, then one for the opacity.
  void AppendSegment(const ZKW_StraightWidehtLine& segment);

  std::vector<ProfilePoint> points;
  float totalLength = 0;
};

// How a particle's x scale cuts the profile.
enum class LineClipMode : int {
  kWhole = 0,  // the whole line, scaled by the particle
  kGrow = 1,   // grows from its start over x scale 0..1, its tail retracts over 1..2
  kSlide = 2,  // slides in from before the start (x scale < 1) and out past the end (> 1)
};

// Into `out`: the part of `profile` (of length `totalLength`) that `mode` shows at x scale `sx`,
// cut points interpolated at the window's ends. Modes other than 0 to 2 show the whole line
// through the window [0, totalLength].
void ClipProfile(const std::vector<ProfilePoint>& profile, float totalLength, int mode, float sx,
                 std::vector<ProfilePoint>& out);

// The point at x = c on the way from a to b (x of both as given): position y and z, distance,
// width, colour and opacity interpolated; sides, s and flags are a's. A section of length 0
// gives b's values.
ProfilePoint InterpolateProfilePoint(const ProfilePoint& a, const ProfilePoint& b, float c);
