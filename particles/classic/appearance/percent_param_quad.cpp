#include "particles/classic/appearance/percent_param_quad.h"

#include <algorithm>

#include "core/param/param_reads.h"

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

void PercentParamQuad::Read(DS_IOF_Archive& archive) {
  ReadChangedUInt32(archive, riseEnd);
  ReadChangedUInt32(archive, fallStart);
  ReadChangedUInt32(archive, startFactor);
  ReadChangedUInt32(archive, endFactor);
}

void PercentParamQuad::Write(DS_IOF_Archive& archive) const {
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(riseEnd.Value());
  io.WriteUInt32(fallStart.Value());
  io.WriteUInt32(startFactor.Value());
  io.WriteUInt32(endFactor.Value());
}
