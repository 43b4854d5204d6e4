#pragma once

#include <cstdint>
#include <memory>

#include "core/link/ds_file_link.h"
#include "core/param/color_params.h"
#include "core/param/scaled_param.h"
#include "fx/bases/ds_direction_based.h"
#include "fx/sky/cloud_perspective_params.h"
#include "player/document/image_texture_set.h"

// A drifting cloud layer inside the mask quad: the cloud picture laid out in perspective, its
// brightness above a threshold turned into cover by a density and tinted from the first colour
// to the second, scrolled along the direction with the phase. Drawn through its grid, which
// spans the unit square over the mask quad (the mask's own mapping goes separately). The record
// names the effect.
//
// The cloud picture is its "Background": it never reads the picture below, so a switch to a
// cleared target (modes 1 and 2) would lose the slide. It announces no reader and asks for no
// copy in any mode.
class DS_CloudFX : public DS_DirectionBased {
 public:
  static constexpr uint32_t kVersion = 1;

  // Speed factor 0.001, scale factor 0.008.
  DS_CloudFX();
  // Every member; the texture sets share their textures.
  DS_CloudFX(const DS_CloudFX& other) = default;

  // "DS_CloudFX" version 1: the two colours, the cloud and second picture links, threshold,
  // density, the perspective block, then the "DS_DirectionBased" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // A copy of the document's texture set of the cloud picture, the base's, then the grid over
  // the mask quad.
  void Prepare(ComRef<gfx::Texture>* maskSlot) override;
  // The grid's corners at the mask quad textured with the unit square, and the mask's mapping
  // from it: (width, left, height, top) of the quad over the scene's size.
  void UpdateMaskQuad() override;
  // "Mask", "Background" (the cloud picture's current frame; unset without one), "Scale",
  // "Threshold", "Density", the colours, "Velocity" = -(direction) x phase, "mask_tex_shift",
  // the perspective, then the grid binding.
  void Draw(DS_2D_Light& canvas) override;
  int HasMode() const override { return 0; }
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_CloudFX>(*this);
  }

  SmartCOLORREF color1{0};
  SmartCOLORREF color2{0};
  DS_ImageFileLink cloudLink;
  // Stored and read; never loaded or drawn.
  DS_ImageFileLink secondLink;
  // Scaled x 0.02 + 1.
  UINTSclaleTo<float> threshold{0, 0.02f, 1.0f};
  // Scaled x 0.02.
  UINTSclaleTo<float> density{0, 0.02f, 0.0f};
  CloudPerspectiveParams perspective;
  TextureFrameSet cloudTextures;
  TextureFrameSet secondTextures;
  float maskTexShift[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};
