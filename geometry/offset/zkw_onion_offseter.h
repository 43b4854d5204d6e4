#pragma once

#include <cstddef>
#include <vector>

#include "geometry/offset/onion_ring.h"
#include "geometry/offset/zkw_point_curve_offseter.h"
#include "platform/math/d3dx_types.h"

// A vertex of an onion layer's wavefront: it moves from `origin` along `direction` at `speed` per
// unit of offset distance, and never ends.
struct OnionVertex {
  D3DXVECTOR2 origin;
  D3DXVECTOR2 direction;
  float speed = 1.0f;
};

// Gives an open curve a two-sided band addressed by (arc length, lateral offset): the centre line
// is offset layer by layer, like the skins of an onion, each layer ending where two neighbouring
// wavefront vertices meet (or where the build distance is used up), and each layer is kept as a
// ring. Its tracer maps (length, offset) to a point between the two rings that bracket the
// offset. The right rings offset the centre line to its right; the left rings are the right
// offsets of the reversed centre line.
class ZKW_OnionOffseter : public ZKW_PointCurveOffseter {
 public:
  // The most ring nodes one side keeps (about 7 MB): the layering stops before a ring that would
  // pass it.
  static constexpr size_t kMaxRingNodes = size_t{1} << 18;

  // Replaces both ring lists: each starts with the simplified centre line (segments shorter than
  // 1.0 and straight continuations dropped, the last segment kept) holding the whole `distance`,
  // followed by one ring per layer down to the one that uses up the distance, but no more rings
  // than MaxLayers and no more nodes than kMaxRingNodes.
  void Build(float distance) override;
  // The arc length of the simplified centre line (the first right ring); 0 before a build or
  // when no segment was kept.
  float ZeroLineLength() const override;
  // A ZKW_OnionTracer over the rings.
  DS_SafePtr<ZKW_StripeTracer> CreateTracer() const override;
  // The onion keeps no offset points per centre-line point: nothing.
  void OffsetPoints(bool left, int pointIndex, float distance,
                    std::vector<D3DXVECTOR3>* out) const override;

  const std::vector<OnionRing>& RightRings() const { return right_; }
  const std::vector<OnionRing>& LeftRings() const { return left_; }

  // The wavefront of a ring: a vertex at every node start and one at the end, moving to the
  // ring's right; a corner turning left gets a fan on the right, one turning right a vertex
  // along its bisector.
  static std::vector<OnionVertex> Wavefront(const OnionRing& ring);
  // Offsets `ring` by one layer: to where the first pair of neighbouring wavefront vertices meets,
  // dropping the second of them, or by all that remains. False, leaving the ring as it was, when
  // nothing remains or the ring has no nodes; false as well after a layer that neither used up
  // any distance nor shortened the ring, which would repeat for ever.
  static bool AdvanceLayer(OnionRing& ring);
  // How many rings one side keeps at most: twice the vertices of the centre line's wavefront,
  // and two more. Each layer ends where two neighbouring vertices meet and drops one of them, so
  // a centre line needs about as many layers as its wavefront has vertices; but a layer can drop
  // a fan vertex that the next layer makes again, and the same meeting then comes back layer
  // after layer, for as long as the distance lasts. At a huge scale the fans also split every
  // corner again at each layer, so that rings grow: kMaxRingNodes bounds what that costs.
  static size_t MaxLayers(const OnionRing& start);

 private:
  // Records `start` and each layer after it into `rings`.
  static void Layer(OnionRing start, std::vector<OnionRing>& rings);

  std::vector<OnionRing> right_;
  std::vector<OnionRing> left_;
};
