#pragma once

#include <cstdint>

#include "core/float_to_int.h"
#include "platform/math/d3dx_math.h"

// A channel as a vertex colour takes it: the integer part, low 8 bits kept.
inline uint32_t VertexChannel(float value) {
  return static_cast<uint32_t>(SaturatingTruncate<int64_t>(value)) & 0xFFu;
}

// The vertex colour of an alpha and a colour vector (channels 0 to 255), each as VertexChannel.
inline uint32_t PackedVertexColour(float alpha, const D3DXVECTOR3& rgb) {
  return VertexChannel(alpha) << 24 | VertexChannel(rgb.x) << 16 | VertexChannel(rgb.y) << 8 |
         VertexChannel(rgb.z);
}

// `v` transformed as a point by `m`.
inline D3DXVECTOR3 TransformedPoint(const D3DXVECTOR3& v, const D3DXMATRIX& m) {
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &v, &m);
  return out;
}
