#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/com_ref.h"
#include "core/link/ds_file_link.h"
#include "core/param/color_params.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "fx/bases/ds_direction_based.h"
#include "platform/gfx/texture.h"

// Falling water inside the mask quad: the picture shimmers under a scrolling noise picture, and
// a stack of copies of its bright parts streams along the direction, each sliding from 0 to the
// base strength while it fades in and out, the layers evenly staggered. Drawn through the grid
// in every mode; the record names the effect.
//
// Its passes read the slide's picture through the grid only, so a switch to a cleared target (modes
// 1 and 2) would lose everything outside the mask quad: it announces no reader in any mode.
class DS_WaterfallFX : public DS_DirectionBased {
 public:
  static constexpr uint32_t kVersion = 1;
  // More layers than this would differ by under 1/256 of a turn of phase.
  static constexpr uint32_t kMaxLayers = 256;

  struct Layer {
    float shift[2] = {0.0f, 0.0f};
    float translucency = 0.0f;
  };

  // Speed factor 0.02, base strength factor 0.004; 4 layers, not disabled.
  DS_WaterfallFX();
  // Every member; the noise texture is shared.
  DS_WaterfallFX(const DS_WaterfallFX& other) = default;

  // "DS_WaterfallFX" version 1: translucency, layer count, noise amplitude, extra strength,
  // threshold, noise picture link, base colour, disabled flag, then the "DS_DirectionBased"
  // record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The layers (at most kMaxLayers), the noise picture's current frame, the base's, the grid.
  void Prepare(ComRef<gfx::Texture>* maskSlot) override;
  // The phase step, then each layer's shift and translucency and the noise shift.
  void Tick(float time) override;
  // "Mask", "Background"; unless disabled the noise pass (when there is noise) and one
  // "ColorWaves" pass per layer, each through the grid.
  void Draw(DS_2D_Light& canvas) override;
  int HasMode() const override { return 0; }
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_WaterfallFX>(*this);
  }

  // Scaled 1 - stored x 0.01.
  UINTSclaleTo<float> translucency{0, -0.01f, 1.0f};
  MediaParamT<unsigned> layerCount{4};
  // Scaled x 0.0001.
  UINTSclaleTo<float> noiseAmplitude{0, 0.0001f, 0.0f};
  // Stored and read; nothing draws with it.
  UINTSclaleTo<float> extraStrength{0, 1.0f, 0.0f};
  // Scaled 1 - stored x 0.001.
  UINTSclaleTo<float> threshold{0, -0.001f, 1.0f};
  DS_ImageFileLink noiseLink;
  SmartCOLORREF baseColor{0};
  MediaParamT<int> disabled{0};
  std::vector<Layer> layers;
  ComRef<gfx::Texture> noiseTexture;
  float noiseShift[2] = {0.0f, 0.0f};
};
