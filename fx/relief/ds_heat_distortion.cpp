#include "fx/relief/ds_heat_distortion.h"

#include "core/math/ratio.h"
#include "core/param/param_reads.h"
#include "player/document/doc_res_manager.h"
#include "renderers/light/ds_2d_light.h"

namespace {

// The bump picture of the shimmer.
constexpr int64_t kHeatBumpPicture = 62;

}  // namespace

DS_HeatDistortion::DS_HeatDistortion() {
  heatSpeed.SetScale(0.001f, 0.0f);
}

bool DS_HeatDistortion::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_HeatDistortion", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(heatSpeed.Value());
  io.WriteUInt32(strength.Value());
  io.WriteUInt32(bumpScale.Value());
  return DS_FX_Constructor::Save(archive);
}

bool DS_HeatDistortion::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadChangedUInt32(archive, heatSpeed);
  ReadChangedUInt32(archive, strength);
  ReadChangedUInt32(archive, bumpScale);
  return DS_FX_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_HeatDistortion::Prepare(ComRef<gfx::Texture>* maskSlot) {
  DS_FX_Constructor::Prepare(maskSlot);
  ResizeGridOverMask();
  bumpTexture.Reset();
  if (DS_DocResManager* document = CurrentDocument())
    bumpTexture = document->GetImageTextures(DS_ImageFileLink(u"glimres.dll", kHeatBumpPicture))
                      .CurrentTexture();
}

void DS_HeatDistortion::Tick(float time) {
  DS_FX_Constructor::Tick(time);
  heatSpeed.Advance(time);
}

void DS_HeatDistortion::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  BindScale(canvas);
  const float heatPhase = heatSpeed.localTime;
  const float b = bumpScale.Scaled();
  const float offset[2] = {heatPhase, -heatPhase};
  const float scale[2] = {b, b * RatioOr0(static_cast<float>(canvas.GetPictureHeight()),
                                          static_cast<float>(canvas.GetPictureWidth()))};
  effect->SetFloat("stenght", strength.Scaled() * 0.05f);
  effect->SetFloatArray("Offset", offset, 2);
  effect->SetFloatArray("bump_scale", scale, 2);
  effect->SetTexture("Bumpmap", bumpTexture.Get());
  BindCommonQuad(canvas);
}
