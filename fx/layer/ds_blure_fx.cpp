#include "fx/layer/ds_blure_fx.h"

#include "core/math/ratio.h"
#include "core/startup/thread_slots.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/render/render_context.h"
#include "renderers/light/ds_2d_light.h"

namespace {

// Draws into a blur target with the target's own size and the picture fitted to it whole.
constexpr int kFitWhole = 3;

void ClearToTransparent(gfx::Device& device) {
  device.Clear(0, nullptr, gfx::ClearFlags::Target, 0x00000000, 1.0f, 0);
}

}  // namespace

DS_BlureFX::DS_BlureFX() {
  speed.SetFactor(0.04f);
}

bool DS_BlureFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_BlureFX", kVersion);
  archive.io().WriteUInt32(radius.Value());
  archive.io().WriteInt32(pulseMode.Value());
  return DS_FX_Constructor::Save(archive);
}

bool DS_BlureFX::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadUInt32(radius.RawValue());
  archive.io().ReadInt32(pulseMode.RawValue());
  return DS_FX_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

bool DS_BlureFX::CreateTargets() {
  return CreateAtBackBufferMultiple(blurTargets);
}

void DS_BlureFX::Prepare(ComRef<gfx::Texture>* maskSlot) {
  DS_FX_Constructor::Prepare(maskSlot);
  (void)CreateTargets();
}

void DS_BlureFX::CreateRuntimeObjectAlt() {
  (void)CreateTargets();
}

void DS_BlureFX::OnLostDevice() {
  blurTargets.Release();
  searchAgain_ = true;
}

bool DS_BlureFX::ReadyToDraw() const {
  return effect && blurTargets.current && blurTargets.textures[0] && blurTargets.textures[1];
}

void DS_BlureFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  if (!ReadyToDraw()) {
    // This frame announced no reader; the targets serve from the next one on.
    if (searchAgain_) {
      searchAgain_ = false;
      (void)CreateTargets();
    }
    return;
  }
  gfx::Device* device = CurrentDevice();
  const RenderContext* context = RenderContextTlsSlot::Get();
  if (device == nullptr || context == nullptr) return;
  const DS_2D_Light::BackgroundQuad& quad = canvas.GetBackgroundNode();
  D3DXMATRIX worldViewProj;

  // Down the picture, into the current target.
  blurTargets.Begin();
  canvas.PushView(blurTargets.width, blurTargets.height, kFitWhole);
  ClearToTransparent(*device);
  const float pulse = WaveValue(pulseMode.Value() + 1) * 0.5f + 0.5f;
  effect->SetFloat("Radius", static_cast<float>(radius.Value()) * TimelineValue() * pulse);
  effect->SetTexture("Mask", GetMaskTexture()->Get());
  effect->SetTexture("Background", canvas.GetTargetTextureSlot()->Get());
  effect->SetMatrix("WorldViewProj",
                    &context->GetWorldViewProjection(worldViewProj, quad.node.world));
  const float down[2] = {0.0f, RatioOr0(1.0f, static_cast<float>(canvas.GetPictureHeight()))};
  effect->SetFloatArray("PixelSize", down, 2);
  effect->SetTechnique(mode.Value() == 0 ? "BlurPassBG" : "BlurPass");
  canvas.DrawTexWithEffect(quad, effect.Get());

  // Across it, into the other target.
  const int first = blurTargets.currentIndex;
  blurTargets.Select(blurTargets.OtherIndex());
  ClearToTransparent(*device);
  effect->SetTexture("Background", blurTargets.textures[size_t(first)].Get());
  const float across[2] = {RatioOr0(1.0f, static_cast<float>(canvas.GetPictureWidth())), 0.0f};
  effect->SetFloatArray("PixelSize", across, 2);
  canvas.DrawTexWithEffect(quad, effect.Get());
  ComRef<gfx::Texture> blurred = *blurTargets.End(false);
  canvas.PopView();

  // Back onto the canvas.
  effect->SetTechnique("FinalPass");
  effect->SetTexture("Background", blurred.Get());
  effect->SetMatrix("WorldViewProj",
                    &context->GetWorldViewProjection(worldViewProj, quad.node.world));
  canvas.DrawTexWithEffect(quad, effect.Get());
}
