#include "particles/classic/routines/path_routines.h"

#include <algorithm>

float PathLateralOffset(const RoutineParticle& p, const MediaParamTB<unsigned>* offset) {
  const float value = offset != nullptr ? static_cast<float>(offset->Value()) : 0.0f;
  return p.multipliers[RoutineParticle::kPathOffset] * p.lateralUnit * value;
}

bool IPR_PathTracker::Apply(float dt, RoutineParticle& p) {
  const float d = factor * dt * (speed != nullptr ? speed->Scaled() : 0.0f);
  p.age += d;
  if (!cursor) return false;
  return cursor->AdvanceOffset(d, PathLateralOffset(p, offset), &p.position, &p.velocity);
}

float IPR_PathTracker::Limit() const {
  return cursor ? cursor->TotalLength() : 0.0f;
}

bool IPR_PathPoint::Apply(float, RoutineParticle& p) {
  if (!cursor) return false;
  const bool inside =
      cursor->SeekLength(p.age, PathLateralOffset(p, offset), &p.position, &p.velocity);
  p.pathIndex = cursor->segment;
  return inside;
}

bool IPR_IndexedPathPoint::Apply(float, RoutineParticle& p) {
  if (!cursor || cursor->samples == nullptr || cursor->samples->size() < 2) return false;
  const std::vector<CurveSample>& samples = *cursor->samples;
  const int last = static_cast<int>(samples.size()) - 1;
  const CurveSample& s = samples[std::clamp(p.pathIndex, 0, last)];
  const float o = PathLateralOffset(p, offset);
  p.position = {s.position.x + s.tangent.y * o, s.position.y - s.tangent.x * o, 0.0f};
  p.velocity = s.tangent;
  return true;
}
