#pragma once

#include <vector>

#include "geometry/offset/onion_ring.h"
#include "geometry/offset/zkw_stripe_tracer.h"

// The tracer of an onion offsetter: it reads the offsetter's ring lists (not owned) at each call.
class ZKW_OnionTracer : public ZKW_StripeTracer {
 public:
  ZKW_OnionTracer(const std::vector<OnionRing>* rightRings, const std::vector<OnionRing>* leftRings)
      : right_(rightRings), left_(leftRings) {}

  // The vertices of the simplified centre line (the first right ring).
  bool Next(unsigned* state, D3DXVECTOR3* out) const override;
  // The vertices of the last right (left) ring.
  bool NextOuterRight(unsigned* state, D3DXVECTOR3* out) const override;
  bool NextOuterLeft(unsigned* state, D3DXVECTOR3* out) const override;
  // The point at `offset` across arc `length` of the centre line: on the right rings for an
  // offset of 0 or more, else on the left rings at the mirrored length. Between the two rings
  // whose remaining distances bracket the offset the point and the rings' normals are
  // interpolated; each ring is read at the same fraction of its own length. The direction (may be
  // null) is that normal, pointing to the left of the curve. False without a centre line, or
  // when |offset| exceeds the build distance.
  bool Trace(float length, float offset, D3DXVECTOR3* point, D3DXVECTOR3* direction) const override;

 private:
  const std::vector<OnionRing>* right_;
  const std::vector<OnionRing>* left_;
};
