#include "renderers/brush/ds_fx_constructor.h"

#include "core/math/ratio.h"
#include "core/param/param_reads.h"
#include "core/scene/zkw_render_obj.h"
#include "player/document/doc_res_manager.h"
#include "player/document/scene_view.h"
#include "renderers/light/ds_2d_light.h"

DS_FX_Constructor::DS_FX_Constructor() : maskId(GUID::Create()) {}

DS_FX_Constructor::~DS_FX_Constructor() = default;

std::unique_ptr<ZKW_RenderObj> DS_FX_Constructor::CreateRuntimeObject() {
  return nullptr;
}

bool DS_FX_Constructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_FX_Constructor", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(speed.Value());
  io.WriteInt32(mode.Value());
  archive.WriteGuid(maskId);
  io.WriteWideString(maskName);
  io.WriteBool(maskFlag != 0);
  WriteFileLink(archive, effectLink);
  io.WriteUInt32(scale.Value());
  WriteMediaQuad(archive, maskQuad);
  io.WriteInt32(quadTag.Value());
  io.WriteUInt32(angle.Value());
  return DS_ABObj_Constructor::Save(archive);
}

bool DS_FX_Constructor::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  ReadChangedUInt32(archive, speed);
  io.ReadInt32(mode.RawValue());
  archive.ReadGuid(maskId);
  io.ReadWideString(maskName);
  bool flag = maskFlag != 0;
  io.ReadBool(flag);
  maskFlag = flag ? 1 : 0;
  ReadEffectLink(archive, effectLink);
  if (version > 1) ReadChangedUInt32(archive, scale);
  if (version > 2) {
    ReadMediaQuad(archive, maskQuad);
    io.ReadInt32(quadTag.RawValue());
  }
  if (version > 3) {
    ReadChangedUInt32(archive, angle);
  } else {
    angle.SetValue(0);
  }
  return DS_ABObj_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_FX_Constructor::Restart() {
  speed.localTime = 0.0f;
  speed.lastTime = 0.0;
}

void DS_FX_Constructor::Prepare(ComRef<gfx::Texture>* maskSlot) {
  effect.Reset();
  if (DS_DocResManager* document = CurrentDocument()) effect = document->GetEffect(effectLink);
  SetMaskTexture(maskSlot);
}

void DS_FX_Constructor::SetMaskTexture(ComRef<gfx::Texture>* slot) {
  if (slot == &maskTexture) return;
  maskTexture = slot != nullptr ? *slot : ComRef<gfx::Texture>();
}

ComRef<gfx::Texture>* DS_FX_Constructor::DocumentMaskSlot() const {
  DS_DocResManager* document = CurrentDocument();
  if (document == nullptr) return nullptr;
  return &document->GetGuidTexture(GuidPictureKey{maskId, maskName, maskFlag});
}

std::array<TexVertex, 4> DS_FX_Constructor::MaskCorners() const {
  const SceneView& view = *GetSceneView();
  const float w = static_cast<float>(view.pictureWidth);
  const float h = static_cast<float>(view.pictureHeight);
  std::array<TexVertex, 4> out;
  for (size_t i = 0; i < out.size(); ++i) {
    const D3DXVECTOR3& p = maskQuad.corners[i].Value();
    out[i] = {p.x, p.y, p.z, RatioOr0(p.x, w), RatioOr0(p.y, h)};
  }
  return out;
}

void DS_FX_Constructor::UpdateMaskQuad() {
  if (!grid.vertices.buffer) return;
  const std::array<TexVertex, 4> c = MaskCorners();
  grid.Fill(c[0], c[1], c[2], c[3]);
}

void DS_FX_Constructor::Tick(float time) {
  speed.Advance(time);
}

void DS_FX_Constructor::BindMaskPosition(DS_2D_Light& canvas) {
  if (!effect) return;
  const float position[2] = {
      RatioOr0(-targetPoint.x, static_cast<float>(canvas.GetPictureWidth())),
      RatioOr0(-targetPoint.y, static_cast<float>(canvas.GetPictureHeight()))};
  effect->SetFloatArray("mask_position", position, 2);
}

void DS_FX_Constructor::BindCommon(DS_2D_Light& canvas) {
  if (!effect) return;
  effect->SetTechnique(mode.Value() == 0 ? "Main" : "MainFX");
  BindMaskPosition(canvas);
  const float w = static_cast<float>(canvas.GetPictureWidth());
  const float h = static_cast<float>(canvas.GetPictureHeight());
  const float aspect = h != 0.0f ? w / h : 1.0f;
  const float s = scale.Scaled();
  const float scaled[2] = {RatioOr0(aspect, s), RatioOr0(1.0f, s)};
  effect->SetFloatArray("Scale", scaled, 2);
  effect->SetTexture("Mask", maskTexture.Get());
  effect->SetTexture("Background", canvas.GetTargetTextureSlot()->Get());
  canvas.DrawTexWithEffect(canvas.GetBackgroundNode(), effect.Get());
}
