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

// A colour channel of 0..1 as a byte: 255 at 1 and above, 0 at 0 and below (NaN too), rounded.
inline uint32_t UnitChannelByte(float v) {
  if (v >= 1.0f) return 255;
  if (!(v > 0.0f)) return 0;
  return static_cast<uint32_t>(v * 255.0f + 0.5f);
}

// `v` transformed as a point by `m`.
inline D3DXVECTOR3 TransformedPoint(const D3DXVECTOR3& v, const D3DXMATRIX& m) {
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &v, &m);
  return out;
}
