#pragma once

#include <cstdint>

#include "core/param/media_param_t.h"
#include "platform/math/d3dx_types.h"
#include "renderers/brush/ds_fx_constructor.h"

// The base of the brushes that work about a point: a centre in scene units and its binding
// "Center". A brush that has never been placed (its keep-GUID byte clear) is moved to the middle
// of the scene by its first Prepare; a brush read from a project keeps its stored centre, and a
// new one starts at (0, 0, 0). Its record, "DS_CentralBased" version 1, holds the centre before
// the "DS_FX_Constructor" record.
class DS_CentralBased : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;

  bool Save(DS_IOF_Archive& archive) const override;
  // The body after its header: the centre stored straight, then the base record (the version
  // is not used).
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Places a never-placed brush in the middle of the scene (setting its keep-GUID byte and
  // telling the centre's observers), then the base Prepare.
  void Prepare(ComRef<gfx::Texture>* maskSlot) override;
  // DS_CentralBased::Prepare, then a grid of 2 x 2 cells over the mask quad.
  void PrepareGridCentral(ComRef<gfx::Texture>* maskSlot);
  // BindScale, then "Center" = the centre (moved by the target point when KindFlag is true) as a
  // fraction of the render target's size.
  void BindCenter(DS_2D_Light& canvas);

  MediaParamT<D3DXVECTOR3> centre;

 protected:
  // The centre, moved by the target point when KindFlag is true.
  D3DXVECTOR3 AimedCentre() const;
  // The centre's three floats; the record of DS_LineBased holds them without this class's header.
  void WriteCentre(DS_IOF_Archive& archive) const;
};
