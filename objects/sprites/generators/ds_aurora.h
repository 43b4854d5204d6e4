#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "objects/sprites/generators/ds_air_brush.h"

// An aurora curtain: its dabs, painted along a stroke, are tall quads of one picture whose
// height, brightness and sideways place follow three sine waves travelling along the stroke.
// A dab's phase along the waves is its channel 0; three clocks move the waves. The quads are
// joined in the mask and composed by the blend mode.
//
// Record "DS_Aurora" version 1: curtain height, stretch speed, amount and length, glow speed,
// amount and length, sway speed, amount and length, sway direction (UInt32 each), then the
// "DS_AirBrush" record.
class DS_Aurora : public DS_AirBrush {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_Aurora();
  DS_Aurora(const DS_Aurora& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The dabs joined in the mask, then the blend mode's composition.
  void Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) override;
  // The stretch, glow and sway clocks, then the quads.
  void Update(float t, DS_ParticlesObj& obj) override;
  // The base attach, one layer, the mask.
  void AttachRuntimeObject(DS_ParticlesObj& obj) override;
  std::unique_ptr<DS_ParticleGenerator> Clone() const override;
  // Appends a dab at `position` (phase 0); no quads are written.
  void AddParticle(const D3DXVECTOR3& position, float a, float b, float c, float d) override;

  // When attached: per dab, with u its phase and T1, T2, T3 the clocks' local times, a quad of
  // the air brush size by curtain height x (sin(u / stretch length + T1) x stretch amount + 1),
  // alpha factor sin(u / glow length + T2) x glow amount + 1, moved sideways in the sway
  // direction by sin(u / sway length + T3) x sway amount. The timeline is not applied.
  void FillLayer();

  MediaParamT<unsigned> curtainHeight{0};
  MediaSpeedParam stretchSpeed;  // x 0.03
  UINTSclaleTo<float> stretchAmount{0, 0.01f, 0.0f};
  UINTSclaleTo<float> stretchLength{0, 1.0f, 1.0f};
  MediaSpeedParam glowSpeed;  // x 0.03
  UINTSclaleTo<float> glowAmount{0, 0.01f, 0.0f};
  UINTSclaleTo<float> glowLength{0, 1.0f, 1.0f};
  MediaSpeedParam swaySpeed;                      // x 0.03
  UINTSclaleTo<float> swayAmount{0, 1.0f, 0.0f};  // scene units
  UINTSclaleTo<float> swayLength{0, 1.0f, 1.0f};
  MediaParamT<unsigned> swayDirection{0};  // degrees
};
