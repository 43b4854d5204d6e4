#include "particles/classic/appearance/percent_param_quad.h"

#include <algorithm>

PercentParamQuad& PercentParamQuad::operator=(const PercentParamQuad& other) {
  riseEnd.SetValue(other.riseEnd.Value());
  fallStart.SetValue(other.fallStart.Value());
  startFactor.SetValue(other.startFactor.Value());
  endFactor.SetValue(other.endFactor.Value());
  return *this;
}

float PercentParamQuad::Apply(float f, float x) const {
  f = std::clamp(f, 0.0f, 1.0f);
  const float a = riseEnd.Scaled(), b = fallStart.Scaled();
  const float s = startFactor.Scaled(), e = endFactor.Scaled();
  if (a > f) return x * (f / a * (1.0f - s) + s);
  if (f > b) return x * ((1.0f - f) / (1.0f - b) * (1.0f - e) + e);
  return x;
}
