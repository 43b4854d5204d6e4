#include "fx/waves/ds_radial_wave_fx.h"

#include "core/math/ratio.h"
#include "core/param/param_reads.h"
#include "player/document/scene_view.h"
#include "renderers/light/ds_2d_light.h"

DS_RadialWaveFX::DS_RadialWaveFX() {
  speed.SetValue(50);
  effectLink = DS_HLSLEffectFile(u"glimres.dll", 103);
  timing.flags |= ZKW_SmartTiming::kKindMarker;
}

bool DS_RadialWaveFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_RadialWaveFX", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(amplitude.Value());
  io.WriteUInt32(wavelength.Value());
  io.WriteUInt32(ringStretch.Value());
  io.WriteInt32(timeSignFlag.Value());
  return DS_CentralBased::Save(archive);
}

bool DS_RadialWaveFX::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  if (version >= 2) {
    ReadChangedUInt32(archive, amplitude);
    ReadChangedUInt32(archive, wavelength);
    ReadChangedUInt32(archive, ringStretch);
    archive.io().ReadInt32(timeSignFlag.RawValue());
  }
  return DS_CentralBased::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_RadialWaveFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  const D3DXVECTOR3 c = AimedCentre();
  const float w = static_cast<float>(canvas.GetPictureWidth());
  const float h = static_cast<float>(canvas.GetPictureHeight());
  const float stretch[2] = {1.0f, RatioOr0(75.0f, ringStretch.Scaled()) * RatioOr0(h, w)};
  effect->SetFloatArray("bg_scale_factor", stretch, 2);
  const SceneView& view = *GetSceneView();
  const float at[2] = {RatioOr0(c.x, static_cast<float>(view.pictureWidth)),
                       RatioOr0(c.y, static_cast<float>(view.pictureHeight))};
  effect->SetFloatArray("center", at, 2);
  effect->SetFloat("frequency", 1.0f / wavelength.Scaled());
  effect->SetFloat("amplitude", amplitude.Scaled() * TimelineValue());
  effect->SetFloat("time", Phase() * (timeSignFlag.Value() != 0 ? 0.08f : -0.08f));
  BindCommon(canvas);
}
