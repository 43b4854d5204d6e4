#include "particles/behaviour/effects/parent_gradient.h"

std::optional<float> GradientAtParent(const ZKW_CustomGradient& gradient, const ParticleRecord& p) {
  const ParticleRecord* parent = p.Parent();
  const ZKW_VGradient* held = gradient.Gradient();
  if (parent == nullptr || held == nullptr) return std::nullopt;
  return held->ValueAt(&parent->Position());
}
