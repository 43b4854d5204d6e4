#pragma once

#include <cstdint>

#include "geometry/gradient/zkw_vgradient_linear.h"

// A radial ramp: the start value Vs at the centre S, the end value Ve on and beyond the rim
// through E.
class ZKW_VGradient_Circular : public ZKW_VGradient_Linear {
 public:
  ZKW_VGradient_Circular() = default;

  // "ZKW_VGradient_Circular", 1, then the whole ZKW_VGradient_Linear record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The linear record's header (dropped), then the linear body.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Vs + (Ve - Vs) min(t, 1), t = |p - S| / |E - S|. Ve when S and E coincide: every point lies
  // on or beyond the rim.
  float ValueAt(const D3DXVECTOR3* point) const override;
  void Accept(ZKW_VGradient_Visitor& visitor) override;
};
