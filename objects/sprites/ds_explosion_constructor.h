#pragma once

#include <cstdint>
#include <memory>

#include "core/com_ref.h"
#include "core/param/color_params.h"
#include "core/param/media_direction.h"
#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "objects/sprites/ds_stat_base_fx_ctrl.h"
#include "platform/gfx/texture.h"
#include "platform/math/d3dx_types.h"

// An explosion: one burst at the position, drawn by the effect's technique "Main" with the
// picture as its gradient and the second picture as its noise. While the timeline is hidden it
// collapses and its noise starts over; fading in it grows from a quarter of its size to the
// whole and brightens five times as fast; fading out it burns away. The noise drifts, and takes a
// new shift every whole motion second: from a seeded sequence, so that a burst repeats, or fresh
// from the shared sequence.
//
// Record "DS_ExplosionConstructor" version 3: noise amount, noise scale 1, noise scale 2 (UInt32
// percents), drift direction (UInt32 degrees), drift speed (UInt32), seed (UInt32), random
// noise (Int32), second colour (Dword), then the "DS_StatBaseFXCtrl" record. Version 1 held five
// legacy values after the drift speed that stand for a random timeline of fixed phases.
class DS_ExplosionConstructor : public DS_StatBaseFXCtrl {
 public:
  static constexpr uint32_t kVersion = 3;

  // Size 250, motion rate 100, seed 1, seeded noise.
  DS_ExplosionConstructor();
  DS_ExplosionConstructor(const DS_ExplosionConstructor& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;
  // The noise starts over and the drift clock returns to 0; the motion clock runs on.
  void Restart() override;
  // The effect, the placement, the gradient and noise textures, and the first noise shift.
  void PrepareEffect() override;
  // Every sprite: at the position, sized and coloured by the timeline's state and value.
  void UpdateParticle(SpriteRecord& sprite) override;
  // The effect's technique "Main" and its values for this frame (a new noise shift each whole
  // motion second); answers true.
  bool SetEffectParameters(DS_2D_Light& renderer, ParticleGeomArray& sprites) override;

  // The next noise shift: two fresh draws with random noise; otherwise the explosion number's
  // pair of the sequence seeded with the seed (which reseeds the shared sequence), and the number
  // counts on.
  void NextNoiseShift();

  // "noise_params": 1 - percent / 100, then the two scales percent / 100.
  UINTSclaleTo<float> noiseAmount{21, -0.01f, 1.0f};
  UINTSclaleTo<float> noiseScale1{15, 0.01f, 0.0f};
  UINTSclaleTo<float> noiseScale2{42, 0.01f, 0.0f};
  MediaDirection driftDirection;
  // Stored 50 is 0.25; its clock runs on the motion elapsed time.
  MediaSpeedParam driftSpeed;
  MediaParamT<unsigned> seed{1};
  MediaParamT<int> randomNoise{0};
  SmartCOLORREF secondColour{0};
  ComRef<gfx::Texture> gradientTexture;
  ComRef<gfx::Texture> noiseTexture;
  D3DXVECTOR2 previousNoiseShift{0, 0};
  D3DXVECTOR2 noiseShift{0, 0};
  // The whole motion second of the last shift change.
  float shiftSecond = 0.0f;
  // How many shifts of the seeded sequence have been drawn, plus 1.
  int explosionNumber = 1;
};
