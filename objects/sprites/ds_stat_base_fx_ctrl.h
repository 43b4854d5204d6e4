#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "objects/sprites/ds_fx_particle_system_ctrl.h"
#include "platform/math/d3dx_types.h"

class DS_2D_Light;
class ParticleGeomArray;

// A level of the FX sprite presets with no data: its record, version 1, holds nothing of its
// own before the "DS_FXParticleSystemCtrl" record.
class DS_BaseFXCtrl : public DS_FXParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_BaseFXCtrl() = default;
  DS_BaseFXCtrl(const DS_BaseFXCtrl& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
};

// The FX sprite presets that sit at one position with one size and draw their sprites through
// their own effect with parameters of their own (run-time object DS_FXObj): the explosion and
// the text kinds.
//
// Record "DS_StatBaseFXCtrl" version 2: position (three Float), height, width (UInt32 each,
// from version 2), then the "DS_BaseFXCtrl" record.
class DS_StatBaseFXCtrl : public DS_BaseFXCtrl {
 public:
  static constexpr uint32_t kVersion = 2;

  // At the centre of the current scene.
  DS_StatBaseFXCtrl();
  DS_StatBaseFXCtrl(const DS_StatBaseFXCtrl& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // A DS_FXObj on a clone.
  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;
  // The effect; an object never placed (its keep-GUID byte clear) moves to the scene's centre
  // and is marked placed.
  void PrepareEffect() override;
  // Sets the effect's parameters for this frame's draw of `sprites`; true when the run-time
  // object is then to draw the sprites with the effect (kinds that draw themselves answer
  // false).
  virtual bool SetEffectParameters(DS_2D_Light& renderer, ParticleGeomArray& sprites) = 0;

  // Centre of the object in scene pixels.
  MediaParamT<D3DXVECTOR3> position;
  MediaParamT<unsigned> height{0};
  MediaParamT<unsigned> width{0};
};
