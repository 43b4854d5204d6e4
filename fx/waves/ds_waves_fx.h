#pragma once

#include <cstdint>
#include <memory>

#include "core/param/callback_ctrl_set.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "platform/math/d3dx_types.h"
#include "renderers/brush/ds_fx_constructor.h"

// Straight waves running across the picture: the picture is moved along the wave direction by
// amplitude x sin(frequency x (position . wave normal) + time), over the whole picture.
class DS_WavesFX : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;

  // Speed 25, effect glimres.dll #77, timeline flag bit 0.
  DS_WavesFX();
  // Every member; the copy watches its own angle and flag and computes its vectors anew.
  DS_WavesFX(const DS_WavesFX& other);

  // "DS_WavesFX" version 1: amplitude, wavelength, angle, parallel flag, then the
  // "DS_FX_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Amplitude and wavelength told when they change; angle and flag stored straight, so the
  // vectors keep their defaults until the brush is copied.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // "direction" (the direction negated), "direction_n", "frequency", "amplitude" (fading with the
  // timeline), "time" = phase x 0.08, then the common binding.
  void Draw(DS_2D_Light& canvas) override;
  bool KindFlag() const override { return true; }
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_WavesFX>(*this);
  }

  // direction = (cos a, -sin a) for the angle a; the wave normal (sin a, cos a), or with the
  // parallel flag (-cos a, sin a).
  void UpdateDirection();

  // Scaled x 0.00025: 0.0125 of the picture by default.
  UINTSclaleTo<float> amplitude{50, 0.00025f, 0.0f};
  // Scaled x 0.0005 + 0.001: 0.026 by default, never 0.
  UINTSclaleTo<float> wavelength{50, 0.0005f, 0.001f};
  // Degrees.
  MediaParamT<unsigned> directionAngle{0};
  MediaParamT<int> parallelFlag{0};
  D3DXVECTOR4 direction{1.0f, 0.0f, 0.0f, 0.0f};
  D3DXVECTOR4 waveNormal{0.0f, 1.0f, 0.0f, 0.0f};

 private:
  CallbackCtrlSet<DS_WavesFX> callbacks_{this};
};
