#include "particles/tree/preset/curve_profile.h"

namespace {

// The envelope at x / length (each evaluation a sweep of its own); 1 for a section of length 0.
float Section(const ZKW_CustomGraph& graph, float x, float length) {
  if (length == 0.0f) return 1.0f;
  unsigned cursor = 1;
  return graph.ValueAt(x / length, &cursor);
}

}  // namespace

float CurveProfile::At(const CurveSections& sections, float lengthFactor, float s) const {
  const float total = (sections.middle + sections.end + sections.start) * lengthFactor;
  const float x = total * s;
  const float mid = total - (sections.end + sections.start);
  if (mid <= 0.0f)
    return Section(start, x, sections.start) * Section(end, x - sections.start - mid, sections.end);
  if (x < sections.start) return Section(start, x, sections.start);
  const float along = x - sections.start;
  if (along <= mid) return Section(middle, along, mid);
  return Section(end, along - mid, sections.end);
}
