#pragma once

#include <cstdint>
#include <memory>

#include "core/com_ref.h"
#include "core/link/ds_file_link.h"
#include "core/param/callback_ctrl_set.h"
#include "core/param/color_params.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "platform/gfx/texture.h"
#include "platform/math/d3dx_types.h"
#include "renderers/brush/ds_fx_constructor.h"

// A lit, moving water surface inside the mask: two layers of a bump picture, scrolled along a
// direction and turned a little every frame, refract the picture; their slopes catch a highlight
// in the colour and, facing away from the light, shadow it. Drawn over the whole picture.
class DS_WaterFX : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;
  // The surface values where "P1" and "P2" are not finite count as the nearest stored values
  // where they are: 0 (an infinite e) as 1, 1 (e - 1 = 0) as 9999, and above 2 (the root of a
  // negative e) as 2.
  static constexpr float kLeastSurface = 0.0001f;
  static constexpr float kBelowOne = 0.9999f;
  static constexpr float kMostSurface = 2.0f;

  // Speed 50 (x 0.02), scale 30, effect glimres.dll #90, bump picture glimres.dll #89.
  DS_WaterFX();
  // Every member; the copy watches its own angle and computes its direction anew.
  DS_WaterFX(const DS_WaterFX& other);

  // "DS_WaterFX" version 1: surface value, bump scale, the two direction scales, angle,
  // shadows, light height, colour, bump picture link, then the "DS_FX_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The angle is stored straight: the direction keeps what it was until the brush is copied.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The bump picture's current frame, then the base's.
  void Prepare(ComRef<gfx::Texture>* maskSlot) override;
  // The phase step, then the bump transform: a turn by 4.5 x phase radians scaled by the bump
  // scale.
  void Tick(float time) override;
  // The bump layers, the refraction, the light and the colour; then the common binding.
  void Draw(DS_2D_Light& canvas) override;
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_WaterFX>(*this);
  }

  // direction = (cos a, sin a): turned by the angle itself, not by 360 - a.
  void UpdateDirection();
  // The scaled surface value, or the nearest one that gives finite "P1" and "P2" (see above).
  float SurfaceValue() const;

  // Scaled x 0.0001.
  UINTSclaleTo<float> surface{20, 0.0001f, 0.0f};
  // Scaled x 0.001.
  UINTSclaleTo<float> bumpScale{20, 0.001f, 0.0f};
  // Scaled x 0.00025.
  UINTSclaleTo<float> direction2Scale{20, 0.00025f, 0.0f};
  // Scaled x 0.0005 + 0.001: never 0.
  UINTSclaleTo<float> direction1Scale{20, 0.0005f, 0.001f};
  // Degrees.
  MediaParamT<unsigned> angle{40};
  // Scaled x 0.01.
  UINTSclaleTo<float> shadows{0, 0.01f, 0.0f};
  // Scaled x 0.1.
  UINTSclaleTo<float> lightHeight{0, 0.1f, 0.0f};
  SmartCOLORREF color{0xFFFFFF};
  DS_ImageFileLink bumpLink{u"glimres.dll", 89};
  ComRef<gfx::Texture> bumpTexture;
  float bumpTransform[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  D3DXVECTOR4 direction{1.0f, 0.0f, 0.0f, 0.0f};

 private:
  CallbackCtrlSet<DS_WaterFX> callbacks_{this};
};
