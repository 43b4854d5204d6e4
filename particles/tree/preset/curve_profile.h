#pragma once

#include "core/graph/zkw_custom_graph.h"

// The lengths, in view units, of the three sections of a curve: the start and end sections
// keep their length, the middle one takes what is left.
struct CurveSections {
  float middle = 0.0f, end = 0.0f, start = 0.0f;
};

// A factor along a curve (its width or opacity) from three envelopes, one over each section:
// the start envelope over the first `start` units, the end envelope over the last `end` units,
// the middle envelope stretched over the rest. A curve shorter than its two end sections takes
// the product of the start and end envelopes everywhere.
struct CurveProfile {
  // The factor at arc parameter s (0 to 1) of a curve whose length is the sections' sum times
  // `lengthFactor`. A section of length 0 gives the factor 1 rather than dividing by it.
  float At(const CurveSections& sections, float lengthFactor, float s) const;

  ZKW_CustomGraph middle, end, start;
};
