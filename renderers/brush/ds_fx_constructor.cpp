#include "renderers/brush/ds_fx_constructor.h"

#include <cmath>

#include "core/math/ratio.h"
#include "core/noise/value_noise.h"
#include "core/param/param_reads.h"
#include "core/scene/zkw_render_obj.h"
#include "platform/math/d3dx_math.h"
#include "player/document/doc_res_manager.h"
#include "player/document/scene_view.h"
#include "renderers/brush/ds_brush_obj.h"
#include "renderers/light/ds_2d_light.h"

DS_FX_Constructor::DS_FX_Constructor() : maskId(GUID::Create()) {}

DS_FX_Constructor::~DS_FX_Constructor() = default;

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

void DS_FX_Constructor::RebuildPicture() {
  const GUID fresh = GUID::Create();
  ComRef<gfx::Texture>* slot = nullptr;
  if (DS_DocResManager* document = CurrentDocument()) {
    slot = &document->GetGuidTexture(GuidPictureKey{fresh, {}, 1});
    if (ComRef<gfx::Texture> made = document->TextureOfGuidPicture(maskId)) *slot = made;
  }
  SetMaskTexture(slot);
  maskId = fresh;
  maskName.clear();
  maskFlag = 1;
}

bool DS_FX_Constructor::AppendScreenRects(std::vector<ScreenRect>& rects) {
  const D3DXVECTOR3& first = maskQuad.corners[0].Value();
  const D3DXVECTOR3& last = maskQuad.corners[3].Value();
  rects.push_back({first.x, first.y, last.x - first.x, last.y - first.y});
  return false;
}

std::unique_ptr<ZKW_RenderObj> DS_FX_Constructor::CreateRuntimeObject() {
  std::unique_ptr<DS_FX_Constructor> copy = Clone();
  DS_FX_Constructor& brush = *copy;
  auto object = std::make_unique<DS_BrushObj>(std::move(copy));
  brush.Prepare(brush.DocumentMaskSlot());
  return object;
}

void DS_FX_Constructor::ResetPicture() {
  maskTexture.Reset();
  maskId = GUID::Create();
  maskName.clear();
  maskFlag = 1;
}

void DS_FX_Constructor::Prepare(ComRef<gfx::Texture>* maskSlot) {
  effect.Reset();
  if (DS_DocResManager* document = CurrentDocument()) effect = document->GetEffect(effectLink);
  SetMaskTexture(maskSlot);
}

void DS_FX_Constructor::PrepareGrid(ComRef<gfx::Texture>* maskSlot) {
  DS_FX_Constructor::Prepare(maskSlot);
  ResizeGridOverMask();
}

void DS_FX_Constructor::ResizeGridOverMask() {
  grid.Resize(2, 2);
  UpdateMaskQuad();
}

void DS_FX_Constructor::SetMaskTexture(ComRef<gfx::Texture>* slot) {
  if (slot == &maskTexture) return;
  maskTexture = slot != nullptr ? *slot : ComRef<gfx::Texture>();
}

void DS_FX_Constructor::SetTargetPoint(float x, float y, float z) {
  targetPoint = D3DXVECTOR3(x, y, z);
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

float DS_FX_Constructor::WaveValue(int type) const {
  const float x = angle.Scaled() + Phase();
  switch (type) {
    case 2: {
      float a = x / 6.2831855f + 0.25f;
      a -= std::floor(a);
      if (a > 0.5f) a = 1.0f - a;
      return (a - 0.25f) * 4.0f;
    }
    case 3:
      return std::sin(x);
    case 4:
      return static_cast<float>(OctaveValueNoise1D(3, static_cast<double>(x) * 50.0, 75.0, 0.5));
    case 5:
      return 0.6f * std::sin(2.0f * x + 1.5707964f) + std::sin(x);
    default:
      return 0.0f;
  }
}

float DS_FX_Constructor::SwingBetween(int type, float a, float b) const {
  return WaveValue(type) * (a + b) * 0.5f + (a - b) * 0.5f;
}

float DS_FX_Constructor::FractionalTurn() const {
  const float turns = Phase() / 6.2831855f;
  return turns - std::floor(turns);
}

float DS_FX_Constructor::PictureAspect(const DS_2D_Light& canvas) {
  const float w = static_cast<float>(canvas.GetPictureWidth());
  const float h = static_cast<float>(canvas.GetPictureHeight());
  return h != 0.0f ? w / h : 1.0f;
}

void DS_FX_Constructor::BindMaskPosition(DS_2D_Light& canvas) {
  if (!effect) return;
  const float position[2] = {
      RatioOr0(-targetPoint.x, static_cast<float>(canvas.GetPictureWidth())),
      RatioOr0(-targetPoint.y, static_cast<float>(canvas.GetPictureHeight()))};
  effect->SetFloatArray("mask_position", position, 2);
}

void DS_FX_Constructor::BindScale(DS_2D_Light& canvas) {
  if (!effect) return;
  const float a = PictureAspect(canvas);
  const float s = scale.Scaled();
  const float scaled[4] = {RatioOr0(a, s), RatioOr0(1.0f, s), RatioOr0(s, a), s};
  effect->SetFloatArray("Scale", scaled, 4);
  effect->SetTexture("Mask", GetMaskTexture()->Get());
  effect->SetTexture("Background", canvas.GetTargetTextureSlot()->Get());
  effect->SetTechnique(mode.Value() == 0 ? "Main" : "MainFX");
}

void DS_FX_Constructor::BindCommon(DS_2D_Light& canvas) {
  if (!effect) return;
  effect->SetTechnique(mode.Value() == 0 ? "Main" : "MainFX");
  BindMaskPosition(canvas);
  const float a = PictureAspect(canvas);
  const float s = scale.Scaled();
  const float scaled[2] = {RatioOr0(a, s), RatioOr0(1.0f, s)};
  effect->SetFloatArray("Scale", scaled, 2);
  effect->SetTexture("Mask", GetMaskTexture()->Get());
  effect->SetTexture("Background", canvas.GetTargetTextureSlot()->Get());
  canvas.DrawTexWithEffect(canvas.GetBackgroundNode(), effect.Get());
}

void DS_FX_Constructor::BindCommonQuad(DS_2D_Light& canvas) {
  if (!effect) return;
  BindMaskPosition(canvas);
  if (mode.Value() == 0) {
    if (KindFlag()) {
      D3DXMatrixTranslation(&grid.node.local, targetPoint.x, targetPoint.y, targetPoint.z);
      grid.node.world = grid.node.local;
    }
    effect->SetTechnique("Main");
    canvas.DrawIndexedTex(grid, effect.Get());
  } else {
    effect->SetTechnique("MainFX");
    canvas.DrawTexWithEffect(canvas.GetBackgroundNode(), effect.Get());
  }
}
