#include "renderers/blur/blur_effect.h"

#include <algorithm>

#include "core/float_to_int.h"
#include "core/startup/thread_slots.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/render/render_context.h"
#include "player/render/render_target_set.h"
#include "renderers/light/ds_2d_light.h"

namespace {

uint32_t Reduced(uint32_t size, unsigned percent) {
  const double kept = static_cast<double>(size) * (100 - percent) / 100.0;
  return std::max<uint32_t>(1, SaturatingTruncate<uint32_t>(static_cast<float>(kept)));
}

}  // namespace

void ZKW_BlurEffect::ComputeReducedSize() {
  const unsigned p = std::min(reduction.Value(), 80u);
  reducedW = Reduced(width, p);
  reducedH = Reduced(height, p);
}

bool ZKW_BlurEffect::CreateTargets() {
  if (reducedW == 0 || reducedH == 0) return false;
  targetA = MakeRenderTarget(reducedW, reducedH);
  targetB = MakeRenderTarget(reducedW, reducedH);
  return true;
}

void ZKW_BlurEffect::ReleaseTargets() {
  targetA.Reset();
  targetB.Reset();
}

void ZKW_BlurEffect::SaveTargets(DS_2D_Light& renderer) {
  renderer.renderFlags |= DS_2D_Light::kOffscreenBlur;
  SaveRenderTargets(savedTarget, savedDepth);
}

void ZKW_BlurEffect::BeginFirstPass(DS_2D_Light& renderer) {
  SaveTargets(renderer);
  gfx::Device* device = CurrentDevice();
  drawing_ = device != nullptr && targetA;
  if (drawing_) {
    SetTextureAsTarget(targetA.Get());
    device->SetDepthStencilSurface(nullptr);
  }
  renderer.PushView(reducedW, reducedH, 3);
  if (drawing_) device->Clear(0, nullptr, gfx::ClearFlags::Target, 0x00000000, 1.0f, 0);
}

void ZKW_BlurEffect::BlurPass(gfx::Texture* destination, gfx::Texture* source,
                              DS_2D_Light& renderer, gfx::EffectHandle technique) {
  gfx::Device* device = CurrentDevice();
  if (device == nullptr || destination == nullptr || !effect) return;
  SetTextureAsTarget(destination);
  device->Clear(0, nullptr, gfx::ClearFlags::Target, 0x00000000, 1.0f, 0);
  effect->SetTexture("Texture", source);
  effect->SetTechnique(technique);
  const WithoutParallax wholeTarget(RenderContextTlsSlot::Get());
  renderer.DrawTexWithEffect(renderer.GetBackgroundNode(), effect.Get());
}

void ZKW_BlurEffect::Apply(DS_2D_Light& renderer, int extraRounds) {
  gfx::Device* device = CurrentDevice();
  if (drawing_ && effect && HasTargets()) {
    effect->SetFloat("TexW", static_cast<float>(reducedW));
    effect->SetFloat("TexH", static_cast<float>(reducedH));
    BlurPass(targetB.Get(), targetA.Get(), renderer, "GaussianBlurVFirst");
    BlurPass(targetA.Get(), targetB.Get(), renderer, "GaussianBlurH");
    for (int round = 0; round < extraRounds; ++round) {
      BlurPass(targetB.Get(), targetA.Get(), renderer, "GaussianBlurV");
      BlurPass(targetA.Get(), targetB.Get(), renderer, "GaussianBlurH");
    }
  }
  if (device != nullptr && savedTarget) {
    device->SetRenderTarget(0, savedTarget.Get());
    device->SetDepthStencilSurface(savedDepth.Get());
  }
  savedTarget.Reset();
  savedDepth.Reset();
  drawing_ = false;
  renderer.PopView();
  renderer.renderFlags &= ~DS_2D_Light::kOffscreenBlur;
}

void ZKW_BlurSurface::OnResetDevice() {
  if (width == 0 || height == 0) return;
  ComputeReducedSize();
  CreateTargets();
}

void ZKW_BlurSurface::FitToRenderContext() {
  const RenderContext* context = RenderContextTlsSlot::Get();
  if (context == nullptr) return;
  width = SaturatingTruncate<uint32_t>(context->pictureW);
  height = SaturatingTruncate<uint32_t>(context->pictureH);
  if (width == 0 || height == 0) return;
  ComputeReducedSize();
  CreateTargets();
}

void ZKW_BlurSurface::OnSizeParamChanged() {
  ComputeReducedSize();
  ReleaseTargets();
  CreateTargets();
}

void ZKW_InnerGlowEffect::OnLostDevice() {
  ReleaseTargets();
  glowTarget.Reset();
}

void ZKW_InnerGlowEffect::OnResetDevice() {
  glowTarget = MakeRenderTarget(glowWidth, glowHeight);
  if (width == 0 || height == 0) return;
  ComputeReducedSize();
  CreateTargets();
}

void ZKW_InnerGlowEffect::FitToRenderContext() {
  const RenderContext* context = RenderContextTlsSlot::Get();
  if (context == nullptr) return;
  width = SaturatingTruncate<uint32_t>(context->pictureW);
  height = SaturatingTruncate<uint32_t>(context->pictureH);
  if (width != 0 && height != 0) {
    ComputeReducedSize();
    CreateTargets();
  }
  glowWidth = SaturatingTruncate<uint32_t>(context->frameW);
  glowHeight = SaturatingTruncate<uint32_t>(context->frameH);
  glowTarget = MakeRenderTarget(glowWidth, glowHeight);
}

void ZKW_InnerGlowEffect::OnSizeParamChanged() {
  ComputeReducedSize();
  ReleaseTargets();
  CreateTargets();
}

void SetGlowInputs(gfx::Effect* effect, gfx::Texture* glow, uint32_t colour, float brightness) {
  effect->SetTexture("GlowTexture", glow);
  const float rgb[3] = {static_cast<float>(colour & 0xFF) / 255.0f,
                        static_cast<float>((colour >> 8) & 0xFF) / 255.0f,
                        static_cast<float>((colour >> 16) & 0xFF) / 255.0f};
  effect->SetFloatArray("GlowColor", rgb, 3);
  effect->SetFloat("GlowBrightness", brightness);
}
