#pragma once

#include <cstdint>

#include "core/param/callback_ctrl_set.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "platform/math/d3dx_types.h"
#include "renderers/brush/ds_fx_constructor.h"

// `v` turned by D3DXMatrixRotationZ of (360 - degrees) degrees, the difference taken in wrapping
// 32-bit integers: (1, 0, 0, 0) becomes (cos a, -sin a, 0, 0), a turn counter-clockwise on a
// screen whose y axis points down.
D3DXVECTOR4 TurnedOnScreen(unsigned degrees, const D3DXVECTOR4& v);

// The base of the brushes that work along a direction: a strength along it and the direction's
// angle in degrees, kept as its unit vector (cos a, -sin a). Its record, "DS_DirectionBased"
// version 1, holds the strength and the angle before the "DS_FX_Constructor" record.
class DS_DirectionBased : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_DirectionBased();
  // Every member; the copy watches its own angle and computes its direction anew.
  DS_DirectionBased(const DS_DirectionBased& other);

  bool Save(DS_IOF_Archive& archive) const override;
  // The body after its header: the strength (told when it changes), the angle stored straight
  // (the direction keeps what it was; copies compute it), then the base record.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // direction = (1, 0, 0, 0) turned on screen by the angle.
  void UpdateDirection();

  // Kinds set its factor and default.
  UINTSclaleTo<float> baseStrength{0, 1.0f, 0.0f};
  MediaParamT<unsigned> directionAngle{0};
  D3DXVECTOR4 direction{1.0f, 0.0f, 0.0f, 0.0f};

 private:
  CallbackCtrlSet<DS_DirectionBased> callbacks_{this};
};
