#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "player/render/render_target_set.h"
#include "renderers/brush/ds_fx_constructor.h"

// Blurs the picture inside its mask by up to its radius in pixels, pulsing by a wave: down the
// picture into a render target of its own, across it into the other, and back onto the canvas.
//
// Its targets are made when it is prepared, at the largest multiple of the back buffer (at most
// the device values' limit) the device accepts, and released when the device is lost. Without
// targets it is not ready: it draws nothing and reads no picture below; after a device loss its
// next Draw makes them again (drawing from the frame after), as the slide is not prepared anew.
class DS_BlureFX : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;

  // Speed factor 0.04.
  DS_BlureFX();
  // Every member; the copy shares the targets' textures.
  DS_BlureFX(const DS_BlureFX& other) = default;

  // "DS_BlureFX" version 1: radius, pulse mode, then the "DS_FX_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version: both stored straight.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  bool KindQuery() const override { return false; }

  // The base's, then the targets.
  void Prepare(ComRef<gfx::Texture>* maskSlot) override;
  // The targets, made again.
  void CreateRuntimeObjectAlt() override;
  // Releases the targets; the next Draw makes them again.
  void OnLostDevice() override;
  bool ReadyToDraw() const override;
  // Three passes: "Radius" = radius x the timeline value x the pulse ((wave of type pulse mode
  // + 1) / 2 + 1 / 2), "Mask", "Background" = the picture drawn so far, "WorldViewProj",
  // "PixelSize" = (0, 1 / picture height), technique "BlurPassBG" (mode 0) or "BlurPass", into
  // the current target; "Background" = that result and "PixelSize" = (1 / picture width, 0) into
  // the other; then "FinalPass" with that result onto the canvas. Without targets, nothing (see
  // the class comment).
  void Draw(DS_2D_Light& canvas) override;
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_BlureFX>(*this);
  }

  MediaParamT<unsigned> radius{0};
  MediaParamT<int> pulseMode{0};
  RenderTargetSet blurTargets;

 private:
  // The size search; whether targets could be made.
  bool CreateTargets();

  // Set by a device loss: the next Draw searches again.
  bool searchAgain_ = false;
};
