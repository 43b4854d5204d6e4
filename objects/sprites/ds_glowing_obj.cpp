#include "objects/sprites/ds_glowing_obj.h"

#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "renderers/light/ds_2d_light.h"

DS_GlowingObj::DS_GlowingObj(std::unique_ptr<DS_GlowEffectCtrl> preset)
    : DS_ABObj(std::move(preset)),
      preset_(static_cast<DS_GlowEffectCtrl*>(Description())),
      glowKey_{GUID::Create(), {}, 1} {
  BindConstructor(preset_);
  preset_->PrepareEffect();
  if (DS_DocResManager* document = CurrentDocument())
    glowTarget_ = document->GetGuidRenderTarget(glowKey_);
}

DS_GlowingObj::~DS_GlowingObj() = default;

bool DS_GlowingObj::CanDraw() const {
  // Without sprites the buffers may still hold quads of an earlier count.
  return preset_->effect && glowTarget_ != nullptr && glowTarget_->current && !Sprites().empty();
}

int DS_GlowingObj::NeedsPictureBelow() const {
  return IsActive() && CanDraw() ? 1 : 0;
}

void DS_GlowingObj::Update(float localTime) {
  preset_->PreUpdate();
  ParticleGeomArray::Update(localTime);
  FillVertices(*preset_);
}

void DS_GlowingObj::Draw(DS_2D_Light& renderer) {
  if (!CanDraw()) return;
  DS_GlowEffectCtrl& p = *preset_;
  gfx::Effect* e = p.effect.Get();
  const uint32_t glow = p.glowColour.Value();
  const float blendColour[4] = {
      static_cast<float>(glow & 0xFF) / 255.0f, static_cast<float>(glow >> 8 & 0xFF) / 255.0f,
      static_cast<float>(glow >> 16 & 0xFF) / 255.0f, p.glowStrength.Scaled() * p.TimelineValue()};

  // The sprites' glow alone, brightest wins.
  e->SetTexture("Texture1", p.glowTexture.Get());
  e->SetTechnique("Blend_Max");
  glowTarget_->Begin();
  renderer.PushView(glowTarget_->width, glowTarget_->height, 3);
  if (gfx::Device* device = CurrentDevice())
    device->Clear(0, nullptr, gfx::ClearFlags::Target, 0x00000000, 1.0f, 0);
  renderer.DrawIndexedColorTex(*this, e);
  ComRef<gfx::Texture>* glowSlot = glowTarget_->End(false);
  renderer.PopView();

  // The picture below with the glow composed in.
  e->SetTechnique(p.blendMode.Value() == 1 ? "Blend_Screen" : "Blend_Normal");
  e->SetFloatArray("BlendColor", blendColour, 4);
  e->SetTexture("Texture1", renderer.GetTargetTextureSlot()->Get());
  e->SetTexture("Texture2", glowSlot->Get());
  renderer.DrawTexWithEffect(renderer.GetBackgroundNode(), e);

  // The sprites themselves on top.
  e->SetTechnique("Common");
  e->SetTexture("Texture1", p.spriteTexture.Get());
  renderer.DrawIndexedColorTex(*this, e);
}
