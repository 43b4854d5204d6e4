#pragma once

#include <vector>

#include "core/ds_safe_ptr.h"
#include "geometry/offset/zkw_point_curve_offseter.h"
#include "geometry/offset/zkw_skeleton_edge.h"

// Offsets an open polyline the way a straight skeleton does: on the inner side of a turn the
// vertex runs along the corner's bisector and neighbouring vertices that meet merge into one that
// carries on (swallowing the segment between them); on the outer side the corner is filled with
// a fan of vertices at most about 45 degrees apart, which at distance d lie on the circle of
// radius d around the corner point. SetPoints, then Build; OffsetPoints then answers any
// distance (beyond the build distance from the wavefront as it stands).
class ZKW_StraightSkeletonOffset : public ZKW_PointCurveOffseter {
 public:
  using EdgePtr = DS_SafePtr<ZKW_SkeletonEdge>;

  // Discards every vertex, makes the wavefront of both sides from the point list and merges the
  // vertices that meet before `distance`, the left side first. Fewer than two points leave no
  // vertices at all.
  void Build(float distance) override;
  // A ZKW_PointStripeMeshBuilder bound to this offsetter and the two buffers, which must outlive
  // it.
  DS_SafePtr<ZKW_StripeMeshBuilder> CreateMeshBuilder(StripeIndexBuffer* indices,
                                                      StripeVertexBuffer* vertices) const override;
  // One point for a straight or inner vertex, the two side points and the fan between them for
  // an outer corner, in creation order; each follows its vertex's chain to the vertex that holds
  // `distance`. Nothing for a point that has no vertices (before Build, or outside the list).
  void OffsetPoints(bool left, int pointIndex, float distance,
                    std::vector<D3DXVECTOR3>* out) const override;

  const std::vector<EdgePtr>& LeftVertices() const { return left_; }
  const std::vector<EdgePtr>& RightVertices() const { return right_; }

 private:
  struct Side {
    std::vector<EdgePtr>* vertices;
    std::vector<std::vector<int>>* lists;
  };

  void AddPointVertices(int point, const D3DXVECTOR2& incomingReversed,
                        const D3DXVECTOR2& outgoing);
  static void AddVertex(Side side, int point, ZKW_SkeletonEdge edge);
  void AddOuterCorner(Side side, int point, const D3DXVECTOR2& incomingReversed,
                      const D3DXVECTOR2& outgoing, const D3DXVECTOR2& first,
                      const D3DXVECTOR2& last);
  static void ProcessCollisions(const std::vector<EdgePtr>& vertices, float distance);

  Side LeftSide() { return {&left_, &leftLists_}; }
  Side RightSide() { return {&right_, &rightLists_}; }

  std::vector<EdgePtr> left_;
  std::vector<EdgePtr> right_;
  // Per centre-line point, the indices into left_ (right_) of the vertices made for it.
  std::vector<std::vector<int>> leftLists_;
  std::vector<std::vector<int>> rightLists_;
};
