#include "geometry/offset/zkw_onion_tracer.h"

#include <cstddef>

bool ZKW_OnionTracer::Next(unsigned* state, D3DXVECTOR3* out) const {
  return !right_->empty() && right_->front().NextVertex(state, out);
}

bool ZKW_OnionTracer::NextOuterRight(unsigned* state, D3DXVECTOR3* out) const {
  return !right_->empty() && right_->back().NextVertex(state, out);
}

bool ZKW_OnionTracer::NextOuterLeft(unsigned* state, D3DXVECTOR3* out) const {
  return !left_->empty() && left_->back().NextVertex(state, out);
}

bool ZKW_OnionTracer::Trace(float length, float offset, D3DXVECTOR3* point,
                            D3DXVECTOR3* direction) const {
  if (right_->empty() || right_->front().nodes.empty()) return false;
  const float zeroLength = right_->front().Length();
  float sign = 1.0f;
  const std::vector<OnionRing>* rings = right_;
  if (offset < 0.0f) {
    rings = left_;
    offset = -offset;
    length = zeroLength - length;
    sign = -1.0f;
  }
  if (rings->empty()) return false;
  const float diff = rings->front().remaining - offset;
  if (diff < 0.0f) return false;
  // The rings come in decreasing order of what remains: take the first one offset far enough.
  size_t k = 0;
  while (k < rings->size() && !((*rings)[k].remaining <= diff))
    ++k;
  if (k == rings->size()) return false;

  // Each ring is read at the same fraction of its length.
  const OnionRing& ring = (*rings)[k];
  D3DXVECTOR3 normal;
  if (!ring.PointAt(ring.Length() * length / zeroLength, point, &normal)) return false;
  if (k == 0) {
    if (direction != nullptr) *direction = normal;
    return true;
  }
  const OnionRing& inner = (*rings)[k - 1];
  D3DXVECTOR3 innerPoint, innerNormal;
  if (!inner.PointAt(inner.Length() * length / zeroLength, &innerPoint, &innerNormal)) return false;
  const float w = (inner.remaining - diff) / (inner.remaining - ring.remaining);
  *point = innerPoint + (*point - innerPoint) * w;
  if (direction != nullptr) *direction = (innerNormal + (normal - innerNormal) * w) * sign;
  return true;
}
