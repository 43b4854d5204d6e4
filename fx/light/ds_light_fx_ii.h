#pragma once

#include <cstdint>
#include <memory>

#include "core/param/color_params.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "renderers/brush/ds_fx_constructor.h"

// Blends a colour over the whole picture inside the mask with one of five blend techniques, at
// a pulsing opacity. It reads the picture below whatever its base mode; its target mode says
// how: 0 has the run-time object switch the canvas's target itself, 1 asks the object pass for
// a target copy, any other value neither (it then reads nothing and announces no reader).
class DS_LightFX_II : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 3;

  // "DS_LightFX_II" version 3: strength, pulse mode, blend mode, light colour, target mode,
  // then the "DS_FX_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 3 holds the target mode (older ones keep 0). A record older than version 2 draws
  // with effect glimres.dll #190 whatever it links, and its blend mode 3 became 4 (told).
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  void Prepare(ComRef<gfx::Texture>* maskSlot) override { PrepareGrid(maskSlot); }
  // "BlendColor" = the light colour with alpha strength x the pulse x the timeline value,
  // "Mask", "Background", the technique of the blend mode (0 "Blend_Normal", 1 "Blend_Screen",
  // 2 "Blend_ColorDodge", 3 "Linear_Dodge", 5 "Blend_Sum"; other modes leave the effect's
  // technique as it is); then one pass over the whole picture.
  void Draw(DS_2D_Light& canvas) override;
  int HasMode() const override { return 1; }
  bool IsMode1() const override { return targetMode.Value() == 0; }
  bool IsMode2() const override { return targetMode.Value() == 1; }
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_LightFX_II>(*this);
  }

  UINTSclaleTo<float> strength{0, 0.01f, 0.0f};
  // 0 steady, 1 a smooth pulse, 2 on and off, 3 a noise flicker; others steady.
  MediaParamT<int> pulseMode{0};
  MediaParamT<int> blendMode{0};
  SmartCOLORREF lightColor{0};
  MediaParamT<int> targetMode{0};

 protected:
  // The pulse of the pulse mode at the current phase, 0 to 1.
  float Pulse() const;
  // "BlendColor" with alpha `alpha`, "Mask" and "Background".
  void BindLight(DS_2D_Light& canvas, float alpha);
  // The effect's passes over the whole picture.
  void DrawWholePicture(DS_2D_Light& canvas);
};
