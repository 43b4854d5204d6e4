#include "fx/sky/ds_cloud_fx.h"

#include <array>

#include "core/math/ratio.h"
#include "core/param/param_reads.h"
#include "core/scene/scene_services.h"
#include "player/document/doc_res_manager.h"
#include "player/document/scene_view.h"
#include "renderers/light/ds_2d_light.h"

DS_CloudFX::DS_CloudFX() {
  speed.SetFactor(0.001f);
  scale.SetFactor(0.008f);
}

bool DS_CloudFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_CloudFX", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteDword(color1.Value());
  io.WriteDword(color2.Value());
  for (const DS_ImageFileLink* link : {&cloudLink, &secondLink}) {
    RegisterSavedLinkWithDocument(*link);
    WriteFileLink(archive, *link);
  }
  io.WriteUInt32(threshold.Value());
  io.WriteUInt32(density.Value());
  perspective.Write(archive);
  return DS_DirectionBased::Save(archive);
}

bool DS_CloudFX::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadDword(color1.RawValue());
  io.ReadDword(color2.RawValue());
  ReadFileLink(archive, cloudLink);
  ReadFileLink(archive, secondLink);
  ReadChangedUInt32(archive, threshold);
  ReadChangedUInt32(archive, density);
  perspective.Read(archive);
  return DS_DirectionBased::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_CloudFX::Prepare(ComRef<gfx::Texture>* maskSlot) {
  cloudTextures = TextureFrameSet();
  if (DS_DocResManager* document = CurrentDocument())
    cloudTextures = document->GetImageTextures(cloudLink);
  DS_FX_Constructor::Prepare(maskSlot);
  grid.Resize(2, 2);
  UpdateMaskQuad();
}

void DS_CloudFX::UpdateMaskQuad() {
  if (!grid.vertices.buffer) return;
  std::array<TexVertex, 4> c = MaskCorners();
  const float unit[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
  for (size_t i = 0; i < c.size(); ++i) {
    c[i].u = unit[i][0];
    c[i].v = unit[i][1];
  }
  grid.Fill(c[0], c[1], c[2], c[3]);
  const SceneView& view = *GetSceneView();
  const float w = static_cast<float>(view.pictureWidth);
  const float h = static_cast<float>(view.pictureHeight);
  maskTexShift[0] = RatioOr0(c[2].x - c[0].x, w);
  maskTexShift[1] = RatioOr0(c[0].x, w);
  maskTexShift[2] = RatioOr0(c[3].y - c[2].y, h);
  maskTexShift[3] = RatioOr0(c[0].y, h);
}

void DS_CloudFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  effect->SetTexture("Mask", GetMaskTexture()->Get());
  effect->SetTexture("Background", cloudTextures.CurrentTexture().Get());
  const float s = scale.Scaled();
  const float scaled[2] = {RatioOr0(PictureAspect(canvas), s), RatioOr0(1.0f, s)};
  effect->SetFloatArray("Scale", scaled, 2);
  effect->SetFloat("Threshold", threshold.Scaled());
  effect->SetFloat("Density", density.Scaled());
  effect->SetFloatArray("ColorK1", ColorrefRgb(color1.Value()).data(), 3);
  effect->SetFloatArray("ColorK2", ColorrefRgb(color2.Value()).data(), 3);
  const float velocity[2] = {-direction.x * Phase(), -direction.y * Phase()};
  effect->SetFloatArray("Velocity", velocity, 2);
  effect->SetFloatArray("mask_tex_shift", maskTexShift, 4);
  perspective.Bind(*effect.Get());
  BindCommonQuad(canvas);
}
