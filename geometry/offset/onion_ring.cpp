#include "geometry/offset/onion_ring.h"

#include <algorithm>
#include <cmath>

#include "geometry/offset/offset_math.h"

using namespace offset_math;

bool OnionRing::Append(const D3DXVECTOR2& from, const D3DXVECTOR2& to, bool forced) {
  const D3DXVECTOR2 d = to - from;
  const float length = offset_math::Length(d);
  if (!(length >= 1.0f) || !std::isfinite(length)) return false;
  const D3DXVECTOR2 direction = d / length;
  if (nodes.empty()) {
    nodes.push_back({from, direction, length, length, 0.0f});
    return true;
  }
  const OnionRingNode& last = nodes.back();
  const float turn = Cross(last.direction, direction);
  if (!forced && turn > -kTolerance && turn < kTolerance) return false;
  nodes.push_back({from, direction, length, last.cumulative + length, turn});
  return true;
}

bool OnionRing::PointAt(float s, D3DXVECTOR3* point, D3DXVECTOR3* normal) const {
  if (nodes.empty()) return false;
  auto node = std::partition_point(nodes.begin(), nodes.end(),
                                   [s](const OnionRingNode& n) { return !(n.cumulative >= s); });
  if (node == nodes.end()) --node;
  const float local = s - (node->cumulative - node->length);
  *point = {node->start.x + node->direction.x * local, node->start.y + node->direction.y * local,
            0.0f};
  if (normal != nullptr) *normal = {-node->direction.y, node->direction.x, 0.0f};
  return true;
}

bool OnionRing::NextVertex(unsigned* state, D3DXVECTOR3* out) const {
  const size_t m = nodes.size();
  if (m == 0 || *state > m) return false;
  if (*state < m) {
    const OnionRingNode& node = nodes[*state];
    *out = {node.start.x, node.start.y, 0.0f};
  } else {
    const OnionRingNode& node = nodes.back();
    *out = {node.start.x + node.direction.x * node.length,
            node.start.y + node.direction.y * node.length, 0.0f};
  }
  ++*state;
  return true;
}
