#pragma once

#include "core/archive/ds_iof_archive.h"
#include "core/param/media_param_t.h"
#include "core/param/value_spread_prm.h"
#include "platform/math/d3dx_types.h"

// The parameters of the spiral motion law.
struct SpiralPrm {
  ValueSpreadPrm angularSpeed{100, 1.0f};  // degrees per second
  ValueSpreadPrm radialSpeed;
  MediaParamT<D3DXVECTOR3> centreOffset{D3DXVECTOR3()};
  MediaParamT<int> directionMode{0};  // 0 +1, 1 -1, 2 a random sign per particle
  MediaParamT<int> inward{0};
};

// Int32 version (ignored); UInt32 value and spread of the angular speed, then of the radial
// speed (each stored and notified only when it differs); Float x, y, z straight into the centre
// offset; Int32 direction mode and Int32 inward switch, stored straight.
void ReadSpiralPrm(DS_IOF_Archive& archive, SpiralPrm& param);
// The same with version 2.
void WriteSpiralPrm(DS_IOF_Archive& archive, const SpiralPrm& param);
