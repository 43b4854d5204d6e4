#pragma once

#include <cstdint>
#include <memory>

#include "core/com_ref.h"
#include "core/link/ds_file_link.h"
#include "core/param/color_params.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "platform/gfx/texture.h"
#include "platform/math/d3dx_types.h"
#include "renderers/brush/ds_fx_constructor.h"

// The fire brush: a pattern picture under scrolling noise, in two colours, drawn through an
// 8 x 8-cell grid stretched over the mask quad. The flame renderer embeds one and draws it on a
// band of its own through BindNoise.
class DS_FireFX : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 3;

  // Colours yellow and red, pattern glimres.dll #93, noise #8, speed 50 (x 0.02), effect #92.
  DS_FireFX();

  // "DS_FireFX" version 3: the colours, the spare value, the pattern and noise links, density,
  // brightness and stretch, then the "DS_FX_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 stores no fields of its own; version 2 stores the base's mask quad before them
  // and its quad tag after the links.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_FireFX>(*this);
  }

  // The base's, then the pattern and noise textures and the 8 x 8 grid over the mask quad.
  void Prepare(ComRef<gfx::Texture>* maskSlot) override;
  // The grid over the mask quad with the pattern's own coordinates: v from 0 to 1 between the
  // first and second corners, u from 0 to 1 / stretch between the first and third.
  void UpdateMaskQuad() override;
  // With user clip planes off: BindNoise for the grid, "bg_scale_factor", the colours ("ColorK1"
  // the second, "ColorK2" the first minus the second), "Mask", "Background", "Brightness" and
  // "Density" at the timeline value, then technique "Main" through the grid in every mode.
  void Draw(DS_2D_Light& canvas) override;
  // The fire draws through its grid alone in every mode, so a switch to a cleared target
  // (modes 1 and 2) would lose the slide outside it: it announces no reader in any mode.
  int HasMode() const override { return 0; }

  // "WorldViewProj" for `world`, "ViewProj", "Noise", "Pattern" and the three noise offsets
  // "c11", "c12", "c13" = (0, 1.3, 2.1 and 2.3 x phase). Draws nothing.
  void BindNoise(const D3DXMATRIX& world);

  SmartCOLORREF firstColor{0x0000FFFF};
  SmartCOLORREF secondColor{0x000000FF};
  MediaParamT<int> spare{0};
  DS_ImageFileLink patternLink{u"glimres.dll", 93};
  DS_ImageFileLink noiseLink{u"glimres.dll", 8};
  UINTSclaleTo<float> density{100, 0.01f, -1.0f};
  UINTSclaleTo<float> brightness{15, 0.02f, 0.0f};
  UINTSclaleTo<float> stretch{100, 0.01f, 0.0f};
  ComRef<gfx::Texture> patternTexture;
  ComRef<gfx::Texture> noiseTexture;
};
