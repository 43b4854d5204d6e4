#include "fx/direction/ds_waterfall_fx.h"

#include <algorithm>
#include <cmath>

#include "core/math/ratio.h"
#include "core/param/param_reads.h"
#include "core/scene/scene_services.h"
#include "player/document/doc_res_manager.h"
#include "renderers/light/ds_2d_light.h"

DS_WaterfallFX::DS_WaterfallFX() {
  speed.SetFactor(0.02f);
  baseStrength.SetFactor(0.004f);
}

bool DS_WaterfallFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_WaterfallFX", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(translucency.Value());
  io.WriteUInt32(layerCount.Value());
  io.WriteUInt32(noiseAmplitude.Value());
  io.WriteUInt32(extraStrength.Value());
  io.WriteUInt32(threshold.Value());
  RegisterSavedLinkWithDocument(noiseLink);
  WriteFileLink(archive, noiseLink);
  io.WriteDword(baseColor.Value());
  io.WriteInt32(disabled.Value());
  return DS_DirectionBased::Save(archive);
}

bool DS_WaterfallFX::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  DS_IOF_Virtual& io = archive.io();
  ReadChangedUInt32(archive, translucency);
  io.ReadUInt32(layerCount.RawValue());
  ReadChangedUInt32(archive, noiseAmplitude);
  ReadChangedUInt32(archive, extraStrength);
  ReadChangedUInt32(archive, threshold);
  ReadFileLink(archive, noiseLink);
  io.ReadDword(baseColor.RawValue());
  io.ReadInt32(disabled.RawValue());
  return DS_DirectionBased::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_WaterfallFX::Prepare(ComRef<gfx::Texture>* maskSlot) {
  layers.resize(std::min(layerCount.Value(), kMaxLayers));
  noiseTexture.Reset();
  if (DS_DocResManager* document = CurrentDocument())
    noiseTexture = document->GetImageTextures(noiseLink).CurrentTexture();
  PrepareGrid(maskSlot);
}

void DS_WaterfallFX::Tick(float time) {
  DS_FX_Constructor::Tick(time);
  const float p = Phase();
  const float strength = baseStrength.Scaled();
  const float step = layers.empty() ? 0.0f : 1.0f / static_cast<float>(layers.size());
  float u = p;
  for (Layer& layer : layers) {
    const float f = u - std::trunc(u);
    layer.shift[0] = -direction.x * f * strength;
    layer.shift[1] = -direction.y * f * strength;
    layer.translucency = (1.0f - std::fabs(2.0f * f - 1.0f)) * translucency.Scaled();
    u += step;
  }
  const float drift = RatioOr0(0.1f * p, scale.Scaled());
  noiseShift[0] = -direction.x * drift;
  noiseShift[1] = -direction.y * drift;
}

void DS_WaterfallFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  effect->SetTexture("Mask", GetMaskTexture()->Get());
  effect->SetTexture("Background", canvas.GetTargetTextureSlot()->Get());
  if (disabled.Value() != 0) return;
  if (noiseAmplitude.Value() != 0) {
    effect->SetTexture("NoiseMap", noiseTexture.Get());
    effect->SetTechnique("Noise");
    effect->SetFloatArray("noise_shift", noiseShift, 2);
    const float s = scale.Scaled();
    const float bumpScale[2] = {RatioOr0(PictureAspect(canvas), s), RatioOr0(1.0f, s)};
    effect->SetFloatArray("bump_scale", bumpScale, 2);
    effect->SetFloat("noise_amplitude", noiseAmplitude.Scaled());
    canvas.DrawIndexedTex(grid, effect.Get());
  }
  if (layers.empty()) return;
  effect->SetTechnique("ColorWaves");
  const std::array<float, 3> rgb = ColorrefRgb(baseColor.Value());
  effect->SetFloatArray("base_color", rgb.data(), 3);
  effect->SetFloat("treshold", threshold.Scaled());
  for (const Layer& layer : layers) {
    effect->SetFloatArray("shift", layer.shift, 2);
    effect->SetFloat("transluency", layer.translucency);
    canvas.DrawIndexedTex(grid, effect.Get());
  }
}
