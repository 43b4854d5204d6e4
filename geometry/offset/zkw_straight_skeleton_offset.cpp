#include "geometry/offset/zkw_straight_skeleton_offset.h"

#include <cfloat>
#include <cstdint>
#include <memory>
#include <set>
#include <utility>

#include "geometry/offset/offset_math.h"
#include "geometry/offset/zkw_point_stripe_mesh_builder.h"

using namespace offset_math;

namespace {

// Where u meets the vertex v after it, measured as the distance from the meeting point to u's
// right line. Vertices that start at the same point, or move in parallel or apart, never meet.
SkeletonCollision Collide(const ZKW_SkeletonEdge& u, const ZKW_SkeletonEdge& v) {
  SkeletonCollision none;
  if (Coincide(u.origin, v.origin)) return none;
  const float den = u.direction.x * v.direction.y - u.direction.y * v.direction.x;
  if (den == 0.0f) return none;
  const D3DXVECTOR2 delta = v.origin - u.origin;
  const float s = (v.direction.y * delta.x - v.direction.x * delta.y) / den;
  const float t = (u.direction.y * delta.x - u.direction.x * delta.y) / den;
  if (s < 0.0f || t < 0.0f) return none;
  const D3DXVECTOR2 x = u.origin + u.direction * s;
  const SkeletonLine& line = u.rightLine;
  const float distance =
      std::fabs(line.direction.y * (x.x - line.start.x) - line.direction.x * (x.y - line.start.y));
  return {x, distance};
}

// The vertex that continues from where q and the vertex n after it meet; both end there.
ZKW_StraightSkeletonOffset::EdgePtr Merge(ZKW_SkeletonEdge& q, ZKW_SkeletonEdge& n) {
  auto m = std::make_unique<ZKW_SkeletonEdge>();
  m->origin = q.collision->point;
  m->leftLine = q.leftLine;
  m->rightLine = n.rightLine;
  m->bisector = true;
  m->speed = 1.0f;
  q.end = n.end = q.collision->distance;

  const D3DXVECTOR2 l = m->leftLine.direction;
  const D3DXVECTOR2 r = m->rightLine.direction;
  bool normalise = true;
  if (q.bisector && n.bisector) {
    if (IsZero(l) || IsZero(r)) {
      m->direction = q.direction;
      m->speed = q.speed;
      normalise = false;
    }
  } else if (IsZero(l) || IsZero(r)) {
    m->direction = q.bisector ? q.direction : n.direction;
    normalise = false;
  } else {
    const float k = r.x * l.y - r.y * l.x;
    const D3DXVECTOR2 w = m->origin - m->leftLine.start;
    const bool side = l.x * w.y - l.y * w.x >= 0.0f;
    const float value = side ? k : -k;
    if (value >= -kTolerance) {
      // The lines open away from each other: the merged vertex leaves perpendicularly.
      if (n.bisector) {
        m->direction = side ? RightOf(r) : LeftOf(r);
      } else {
        m->direction = side ? LeftOf(l) : RightOf(l);
      }
      normalise = false;
    }
  }
  if (normalise) {
    m->direction = Normalized(l + r);
    m->speed = SpeedFromCross(m->direction.x * r.y - m->direction.y * r.x);
  }
  ZKW_StraightSkeletonOffset::EdgePtr merged(std::move(m));
  q.next = merged;
  n.next = merged;
  return merged;
}

}  // namespace

void ZKW_StraightSkeletonOffset::Build(float distance) {
  left_.clear();
  right_.clear();
  leftLists_.clear();
  rightLists_.clear();
  const size_t n = points_.size();
  if (n < 2) return;
  left_.reserve(n);
  right_.reserve(n);
  leftLists_.resize(n);
  rightLists_.resize(n);

  D3DXVECTOR2 previous;  // the direction of the segment before point i
  for (size_t i = 0; i + 1 < n; ++i) {
    const D3DXVECTOR2 d = points_[i + 1] - points_[i];
    const D3DXVECTOR2 u = Divided(d, Length(d));
    AddPointVertices(static_cast<int>(i), i == 0 ? D3DXVECTOR2() : -previous, u);
    previous = u;
  }
  AddPointVertices(static_cast<int>(n - 1), -previous, D3DXVECTOR2());

  ProcessCollisions(left_, distance);
  ProcessCollisions(right_, distance);
}

void ZKW_StraightSkeletonOffset::AddVertex(Side side, int point, ZKW_SkeletonEdge edge) {
  (*side.lists)[point].push_back(static_cast<int>(side.vertices->size()));
  side.vertices->push_back(EdgePtr(std::make_unique<ZKW_SkeletonEdge>(std::move(edge))));
}

void ZKW_StraightSkeletonOffset::AddOuterCorner(Side side, int point,
                                                const D3DXVECTOR2& incomingReversed,
                                                const D3DXVECTOR2& outgoing,
                                                const D3DXVECTOR2& first, const D3DXVECTOR2& last) {
  std::vector<D3DXVECTOR2> directions{first};
  AppendFanDirections(first, last, directions);
  directions.push_back(last);
  for (const D3DXVECTOR2& direction : directions) {
    AddVertex(side, point,
              MakeSkeletonEdge(points_[point], incomingReversed, outgoing, direction, 1.0f, false));
  }
}

void ZKW_StraightSkeletonOffset::AddPointVertices(int point, const D3DXVECTOR2& r,
                                                  const D3DXVECTOR2& o) {
  const D3DXVECTOR2& p = points_[point];
  // The turn of the centre line at the point: positive to the left.
  const float k = o.y * -r.x - -r.y * o.x;
  if (k < -kTolerance || k > kTolerance) {
    const bool rightTurn = k < 0.0f;
    // The inner side runs along the bisector.
    const D3DXVECTOR2 b = Normalized(r + o);
    AddVertex(rightTurn ? RightSide() : LeftSide(), point,
              MakeSkeletonEdge(p, r, o, b, SpeedFromCross(b.x * o.y - b.y * o.x), true));
    // The outer side from the normal of the incoming segment to that of the outgoing one.
    if (rightTurn) {
      AddOuterCorner(LeftSide(), point, r, o, RightOf(r), LeftOf(o));
    } else {
      AddOuterCorner(RightSide(), point, r, o, LeftOf(r), RightOf(o));
    }
    return;
  }
  // Straight on, an end point, or a segment of zero length.
  const bool hasIncoming = !IsZero(r);
  AddVertex(LeftSide(), point,
            MakeSkeletonEdge(p, r, o, hasIncoming ? RightOf(r) : LeftOf(o), 1.0f, false));
  AddVertex(RightSide(), point,
            MakeSkeletonEdge(p, r, o, hasIncoming ? LeftOf(r) : RightOf(o), 1.0f, false));
}

void ZKW_StraightSkeletonOffset::ProcessCollisions(const std::vector<EdgePtr>& vertices,
                                                   float distance) {
  // The wavefront: the vertices still moving, in order, as a linked list over slots. Slot i
  // starts with vertex i; a merged vertex takes the slot of the first of its pair, so the slots
  // keep the front's order. Merged vertices are held by the chains of the vertices they replace.
  constexpr size_t kNone = SIZE_MAX;
  const size_t n = vertices.size();
  std::vector<ZKW_SkeletonEdge*> slot(n);
  std::vector<size_t> prev(n), next(n);
  for (size_t i = 0; i < n; ++i) {
    slot[i] = vertices[i].Get();
    prev[i] = i == 0 ? kNone : i - 1;
    next[i] = i + 1 < n ? i + 1 : kNone;
  }
  // The pairs that meet (a slot and the one after it), nearest first and, on a tie, earliest in
  // the front, so that each round takes the pair a scan of the whole front would take.
  std::set<std::pair<float, size_t>> meetings;
  const auto meets = [](float c) { return c > 0.0f && c < FLT_MAX; };
  const auto add = [&](size_t i) {
    if (next[i] == kNone) return;
    ZKW_SkeletonEdge& edge = *slot[i];
    if (!edge.collision) edge.collision = Collide(edge, *slot[next[i]]);
    if (meets(edge.collision->distance)) meetings.emplace(edge.collision->distance, i);
  };
  const auto drop = [&](size_t i) {
    const ZKW_SkeletonEdge& edge = *slot[i];
    if (edge.collision && meets(edge.collision->distance))
      meetings.erase({edge.collision->distance, i});
  };
  for (size_t i = 0; i < n; ++i)
    add(i);

  while (!meetings.empty()) {
    const auto [bestDistance, best] = *meetings.begin();
    if (!(bestDistance < distance)) return;
    const size_t following = next[best];
    ZKW_SkeletonEdge& q = *slot[best];
    const EdgePtr m = Merge(q, *slot[following]);
    if (best != 0) {
      // The vertices that start where q started now border the merged vertex's left line.
      const SkeletonLine border{m->leftLine.start, -m->leftLine.direction, m->leftLine.limit};
      for (size_t h = best; h != 0 && h != kNone && Coincide(slot[h]->origin, q.origin);
           h = prev[h])
        slot[h]->rightLine = border;
    }
    drop(best);
    drop(following);
    slot[best] = m.Get();
    next[best] = next[following];
    if (next[best] != kNone) prev[next[best]] = best;
    // The pairs on both sides of the merged vertex are found again.
    if (best != 0) {
      const size_t before = prev[best];
      drop(before);
      slot[before]->collision.reset();
      add(before);
    }
    add(best);
    if (const size_t after = next[best]; after != kNone) {
      drop(after);
      slot[after]->collision.reset();
      add(after);
    }
  }
}

void ZKW_StraightSkeletonOffset::OffsetPoints(bool left, int pointIndex, float distance,
                                              std::vector<D3DXVECTOR3>* out) const {
  const std::vector<std::vector<int>>& lists = left ? leftLists_ : rightLists_;
  const std::vector<EdgePtr>& vertices = left ? left_ : right_;
  if (pointIndex < 0 || static_cast<size_t>(pointIndex) >= lists.size()) return;
  for (const int index : lists[pointIndex]) {
    const ZKW_SkeletonEdge* vertex = vertices[index].Get();
    float start = 0.0f;
    while (distance > vertex->end && vertex->next) {
      start = vertex->end;
      vertex = vertex->next.Get();
    }
    const float travelled = distance - start;
    out->push_back({vertex->origin.x + vertex->direction.x * travelled * vertex->speed,
                    vertex->origin.y + vertex->direction.y * travelled * vertex->speed, 0.0f});
  }
}

DS_SafePtr<ZKW_StripeMeshBuilder> ZKW_StraightSkeletonOffset::CreateMeshBuilder(
    StripeIndexBuffer* indices, StripeVertexBuffer* vertices) const {
  return DS_SafePtr<ZKW_StripeMeshBuilder>(
      std::make_unique<ZKW_PointStripeMeshBuilder>(this, indices, vertices));
}
