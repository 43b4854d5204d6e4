#include "fx/relief/ds_bump_fx.h"

#include <cmath>

#include "core/math/ratio.h"
#include "core/param/param_reads.h"
#include "core/scene/scene_services.h"
#include "platform/gfx/image/d3dx_image_types.h"
#include "player/document/doc_res_manager.h"
#include "renderers/light/ds_2d_light.h"

DS_BumpFX::DS_BumpFX() {
  lightElevation.SetValue(45);
  animatorSpeed.SetScale(0.02f, 0.0f);
  animatorSpeed.SetValue(50);
}

bool DS_BumpFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_BumpFX", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(animatorMode.Value());
  io.WriteInt32(pulseMode.Value());
  io.WriteUInt32(bumpStrength.Value());
  RegisterSavedLinkWithDocument(bumpPicture);
  WriteFileLink(archive, bumpPicture);
  io.WriteUInt32(lightElevation.Value());
  io.WriteUInt32(lightAzimuth.Value());
  io.WriteUInt32(animatorSpeed.Value());
  return DS_FX_Constructor::Save(archive);
}

bool DS_BumpFX::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadInt32(animatorMode.RawValue());
  io.ReadInt32(pulseMode.RawValue());
  ReadChangedUInt32(archive, bumpStrength);
  ReadFileLink(archive, bumpPicture);
  ReadChangedUInt32(archive, lightElevation);
  ReadChangedUInt32(archive, lightAzimuth);
  ReadChangedUInt32(archive, animatorSpeed);
  return DS_FX_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_BumpFX::Prepare(ComRef<gfx::Texture>* maskSlot) {
  DS_FX_Constructor::Prepare(maskSlot);
  ResizeGridOverMask();
  bumpFrames.Reset();
  if (DS_DocResManager* document = CurrentDocument())
    bumpFrames.Assign(document->BuildLinkTextures(bumpPicture, D3DX_FILTER_TRIANGLE));
  const std::array<TexVertex, 4> c = MaskCorners();
  bumpMapping = {c[0].u, c[0].v, RatioOr0(1.0f, c[2].u - c[0].u), RatioOr0(1.0f, c[3].v - c[0].v)};
}

void DS_BumpFX::Tick(float time) {
  animatorSpeed.Advance(time);
  DS_FX_Constructor::Tick(time);
}

void DS_BumpFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  effect->SetTexture("Background", canvas.GetTargetTextureSlot()->Get());
  const float e = lightElevation.Radians(), a = lightAzimuth.Radians();
  const float light[3] = {-std::cos(a) * std::cos(e), -std::sin(a) * std::cos(e), std::sin(e)};
  effect->SetFloatArray("LightDir", light, 3);
  const float step[2] = {RatioOr0(1.0f, static_cast<float>(bumpFrames.sourceWidth)),
                         RatioOr0(1.0f, static_cast<float>(bumpFrames.sourceHeight))};
  effect->SetFloatArray("BumpStep", step, 2);
  effect->SetFloatArray("BumpTexScale", bumpMapping.data(), 4);
  effect->SetFloat("AmbientLight", 1.0f - std::sin(e));

  float v = TimelineValue();
  if (const int p = pulseMode.Value(); p > 0) v = (WaveValue(p + 1) + 1.0f) * 0.5f * v;
  float animator[2] = {bumpStrength.Scaled(), 0.0f};
  if (animatorMode.Value() == 1) animator[1] = 1.0f - v;
  if (animatorMode.Value() == 0) animator[0] = bumpStrength.Scaled() * v;
  effect->SetFloatArray("Animator", animator, 2);
  if (!bumpFrames.textures.empty())
    effect->SetTexture("Bumpmap1", bumpFrames.CurrentTexture().Get());

  if (mode.Value() == 0) {
    effect->SetTechnique("Main");
    canvas.DrawIndexedTex(grid, effect.Get());
  } else {
    effect->SetTechnique("MainFX");
    canvas.DrawTexWithEffect(canvas.GetBackgroundNode(), effect.Get());
  }
}
