#include "geometry/offset/zkw_skeleton_edge.h"

#include <utility>

#include "geometry/offset/offset_math.h"

ZKW_SkeletonEdge::~ZKW_SkeletonEdge() {
  // Take over each link whose only holder is the vertex being released, so that its release
  // finds an empty chain.
  DS_SafePtr<ZKW_SkeletonEdge> link = std::move(next);
  while (link && link.Count() == 1) {
    DS_SafePtr<ZKW_SkeletonEdge> after = std::move(link->next);
    link = std::move(after);
  }
}

ZKW_SkeletonEdge MakeSkeletonEdge(const D3DXVECTOR2& point, const D3DXVECTOR2& incomingReversed,
                                  const D3DXVECTOR2& outgoing, const D3DXVECTOR2& direction,
                                  float speed, bool bisector) {
  ZKW_SkeletonEdge edge;
  edge.origin = point;
  edge.leftLine = {point, incomingReversed};
  edge.rightLine = {point, outgoing};
  edge.direction = direction;
  edge.speed = speed;
  edge.bisector = bisector;
  return edge;
}

namespace {

// Halving 180 degrees down to 45 takes two levels; the bound only stops unusable input.
constexpr int kMaxFanDepth = 8;

void Fan(const D3DXVECTOR2& from, const D3DXVECTOR2& to, int depth, std::vector<D3DXVECTOR2>& out) {
  if (!(offset_math::Dot(from, to) < 0.707) || depth >= kMaxFanDepth) return;
  const D3DXVECTOR2 middle = offset_math::Normalized(from + to);
  // Opposite directions have no middle: nothing fills between them.
  if (offset_math::IsZero(middle)) return;
  Fan(from, middle, depth + 1, out);
  out.push_back(middle);
  Fan(middle, to, depth + 1, out);
}

}  // namespace

void AppendFanDirections(const D3DXVECTOR2& from, const D3DXVECTOR2& to,
                         std::vector<D3DXVECTOR2>& out) {
  Fan(from, to, 0, out);
}
