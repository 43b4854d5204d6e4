#include "fx/bases/ds_central_based.h"

#include "core/math/ratio.h"
#include "core/scene/scene_services.h"
#include "player/document/scene_view.h"

bool DS_CentralBased::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_CentralBased", kVersion);
  WriteCentre(archive);
  return DS_FX_Constructor::Save(archive);
}

void DS_CentralBased::WriteCentre(DS_IOF_Archive& archive) const {
  const D3DXVECTOR3& c = centre.Value();
  archive.io().WriteFloat(c.x);
  archive.io().WriteFloat(c.y);
  archive.io().WriteFloat(c.z);
}

bool DS_CentralBased::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  D3DXVECTOR3& c = centre.RawValue();
  archive.io().ReadFloat(c.x);
  archive.io().ReadFloat(c.y);
  archive.io().ReadFloat(c.z);
  return DS_FX_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_CentralBased::Prepare(ComRef<gfx::Texture>* maskSlot) {
  if (keepGuid == 0) {
    const SceneView& view = *GetSceneView();
    centre.RawValue() = D3DXVECTOR3(static_cast<float>(view.pictureWidth) * 0.5f,
                                    static_cast<float>(view.pictureHeight) * 0.5f, 0.0f);
    keepGuid = 1;
    centre.NotifyChanged(nullptr);
  }
  DS_FX_Constructor::Prepare(maskSlot);
}

void DS_CentralBased::PrepareGridCentral(ComRef<gfx::Texture>* maskSlot) {
  DS_CentralBased::Prepare(maskSlot);
  ResizeGridOverMask();
}

D3DXVECTOR3 DS_CentralBased::AimedCentre() const {
  D3DXVECTOR3 c = centre.Value();
  if (KindFlag()) c += targetPoint;
  return c;
}

void DS_CentralBased::BindCenter(DS_2D_Light& canvas) {
  if (!effect) return;
  BindScale(canvas);
  const D3DXVECTOR3 c = AimedCentre();
  float w = 0.0f, h = 0.0f;
  CurrentTargetSize(w, h);
  const float at[2] = {RatioOr0(c.x, w), RatioOr0(c.y, h)};
  effect->SetFloatArray("Center", at, 2);
}
