#pragma once

#include <functional>

#include "core/ds_safe_ptr.h"
#include "platform/math/d3dx_types.h"

class ZKW_StripeMeshBuilder;
class ZKW_StripeTracer;
struct StripeIndexBuffer;
struct StripeVertexBuffer;

// Where an offsetter takes its centre line from: the position of point `index`.
using OffsetPointSource = std::function<const D3DXVECTOR3&(unsigned index)>;

// An offsetter: it keeps an open 2-D polyline, the centre line (its zero line), and turns it
// into offset lines on both sides, which its tracer and its mesh builder read. Offsetters are
// held through DS_SafePtr handles. The straight-skeleton and onion offsetters and the closed
// loop's zero line are the kinds.
class ZKW_CurveOffsetMaker {
 public:
  ZKW_CurveOffsetMaker() = default;
  ZKW_CurveOffsetMaker(const ZKW_CurveOffsetMaker&) = delete;
  ZKW_CurveOffsetMaker& operator=(const ZKW_CurveOffsetMaker&) = delete;

  // Replaces the centre line by the x and y of source(i), i = 0 ... count - 1.
  virtual void SetPoints(unsigned count, OffsetPointSource source) = 0;
  // Computes the offsets of the centre line up to `distance` on both sides.
  virtual void Build(float distance) = 0;
  // Whether the offset lines at `distance` close into loops. None of the offsetters makes closed
  // offsets (the loop's zero line makes no offsets at all), so every one answers false.
  virtual bool HasClosedOffsets(float /*distance*/) const { return false; }
  // The arc length of the centre line as the offsetter keeps it; 0 here.
  virtual float ZeroLineLength() const { return 0.0f; }
  // A builder that triangulates the offsets into the caller's buffers; none here.
  virtual DS_SafePtr<ZKW_StripeMeshBuilder> CreateMeshBuilder(StripeIndexBuffer* indices,
                                                              StripeVertexBuffer* vertices) const;
  // A tracer that answers points by (arc length, offset); none here.
  virtual DS_SafePtr<ZKW_StripeTracer> CreateTracer() const;
  virtual ~ZKW_CurveOffsetMaker() = default;
};
