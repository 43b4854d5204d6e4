#pragma once

#include <cstdint>

#include "core/com_ref.h"
#include "core/param/callback_ctrl.h"
#include "core/param/color_params.h"
#include "core/param/media_param_t.h"
#include "platform/gfx/effect/effect.h"
#include "platform/gfx/surface.h"
#include "platform/gfx/texture.h"
#include "player/document/zkw_losable_obj.h"

class DS_2D_Light;

// Most extra blur rounds an owner runs: a count read from a file does not bound the work.
constexpr int kMaxBlurRounds = 16;

// The glow composition's inputs on effect 202: "GlowTexture" the blurred picture, "GlowColor"
// the colour 0x00BBGGRR as three floats, "GlowBrightness".
void SetGlowInputs(gfx::Effect* effect, gfx::Texture* glow, uint32_t colour, float brightness);

// Marks the prerendering effects.
class ZKW_PrerenderEffect {};

// A blurred copy of what its owner draws: the owner draws into a reduced-size target between
// BeginFirstPass and Apply, which blurs it with a separable Gaussian effect (the player's effect
// 202: techniques "GaussianBlurVFirst", "GaussianBlurH", "GaussianBlurV", floats "TexW" and
// "TexH", texture "Texture") ping-ponging between two targets; the result ends in targetA.
// Without targets or effect the passes draw nothing but keep the renderer's views, the saved
// surfaces and its off-screen flag balanced.
class ZKW_BlurEffect : public ZKW_PrerenderEffect, public ZKW_LosableObj {
 public:
  ZKW_BlurEffect() = default;
  ~ZKW_BlurEffect() override = default;

  void OnLostDevice() override { ReleaseTargets(); }
  void OnResetDevice() override { CreateTargets(); }

  // reduced = max(1, size x (100 - min(reduction, 80)) / 100), truncated.
  void ComputeReducedSize();
  // Makes targetA and targetB at the reduced size; false when it is 0.
  bool CreateTargets();
  void ReleaseTargets();
  bool HasTargets() const { return targetA && targetB; }
  // Sets the renderer's off-screen flag and keeps render target 0 and the depth-stencil surface.
  void SaveTargets(DS_2D_Light& renderer);
  // Draws into targetA from here on, cleared, through a pushed view of the reduced size.
  void BeginFirstPass(DS_2D_Light& renderer);
  // Blurs targetA (2 + 2 x extraRounds passes), restores the saved surfaces and the view and
  // clears the off-screen flag.
  void Apply(DS_2D_Light& renderer, int extraRounds);
  // Draws `source` through `technique` into `destination`, cleared first; a copy of the whole
  // target, so without the depth parallax of the object drawn.
  void BlurPass(gfx::Texture* destination, gfx::Texture* source, DS_2D_Light& renderer,
                gfx::EffectHandle technique);

  uint32_t width = 0, height = 0;
  uint32_t reducedW = 0, reducedH = 0;
  ComRef<gfx::Surface> savedTarget, savedDepth;
  ComRef<gfx::Effect> effect;
  MediaParamT<unsigned> reduction{0};  // percent
  ComRef<gfx::Texture> targetA, targetB;

 private:
  bool drawing_ = false;  // BeginFirstPass redirected drawing into targetA
};

// A blur whose size follows the render context's picture and whose targets follow the
// reduction percent.
class ZKW_BlurSurface : public ZKW_BlurEffect {
 public:
  ZKW_BlurSurface() = default;

  void OnResetDevice() override;
  // Width and height from the render context's picture, then the reduced size and targets.
  void FitToRenderContext() override;
  void OnSizeParamChanged();

 private:
  SmartCalbackCtrl<ZKW_BlurSurface> watcher_{&ZKW_BlurSurface::OnSizeParamChanged, this,
                                             &reduction};
};

// A blur with a glow colour and a full-size glow target for compositing.
class ZKW_InnerGlowEffect : public ZKW_BlurEffect {
 public:
  ZKW_InnerGlowEffect() = default;

  // Releases every target, the glow target too (it lives in device memory).
  void OnLostDevice() override;
  // The targets again, the glow target at the size it had.
  void OnResetDevice() override;
  // As ZKW_BlurSurface, then a glow target of the render context's frame size.
  void FitToRenderContext() override;
  void OnSizeParamChanged();

  ColorAlphaParam glowColour;
  ComRef<gfx::Texture> glowTarget;
  // The glow target's size, kept so that a device reset can make it again.
  uint32_t glowWidth = 0, glowHeight = 0;

 private:
  SmartCalbackCtrl<ZKW_InnerGlowEffect> watcher_{&ZKW_InnerGlowEffect::OnSizeParamChanged, this,
                                                 &reduction};
};
