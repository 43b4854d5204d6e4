#pragma once

#include <optional>

#include "geometry/gradient/zkw_custom_gradient.h"
#include "particles/behaviour/particle/particle_record.h"

// The gradient's value at the position (vector 0) of p's parent particle, so that all children of
// one parent get the same value in a frame. Nothing when the particle has no parent (a motion law
// may have detached it) or the holder no gradient (an unregistered class in its record).
std::optional<float> GradientAtParent(const ZKW_CustomGradient& gradient, const ParticleRecord& p);
