#pragma once

#include <cstdint>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "geometry/gradient/zkw_vgradient.h"

// A linear ramp from the start value Vs at the start point S to the end value Ve at the end
// point E, constant beyond either end. Values are held as percents (100 is 1.0).
class ZKW_VGradient_Linear : public ZKW_VGradient {
 public:
  ZKW_VGradient_Linear() = default;

  // "ZKW_VGradient_Linear", 1, Float S.x, S.y, S.z, E.x, E.y, E.z, UInt32 start percent, UInt32
  // end percent, then the ZKW_VGradient record.
  bool Save(DS_IOF_Archive& archive) const override;
  // S and E stored straight; the percents stored and notified when they differ, so that the
  // scaled values follow; then the ZKW_VGradient header.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // With t the projection of p - S on E - S as a fraction of its length: Vs for t < 0, Ve for
  // t > 1, linear between. Vs when S and E coincide, and for a point whose t is undefined.
  float ValueAt(const D3DXVECTOR3* point) const override;
  void Accept(ZKW_VGradient_Visitor& visitor) override;

  float StartValue() const { return startValue.Scaled(); }
  float EndValue() const { return endValue.Scaled(); }

  MediaParamT<D3DXVECTOR3> start{D3DXVECTOR3(0.0f, 0.0f, 0.0f)};
  MediaParamT<D3DXVECTOR3> end{D3DXVECTOR3(100.0f, 100.0f, 0.0f)};
  UINTSclaleTo<float> startValue{100, 0.01f, 0.0f};
  UINTSclaleTo<float> endValue{0, 0.01f, 0.0f};
};
