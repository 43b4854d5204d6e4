#pragma once

#include "platform/math/d3dx_types.h"

// Answers the points of an offsetter's band: by (arc length, lateral offset), and vertex by
// vertex along its zero line and its outermost offset lines. A positive offset lies to the right
// of the direction of travel. `state` starts at 0 and each successful step advances it. A tracer
// reads its offsetter's data at each call, so it sees the latest build, and must not outlive the
// offsetter. Held through DS_SafePtr handles.
class ZKW_StripeTracer {
 public:
  ZKW_StripeTracer() = default;
  ZKW_StripeTracer(const ZKW_StripeTracer&) = delete;
  ZKW_StripeTracer& operator=(const ZKW_StripeTracer&) = delete;
  virtual ~ZKW_StripeTracer() = default;

  // The next vertex of the zero line.
  virtual bool Next(unsigned* state, D3DXVECTOR3* out) const = 0;
  // The next vertex of the outermost right (left) offset line; false here.
  virtual bool NextOuterRight(unsigned* /*state*/, D3DXVECTOR3* /*out*/) const { return false; }
  virtual bool NextOuterLeft(unsigned* /*state*/, D3DXVECTOR3* /*out*/) const { return false; }
  // The point at arc `length` of the zero line moved by `offset` across it, and a direction
  // there (may be null).
  virtual bool Trace(float length, float offset, D3DXVECTOR3* point,
                     D3DXVECTOR3* direction) const = 0;
};
