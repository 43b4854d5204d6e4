#pragma once

#include <cstdint>
#include <memory>

#include "core/com_ref.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "platform/gfx/texture.h"
#include "renderers/brush/ds_fx_constructor.h"

// Makes the picture shimmer as over hot air: its lookup moved by the slopes of the bump picture
// glimres.dll #62, which scrolls with a clock of its own.
class DS_HeatDistortion : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;

  // Heat speed stored 1 x 0.001.
  DS_HeatDistortion();

  // "DS_HeatDistortion" version 1: heat speed, strength, bump scale, then the
  // "DS_FX_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version: each told when it changes.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The base's, the grid over the mask quad, and the bump picture's current frame (none when the
  // document has none: the effect then reads a flat bump map and leaves the picture as it is).
  void Prepare(ComRef<gfx::Texture>* maskSlot) override;
  // The phase step, then the heat clock's step by the heat speed. Restart leaves the heat clock.
  void Tick(float time) override;
  // BindScale, "stenght" = strength x 0.05, "Offset" = (heat phase, -heat phase), "bump_scale"
  // = (b, b x picture height / width) for the bump scale b, "Bumpmap"; then the quad binding.
  void Draw(DS_2D_Light& canvas) override;
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_HeatDistortion>(*this);
  }

  MediaSpeedParam heatSpeed;
  UINTSclaleTo<float> strength{0, 0.002f, 0.0f};
  // 1 - 0.009 x stored.
  UINTSclaleTo<float> bumpScale{0, -0.009f, 1.0f};
  ComRef<gfx::Texture> bumpTexture;
};
