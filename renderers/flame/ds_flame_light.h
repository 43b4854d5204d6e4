#pragma once

#include <cstdint>
#include <memory>

#include "core/com_ref.h"
#include "core/link/ds_file_link.h"
#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "platform/gfx/effect/effect.h"
#include "platform/gfx/texture.h"
#include "player/render/render_meshes.h"
#include "renderers/brush/ds_fire_fx.h"
#include "renderers/light/ds_2d_light.h"

// The renderer that sets the lower part of the slide on fire: the embedded fire brush burns on
// a band over the bottom of the background, and, while the distortion is on, the finished
// picture is redrawn through a bump-map distortion that makes it shimmer as through hot air.
class DS_FlameLight : public DS_2D_Light {
 public:
  static constexpr uint32_t kVersion = 2;

  // The bump-map distortion of the finished picture.
  struct Distortion {
    Distortion();

    SimpleMesh quad;  // the picture's quad, textured 0..1
    DS_ImageFileLink bumpLink{u"glimres.dll", 62};
    DS_HLSLEffectFile effectLink{u"glimres.dll", 63};
    // 0.05 a second; its clock (from time 0, restarted when time goes back) is the phase.
    MediaSpeedParam speed;
    UINTSclaleTo<float> strength{25, 0.002f, 0.0f};
    UINTSclaleTo<float> bump{88, -0.009f, 1.0f};
    ComRef<gfx::Effect> effect;
    ComRef<gfx::Texture> bumpTexture;
    // The picture's height / width (1 without a width).
    float ratio = 1.0f;
  };

  // The fire's pattern is glimres.dll #7.
  DS_FlameLight();

  // "DS_FlameLight" version 2: fire on, distortion on, fire height, the distortion's links and
  // values, the fire's record, then the "DS_2D_Light" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 stores the fire's speed after the fire height and two unused picture links in
  // place of the fire's record.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The base's, the fire quad, the distortion (switched off when its effect cannot be had), the
  // view, then the fire's effect and pictures.
  void Prepare() override;
  void ResetDeviceState() override;
  // Ends the offscreen pass through the distortion effect while the distortion is on; then the
  // border bars.
  void Compose(void* context) override;
  // The background, then the fire on its band.
  void DrawBackground(void* context) override;
  // The fire's clock, the camera, then the distortion's clock and values.
  void Update(float t) override;
  bool NeedsOffscreenPass() const override { return distortionOn.Value() == 1; }
  bool AppendScreenRects(std::vector<ScreenRect>& rects) override {
    return AppendWholeTarget(rects);
  }
  // The base's, then the distortion quad and the fire band placed on the picture.
  void RefreshView() override;

  // The distortion quad, the bump texture and the effect; whether the effect could be had.
  bool LoadDistortion();

  MediaParamT<int> fireOn{1};
  MediaParamT<int> distortionOn{1};
  // The band's lower edge lies at (1 + raw x 0.005) x the picture height.
  MediaParamT<unsigned> fireHeight{0};
  // Never null; a read fire record replaces it whole.
  std::unique_ptr<DS_FireFX> fire;
  Distortion distortion;
  SimpleMesh fireQuad;
};
