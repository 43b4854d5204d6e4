#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "fx/light/ds_light_fx_ii.h"
#include "platform/math/d3dx_types.h"

// A band of coloured light that runs between two points, blended normally, swinging by the
// wave of its pulse mode or, in pulse mode 0, following the object's timeline from the start
// point to the end point.
class DS_LightWaveFX : public DS_LightFX_II {
 public:
  static constexpr uint32_t kVersion = 2;

  // The light's defaults with speed factor 0.02; both points at the origin.
  DS_LightWaveFX();

  // "DS_LightWaveFX" version 2: start and end points, band width, one-way flag, then the whole
  // "DS_LightFX_II" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Everything stored straight; version 1 holds no one-way flag (0).
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The phase step, then the band: w = the timeline value in pulse mode 0, else the wave of
  // type mode + 1 (for modes below 3 with the one-way flag turned so that it always runs from
  // the start to the end) brought to 0..1; position = start + (end - start) x w; direction =
  // the unit vector from the end towards the start ((0, 0, 0) when they meet).
  void Tick(float time) override;
  // The band ("BgSize", "WaveDir", "WavePos", "WaveFreq"), "BlendColor" with alpha the strength
  // (times the timeline value outside pulse mode 0), "Mask", "Background", technique
  // "Blend_Normal"; then one pass over the whole picture.
  void Draw(DS_2D_Light& canvas) override;
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_LightWaveFX>(*this);
  }

  // Scene units.
  MediaParamT<D3DXVECTOR3> startPoint{D3DXVECTOR3()};
  MediaParamT<D3DXVECTOR3> endPoint{D3DXVECTOR3()};
  MediaParamT<unsigned> bandWidth{0};
  MediaParamT<int> oneWay{0};
  // From Tick.
  D3DXVECTOR3 wavePosition;
  D3DXVECTOR3 waveDirection;
};
