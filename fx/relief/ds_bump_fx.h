#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "core/link/ds_file_link.h"
#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "core/param/smart_angle.h"
#include "core/sequence/link_texture_set.h"
#include "renderers/brush/ds_fx_constructor.h"

// Lights the picture as a relief: the bump picture stretched over the mask quad gives the
// heights, a light from an elevation and an azimuth shades their slopes, and the relief's
// strength pulses and follows the timeline.
class DS_BumpFX : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;

  // Elevation 45 degrees, animator speed 50 x 0.02.
  DS_BumpFX();

  // "DS_BumpFX" version 1: animator mode, pulse mode, bump strength, the bump picture's link,
  // light elevation, light azimuth, animator speed, then the "DS_FX_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version: the two modes and the link stored straight, the rest told when they change.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The base's, the grid over the mask quad, the bump picture's frames (filtered with the
  // triangle filter) and the bump mapping: the offset and inverse extent that take the
  // picture's texture coordinates to 0..1 across the mask quad (0 where the quad is flat).
  void Prepare(ComRef<gfx::Texture>* maskSlot) override;
  // The animator clock's step (nothing reads it), then the phase step.
  void Tick(float time) override;
  // "Background", "LightDir" = (-cos a cos e, -sin a cos e, sin e), "BumpStep" = one texel of
  // the bump picture (0 for a picture of no size), "BumpTexScale" = the bump mapping,
  // "AmbientLight" = 1 - sin e, "Animator" = (strength, 1 - v) in animator mode 1, (strength x
  // v, 0) in mode 0, else (strength, 0), v being the timeline value pulsed by the wave of type
  // pulse mode + 1 for pulse modes above 0; "Bumpmap1" = the current frame when there is any.
  // Mode 0 draws the grid with "Main", other modes the whole picture with "MainFX".
  void Draw(DS_2D_Light& canvas) override;
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_BumpFX>(*this);
  }

  MediaParamT<int> animatorMode{1};
  MediaParamT<int> pulseMode{1};
  UINTSclaleTo<float> bumpStrength{100, 0.1f, 0.0f};
  DS_ImageFileLink bumpPicture;
  ZKW_SmartAngle lightElevation;
  ZKW_SmartAngle lightAzimuth;
  MediaSpeedParam animatorSpeed;
  LinkTextureSet bumpFrames;
  // (u0, v0, 1 / (u2 - u0), 1 / (v3 - v0)) of the mask quad's corners.
  std::array<float, 4> bumpMapping{0.0f, 0.0f, 0.0f, 0.0f};
};
