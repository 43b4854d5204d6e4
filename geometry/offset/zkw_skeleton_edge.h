#pragma once

#include <cfloat>
#include <optional>
#include <vector>

#include "core/ds_safe_ptr.h"
#include "platform/math/d3dx_types.h"

// The line of a centre-line segment beside a wavefront vertex.
struct SkeletonLine {
  D3DXVECTOR2 start;
  D3DXVECTOR2 direction;
  float limit = FLT_MAX;  // carried along, not otherwise used
};

// Where a wavefront vertex meets the vertex after it, and at which offset distance.
struct SkeletonCollision {
  D3DXVECTOR2 point;
  float distance = FLT_MAX;  // FLT_MAX: they never meet
};

// One wavefront vertex: a point that moves away from the centre line as the offset distance
// grows, at `speed` along `direction` per unit of distance, from `origin` (where it starts) until
// `end`, where `next` carries on.
struct ZKW_SkeletonEdge {
  ZKW_SkeletonEdge() = default;
  ZKW_SkeletonEdge(const ZKW_SkeletonEdge&) = default;
  ZKW_SkeletonEdge& operator=(const ZKW_SkeletonEdge&) = default;
  // Releases the chain behind it link by link, so a long chain cannot exhaust the stack.
  virtual ~ZKW_SkeletonEdge();

  D3DXVECTOR2 origin;
  // For a vertex made from a centre-line point: its incoming segment, directed backwards.
  SkeletonLine leftLine;
  // For a vertex made from a centre-line point: its outgoing segment, directed forwards.
  SkeletonLine rightLine;
  bool bisector = false;  // inner corners and merged vertices
  D3DXVECTOR2 direction;
  float speed = 1.0f;
  float end = FLT_MAX;  // the offset distance at which the vertex is swallowed
  DS_SafePtr<ZKW_SkeletonEdge> next;
  // The collision with the following wavefront vertex, once computed.
  std::optional<SkeletonCollision> collision;
};

// A wavefront vertex at `point` (both lines start there: the left one along `incomingReversed`,
// the right one along `outgoing`) moving along `direction`.
ZKW_SkeletonEdge MakeSkeletonEdge(const D3DXVECTOR2& point, const D3DXVECTOR2& incomingReversed,
                                  const D3DXVECTOR2& outgoing, const D3DXVECTOR2& direction,
                                  float speed, bool bisector);

// The directions that fill an outer corner between the unit directions `from` and `to` (both
// excluded), in angular order: while two neighbours are further apart than about 45 degrees
// (dot product below 0.707) their normalised sum is put between them.
void AppendFanDirections(const D3DXVECTOR2& from, const D3DXVECTOR2& to,
                         std::vector<D3DXVECTOR2>& out);
