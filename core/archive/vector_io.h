#pragma once

#include "core/archive/ds_iof_virtual.h"
#include "platform/math/d3dx_types.h"

// A vector stored as three Float x, y, z. A stream that has run dry delivers nothing, so the
// components read so far stay as they were.
inline void ReadVector3(DS_IOF_Virtual& io, D3DXVECTOR3& v) {
  io.ReadFloat(v.x);
  io.ReadFloat(v.y);
  io.ReadFloat(v.z);
}

inline void WriteVector3(DS_IOF_Virtual& io, const D3DXVECTOR3& v) {
  io.WriteFloat(v.x);
  io.WriteFloat(v.y);
  io.WriteFloat(v.z);
}
