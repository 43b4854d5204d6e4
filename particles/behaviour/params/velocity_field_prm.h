#pragma once

#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/noise/perlin_noise.h"
#include "core/param/scaled_param.h"
#include "core/param/smart_angle.h"
#include "core/param/value_spread_prm.h"

// A noise field that pushes particles, with a drift in one direction.
struct VelocityFieldPrm {
  UINTSclaleTo<float> strength{100, 1.0f, 0.0f};      // multiplies the two noise values
  UINTSclaleTo<float> noiseScale{100, 0.005f, 0.0f};  // noise at position x 0.01 x this (0.5)
  UINTSclaleTo<float> noiseSpeed{100, 0.01f, 0.0f};   // noise time: seconds x 0.1 x this (1.0)
  ValueSpreadPrm drift;
  ZKW_SmartAngle driftDirection;  // degrees
  // One permutation per noise axis.
  std::vector<int> permutationX = BuildPerlinPermutation();
  std::vector<int> permutationY = BuildPerlinPermutation();
};

// Int32 version v, UInt32 strength, noise scale, noise speed and drift value, from version 2 on
// UInt32 drift spread, then UInt32 drift direction; each UInt32 is stored and notified only when
// it differs (an older record leaves the drift spread as it was).
void ReadVelocityFieldPrm(DS_IOF_Archive& archive, VelocityFieldPrm& param);
// Version 2 with all six values.
void WriteVelocityFieldPrm(DS_IOF_Archive& archive, const VelocityFieldPrm& param);
