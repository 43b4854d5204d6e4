#include "geometry/offset/zkw_onion_offseter.h"

#include <algorithm>
#include <cfloat>
#include <memory>
#include <utility>

#include "geometry/offset/offset_math.h"
#include "geometry/offset/zkw_onion_tracer.h"
#include "geometry/offset/zkw_skeleton_edge.h"

using namespace offset_math;

namespace {

// The bounding box of a vertex's whole path, from its origin to where it would end (onion vertices
// never end: FLT_MAX).
struct Box {
  float minX, maxX, minY, maxY;
};

Box PathBox(const OnionVertex& v) {
  const D3DXVECTOR2 far = v.origin + v.direction * FLT_MAX * v.speed;
  return {std::min(v.origin.x, far.x), std::max(v.origin.x, far.x), std::min(v.origin.y, far.y),
          std::max(v.origin.y, far.y)};
}

bool Overlap(const Box& a, const Box& b) {
  return a.minX < b.maxX && b.minX < a.maxX && a.minY < b.maxY && b.minY < a.maxY;
}

D3DXVECTOR2 PositionAt(const OnionVertex& v, float distance) {
  return v.origin + v.direction * (v.speed * distance);
}

}  // namespace

std::vector<OnionVertex> ZKW_OnionOffseter::Wavefront(const OnionRing& ring) {
  std::vector<OnionVertex> front;
  const std::vector<OnionRingNode>& nodes = ring.nodes;
  if (nodes.empty()) return front;
  // A corner's fan has at most three vertices between its two side vertices.
  front.reserve(nodes.size() * 5 + 1);
  front.push_back({nodes[0].start, RightOf(nodes[0].direction), 1.0f});
  std::vector<D3DXVECTOR2> fan;
  for (size_t k = 1; k < nodes.size(); ++k) {
    const OnionRingNode& node = nodes[k];
    const D3DXVECTOR2& p = node.start;
    const D3DXVECTOR2 r = -nodes[k - 1].direction;
    const D3DXVECTOR2& o = node.direction;
    if (node.turn > 0.0f && Dot(o, r) > -0.99) {
      // A left turn: its outer corner lies on the right and is filled with a fan.
      fan.assign(1, RightOf(nodes[k - 1].direction));
      AppendFanDirections(fan.front(), RightOf(o), fan);
      fan.push_back(RightOf(o));
      for (const D3DXVECTOR2& direction : fan)
        front.push_back({p, direction, 1.0f});
      continue;
    }
    const D3DXVECTOR2 b = Normalized(o + r);
    if (node.turn < 0.0f) {
      front.push_back({p, b, SpeedFromCross(o.y * b.x - b.y * o.x)});
    } else if (!IsZero(b)) {
      front.push_back({p, -b, 1.0f});  // almost straight on
    } else {
      // Exactly straight on (a kept last segment): the normal, as for an almost straight turn.
      front.push_back({p, RightOf(o), 1.0f});
    }
  }
  const OnionRingNode& last = nodes.back();
  front.push_back({last.start + last.direction * last.length, RightOf(last.direction), 1.0f});
  return front;
}

bool ZKW_OnionOffseter::AdvanceLayer(OnionRing& ring) {
  if (!(ring.remaining > 0.0f) || ring.nodes.empty()) return false;
  const std::vector<OnionVertex> front = Wavefront(ring);

  // The first meeting of neighbouring vertices within what remains.
  float t = ring.remaining;
  size_t dropped = front.size();  // the second vertex of the pair that meets first
  for (size_t i = 0; i + 1 < front.size(); ++i) {
    const OnionVertex& a = front[i];
    const OnionVertex& b = front[i + 1];
    if (Coincide(a.origin, b.origin) || !Overlap(PathBox(a), PathBox(b))) continue;
    const float den = a.direction.x * b.direction.y - b.direction.x * a.direction.y;
    if (den == 0.0f) continue;
    const D3DXVECTOR2 delta = b.origin - a.origin;
    const float s = (delta.x * b.direction.y - delta.y * b.direction.x) / den;
    const float u = (delta.x * a.direction.y - delta.y * a.direction.x) / den;
    if (!(s >= 0.0f && u >= 0.0f)) continue;
    const float h = s / a.speed;
    if (h < t) {
      t = h;
      dropped = i + 1;
    }
  }

  const size_t before = ring.nodes.size();
  const float remaining = ring.remaining;
  ring.nodes.clear();
  // The last vertex kept closes the ring even when it goes straight on, as the centre line's
  // last segment does, so that the ring keeps its whole length.
  const size_t lastKept = dropped == front.size() - 1 ? front.size() - 2 : front.size() - 1;
  D3DXVECTOR2 from = PositionAt(front[0], t);
  for (size_t i = 1; i < front.size(); ++i) {
    if (i == dropped) continue;
    const D3DXVECTOR2 to = PositionAt(front[i], t);
    if (ring.Append(from, to, i == lastKept)) from = to;
  }
  ring.remaining -= t;
  // A layer that used up nothing and dropped no segment leaves the same ring to offset again.
  return ring.remaining != remaining || ring.nodes.size() < before;
}

size_t ZKW_OnionOffseter::MaxLayers(const OnionRing& start) {
  return 2 * Wavefront(start).size() + 2;
}

void ZKW_OnionOffseter::Layer(OnionRing start, std::vector<OnionRing>& rings) {
  const size_t maxLayers = MaxLayers(start);
  size_t nodes = 0;
  do {
    nodes += start.nodes.size();
    rings.push_back(start);
  } while (rings.size() < maxLayers && AdvanceLayer(start) &&
           nodes + start.nodes.size() <= kMaxRingNodes);
}

void ZKW_OnionOffseter::Build(float distance) {
  right_.clear();
  left_.clear();
  const size_t n = points_.size();

  OnionRing ring{{}, distance};
  if (n >= 2) {
    size_t j = 0;
    for (size_t i = 1; i < n; ++i)
      if (ring.Append(points_[j], points_[i], i == n - 1)) j = i;
  }
  Layer(std::move(ring), right_);

  ring = OnionRing{{}, distance};
  if (n >= 2) {
    size_t j = n - 1;
    for (size_t i = n - 1; i-- > 0;)
      if (ring.Append(points_[j], points_[i], i == 0)) j = i;
  }
  Layer(std::move(ring), left_);
}

float ZKW_OnionOffseter::ZeroLineLength() const {
  return right_.empty() ? 0.0f : right_.front().Length();
}

DS_SafePtr<ZKW_StripeTracer> ZKW_OnionOffseter::CreateTracer() const {
  return DS_SafePtr<ZKW_StripeTracer>(std::make_unique<ZKW_OnionTracer>(&right_, &left_));
}

void ZKW_OnionOffseter::OffsetPoints(bool /*left*/, int /*pointIndex*/, float /*distance*/,
                                     std::vector<D3DXVECTOR3>* /*out*/) const {}
